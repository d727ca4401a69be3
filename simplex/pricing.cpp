// Primal pricing: partial pricing over segments of the columns and the
// switch between it and devex pricing (Maros 2003, ch. 9). Partial pricing
// is cheap per iteration and good while the iterations are few and mostly
// nondegenerate; devex takes fewer iterations on degenerate or long runs.
#include <algorithm>
#include <cmath>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

// Segment size max(kMinSegment, m^kSegmentExponent), capped by
// max(kMinSegment, m^e, min(m / 4, refactorisation frequency)).
constexpr int kMinSegment = 20;
constexpr double kSegmentExponent = 0.7;
// Switch thresholds on d + g (degenerate share of the iterations since the
// last factorisation plus the fill measure of the factors): above
// kToDevex partial pricing gives way to devex, below kToPartial devex goes
// back to partial once per solve.
constexpr double kToDevex = 1.2;
constexpr double kToPartial = 1.0;
// Fill measure: (nnz(L) + nnz(U) - kFillBase m)^2 / nnz(A) / m.
constexpr double kFillBase = 1.5;
// A partial price scans at least 1/kMinScanShare of all columns before it
// takes its best candidate. With far more columns than rows a segment of
// m^0.7 columns is a vanishing share of them and its best column little
// better than any (fit2d, 25 rows and 10,500 columns: 18,837 iterations
// with one segment per price, 15,308 with this floor). At 64 no other
// Netlib model scans more than before; 32 also changed twelve others, for
// better and worse (80bau3b and fit2p 10-15% more iterations).
constexpr int kMinScanShare = 64;

}  // namespace

int partialSegmentSize(int m, int refactorFrequency) {
  const int power = static_cast<int>(std::floor(std::pow(static_cast<double>(std::max(m, 1)), kSegmentExponent)));
  const int size = std::max(kMinSegment, power);
  const int cap = std::max({kMinSegment, power, std::min(m / 4, refactorFrequency)});
  return std::min(size, cap);
}

void SimplexWork::Impl::setupPrimalPricing() {
  partialSegment = partialSegmentSize(m, refactorFrequency);
  int method = opt.partialMethod == 0 ? 2 : opt.partialMethod;
  if (method < 1 || method > 3 || (opt.solverMode & 1)) method = 1;
  partialMethod = method;
  if (prog.partialForced || opt.primalPricing == 0)
    primalPricingMode = kPricingPartial;
  else if (opt.primalPricing == -1)
    primalPricingMode = opt.dpSwitch > 1 ? kPricingDevex : kPricingPartial;
  else
    primalPricingMode = kPricingDevex;
  if (colNorm2.size() != static_cast<std::size_t>(nt)) {
    colNorm2.assign(nt, 2.0);  // slacks: 1 + 1
    for (int j = 0; j < n; ++j) {
      double s = 1.0;
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) s += lp.colValue[p] * lp.colValue[p];
      colNorm2[j] = s;
    }
  }
}

double SimplexWork::Impl::pricingViolation(int j) const {
  if (pos[j] >= 0 || lower[j] == upper[j]) return 0.0;
  const double dj = d[j];
  switch (at[j]) {
    case kAtLower: return dj < -dualTol ? -dj : 0.0;
    case kAtUpper: return dj > dualTol ? dj : 0.0;
    default: return std::fabs(dj) > dualTol ? std::fabs(dj) : 0.0;
  }
}

int SimplexWork::Impl::pricePartial(const std::vector<double>& rejectedUntil) {
  const int seg = std::max(1, partialSegment);
  int best = -1;
  double bestScore = 0.0;
  int scanned = 0, withCandidates = 0;
  int j = partialStart % nt;
  while (scanned < nt) {
    const int len = std::min(seg, nt - scanned);
    for (int k = 0; k < len; ++k, j = j + 1 == nt ? 0 : j + 1) {
      if (rejectedUntil[j] > iterations || bl.isRejected(j)) continue;
      if (lazyReducedCosts && pos[j] < 0 && lower[j] != upper[j]) d[j] = reducedCostFromDuals(j);
      const double v = pricingViolation(j);
      if (v == 0.0) continue;
      // Method 1 Dantzig, 2 and 3 Dantzig scaled by the column norm.
      const double score = partialMethod == 1 ? v : v * v / colNorm2[j];
      if (score > bestScore) {
        bestScore = score;
        best = j;
      }
    }
    scanned += len;
    if (best >= 0 && (partialMethod != 3 || ++withCandidates >= 2) &&
        static_cast<long long>(scanned) * kMinScanShare >= nt)
      break;
  }
  partialStart = j;
  if (scanned >= nt) ++stats.fullPrices;
  if (best < 0 && tracing())
    traceLine(" ppart candid list empty, fiter=%d, scanned-full=%d.", updates, scanned >= nt ? 1 : 0);
  return best;
}

double SimplexWork::Impl::reducedCostFromDuals(int j) const {
  if (j >= n) return priceCostWeight * cost[j] - priceY[j - n];
  double s = priceCostWeight * cost[j];
  for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) s -= lp.colValue[p] * priceY[lp.rowIndex[p]];
  return s;
}

void SimplexWork::Impl::refreshReducedCosts() {
  if (!lazyReducedCosts) return;
  for (int j = 0; j < nt; ++j) d[j] = pos[j] >= 0 ? 0.0 : reducedCostFromDuals(j);
  lazyReducedCosts = false;
}

void SimplexWork::Impl::primalPricingSwitch() {
  if (lastReason >= 4 && lastReason <= 7) return;
  const ProgressRecord& now = prog.last;
  const ProgressRecord& before = prog.prev;
  if (!now.valid || !before.valid || now.iterations <= before.iterations || totalIterations <= 0) return;
  const double iters = now.iterations - before.iterations;
  const double dshare = (now.degenerate - before.degenerate) / iters;
  const double fill = static_cast<double>(bl.lnnz + bl.unnz) - kFillBase * m;
  const double g = lp.nnz() > 0 && m > 0 ? fill * fill / lp.nnz() / m : 0.0;
  if (primalPricingMode == kPricingPartial) {
    if (!prog.partialForced && (dshare + g > kToDevex || totalIterations > n + m)) {
      if (tracing()) traceLine(" switch to devex");
      primalPricingMode = kPricingDevex;
      if (!devex.empty()) std::fill(devex.begin(), devex.end(), 1.0);
    }
  } else if (devexBackAllowed == 1 && dshare + g < kToPartial && totalIterations < n + m) {
    devexBackAllowed = 2;
    if (tracing()) traceLine(" switch to partial");
    primalPricingMode = kPricingPartial;
  }
}

}  // namespace torva::simplex
