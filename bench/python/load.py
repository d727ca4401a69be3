"""Loading a 1,000,000-nonzero scipy.sparse matrix from Python against the
same load made directly through the C function (ctypes), best of several
runs each, fresh model per run.

    <venv>/bin/python bench/python/load.py <install prefix of the library>
"""

import ctypes
import sys
import time

import numpy as np
import scipy.sparse as sp

import torva

RUNS = 7
ROWS, COLS, NNZ = 50_000, 100_000, 1_000_000


def best_of(fn):
    best = float("inf")
    for _ in range(RUNS):
        best = min(best, fn())
    return best


def main(prefix):
    lib = ctypes.CDLL(f"{prefix}/lib/libtorva.so")
    lib.QXcreateEnv.restype = ctypes.c_void_p
    lib.QXcreateModel.restype = ctypes.c_void_p
    lib.QXcreateModel.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int)]
    lib.QXdeleteModel.argtypes = [ctypes.POINTER(ctypes.c_void_p)]
    lib.QXdeleteEnv.argtypes = [ctypes.POINTER(ctypes.c_void_p)]
    dp, ip = ctypes.POINTER(ctypes.c_double), ctypes.POINTER(ctypes.c_int)
    lib.QXloadLPData.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                 ctypes.c_double, dp, dp, ctypes.c_char_p, ctypes.c_int, ip, ip,
                                 dp, ip, dp, dp]

    rng = np.random.default_rng(7)
    # Ten entries per column in random rows (the few repeats are merged).
    cols = np.repeat(np.arange(COLS), NNZ // COLS)
    rows = rng.integers(0, ROWS, size=cols.size)
    A = sp.coo_matrix((rng.uniform(-1, 1, cols.size), (rows, cols)), shape=(ROWS, COLS)).tocsc()
    A.sum_duplicates()
    A.indices = A.indices.astype(np.intc)
    A.indptr = A.indptr.astype(np.intc)
    c = rng.normal(size=COLS)
    b = np.full(ROWS, 10.0)
    lb, ub = np.zeros(COLS), np.full(COLS, 1e30)
    types = "L" * ROWS

    env = ctypes.c_void_p(lib.QXcreateEnv(None))

    def c_load():
        model = ctypes.c_void_p(lib.QXcreateModel(env, None))
        t = time.perf_counter()
        code = lib.QXloadLPData(model, ROWS, COLS, 1, 0.0, c.ctypes.data_as(dp),
                                b.ctypes.data_as(dp), types.encode(), A.nnz,
                                A.indptr.ctypes.data_as(ip), None, A.data.ctypes.data_as(dp),
                                A.indices.ctypes.data_as(ip), lb.ctypes.data_as(dp),
                                ub.ctypes.data_as(dp))
        elapsed = time.perf_counter() - t
        assert code == 0, code
        lib.QXdeleteModel(ctypes.byref(model))
        return elapsed

    tenv = torva.Env()

    def py_load():
        m = torva.Model(tenv)
        t = time.perf_counter()
        m.load(c, A, b, types, lb, ub)
        elapsed = time.perf_counter() - t
        m.close()
        return elapsed

    t_c, t_py = best_of(c_load), best_of(py_load)
    print(f"matrix {ROWS} x {COLS}, {A.nnz} nonzeros, best of {RUNS}")
    print(f"C QXloadLPData     {t_c * 1e3:8.1f} ms")
    print(f"Python Model.load  {t_py * 1e3:8.1f} ms")
    print(f"ratio Python / C   {t_py / t_c:8.2f}  (target below 2)")
    lib.QXdeleteEnv(ctypes.byref(env))


if __name__ == "__main__":
    main(sys.argv[1])
