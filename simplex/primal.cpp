// Primal simplex: phase 1 minimising the sum of infeasibilities, then phase
// 2; both priced partially at first, then by devex (Forrest and Goldfarb
// 1992, reference framework of Harris 1973), and both with the two-pass
// ratio test of Harris with bound flips of the entering variable.
#include <algorithm>
#include <cmath>
#include <limits>

#include "simplex/candidate_list.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Devex reference framework (Forrest and Goldfarb 1992): after the FTRAN
// of an entering column its weight is recomputed exactly over the
// framework's variables. A stored weight more than kBadWeightFactor times the
// exact one counts as bad; more than kAllowedBadWeights bad weights since the
// last reset mean the framework has drifted from the basis and it is reset.
// Both figures are tuning choices measured on the Netlib models (a reset on
// the size of a weight alone, as before, cost up to 1.8x the iterations).
constexpr double kBadWeightFactor = 3.0;
constexpr int kAllowedBadWeights = 3;
// Guard against overflow of the weights only: a weight beyond this resets
// the framework whatever the count.
constexpr double kDevexOverflow = 1e100;

// Ratio test result: the entering column is refused (its pivot is tiny
// against the column's largest candidate).
constexpr int kRejectColumn = -2;

// Columns whose ratio test fails are skipped for this many iterations.
constexpr int kRejectIterations = 50;

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

// Bound shifts (Wunderling 1996): a variable that leaves the basis beyond
// its bound (within reps, after an earlier Harris step) leaves at its value
// with the bound shifted there, instead of being put back on the bound:
// that move of a nonbasic value shifted every basic value behind it, and
// the drift came back as primal infeasibilities after each factorisation
// (air04). The shifts go before an end is declared, and the primal removes
// what infeasibility that leaves; after kShiftRounds removals it shifts no
// more, so the rounds end. (Shifting the bounds passed by the other rows
// too cost the multicommodity models 8-10% more iterations.)
constexpr int kShiftRounds = 3;

class PrimalLoop {
 public:
  explicit PrimalLoop(SimplexWork::Impl& w) : w_(w), rejectedUntil_(w.nt, -1.0), entries_(w.nt, 0) {
    cands_.reset(w.nt);
  }
  int run();

 private:
  bool infeasibleBasics();
  // After a step that changed the basic values of the rows listed in w_.col.
  void stepTouched();
  // True when the reduced costs are those of the last iteration, changed
  // only along its pivot row (the candidate list then stays valid).
  bool phase1Duals();
  // By how much column j's reduced cost has the wrong sign (0 when it is
  // no candidate).
  // Inlined: it runs once per column in every full pricing scan.
  [[gnu::always_inline]] double attraction(int j) const {
    if (w_.pos[j] >= 0 || w_.lower[j] == w_.upper[j]) return 0.0;
    const double dj = w_.d[j];
    const signed char where = w_.at[j];
    if (where == kAtLower && dj < -w_.dualTol) return -dj;
    if (where == kAtUpper && dj > w_.dualTol) return dj;
    if (where == kAtZero && std::fabs(dj) > w_.dualTol) return std::fabs(dj);
    return 0.0;
  }
  int price();
  void traceDualFeasibleScan() const;
  void relist(int j) { cands_.set(j, attraction(j) > 0.0); }
  // Harris ratio test on the column in w_.col for entering q moving in
  // direction dir; sets target_ to the bound the leaving variable reaches.
  int ratioTest(int q, double dir, bool phase1, double* theta);
  bool blockingBound(int j, double rate, bool phase1, double* bound) const;
  void resetDevex();
  // The pricing switch of the progress checks; devex starts on a fresh
  // framework.
  void switchPricing() {
    const int before = w_.primalPricingMode;
    w_.primalPricingSwitch();
    if (before != w_.primalPricingMode && w_.primalPricingMode == SimplexWork::Impl::kPricingDevex) resetDevex();
  }
  // Exact weight of entering q (column in w_.col) over the reference
  // framework, which replaces the stored estimate in the update; counts a
  // bad stored weight.
  double entryWeight(int q);
  // Phase 2: reduced costs (or the kept duals) and devex weights for the
  // pivot of entering q at position r.
  void updateDuals(int q, int r, int leaving, double pivot);
  // Devex weights along the pivot row in w_.prow (and the framework's
  // reset when too many weights were bad).
  void updateDevex(int q, int leaving, double pivot);
  void updatePhase1(int q, int r, int leaving, double pivot);
  // A phase-1 column without a blocking row is skipped for a while.
  void rejectPhase1Column(int q);
  // The ray of an unbounded column (in w_.col), on the true bounds.
  void makeRay(int q, double dir);
  // The ratio test of an unbounded-range column that no row limits
  // (traced): kRejectColumn, or -1 for a ray (II) or a phase-1 column that
  // cannot reduce the infeasibility (I, skipped for a while).
  int noBlockingRow(int q, bool phase1, double colMax, double tinyA, double tinyRatio);
  void traceCandy(int q, bool phase1, double coef, double ratio);
  // Among the candidate rows of the second pass (ties within the first
  // pass's bound), a random one while the pivots stall; -1 otherwise.
  int stallingChoice(double thetaMax, double bestA, double dir, bool phase1, double* ratio);
  // Counts a step of entering column q of length theta (runs of degenerate
  // steps and the entries of each column during them).
  void noteStep(int q, double theta);
  // The column to enter instead of q when q is cycling (q otherwise).
  int breakCycle(int q);
  // Pricing found nothing while columns are rejected: traced, and the
  // rejected columns are released for another full pricing; false when
  // none were rejected.
  bool releaseAfterNoPivot(bool phase1);

  SimplexWork::Impl& w_;
  std::vector<double> rejectedUntil_;
  std::vector<char> inRef_;  // variable is in the devex reference framework
  int badWeights_ = 0;
  CandidateList cands_;  // dual-infeasible nonbasic columns
  // Every basic variable is known to be within its bounds (up to the
  // tolerance): set by a full check, kept while each step checks the rows it
  // changes, cleared when the values are recomputed by a refactorisation.
  bool feasible_ = false;
  int infeasibleHint_ = 0;  // row where the last check found an infeasibility
  double target_ = 0.0;
  bool phase1_ = false;
  int releases_ = 0;  // releases of the rejected columns since the last pivot
  // Anti-stalling state: the current run of degenerate pivots, the entries
  // of each column during it, and the remedies applied in this run.
  int degenerateRun_ = 0;
  std::vector<int> entries_;
  std::vector<int> entered_;  // columns with entries_ > 0
  unsigned randomTries_ = 0;
  unsigned rejectCyc_ = 0;
  int infRejects_ = 0;        // rejections in phase 1 since the last release
  int lastQ_ = -1, lastR_ = -1;
  int shiftRounds_ = 0;  // removals of the bound shifts before an end
  // Phase-1 duals kept up to date between factorisations: the basic costs
  // they were computed from, their cost weight and pricing mode, and the
  // pivot taken since (p1R_ < 0: none).
  std::vector<double> p1Cost_;
  bool p1Valid_ = false, p1Lazy_ = false;
  double p1Weight_ = 0.0;
  int p1R_ = -1, p1Q_ = -1, p1Leaving_ = -1;
  std::vector<int> ties_;     // candidate rows of a random choice
  // Rows of the ratio test's first pass (pivot at least the tolerance)
  // whose exact ratio was within the bound of the step so far: position,
  // the bound met and the ratio; the second pass reads only these.
  struct Blocking {
    int k;
    double bound, ratio;
  };
  std::vector<Blocking> blocking_;
};

bool PrimalLoop::infeasibleBasics() {
  if (feasible_) return false;
  // The scan starts at the row found infeasible last time: in phase 1 it
  // mostly still is, so the answer costs one test instead of a pass over
  // the feasible rows before it.
  const int m = w_.m;
  if (infeasibleHint_ >= m) infeasibleHint_ = 0;
  for (int t = 0; t < m; ++t) {
    const int i = t < m - infeasibleHint_ ? infeasibleHint_ + t : t - (m - infeasibleHint_);
    if (w_.primalInfeasOf(i) > w_.primalTol) {
      infeasibleHint_ = i;
      return true;
    }
  }
  feasible_ = true;
  return false;
}

void PrimalLoop::stepTouched() {
  if (!feasible_) return;
  for (int t = 0; t < w_.col.count && feasible_; ++t)
    if (w_.primalInfeasOf(w_.col.index[t]) > w_.primalTol) feasible_ = false;
}

// Reduced costs of the composite phase-1 objective (primal_phase1.cpp).
bool PrimalLoop::phase1Duals() {
  w_.announceBigM();
  const double w = w_.phase1CostWeight();
  const bool lazy = w_.primalPricingMode == SimplexWork::Impl::kPricingPartial;
  bool unchanged = false;
  if (p1Valid_ && w == p1Weight_ && lazy == p1Lazy_) {
    unchanged = w_.updatePhase1Duals(p1Cost_, p1R_, p1Q_, p1Leaving_, w, lazy);
  } else {
    w_.phase1Duals(w, lazy);
    p1Cost_.resize(w_.m);
    for (int k = 0; k < w_.m; ++k) p1Cost_[k] = w_.phase1CostAt(k, w);
    p1Valid_ = true;
    p1Weight_ = w;
    p1Lazy_ = lazy;
  }
  p1R_ = -1;
  return unchanged;
}

// Pricing: partial pricing over column segments in partial mode; otherwise
// devex over all columns when the candidate list is out of date (rebuilding
// it), else over the listed candidates only.
int PrimalLoop::price() {
  if (w_.primalPricingMode == SimplexWork::Impl::kPricingPartial) return w_.pricePartial(rejectedUntil_);
  int best = -1;
  double bestScore = 0.0;
  const auto consider = [&](int j, double v) {
    if (v == 0.0 || rejectedUntil_[j] > w_.iterations || w_.bl.isRejected(j)) return;
    const double score = v * v / w_.devex[j];
    if (betterCandidate(score, j, bestScore, best)) {
      bestScore = score;
      best = j;
    }
  };
  const bool full = !cands_.valid;
  if (full) ++w_.stats.fullPrices;
  if (!cands_.valid && !cands_.rebuild) {
    for (int j = 0; j < w_.nt; ++j) consider(j, attraction(j));
  } else if (!cands_.valid) {
    cands_.clear();
    for (int j = 0; j < w_.nt; ++j) {
      const double v = attraction(j);
      if (v > 0.0) cands_.add(j);
      consider(j, v);
    }
    cands_.valid = true;
  } else {
    for (const int j : cands_.items()) consider(j, attraction(j));
  }
  if (best < 0 && w_.tracing())
    w_.traceLine(" devex candid list empty, fiter=%d, scanned-full=%d. pivj:%d", w_.updates, full ? 1 : 0, lastQ_);
  return best;
}

// Phase 1 ends without a candidate: every reduced cost of the infeasibility
// objective is within ceps, though basic variables are still out of bounds.
void PrimalLoop::traceDualFeasibleScan() const {
  double dinfMax = 0.0;
  for (int j = 0; j < w_.nt; ++j) {
    if (w_.pos[j] >= 0 || w_.lower[j] == w_.upper[j]) continue;
    const double dj = w_.lazyReducedCosts ? w_.reducedCostFromDuals(j) : w_.d[j];
    const signed char where = w_.at[j];
    const double v = where == kAtLower ? -dj : (where == kAtUpper ? dj : std::fabs(dj));
    dinfMax = std::max(dinfMax, v);
  }
  int npinf = 0;
  w_.sumPrimalInfeas(&npinf, nullptr);
  w_.traceLine(" WARNING: fullscan indicates dual feasibility at ceps=%e, dinfmax=%e, **npinf=%d", w_.dualTol, dinfMax,
               npinf);
}

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
  cands_.valid = false;
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

// The framework becomes the nonbasic variables of the current basis, all
// with weight 1.
void PrimalLoop::resetDevex() {
  std::fill(w_.devex.begin(), w_.devex.end(), 1.0);
  inRef_.resize(w_.nt);
  for (int j = 0; j < w_.nt; ++j) inRef_[j] = w_.pos[j] < 0 ? 1 : 0;
  badWeights_ = 0;
}

double PrimalLoop::entryWeight(int q) {
  double exact = inRef_[q] ? 1.0 : 0.0;
  for (int t = 0; t < w_.col.count; ++t) {
    const int k = w_.col.index[t];
    if (inRef_[w_.basicVar[k]]) exact += w_.col.array[k] * w_.col.array[k];
  }
  // A weight below 1 would favour a column beyond its attraction; the
  // leaving variable's weight has the same floor.
  exact = std::max(exact, 1.0);
  if (w_.devex[q] > kBadWeightFactor * exact) ++badWeights_;
  return exact;
}

void PrimalLoop::rejectPhase1Column(int q) {
  rejectedUntil_[q] = w_.iterations + kRejectIterations;
  if (!w_.tracing()) return;
  int npinf = 0;
  w_.sumPrimalInfeas(&npinf, nullptr);
  w_.traceLine("getpj loop rejecting pivj=%d, pivi=%d, pivcn=%e, pivcl=%d, cbas[pivj]=%d, npinf=%d(%c), ndinf=%d, "
               "numsp=%d, psize=%d",
               q, -1, w_.d[q], w_.col.count, -1 - w_.at[q], npinf, 'I', 0, 0, w_.partialSegment);
}

void PrimalLoop::makeRay(int q, double dir) {
  // Unbounded ray: x_q moves by dir, the basic variables by -dir x col.
  w_.ray.assign(w_.nt, 0.0);
  w_.ray[q] = dir;
  for (int t = 0; t < w_.col.count; ++t) {
    const int k = w_.col.index[t];
    w_.ray[w_.basicVar[k]] = -dir * w_.col.array[k];
  }
  if (w_.pert.active || w_.hasShifts()) {
    w_.dropPerturbation();
    w_.computePrimal();
  }
}

// Phase 2, before the basis change of entering q at position r: the
// reduced costs, and the devex weights when devex prices.
void PrimalLoop::updateDuals(int q, int r, int leaving, double pivot) {
  w_.rho.clear();
  w_.rho.add(r, 1.0);
  w_.lu->btran(w_.rho);
  if (w_.rho.count < 0) w_.rho.rebuildIndex();
  const double thetaD = w_.d[q] / pivot;
  w_.d[q] = 0.0;
  w_.d[leaving] = -thetaD;
  if (w_.primalPricingMode == SimplexWork::Impl::kPricingPartial) {
    // Partial pricing reads one segment per iteration: the duals move
    // along row r of the inverse instead of every reduced cost along the
    // pivot row, and the segment prices its columns from them.
    for (int t = 0; t < w_.rho.count; ++t) {
      const int i = w_.rho.index[t];
      w_.priceY[i] += thetaD * w_.rho.array[i];
    }
    w_.lazyReducedCosts = true;
    return;
  }
  // Pivot row for the update of reduced costs and devex weights.
  w_.computePivotRow(w_.rho);
  for (int k = 0; k < w_.prowCount; ++k) {
    const int j = w_.prowIndex[k];
    w_.d[j] -= thetaD * w_.prow[j];
  }
  w_.d[q] = 0.0;
  w_.d[leaving] = -thetaD;
  updateDevex(q, leaving, pivot);
}

void PrimalLoop::updateDevex(int q, int leaving, double pivot) {
  const double wq = entryWeight(q);
  bool reset = badWeights_ > kAllowedBadWeights;
  for (int k = 0; k < w_.prowCount; ++k) {
    const int j = w_.prowIndex[k];
    const double ratio = w_.prow[j] / pivot;
    const double wv = std::max(w_.devex[j], ratio * ratio * wq);
    w_.devex[j] = wv;
    if (wv > kDevexOverflow) reset = true;
  }
  w_.devex[leaving] = std::max(wq / (pivot * pivot), 1.0);
  if (reset) {
    resetDevex();  // on the basis after this pivot
    inRef_[q] = 0;
    inRef_[leaving] = 1;
  }
}

// Phase 1, before the basis change of entering q at position r: under
// devex the weights follow the pivot row as in phase 2, and the row also
// carries the pivot's share of the phase-1 dual update (updatePhase1Duals):
// with theta = d_q / pivot and rho row r of the old inverse, y + theta rho
// satisfies the new basis with cost w c_q at position r, and d_j falls by
// theta alpha_rj. What remains for the next iteration is only the change of
// the basic infeasibilities, none after a degenerate step. Records the pivot
// for updatePhase1Duals when it is not carried here.
void PrimalLoop::updatePhase1(int q, int r, int leaving, double pivot) {
  if (w_.primalPricingMode != SimplexWork::Impl::kPricingDevex) {
    p1R_ = r;
    p1Q_ = q;
    p1Leaving_ = leaving;
    return;
  }
  w_.rho.clear();
  w_.rho.add(r, 1.0);
  w_.lu->btran(w_.rho);
  if (w_.rho.count < 0) w_.rho.rebuildIndex();
  w_.computePivotRow(w_.rho);
  if (p1Valid_ && !p1Lazy_ && !w_.lazyReducedCosts) {
    const double thetaD = w_.d[q] / pivot;
    for (int t = 0; t < w_.rho.count; ++t) {
      const int i = w_.rho.index[t];
      w_.priceY[i] += thetaD * w_.rho.array[i];
    }
    for (int k = 0; k < w_.prowCount; ++k) {
      const int j = w_.prowIndex[k];
      w_.d[j] -= thetaD * w_.prow[j];
    }
    w_.d[q] = 0.0;
    w_.d[leaving] = w_.reducedCostFromDuals(leaving);
    p1Cost_[r] = p1Weight_ * w_.cost[q];
    p1R_ = -1;
  } else {
    p1R_ = r;
    p1Q_ = q;
    p1Leaving_ = leaving;
  }
  updateDevex(q, leaving, pivot);
}

int PrimalLoop::run() {
  if (w_.devex.size() != static_cast<std::size_t>(w_.nt)) w_.devex.assign(w_.nt, 1.0);
  resetDevex();
  bool dualsValid = false;
  bool freshRetry = false;
  for (;;) {
    if (w_.refactorDue()) {
      const int rc = w_.refactor(false);
      if (rc != kLayerOk) {
        w_.error = layerError(rc);
        return kNotFinished;
      }
      dualsValid = false;
      feasible_ = false;
      p1Valid_ = false;
      const int pc = w_.progressCheck();
      switchPricing();
      if (pc == kProgressSwitch) return kRecover;
      if (pc == kProgressNumerical) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
    }
    const int lim = w_.checkLimits();
    if (lim != kNotFinished) {
      // A limit leaves the point on the true bounds.
      if (w_.hasShifts()) {
        w_.dropPerturbation();
        w_.computePrimal();
      }
      return lim;
    }
    const bool phase1 = infeasibleBasics();
    if (phase1) {
      // The candidate list survives only steps that changed no basic
      // infeasibility after a pivot carried on its pivot row.
      if (!phase1Duals()) cands_.invalidate();
      dualsValid = false;
    } else {
      p1Valid_ = false;
      if (!dualsValid || phase1_) {
        w_.computeDual();
        dualsValid = true;
        cands_.valid = false;
      }
    }
    phase1_ = phase1;
    w_.scaleCepsForPricing();
    int q = price();
    if (q < 0 && releaseAfterNoPivot(phase1)) continue;  // retry with the rejected columns
    if (q < 0) {
      if (w_.updates > 0 && !freshRetry) {
        w_.requestRefactor(kRefactorRegular, __FILE_NAME__, __LINE__);
        freshRetry = true;
        continue;
      }
      if (w_.pert.active || w_.hasShifts()) {
        // Finish on the true bounds (the primal removes what that leaves).
        ++shiftRounds_;
        w_.removeShifts(__FILE_NAME__, __LINE__);
        continue;
      }
      p1Valid_ = false;
      if (phase1 && w_.tracing()) traceDualFeasibleScan();
      if (phase1 && w_.compositeOptimumNeedsBigM()) continue;
      if (phase1) return kInfeasible;
      w_.farkas.clear();
      return kOptimal;
    }
    freshRetry = false;
    q = breakCycle(q);
    const double dir = (w_.at[q] == kAtUpper || (w_.at[q] == kAtZero && w_.d[q] > 0.0)) ? -1.0 : 1.0;
    w_.loadColumn(q, w_.col);
    w_.lu->ftran(w_.col);
    if (w_.col.count < 0) w_.col.rebuildIndex();
    double theta = 0.0;
    const int r = ratioTest(q, dir, phase1, &theta);
    if (r == kRejectColumn) {
      w_.bl.reject(q);
      if (phase1) ++infRejects_;
      continue;
    }
    if (r < 0 && theta == kInf) {
      if (phase1) {
        rejectPhase1Column(q);
        continue;
      }
      if (w_.tracing())
        w_.traceLine(" pchuzc will try pivj=%d rdc=%g, cbas=%d as xray, ceps=%g", q, w_.d[q], -1 - w_.at[q],
                     w_.dualTol);
      makeRay(q, dir);
      return kUnbounded;
    }
    if (theta < w_.primalTol) ++w_.degenerate;
    noteStep(q, theta);
    lastQ_ = q;
    lastR_ = r;
    w_.lastStep = theta;
    for (int t = 0; t < w_.col.count; ++t) {
      const int k = w_.col.index[t];
      w_.x[w_.basicVar[k]] -= dir * theta * w_.col.array[k];
    }
    w_.iterations += 1.0;
    w_.totalIterations += 1.0;
    if (r < 0) {
      // Bound flip of the entering variable; the basis does not change.
      if (w_.tracing())
        w_.traceLine("Switch bound clb=%e cub=%e cbas=%d mrat=%g, fiter=%u", w_.lower[q], w_.upper[q], -1 - w_.at[q],
                     theta, static_cast<unsigned>(w_.updates));
      w_.placeAt(q, dir > 0.0 ? kAtUpper : kAtLower);
      if (cands_.valid) relist(q);
      stepTouched();
      continue;
    }
    const int leaving = w_.basicVar[r];
    const double pivot = w_.col.array[r];
    if (!phase1)
      updateDuals(q, r, leaving, pivot);
    else
      updatePhase1(q, r, leaving, pivot);
    w_.x[q] += dir * theta;
    w_.x[leaving] = shiftRounds_ < kShiftRounds ? w_.leavingBound(leaving, target_) : target_;
    w_.at[leaving] = w_.x[leaving] == w_.lower[leaving] ? kAtLower : kAtUpper;
    releases_ = 0;
    w_.poolPivot(q, r);
    const int rc = w_.basisChange(r, q, !phase1, pivot);
    if (rc != kLayerOk) {
      w_.error = layerError(rc);
      return kNotFinished;
    }
    if (w_.updates == 0) {
      p1Valid_ = false;
      dualsValid = !phase1;
      cands_.valid = false;  // the refactorisation recomputed the duals
      feasible_ = false;     // and the primal values
      const int pc = w_.progressCheck();
      switchPricing();
      if (pc == kProgressSwitch) return kRecover;
      if (pc == kProgressNumerical) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
    } else if ((!phase1 || p1R_ < 0) && !w_.lazyReducedCosts && cands_.worthUpdating(w_.prowCount, w_.nt)) {
      if (cands_.valid) {
        for (int k = 0; k < w_.prowCount; ++k) relist(w_.prowIndex[k]);
        relist(q);
        relist(leaving);
      }
      cands_.rebuild = true;
    } else {
      cands_.invalidate();
    }
    if (w_.updates > 0) stepTouched();
  }
}

}  // namespace

int SimplexWork::Impl::runPrimalMethod() {
  methodChar = 'P';
  const char* verb = startVerb();
  if (tracing())
    log("\n%s primal simplex. (LP=%d, m=%d, n=%d, nonz=%d, nint=%d, xstat=%d, time:%d, tlim:%g, shifts=%d, "
        "nfixbas:%d, pertmode:%d)",
        verb, 0, m, n, lp.nnz(), 0, outcome, elapsedSeconds(), ctx ? ctx->timeLimit : -1.0, 0, 0, opt.pertMode);
  cost = lp.cost;
  costShifted = false;
  dropPerturbation();
  prog.resetForRun();
  setupPrimalPricing();
  warmHeading = false;
  refactorRequest = kRefactorInitial;
  const int rc = refactor(true);
  if (rc != kLayerOk) {
    error = layerError(rc);
    return kNotFinished;
  }
  if (freshStart && methodRuns == 1) perturbBoundsAtStart();
  freshStart = false;
  logIteration(true);
  PrimalLoop loop(*this);
  const int result = loop.run();
  refreshReducedCosts();
  return verifyPrimalSignal(result);
}

}  // namespace torva::simplex
