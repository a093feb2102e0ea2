"""Ab initio indexing of Laue diffraction patterns.

>>> import orvanthel
>>> result = orvanthel.index(two_theta=tth, chi=chi, volume=45.27)
>>> best = result.solutions[0]
>>> best.bravais_type, best.conventional_cell["a"], best.within_tolerance
('cF', 5.657..., 95)

Directions are those of the scattering vectors q = k_out - k_in. Detector angles are read in the
frame of peak lists: x along the incident beam, z towards the detector; q is along
(-sin theta, cos theta sin chi, cos theta cos chi) with theta = 2theta / 2. The lattice choice is on
by default (set ``choose_lattice=False`` for the program's classic ranking).
"""
import json

import numpy as np

from ._orvanthel import Error, __version__
from . import _orvanthel

__all__ = ["Error", "Result", "Solution", "directions_from_angles", "index", "read_kqt", "read_peak_list",
           "simulate", "__version__"]


class Solution:
    """One ranked solution: cells, bases (rows a, b, c or a*, b*, c*), lattice and spot indices.

    ``hkl`` is an (N, 3) integer array on the solution's reduced primitive basis, meaningful where
    ``classes`` is not "notIndexed"; ``deviations`` are the angles in degrees between each spot and
    its lattice row.

    Where ``oriented``: ``u``, ``b``, ``ub`` (crystal frame of Busing and Levy: a* along x, b* in the
    x-y plane; U turns it into the frame of the directions), ``euler`` (Bunge phi1, Phi, phi2 in
    degrees), the standard conventional setting (``standard_basis``, ``to_standard``,
    ``standard_cell``), and per spot ``conventional_hkl`` (the shortest lattice vector of its row on
    that cell: 4 2 2 for cF) and ``conventional_form`` (the symmetry-equivalent form users write).
    With a reference cell, solution 1 has ``strain``: the deviatoric tensors ``crystal`` and
    ``sample`` with their uncertainties and the von Mises equivalent.
    """

    def __init__(self, fields):
        self._fields = fields
        for key, value in fields.items():
            setattr(self, key, value)

    def to_dict(self):
        return {key: (value.tolist() if isinstance(value, np.ndarray) else value) for key, value in self._fields.items()}

    def __repr__(self):
        cell = self.conventional_cell
        spots = getattr(self, "within_tolerance", None)
        if spots is None:
            spots = len(self.spots)
        return (f"<{getattr(self, 'rank', 'grain')}: {self.bravais_type or '?'} a={cell['a']:.4f} "
                f"b={cell['b']:.4f} c={cell['c']:.4f} {spots} spots>")


class Result:
    """What an indexing run found: ``solutions`` best first, ``options`` as used."""

    def __init__(self, fields):
        self.options = fields["options"]
        self.number_of_spots = fields["number_of_spots"]
        self.solutions = [Solution(s) for s in fields["solutions"]]
        self.search_type_used = fields["search_type_used"]
        self.max_index_used = fields["max_index_used"]
        self.grains = [Solution(g) for g in fields["grains"]]
        self.shared_spots = fields["shared_spots"]
        self.spots_of_no_grain = fields["spots_of_no_grain"]

    def to_dict(self):
        return {"options": self.options, "number_of_spots": self.number_of_spots,
                "search_type_used": self.search_type_used, "max_index_used": self.max_index_used,
                "solutions": [s.to_dict() for s in self.solutions],
                "grains": [g.to_dict() for g in self.grains], "shared_spots": self.shared_spots,
                "spots_of_no_grain": self.spots_of_no_grain}

    def to_json(self, **kwargs):
        """The result as a JSON text (numpy arrays as nested lists)."""
        return json.dumps(self.to_dict(), **kwargs)

    def __repr__(self):
        return f"<Result: {len(self.solutions)} solutions for {self.number_of_spots} spots>"


def directions_from_angles(two_theta, chi):
    """Unit scattering directions, an (N, 3) array, from 2theta and chi in degrees."""
    return _orvanthel._directions_from_angles(np.asarray(two_theta, float), np.asarray(chi, float))


def index(directions=None, *, two_theta=None, chi=None, intensities=None, volume=1000.0, tolerance=1.0,
          max_index=12, search_type=0, main_criterion=None, weights=(0.3, 0.7), max_solutions=16, threads=0,
          choose_lattice=True, reference_cell=None, auto_search=False, grains=1, min_grain_spots=0, phases=()):
    """Indexes one pattern, given as an (N, 3) array of directions or as 2theta and chi arrays.

    The options are those of a ".kqt" file: ``volume`` of the primitive cell (the pattern fixes only the
    shape of the cell), ``tolerance`` in degrees, ``max_index``, ``search_type`` 0..9, ``main_criterion``,
    ``weights`` (W1, W2), ``max_solutions``; ``threads`` 0 uses every core. ``reference_cell``
    (a, b, c, alpha, beta, gamma) adds the deviatoric strain of solution 1. ``auto_search`` goes deeper
    than ``search_type`` only while no solution indexes 90 % of the spots. ``grains`` > 1 looks for
    several grains (``result.grains``, each spot's grains in ``result.shared_spots`` and
    ``result.spots_of_no_grain``); ``phases`` is a list of (name, (a, b, c, alpha, beta, gamma),
    centring) that names the grains. Raises orvanthel.Error with
    the program's message; Ctrl-C stops the search (KeyboardInterrupt).
    """
    if directions is None:
        if two_theta is None or chi is None:
            raise TypeError("give directions, or two_theta and chi")
        directions = directions_from_angles(two_theta, chi)
    def column(values):
        return None if values is None else np.asarray(values, float)
    fields = _orvanthel._index(np.asarray(directions, float), column(two_theta), column(chi), column(intensities),
                               float(volume), int(max_index), int(search_type), float(tolerance),
                               None if main_criterion is None else float(main_criterion), float(weights[0]),
                               float(weights[1]), int(max_solutions), int(threads), bool(choose_lattice),
                               None if reference_cell is None else tuple(float(v) for v in reference_cell),
                               bool(auto_search), int(grains), int(min_grain_spots),
                               [(str(n), tuple(float(v) for v in c), str(z)) for n, c, z in phases])
    return Result(fields)


def read_kqt(path):
    """The spots and options of a ".kqt" file: (directions, options), options as ``index`` takes them
    (with choose_lattice False, as the program runs the file)."""
    directions, options = _orvanthel._read_kqt(str(path))
    return directions, options


def read_peak_list(path, columns=(), top=0):
    """A peak list as orvanthel-import reads it (.cor, a table naming its columns, or 2theta chi):
    (directions, two_theta, chi, intensities), strongest first when it has intensities, at most
    ``top`` peaks (0: all)."""
    return _orvanthel._read_peak_list(str(path), list(columns), int(top))


def simulate(cell, centring="P", *, seed=1, euler=None, strain=None, noise=0.0, spurious=0.0, drop=0.0, spots=50,
             back_reflection=False, more_grains=()):
    """A simulated pattern with its truth, as orvanthel-simulate makes it: a dict of ``directions``
    (N, 3) in the simulator's frame (beam along +z), ``hkl`` (coprime, conventional), ``spurious``,
    ``grain``, ``rotation``, ``direct_basis`` and ``primitive_volume``. ``cell`` is (a, b, c, alpha,
    beta, gamma); ``euler`` Bunge angles in degrees (absent: drawn from the seed); ``strain`` (e11, e22,
    e33, e23, e13, e12); ``more_grains`` a list of (cell, centring, spots, euler or None)."""
    return _orvanthel._simulate(tuple(float(v) for v in cell), str(centring), int(seed),
                                None if euler is None else tuple(float(v) for v in euler),
                                None if strain is None else tuple(float(v) for v in strain), float(noise),
                                float(spurious), float(drop), int(spots), bool(back_reflection),
                                [(tuple(float(v) for v in c), str(z), int(k), None if e is None else
                                  tuple(float(v) for v in e)) for c, z, k, e in more_grains])
