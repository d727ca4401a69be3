// Primal simplex: phase 1 minimising the sum of infeasibilities, phase 2 with
// devex pricing (Forrest and Goldfarb 1992, reference framework of Harris
// 1973) and the two-pass ratio test of Harris with bound flips of the
// entering variable.
#include <algorithm>
#include <cmath>
#include <limits>

#include "simplex/candidate_list.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Devex weights are reset when one grows beyond this (the reference
// framework has drifted too far from the current basis).
constexpr double kDevexReset = 1e6;

// Ratio test result: the entering column is refused (its pivot is tiny
// against the column's largest candidate).
constexpr int kRejectColumn = -2;

// Columns whose ratio test fails are skipped for this many iterations.
constexpr int kRejectIterations = 50;

class PrimalLoop {
 public:
  explicit PrimalLoop(SimplexWork::Impl& w) : w_(w), rejectedUntil_(w.nt, -1.0) { cands_.reset(w.nt); }
  int run();

 private:
  bool infeasibleBasics();
  // After a step that changed the basic values of the rows listed in w_.col.
  void stepTouched();
  void phase1Duals();
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
  void relist(int j) { cands_.set(j, attraction(j) > 0.0); }
  // Harris ratio test on the column in w_.col for entering q moving in
  // direction dir; sets target_ to the bound the leaving variable reaches.
  int ratioTest(int q, double dir, bool phase1, double* theta);
  bool blockingBound(int j, double rate, bool phase1, double* bound) const;
  void resetDevex();
  // A phase-1 column without a blocking row is skipped for a while.
  void rejectPhase1Column(int q);
  // The ray of an unbounded column (in w_.col), on the true bounds.
  void makeRay(int q, double dir);

  SimplexWork::Impl& w_;
  std::vector<double> rejectedUntil_;
  CandidateList cands_;  // dual-infeasible nonbasic columns
  // Every basic variable is known to be within its bounds (up to the
  // tolerance): set by a full check, kept while each step checks the rows it
  // changes, cleared when the values are recomputed by a refactorisation.
  bool feasible_ = false;
  double target_ = 0.0;
  bool phase1_ = false;
  int releases_ = 0;  // releases of the rejected columns since the last pivot
};

bool PrimalLoop::infeasibleBasics() {
  if (feasible_) return false;
  for (int i = 0; i < w_.m; ++i)
    if (w_.primalInfeasOf(i) > w_.primalTol) return true;
  feasible_ = true;
  return false;
}

void PrimalLoop::stepTouched() {
  if (!feasible_) return;
  for (int t = 0; t < w_.col.count && feasible_; ++t)
    if (w_.primalInfeasOf(w_.col.index[t]) > w_.primalTol) feasible_ = false;
}

// Reduced costs of the composite phase-1 objective (primal_phase1.cpp).
void PrimalLoop::phase1Duals() {
  w_.announceBigM();
  w_.phase1Duals(w_.phase1CostWeight());
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
  return best;
}

int PrimalLoop::ratioTest(int q, double dir, bool phase1, double* theta) {
  const LuVector& col = w_.col;
  const double tol = w_.primalTol;
  // Pass 1: the largest step with every basic variable within its bounds
  // relaxed by the tolerance.
  double thetaMax = kInf;
  for (int t = 0; t < col.count; ++t) {
    const int k = col.index[t];
    const double a = col.array[k];
    if (std::fabs(a) < w_.pivTol) continue;
    const int j = w_.basicVar[k];
    const double rate = -dir * a;
    double bound;
    if (blockingBound(j, rate, phase1, &bound))
      thetaMax = std::min(thetaMax, (bound - w_.x[j] + std::copysign(tol, rate)) / rate);
  }
  const double range = w_.upper[q] - w_.lower[q];
  if (thetaMax == kInf) {
    *theta = range;
    return -1;
  }
  // Pass 2: among the rows whose exact ratio is within thetaMax, the largest
  // pivot.
  int best = -1;
  double bestA = 0.0, bestRatio = 0.0, maxA = 0.0;
  for (int t = 0; t < col.count; ++t) {
    const int k = col.index[t];
    const double a = col.array[k];
    if (std::fabs(a) < w_.pivTol) continue;
    const int j = w_.basicVar[k];
    const double rate = -dir * a;
    double bound;
    if (!blockingBound(j, rate, phase1, &bound)) continue;
    maxA = std::max(maxA, std::fabs(a));
    const double ratio = std::max(0.0, (bound - w_.x[j]) / rate);
    if (ratio <= thetaMax && std::fabs(a) > bestA) {
      bestA = std::fabs(a);
      best = k;
      bestRatio = ratio;
      target_ = bound;
    }
  }
  if (range <= bestRatio) {
    *theta = range;  // the entering variable reaches its other bound first
    return -1;
  }
  if (best >= 0 && releases_ <= 1 && bestA < maxA * relativePivotFloor(w_.bl.ratRange)) {
    if (w_.tracing())
      w_.traceLine(" WARNING: pchuzr-%s failed for pivj=%d, but a candy with pivcoe2=%e exists, pvteps=%e%s", phase1 ? "I" : "II", q,
                   maxA, w_.pivTol, "");
    return kRejectColumn;
  }
  *theta = bestRatio;
  return best;
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

void PrimalLoop::resetDevex() { std::fill(w_.devex.begin(), w_.devex.end(), 1.0); }

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
  if (w_.pert.active) {
    w_.dropPerturbation();
    w_.computePrimal();
  }
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
      const int pc = w_.progressCheck();
      w_.primalPricingSwitch();
      if (pc == kProgressSwitch) return kRecover;
      if (pc == kProgressNumerical) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
    }
    const int lim = w_.checkLimits();
    if (lim != kNotFinished) return lim;
    const bool phase1 = infeasibleBasics();
    if (phase1) {
      phase1Duals();
      dualsValid = false;
      cands_.invalidate();  // new every iteration: scan without the list
    } else if (!dualsValid || phase1_) {
      w_.computeDual();
      dualsValid = true;
      cands_.valid = false;
    }
    phase1_ = phase1;
    w_.scaleCepsForPricing();
    const int q = price();
    if (q < 0) {
      const int released = w_.bl.releaseRejected();
      if (released > 0) {  // retry with the rejected columns
        if (++releases_ > 1 && w_.tracing())
          w_.traceLine(" unrejected col %d, total: %d, %s(%d)", -1, released, __FILE_NAME__, __LINE__);
        continue;
      }
    }
    if (q < 0) {
      if (w_.updates > 0 && !freshRetry) {
        w_.requestRefactor(kRefactorRegular, __FILE_NAME__, __LINE__);
        freshRetry = true;
        continue;
      }
      if (w_.pert.active) {
        // Finish on the true bounds.
        w_.removePerturbation(__FILE_NAME__, __LINE__);
        continue;
      }
      if (phase1 && w_.compositeOptimumNeedsBigM()) continue;
      if (phase1) return kInfeasible;
      w_.farkas.clear();
      return kOptimal;
    }
    freshRetry = false;
    const double dir = (w_.at[q] == kAtUpper || (w_.at[q] == kAtZero && w_.d[q] > 0.0)) ? -1.0 : 1.0;
    w_.loadColumn(q, w_.col);
    w_.lu->ftran(w_.col);
    if (w_.col.count < 0) w_.col.rebuildIndex();
    double theta = 0.0;
    const int r = ratioTest(q, dir, phase1, &theta);
    if (r == kRejectColumn) {
      w_.bl.reject(q);
      continue;
    }
    if (r < 0 && theta == kInf) {
      if (phase1) {
        rejectPhase1Column(q);
        continue;
      }
      makeRay(q, dir);
      return kUnbounded;
    }
    if (theta < w_.primalTol) ++w_.degenerate;
    w_.lastStep = theta;
    for (int t = 0; t < w_.col.count; ++t) {
      const int k = w_.col.index[t];
      w_.x[w_.basicVar[k]] -= dir * theta * w_.col.array[k];
    }
    w_.iterations += 1.0;
    w_.totalIterations += 1.0;
    if (r < 0) {
      // Bound flip of the entering variable; the basis does not change.
      w_.placeAt(q, dir > 0.0 ? kAtUpper : kAtLower);
      if (cands_.valid) relist(q);
      stepTouched();
      continue;
    }
    const int leaving = w_.basicVar[r];
    const double pivot = w_.col.array[r];
    // Pivot row for the update of reduced costs and devex weights.
    if (!phase1) {
      w_.rho.clear();
      w_.rho.add(r, 1.0);
      w_.lu->btran(w_.rho);
      if (w_.rho.count < 0) w_.rho.rebuildIndex();
      w_.computePivotRow(w_.rho);
      const double thetaD = w_.d[q] / pivot;
      const double wq = w_.devex[q];
      bool reset = false;
      for (int k = 0; k < w_.prowCount; ++k) {
        const int j = w_.prowIndex[k];
        const double a = w_.prow[j];
        w_.d[j] -= thetaD * a;
        const double ratio = a / pivot;
        const double wv = std::max(w_.devex[j], ratio * ratio * wq);
        w_.devex[j] = wv;
        if (wv > kDevexReset) reset = true;
      }
      w_.d[q] = 0.0;
      w_.d[leaving] = -thetaD;
      w_.devex[leaving] = std::max(wq / (pivot * pivot), 1.0);
      if (reset) resetDevex();
    }
    w_.x[q] += dir * theta;
    w_.x[leaving] = target_;
    w_.at[leaving] = target_ == w_.lower[leaving] ? kAtLower : kAtUpper;
    releases_ = 0;
    const int rc = w_.basisChange(r, q, !phase1, pivot);
    if (rc != kLayerOk) {
      w_.error = layerError(rc);
      return kNotFinished;
    }
    if (w_.updates == 0) {
      dualsValid = !phase1;
      cands_.valid = false;  // the refactorisation recomputed the duals
      feasible_ = false;     // and the primal values
      const int pc = w_.progressCheck();
      w_.primalPricingSwitch();
      if (pc == kProgressSwitch) return kRecover;
      if (pc == kProgressNumerical) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
    } else if (!phase1 && cands_.worthUpdating(w_.prowCount, w_.nt)) {
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

int SimplexWork::Impl::runPrimal() {
  methodChar = 'P';
  if (tracing())
    log("\n%s primal simplex. (LP=%d, m=%d, n=%d, nonz=%d, nint=%d, xstat=%d, time:%d, tlim:%g, shifts=%d, "
        "nfixbas:%d, pertmode:%d)",
        "Entering", 0, m, n, lp.nnz(), 0, outcome, 0, ctx ? ctx->timeLimit : -1.0, 0, 0, opt.pertMode);
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
  logIteration(true);
  PrimalLoop loop(*this);
  return verifyPrimalSignal(loop.run());
}

}  // namespace torva::simplex
