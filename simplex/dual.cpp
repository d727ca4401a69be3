// Dual simplex: dual steepest-edge pricing (Forrest and Goldfarb 1992), the
// bound-flipping ratio test with Harris tolerances (Koberstein 2005, ch. 3),
// dual phase 1 by the auxiliary problem or by artificial bounds, and cost
// perturbation against dual degeneracy.
#include <algorithm>
#include <cmath>
#include <limits>

#include "simplex/dual_ratio.hpp"
#include "simplex/dual_rows.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Auxiliary problem of dual phase 1 (Koberstein 2005, sect. 4.4): every
// variable gets a box whose optimal basis is dual feasible for the true
// problem when the auxiliary optimum is zero; free variables get a wide box
// so that they are driven into the basis.
constexpr double kPhase1FreeBox = 1000.0;

// Cost perturbation, drawn per column from [1, 2) x kPerturbRelative x
// (1 + |c_j|), and for a column of zero cost from [1, 2) x kPerturbZeroCost
// on a fresh solve. The zero costs of degenerate models (pilot: 3,174 of
// 3,226 columns, pilot87 3,892 of 4,527) leave the dual stalling on ties
// with the relative size alone (pilot, pilot87, grow7, pilotnov: 10-30% more
// iterations than with 5e-5; 1e-5 and 1e-4 fall between, 2e-4 and above
// cost more in the primal clean-up than they save). Nonzero costs keep the
// relative size: 5e-5 on every column made the generated production model
// (all 28,786 costs nonzero, median 8.5) need more than 270,000 iterations
// instead of 160,342. A reoptimisation (few iterations from a warm basis)
// uses the relative size throughout: there the clean-up after removing the
// perturbation would dominate.
constexpr double kPerturbRelative = 5e-7;
constexpr double kPerturbZeroCost = 5e-5;
// The larger size only where zero costs are the rule (pilot 98% of the
// columns, pilot87 86%, grow7 93%, pilotnov 96%): where they are fewer and
// the other costs large, 5e-5 outweighs the perturbation of those costs and
// the dual works on a problem of its own making (mkc, 45% zero costs with a
// mean of 12 on the others: 549 iterations with the relative size, 3,069
// with 5e-5; fit2d, 14%: 114 and 155).
constexpr double kZeroCostShare = 0.75;

// A pivot whose value from the row (BTRAN) and from the column (FTRAN)
// disagree by more than this relative amount means the factors have
// drifted: refactorise before pivoting.
constexpr double kPivotMismatch = 1e-7;

// Limits of a steepest-edge weight (keep the pricing ratio finite).
constexpr double kMinWeight = 1e-10;
constexpr double kMaxWeight = 1e100;
// The devex weights of modes 3 and 4 only grow (each update keeps the larger
// of the old weight and the pivot's share), so they drift from the basis:
// after this many reduced-cost updates, or m when larger, the reference
// framework is reset to the current basis (Forrest and Goldfarb 1992).
constexpr int kDevexResetUpdates = 1000;

// Bound on the passes of the final clean-up (perturbation removal followed
// by further dual or primal iterations).
constexpr int kMaxCleanupPasses = 4;

}  // namespace

void SimplexWork::Impl::initDualWeights(bool reopt, bool keep) {
  if (keep && static_cast<int>(dseWeight.size()) == m && dseBasic == basicVar) {
    dseValid = true;
    return;
  }
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
  DualLoop(SimplexWork::Impl& w, bool phase1, double cutoff) : w_(w), phase1_(phase1), cutoff_(cutoff), rows_(w) {}
  int run();
  // Rows on the candidate list of sparse selection; -1 in dense selection.
  int listSize() const { return rows_.listSize(); }

 private:
  // The leaving row and entering column of the next iteration (q < 0: the
  // row has no entering candidate).
  struct Pick {
    int r = -1, q = -1, leaving = -1;
    double delta = 0.0, s = 1.0;
  };
  enum PickResult { kPickOk, kPickRetry, kPickOptimal, kPickNumeric };
  int pick(Pick& pk);
  void applyFlips();
  static constexpr int kMinRatio2Failed = DualRatioTest::kMinRatio2Failed;
  int ratioTest(double delta, double s) { return rt_.run(w_, delta, s); }
  void repairDualFeasibility();
  void updateWeights(int r, double pivot, int leaving);

  SimplexWork::Impl& w_;
  bool phase1_;
  double cutoff_;
  DualRatioTest rt_;
  DualRowSelection rows_;
  int releases_ = 0;      // releases of the rejected rows since the last pivot
  int emptyLists_ = 0;    // selections that found no row with infeasible rows left
  int mode_ = 1;
  int devexUpdates_ = 0;  // devex weight updates since the framework was set
};

// Dual steepest-edge update (Forrest and Goldfarb 1992). The leaving row's
// weight is taken exactly from its BTRAN result rather than from the
// updated value: an error there enters every other row's new weight
// multiplied by (alpha_k / alpha_r)^2, so updated weights compound their
// rounding from pivot to pivot until they grow without bound. The lower
// bound of row k follows from rho_k' a_p = -alpha_k / alpha_r for the
// leaving column a_p (Cauchy-Schwarz): ||rho_k'||^2 >= (alpha_k / alpha_r)^2
// / ||a_p||^2; with scaled columns ||a_p|| may exceed 1, and bounding by
// (alpha_k / alpha_r)^2 alone would inflate the weights.
void DualLoop::updateWeights(int r, double pivot, int leaving) {
  LuVector& col = w_.col;
  if (mode_ == 1) {
    double wr = 0.0;
    for (int t = 0; t < w_.rho.count; ++t) wr += w_.rho.array[w_.rho.index[t]] * w_.rho.array[w_.rho.index[t]];
    double colNorm2 = 1.0;
    if (leaving < w_.n) {
      colNorm2 = 0.0;
      for (int p = w_.lp.colStart[leaving]; p < w_.lp.colStart[leaving + 1]; ++p)
        colNorm2 += w_.lp.colValue[p] * w_.lp.colValue[p];
      if (!(colNorm2 > 0.0)) colNorm2 = 1.0;
    }
    for (int t = 0; t < col.count; ++t) {
      const int k = col.index[t];
      if (k == r) continue;
      const double ratio = col.array[k] / pivot;
      const double v = w_.dseWeight[k] + ratio * (ratio * wr - 2.0 * w_.tau.array[k]);
      w_.dseWeight[k] = std::min(std::max({v, ratio * ratio / colNorm2, kMinWeight}), kMaxWeight);
    }
    w_.dseWeight[r] = std::min(std::max(wr / (pivot * pivot), kMinWeight), kMaxWeight);
  } else if (mode_ >= 3) {
    const double wr = w_.dseWeight[r];
    for (int t = 0; t < col.count; ++t) {
      const int k = col.index[t];
      if (k == r) continue;
      const double ratio = col.array[k] / pivot;
      w_.dseWeight[k] = std::max(w_.dseWeight[k], ratio * ratio * wr);
    }
    w_.dseWeight[r] = std::max(wr / (pivot * pivot), 1.0);
    if (++devexUpdates_ > std::max(kDevexResetUpdates, w_.m)) {
      if (w_.tracing())
        w_.traceLine(" too many rdc[] updates. steepest-edge scalers will reset, pricer-list has %d cands",
                     rows_.listed());
      std::fill(w_.dseWeight.begin(), w_.dseWeight.end(), 1.0);
      devexUpdates_ = 0;
    }
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

// Bound flips of the ratio test and their effect on the basic values.
void DualLoop::applyFlips() {
  if (rt_.flips.empty()) return;
  w_.aux.clear();
  for (int j : rt_.flips) {
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
    rows_.touch(p);
  }
  w_.aux.clear();
}

int DualLoop::pick(Pick& pk) {
  // The dpickrow best rows are tried in turn; a row whose pivot is tiny
  // against the rest of its pivot row is rejected for a while.
  rows_.choose(std::max(1, w_.bl.dpickrow));
  if (rows_.picked().empty()) {
    int npinf = 0;
    w_.sumPrimalInfeas(&npinf, nullptr);
    if (npinf == 0) return kPickOptimal;
    const int released = w_.bl.releaseRejected();
    if (released > 0) {  // only rejected rows were left
      if (w_.tracing())
        w_.log(" no leaving vars (pivi=%d) yet rejected pivots. psize_=%d, wfact=%d, stat=%d, dpickrow=%d", -1,
               rows_.listed(), w_.refactorRequest, w_.outcome, w_.bl.dpickrow);
      if (++releases_ > 1 && w_.tracing()) w_.log("\n too many rject=%u n=%u ", released, w_.nt);
      return kPickRetry;
    }
    // Infeasible rows exist but none scored: the list missed a row, or the
    // weights overflowed.
    if (w_.tracing()) {
      w_.log("\nWarning: pivot row candidate list is empty (%d)", npinf);
      w_.traceLine(" pricer-list #%d isempty (%d), performing full-pricing.", ++emptyLists_, npinf);
    }
    rows_.rebuild();
    std::fill(w_.dseWeight.begin(), w_.dseWeight.end(), 1.0);
    rows_.choose(1);
    if (rows_.picked().empty()) return kPickOptimal;
  }
  for (int cand : rows_.picked()) {
    pk.r = cand;
    pk.leaving = w_.basicVar[cand];
    const double xr = w_.x[pk.leaving];
    pk.delta = xr < w_.lower[pk.leaving] ? xr - w_.lower[pk.leaving] : xr - w_.upper[pk.leaving];
    pk.s = pk.delta < 0.0 ? 1.0 : -1.0;
    w_.rho.clear();
    w_.rho.add(cand, 1.0);
    w_.lu->btran(w_.rho);
    if (w_.rho.count < 0) w_.rho.rebuildIndex();
    w_.computePivotRow(w_.rho);
    pk.q = ratioTest(pk.delta, pk.s);
    if (pk.q == kMinRatio2Failed) {
      if (w_.tracing())
        w_.log("\nDual min-ratio2 failed (ifixed=%d,l=%d)", rt_.fixedSkipped, static_cast<int>(rt_.cands.size()));
      if (releases_ > 1) {
        if (w_.tracing()) w_.log("\nReturning numeric error. Try rejecting pivi=%d", cand);
        return kPickNumeric;
      }
      if (w_.tracing()) w_.log("\nReject pivi=%d to leave", cand);
      w_.bl.reject(pk.leaving);
      continue;
    }
    // After repeated releases every row was refused: take the pivot.
    if (pk.q < 0 || releases_ > 1 || std::fabs(w_.prow[pk.q]) >= rt_.candMax * relativePivotFloor(w_.bl.ratRange))
      return kPickOk;
    if (w_.tracing())
      w_.traceLine(" WARNING: too small pivcoe=%e, pivcoe_d=%e, err=%e, pivi=%d; pivj=%d, brk=%d (RJ)", w_.prow[pk.q],
                   rt_.candMax, 0.0, cand, pk.q, static_cast<int>(rt_.flips.size()));
    w_.bl.reject(pk.leaving);
  }
  return kPickRetry;
}

int DualLoop::run() {
  const int pricing = w_.opt.dualPricing;
  mode_ = (pricing == -1 || pricing == 1 || pricing == 2) ? 1 : pricing;
  rows_.rebuild();
  bool freshRetry = false;
  for (;;) {
    if (w_.refactorDue()) {
      const int rc = w_.refactor(true);
      if (rc == kLayerOutOfMemory) {
        w_.error = kErrOutOfMemory;
        return kNotFinished;
      }
      if (rc != kLayerOk) {
        w_.error = layerError(rc);
        return kNotFinished;
      }
      if (!w_.dseValid) w_.initDualWeights(false);
      w_.checkBasicReducedCosts();
      repairDualFeasibility();
      rows_.rebuild();
      const int pc = w_.progressCheck();
      if (pc == kProgressSwitch) return kRecover;
      if (pc == kProgressNumerical) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
    }
    const int lim = w_.checkLimits();
    if (lim != kNotFinished) return lim;
    if (!phase1_ && cutoff_ < kInf && w_.objective() > cutoff_) return kCutoff;

    Pick pk;
    const int picked = pick(pk);
    if (picked == kPickOptimal) return kOptimal;
    if (picked == kPickRetry) continue;
    if (picked == kPickNumeric) {
      w_.error = kErrNumerical;
      return kNotFinished;
    }
    const int r = pk.r, q = pk.q, leaving = pk.leaving;
    const double s = pk.s;
    if (q < 0) {
      if (w_.updates > 0 && !freshRetry) {
        // Confirm the dual ray on fresh factors.
        w_.requestRefactor(kRefactorRegular, __FILE_NAME__, __LINE__);
        freshRetry = true;
        continue;
      }
      if (phase1_) {
        // The auxiliary problem cannot move this row (its pivot row meets
        // only fixed or tiny entries): try the others first.
        if (releases_ <= 1) {
          if (w_.tracing()) w_.log("\nReject pivi=%d to leave", r);
          w_.bl.reject(leaving);
          continue;
        }
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
    w_.lu->ftran(w_.col, w_.opt.luUsePivcol != 0);
    if (w_.col.count < 0) w_.col.rebuildIndex();
    const double pivot = w_.col.array[r];
    const double pivotRow = w_.prow[q];
    const double err = std::fabs(pivot - pivotRow);
    const bool bad = err > kPivotMismatch * std::max(1.0, std::fabs(pivot)) || std::fabs(pivot) < w_.pivTol;
    // On fresh factors a refactorisation cannot mend a bad pivot: the row is
    // rejected instead, while rows are left to try (after repeated releases
    // the pivot is taken).
    const bool fresh = w_.updates == 0;
    if (bad && (!fresh || releases_ <= 1)) {
      if (w_.tracing())
        w_.log("\n%c%6d %8.0f : %s: bad pivcoe=%e, pivcoe_d=%e, err=%e, pivi=%d; pivj=%d, brk=%d, rcond:%g, "
               "cond2est:%g (RF)",
               w_.methodChar, w_.factorCount, w_.totalIterations, fresh ? "ERROR" : "WARNING", pivot, pivotRow, err,
               r, q, 0, w_.rcond, w_.cond2);
      if (fresh)
        w_.bl.reject(leaving);
      else
        w_.requestRefactor(kRefactorStability, __FILE_NAME__, __LINE__);
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
    w_.lastStep = t;

    // Weights need tau = B^-1 rho before the basis changes, but only at
    // the rows the pivot column meets besides the pivot's own.
    bool needTau = false;
    if (mode_ == 1)
      for (int k = 0; k < w_.col.count && !needTau; ++k)
        needTau = w_.col.index[k] != r && std::fabs(w_.col.array[w_.col.index[k]]) > kLuListedZero;
    w_.tau.clear();
    if (needTau) {
      for (int k = 0; k < w_.rho.count; ++k) w_.tau.add(w_.rho.index[k], w_.rho.array[w_.rho.index[k]]);
      w_.lu->ftran(w_.tau);
      if (w_.tau.count < 0) w_.tau.rebuildIndex();
      ++w_.stats.binviF;
      w_.stats.binviFLen += w_.tau.count;
    }
    updateWeights(r, pivot, leaving);

    for (int k = 0; k < w_.prowCount; ++k) {
      const int j = w_.prowIndex[k];
      w_.d[j] -= thetaD * w_.prow[j];
    }
    w_.d[q] = 0.0;
    w_.d[leaving] = -thetaD;

    applyFlips();

    // Primal step: the leaving variable goes to the bound it violated.
    const double bound = s > 0.0 ? w_.lower[leaving] : w_.upper[leaving];
    const double thetaP = (w_.x[leaving] - bound) / pivot;
    for (int k = 0; k < w_.col.count; ++k) {
      const int p = w_.col.index[k];
      w_.x[w_.basicVar[p]] -= thetaP * w_.col.array[p];
      rows_.touch(p);
    }
    rows_.notePivotColumn(w_.col.count);
    w_.x[q] += thetaP;
    w_.x[leaving] = bound;
    w_.at[leaving] = s > 0.0 ? kAtLower : kAtUpper;
    w_.iterations += 1.0;
    w_.totalIterations += 1.0;
    releases_ = 0;
    const int rc = w_.basisChange(r, q, true, pivot);
    if (rc == kLayerOutOfMemory) {
      w_.error = kErrOutOfMemory;
      return kNotFinished;
    }
    if (rc != kLayerOk) {
      w_.error = layerError(rc);
      return kNotFinished;
    }
    rows_.touch(r);
    if (w_.updates == 0) {
      if (!w_.dseValid) w_.initDualWeights(false);
      w_.checkBasicReducedCosts();
      repairDualFeasibility();
      rows_.rebuild();
      const int pc = w_.progressCheck();
      if (pc == kProgressSwitch) return kRecover;
      if (pc == kProgressNumerical) {
        w_.error = kErrNumerical;
        return kNotFinished;
      }
    }
  }
}

// Whether nonbasic variable j has a reduced cost of the wrong sign that a
// bound flip cannot repair.
bool dualInfeasibleAt(const SimplexWork::Impl& w, int j) {
  if (w.pos[j] >= 0 || w.lower[j] == w.upper[j] || w.isBoxed(j)) return false;
  const double dj = w.d[j];
  return (w.lower[j] > -kInf && dj < -w.dualTol) || (w.upper[j] < kInf && dj > w.dualTol) ||
         (w.lower[j] == -kInf && w.upper[j] == kInf && std::fabs(dj) > w.dualTol);
}

// Counts those variables, and adds up their |d_j| in *sum when asked.
int countDualInfeasible(const SimplexWork::Impl& w, double* sum = nullptr) {
  int c = 0;
  double s = 0.0;
  for (int j = 0; j < w.nt; ++j)
    if (dualInfeasibleAt(w, j)) {
      ++c;
      s += std::fabs(w.d[j]);
    }
  if (sum) *sum = s;
  return c;
}

// Dual infeasibilities of the order of the zero costs' perturbation are
// shifted away instead of being removed by a dual phase 1: the costs of
// those columns move so that their reduced costs are zero (the perturbation
// then gives them a feasible margin), and the shifts go with the
// perturbation at the end. pilot87's slack basis has 341 such columns averaging 7e-5
// (phase 1: about 1,400 iterations, the solve 9,651 with it and 8,068
// without); on pilot the average is 1e-2, on 25fv47 1.2, and a phase 1
// pays off there (shifting them all costs more iterations on
// the large Netlib models: pilot 10%, degen3 210%).
constexpr double kShiftMeanFactor = 10.0;

bool shiftSmallDualInfeasibilities(SimplexWork::Impl& w, double size) {
  double sum = 0.0;
  const int count = countDualInfeasible(w, &sum);
  if (count == 0 || sum > kShiftMeanFactor * size * count) return false;
  for (int j = 0; j < w.nt; ++j)
    if (dualInfeasibleAt(w, j)) {
      w.cost[j] -= w.d[j];
      w.d[j] = 0.0;
    }
  w.costShifted = true;
  return true;
}

// Places every nonbasic variable at the bound its reduced cost prefers. A
// boxed variable already at a bound stays there while its reduced cost is
// dual feasible within the optimality tolerance: flipping it on a reduced
// cost of rounding size would move the basic values by its whole range and
// turn an optimal (warm) basis primal infeasible.
void placeAllByReducedCost(SimplexWork::Impl& w) {
  for (int j = 0; j < w.nt; ++j) {
    if (w.pos[j] >= 0) continue;
    if (w.isBoxed(j) && w.at[j] == kAtLower && w.d[j] >= -w.dualTol)
      w.placeAt(j, kAtLower);
    else if (w.isBoxed(j) && w.at[j] == kAtUpper && w.d[j] <= w.dualTol)
      w.placeAt(j, kAtUpper);
    else
      w.placeByReducedCost(j);
  }
  w.computePrimal();
}

// Size of the perturbation of a column of zero cost.
double zeroCostPerturbation(const SimplexWork::Impl& w, bool reopt) {
  if (reopt) return kPerturbRelative;
  int zero = 0;
  for (int j = 0; j < w.n; ++j)
    if (w.lp.cost[j] == 0.0) ++zero;
  return zero >= kZeroCostShare * w.n ? kPerturbZeroCost : kPerturbRelative;
}

// Cost perturbation of the nonbasic structural columns, each in the
// direction of its reduced cost's feasible side: the duals do not change,
// every reduced cost moves by its shift away from zero, so the basis stays
// dual feasible and the basic values stay as they are. zeroCost is the
// size for columns of zero cost (zeroCostPerturbation).
void perturbCosts(SimplexWork::Impl& w, double zeroCost) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int j = 0; j < w.n; ++j) {
    const double lo = w.lower[j], up = w.upper[j];
    if (w.pos[j] >= 0 || lo == up || (lo == -kInf && up == kInf)) continue;
    const double base = w.lp.cost[j] == 0.0 ? zeroCost : kPerturbRelative * (1.0 + std::fabs(w.cost[j]));
    const double delta = base * (1.0 + u(w.rng));
    const double dir = w.at[j] == kAtUpper ? -1.0 : 1.0;
    w.cost[j] += dir * delta;
    w.d[j] += dir * delta;
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

// A column that received an artificial bound in single-phase mode, and on
// which side.
struct ArtificialBound {
  int j;
  bool upperSide;
};

// Single phase: every nonbasic column whose reduced cost prefers a side
// without a finite bound gets the artificial bound QX_DPARAM_LP_BNDINF there,
// which makes the start dual feasible.
std::vector<ArtificialBound> setArtificialBounds(SimplexWork::Impl& w) {
  std::vector<ArtificialBound> list;
  for (int j = 0; j < w.nt; ++j) {
    if (w.pos[j] >= 0 || w.isBoxed(j)) continue;
    if (w.d[j] < -w.dualTol && w.upper[j] == kInf) {
      w.upper[j] = w.opt.bndInf;
      list.push_back({j, true});
    } else if (w.d[j] > w.dualTol && w.lower[j] == -kInf) {
      w.lower[j] = -w.opt.bndInf;
      list.push_back({j, false});
    }
  }
  placeAllByReducedCost(w);
  return list;
}

// Gives the columns their true bounds back; a nonbasic column at an
// artificial bound returns to its finite bound (or zero) and the basic values
// follow. True when such a column was found.
bool removeArtificialBounds(SimplexWork::Impl& w, const std::vector<ArtificialBound>& list) {
  bool onArtificial = false;
  for (const ArtificialBound& a : list) {
    const int j = a.j;
    if (w.pos[j] < 0 && w.at[j] == (a.upperSide ? kAtUpper : kAtLower)) onArtificial = true;
    if (a.upperSide)
      w.upper[j] = w.lp.upper[j];
    else
      w.lower[j] = w.lp.lower[j];
    if (w.pos[j] < 0) w.placeAt(j, static_cast<NonbasicAt>(w.at[j]));
  }
  if (!list.empty() && w.lu && w.lu->valid()) w.computePrimal();
  return onArtificial;
}

// The dual iterations from a dual feasible start, with the removal of the
// cost perturbation and shifts before an optimum is accepted.
int dualIterate(SimplexWork::Impl& w, double cutoffInternal, double zeroCost) {
  const bool perturb = cutoffInternal == kInf && w.opt.dualPhase != 3;
  for (int pass = 0; pass < kMaxCleanupPasses; ++pass) {
    if (pass == 0 && !w.costShifted) {
      // A dual feasible start that is also primal feasible is optimal: no
      // perturbation, no iteration (a warm start from an optimal basis).
      int npinf = 0;
      w.sumPrimalInfeas(&npinf, nullptr);
      if (npinf == 0) return cutoffInternal < kInf && w.objective() > cutoffInternal ? kCutoff : kOptimal;
    }
    if (perturb && pass == 0) perturbCosts(w, zeroCost);
    DualLoop loop(w, false, cutoffInternal);
    const int res = loop.run();
    if (res == kInfeasible && (w.untrustedInfeasibility() || !w.dualRayHolds())) return kRecover;
    if (res != kOptimal) {
      if (res == kInfeasible || res == kCutoff) {
        // Report the true objective and reduced costs.
        w.cost = w.lp.cost;
        w.costShifted = false;
        w.computeDual();
      }
      return res;
    }
    // Remove perturbations and shifts; the basis stays primal feasible.
    w.cost = w.lp.cost;
    if (!w.costShifted) return kOptimal;
    w.costShifted = false;
    w.computeDual();
    const int ncinf = countDualInfeasible(w);
    if (w.tracing() && loop.listSize() >= 0)
      w.log("\nEnding perturbation. psize_=%d, wfact=%d, stat=%d, npinf=%d, ncinf=%d", loop.listSize(),
            w.refactorRequest, kOptimal, 0, ncinf);
    else if (w.tracing())
      w.log("\nEnding perturbation. wfact=%d, stat=%d, npinf=%d", w.refactorRequest, kOptimal, 0);
    if (ncinf > 0) return kRecover;  // the primal finishes from here
    placeAllByReducedCost(w);
    int npinf = 0;
    w.sumPrimalInfeas(&npinf, nullptr);
    if (npinf == 0) return kOptimal;
  }
  return kRecover;
}

}  // namespace

int SimplexWork::Impl::runDualMethod(bool reopt) {
  methodChar = 'D';
  const char* verb = startVerb();
  if (tracing())
    log("\n%s dual simplex.  (LP=%d, m=%d, n=%d, nonz=%d, nint=%d, xstat = %d, time:%d, tlim:%g, shifts=%d, "
        "nfixbas:%d)",
        verb, 0, m, n, lp.nnz(), 0, outcome, elapsedSeconds(), ctx ? ctx->timeLimit : -1.0, 0, 0);
  dropPerturbation();
  prog.resetForRun();
  // A warm start from the heading the factors describe only needs the
  // values of the new bounds and costs; anything else is factorised.
  const bool warm = warmHeading;
  warmHeading = false;
  if (warm && factorsCurrent()) {
    bl.undoable = false;
    bl.releaseRejected();
    computePrimal();
    computeDual();
  } else {
    refactorRequest = kRefactorInitial;
    const int rc = refactor(true);
    if (rc != kLayerOk) {
      error = layerError(rc);
      return kNotFinished;
    }
  }
  initDualWeights(reopt, warm);
  logIteration(true);
  placeAllByReducedCost(*this);

  double cutoffInternal = kInf;
  if (opt.useCutoff != 0 && std::fabs(opt.cutoff) < 1e30)
    cutoffInternal = lp.sense * (opt.cutoff - lp.objConst);

  const double zeroCost = zeroCostPerturbation(*this, reopt || warm);
  std::vector<ArtificialBound> artificial;
  if (countDualInfeasible(*this) > 0) {
    if (opt.dualPhase == 3) {
      artificial = setArtificialBounds(*this);
    } else if (cutoffInternal < kInf || !shiftSmallDualInfeasibilities(*this, zeroCost)) {
      const int res = dualPhase1(*this);
      if (res != kOptimal) return res;
    }
  }
  const int res = dualIterate(*this, cutoffInternal, zeroCost);
  // The artificial bounds live only during this run. An optimum that keeps
  // a nonbasic column on one is no optimum of the true problem: the switch
  // loop hands it to the primal.
  if (!removeArtificialBounds(*this, artificial) || res != kOptimal) return res;
  if (logging(1) || tracing()) log("\nWarning: some nonbasics are at artificial bounds. (stat = %d)", kOptimal);
  return kRecover;
}

}  // namespace torva::simplex
