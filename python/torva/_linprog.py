"""linprog with the argument conventions of scipy.optimize.linprog."""

import numpy as np

from . import Method, Model, Status, TorvaError

_MESSAGES = {
    0: "Optimization terminated successfully.",
    1: "Iteration or time limit reached.",
    2: "The problem is infeasible.",
    3: "The problem is unbounded.",
    4: "Numerical difficulties encountered.",
}


class OptimizeResult(dict):
    """Result of linprog: a dict whose keys read as attributes (the field
    names of scipy's result: x, fun, slack, con, status, success, message,
    nit, ineqlin, eqlin, lower, upper)."""

    def __getattr__(self, name):
        try:
            return self[name]
        except KeyError as e:
            raise AttributeError(name) from e

    __setattr__ = dict.__setitem__

    def __repr__(self):
        keys = sorted(self)
        width = max(map(len, keys)) + 1 if keys else 0
        return "\n".join(f"{k.rjust(width)}: {self[k]!r}" for k in keys)


class _Marginals(dict):
    def __getattr__(self, name):
        try:
            return self[name]
        except KeyError as e:
            raise AttributeError(name) from e


def _bounds(bounds, n):
    lb = np.zeros(n)
    ub = np.full(n, np.inf)
    if bounds is None:
        return lb, ub
    b = list(bounds) if not isinstance(bounds, np.ndarray) else bounds.tolist()
    if len(b) == 2 and not isinstance(b[0], (list, tuple, np.ndarray)):
        b = [b] * n  # one (min, max) pair for every variable
    if len(b) != n:
        raise ValueError("bounds needs one (min, max) pair or one per variable")
    for j, (lo, hi) in enumerate(b):
        lb[j] = -np.inf if lo is None else lo
        ub[j] = np.inf if hi is None else hi
    return lb, ub


def _rows(A, b, n):
    if A is None:
        return None, np.zeros(0)
    try:
        import scipy.sparse as sp
        if sp.issparse(A):
            return sp.csr_matrix(A), np.asarray(b, dtype=np.float64).ravel()
    except ImportError:
        pass
    return np.atleast_2d(np.asarray(A, dtype=np.float64)).reshape(-1, n), \
        np.asarray(b, dtype=np.float64).ravel()


def linprog(c, A_ub=None, b_ub=None, A_eq=None, b_eq=None, bounds=(0, None),
            method=None, callback=None, options=None, x0=None, integrality=None):
    """Minimises c @ x subject to A_ub @ x <= b_ub, A_eq @ x == b_eq and the
    bounds, as scipy.optimize.linprog does; integrality (0 continuous, 1
    integer per variable) makes it a mixed-integer program. method may name
    "primal", "dual", "barrier" or "free" (anything else: free)."""
    import scipy.sparse as sp
    c = np.asarray(c, dtype=np.float64).ravel()
    n = c.size
    Aub, bub = _rows(A_ub, b_ub, n)
    Aeq, beq = _rows(A_eq, b_eq, n)
    blocks = [B for B in (Aub, Aeq) if B is not None]
    A = sp.vstack([sp.csr_matrix(B) for B in blocks]).tocsc() if blocks else sp.csc_matrix((0, n))
    b = np.concatenate([bub, beq])
    types = "L" * bub.size + "E" * beq.size
    lb, ub = _bounds(bounds, n)
    vartypes = None
    if integrality is not None:
        flags = np.broadcast_to(np.asarray(integrality), (n,))
        if np.any(flags != 0):
            vartypes = ["I" if f else "C" for f in flags]
    solver = Method.FREE
    if isinstance(method, str) and method.upper() in Method.__members__:
        solver = Method[method.upper()]
    with Model() as m:
        m.params["lp_printlevel"] = 0
        for name, value in (options or {}).items():
            m.params[name] = value
        m.load(c, A, b, types, lb, ub, vartypes=vartypes)
        if vartypes is not None:
            return _solve_mip(m, c, A, b, bub.size)
        code = 0
        try:
            status = m.optimize(solver)
        except TorvaError as e:
            code, status = e.code, m.status
        return _result(m, c, A, b, bub.size, status, code)


def _solve_mip(m, c, A, b, n_ub):
    if not hasattr(m, "solve_mip"):
        raise NotImplementedError("integer variables need the integer solver")
    code = 0
    try:
        status = m.solve_mip()
    except TorvaError as e:
        code, status = e.code, m.mip_status
    res = _result(m, c, A, b, n_ub, status, code, mip=True)
    return res


def _result(m, c, A, b, n_ub, status, code, mip=False):
    if status in (Status.OPTIMAL, Status.BASIC_OPTIMAL):
        flag = 0
    elif status == Status.INFEASIBLE:
        flag = 2
    elif status in (Status.UNBOUNDED, Status.INFORUNB):
        flag = 3
    elif code in (2016, 2017, 2023) or status == Status.FEASIBLE:
        flag = 1
    else:
        flag = 4
    res = OptimizeResult(status=flag, success=flag == 0, message=_MESSAGES[flag],
                         nit=m.info["sim_iter"] if not mip else m.info["mip_sim_iter"])
    if flag == 0 or (mip and status == Status.FEASIBLE):
        x = m.mip_x if mip else m.x
        res.x = x
        res.fun = float(c @ x)
        ax = A @ x
        res.slack = b[:n_ub] - ax[:n_ub]
        res.con = b[n_ub:] - ax[n_ub:]
        if not mip:
            y = m.duals
            d = m.reduced_costs
            res.ineqlin = _Marginals(residual=res.slack, marginals=y[:n_ub])
            res.eqlin = _Marginals(residual=res.con, marginals=y[n_ub:])
            res.lower = _Marginals(marginals=np.maximum(d, 0.0))
            res.upper = _Marginals(marginals=np.minimum(d, 0.0))
    else:
        res.x = None
        res.fun = None
        res.slack = None
        res.con = None
    return res
