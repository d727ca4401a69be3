// The primal's final signals checked once more before they are accepted: an
// infeasibility whose point is feasible on the true bounds, or whose Farkas
// vector proves nothing, and an unbounded ray that leaves the bounds or does
// not improve the objective, hand the decision to the switch loop (outcome 7)
// instead of ending the solve with a wrong verdict. The dual's infeasibility
// signal on a badly conditioned basis is handed over likewise.
#include <algorithm>
#include <cmath>
#include <limits>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Entries of z = A'y below this fraction of the largest |y_i| are rounding
// of the BTRAN (the factors solve to about 1e-12 relative on the bases the
// simplex keeps; the margin is three orders above it).
constexpr double kFarkasZeroRel = 1e-9;
// Ray entries below this fraction of the largest entry are rounding of the
// FTRAN, by the same reasoning.
constexpr double kRayZeroRel = 1e-9;

// An infeasibility found on a basis whose 4-norm condition estimate exceeds
// this is not trusted (about 1e16 x 0.1: the dual ray is then mostly
// rounding).
constexpr double kUntrustedCondition = 1e15;
// Above this estimate an infeasibility signal is checked against the point.
constexpr double kDoubtedCondition = 1e8;
// LU relative pivot threshold raised by this (up to the ceiling) with it.
constexpr double kPivRelRaise = 0.02;
constexpr double kPivRelCeiling = 0.9;

}  // namespace

// Farkas test in the working (scaled) space on the true bounds: with
// z_j = a_j'y over the columns and z = y over the slacks, the rows say
// z'(x, s) = y'b. The vector proves infeasibility when y'b lies outside the
// range of z'(x, s) over the bounds by more than the feasibility tolerance
// (scaled by |y|).
bool SimplexWork::Impl::farkasProvesInfeasibility(const std::vector<double>& y) const {
  double ymax = 0.0;
  for (int i = 0; i < m; ++i) ymax = std::max(ymax, std::fabs(y[i]));
  if (!(ymax > 0.0)) return false;
  const double zeroTol = kFarkasZeroRel * ymax;
  double hi = 0.0, lo = 0.0, yb = 0.0;
  for (int i = 0; i < m; ++i) yb += y[i] * lp.rhs[i];
  for (int j = 0; j < nt; ++j) {
    double z;
    if (j < n) {
      z = 0.0;
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) z += lp.colValue[p] * y[lp.rowIndex[p]];
    } else {
      z = y[j - n];
    }
    if (std::fabs(z) <= zeroTol) continue;
    const double l = lp.lower[j], u = lp.upper[j];
    hi += z > 0.0 ? z * u : z * l;
    lo += z > 0.0 ? z * l : z * u;
  }
  const double gap = primalTol * ymax;
  return hi < yb - gap || lo > yb + gap;
}

bool SimplexWork::Impl::rayIsUnbounded() const {
  if (ray.size() != static_cast<std::size_t>(nt)) return false;
  double rmax = 0.0, cr = 0.0;
  for (int j = 0; j < nt; ++j) rmax = std::max(rmax, std::fabs(ray[j]));
  if (!(rmax > 0.0)) return false;
  const double tol = kRayZeroRel * rmax;
  for (int j = 0; j < nt; ++j) {
    const double r = ray[j];
    if ((r > tol && lp.upper[j] < kInf) || (r < -tol && lp.lower[j] > -kInf)) return false;
    cr += lp.cost[j] * r;
  }
  // The entering column moves by one unit along the ray and its reduced
  // cost violated ceps: the objective falls by more than ceps.
  return cr < -dualTol;
}

bool SimplexWork::Impl::dualRayHolds() {
  if (signalOverrides > 0 || (farkas.size() == static_cast<std::size_t>(m) && farkasProvesInfeasibility(farkas)))
    return true;
  ++signalOverrides;
  if (logging(1) || tracing()) log("\nWARNING: ignoring infeasibility signal, set xstat:%d", kRecover);
  return false;
}

// An infeasibility signal on a badly conditioned basis is not trusted: the
// LU pivots get safer, reps grows tenfold (within its limits) and the primal
// decides instead. Once per solve.
bool SimplexWork::Impl::untrustedInfeasibility() {
  if (bl.infeasibilityDoubted || !lu || !lu->valid()) return false;
  const double c4 = lu->cond4est();
  if (!(c4 > kUntrustedCondition)) return provenFeasible(c4);
  bl.infeasibilityDoubted = true;
  if (pivRel + kPivRelRaise <= kPivRelCeiling) pivRel += kPivRelRaise;
  const double reps = primalTol * 10.0;
  if (reps <= opt.maxFeasTol) {
    primalTol = reps;
    if (tracing()) traceLine(" new reps:%e (factor:%e), file=%s(%d)", reps, 10.0, __FILE_NAME__, __LINE__);
  }
  if (logging(1) || tracing()) log("\nWARNING: ignoring infeasibility signal, set xstat:%d", kRecover);
  return true;
}

// On a basis whose condition estimate c4 exceeds kDoubtedCondition, an
// infeasibility whose basic values lie within the feasibility tolerance
// raised tenfold (within its limits) is taken as the rounding of that basis:
// the tolerance is raised, and the primal finishes from the point.
bool SimplexWork::Impl::provenFeasible(double c4) {
  const double reps = primalTol * 10.0;
  if (!(c4 > kDoubtedCondition) || reps > opt.maxFeasTol) return false;
  double worst = 0.0;
  sumPrimalInfeas(nullptr, &worst);
  if (worst > reps) return false;
  bl.infeasibilityDoubted = true;
  if (pivRel + kPivRelRaise <= kPivRelCeiling) pivRel += kPivRelRaise;
  primalTol = reps;
  if (tracing()) traceLine(" new reps:%e (factor:%e), file=%s(%d)", reps, 10.0, __FILE_NAME__, __LINE__);
  if (logging(1) || tracing())
    log("\nWARNING: overridden infeasibility signal (proven to be primal feasible), set xstat:%d", kRecover);
  return true;
}

// The largest violation of the true bounds by the basic values, unscaled.
double SimplexWork::Impl::unscaledInfeasibility() const {
  double worst = 0.0;
  for (int k = 0; k < m; ++k) {
    const int j = basicVar[k];
    const double sc = j < n ? lp.colScale[j] : 1.0 / lp.rowScale[j - n];
    double v = 0.0;
    if (x[j] < lp.lower[j]) v = lp.lower[j] - x[j];
    if (x[j] > lp.upper[j]) v = x[j] - lp.upper[j];
    worst = std::max(worst, v * sc);
  }
  return worst;
}

int SimplexWork::Impl::verifyPrimalSignal(int outcome) {
  if (signalOverrides > 0) return outcome;
  const bool say = logging(1) || tracing();
  if (outcome == kInfeasible) {
    // The primal removes its bound shifts before it declares infeasibility:
    // the working bounds are the true ones here.
    int npinf = 0;
    sumPrimalInfeas(&npinf, nullptr);
    if (npinf == 0) {
      if (say) log("\nWARNING: overridden infeasibility signal, set xstat:%d", kRecover);
    } else if (farkas.size() != static_cast<std::size_t>(m) || !farkasProvesInfeasibility(farkas)) {
      if (say) log("\nWARNING: suspicious infeasibility certificate");
    } else {
      if (tracing() && lp.scaled) log("\nWARNING: unscaled infeasibility is %g", unscaledInfeasibility());
      return outcome;
    }
  } else if (outcome == kUnbounded && !rayIsUnbounded()) {
    if (say) log("\nWARNING: overridden unboundedness signal, set xstat:%d", kRecover);
  } else {
    return outcome;
  }
  ++signalOverrides;
  return kRecover;
}

}  // namespace torva::simplex
