// Unscaling the work area and reoptimising unscaled. A verdict of
// infeasibility or unboundedness reached on the scaled LP of a badly scaled
// model (coefficients spanning more than the double precision) may be an
// artefact of the scaling: the work area drops its scale factors, keeps the
// basis, and the primal reoptimises on the model's own coefficients.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "base/model_data.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

// Badly scaled: the smallest nonzero coefficient magnitude over the largest
// is below DBL_EPSILON, so no scaling in double precision can bring both
// near 1 and the scaled verdict may rest on rounding.
bool SimplexWork::Impl::badlyScaled(const ModelData& data) const {
  double lo = kInf, hi = 0.0;
  for (int j = 0; j < data.n; ++j) {
    for (int p = data.colBeg[j]; p < data.colBeg[j] + data.colLen[j]; ++p) {
      const double a = std::fabs(data.value[p]);
      if (a == 0.0) continue;
      lo = std::min(lo, a);
      hi = std::max(hi, a);
    }
  }
  return hi > 0.0 && lo / hi < DBL_EPSILON;
}

// Decimal orders of magnitude between the smallest and the largest
// coefficient magnitude of the matrix the kernels work on (0 for an empty
// matrix).
int SimplexWork::Impl::scaleMeasure() const {
  double lo = kInf, hi = 0.0;
  for (double v : lp.colValue) {
    const double a = std::fabs(v);
    if (a == 0.0) continue;
    lo = std::min(lo, a);
    hi = std::max(hi, a);
  }
  return hi > 0.0 ? static_cast<int>(std::ceil(std::log10(hi / lo))) : 0;
}

int SimplexWork::Impl::unscaleAndReoptimize(const ModelData& data, bool reopt) {
  if (logging(1) || tracing()) log("\nUnscaling row and col structures");
  if (pert.active && !pert.shifted.empty()) {
    if (logging(1) || tracing())
      log("\nWARNING: removing %d shifts, wfact:%d, nloop:%d, cnt:%d, |shift|=%g",
          static_cast<int>(pert.shifted.size()), refactorRequest, 0, pert.count, pert.size);
    dropPerturbation();
  }
  buildLp(data, false, opt.infinity, lp);
  newLpStamp();
  lower = lp.lower;
  upper = lp.upper;
  cost = lp.cost;
  rhs = lp.rhs;
  costShifted = false;
  colNorm2.clear();  // the pricing norms were those of the scaled columns
  for (int j = 0; j < nt; ++j)
    if (pos[j] < 0) placeAt(j, static_cast<NonbasicAt>(at[j]));
  if (logging(1) || tracing()) log("\nReoptimizing unscaled model");
  const int pricing = opt.primalPricing;
  opt.primalPricing = 0;  // partial pricing
  outcome = kNotFinished;
  int res = runPrimal();
  opt.primalPricing = pricing;
  Method last = Method::Primal;
  if (res == kRecover) res = switchLoop(res, last, reopt);
  return res;
}

}  // namespace torva::simplex
