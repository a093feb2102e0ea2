"""The Python module against the program: the same solutions for the examples, numpy results,
errors with the program's messages, and to_json."""
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import numpy as np
import pytest

import orvanthel

SOURCE = os.environ.get("ORVANTHEL_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
PROGRAM = os.environ.get("ORVANTHEL_EXE", os.path.join(SOURCE, "build", "orvanthel"))


def program_results(example, choose_lattice):
    with tempfile.TemporaryDirectory() as scratch:
        shutil.copy(os.path.join(SOURCE, "examples", example), scratch)
        arguments = [PROGRAM, "--json"] + (["--choose-lattice"] if choose_lattice else []) + [example]
        run = subprocess.run(arguments, cwd=scratch, stdin=subprocess.DEVNULL, capture_output=True, text=True)
        assert run.returncode == 0, run.stdout
        with open(os.path.join(scratch, example[:-4] + "_kqt.json")) as f:
            return json.load(f), run.stdout


@pytest.mark.parametrize("example", ["silicon.kqt", "azurite.kqt", "kyanite.kqt"])
@pytest.mark.parametrize("choose_lattice", [False, True])
def test_examples_give_the_programs_solutions(example, choose_lattice):
    directions, options = orvanthel.read_kqt(os.path.join(SOURCE, "examples", example))
    options["choose_lattice"] = choose_lattice
    result = orvanthel.index(directions, **options)
    expected, console = program_results(example, choose_lattice)
    assert len(result.solutions) == len(expected["solutions"])
    for mine, theirs in zip(result.solutions, expected["solutions"]):
        assert mine.within_tolerance == theirs["support"]["withinTolerance"]
        assert mine.within_half_tolerance == theirs["support"]["withinHalfTolerance"]
        for key in ("a", "b", "c", "alpha", "beta", "gamma"):
            assert mine.primitive_cell[key] == theirs["primitiveCell"][key]
        np.testing.assert_array_equal(mine.direct_basis, np.array(theirs["directBasis"]))
        indexed = [j for j, c in enumerate(mine.classes) if c != "notIndexed"]
        np.testing.assert_array_equal(mine.hkl[indexed], np.array([theirs["reflections"][j]["hkl"] for j in indexed]))
    # The lattice line the console prints for solution 1, to its printed digits.
    best = result.solutions[0]
    cell = best.conventional_cell
    assert f"Lattice : {best.bravais_type}   a = {cell['a']:.3f}  b = {cell['b']:.3f}  c = {cell['c']:.3f}" in console


def test_results_are_numpy_arrays_and_json():
    directions, options = orvanthel.read_kqt(os.path.join(SOURCE, "examples", "silicon.kqt"))
    result = orvanthel.index(directions, volume=options["volume"], tolerance=options["tolerance"])
    best = result.solutions[0]
    assert best.bravais_type == "cF"
    assert best.hkl.dtype.kind == "i" and best.hkl.shape == (len(directions), 3)
    assert best.direct_basis.shape == (3, 3) and best.to_conventional.dtype.kind == "i"
    assert abs(np.linalg.det(best.direct_basis)) == pytest.approx(options["volume"])
    document = json.loads(result.to_json())
    assert document["solutions"][0]["bravais_type"] == "cF"
    assert document["options"]["choose_lattice"] is True


def test_angles_give_the_same_directions_as_the_frame_of_peak_lists():
    two_theta = np.array([90.0, 60.0])
    chi = np.array([0.0, 30.0])
    d = orvanthel.directions_from_angles(two_theta, chi)
    theta = np.radians(two_theta / 2)
    expected = np.stack([-np.sin(theta), np.cos(theta) * np.sin(np.radians(chi)),
                         np.cos(theta) * np.cos(np.radians(chi))], axis=1)
    np.testing.assert_allclose(d, expected, atol=1e-15)


def test_errors_carry_the_programs_messages():
    directions, _ = orvanthel.read_kqt(os.path.join(SOURCE, "examples", "silicon.kqt"))
    with pytest.raises(orvanthel.Error, match="AngularDeviationCriterion is too large") as caught:
        orvanthel.index(directions, tolerance=5.0)
    assert caught.value.code == "invalid_options"
    with pytest.raises(orvanthel.Error, match="smaller than the limit of 4"):
        orvanthel.index(directions[:3])
    with pytest.raises(orvanthel.Error, match="Cannot open") as caught:
        orvanthel.read_kqt(os.path.join(SOURCE, "examples", "missing.kqt"))
    assert caught.value.code == "read_failed"
    with pytest.raises(orvanthel.Error, match="shape"):
        orvanthel.index(np.zeros((5, 2)))


def test_the_python_example_indexes_and_plots(tmp_path):
    pytest.importorskip("matplotlib")
    picture = tmp_path / "pattern.png"
    run = subprocess.run([sys.executable, os.path.join(SOURCE, "examples", "index_in_python.py"),
                          os.path.join(SOURCE, "examples", "silicon.kqt"), str(picture)],
                         capture_output=True, text=True, env=dict(os.environ))
    assert run.returncode == 0, run.stderr
    assert run.stdout.startswith("cF  a = 5.4310")
    assert picture.read_bytes()[:8] == b"\x89PNG\r\n\x1a\n"


def test_orientation_and_strain_reach_python():
    directions, options = orvanthel.read_kqt(os.path.join(SOURCE, "examples", "silicon.kqt"))
    result = orvanthel.index(directions, volume=options["volume"], reference_cell=(5.431, 5.431, 5.431, 90, 90, 90))
    best = result.solutions[0]
    assert best.oriented
    np.testing.assert_allclose(best.u @ best.u.T, np.eye(3), atol=1e-12)
    np.testing.assert_allclose(best.u @ best.b, best.ub, atol=2e-4)
    indexed = np.array([c != "notIndexed" for c in best.classes])
    odd = best.conventional_hkl[indexed] % 2
    assert np.all((odd.sum(axis=1) == 0) | (odd.sum(axis=1) == 3))
    assert best.strain["von_mises"] < 5e-4
    assert best.strain["sample"].shape == (3, 3)
    with pytest.raises(orvanthel.Error) as caught:
        orvanthel.index(directions, volume=options["volume"], reference_cell=(5.431, 5.431, 5.6, 90, 90, 90))
    assert caught.value.code == "reference_mismatch"


TOOLS = os.path.dirname(PROGRAM)


def test_simulated_patterns_give_the_programs_solutions(tmp_path):
    # The simulator's file, indexed by the program and by the module; and the module's own simulation
    # of the same settings holds the same directions.
    arguments = [os.path.join(TOOLS, "orvanthel-simulate"), "--cell", "5.0,6.0,7.5,90,101,90", "--centring", "C",
                 "--seed", "4", "--spots", "40", "--noise", "0.01", "--angular-deviation", "0.2",
                 "--output", "mono.kqt", "--peak-list", "mono.txt"]
    subprocess.run(arguments, cwd=tmp_path, check=True, capture_output=True)
    directions, options = orvanthel.read_kqt(tmp_path / "mono.kqt")
    for choose in (False, True):
        options["choose_lattice"] = choose
        result = orvanthel.index(directions, **options)
        run = subprocess.run([PROGRAM, "--json"] + (["--choose-lattice"] if choose else []) + ["mono.kqt"],
                             cwd=tmp_path, stdin=subprocess.DEVNULL, capture_output=True, text=True)
        expected = json.loads((tmp_path / "mono_kqt.json").read_text())
        assert [s.within_tolerance for s in result.solutions] == \
            [s["support"]["withinTolerance"] for s in expected["solutions"]]
        assert [s.bravais_type for s in result.solutions] == \
            [s["lattice"]["bravaisType"] for s in expected["solutions"]]
        np.testing.assert_array_equal(result.solutions[0].direct_basis, np.array(expected["solutions"][0]["directBasis"]))
    simulated = orvanthel.simulate((5.0, 6.0, 7.5, 90, 101, 90), "C", seed=4, spots=40, noise=0.01)
    np.testing.assert_allclose(simulated["directions"], directions, atol=1e-9)
    assert simulated["primitive_volume"] == pytest.approx(options["volume"], rel=1e-7)
    # The peak list, read as the importer reads it, in the frame of peak lists: (z, -y, x) of the .kqt.
    peaks, two_theta, chi, intensities = orvanthel.read_peak_list(tmp_path / "mono.txt")
    np.testing.assert_allclose(peaks, np.stack([directions[:, 2], -directions[:, 1], directions[:, 0]], axis=1),
                               atol=1e-9)
    assert np.all((two_theta > 0) & (two_theta <= 180)) and len(intensities) == len(peaks)
    with pytest.raises(orvanthel.Error) as caught:
        orvanthel.read_peak_list(tmp_path / "missing.txt")
    assert caught.value.code == "read_failed"


def test_two_grains_and_the_automatic_search_from_python():
    simulated = orvanthel.simulate((3.615, 3.615, 3.615, 90, 90, 90), "F", seed=7, spots=40, noise=0.005,
                                   euler=(10, 20, 30),
                                   more_grains=[((3.615, 3.615, 3.615, 90, 90, 90), "F", 30, (70, 50, 5))])
    result = orvanthel.index(simulated["directions"], volume=simulated["primitive_volume"], tolerance=0.2,
                             search_type=5, grains=2)
    assert len(result.grains) == 2
    for grain, number in zip(result.grains, (1, 2)):
        assert grain.bravais_type == "cF"
        truth = set(np.flatnonzero(simulated["grain"] == number) + 1)
        assert len(truth & set(grain.spots.tolist())) >= 0.9 * len(truth)
    auto = orvanthel.index(simulated["directions"][:40], volume=simulated["primitive_volume"], tolerance=0.2,
                           auto_search=True)
    assert auto.solutions and auto.search_type_used in range(10)


def test_ctrl_c_stops_a_long_search():
    script = (
        "import sys, time, orvanthel\n"
        "p = orvanthel.simulate((5.1, 6.3, 7.7, 80, 95, 105), 'P', seed=3, spots=120, noise=0.02, spurious=0.1)\n"
        "print('searching', flush=True)\n"
        "start = time.time()\n"
        "try:\n"
        "    orvanthel.index(p['directions'], volume=p['primitive_volume'], search_type=9, threads=1)\n"
        "    print('finished')\n"
        "except KeyboardInterrupt:\n"
        "    print('interrupted after %.1f s' % (time.time() - start))\n")
    child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, text=True, env=dict(os.environ))
    assert child.stdout.readline().strip() == "searching"
    time.sleep(0.5)
    child.send_signal(signal.SIGINT)
    out, _ = child.communicate(timeout=60)
    assert out.startswith("interrupted after"), out
