// The progress check made after every factorisation by both methods: it
// logs the iteration line, compares the point with the previous check, and
// answers degradation and stagnation with a ladder of remedies (a tighter
// optimality tolerance, a lower refactorisation frequency, a safer LU pivot
// threshold, perturbation, the fallback basis, partial pricing, a switch of
// method) before it gives up.
#include <algorithm>
#include <cmath>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

// A check whose objective or infeasibility moved by less than this
// (relative, with an absolute floor) made no progress.
constexpr double kStallRel = 1e-6;
constexpr double kStallFloor = 1e-4;
// Worse by more than this relative amount (of max(1, |value|)) is a
// degradation rather than rounding.
constexpr double kDegradeRel = 1e-9;
// Identical records (to this relative amount) advance the cycling counter;
// beyond kCyclingThreshold checks in a row the check reports cycling.
constexpr double kSameRel = 1e-12;
constexpr int kCyclingStart = 5;
constexpr int kCyclingThreshold = 19;
// The previous record is "far better" when both its measures beat the
// current ones by this factor: the fallback basis is reinstalled.
constexpr double kFarBetter = 1e4;
// Degradation ladder: act every kDegradeStride calls, escalate at
// kDegradeEscalate; the severe count switches pricing at kSevereToPartial
// and ends the remedies beyond kSevereLimit.
constexpr int kDegradeStride = 4;
constexpr int kDegradeEscalate = 21;
constexpr int kSevereToPartial = 10;
constexpr int kSevereLimit = 24;
// Refactorisation frequency: lowered in steps of 10 while above 100, never
// below 50.
constexpr int kRefactorStep = 10;
constexpr int kRefactorLowerFrom = 100;
constexpr int kMinRefactorFrequency = 50;
// ceps is cut to this fraction when the objective degrades while the point
// is far from feasible (max infeasibility above kFarInfeasible x reps and a
// finite-looking objective below kHugeObjective).
constexpr double kCepsCut = 0.2;
constexpr double kFarInfeasible = 100.0;
constexpr double kHugeObjective = 1e10;
// The LU pivot threshold doubles while below kMkwepsDoubleBelow, within
// [kMkwepsMin, kMkwepsMax].
constexpr double kMkwepsDoubleBelow = 0.2;
constexpr double kMkwepsMin = 0.001;
constexpr double kMkwepsMax = 0.9;
// Perturbation sizes below which a restart is pointless.
constexpr double kPtvalRestartMin = 1e-10;
constexpr double kPtvalDegenerateMin = 1e-12;
// No-improvement handler: acts beyond kStallChecks stalled checks; beyond
// kStallGiveUp it removes the perturbation for good.
constexpr int kStallChecks = 10;
constexpr int kStallGiveUp = 100;
// Degeneracy test every kWindowChecks checks: the window must be long
// (kWindowFill of kWindowChecks refactorisation intervals) and more than
// kDegenerateShare of its iterations degenerate.
constexpr int kWindowChecks = 20;
constexpr double kWindowFill = 0.75;
constexpr double kDegenerateShare = 0.9;
// Share of degenerate iterations that starts the single-phase dual's cost
// perturbation.
constexpr double kDualDegenerateShare = 0.95;
// The candidate range, once lowered, is raised again after this many checks.
constexpr int kRatRangeRaiseChecks = 31;

bool stalled(double now, double before) {
  return std::fabs(now - before) <= std::max(kStallRel * std::fabs(now), kStallFloor);
}

bool same(double now, double before) { return std::fabs(now - before) <= kSameRel * std::max(1.0, std::fabs(now)); }

}  // namespace

ProgressRecord SimplexWork::Impl::takeRecord() const {
  ProgressRecord r;
  r.valid = true;
  r.iterations = totalIterations;
  r.objective = objective();
  r.pinf = sumPrimalInfeas(&r.npinf, nullptr);
  r.ndinf = dualInfeasCount(&r.dinf);
  r.degenerate = degenerate;
  return r;
}

int SimplexWork::Impl::progressCheck() {
  ProgressState& p = prog;
  ++p.checks;
  const ProgressRecord rec = takeRecord();
  logIteration(false);
  if (!p.window.valid) p.window = rec;
  p.prev = p.last;
  p.last = rec;
  const ProgressRecord& prev = p.prev;
  const bool suppressed = lastReason == kRefactorFallback || lastReason == kRefactorPerturbation ||
                          bl.recoveries != p.recoveriesSeen;
  p.recoveriesSeen = bl.recoveries;
  if (!prev.valid || rec.iterations <= prev.iterations) return kProgressContinue;

  // Best basis: less infeasible, or as feasible with a better objective.
  if (rec.pinf < p.bestPinf || (rec.pinf == p.bestPinf && rec.npinf == 0 && rec.objective < p.bestObjective)) {
    p.bestPinf = rec.pinf;
    p.bestObjective = rec.objective;
    saveBasis(true);
  }

  int result = 0;
  if (same(rec.objective, prev.objective) && same(rec.pinf, prev.pinf))
    ++p.cycling;
  else
    p.cycling = kCyclingStart;
  if (p.cycling > kCyclingThreshold) {
    if (tracing()) traceLine(" WARNING: cycling threshold (%d) reached", p.cycling);
    result = (opt.dpSwitch == 0 || opt.dpSwitch > 2) ? 3 : 2;
    p.cycling = kCyclingStart;
  }
  if (result > 2) {
    if (prev.pinf * kFarBetter < rec.pinf && prev.dinf * kFarBetter < rec.dinf && bl.fallback.valid) {
      requestRefactor(kRefactorFallback, __FILE_NAME__, __LINE__);
      result = 4;
    }
    const int old = bl.ratRange;
    if (bl.ratRange < 3 && bl.ratRangeInitial > 3)
      bl.ratRange = 4;
    else if (bl.ratRange != 3 && bl.ratRangeInitial > 2)
      bl.ratRange = 3;
    if (old != bl.ratRange && tracing())
      traceLine(" set ratrange:%d (old:%d), ierr=%d, file=%s(%d)", bl.ratRange, old, result, __FILE_NAME__,
                __LINE__);
  }
  if (result == 2) return kProgressSwitch;

  if (!suppressed) {
    // The primal lowers its objective once feasible and its infeasibility
    // before; the dual raises its objective.
    const double tolObj = kDegradeRel * std::max(1.0, std::fabs(prev.objective));
    const double objWorse = methodChar == 'D' ? prev.objective - rec.objective : rec.objective - prev.objective;
    const bool phase1 = methodChar == 'P' && (rec.npinf > 0 || prev.npinf > 0);
    const bool degraded = phase1 ? rec.pinf > prev.pinf + kDegradeRel * std::max(1.0, prev.pinf)
                                 : (rec.ndinf == 0 || methodChar == 'P') && objWorse > tolObj;
    int h = kProgressContinue;
    if (degraded) {
      h = degradationHandler(objWorse);
    } else if (stalled(rec.objective, prev.objective) && stalled(rec.pinf, prev.pinf)) {
      h = noImprovementHandler();
    } else {
      p.noImprovement = 0;
    }
    if (h != kProgressContinue) return h;
  }

  checkBigM(rec);

  if (bl.ratRange < bl.ratRangeInitial) {
    if (p.ratRangeLoweredCheck < 0) p.ratRangeLoweredCheck = p.checks;
    if (p.checks - p.ratRangeLoweredCheck >= kRatRangeRaiseChecks) {
      ++bl.ratRange;
      p.ratRangeLoweredCheck = p.checks;
      if (tracing())
        traceLine(" new ratrange:%d (old:%d), ierr=%d, file=%s(%d)", bl.ratRange, bl.ratRange - 1, 0, __FILE_NAME__,
                  __LINE__);
    }
  } else {
    p.ratRangeLoweredCheck = -1;
  }

  // Single-phase dual: cost perturbation when almost every iteration since
  // the last check was degenerate, examined on every second factorisation.
  if (methodChar == 'D' && opt.dualPhase == 3 && factorCount % 2 == 0 && rec.ndinf > 0) {
    const double iters = rec.iterations - prev.iterations;
    const int deg = rec.degenerate - prev.degenerate;
    if (deg > kDualDegenerateShare * iters) {
      if (ctx->traceMask > 1)
        log(pert.active ? "\nRestarting dual perturbation due to degeneracy... (toldeg-olddeg=%d, iter-olditer=%g)"
                        : "\nStarting dual perturbation due to degeneracy... (toldeg-olddeg=%d, iter-olditer=%g)",
            deg, iters);
      perturb(__FILE_NAME__, __LINE__);
      lowerCepsAfterPerturbation();
    }
  }

  if (p.checks > 2 && p.checks % kWindowChecks == 1) {
    const double iters = rec.iterations - p.window.iterations;
    const double deg = rec.degenerate - p.window.degenerate;
    const bool progress = rec.objective != p.window.objective || rec.pinf != p.window.pinf;
    if (lastReason != kRefactorFallback && iters > kWindowFill * kWindowChecks * refactorFrequency &&
        deg > kDegenerateShare * iters && pert.ptval > kPtvalDegenerateMin && progress) {
      if (tracing()) traceLine(" too many degenerate iterations.(%d/%g)", static_cast<int>(deg), iters);
      perturb(__FILE_NAME__, __LINE__);
    }
    p.window = rec;
  }
  return kProgressContinue;
}

int SimplexWork::Impl::severeLadder() {
  ProgressState& p = prog;
  if (p.severe == kSevereToPartial && methodChar == 'P' && primalPricingMode == kPricingDevex) {
    if (tracing()) {
      traceLine(" severe degrading of solutions.");
      traceLine(" switch to partial");
    }
    primalPricingMode = kPricingPartial;
    p.partialForced = true;
  }
  if (p.severe > kSevereLimit) {
    if (opt.oprFree & 16) return kProgressSwitch;
    if (!pert.active) return kProgressNumerical;
    removePerturbation(__FILE_NAME__, __LINE__);
  }
  return kProgressContinue;
}

int SimplexWork::Impl::degradationHandler(double objWorse) {
  ProgressState& p = prog;
  ++p.degradations;
  int result = kProgressContinue;
  if (p.degradations < kDegradeEscalate) {
    if (p.degradations % kDegradeStride == 0) {
      if (refactorFrequency > kRefactorLowerFrom && refactorFrequency - kRefactorStep >= kMinRefactorFrequency) {
        refactorFrequency -= kRefactorStep;
        if (tracing())
          traceLine(" new refactfrq:%d (change:%d), fiter=%d, file=%s(%d)", refactorFrequency, -kRefactorStep, updates,
                    __FILE_NAME__, __LINE__);
      }
      double maxInf = 0.0;
      sumPrimalInfeas(nullptr, &maxInf);
      if (std::fabs(p.last.objective) < kHugeObjective && maxInf > kFarInfeasible * primalTol && objWorse > dualTol &&
          dualTol <= opt.maxOptTol) {
        const double cut = kCepsCut * dualTol;
        if (cut >= opt.minOptTol) {
          dualTol = cut;
          p.tolChangedAtFactor = factorCount;
          if (tracing()) traceLine(" new ceps:%e (factor:%e), file=%s(%d)", dualTol, kCepsCut, __FILE_NAME__, __LINE__);
        } else {
          dualTol = opt.minOptTol;
          p.tolChangedAtFactor = factorCount;
        }
      }
    }
  } else {
    if (pert.ptval > kPtvalRestartMin) {
      if (tracing()) traceLine(" inferior solutions");
      perturb(__FILE_NAME__, __LINE__);
    }
    p.degradations = 0;
    ++p.severe;
    result = severeLadder();
  }
  const double doubled = 2.0 * pivRel;
  if (pivRel < kMkwepsDoubleBelow && doubled >= kMkwepsMin && doubled <= kMkwepsMax) {
    pivRel = doubled;
    if (lu) lu->setDoubleOption(kLuDparEpsPivRel, pivRel);
    if (tracing())
      traceLine(" new mkweps:%g, fiter:%d, rcond:%g, cond2est:%g, file=%s(%d)", pivRel, updates, rcond, cond2,
                __FILE_NAME__, __LINE__);
  }
  return result;
}

int SimplexWork::Impl::noImprovementHandler() {
  ProgressState& p = prog;
  ++p.noImprovement;
  if (p.noImprovement <= kStallChecks) return kProgressContinue;
  if (pert.ptval <= kPtvalRestartMin) {
    if (pert.active || p.noImprovement > kStallGiveUp) {
      if (tracing()) traceLine(" no improvements.. ptval threshold reached %e", pert.ptval);
      removePerturbation(__FILE_NAME__, __LINE__);
      if ((opt.dpSwitch != 0 || p.noImprovement > kStallGiveUp) && p.last.iterations > p.prev.iterations)
        return kProgressSwitch;
    }
  } else {
    if (tracing()) traceLine(" no improvements.. ptval=%e", pert.ptval);
    perturb(__FILE_NAME__, __LINE__);
    p.noImprovement = 0;
  }
  const double iters = p.last.iterations - p.prev.iterations;
  if (iters > 0 && p.last.degenerate - p.prev.degenerate < kDegenerateShare * iters) {
    ++p.severe;
    return severeLadder();
  }
  return kProgressContinue;
}

}  // namespace torva::simplex
