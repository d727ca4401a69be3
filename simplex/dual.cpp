// Dual simplex: dual steepest-edge pricing (Forrest and Goldfarb 1992), the
// bound-flipping ratio test with Harris tolerances (Koberstein 2005, ch. 3),
// dual phase 1 by the auxiliary problem or by artificial bounds, and cost
// perturbation against dual degeneracy.
#include <algorithm>
#include <cmath>
#include <limits>

#include "simplex/candidate_list.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Auxiliary problem of dual phase 1 (Koberstein 2005, sect. 4.4): every
// variable gets a box whose optimal basis is dual feasible for the true
// problem when the auxiliary optimum is zero; free variables get a wide box
// so that they are driven into the basis.
constexpr double kPhase1FreeBox = 1000.0;

// Cost perturbation (relative size and floor), drawn per column from
// [1, 2) x kPerturbBase x (1 + |c_j|): large enough to break dual ties,
// small against the optimality tolerance's effect on the objective.
constexpr double kPerturbBase = 5e-7;

// A pivot whose value from the row (BTRAN) and from the column (FTRAN)
// disagree by more than this relative amount means the factors have
// drifted: refactorise before pivoting.
constexpr double kPivotMismatch = 1e-7;

// Limits of a steepest-edge weight (keep the pricing ratio finite).
constexpr double kMinWeight = 1e-10;
constexpr double kMaxWeight = 1e100;

// Bound on the passes of the final clean-up (perturbation removal followed
// by further dual or primal iterations).
constexpr int kMaxCleanupPasses = 4;

struct Candidate {
  int j;
  double atilde;
};

}  // namespace

void SimplexWork::Impl::initDualWeights(bool reopt) {
  dseWeight.assign(m, 1.0);
  const int mode = opt.dualPricing;
  const bool steepest = mode == -1 || mode == 1 || mode == 2;
  if (!steepest) {
    dseValid = true;
    return;
  }
  if (reopt) {
    if (logging(1) || tracing()) log("\nSetting dual norms to unity for reopt...");
    dseValid = true;
    return;
  }
  bool slack = true;
  for (int k = 0; k < m && slack; ++k) slack = basicVar[k] >= n;
  if (!slack) {
    // Exact weights ||e_i' B^-1||^2 of the starting basis.
    for (int k = 0; k < m; ++k) {
      rho.clear();
      rho.add(k, 1.0);
      lu->btran(rho);
      if (rho.count < 0) rho.rebuildIndex();
      double s = 0.0;
      for (int t = 0; t < rho.count; ++t) s += rho.array[rho.index[t]] * rho.array[rho.index[t]];
      dseWeight[k] = std::max(s, kMinWeight);
    }
    rho.clear();
  }
  dseValid = true;
}

namespace {

// One run of dual iterations on the working bounds and costs until no basic
// variable is primal infeasible (kOptimal), the dual is unbounded
// (kInfeasible), a limit is hit, or the layer fails (error set).
class DualLoop {
 public:
  DualLoop(SimplexWork::Impl& w, bool phase1, double cutoff) : w_(w), phase1_(phase1), cutoff_(cutoff) {
    rows_.reset(w.m);
  }
  int run();

 private:
  int chooseRow();
  // The primal infeasibility of row i's basic variable, as primalInfeasOf
  // computes it, inlined: it runs once per row in every full CHUZR scan.
  [[gnu::always_inline]] double infeasOf(int i) const {
    const int j = w_.basicVar[i];
    const double xj = w_.x[j];
    if (xj < w_.lower[j]) return w_.lower[j] - xj;
    if (xj > w_.upper[j]) return xj - w_.upper[j];
    return 0.0;
  }
  void relist(int i) { rows_.set(i, infeasOf(i) > w_.primalTol); }
  // Bound-flipping Harris ratio test; returns the entering variable or -1.
  int ratioTest(double delta, double s);
  void repairDualFeasibility();
  void updateWeights(int r, double pivot);

  SimplexWork::Impl& w_;
  bool phase1_;
  double cutoff_;
  std::vector<Candidate> cands_;
  std::vector<int> flips_;
  int mode_ = 1;
  CandidateList rows_;  // primal-infeasible rows
};

// Dual steepest-edge CHUZR over all rows when the list of infeasible rows is
// out of date (rebuilding it), else over the listed rows only.
int DualLoop::chooseRow() {
  int best = -1;
  double bestScore = 0.0;
  const auto consider = [&](int i, double v) {
    if (v <= w_.primalTol) return;
    const double score = v * v / w_.dseWeight[i];
    if (!(score >= 0.0)) return;  // NaN weight
    if (betterCandidate(score, i, bestScore, best)) {
      bestScore = score;
      best = i;
    }
  };
  if (!rows_.valid && !rows_.rebuild) {
    for (int i = 0; i < w_.m; ++i) consider(i, infeasOf(i));
  } else if (!rows_.valid) {
    rows_.clear();
    for (int i = 0; i < w_.m; ++i) {
      const double v = infeasOf(i);
      if (v > w_.primalTol) rows_.add(i);
      consider(i, v);
    }
    rows_.valid = true;
  } else {
    for (const int i : rows_.items()) consider(i, infeasOf(i));
  }
  return best;
}

int DualLoop::ratioTest(double delta, double s) {
  cands_.clear();
  flips_.clear();
  for (int k = 0; k < w_.prowCount; ++k) {
    const int j = w_.prowIndex[k];
    const double a = w_.prow[j];
    if (std::fabs(a) < w_.pivTol || w_.lower[j] == w_.upper[j]) continue;
    const double at = -s * a;
    const signed char where = w_.at[j];
    if ((where == kAtLower && at > 0.0) || (where == kAtUpper && at < 0.0) || where == kAtZero)
      cands_.push_back({j, at});
  }
  double slope = std::fabs(delta);
  const double tol = w_.dualTol;
  while (!cands_.empty()) {
    double thetaMax = kInf;
    for (const Candidate& c : cands_) {
      const double dj = w_.d[c.j];
      const double lim = c.atilde > 0.0 ? (dj + tol) / c.atilde : (dj - tol) / c.atilde;
      thetaMax = std::min(thetaMax, lim);
    }
    double decrease = 0.0;
    int best = -1;
    double bestA = 0.0;
    for (const Candidate& c : cands_) {
      if (w_.d[c.j] / c.atilde > thetaMax) continue;
      const double range = w_.upper[c.j] - w_.lower[c.j];
      decrease += std::fabs(c.atilde) * range;  // inf for unboxed
      if (std::fabs(c.atilde) > bestA) {
        bestA = std::fabs(c.atilde);
        best = c.j;
      }
    }
    if (std::isfinite(decrease) && slope - decrease > w_.primalTol) {
      // Pass all these breakpoints: flip the boxed variables to their other
      // bound and continue with the remaining slope (the primal
      // infeasibility left in the leaving row, which must stay above the
      // feasibility tolerance for the row to remain a valid choice).
      slope -= decrease;
      std::size_t kept = 0;
      for (const Candidate& c : cands_) {
        if (w_.d[c.j] / c.atilde > thetaMax)
          cands_[kept++] = c;
        else
          flips_.push_back(c.j);
      }
      cands_.resize(kept);
      continue;
    }
    return best;
  }
  return -1;
}

void DualLoop::updateWeights(int r, double pivot) {
  const double wr = w_.dseWeight[r];
  LuVector& col = w_.col;
  if (mode_ == 1) {
    for (int t = 0; t < col.count; ++t) {
      const int k = col.index[t];
      if (k == r) continue;
      const double ratio = col.array[k] / pivot;
      const double v = w_.dseWeight[k] + ratio * (ratio * wr - 2.0 * w_.tau.array[k]);
      w_.dseWeight[k] = std::min(std::max({v, ratio * ratio, kMinWeight}), kMaxWeight);
    }
    w_.dseWeight[r] = std::min(std::max(wr / (pivot * pivot), kMinWeight), kMaxWeight);
  } else if (mode_ >= 3) {
    for (int t = 0; t < col.count; ++t) {
      const int k = col.index[t];
      if (k == r) continue;
      const double ratio = col.array[k] / pivot;
      w_.dseWeight[k] = std::max(w_.dseWeight[k], ratio * ratio * wr);
    }
    w_.dseWeight[r] = std::max(wr / (pivot * pivot), 1.0);
  }
}

// After a refactorisation the recomputed reduced costs may have lost dual
// feasibility: boxed variables move to the other bound, others get their
// cost shifted so that the reduced cost is zero.
void DualLoop::repairDualFeasibility() {
  bool flipped = false;
  for (int j = 0; j < w_.nt; ++j) {
    if (w_.pos[j] >= 0 || w_.lower[j] == w_.upper[j]) continue;
    const double dj = w_.d[j];
    const signed char where = w_.at[j];
    const bool bad = (where == kAtLower && dj < -w_.dualTol) || (where == kAtUpper && dj > w_.dualTol) ||
                     (where == kAtZero && std::fabs(dj) > w_.dualTol);
    if (!bad) continue;
    if (w_.isBoxed(j)) {
      w_.placeAt(j, where == kAtLower ? kAtUpper : kAtLower);
      flipped = true;
    } else {
      w_.cost[j] -= dj;
      w_.d[j] = 0.0;
      w_.costShifted = true;
    }
  }
  if (flipped) w_.computePrimal();
}

int DualLoop::run() {
  const int pricing = w_.opt.dualPricing;
  mode_ = (pricing == -1 || pricing == 1 || pricing == 2) ? 1 : pricing;
  bool freshRetry = false;
  for (;;) {
    if (w_.refactorDue()) {
      const int rc = w_.refactor(true);
      if (rc == kLayerOutOfMemory) {
        w_.error = kErrOutOfMemory;
        return kNotFinished;
      }
      if (rc != kLayerOk) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
      if (!w_.dseValid) w_.initDualWeights(false);
      repairDualFeasibility();
      rows_.valid = false;  // new primal values
      w_.logIteration(false);
    }
    const int lim = w_.checkLimits();
    if (lim != kNotFinished) return lim;
    if (!phase1_ && cutoff_ < kInf && w_.objective() > cutoff_) return kCutoff;

    int r = chooseRow();
    if (r < 0) {
      int npinf = 0;
      w_.sumPrimalInfeas(&npinf, nullptr);
      if (npinf == 0) return kOptimal;
      // Infeasible rows exist but none scored: the weights overflowed.
      std::fill(w_.dseWeight.begin(), w_.dseWeight.end(), 1.0);
      rows_.valid = false;
      r = chooseRow();
      if (r < 0) return kOptimal;
    }
    const int leaving = w_.basicVar[r];
    const double xr = w_.x[leaving];
    const double delta = xr < w_.lower[leaving] ? xr - w_.lower[leaving] : xr - w_.upper[leaving];
    const double s = delta < 0.0 ? 1.0 : -1.0;

    w_.rho.clear();
    w_.rho.add(r, 1.0);
    w_.lu->btran(w_.rho);
    if (w_.rho.count < 0) w_.rho.rebuildIndex();
    w_.computePivotRow(w_.rho);
    const int q = ratioTest(delta, s);
    if (q < 0) {
      if (w_.updates > 0 && !freshRetry) {
        // Confirm the dual ray on fresh factors.
        w_.refactorRequest = kRefactorStability;
        freshRetry = true;
        continue;
      }
      if (phase1_) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
      if (w_.logging(1) || w_.tracing()) w_.log("\n A dual ray is found, primal is infeasible\n");
      w_.farkas.assign(w_.rho.array.begin(), w_.rho.array.end());
      return kInfeasible;
    }
    freshRetry = false;

    // Entering column and the pivot check against the row.
    w_.loadColumn(q, w_.col);
    w_.lu->ftran(w_.col);
    if (w_.col.count < 0) w_.col.rebuildIndex();
    const double pivot = w_.col.array[r];
    const double pivotRow = w_.prow[q];
    const double err = std::fabs(pivot - pivotRow);
    if ((err > kPivotMismatch * std::max(1.0, std::fabs(pivot)) || std::fabs(pivot) < w_.pivTol) &&
        w_.updates > 0) {
      if (w_.tracing())
        w_.log("\n%c%6d %8.0f : WARNING: bad pivcoe=%e, pivcoe_d=%e, err=%e, pivi=%d; pivj=%d, brk=%d, rcond:%g, "
               "cond2est:%g (RF)",
               w_.methodChar, w_.factorCount, w_.totalIterations, pivot, pivotRow, err, r, q, 0, w_.rcond,
               w_.cond2);
      w_.refactorRequest = kRefactorStability;
      continue;
    }

    // Dual step.
    const double atq = -s * pivotRow;
    double t = w_.d[q] / atq;
    if (t < 0.0) {
      // Harris chose a slightly infeasible reduced cost: shift its cost so
      // the step is zero rather than a step that loses dual objective.
      w_.cost[q] -= w_.d[q];
      w_.d[q] = 0.0;
      w_.costShifted = true;
      t = 0.0;
    }
    const double thetaD = -s * t;
    if (t == 0.0) ++w_.degenerate;

    // Weights need tau = B^-1 rho before the basis changes.
    if (mode_ == 1) {
      w_.tau.clear();
      for (int k = 0; k < w_.rho.count; ++k) w_.tau.add(w_.rho.index[k], w_.rho.array[w_.rho.index[k]]);
      w_.lu->ftran(w_.tau);
      if (w_.tau.count < 0) w_.tau.rebuildIndex();
    }
    updateWeights(r, pivot);

    for (int k = 0; k < w_.prowCount; ++k) {
      const int j = w_.prowIndex[k];
      w_.d[j] -= thetaD * w_.prow[j];
    }
    w_.d[q] = 0.0;
    w_.d[leaving] = -thetaD;

    // Bound flips and their effect on the basic values.
    if (!flips_.empty()) {
      w_.aux.clear();
      for (int j : flips_) {
        const double old = w_.x[j];
        w_.placeAt(j, w_.at[j] == kAtLower ? kAtUpper : kAtLower);
        const double change = w_.x[j] - old;
        if (j < w_.n) {
          for (int p = w_.lp.colStart[j]; p < w_.lp.colStart[j + 1]; ++p)
            w_.aux.add(w_.lp.rowIndex[p], w_.lp.colValue[p] * change);
        } else {
          w_.aux.add(j - w_.n, change);
        }
      }
      w_.lu->ftran(w_.aux);
      if (w_.aux.count < 0) w_.aux.rebuildIndex();
      for (int k = 0; k < w_.aux.count; ++k) {
        const int p = w_.aux.index[k];
        w_.x[w_.basicVar[p]] -= w_.aux.array[p];
        if (rows_.valid) relist(p);
      }
      w_.aux.clear();
    }

    // Primal step: the leaving variable goes to the bound it violated.
    const double bound = s > 0.0 ? w_.lower[leaving] : w_.upper[leaving];
    const double thetaP = (w_.x[leaving] - bound) / pivot;
    for (int k = 0; k < w_.col.count; ++k) {
      const int p = w_.col.index[k];
      w_.x[w_.basicVar[p]] -= thetaP * w_.col.array[p];
    }
    w_.x[q] += thetaP;
    w_.x[leaving] = bound;
    w_.at[leaving] = s > 0.0 ? kAtLower : kAtUpper;
    w_.iterations += 1.0;
    w_.totalIterations += 1.0;
    const int rc = w_.basisChange(r, q, true);
    if (rc == kLayerOutOfMemory) {
      w_.error = kErrOutOfMemory;
      return kNotFinished;
    }
    if (rc != kLayerOk) {
      w_.error = kErrNumerical;
      return kNotFinished;
    }
    if (w_.updates == 0) {
      if (!w_.dseValid) w_.initDualWeights(false);
      repairDualFeasibility();
      rows_.valid = false;  // the refactorisation recomputed the primal values
      w_.logIteration(false);
    } else if (rows_.worthUpdating(w_.col.count, w_.m)) {
      if (rows_.valid) {
        for (int k = 0; k < w_.col.count; ++k) relist(w_.col.index[k]);
        relist(r);
      }
      rows_.rebuild = true;
    } else {
      rows_.invalidate();
    }
  }
}

// Counts nonbasic variables whose reduced cost has the wrong sign and that
// cannot be repaired by a bound flip.
int countDualInfeasible(const SimplexWork::Impl& w) {
  int c = 0;
  for (int j = 0; j < w.nt; ++j) {
    if (w.pos[j] >= 0 || w.lower[j] == w.upper[j] || w.isBoxed(j)) continue;
    const double dj = w.d[j];
    if ((w.lower[j] > -kInf && dj < -w.dualTol) || (w.upper[j] < kInf && dj > w.dualTol) ||
        (w.lower[j] == -kInf && w.upper[j] == kInf && std::fabs(dj) > w.dualTol))
      ++c;
  }
  return c;
}

void placeAllByReducedCost(SimplexWork::Impl& w) {
  for (int j = 0; j < w.nt; ++j)
    if (w.pos[j] < 0) w.placeByReducedCost(j);
  w.computePrimal();
}

void perturbCosts(SimplexWork::Impl& w) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int j = 0; j < w.n; ++j) {
    const double lo = w.lower[j], up = w.upper[j];
    if (lo == up || (lo == -kInf && up == kInf)) continue;
    const double delta = kPerturbBase * (1.0 + std::fabs(w.cost[j])) * (1.0 + u(w.rng));
    if (up == kInf)
      w.cost[j] += delta;
    else if (lo == -kInf)
      w.cost[j] -= delta;
    else
      w.cost[j] += w.cost[j] >= 0.0 ? delta : -delta;
  }
  w.costShifted = true;
}

// Dual phase 1 by the auxiliary problem: returns kOptimal when a dual
// feasible basis was reached, kRecover when the problem is dual infeasible,
// or the outcome that stopped it.
int dualPhase1(SimplexWork::Impl& w) {
  const std::vector<double> lo = w.lower, up = w.upper, b = w.rhs;
  for (int j = 0; j < w.nt; ++j) {
    const bool fl = lo[j] > -kInf, fu = up[j] < kInf;
    if (fl && fu) {
      w.lower[j] = w.upper[j] = 0.0;
    } else if (fl) {
      w.lower[j] = 0.0, w.upper[j] = 1.0;
    } else if (fu) {
      w.lower[j] = -1.0, w.upper[j] = 0.0;
    } else {
      w.lower[j] = -kPhase1FreeBox, w.upper[j] = kPhase1FreeBox;
    }
  }
  std::fill(w.rhs.begin(), w.rhs.end(), 0.0);
  placeAllByReducedCost(w);
  DualLoop loop(w, true, kInf);
  const int res = loop.run();
  w.lower = lo;
  w.upper = up;
  w.rhs = b;
  placeAllByReducedCost(w);
  if (res != kOptimal) return res;
  return countDualInfeasible(w) > 0 ? kRecover : kOptimal;
}

}  // namespace

int SimplexWork::Impl::runDual(bool reopt) {
  methodChar = 'D';
  if (tracing())
    log("\n%s dual simplex.  (LP=%d, m=%d, n=%d, nonz=%d, nint=%d, xstat = %d, time:%d, tlim:%g, shifts=%d, "
        "nfixbas:%d)",
        "Entering", 0, m, n, lp.nnz(), 0, outcome, 0, ctx ? ctx->timeLimit : -1.0, 0, 0);
  refactorRequest = kRefactorInitial;
  int rc = refactor(true);
  if (rc != kLayerOk) {
    error = rc == kLayerOutOfMemory ? kErrOutOfMemory : kErrNumerical;
    return kNotFinished;
  }
  initDualWeights(reopt);
  logIteration(true);
  placeAllByReducedCost(*this);

  double cutoffInternal = kInf;
  if (opt.useCutoff != 0 && std::fabs(opt.cutoff) < 1e30)
    cutoffInternal = lp.sense * (opt.cutoff - lp.objConst);

  if (countDualInfeasible(*this) > 0) {
    int res;
    if (opt.dualPhase == 3) {
      // Single phase: artificial bounds on the dual infeasible columns; an
      // optimum that keeps one of them at its artificial bound is handed to
      // the primal.
      for (int j = 0; j < nt; ++j) {
        if (pos[j] >= 0 || isBoxed(j)) continue;
        if (d[j] < -dualTol && upper[j] == kInf) upper[j] = opt.bndInf;
        if (d[j] > dualTol && lower[j] == -kInf) lower[j] = -opt.bndInf;
        if (d[j] >= -dualTol && d[j] <= dualTol && lower[j] == -kInf && upper[j] == kInf) continue;
      }
      placeAllByReducedCost(*this);
      res = kOptimal;
    } else {
      res = dualPhase1(*this);
    }
    if (res != kOptimal) return res;
  }

  const bool perturb = cutoffInternal == kInf && opt.dualPhase != 3;
  for (int pass = 0; pass < kMaxCleanupPasses; ++pass) {
    if (perturb && pass == 0) {
      perturbCosts(*this);
      computeDual();
      placeAllByReducedCost(*this);
    }
    DualLoop loop(*this, false, cutoffInternal);
    const int res = loop.run();
    if (res != kOptimal) {
      if (res == kInfeasible || res == kCutoff) {
        // Report the true objective and reduced costs.
        cost = lp.cost;
        costShifted = false;
        computeDual();
      }
      return res;
    }
    // Remove perturbations and shifts; the basis stays primal feasible.
    cost = lp.cost;
    const bool wasShifted = costShifted;
    costShifted = false;
    if (opt.dualPhase == 3) {
      bool artificial = false;
      for (int j = 0; j < nt; ++j) {
        if (std::fabs(lower[j]) == opt.bndInf || std::fabs(upper[j]) == opt.bndInf) {
          if (pos[j] < 0 && std::fabs(x[j]) == opt.bndInf) artificial = true;
          lower[j] = lp.lower[j];
          upper[j] = lp.upper[j];
        }
      }
      if (artificial) {
        if (logging(1) || tracing()) log("\nWarning: some nonbasics are at artificial bounds. (stat = %d)", kOptimal);
        computePrimal();
        return kRecover;
      }
    }
    if (!wasShifted) return kOptimal;
    if (tracing()) log("\nEnding perturbation. wfact=%d, stat=%d, npinf=%d", refactorRequest, kOptimal, 0);
    computeDual();
    if (countDualInfeasible(*this) > 0) return kRecover;  // the primal finishes from here
    placeAllByReducedCost(*this);
    int npinf = 0;
    sumPrimalInfeas(&npinf, nullptr);
    if (npinf == 0) return kOptimal;
  }
  return kRecover;
}

}  // namespace torva::simplex
