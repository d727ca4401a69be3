"""TORVA from Python: environments, models, parameters and solutions.

    import torva
    with torva.Model() as m:
        m.read("model.mps")
        m.optimize()
        print(m.status, m.objective, m.x)
"""

import enum
import threading

import numpy as np

from . import _torva

__all__ = ["TorvaError", "Status", "Method", "Env", "Model", "linprog", "OptimizeResult",
           "version", "INFINITY"]

INFINITY = 1.0e30
_MIN, _MAX = 1, -1
_CONTYPES = {"L", "E", "G", "N"}


class TorvaError(Exception):
    """A library call failed: `code` is the library's error code and the
    message is the library's own text for it."""

    def __init__(self, code, message):
        super().__init__(f"{message} (error {code})")
        self.code = code
        self.message = message


class Status(enum.IntEnum):
    """Model status of a solution."""
    OPTIMAL = 1
    BASIC_OPTIMAL = 2
    INFEASIBLE = 3
    UNBOUNDED = 4
    FEASIBLE = 5
    INFORUNB = 6
    LOCAL_OPTIMAL = 8
    LOCAL_INFEASIBLE = 9
    CUTOFF = 10
    NUMERICAL_ERROR = 11
    UNKNOWN = 12
    UNLOADED = 13
    LOADED = 14


class Method(enum.IntEnum):
    """Solver of Model.optimize."""
    FREE = 0
    PRIMAL = 1
    DUAL = 2
    BARRIER = 3


def version():
    return _torva.version()


class Env:
    """An environment: models created in it share its settings."""

    def __init__(self):
        self._env = _torva.Env()
        self._names = {}

    def close(self):
        self._env.close()

    @property
    def closed(self):
        return self._env.closed

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _check(self, code):
        if code != 0:
            raise TorvaError(code, self._env.error_message(code))

    def _resolve(self, name, kinds):
        """(id, value size) of a parameter or information item, given by its
        macro name or by its short name (the macro name without QX_?PARAM_ or
        QX_?INFO_, any case)."""
        key = (name, kinds)
        if key in self._names:
            return self._names[key]
        upper = name.upper()
        candidates = [upper] if upper.startswith("QX_") else [
            f"QX_{t}{kinds}_{upper}" for t in "IDS"]
        last = None
        for candidate in candidates:
            code, ident, size = self._env.macro_id(candidate)
            if code == 0:
                self._names[key] = (ident, size)
                return ident, size
            last = code
        raise KeyError(f"no {'parameter' if kinds == 'PARAM' else 'information item'} "
                       f"named {name!r} (error {last})")


_default_env = None
_default_lock = threading.Lock()


def _shared_env():
    global _default_env
    with _default_lock:
        if _default_env is None or _default_env.closed:
            _default_env = Env()
        return _default_env


class _Params:
    def __init__(self, model):
        self._model = model

    def __getitem__(self, name):
        m = self._model
        ident, size = m.env._resolve(name, "PARAM")
        if size == 4:
            code, value = m._m.get_int(ident)
        else:
            code, value = m._m.get_double(ident)
            if code != 0:
                code, value = m._m.get_string(ident)
        m._check(code)
        return value

    def __setitem__(self, name, value):
        m = self._model
        ident, size = m.env._resolve(name, "PARAM")
        if isinstance(value, str):
            code = m._m.set_string(ident, value)
        elif size == 4:
            if float(value) != int(value):
                raise TypeError(f"parameter {name!r} takes an integer")
            code = m._m.set_int(ident, int(value))
        else:
            code = m._m.set_double(ident, float(value))
        m._check(code)


class _Info:
    def __init__(self, model):
        self._model = model

    def __getitem__(self, name):
        m = self._model
        ident, size = m.env._resolve(name, "INFO")
        code, value = m._m.info(ident, size)
        m._check(code)
        return value


_READ_KINDS = {".mps": "mps", ".lp": "lp", ".ltx": "ltx", ".mpi": "mpi"}
_WRITE_KINDS = {".mps": "mps", ".ltx": "ltx", ".mpi": "mpi", ".sol": "solution"}


def _file_kind(filename, table, kind):
    if kind is not None:
        return kind
    name = str(filename).lower()
    if name.endswith(".gz"):
        name = name[:-3]
    for suffix, k in table.items():
        if name.endswith(suffix):
            return k
    raise ValueError(f"cannot tell the file kind of {filename!r}; pass kind=")


class Model:
    """A model of an environment (the shared default one when env is None).

    Parameters and information items read by name: ``m.params["lp_printlevel"]``
    or ``m.params["QX_IPARAM_LP_PRINTLEVEL"]``; ``m.info["pobj"]``."""

    def __init__(self, env=None):
        self.env = env if env is not None else _shared_env()
        self._m = _torva.Model(self.env._env)
        self.params = _Params(self)
        self.info = _Info(self)

    def close(self):
        self._m.close()

    @property
    def closed(self):
        return self._m.closed

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _check(self, code):
        self.env._check(code)

    # -- loading -----------------------------------------------------------
    def load(self, c, A, b, contypes, lb=None, ub=None, sense="min", objconst=0.0,
             vartypes=None):
        """Loads min/max c'x subject to rows A x (contypes: 'L' <=, 'E' =, 'G' >=,
        'N' free) b and lb <= x <= ub. A is a scipy.sparse matrix or a dense
        array; a CSC matrix with 32-bit indices is passed without a copy."""
        c = np.ascontiguousarray(c, dtype=np.float64).ravel()
        b = np.ascontiguousarray(b, dtype=np.float64).ravel()
        n, m = c.size, b.size
        starts, rows, values = _csc_arrays(A, m, n)
        if isinstance(contypes, str):
            types = contypes if len(contypes) != 1 else contypes * m
        else:
            types = "".join(contypes)
        if len(types) != m or not set(types) <= _CONTYPES:
            raise ValueError("contypes needs one of 'L', 'E', 'G', 'N' per row")
        lb = np.zeros(n) if lb is None else np.ascontiguousarray(
            np.broadcast_to(lb, (n,)), dtype=np.float64)
        ub = np.full(n, INFINITY) if ub is None else np.ascontiguousarray(
            np.broadcast_to(ub, (n,)), dtype=np.float64)
        lb = np.where(np.isneginf(lb), -INFINITY, lb)
        ub = np.where(np.isposinf(ub), INFINITY, ub)
        objsense = {"min": _MIN, "max": _MAX}[sense] if isinstance(sense, str) else int(sense)
        self._check(self._m.load_lp(objsense, float(objconst), c, b, types, starts, rows,
                                    values, lb, ub))
        if vartypes is not None:
            self._check(self._m.load_var_type("".join(vartypes)))

    def read(self, filename, kind=None):
        """Reads a model file: MPS (also gzipped), LP, TORVA text (.ltx) or an
        instruction list (.mpi); kind overrides the file-name suffix
        ("mps", "mps_fixed", "lp", "ltx", "mpi")."""
        self._check(self._m.read(_file_kind(filename, _READ_KINDS, kind), str(filename)))

    def write(self, filename, kind=None):
        """Writes the model ("mps", "mps_fixed", "ltx", "mpi", "solma") or the
        solution report ("solution")."""
        self._check(self._m.write(_file_kind(filename, _WRITE_KINDS, kind), str(filename)))

    # -- solving -----------------------------------------------------------
    def optimize(self, method=Method.FREE):
        """Solves the continuous model; returns its Status. Errors of the
        solver (limits, interrupts) raise TorvaError; the status of the
        solution record stays readable through .status."""
        if isinstance(method, str):
            method = Method[method.upper()]
        code, status = self._m.optimize(int(method))
        self._check(code)
        return Status(status)

    def solve_mip(self):
        """Solves the model with its integer variables (branch and bound);
        returns the Status of the integer solution. Limits and interrupts
        raise TorvaError; the best integer point found stays readable through
        .mip_status and .mip_x."""
        code, status = self._m.solve_mip()
        self._check(code)
        return Status(status)

    @property
    def mip_status(self):
        return Status(self.info["mip_status"])

    @property
    def mip_objective(self):
        return self.info["mip_obj"]

    @property
    def mip_x(self):
        return self._vector("mip")

    @property
    def status(self):
        return Status(self.info["model_status"])

    @property
    def objective(self):
        return self.info["pobj"]

    def _vector(self, which):
        code, values = self._m.vector(which)
        self._check(code)
        return values

    @property
    def x(self):
        return self._vector("primal")

    @property
    def duals(self):
        return self._vector("dual")

    @property
    def slacks(self):
        return self._vector("slacks")

    @property
    def reduced_costs(self):
        return self._vector("reduced")

    @property
    def basis(self):
        """(column statuses, row statuses) of the final basis."""
        code, cols, rows = self._m.basis()
        self._check(code)
        return cols, rows

    def load_basis(self, cols, rows):
        self._check(self._m.load_basis(np.asarray(cols, dtype=np.intc),
                                       np.asarray(rows, dtype=np.intc)))

    # -- callbacks ---------------------------------------------------------
    def set_log(self, fn):
        """fn(text) receives every log line of the model; None removes it."""
        self._check(self._m.set_log(fn))

    def set_progress(self, fn):
        """fn(progress) is called by the solvers at intervals; a true result
        stops the solve (TorvaError with the interrupt code). progress.location
        is the caller's location code; progress[name] reads an information
        item of the solve in progress."""
        if fn is None:
            self._check(self._m.set_progress(None))
            return
        model = self

        def call(location):
            return fn(_Progress(model, location))
        self._check(self._m.set_progress(call))


class _Progress:
    def __init__(self, model, location):
        self.model = model
        self.location = location

    def __getitem__(self, name):
        ident, size = self.model.env._resolve(name, "INFO")
        code, value = self.model._m.progress_info(self.location, ident, size)
        self.model._check(code)
        return value


def _csc_arrays(A, m, n):
    """Column starts, row indices and values of A (m x n) for the loader,
    without copies when A is CSC with 32-bit indices and float64 values."""
    try:
        import scipy.sparse as sp
    except ImportError:  # dense input works without scipy
        sp = None
    if sp is not None and sp.issparse(A):
        A = A.tocsc()
        if not A.has_canonical_format:
            A = A.copy()
            A.sum_duplicates()
    else:
        dense = np.asarray(A, dtype=np.float64).reshape(m, n) if m * n else np.zeros((m, n))
        cols, rows = np.nonzero(dense.T)
        values = dense[rows, cols]
        starts = np.zeros(n + 1, dtype=np.intc)
        np.cumsum(np.bincount(cols, minlength=n), out=starts[1:])
        return starts, rows.astype(np.intc), np.ascontiguousarray(values)
    if A.shape != (m, n):
        raise ValueError(f"A is {A.shape[0]} x {A.shape[1]}, expected {m} x {n}")
    return (np.asarray(A.indptr, dtype=np.intc), np.asarray(A.indices, dtype=np.intc),
            np.asarray(A.data, dtype=np.float64))


from ._linprog import OptimizeResult, linprog  # noqa: E402
