"""Solves a model file, then a small LP built from numpy and scipy.sparse.

    python solve.py [model file]     (default: the project's diet model)
"""

import pathlib
import sys

import numpy as np
import scipy.sparse as sp

import torva

model_file = sys.argv[1] if len(sys.argv) > 1 else \
    pathlib.Path(__file__).resolve().parents[1] / "models" / "diet.mps"

with torva.Model() as m:
    m.params["lp_printlevel"] = 0
    m.read(model_file)
    status = m.optimize()
    print(f"{model_file}: {status.name}, objective {m.objective:.6g}, "
          f"{m.info['sim_iter']} simplex iterations")

# Production plan: maximise 3 x0 + 2 x1 with two resources and a market cap.
A = sp.csc_matrix(np.array([[1.0, 1.0], [1.0, 3.0]]))
with torva.Model() as m:
    m.load(c=[3.0, 2.0], A=A, b=[4.0, 7.0], contypes="LL", ub=[3.0, np.inf], sense="max")
    m.optimize()
    print("plan", m.x, "profit", m.objective, "resource prices", m.duals)

# The same through the scipy-style interface (which minimises).
res = torva.linprog([-3.0, -2.0], A_ub=A, b_ub=[4.0, 7.0], bounds=[(0, 3), (0, None)])
print("linprog:", res.status, res.fun, res.x)
