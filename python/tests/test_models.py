import threading

import numpy as np
import pytest
import scipy.sparse as sp

import torva
from conftest import DATA, agrees, reference_objectives

NETLIB = reference_objectives("netlib")


@pytest.mark.parametrize("name", sorted(NETLIB) or ["(no data)"])
def test_netlib_model_reaches_its_reference_objective(name, netlib):
    with torva.Model() as m:
        m.params["lp_printlevel"] = 0
        m.read(netlib / f"{name}.mps.gz", kind="mps_fixed")
        assert m.optimize() in (torva.Status.OPTIMAL, torva.Status.BASIC_OPTIMAL)
        assert agrees(m.objective, float(NETLIB[name][0]))
        x, s = m.x, m.slacks
        assert x.dtype == np.float64 and x.shape == (m.info["num_vars"],)
        assert s.shape == (m.info["num_cons"],)


def test_miplib_model_solves_to_its_reference_objective():
    refs = reference_objectives("miplib3")
    path = DATA / "miplib3" / "p0033.mps.gz"
    if not path.exists() or "p0033" not in refs:
        pytest.skip(f"MIPLIB model not found: {path}")
    with torva.Model() as m:
        m.params["lp_printlevel"] = 0
        m.read(path, kind="mps_fixed")
        assert m.solve_mip() == torva.Status.OPTIMAL
        assert agrees(m.mip_objective, float(refs["p0033"][3]))
        x = m.mip_x
        assert np.all(np.abs(x - np.round(x)) <= 1e-6)  # p0033 is all binary


def small_lp():
    # min -3x - 2y  s.t. x + y <= 4, x + 3y <= 7, x <= 3: optimum (3, 1), value -11
    A = sp.csc_matrix(np.array([[1.0, 1.0], [1.0, 3.0]]))
    return dict(c=[-3.0, -2.0], A=A, b=[4.0, 7.0], contypes="LL", lb=[0, 0], ub=[3, np.inf])


def test_loaded_model_solves_and_reports_duals_and_basis():
    with torva.Model() as m:
        m.load(**small_lp())
        assert m.optimize("dual") in (torva.Status.OPTIMAL, torva.Status.BASIC_OPTIMAL)
        assert m.objective == pytest.approx(-11.0)
        np.testing.assert_allclose(m.x, [3.0, 1.0], atol=1e-9)
        np.testing.assert_allclose(m.duals, [-2.0, 0.0], atol=1e-9)
        np.testing.assert_allclose(m.reduced_costs, [-1.0, 0.0], atol=1e-9)
        cols, rows = m.basis
        # a warm start from the final basis takes no iteration
        m.load_basis(cols, rows)
        m.optimize("primal")
        assert m.info["sim_iter"] == 0


@pytest.mark.parametrize("suffix", [".mps", ".ltx", ".mps.gz"])
def test_written_files_read_back_to_the_same_optimum(tmp_path, suffix):
    with torva.Model() as m:
        m.load(**small_lp())
        m.write(tmp_path / f"model{suffix}")
    with torva.Model() as m:
        m.read(tmp_path / f"model{suffix}")
        m.optimize()
        assert m.objective == pytest.approx(-11.0)


def test_parameters_by_short_and_macro_name():
    with torva.Model() as m:
        m.params["lp_printlevel"] = 0
        assert m.params["QX_IPARAM_LP_PRINTLEVEL"] == 0
        m.params["QX_IPARAM_LPPRINTLEVEL"] = 2  # an older spelling reaches the same parameter
        assert m.params["lp_printlevel"] == 2
        with pytest.raises(KeyError):
            m.params["no_such_parameter"]
        with pytest.raises(torva.TorvaError) as err:
            m.params["QX_DINFO_POBJ"] = 1.0  # an information item is no parameter
        assert err.value.code in (2011, 2074) and err.value.message


@pytest.mark.parametrize("call, code", [
    (lambda m: m.optimize(), 2031),                      # nothing loaded
    (lambda m: m.read("/nonexistent/model.mps"), 2002),  # file cannot be opened
    (lambda m: m.x, 2009),                               # no solution to read
])
def test_library_errors_raise_with_code_and_message(call, code):
    with torva.Model() as m:
        with pytest.raises(torva.TorvaError) as err:
            call(m)
        assert err.value.code == code
        assert str(code) in str(err.value) and len(err.value.message) > 5


def test_a_refused_load_leaves_the_model_empty_for_the_next_one():
    with torva.Model() as m:
        args = small_lp()
        with pytest.raises(torva.TorvaError) as err:
            m.load(**args, sense=7)  # neither minimise nor maximise
        assert err.value.code == 2007
        with pytest.raises(torva.TorvaError):
            m.optimize()
        m.load(**args)
        m.optimize()
        assert m.objective == pytest.approx(-11.0)


def test_log_callback_receives_the_solver_log_and_its_exception_propagates():
    lines = []
    with torva.Model() as m:
        m.params["lp_printlevel"] = 2
        m.load(**small_lp())
        m.set_log(lines.append)
        m.optimize()
        assert lines and all(isinstance(t, str) for t in lines)

        def broken(text):
            raise RuntimeError("host failure")
        m.set_log(broken)
        with pytest.raises(RuntimeError, match="host failure"):
            m.optimize()


def test_progress_callback_interrupts_a_long_solve(netlib):
    seen = []
    with torva.Model() as m:
        m.params["lp_printlevel"] = 0
        m.params["callbackfreq"] = 0.0
        m.read(netlib / "pilot87.mps.gz", kind="mps_fixed")

        def stop_after_some_iterations(progress):
            seen.append(progress.location)
            return len(seen) >= 3
        m.set_progress(stop_after_some_iterations)
        with pytest.raises(torva.TorvaError) as err:
            m.optimize()
        assert err.value.code == 2023
        assert m.status != torva.Status.OPTIMAL


def test_models_solve_on_several_threads_at_once():
    results = []

    def solve():
        with torva.Model() as m:
            m.load(**small_lp())
            m.optimize()
            results.append(m.objective)
    threads = [threading.Thread(target=solve) for _ in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert results == pytest.approx([-11.0] * 4)
