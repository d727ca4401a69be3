// Tolerance adjustments outside the progress checks' handlers: the check of
// the basic reduced costs after a refactorisation, the lowering of ceps by the
// dual's perturbation check, the objective-scaled ceps of the primal pricing
// pass, and the removal of a perturbation that accompanies a basis recovery.
#include <algorithm>
#include <cmath>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

// The dual's perturbation check lowers ceps by this factor once at least
// kCepsLowerAfter factorisations passed since the tolerances last changed.
constexpr double kCepsLowerFactor = 0.1;
constexpr int kCepsLowerAfter = 10;

// Strategy bit: the primal's pricing pass scales ceps with the objective
// scale, ceps = objective scale x ceps / kCepsScaleDivisor.
constexpr int kStrategyScaledCeps = 65536;
constexpr double kCepsScaleDivisor = 1000.0;
constexpr double kObjectiveScale = 1.0;

}  // namespace

// After a refactorisation the duals y solve B'y = c_B, so every basic column
// has c_j - a_j'y = 0 up to the backward error of the fresh factors. A basic
// reduced cost above ceps means the factors are less accurate than the
// optimality test assumes: a ceps lowered by the handlers below its base
// value is reset to it (never beyond: the caller's tolerance stays the
// promise), so that the pricing does not chase rounding.
int SimplexWork::Impl::checkBasicReducedCosts() {
  std::vector<double>& y = basicCheckY;
  aux.clear();
  for (int k = 0; k < m; ++k) aux.array[k] = cost[basicVar[k]];
  aux.count = -1;
  aux.rebuildIndex();
  lu->btran(aux);
  y.assign(aux.array.begin(), aux.array.end());
  aux.count = -1;
  aux.clear();
  int count = 0;
  double maxErr = 0.0, ynorm = 0.0;
  for (int i = 0; i < m; ++i) ynorm = std::max(ynorm, std::fabs(y[i]));
  for (int k = 0; k < m; ++k) {
    const int j = basicVar[k];
    double r = cost[j];
    if (j < n) {
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) r -= lp.colValue[p] * y[lp.rowIndex[p]];
    } else {
      r -= y[j - n];
    }
    const double e = std::fabs(r);
    if (!(e <= dualTol)) {  // NaN counts as an error
      ++count;
      maxErr = std::max(maxErr, std::isnan(e) ? HUGE_VAL : e);
    }
  }
  if (count == 0) return 0;
  if (tracing())
    traceLine("WARNING: fiter=%d, nbaserr=%d, dbasmaxerr=%e, ynorm=%g, cond2est:%g, rcond:%g, file=%s(%d)", updates,
              count, maxErr, ynorm, cond2, rcond, __FILE_NAME__, __LINE__);
  if (dualTol < opt.optTol) {
    dualTol = opt.optTol;
    prog.tolChangedAtFactor = factorCount;
    if (tracing()) traceLine(" set ceps:%e, fiter=%d, file=%s(%d)", dualTol, updates, __FILE_NAME__, __LINE__);
  }
  return count;
}

void SimplexWork::Impl::lowerCepsAfterPerturbation() {
  if (factorCount - prog.tolChangedAtFactor < kCepsLowerAfter) return;
  const double lowered = kCepsLowerFactor * dualTol;
  if (lowered < opt.minOptTol) return;
  dualTol = lowered;
  prog.tolChangedAtFactor = factorCount;
  if (tracing())
    traceLine(" new ceps:%e (factor:%e), file=%s(%d)", dualTol, kCepsLowerFactor, __FILE_NAME__, __LINE__);
}

// The costs are not scaled apart from the columns' scale factors, so the
// objective scale is 1: the pass works with the base ceps over the divisor.
// When that lies outside the limits of ceps the pricing would work with a
// clamped value that no longer follows the objective: the scaling is turned
// off for the solve (checked when it starts).
void SimplexWork::Impl::checkScaledCeps() {
  if ((opt.oprFree & kStrategyScaledCeps) == 0) return;
  const double scaled = kObjectiveScale * opt.optTol / kCepsScaleDivisor;
  if (scaled >= opt.minOptTol && scaled <= opt.maxOptTol) return;
  opt.oprFree &= ~kStrategyScaledCeps;
  if (tracing())
    log("\nWarning: turned off OSCAL_CEPS (scaling of ceps w.r.t. oscal). oscal:%g", kObjectiveScale);
}

void SimplexWork::Impl::scaleCepsForPricing() {
  if ((opt.oprFree & kStrategyScaledCeps) == 0) return;
  const double scaled = std::clamp(kObjectiveScale * opt.optTol / kCepsScaleDivisor, opt.minOptTol, opt.maxOptTol);
  if (scaled == dualTol) return;
  dualTol = scaled;
  if (scaled > opt.minOptTol && tracing())
    traceLine(" set ceps:%e, fiter=%d, file=%s(%d)", dualTol, updates, __FILE_NAME__, __LINE__);
}

// Recovery methods 1 and 2 change the basis under the perturbed problem;
// the true bounds and costs come back with it (the refactorisation that
// follows recomputes values and reduced costs on them).
void SimplexWork::Impl::dropPerturbationForRecovery() {
  if (!pert.active) return;
  if (tracing()) traceLine(" removing perturbation(%d), file=%s(%d)", pert.count, __FILE_NAME__, __LINE__);
  dropPerturbation();
  if (methodChar == 'D' && costShifted) {
    cost = lp.cost;
    costShifted = false;
  }
}

}  // namespace torva::simplex
