// Models solved without the simplex: a linear model without rows and any
// model without columns.
#include <cmath>

#include "base/callback.hpp"
#include "simplex/driver.hpp"

namespace torva::driver {
namespace {

// No columns: every slack is basic and equals its right-hand side; a row
// that the zero activity violates by more than the feasibility tolerance
// makes the model infeasible.
void solveWithoutColumns(Model& model, double feasTol, LpSolution& r) {
  const ModelData& d = model.data;
  bool violated = false;
  for (int i = 0; i < d.m; ++i) {
    const double b = d.rhs[i];
    switch (d.conType[i]) {
      case 'E': violated |= std::fabs(b) > feasTol; break;
      case 'G': violated |= b > feasTol; break;
      case 'L': violated |= b < -feasTol; break;
      default: break;
    }
  }
  r.x.clear();
  r.d.clear();
  r.colStatus.clear();
  r.y.assign(static_cast<std::size_t>(d.m), 0.0);
  // Every row's slack is basic with value 0: there is no activity to
  // measure a row against, and the verdict above judges the rows.
  r.s.assign(static_cast<std::size_t>(d.m), 0.0);
  r.rowStatus.assign(static_cast<std::size_t>(d.m), 0);
  r.primalObj = r.dualObj = d.objConst;
  if (violated) {
    r.modelStatus = r.primalStatus = QX_STATUS_INFEASIBLE;
    r.dualStatus = QX_STATUS_UNBOUNDED;
  } else {
    r.modelStatus = r.primalStatus = r.dualStatus = QX_STATUS_BASIC_OPTIMAL;
  }
}

// No rows: each column goes to the bound its cost prefers; an infinite
// preferred bound makes the model unbounded.
int solveWithoutRows(Model& model, LpSolution& r) {
  const ModelData& d = model.data;
  const int sense = d.objSense;
  if (sense != QX_MIN && sense != QX_MAX) return QXERR_BAD_OBJECTIVE_SENSE;
  r.x.assign(static_cast<std::size_t>(d.n), 0.0);
  r.d.assign(d.cost.begin(), d.cost.end());
  r.colStatus.assign(static_cast<std::size_t>(d.n), kBasisAtLower);
  r.y.clear();
  r.s.clear();
  r.rowStatus.clear();
  bool unbounded = false;
  double obj = d.objConst;
  for (int j = 0; j < d.n; ++j) {
    const double c = d.cost[j], lo = d.lower[j], up = d.upper[j];
    double& x = r.x[j];
    int& st = r.colStatus[j];
    if (c != 0.0) {
      const bool wantsLarger = sense * c < 0;  // maximise c > 0 or minimise c < 0
      x = wantsLarger ? up : lo;
      st = wantsLarger ? kBasisAtUpper : kBasisAtLower;
      if (std::fabs(x) >= kInfinity) unbounded = true;
    } else if (lo <= -kInfinity && up >= kInfinity) {
      x = 0.0;
      st = kBasisFreeAtZero;
    } else if (std::fabs(up) > std::fabs(lo)) {
      x = lo;
      st = kBasisAtLower;
    } else {
      x = up;
      st = kBasisAtUpper;
    }
    if (!unbounded) obj += c * x;
  }
  if (unbounded) {
    // The objective runs to the infinite value in the preferred direction.
    r.primalObj = -sense * kInfinity;
    r.modelStatus = r.primalStatus = QX_STATUS_UNBOUNDED;
    r.dualStatus = QX_STATUS_INFEASIBLE;
  } else {
    r.primalObj = obj;
    r.modelStatus = r.primalStatus = r.dualStatus = QX_STATUS_BASIC_OPTIMAL;
  }
  r.dualObj = r.primalObj;
  return 0;
}

}  // namespace

bool solveTrivial(Call& call, int* error) {
  Model& model = call.model;
  const ModelData& d = model.data;
  if (d.n > 0 && d.m > 0) return false;
  LpSolution& r = *model.lpSolution;
  *error = d.n == 0 ? (solveWithoutColumns(model, call.opt.feasTol, r), 0) : solveWithoutRows(model, r);
  if (*error) return true;
  r.basisStatus = r.primalStatus;
  r.method = call.method;
  r.primalInfeas = r.dualInfeas = 0.0;
  setReducedSize(r, &d);
  model.status = r.modelStatus;
  const int rc = reportProgress(model, {QXLOC_PRIMAL, 0.0, r.primalObj, true});
  if (rc < 0) *error = QXERR_USER_INTERRUPT;
  return true;
}

}  // namespace torva::driver
