// Ratio test of the primal simplex: the two passes of Harris with bound
// flips of the entering variable, and the remedies against stalling and
// cycling (random ties, random entering columns, release of rejected
// columns).
#include <algorithm>
#include <cmath>
#include <random>

#include "simplex/primal_loop.hpp"

namespace torva::simplex::primal_impl {
namespace {

// Stalling: after SimplexOptions::stallingRun degenerate pivots in a row the
// ratio test breaks ties at random (among the rows whose pivot is at least
// kRandomPivotShare of the best one, so that the random choice never takes
// a weak pivot), which breaks the cycles a deterministic tie-break can
// repeat (Bland's rule and random ties are the textbook remedies, Chvatal
// 1983).
constexpr double kRandomPivotShare = 0.1;

// A column that enters this often during one run of degenerate pivots is
// cycling: it is rejected and a random candidate enters in its place.
constexpr int kCyclingEntries = 3;

// Rejected columns beyond this number when pricing runs dry say that the
// phase cannot go on: infeasibility in phase 1, unboundedness in phase 2
// (traced; the rejected columns are released and priced once more).
constexpr int kManyRejections = 10;

}  // namespace

int PrimalLoop::ratioTest(int q, double dir, bool phase1, double* theta) {
  const LuVector& col = w_.col;
  const double tol = w_.primalTol;
  // Pass 1: the largest step with every basic variable within its bounds
  // relaxed by the tolerance.
  // Candidates below the pivot tolerance are left out, but the largest of
  // them is kept: a column blocked only by such rows is no ray.
  double thetaMax = kInf;
  double colMax = 0.0, tinyA = 0.0, tinyRatio = 0.0, maxA = 0.0;
  blocking_.clear();
  for (int t = 0; t < col.count; ++t) {
    const int k = col.index[t];
    const double a = col.array[k];
    const double mag = std::fabs(a);
    colMax = std::max(colMax, mag);
    const int j = w_.basicVar[k];
    const double rate = -dir * a;
    double bound;
    if (mag < w_.pivTol) {
      if (a != 0.0 && mag > tinyA && blockingBound(j, rate, phase1, &bound)) {
        tinyA = mag;
        tinyRatio = std::max(0.0, (bound - w_.x[j]) / rate);
      }
      continue;
    }
    if (!blockingBound(j, rate, phase1, &bound)) continue;
    maxA = std::max(maxA, mag);
    thetaMax = std::min(thetaMax, (bound - w_.x[j] + std::copysign(tol, rate)) / rate);
    // thetaMax only falls: a row beyond it now is beyond it at the end.
    const double ratio = std::max(0.0, (bound - w_.x[j]) / rate);
    if (ratio <= thetaMax) blocking_.push_back({k, bound, ratio});
  }
  const double range = w_.upper[q] - w_.lower[q];
  if (thetaMax == kInf) {
    *theta = range;
    if (range < kInf) return -1;  // a bound flip
    return noBlockingRow(q, phase1, colMax, tinyA, tinyRatio);
  }
  // Pass 2: among the rows whose exact ratio is within thetaMax, the largest
  // pivot.
  int best = -1;
  double bestA = 0.0, bestRatio = 0.0;
  for (const Blocking& b : blocking_) {
    const double mag = std::fabs(col.array[b.k]);
    if (b.ratio <= thetaMax && mag > bestA) {
      bestA = mag;
      best = b.k;
      bestRatio = b.ratio;
      target_ = b.bound;
    }
  }
  if (range <= bestRatio) {
    *theta = range;  // the entering variable reaches its other bound first
    return -1;
  }
  if (best >= 0 && releases_ <= 1 && bestA < maxA * relativePivotFloor(w_.bl.ratRange)) {
    traceCandy(q, phase1, maxA, bestRatio);
    return kRejectColumn;
  }
  if (best >= 0 && degenerateRun_ >= w_.opt.stallingRun) {
    double ratio = bestRatio;
    const int k = stallingChoice(thetaMax, bestA, dir, phase1, &ratio);
    if (k >= 0) {
      *theta = ratio;
      return k;
    }
  }
  *theta = bestRatio;
  return best;
}

// The column is refused although an entry below the pivot tolerance would
// limit its step (coef, at the given ratio).
void PrimalLoop::traceCandy(int q, bool phase1, double coef, double ratio) {
  if (!w_.tracing()) return;
  if (phase1)
    w_.traceLine(" WARNING: pchuzr-I failed for pivj=%d, but a candy with pivcoe2=%e exists, pvteps=%e", q, coef,
                 w_.pivTol);
  else
    w_.traceLine(" WARNING: pchuzr-II failed for pivj=%d, but a candy with pivcoe2=%e exists, pvteps=%e, pivrat=%e",
                 q, coef, w_.pivTol, ratio);
}

int PrimalLoop::noBlockingRow(int q, bool phase1, double colMax, double tinyA, double tinyRatio) {
  const char* variant = phase1 ? "I" : "II";
  // Only rows below the pivot tolerance block: the column is refused, once
  // per release of the rejected columns (a column that comes back after a
  // release is taken for the ray its large entries say it is).
  if (tinyA > 0.0 && releases_ <= 1) {
    traceCandy(q, phase1, tinyA, tinyRatio);
    return kRejectColumn;
  }
  // No entry reaches the pivot tolerance: the column is empty as far as the
  // ratio test can tell.
  const bool empty = colMax < w_.pivTol;
  if (w_.tracing())
    w_.traceLine(" WARNING: pchuzr-%s %s pivj=%d, pivcoe2=%e, pvteps=%e, pivcn=%e, %s", variant,
                 empty ? "determined *empty*" : "found no candies for", q, colMax, w_.pivTol, w_.d[q],
                 !phase1 ? "fire-U!" : (empty ? "reject!" : "fire-I!"));
  // Phase 1 skips such a column for a while either way (the caller's
  // rejectPhase1Column); when pricing then runs dry the point stays
  // infeasible.
  return -1;
}

int PrimalLoop::stallingChoice(double thetaMax, double bestA, double dir, bool phase1, double* ratioOut) {
  const LuVector& col = w_.col;
  const double floor = kRandomPivotShare * bestA;
  ties_.clear();
  for (int t = 0; t < col.count; ++t) {
    const int k = col.index[t];
    const double a = col.array[k];
    if (std::fabs(a) < std::max(w_.pivTol, floor)) continue;
    const int j = w_.basicVar[k];
    const double rate = -dir * a;
    double bound;
    if (!blockingBound(j, rate, phase1, &bound)) continue;
    if (std::max(0.0, (bound - w_.x[j]) / rate) <= thetaMax) ties_.push_back(k);
  }
  if (ties_.size() < 2) return -1;
  const int npcand = static_cast<int>(ties_.size());
  const int randix = static_cast<int>(std::uniform_int_distribution<int>(0, npcand - 1)(w_.rng));
  const int k = ties_[randix];
  const int j = w_.basicVar[k];
  const double rate = -dir * col.array[k];
  double bound = 0.0;
  blockingBound(j, rate, phase1, &bound);
  target_ = bound;
  *ratioOut = std::max(0.0, (bound - w_.x[j]) / rate);
  ++randomTries_;
  if (w_.tracing()) {
    // Pass 1 already bounds the step to a degenerate one (every candidate
    // ties at it): ratio-1; ties within the band of pass 2: ratio-2.
    w_.traceLine(" WARNING: randomized pivot ratio-%d due to stalling: %d of %d, (tries=%u)",
                 thetaMax <= w_.primalTol ? 1 : 2, randix + 1, npcand, randomTries_);
    w_.traceLine(" WARNING: rat1=%e, mrat1=%e, pivcoe=%e, rhsi=%e, rhsi-u=%e, rhsf=%c, npcand=%d, randix=%d, ix=%d",
                 *ratioOut, thetaMax, col.array[k], w_.x[j], w_.x[j] - bound, bound == w_.lower[j] ? 'L' : 'U', npcand,
                 randix, k);
  }
  return k;
}

void PrimalLoop::noteStep(int q, double theta) {
  if (theta >= w_.primalTol) {
    degenerateRun_ = 0;
    for (const int j : entered_) entries_[j] = 0;
    entered_.clear();
    return;
  }
  ++degenerateRun_;
  if (entries_[q]++ == 0) entered_.push_back(q);
}

int PrimalLoop::breakCycle(int q) {
  if (degenerateRun_ < w_.opt.stallingRun || entries_[q] < kCyclingEntries) return q;
  w_.refreshReducedCosts();
  // Any other candidate, chosen at random, in place of the cycling column.
  ties_.clear();
  for (int j = 0; j < w_.nt; ++j)
    if (j != q && attraction(j) > 0.0 && rejectedUntil_[j] <= w_.iterations && !w_.bl.isRejected(j)) ties_.push_back(j);
  if (ties_.empty()) return q;
  w_.bl.reject(q);
  const int pick = ties_[std::uniform_int_distribution<int>(0, static_cast<int>(ties_.size()) - 1)(w_.rng)];
  ++rejectCyc_;
  if (w_.tracing())
    w_.traceLine("WARNING: reject_cyc=%u, icyc=%d, randomized pivj=%d, file=%s(%d)", rejectCyc_, q, pick,
                 __FILE_NAME__, __LINE__);
  return pick;
}

bool PrimalLoop::releaseAfterNoPivot(bool phase1) {
  const int post = static_cast<int>(w_.bl.rejectedList.size());
  if (post == 0) return false;
  w_.refreshReducedCosts();
  if (w_.tracing()) {
    int left = 0;  // candidates once the rejected columns are released
    for (int j = 0; j < w_.nt; ++j) left += attraction(j) > 0.0 && rejectedUntil_[j] <= w_.iterations;
    if (post >= kManyRejections)
      w_.traceLine(" WARNING: %d (%d inf) rejections indicates %s, left:%d..", post, infRejects_,
                   phase1 ? "infeasibility" : "unboundedness", left);
    w_.traceLine(" WARNING: no pivots possible, dealing with %d post-rejections, left=%d, (pivj=%d, pivi=%d) fiter=%d",
                 post, left, lastQ_, lastR_, w_.updates);
    w_.traceLine(" WARNING: reperforming a full-pricing..");
  }
  const int released = w_.bl.releaseRejected();
  infRejects_ = 0;
  if (++releases_ > 1 && w_.tracing())
    w_.traceLine(" unrejected col %d, total: %d, %s(%d)", -1, released, __FILE_NAME__, __LINE__);
  pricesRecomputed();
  return true;
}

// The bound that basic variable j, moving at rate per unit step, meets first:
// in phase 1 a variable outside its bounds by more than the tolerance blocks
// at the violated bound it moves towards (it may pass the other one), else at
// the bound in its direction of motion. False when nothing blocks it.
bool PrimalLoop::blockingBound(int j, double rate, bool phase1, double* bound) const {
  const double xv = w_.x[j];
  const double tol = w_.primalTol;
  if (phase1 && xv < w_.lower[j] - tol) {
    *bound = w_.lower[j];
    return rate > 0.0;
  }
  if (phase1 && xv > w_.upper[j] + tol) {
    *bound = w_.upper[j];
    return rate < 0.0;
  }
  if (rate < 0.0 && w_.lower[j] > -kInf) {
    *bound = w_.lower[j];
    return true;
  }
  if (rate > 0.0 && w_.upper[j] < kInf) {
    *bound = w_.upper[j];
    return true;
  }
  return false;
}

}  // namespace torva::simplex::primal_impl
