"""Index a pattern from Python and plot it: the germanium-like silicon example in its gnomonic
projection, indexed spots labelled with their conventional indices.

    PYTHONPATH=build/python python3 examples/index_in_python.py [examples/silicon.kqt] [picture.png]
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

import orvanthel

path = sys.argv[1] if len(sys.argv) > 1 else "examples/silicon.kqt"
picture = sys.argv[2] if len(sys.argv) > 2 else "index_in_python.png"

directions, options = orvanthel.read_kqt(path)
result = orvanthel.index(directions, volume=options["volume"], tolerance=options["tolerance"])
best = result.solutions[0]
cell = best.conventional_cell
print(f"{best.bravais_type}  a = {cell['a']:.4f}  b = {cell['b']:.4f}  c = {cell['c']:.4f}  "
      f"alpha = {cell['alpha']:.2f}  beta = {cell['beta']:.2f}  gamma = {cell['gamma']:.2f}  "
      f"{best.within_tolerance} of {result.number_of_spots} spots")

# Gnomonic projection onto the plane normal to the mean spot direction.
centre = directions.mean(axis=0)
centre /= np.linalg.norm(centre)
u = np.cross(centre, [0.0, 0.0, 1.0] if abs(centre[2]) < 0.9 else [1.0, 0.0, 0.0])
u /= np.linalg.norm(u)
v = np.cross(centre, u)
scale = directions @ centre
x, y = (directions @ u) / scale, (directions @ v) / scale

# Indices on the conventional cell: a row h of the reduced cell is h T^T on the conventional cell made
# by T from it; h is the shortest lattice vector of its row, and so is h T^T (4 2 2 for cF, not 2 1 1).
conventional = best.hkl @ best.to_conventional.T
indexed = np.array([c != "notIndexed" for c in best.classes])
fig, ax = plt.subplots(figsize=(7, 7))
ax.scatter(x[indexed], y[indexed], s=30, label="indexed")
ax.scatter(x[~indexed], y[~indexed], s=30, marker="x", color="red", label="not indexed")
for j in np.flatnonzero(indexed):
    ax.annotate(" ".join(str(v) for v in conventional[j]), (x[j], y[j]), fontsize=7, xytext=(3, 3),
                textcoords="offset points")
ax.set_aspect("equal")
ax.set_title(f"{path}: {best.bravais_type}, a = {cell['a']:.4f}")
ax.legend()
fig.savefig(picture, dpi=100)
print("picture:", picture)
