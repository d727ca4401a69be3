import numpy as np
import pytest
import scipy.optimize
import scipy.sparse as sp

import torva


def random_feasible_lp(seed):
    """A feasible LP with finite bounds (so bounded): rows built around x0."""
    rng = np.random.default_rng(seed)
    n, m_ub, m_eq = rng.integers(5, 40), rng.integers(2, 30), rng.integers(0, 6)
    density = rng.uniform(0.2, 0.8)
    A_ub = sp.random(m_ub, n, density=density, random_state=seed, format="csr") * 10 - \
        sp.random(m_ub, n, density=density / 2, random_state=seed + 1000, format="csr") * 5
    A_eq = sp.random(m_eq, n, density=density, random_state=seed + 2000, format="csr") * 4
    x0 = rng.uniform(0, 5, n)
    b_ub = A_ub @ x0 + rng.uniform(0, 3, m_ub)
    b_eq = A_eq @ x0
    c = rng.normal(size=n)
    bounds = [(float(rng.choice([0, -10, -2.5])), float(rng.uniform(6, 20))) for _ in range(n)]
    return c, A_ub, b_ub, (A_eq if m_eq else None), (b_eq if m_eq else None), bounds


@pytest.mark.parametrize("seed", range(20))
def test_same_optimum_as_scipy_with_valid_duals(seed):
    c, A_ub, b_ub, A_eq, b_eq, bounds = random_feasible_lp(seed)
    ref = scipy.optimize.linprog(c, A_ub, b_ub, A_eq, b_eq, bounds, method="highs")
    got = torva.linprog(c, A_ub, b_ub, A_eq, b_eq, bounds)
    assert ref.status == 0 and got.status == 0 and got.success
    assert got.fun == pytest.approx(ref.fun, rel=1e-7, abs=1e-7)
    assert np.all(got.slack >= -1e-7)
    if A_eq is not None:
        np.testing.assert_allclose(got.con, 0, atol=1e-7)
    # The multipliers certify optimality as scipy's do: c = A'y + lower + upper.
    y_ub = got.ineqlin.marginals
    assert np.all(y_ub <= 1e-9)
    grad = A_ub.T @ y_ub + got.lower.marginals + got.upper.marginals
    if A_eq is not None:
        grad = grad + A_eq.T @ got.eqlin.marginals
    np.testing.assert_allclose(grad, c, atol=1e-7)
    np.testing.assert_allclose(y_ub, ref.ineqlin.marginals, atol=1e-6)


@pytest.mark.parametrize("case, status", [
    (dict(c=[1, 1], A_ub=[[-1, -1]], b_ub=[-3], bounds=[(0, 1), (0, 1)]), 2),  # infeasible
    (dict(c=[-1, 0], A_ub=[[1, -1]], b_ub=[1]), 3),                            # unbounded
    (dict(c=[1, 2], A_eq=[[1, 1]], b_eq=[1]), 0),
])
def test_statuses_match_scipy(case, status):
    ref = scipy.optimize.linprog(method="highs", **case)
    got = torva.linprog(**case)
    assert ref.status == status and got.status == status
    assert got.success == (status == 0)
    if status == 0:
        assert got.fun == pytest.approx(ref.fun)
    else:
        assert got.x is None


@pytest.mark.parametrize("seed", range(8))
def test_integer_programs_match_scipy(seed):
    rng = np.random.default_rng(100 + seed)
    n, m = 12, 6
    A = rng.integers(1, 10, size=(m, n)).astype(float)
    b = A.sum(axis=1) * 0.4
    c = -rng.integers(1, 20, size=n).astype(float)
    integrality = np.ones(n)
    integrality[: n // 3] = 0  # a few continuous columns
    bounds = [(0, 3)] * n
    ref = scipy.optimize.linprog(c, A_ub=A, b_ub=b, bounds=bounds, integrality=integrality,
                                 method="highs")
    got = torva.linprog(c, A_ub=A, b_ub=b, bounds=bounds, integrality=integrality)
    assert ref.status == 0 and got.status == 0
    assert got.fun == pytest.approx(ref.fun, rel=1e-6, abs=1e-6)
    x = got.x
    assert np.all(np.abs(x[n // 3:] - np.round(x[n // 3:])) <= 1e-6)
    assert np.all(A @ x <= b + 1e-6)
