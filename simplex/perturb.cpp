// Perturbation against degeneracy, started and removed by the progress
// checks. The primal shifts the bounds of basic variables that sit on a
// bound by random amounts below the feasibility tolerance, so that ties in
// the ratio test break; the dual shifts the costs of nonbasic columns with
// (near) zero reduced cost so that ties in its ratio test break. Both draw
// from the work area's own generator, so a solve is repeatable.
// The primal's own bound shifts live in the same list: those of its ratio
// test and its start perturbation (silent).
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// ptval is halved on every third perturbation while above this.
constexpr double kPtvalHalveMin = 1e-16;
constexpr int kPtvalHalveEvery = 3;

// Dual cost shifts: the scale delta is the smallest reduced cost above the
// optimality tolerance, clamped to [kDeltaMin, kDeltaMax]; a shift is
// (|c_j| delta + delta) delta times a random factor in [1, 2), plus ceps.
constexpr double kDeltaMin = 0.0005;
constexpr double kDeltaMax = 0.05;
// Random integers of the dual shifts come from [0, kRandMax].
constexpr int kRandMax = 32767;

// Start perturbation of the primal: the bounds of the basic variables of
// the start basis that sit on a bound (within reps; fixed ones excepted)
// move outwards by kStartShiftFactor x reps x (1 + |bound|) (|bound| capped
// at kStartShiftCap) times a random factor in [kStartShiftLow, 1]. A
// thousand times reps (1e-4 by default) is far beyond what the Harris pass
// lets a step swallow, so ties at those bounds break, yet small enough that
// removing the shifts at the end leaves infeasibilities a few iterations
// clear; the random factor keeps the expanded bounds of rows with equal data
// apart. Measured alternatives: every basic variable (dano3mip's relaxation
// 66,000 iterations instead of 37,000), also the nonbasic ones (moving their
// values puts every equality row out of balance: air04 28,000 instead of
// 22,000), also the
// fixed ones (degen3, swath and the multicommodity models 18-60% more),
// 100 x reps (no better).
constexpr double kStartShiftFactor = 1000.0;
constexpr double kStartShiftCap = 10.0;
constexpr double kStartShiftLow = 0.5;

}  // namespace

void SimplexWork::Impl::perturb(const char* file, int line) {
  const bool restart = pert.active;
  ++pert.count;
  if (pert.count % kPtvalHalveEvery == 0 && pert.ptval > kPtvalHalveMin) pert.ptval *= 0.5;
  if (tracing())
    traceLine(restart ? " restarting perturbation(%d), ptval=%e, fiter=%d, file=%s(%d)"
                      : " starting   perturbation(%d), ptval=%e, fiter=%d, file=%s(%d)",
              pert.count, pert.ptval, updates, file, line);
  pert.active = true;
  if (methodChar == 'P') {
    // Basic variables on (or within reps of) a bound: move the bound away
    // so that the variable lies r x reps x (1 - ptval) inside it.
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double span = primalTol * (1.0 - pert.ptval);
    for (int k = 0; k < m; ++k) {
      const int j = basicVar[k];
      const double v = x[j];
      double shift = 0.0;
      if (lower[j] > -kInf && std::fabs(v - lower[j]) <= primalTol && lower[j] != upper[j]) {
        const double nl = v - u(rng) * span;
        shift = lower[j] - nl;
        if (shift <= 0.0) continue;
        if (!pert.marked(j)) pert.remember(j, lower[j], upper[j]);
        lower[j] = nl;
      } else if (upper[j] < kInf && std::fabs(v - upper[j]) <= primalTol && lower[j] != upper[j]) {
        const double nu = v + u(rng) * span;
        shift = nu - upper[j];
        if (shift <= 0.0) continue;
        if (!pert.marked(j)) pert.remember(j, lower[j], upper[j]);
        upper[j] = nu;
      }
      pert.size += shift;
    }
    return;
  }
  // Dual: the degenerate nonbasic columns get their costs shifted in the
  // direction that keeps them dual feasible with a margin.
  double delta = kInf;
  for (int j = 0; j < nt; ++j)
    if (pos[j] < 0 && std::fabs(d[j]) > dualTol) delta = std::min(delta, std::fabs(d[j]));
  delta = std::clamp(delta == kInf ? kDeltaMax : delta, kDeltaMin, kDeltaMax);
  std::uniform_int_distribution<int> draw(0, kRandMax);
  const int total = n + m;
  for (int j = 0; j < n; ++j) {
    if (pos[j] >= 0 || lower[j] == upper[j] || std::fabs(d[j]) >= dualTol) continue;
    const int r = draw(rng);
    const double size =
        (std::fabs(cost[j]) * delta + delta) * delta * (static_cast<double>(r % total + total) / total) + dualTol;
    double dir = 1.0;
    if (at[j] == kAtUpper) dir = -1.0;
    if (at[j] == kAtZero) dir = (draw(rng) & 1) ? 1.0 : -1.0;
    cost[j] += dir * size;
    d[j] += dir * size;
    pert.size += size;
  }
  costShifted = true;
}

void SimplexWork::Impl::removePerturbation(const char* file, int line) {
  if (!pert.active) return;
  if (tracing()) traceLine(" removing perturbation(%d), file=%s(%d)", pert.count, file, line);
  dropPerturbation();
  if (methodChar == 'D' && costShifted) {
    cost = lp.cost;
    costShifted = false;
  }
  requestRefactor(kRefactorPerturbation, file, line);
}

void SimplexWork::Impl::dropPerturbation() {
  for (std::size_t k = 0; k < pert.shifted.size(); ++k) {
    const int j = pert.shifted[k];
    lower[j] = pert.oldLower[k];
    upper[j] = pert.oldUpper[k];
    pert.mark[j] = 0;
    if (pos[j] < 0) placeAt(j, static_cast<NonbasicAt>(at[j]));
  }
  pert.shifted.clear();
  pert.oldLower.clear();
  pert.oldUpper.clear();
  pert.active = false;
  pert.size = 0.0;
}

void SimplexWork::Impl::shiftBound(int j, bool lowerSide, double value) {
  if (!pert.marked(j)) pert.remember(j, lower[j], upper[j]);
  double& bound = lowerSide ? lower[j] : upper[j];
  pert.size += std::fabs(bound - value);
  bound = value;
}

double SimplexWork::Impl::leavingBound(int j, double target) {
  const double v = x[j];
  if (std::fabs(v - target) > primalTol || v == target) return target;
  if (lp.lower[j] == lp.upper[j]) {
    // A fixed variable stays fixed, at its value.
    if (lower[j] != v) shiftBound(j, true, v);
    if (upper[j] != v) shiftBound(j, false, v);
    return v;
  }
  const bool lowerSide = target == lower[j];
  if (lowerSide ? v > target : v < target) return target;  // inside: rounding
  shiftBound(j, lowerSide, v);
  return v;
}

void SimplexWork::Impl::perturbBoundsAtStart() {
  std::uniform_real_distribution<double> u(kStartShiftLow, 1.0);
  const auto step = [&](double bound) {
    return kStartShiftFactor * primalTol * (1.0 + std::min(std::fabs(bound), kStartShiftCap)) * u(rng);
  };
  for (int k = 0; k < m; ++k) {
    const int j = basicVar[k];
    const bool atLower = std::fabs(x[j] - lower[j]) <= primalTol;
    if (lower[j] == upper[j] || !(atLower || std::fabs(x[j] - upper[j]) <= primalTol)) continue;
    if (lower[j] > -kInf) shiftBound(j, true, lower[j] - step(lower[j]));
    if (upper[j] < kInf) shiftBound(j, false, upper[j] + step(upper[j]));
  }
}

void SimplexWork::Impl::restoreTrueBounds() {
  if (!pert.active && !hasShifts()) return;
  dropPerturbation();
  computePrimal();
}

void SimplexWork::Impl::removeShifts(const char* file, int line) {
  if (pert.active) {
    removePerturbation(file, line);
    return;
  }
  if (pert.shifted.empty()) return;
  dropPerturbation();
  requestRefactor(kRefactorPerturbation, file, line);
}

}  // namespace torva::simplex
