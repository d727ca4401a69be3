// Leaving-row selection of the dual simplex: the infeasibilities kept with
// the basic values, a sparse list of candidate rows or a dense scan by
// segments.
#include "simplex/dual_rows.hpp"

#include <cmath>

namespace torva::simplex {
namespace {

// Row selection turns dense when m < factor x pcolal (the factor of
// QX_IPARAM_LP_PCOLAL_FACTOR, 0 meaning this default); pcolal is a running
// average of the pivot columns' nonzeros with this weight on the newest.
constexpr double kPcolalFactor = 10.0;
constexpr double kPcolalWeight = 0.1;

// Dense row selection walks on from segment to segment while the best
// score found so far (infeasibility^2 / weight) is below the typical best:
// a running geometric mean of the best scores of earlier selections, with
// this weight on the newest. One segment rarely holds the row a full scan
// would choose, and a poor choice costs a whole iteration while a further
// segment costs a division per row.
constexpr double kBestScoreWeight = 0.1;

// Sparse selection scans its list whole up to this many segments, and by
// segments (as dense selection scans the rows) beyond. The generated
// production model (m = 15,360, segments of 850 rows, lists of thousands)
// needs 61,462 dual iterations instead of 66,799 and about 15% less time;
// with 4 segments 62,058, but pilot then needs 5,672 iterations instead of
// 5,126 (Netlib with 8: the same rows as a whole scan within 1%).
constexpr int kListPartialSegments = 8;

}  // namespace

void DualRowSelection::rebuild() {
  const double factor = w_.opt.pcolalFactor > 0 ? w_.opt.pcolalFactor : kPcolalFactor;
  if (!dense_ && w_.m < factor * pcolal_) {
    dense_ = true;
    if (w_.logging(2) || w_.tracing()) w_.log("\nSwitch to DENSE selection of row (pcolal = %f, m=%d)", pcolal_, w_.m);
  } else if (dense_ && factor * pcolal_ <= w_.m) {
    dense_ = false;
    if (w_.logging(2) || w_.tracing()) w_.log("\nSwitch to SPARSE selection of row (pcolal = %f, m=%d)", pcolal_, w_.m);
  }
  ++w_.stats.fullPrices;
  builtTol_ = w_.primalTol;
  infeas_.assign(w_.m, 0.0);
  inList_.assign(w_.m, 0);
  list_.clear();
  holes_ = 0;
  listPos_ = 0;
  if (dense_) return;
  for (int i = 0; i < w_.m; ++i) {
    const double v = w_.primalInfeasOf(i);
    if (!(v > builtTol_)) continue;
    infeas_[i] = v;
    inList_[i] = 1;
    list_.push_back(i);
  }
}

void DualRowSelection::notePivotColumn(int count) {
  pcolal_ = (1.0 - kPcolalWeight) * pcolal_ + kPcolalWeight * count;
}

bool DualRowSelection::belowTypical(double score) const {
  return haveTypical_ && std::log(score) < logTypicalBest_;
}

// Row i with infeasibility v > 0 as a candidate among the k best so far.
void DualRowSelection::consider(int i, double v, int k) {
  const double score = v * v / w_.dseWeight[i];
  if (!(score > 0.0)) return;  // NaN weight
  const bool full = static_cast<int>(picked_.size()) == k;
  if (full && score <= scores_.back()) return;
  if (w_.bl.isRejected(w_.basicVar[i])) return;
  // Insert in descending order, keeping at most k.
  std::size_t p = picked_.size();
  if (full) {
    picked_.pop_back();
    scores_.pop_back();
    --p;
  }
  picked_.push_back(i);
  scores_.push_back(score);
  for (; p > 0 && scores_[p - 1] < score; --p) {
    std::swap(scores_[p], scores_[p - 1]);
    std::swap(picked_[p], picked_[p - 1]);
  }
}

void DualRowSelection::choose(int k) {
  if (w_.primalTol != builtTol_ || static_cast<int>(infeas_.size()) != w_.m) rebuild();
  picked_.clear();
  scores_.clear();
  ++w_.stats.blist[dense_ ? 1 : 0];
  if (!dense_) {
    chooseFromList(k);
    return;
  }
  // Dense selection scans segments of rows from where the last scan
  // stopped, and stops at the end of the first segment after which the
  // best candidate found scores at least the typical best; at most one
  // full pass.
  const int m = w_.m;
  const int segment = partialSegmentSize(m, w_.refactorFrequency);
  const int from = m > 0 ? segStart_ % m : 0;
  for (int t = 0; t < m; ++t) {
    if (t > 0 && t % segment == 0 && !picked_.empty() && !belowTypical(scores_[0])) {
      segStart_ = (from + t) % m;
      break;
    }
    const int i = from + t < m ? from + t : from + t - m;
    const double v = w_.primalInfeasOf(i);
    if (v > builtTol_) consider(i, v, k);
  }
  noteBest();
}

// A long list is scanned by segments from where the last scan stopped, with
// the stopping rule of dense selection; rows found feasible on the way leave
// it (their places are marked and reclaimed once they are many).
void DualRowSelection::chooseFromList(int k) {
  const int count = static_cast<int>(list_.size());
  const int segment = partialSegmentSize(w_.m, w_.refactorFrequency);
  const bool partial = count > kListPartialSegments * segment;
  const int from = partial && count > 0 ? listPos_ % count : 0;
  for (int t = 0; t < count; ++t) {
    if (partial && t > 0 && t % segment == 0 && !picked_.empty() && !belowTypical(scores_[0])) {
      listPos_ = from + t;
      break;
    }
    const int at = from + t < count ? from + t : from + t - count;
    const int i = list_[at];
    if (i < 0) continue;
    const double v = infeas_[i];
    if (v == 0.0) {
      inList_[i] = 0;
      list_[at] = -1;
      ++holes_;
      continue;
    }
    consider(i, v, k);
  }
  if (holes_ > count / 4) {
    std::size_t kept = 0;
    for (const int i : list_)
      if (i >= 0) list_[kept++] = i;
    list_.resize(kept);
    holes_ = 0;
    listPos_ = 0;
  }
  if (partial) noteBest();
}

void DualRowSelection::noteBest() {
  if (!picked_.empty()) {
    const double best = std::log(scores_[0]);
    logTypicalBest_ = haveTypical_ ? (1.0 - kBestScoreWeight) * logTypicalBest_ + kBestScoreWeight * best : best;
    haveTypical_ = true;
  }
}

}  // namespace torva::simplex
