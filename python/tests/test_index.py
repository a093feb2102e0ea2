"""The Python module against the program: the same solutions for the examples, numpy results,
errors with the program's messages, and to_json."""
import json
import os
import shutil
import subprocess
import sys
import tempfile

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
