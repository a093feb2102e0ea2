"""pip install . : builds the Python module orvanthel with CMake (pybind11, numpy from Debian).

Where no other package index is reachable: pip install --no-build-isolation .
"""
import glob
import os
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

SOURCE = os.path.dirname(os.path.abspath(__file__))


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    """Configures the repository's CMake project and builds the module target alone."""

    def build_extension(self, ext):
        build = os.path.abspath(os.path.join(self.build_temp, "cmake"))
        subprocess.check_call(["cmake", "-S", SOURCE, "-B", build, "-DCMAKE_BUILD_TYPE=Release",
                               "-DORVANTHEL_TESTS=OFF", "-DORVANTHEL_BENCH=OFF",
                               f"-DPython_EXECUTABLE={sys.executable}"])
        subprocess.check_call(["cmake", "--build", build, "--target", "_orvanthel", "-j", "2"])
        built = glob.glob(os.path.join(build, "python", "orvanthel", "_orvanthel*.so"))
        if not built:
            raise RuntimeError("the module was not built")
        target = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy(built[0], target)


setup(
    name="orvanthel",
    version="1.1.0",
    description="Ab initio indexing of Laue diffraction patterns",
    packages=["orvanthel"],
    package_dir={"": "python"},
    ext_modules=[CMakeExtension("orvanthel._orvanthel")],
    cmdclass={"build_ext": CMakeBuild},
    install_requires=["numpy"],
    python_requires=">=3.8",
)
