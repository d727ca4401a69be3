// Bound-flipping ratio test of the dual simplex.
#include "simplex/dual_ratio.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Beyond the first group of breakpoints the candidates are ordered by ratio
// in chunks, starting with this many (enough for the groups of most
// iterations).
constexpr std::size_t kFirstSortedChunk = 64;

}  // namespace

void DualRatioTest::countFixed(const SimplexWork::Impl& w) {
  fixedSkipped = 0;
  for (int k = 0; k < w.prowCount; ++k) {
    const int j = w.prowIndex[k];
    if (w.lower[j] == w.upper[j]) ++fixedSkipped;
  }
}

int DualRatioTest::run(SimplexWork::Impl& w, double delta, double s) {
  cands.clear();
  flips.clear();
  fixedSkipped = 0;
  // One pass builds the candidates with their ratios, the largest |pivot|
  // and the least Harris bound. The cheap tests come first (the pivot row's
  // value and the nonbasic position), so that the bounds and reduced costs
  // are read for candidates only.
  candMax = 0.0;
  const double tol = w.dualTol, pivTol = w.pivTol;
  double thetaMax = kInf;
  const double* const row = w.prow.data();
  const int* const list = w.prowIndex.data();
  const signed char* const where = w.at.data();
  const double* const lower = w.lower.data();
  const double* const upper = w.upper.data();
  const double* const d = w.d.data();
  for (int k = 0, count = w.prowCount; k < count; ++k) {
    const int j = list[k];
    const double a = row[j];
    if (std::fabs(a) < pivTol) continue;
    const double at = -s * a;
    const signed char pos = where[j];
    if (!((pos == kAtLower && at > 0.0) || (pos == kAtUpper && at < 0.0) || pos == kAtZero)) continue;
    if (lower[j] == upper[j]) continue;  // fixed
    candMax = std::max(candMax, std::fabs(at));
    const double dj = d[j];
    double ratio = dj / at;
    if (std::isnan(ratio)) ratio = -kInf;  // never excluded from a group
    const double harris = at > 0.0 ? (dj + tol) / at : (dj - tol) / at;
    thetaMax = std::min(thetaMax, harris);
    Candidate& c = cands.emplace_back(j, at);
    c.ratio = ratio;
    c.harris = harris;
  }
  if (cands.empty()) return -1;
  // A group of breakpoints: the candidates whose ratio lies within the
  // Harris bound thetaMax (the least (d_j +- tol) / atilde_j of the
  // candidates left). Passing a group flips its boxed variables to their
  // other bound and lowers the slope (the primal infeasibility left in the
  // leaving row, which must stay above the feasibility tolerance for the
  // row to remain a valid choice) by their ranges; the first group that
  // cannot be passed supplies the entering column, its largest |atilde|.
  double slope = std::fabs(delta);
  const auto passes = [&](double decrease) { return std::isfinite(decrease) && slope - decrease > w.primalTol; };
  int firstBest = -1;  // the column the first group would have entered
  {
    // Most iterations stop at the first group: one scan, no ordering.
    double decrease = 0.0, bestA = 0.0;
    int best = -1;
    for (const Candidate& c : cands) {
      if (c.ratio > thetaMax) continue;
      decrease += std::fabs(c.atilde) * (w.upper[c.j] - w.lower[c.j]);  // inf for unboxed
      if (std::fabs(c.atilde) > bestA) {
        bestA = std::fabs(c.atilde);
        best = c.j;
      }
    }
    if (!passes(decrease)) {
      if (best < 0) countFixed(w);
      return best >= 0 ? best : kMinRatio2Failed;
    }
    firstBest = best;
  }
  // Several groups: with the candidates ordered by ratio, the groups passed
  // are a prefix of that order (every bound exceeds the ratios passed
  // before it), and the next bound is the least Harris bound of the rest.
  // The order is built in growing chunks (select the next smallest ratios,
  // sort only them): a handful of groups then costs about one scan.
  const std::size_t count = cands.size();
  order_.resize(count);
  for (std::size_t t = 0; t < count; ++t) order_[t] = static_cast<int>(t);
  const auto before = [&](int a, int b) {
    return cands[a].ratio < cands[b].ratio || (cands[a].ratio == cands[b].ratio && a < b);
  };
  suffixHarris_.assign(count + 1, kInf);
  std::size_t sorted = 0;
  const auto extend = [&]() {
    const std::size_t want = std::min(count, std::max<std::size_t>(kFirstSortedChunk, 2 * sorted));
    if (want < count) std::nth_element(order_.begin() + sorted, order_.begin() + want, order_.end(), before);
    std::sort(order_.begin() + sorted, order_.begin() + want, before);
    // The minima at positions before sorted stay valid: the set of
    // candidates behind each of them is the same.
    double rest = kInf;
    for (std::size_t t = want; t < count; ++t) rest = std::min(rest, cands[order_[t]].harris);
    suffixHarris_[want] = rest;
    for (std::size_t t = want; t-- > sorted;) suffixHarris_[t] = std::min(suffixHarris_[t + 1], cands[order_[t]].harris);
    sorted = want;
  };
  extend();
  std::size_t p = 0;
  while (p < count) {
    thetaMax = suffixHarris_[p];
    double decrease = 0.0, bestA = 0.0;
    int best = -1, bestAt = 0;
    std::size_t e = p;
    for (; e < count; ++e) {
      if (e == sorted) extend();
      if (cands[order_[e]].ratio > thetaMax) break;
      const int t = order_[e];
      const Candidate& c = cands[t];
      decrease += std::fabs(c.atilde) * (w.upper[c.j] - w.lower[c.j]);
      const double a = std::fabs(c.atilde);
      if (a > bestA || (a == bestA && best >= 0 && t < bestAt)) {
        bestA = a;
        best = c.j;
        bestAt = t;
      }
    }
    if (!passes(decrease)) {
      if (best >= 0 && firstBest >= 0 && best != firstBest && w.tracing())
        w.traceLine(" dual ratio found new pivj=%d, pivcoe_d=%e (%e), mrat=%e (%e)", best, w.prow[best],
                    w.prow[firstBest], w.d[best] / w.prow[best], w.d[firstBest] / w.prow[firstBest]);
      if (best >= 0) return best;
      // Keep the candidates left for the caller's trace.
      std::vector<Candidate> left;
      for (std::size_t t = p; t < count; ++t) left.push_back(cands[order_[t]]);
      cands.swap(left);
      countFixed(w);
      return kMinRatio2Failed;
    }
    slope -= decrease;
    for (std::size_t t = p; t < e; ++t) flips.push_back(cands[order_[t]].j);
    p = e;
  }
  cands.clear();
  return -1;
}

}  // namespace torva::simplex
