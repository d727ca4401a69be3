#include "simplex/ipm/ipm_driver.hpp"

#include <chrono>
#include <cmath>
#include <new>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "simplex/ipm/ipm.hpp"

namespace torva::driver {
namespace {

ipm::IpmOptions ipmOptions(const ParamSet& p) {
  ipm::IpmOptions o;
  o.pfeasTol = p.douValue(QX_DPARAM_IPM_TOL_PFEAS);
  o.dfeasTol = p.douValue(QX_DPARAM_IPM_TOL_DFEAS);
  o.muRed = p.douValue(QX_DPARAM_IPM_TOL_MU_RED);
  o.relStep = p.douValue(QX_DPARAM_IPM_TOL_REL_STEP);
  o.primalSafe = p.douValue(QX_DPARAM_IPM_TOL_PSAFE);
  o.dualSafe = p.douValue(QX_DPARAM_IPM_TOL_DSAFE);
  o.maxIterations = p.intValue(QX_IPARAM_IPM_MAX_ITERATIONS);
  o.denseFactor = p.intValue(QX_IPARAM_IPM_OFF_COL_TRH);
  o.pathTol = p.douValue(QX_DPARAM_IPM_TOL_PATH);
  o.threads = p.intValue(QX_IPARAM_IPM_NUM_THREADS);
  return o;
}


// Runs the method on the scaled bounded form of data.
ipm::IpmResult runIpm(Call& call, const ModelData& data, simplex::Lp& lp) {
  const double infinity = call.model.params.douValue(QX_DPARAM_LP_INFINITY);
  simplex::buildLp(data, true, infinity, lp);
  simplex::SolveContext ctx = ipmContext(call);
  ipm::IpmResult r = ipm::solveLp(lp, ipmOptions(call.model.params), ctx);
  int status = QX_STATUS_LOADED;
  switch (r.status) {
    case ipm::IpmStatus::Optimal: status = QX_STATUS_OPTIMAL; break;
    case ipm::IpmStatus::Imprecise: status = QX_STATUS_FEASIBLE; break;
    case ipm::IpmStatus::PrimalInfeasible: status = QX_STATUS_INFEASIBLE; break;
    case ipm::IpmStatus::DualInfeasible: status = QX_STATUS_UNBOUNDED; break;
    case ipm::IpmStatus::Stalled: status = QX_STATUS_NUMERICAL_ERROR; break;
    default: break;
  }
  recordIpmOutcome(*call.model.lpSolution, lp,
                   {status, r.iterations, r.primalObjective, r.dualObjective, r.primalInfeas, r.dualInfeas});
  logPrintAt(call.model, QX_IPARAM_LP_PRINTLEVEL, 1,
             "\nBarrier finished: status %d, %d iterations, %d dense columns, rel. gap %.2e",
             static_cast<int>(r.status), r.iterations, r.denseColumns, r.relativeGap);
  return r;
}

bool diverged(const ipm::IpmResult& r) {
  return r.status == ipm::IpmStatus::PrimalInfeasible || r.status == ipm::IpmStatus::DualInfeasible;
}

}  // namespace

simplex::SolveContext ipmContext(Call& call) {
  Model& model = call.model;
  simplex::SolveContext ctx;
  if (hasLog(model)) ctx.log = [&model](const std::string& line) { logText(model, line.c_str()); };
  ctx.printLevel = call.opt.printLevel;
  ctx.progress = [&model](double iterations, double objective) {
    return reportProgress(model, {QXLOC_BARRIER, iterations, objective, false}) < 0;
  };
  ctx.timeLimit = call.opt.timeLimit;
  ctx.start = call.start;
  return ctx;
}

void recordIpmOutcome(LpSolution& rec, const simplex::Lp& lp, const IpmOutcome& out) {
  rec.ipmStatus = out.status;
  rec.barrierIters += out.iterations;
  rec.ipmPrimalObj = lp.sense * out.primalObjective + lp.objConst;
  rec.ipmDualObj = lp.sense * out.dualObjective + lp.objConst;
  rec.ipmPrimalInfeas = out.primalInfeas;
  rec.ipmDualInfeas = out.dualInfeas;
}

int barrierStart(Call& call, const ModelData& data, HostBasis& basis) {
  try {
    simplex::Lp lp;
    const ipm::IpmResult r = runIpm(call, data, lp);
    call.barrierNoOptimum = diverged(r);
    if (r.status != ipm::IpmStatus::Optimal && r.status != ipm::IpmStatus::Imprecise) return 0;
    ipm::CrossoverOptions co;
    co.tolX = call.model.params.douValue(QX_DPARAM_IPM_BASIS_TOL_X);
    co.luRelPivot = call.model.params.douValue(QX_DPARAM_IPM_BI_LU_TOL_REL_PIV);
    co.tolS = call.model.params.douValue(QX_DPARAM_IPM_BASIS_TOL_S);
    co.relTolS = call.model.params.douValue(QX_DPARAM_IPM_BASIS_REL_TOL_S);
    ipm::CrossoverStats st;
    if (!ipm::crossoverBasis(lp, r, co, basis.cols, basis.rows, st)) basis = HostBasis{};
    logPrintAt(call.model, QX_IPARAM_LP_PRINTLEVEL, 1,
               "\nCrossover: %d superbasic variables, %d moved to a bound, %d pivots%s", st.superbasics,
               st.boundMoves, st.pivots, st.slackStart ? " (from the slack basis)" : "");
    return 0;
  } catch (const std::bad_alloc&) {
    return QXERR_OUT_OF_MEMORY;
  }
}

bool solveInterior(Call& call, int* error) {
  Model& model = call.model;
  const ModelData& d = model.data;
  simplex::Lp lp;
  ipm::IpmResult r;
  try {
    r = runIpm(call, d, lp);
  } catch (const std::bad_alloc&) {
    *error = QXERR_OUT_OF_MEMORY;
    return true;
  }
  if (diverged(r)) {
    // No optimum: the embedding's certificate, or the simplex settles it.
    if (certifyLinear(call, error)) return true;
    call.barrierOff = true;
  }
  if (r.status != ipm::IpmStatus::Optimal) return false;
  // Back from the scaled minimisation form to the model's units and sense.
  LpSolution& rec = *model.lpSolution;
  const int n = d.n, m = d.m;
  const double sg = lp.sense;
  rec.x.assign(n, 0.0);
  rec.d.assign(n, 0.0);
  rec.y.assign(m, 0.0);
  rec.s.assign(m, 0.0);
  double obj = lp.objConst;
  for (int j = 0; j < n; ++j) {
    rec.x[j] = r.x[j] * lp.colScale[j];
    rec.d[j] = sg * r.z[j] / lp.colScale[j];
    obj += d.cost[j] * rec.x[j];
  }
  for (int i = 0; i < m; ++i) {
    rec.s[i] = r.x[n + i] / lp.rowScale[i];
    rec.y[i] = sg * r.y[i] * lp.rowScale[i];
  }
  rec.colStatus.clear();
  rec.rowStatus.clear();
  rec.primalObj = obj;
  rec.dualObj = sg * r.dualObjective + lp.objConst;
  rec.primalInfeas = r.primalInfeas;
  rec.dualInfeas = r.dualInfeas;
  rec.method = QX_METHOD_BARRIER;
  rec.modelStatus = rec.primalStatus = rec.dualStatus = QX_STATUS_OPTIMAL;
  rec.basisStatus = QX_STATUS_LOADED;
  model.status = rec.modelStatus;
  *error = 0;
  return true;
}

}  // namespace torva::driver
