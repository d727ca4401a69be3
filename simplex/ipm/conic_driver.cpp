// Quadratic and conic models inside the optimise driver: the convexity
// check, the conic interior-point run and the interior solution installed in
// the record (there is no basis for these classes).
#include <cmath>
#include <new>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "simplex/ipm/conic_model.hpp"
#include "simplex/ipm/ipm_driver.hpp"

namespace torva::driver {
namespace {

ipm::ConicOptions conicOptions(const ParamSet& p, bool cones) {
  ipm::ConicOptions o;
  o.pfeasTol = p.douValue(cones ? QX_DPARAM_IPM_CO_TOL_PFEAS : QX_DPARAM_IPM_TOL_PFEAS);
  o.dfeasTol = p.douValue(cones ? QX_DPARAM_IPM_CO_TOL_DFEAS : QX_DPARAM_IPM_TOL_DFEAS);
  // Relative gap: the conic parameter for both classes (the linear one,
  // QX_DPARAM_IPM_TOL_MU_RED, is a reduction of mu, 1e-16 by default).
  o.gapTol = p.douValue(QX_DPARAM_IPM_CO_TOL_MU_RED);
  o.maxIterations = p.intValue(QX_IPARAM_IPM_MAX_ITERATIONS);
  o.infeasTol = p.douValue(cones ? QX_DPARAM_IPM_CO_TOL_INFEAS : QX_DPARAM_IPM_TOL_INFEAS);
  o.pathTol = p.douValue(QX_DPARAM_IPM_TOL_PATH);
  o.threads = p.intValue(QX_IPARAM_IPM_NUM_THREADS);
  return o;
}

// Installs the interior solution of res in the model's units and sense.
void install(Model& model, const simplex::Lp& lp, const ipm::ConicProblem& prob, const ipm::ConicMap& map,
             const ipm::ConicResult& res, int method) {
  const ModelData& d = model.data;
  LpSolution& rec = *model.lpSolution;
  const int n = d.n, m = d.m;
  const double sg = lp.sense;
  // Scaled form: x = C x~, y = R y~, d = d~ / C.
  rec.x.assign(n, 0.0);
  for (int j = 0; j < n; ++j) rec.x[j] = res.x[j] * lp.colScale[j];
  rec.y.assign(m, 0.0);
  rec.s.assign(m, 0.0);
  // Row duals in the convention d = c + Qx - A'y of the record; a quadratic
  // row's multiplier is (z0 + z1)/sqrt2 of its cone, as a '<=' row.
  for (int i = 0; i < m; ++i)
    if (map.rowOf[i] >= 0) rec.y[i] = -sg * res.y[map.rowOf[i]] * lp.rowScale[i];
  int row = map.qcRowStart;
  for (std::size_t k = 0; k < map.qcRow.size(); ++k) {
    const int i = map.qcRow[k];
    const double lambda = (res.z[row] + res.z[row + 1]) / std::sqrt(2.0);
    rec.y[i] = (d.conType[i] == 'L' ? -sg : sg) * lambda * lp.rowScale[i];
    row += prob.coneDims[prob.coneDims.size() - map.qcRow.size() + k];
  }
  // Reduced costs: the multipliers of the bounds (and of a fixed column's
  // equation); the model's cones' part apart.
  rec.d.assign(n, 0.0);
  rec.dCone.assign(n, 0.0);
  for (int j = 0; j < n; ++j) {
    if (map.fixedRow[j] >= 0) rec.d[j] = -sg * res.y[map.fixedRow[j]];
    for (int q = prob.g.start[j]; q < prob.g.start[j + 1]; ++q) {
      const int r = prob.g.index[q];
      const double v = -sg * prob.g.value[q] * res.z[r];
      if (r < map.coneRowStart) rec.d[j] += v;
      else if (r < map.qcRowStart) rec.dCone[j] += v;
    }
    rec.d[j] /= lp.colScale[j];
    rec.dCone[j] /= lp.colScale[j];
  }
  // Slacks b - a'x - 1/2 x'Q_i x.
  std::vector<double> ax(m, 0.0);
  for (int j = 0; j < n; ++j)
    for (int q = lp.colStart[j]; q < lp.colStart[j + 1]; ++q) ax[lp.rowIndex[q]] += lp.colValue[q] * res.x[j] / lp.rowScale[lp.rowIndex[q]];
  for (std::size_t r = 0; r < d.qc.rows.size(); ++r) {
    const int i = d.qc.rows[r];
    if (i < 0) continue;
    for (int t = d.qc.beg[r]; t < d.qc.beg[r + 1]; ++t) {
      const int a = d.qc.col1[t], b = d.qc.col2[t];
      ax[i] += 0.5 * d.qc.coef[t] * rec.x[a] * rec.x[b] * (a == b ? 1.0 : 2.0);
    }
  }
  for (int i = 0; i < m; ++i) rec.s[i] = d.rhs[i] - ax[i];
  rec.colStatus.clear();
  rec.rowStatus.clear();
  rec.primalObj = sg * res.primalObjective + lp.objConst;
  rec.dualObj = sg * res.dualObjective + lp.objConst;
  rec.primalInfeas = res.primalInfeas;
  rec.dualInfeas = res.dualInfeas;
  rec.method = method;
  rec.modelStatus = rec.primalStatus = rec.dualStatus = QX_STATUS_OPTIMAL;
  rec.basisStatus = QX_STATUS_LOADED;
}

// Runs the conic method on prob (built from the scaled or unscaled form lp
// of the model) and writes its outcome into the record.
ipm::ConicResult runEmbedding(Call& call, const simplex::Lp& lp, const ipm::ConicProblem& prob, bool cones) {
  Model& model = call.model;
  simplex::SolveContext ctx = ipmContext(call);
  const ipm::ConicResult res = ipm::solveConic(prob, conicOptions(model.params, cones), ctx);
  int status = QX_STATUS_LOADED;
  switch (res.status) {
    case ipm::ConicStatus::Optimal: status = QX_STATUS_OPTIMAL; break;
    case ipm::ConicStatus::PrimalInfeasible: status = QX_STATUS_INFEASIBLE; break;
    case ipm::ConicStatus::DualInfeasible: status = QX_STATUS_UNBOUNDED; break;
    case ipm::ConicStatus::Stalled: status = QX_STATUS_NUMERICAL_ERROR; break;
    default: break;
  }
  recordIpmOutcome(*model.lpSolution, lp,
                   {status, res.iterations, res.primalObjective, res.dualObjective, res.primalInfeas, res.dualInfeas});
  logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1,
             "\nBarrier finished: status %d%s, %d iterations, pinf %.2e, dinf %.2e, rel. gap %.2e",
             static_cast<int>(res.status), res.reducedAccuracy ? " (reduced accuracy)" : "", res.iterations,
             res.primalInfeas, res.dualInfeas, res.relativeGap);
  return res;
}

// No optimum: the record holds the certificate, normalised to an objective
// value of -1 in the minimisation form: the row duals and reduced costs of a
// Farkas ray (primal values zero) when the model is infeasible, the primal
// values of an improving ray (duals zero) when it is unbounded.
void installCertificate(Model& model, const simplex::Lp& lp, const ipm::ConicProblem& prob,
                        const ipm::ConicMap& map, const ipm::ConicResult& res, int method) {
  LpSolution& rec = *model.lpSolution;
  const bool infeasible = res.status == ipm::ConicStatus::PrimalInfeasible;
  install(model, lp, prob, map, res, method);
  rec.modelStatus = rec.primalStatus = infeasible ? QX_STATUS_INFEASIBLE : QX_STATUS_UNBOUNDED;
  rec.dualStatus = infeasible ? QX_STATUS_UNBOUNDED : QX_STATUS_INFEASIBLE;
  model.status = rec.modelStatus;
}

}  // namespace

bool certifyLinear(Call& call, int* error) {
  Model& model = call.model;
  try {
    simplex::Lp lp;
    simplex::buildLp(model.data, true, model.params.douValue(QX_DPARAM_LP_INFINITY), lp);
    ipm::ConicMap map;
    const ipm::ConicProblem prob = ipm::buildConicProblem(model.data, lp, map);
    const ipm::ConicResult res = runEmbedding(call, lp, prob, false);
    if (res.status == ipm::ConicStatus::Interrupted) {
      model.lpSolution->modelStatus = model.lpSolution->dualStatus = QX_STATUS_LOADED;
      model.status = QX_STATUS_LOADED;
      *error = QXERR_USER_INTERRUPT;
      return true;
    }
    if (res.status != ipm::ConicStatus::PrimalInfeasible && res.status != ipm::ConicStatus::DualInfeasible)
      return false;
    installCertificate(model, lp, prob, map, res, QX_METHOD_BARRIER);
    *error = 0;
    return true;
  } catch (const std::bad_alloc&) {
    *error = QXERR_OUT_OF_MEMORY;
    return true;
  }
}

bool quadraticRowsConvex(const Model& model) {
  simplex::Lp lp;
  simplex::buildLp(model.data, false, model.params.douValue(QX_DPARAM_LP_INFINITY), lp);
  return ipm::quadraticRowsConvex(model.data, lp);
}

int solveQuadraticConic(Call& call) {
  Model& model = call.model;
  LpSolution& rec = *model.lpSolution;
  const bool cones = model.data.hasCones();
  const int method = cones ? QX_METHOD_NLP : QX_METHOD_BARRIER;
  const ModelData& d = model.data;
  try {
    simplex::Lp lp;
    // Scaled like the simplex's LP unless cones need one scale per cone.
    simplex::buildLp(d, !cones, model.params.douValue(QX_DPARAM_LP_INFINITY), lp);
    ipm::ConicMap map;
    const ipm::ConicProblem prob = ipm::buildConicProblem(d, lp, map);
    const bool convexRows = map.nonConvexRow == -2;
    if (!convexRows ||
        (model.params.intValue(QX_IPARAM_IPM_CHECK_CONVEXITY) == 1 && !ipm::isPositiveSemidefinite(prob.p))) {
      if (convexRows) logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, "\nThe quadratic objective is not convex.");
      else logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, "\nQuadratic row %d is not convex.", map.nonConvexRow);
      rec.modelStatus = rec.primalStatus = rec.dualStatus = QX_STATUS_NUMERICAL_ERROR;
      model.status = rec.modelStatus;
      return QXERR_NOT_CONVEX;
    }
    const ipm::ConicResult res = runEmbedding(call, lp, prob, cones);
    rec.method = method;
    switch (res.status) {
      case ipm::ConicStatus::Optimal:
        install(model, lp, prob, map, res, method);
        model.status = rec.modelStatus;
        return 0;
      case ipm::ConicStatus::Interrupted:
        rec.modelStatus = QX_STATUS_LOADED;
        rec.dualStatus = QX_STATUS_LOADED;
        model.status = rec.modelStatus;
        return QXERR_USER_INTERRUPT;
      case ipm::ConicStatus::IterationLimit:
      case ipm::ConicStatus::TimeLimit:
        install(model, lp, prob, map, res, method);
        rec.modelStatus = rec.primalStatus = rec.dualStatus = QX_STATUS_LOADED;
        model.status = rec.modelStatus;
        return res.status == ipm::ConicStatus::TimeLimit ? QXERR_TIME_LIMIT : QXERR_ITER_LIMIT;
      case ipm::ConicStatus::PrimalInfeasible:
      case ipm::ConicStatus::DualInfeasible:
        installCertificate(model, lp, prob, map, res, method);
        return 0;
      case ipm::ConicStatus::Stalled:
        break;
    }
    rec.modelStatus = rec.primalStatus = rec.dualStatus = QX_STATUS_NUMERICAL_ERROR;
    model.status = rec.modelStatus;
    return QXERR_NUMERIC_INSTABILITY;
  } catch (const std::bad_alloc&) {
    return QXERR_OUT_OF_MEMORY;
  }
}

}  // namespace torva::driver
