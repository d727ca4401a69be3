// Functions on the outcome of a run: tightened bounds, the dual solution
// with the integers fixed, and the rounded point.
#include <algorithm>
#include <cmath>

#include "base/log.hpp"
#include "bnb/driver.hpp"
#include "bnb/propagate.hpp"
#include "simplex/driver.hpp"

namespace torva {

int bestBounds(const Model& model, double* lower, double* upper) {
  if (!lower && !upper) return 0;
  const ModelData& d = model.data;
  std::vector<double> lo = d.lower, up = d.upper;
  // A semi-continuous variable is 0 or in [l, u]: propagation works on the
  // hull of the two, [min(0, l), max(0, u)].
  for (std::size_t k = 0; k < d.scVars.size() && k < d.scLower.size(); ++k) {
    const std::size_t j = static_cast<std::size_t>(d.scVars[k]);
    lo[j] = std::min(0.0, d.scLower[k]);
    up[j] = std::max(0.0, up[j]);
  }
  std::vector<char> isInt(static_cast<std::size_t>(d.n), 0);
  for (int j = 0; j < d.n; ++j) isInt[static_cast<std::size_t>(j)] = d.typeOf(j) == 'B' || d.typeOf(j) == 'I';
  bnb::RowMatrix rows(d);
  bnb::PropagateSettings s;
  s.rounds = 10;
  // An infeasible model still gets the bounds reached so far.
  bnb::propagateBounds(d, rows, isInt, s, lo, up);
  if (lower) std::copy(lo.begin(), lo.end(), lower);
  if (upper) std::copy(up.begin(), up.end(), upper);
  return 0;
}

int dualMipSolution(Model& model, double* primal, double* dual, double* redcosts, int* cstatus, int* rstatus,
                    bool framed) {
  if (!model.mipSolution || model.mipSolution->x.size() != static_cast<std::size_t>(model.data.n))
    return QXERR_INFO_NOT_AVAILABLE;
  const int level = model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL);
  if (level > 0 && hasLog(model))
    logPrint(model, "Computing a dual MIP solution by resolving the model with\ninteger variables fixed at their optimal MIP values.\n");
  std::unique_ptr<Model> work = driver::solverCopy(model);
  ModelData& d = work->data;
  MipSolution& rec = *model.mipSolution;
  for (int j = 0; j < d.n; ++j) {
    const char t = d.typeOf(j);
    if (t == 'B' || t == 'I') d.lower[static_cast<std::size_t>(j)] = d.upper[static_cast<std::size_t>(j)] = rec.x[static_cast<std::size_t>(j)];
  }
  d.varType.clear();
  d.qc = model.data.qc;
  d.cones = model.data.cones;
  framed = framed && level >= 3 && hasLog(model);
  work->params.storeInt(QX_IPARAM_LP_PRINTLEVEL, framed ? 1 : 0);
  work->params.storeInt(QX_IPARAM_NLP_PRINTLEVEL, framed ? 1 : 0);
  if (framed) {
    driver::forwardLog(*work, model);
    logPrint(model, "\n-------------------------BEGIN  OPTIMIZATION (%s)----------------------\n", "DUAL MIP SOLUTION");
  }
  int status = 0;
  int rc = optimize(*work, QX_METHOD_FREE, &status);
  if (framed)
    logPrint(model, "\n-------------------------END    OPTIMIZATION (%s)----------------------\n", "DUAL MIP SOLUTION");
  if (rc == 0 && status != QX_STATUS_BASIC_OPTIMAL && status != QX_STATUS_OPTIMAL) rc = QXERR_INFO_NOT_AVAILABLE;
  if (rc == 0) {
    const LpSolution& s = *work->lpSolution;
    rec.y = s.y;
    rec.d = s.d;
    rec.colStatus = s.colStatus;
    rec.rowStatus = s.rowStatus;
    if (primal) std::copy(s.x.begin(), s.x.end(), primal);
    if (dual) std::copy(s.y.begin(), s.y.end(), dual);
    if (redcosts) std::copy(s.d.begin(), s.d.end(), redcosts);
    if (cstatus) std::copy(s.colStatus.begin(), s.colStatus.end(), cstatus);
    if (rstatus) std::copy(s.rowStatus.begin(), s.rowStatus.end(), rstatus);
  }
  if (level > 0 && hasLog(model))
    logPrint(model, "Computation of dual MIP solution %s (%d)\n", rc == 0 ? "SUCCEEDED" : "FAILED", rc);
  return rc;
}

int roundMipSolution(Model& model, const double* x, double* xRound, double* objective, double* primalInfeas,
                     int* status) {
  const ModelData& d = model.data;
  std::vector<double> p(x, x + d.n);
  for (int j = 0; j < d.n; ++j)
    if (d.typeOf(j) == 'B' || d.typeOf(j) == 'I') p[static_cast<std::size_t>(j)] = std::round(p[static_cast<std::size_t>(j)]);
  double obj = d.objConst, inf = 0.0;
  std::vector<double> act(static_cast<std::size_t>(d.m), 0.0);
  for (int j = 0; j < d.n; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    obj += d.cost[u] * p[u];
    inf = std::max({inf, d.lower[u] - p[u], p[u] - d.upper[u]});
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) act[static_cast<std::size_t>(d.rowIdx[k])] += d.value[k] * p[u];
  }
  for (int i = 0; i < d.m; ++i) {
    const std::size_t u = static_cast<std::size_t>(i);
    const char c = d.conType[u];
    if (c == 'L' || c == 'E') inf = std::max(inf, act[u] - d.rhs[u]);
    if (c == 'G' || c == 'E') inf = std::max(inf, d.rhs[u] - act[u]);
  }
  // The point is feasible within the primal feasibility tolerance.
  const double tol = model.params.douValue(QX_DPARAM_SOLVER_FEASTOL);
  const unsigned st = inf <= tol * 10.0 ? QX_STATUS_FEASIBLE : QX_STATUS_INFEASIBLE;
  if (xRound) std::copy(p.begin(), p.end(), xRound);
  if (objective) *objective = obj;
  if (primalInfeas) *primalInfeas = inf;
  if (status) *status = static_cast<int>(st);
  if (model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL) > 0 && hasLog(model)) {
    logPrint(model, "\nMIP solution with integers rounded to the nearest integer");
    logPrint(model, "\n Status (R)      = %u ", st);
    logPrint(model, "\n Objective (R)   = %f ", obj);
    logPrint(model, "\n Primal inf. (R) = %.2e", inf);
  }
  return 0;
}

}  // namespace torva
