// Fractional diving: from a node's relaxation optimum, repeatedly round the
// least fractional integer variable by tightening its bound and reoptimise
// with the dual simplex, until the relaxation is integral (a new incumbent),
// infeasible after one backtrack, or the iteration budget is spent.
#include <algorithm>
#include <cmath>

#include "bnb/search.hpp"

namespace torva::bnb {
namespace {

// Simplex iterations a dive may spend: the iterations of the root relaxation,
// at least kMinDiveIterations; one step may take a quarter of that, at least
// kMinStepIterations (a step is a small bound change from a dual feasible
// basis: needing more means the dive is not worth its cost).
constexpr double kDiveIterationFactor = 1.0;
constexpr double kMinDiveIterations = 1000.0;
constexpr double kStepShare = 0.25;
constexpr double kMinStepIterations = 200.0;

}  // namespace

void Search::dive(const RelaxResult& start, const std::vector<double>& lo0, const std::vector<double>& up0) {
  const auto t0 = Clock::now();
  // The node's basis, factors and weights are kept aside, so that the node's
  // children still reoptimise from them after the dive.
  const int home = lastSolved_;
  const auto homeState = relax_->keepResident();
  std::vector<double> lo = lo0, up = up0;
  RelaxResult r = start;
  const double total = std::max(kMinDiveIterations, kDiveIterationFactor * rootResult_.iterations);
  double budget = total;
  PropagateSettings ps;
  ps.integersOnly = true;
  ps.rounds = 2;
  ps.intTol = ctx_.opt.intTol;
  for (int step = 0; step < n_ && budget > 0; ++step) {
    if (ctx_.stopRequested || (ctx_.opt.timeLimit >= 0 && ctx_.elapsed() >= ctx_.opt.timeLimit)) break;
    int pick = -1;
    double best = 2.0;
    for (int j = 0; j < n_; ++j) {
      const std::size_t u = static_cast<std::size_t>(j);
      if (!isInt_[u] || integral(r.x[u])) continue;
      const double f = r.x[u] - std::floor(r.x[u]);
      const double dist = std::min(f, 1.0 - f);
      if (dist < best) best = dist, pick = j;
    }
    if (pick < 0) {
      offerSolution(r.x, kFoundByHeuristic);
      break;
    }
    const std::size_t u = static_cast<std::size_t>(pick);
    const double v = r.x[u];
    const bool upFirst = v - std::floor(v) >= 0.5;
    bool ok = false;
    for (int attempt = 0; attempt < 2 && !ok; ++attempt) {
      std::vector<double> l = lo, h = up;
      if (upFirst != (attempt == 1)) l[u] = std::ceil(v);
      else h[u] = std::floor(v);
      if (!propagateBounds(data_, rows_, isInt_, ps, l, h)) continue;
      RelaxResult next;
      const double stepLimit = std::min(budget, std::max(kMinStepIterations, kStepShare * total));
      relax_->solve(l, h, nullptr, QX_METHOD_DSIMPLEX, ctx_.cutoffValue, timeLeft(), stepLimit, next);
      ++ctx_.lpCount;
      ctx_.simplexIters += next.iterations;
      ctx_.optTime += next.seconds;
      budget -= next.iterations;
      if (next.status != RelaxStatus::Optimal || next.objective >= ctx_.cutoffValue) continue;
      lo = std::move(l);
      up = std::move(h);
      r = std::move(next);
      ok = true;
    }
    if (!ok) break;
  }
  lastSolved_ = homeState && relax_->resume(*homeState) ? home : -1;
  ctx_.heuTime += std::chrono::duration<double>(Clock::now() - t0).count();
}

bool Search::completePartialStart(const std::vector<int>& vars, const std::vector<int>& values) {
  std::vector<double> lo = rootLo_, up = rootUp_;
  for (std::size_t k = 0; k < vars.size() && k < values.size(); ++k) {
    const int j = vars[k];
    if (j < 0 || j >= n_ || !isInt_[static_cast<std::size_t>(j)]) continue;
    lo[static_cast<std::size_t>(j)] = up[static_cast<std::size_t>(j)] = values[k];
  }
  PropagateSettings ps;
  ps.integersOnly = true;
  ps.intTol = ctx_.opt.intTol;
  if (!propagateBounds(data_, rows_, isInt_, ps, lo, up)) return false;
  const int before = ctx_.solutionsFound;
  RelaxResult r;
  const bool framed = beginFramed("PARTIAL STARTPOINT");
  relax_->solve(lo, up, nullptr, ctx_.opt.topOpt, ctx_.cutoffValue, timeLeft(), -1.0, r);
  if (framed) endFramed("PARTIAL STARTPOINT");
  countSolve(r);
  lastSolved_ = -1;
  if (r.status != RelaxStatus::Optimal) return false;
  if (countFractional(r.x, nullptr) == 0) offerSolution(r.x, kFoundByStart);
  else if (!nonlinear_) dive(r, lo, up);
  return ctx_.solutionsFound > before;
}

}  // namespace torva::bnb
