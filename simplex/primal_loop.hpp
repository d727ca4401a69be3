// The loop of the primal simplex, shared by the files that implement it
// (primal.cpp: pricing, updates and the main loop; primal_ratio.cpp: the
// ratio test and the remedies against stalling).
#pragma once

#include <cmath>
#include <limits>
#include <vector>

#include "simplex/candidate_list.hpp"
#include "simplex/devex_shortlist.hpp"
#include "simplex/work.hpp"

namespace torva::simplex::primal_impl {

inline constexpr double kInf = std::numeric_limits<double>::infinity();

// Ratio test result: the entering column is refused (its pivot is tiny
// against the column's largest candidate).
inline constexpr int kRejectColumn = -2;

class PrimalLoop {
 public:
  explicit PrimalLoop(SimplexWork::Impl& w) : w_(w), rejectedUntil_(w.nt, -1.0), entries_(w.nt, 0) {
    cands_.reset(w.nt);
    shortlist_.reset(w.nt);
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
  // Devex score of column j (0 when it is no candidate).
  double devexScore(int j) const {
    const double v = attraction(j);
    return v > 0.0 ? v * v / w_.devex[j] : 0.0;
  }
  int price();
  void traceDualFeasibleScan() const;
  void relist(int j) { cands_.set(j, attraction(j) > 0.0); }
  // The reduced costs were recomputed: both the candidate list and the
  // shortlist wait for the next complete scan (the list is rebuilt by it).
  void pricesRecomputed() {
    cands_.valid = false;
    shortlist_.invalidate();
  }
  // The reduced costs changed in too many places to follow: both are
  // dropped (the list is rebuilt only once iterations touch few entries).
  void dropCandidates() {
    cands_.invalidate();
    shortlist_.invalidate();
  }
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
  // reset when too many weights were bad); the reduced costs along it fall
  // by thetaD times the row in the same pass (0: unchanged).
  void updateDevex(int q, int leaving, double pivot, double thetaD);
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
  DevexShortlist shortlist_;
  std::vector<std::pair<double, int>> scored_;  // scores of a complete devex scan
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
  // Basic positions whose value or variable changed since the phase-1
  // duals were last brought up to date (repeats allowed).
  std::vector<int> p1Touched_;
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

}  // namespace torva::simplex::primal_impl
