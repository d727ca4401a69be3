// Primal simplex: phase 1 minimising the sum of infeasibilities, then phase
// 2; both priced partially at first, then by devex (Forrest and Goldfarb
// 1992, reference framework of Harris 1973), and both with the two-pass
// ratio test of Harris with bound flips of the entering variable.
#include <algorithm>
#include <cmath>
#include <limits>

#include "simplex/primal_loop.hpp"

namespace torva::simplex {
namespace primal_impl {
namespace {

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

// The shortlist's quick test on the pivot row compares d_j^2 with the
// threshold times w_j, the threshold lowered by this factor: far more than
// the few units of rounding in which the product and the quotient differ.
constexpr double kOfferMargin = 1.0 - 1e-12;

// Columns whose ratio test fails are skipped for this many iterations.
constexpr int kRejectIterations = 50;

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

}  // namespace

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
    if (p1R_ >= 0) p1Touched_.push_back(p1R_);
    unchanged = w_.updatePhase1Duals(p1Cost_, p1Touched_, p1R_, p1Q_, p1Leaving_, w, lazy);
  } else {
    w_.phase1Duals(w, lazy);
    p1Cost_.resize(w_.m);
    for (int k = 0; k < w_.m; ++k) p1Cost_[k] = w_.phase1CostAt(k, w);
    p1Valid_ = true;
    p1Weight_ = w;
    p1Lazy_ = lazy;
  }
  p1Touched_.clear();
  p1R_ = -1;
  return unchanged;
}

// Pricing: partial pricing over column segments in partial mode; otherwise
// devex over the shortlist when one of its members scores above its
// threshold, else over all columns when the candidate list is out of date
// (rebuilding it), else over the listed candidates only; the complete scan
// rebuilds the shortlist.
int PrimalLoop::price() {
  if (w_.primalPricingMode == SimplexWork::Impl::kPricingPartial) return w_.pricePartial(rejectedUntil_);
  int best = -1;
  double bestScore = 0.0;
  const auto consider = [&](int j, double score) {
    if (rejectedUntil_[j] > w_.iterations || w_.bl.isRejected(j)) return;
    if (betterCandidate(score, j, bestScore, best)) {
      bestScore = score;
      best = j;
    }
  };
  if (shortlist_.valid(w_.dualTol)) {
    const std::vector<int>& items = shortlist_.items();
    const double threshold = shortlist_.threshold();
    for (std::size_t t = items.size(); t-- > 0;) {
      const int j = items[t];
      const double score = devexScore(j);
      if (score > threshold)
        consider(j, score);
      else
        shortlist_.drop(t);
    }
    if (best >= 0) return best;
  }
  scored_.clear();
  const auto scan = [&](int j, double v) {
    if (v == 0.0) return;
    const double score = v * v / w_.devex[j];
    scored_.emplace_back(score, j);
    consider(j, score);
  };
  const bool full = !cands_.valid;
  if (full) ++w_.stats.fullPrices;
  if (!cands_.valid && !cands_.rebuild) {
    for (int j = 0; j < w_.nt; ++j) scan(j, attraction(j));
  } else if (!cands_.valid) {
    cands_.clear();
    for (int j = 0; j < w_.nt; ++j) {
      const double v = attraction(j);
      if (v > 0.0) cands_.add(j);
      scan(j, v);
    }
    cands_.valid = true;
  } else {
    for (const int j : cands_.items()) scan(j, attraction(j));
  }
  shortlist_.rebuild(scored_, w_.dualTol);
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

// The framework becomes the nonbasic variables of the current basis, all
// with weight 1.
void PrimalLoop::resetDevex() {
  std::fill(w_.devex.begin(), w_.devex.end(), 1.0);
  shortlist_.invalidate();
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
  w_.restoreTrueBounds();
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
  updateDevex(q, leaving, pivot, thetaD);
  w_.d[q] = 0.0;
  w_.d[leaving] = -thetaD;
}

void PrimalLoop::updateDevex(int q, int leaving, double pivot, double thetaD) {
  const double wq = entryWeight(q);
  bool reset = badWeights_ > kAllowedBadWeights;
  // One pass over the pivot row: reduced cost, weight, and the offer to
  // the shortlist of the new score. A score is d_j^2 / w_j or 0, so the
  // columns with d_j^2 at most the threshold times w_j are skipped at once
  // (a product, not a quotient, on this hot path: the factor below 1 keeps
  // rounding from skipping a column whose quotient is just above).
  const bool offering = shortlist_.active();
  const double threshold = kOfferMargin * shortlist_.threshold();
  for (int k = 0; k < w_.prowCount; ++k) {
    const int j = w_.prowIndex[k];
    const double alpha = w_.prow[j];
    const double dj = w_.d[j] - thetaD * alpha;
    w_.d[j] = dj;
    const double ratio = alpha / pivot;
    const double wv = std::max(w_.devex[j], ratio * ratio * wq);
    w_.devex[j] = wv;
    if (wv > kDevexOverflow) reset = true;
    if (offering && dj * dj > threshold * wv) shortlist_.offer(j, devexScore(j));
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
    updateDevex(q, leaving, pivot, thetaD);
    w_.d[q] = 0.0;
    w_.d[leaving] = w_.reducedCostFromDuals(leaving);
    p1Cost_[r] = p1Weight_ * w_.cost[q];
    p1R_ = -1;
  } else {
    p1R_ = r;
    p1Q_ = q;
    p1Leaving_ = leaving;
    updateDevex(q, leaving, pivot, 0.0);
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
      w_.restoreTrueBounds();  // a limit leaves the point on the true bounds
      return lim;
    }
    const bool phase1 = infeasibleBasics();
    if (phase1) {
      // The candidate list survives only steps that changed no basic
      // infeasibility after a pivot carried on its pivot row.
      if (!phase1Duals()) dropCandidates();
      dualsValid = false;
    } else {
      p1Valid_ = false;
      if (!dualsValid || phase1_) {
        w_.computeDual();
        dualsValid = true;
        pricesRecomputed();
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
    w_.lu->ftran(w_.col, w_.opt.luUsePivcol != 0);
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
    if (phase1 && p1Valid_)
      p1Touched_.insert(p1Touched_.end(), w_.col.index.begin(), w_.col.index.begin() + w_.col.count);
    w_.iterations += 1.0;
    w_.totalIterations += 1.0;
    if (r < 0) {
      // Bound flip of the entering variable; the basis does not change.
      if (w_.tracing())
        w_.traceLine("Switch bound clb=%e cub=%e cbas=%d mrat=%g, fiter=%u", w_.lower[q], w_.upper[q], -1 - w_.at[q],
                     theta, static_cast<unsigned>(w_.updates));
      w_.placeAt(q, dir > 0.0 ? kAtUpper : kAtLower);
      if (cands_.valid) relist(q);
      shortlist_.offer(q, devexScore(q));
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
      pricesRecomputed();  // the refactorisation recomputed the duals
      feasible_ = false;   // and the primal values
      const int pc = w_.progressCheck();
      switchPricing();
      if (pc == kProgressSwitch) return kRecover;
      if (pc == kProgressNumerical) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
    } else if ((!phase1 || p1R_ < 0) && !w_.lazyReducedCosts) {
      // The pivot row's columns were offered to the shortlist in the devex
      // update; the leaving variable is nonbasic now.
      shortlist_.offer(leaving, devexScore(leaving));
      if (!cands_.worthUpdating(w_.prowCount, w_.nt)) {
        cands_.invalidate();
      } else {
        if (cands_.valid) {
          for (int k = 0; k < w_.prowCount; ++k) relist(w_.prowIndex[k]);
          relist(q);
          relist(leaving);
        }
        cands_.rebuild = true;
      }
    } else {
      dropCandidates();
    }
    if (w_.updates > 0) stepTouched();
  }
}

}  // namespace primal_impl

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
  primal_impl::PrimalLoop loop(*this);
  const int result = loop.run();
  refreshReducedCosts();
  return verifyPrimalSignal(result);
}

}  // namespace torva::simplex
