// Choice of the branching variable: most fractional (rule 2), or pseudo
// costs with the score the pseudo-cost rule names, made reliable by strong branching on the
// upper levels of the tree (Achterberg, Koch and Martin 2005).
#include <algorithm>
#include <cmath>

#include "bnb/search.hpp"

namespace torva::bnb {
namespace {

// A pseudo cost counts as reliable after this many observations per side.
constexpr int kReliable = 4;
// Candidates strong branching looks at, at most.
constexpr int kMaxStrongCandidates = 10;
// Simplex iterations allowed to each strong-branching child.
constexpr double kStrongIterations = 60;
// Floor of each side of the product score, so that a zero side still ranks.
constexpr double kScoreEps = 1e-6;

}  // namespace

void PseudoCosts::resize(int n) {
  sumDown.assign(static_cast<std::size_t>(n), 0.0);
  sumUp.assign(static_cast<std::size_t>(n), 0.0);
  cntDown.assign(static_cast<std::size_t>(n), 0);
  cntUp.assign(static_cast<std::size_t>(n), 0);
}

void PseudoCosts::record(int j, bool upSide, double gain) {
  const std::size_t u = static_cast<std::size_t>(j);
  if (upSide) {
    sumUp[u] += gain;
    ++cntUp[u];
    totalUp += gain;
    ++obsUp;
    avgUp = totalUp / obsUp;
  } else {
    sumDown[u] += gain;
    ++cntDown[u];
    totalDown += gain;
    ++obsDown;
    avgDown = totalDown / obsDown;
  }
}

double PseudoCosts::down(int j) const {
  const std::size_t u = static_cast<std::size_t>(j);
  return cntDown[u] ? sumDown[u] / cntDown[u] : avgDown;
}

double PseudoCosts::up(int j) const {
  const std::size_t u = static_cast<std::size_t>(j);
  return cntUp[u] ? sumUp[u] / cntUp[u] : avgUp;
}

void Search::strongBranch(const std::vector<int>& cands, const RelaxResult& r, const std::vector<double>& lo,
                          const std::vector<double>& up) {
  std::vector<double> l = lo, u = up;
  RelaxResult child;
  // Every child starts from the node's optimal basis with its factors and
  // dual weights (kept aside and made resident again before each solve), and
  // the node's children find them resident afterwards. Without a kept state
  // each child starts from the basis the previous one ended with, which is
  // dual feasible for every bound change too.
  const int home = lastSolved_;
  const auto homeState = relax_->keepResident();
  bool atHome = true;
  for (int j : cands) {
    const std::size_t uj = static_cast<std::size_t>(j);
    const double v = r.x[uj];
    const double fl = std::floor(v);
    for (int side = 0; side < 2; ++side) {
      if (side == 0) u[uj] = fl;
      else l[uj] = fl + 1;
      if (!atHome && homeState) relax_->resume(*homeState);
      relax_->solve(l, u, nullptr, QX_METHOD_DSIMPLEX, ctx_.cutoffValue, timeLeft(), kStrongIterations, child);
      atHome = false;
      ++ctx_.lpCount;
      ctx_.simplexIters += child.iterations;
      ctx_.optTime += child.seconds;
      l[uj] = lo[uj];
      u[uj] = up[uj];
      double gain;
      if (child.status == RelaxStatus::Optimal || child.status == RelaxStatus::IterationLimit)
        gain = std::max(0.0, child.objective - r.objective);
      else if (child.status == RelaxStatus::Infeasible || child.status == RelaxStatus::Cutoff)
        gain = std::max(ctx_.cutoffValue < 1e30 ? ctx_.cutoffValue - r.objective : 0.0, 1.0 + std::fabs(r.objective));
      else
        continue;
      const double dist = side == 0 ? v - fl : fl + 1 - v;
      pc_.record(j, side == 1, gain / dist);
    }
  }
  lastSolved_ = homeState && relax_->resume(*homeState) ? home : -1;
}

int Search::chooseVariable(int node, const RelaxResult& r, const std::vector<double>& lo,
                           const std::vector<double>& up, double* score) {
  std::vector<int> cands;
  const bool usePrio = !data_.priority.empty() && ctx_.opt.branchPrio != 3;
  int bestPrio = 0;
  bool anyBinary = false;
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (!isInt_[u] || integral(r.x[u]) || (split() && partOf_[u] != curPart_)) continue;
    cands.push_back(j);
    if (usePrio) bestPrio = cands.size() == 1 ? data_.priority[u] : std::max(bestPrio, data_.priority[u]);
    anyBinary |= data_.typeOf(j) == 'B';
  }
  // Priorities, and binaries before general integers under rule 4.
  std::erase_if(cands, [&](int j) {
    if (usePrio && ctx_.opt.branchPrio != 4 && data_.priority[static_cast<std::size_t>(j)] != bestPrio) return true;
    return ctx_.opt.branchPrio == 4 && anyBinary && data_.typeOf(j) != 'B';
  });
  auto frac = [&](int j) { return r.x[static_cast<std::size_t>(j)] - std::floor(r.x[static_cast<std::size_t>(j)]); };
  if (ctx_.opt.branchRule == 2) {
    int best = cands.front();
    double bestF = -1.0;
    for (int j : cands) {
      const double f = std::min(frac(j), 1.0 - frac(j));
      if (f > bestF + 1e-12) bestF = f, best = j;
    }
    *score = bestF;
    return best;
  }
  // Score of the two estimated gains by QX_IPARAM_MIP_PSEUDOCOST_RULE: the
  // smaller (1) or the larger (2) of them; the weighted sum W lo + hi with
  // W = QX_DPARAM_MIP_PSEUDOCOST_WEIGT, plus the product (3) or alone (4);
  // the product for any other value. The largest score is branched on.
  auto pcScore = [&](int j) {
    const double f = frac(j);
    const double down = std::max(pc_.down(j) * f, kScoreEps), upGain = std::max(pc_.up(j) * (1.0 - f), kScoreEps);
    const double lo = std::min(down, upGain), hi = std::max(down, upGain);
    switch (ctx_.opt.pseudoCostRule) {
      case 1: return lo;
      case 2: return hi;
      case 3: return ctx_.opt.pseudoCostWeight * lo + hi + lo * hi;
      case 4: return ctx_.opt.pseudoCostWeight * lo + hi;
      default: return lo * hi;
    }
  };
  // Strong branching probes children with a few dual simplex iterations
  // from the node's basis; quadratic and conic relaxations have none.
  if (!nonlinear_ && pool_[node].depth <= ctx_.opt.strongBranchLevel) {
    std::vector<int> unreliable;
    for (int j : cands)
      if (std::min(pc_.cntDown[static_cast<std::size_t>(j)], pc_.cntUp[static_cast<std::size_t>(j)]) < kReliable)
        unreliable.push_back(j);
    std::sort(unreliable.begin(), unreliable.end(), [&](int a, int b) {
      const double fa = std::min(frac(a), 1 - frac(a)), fb = std::min(frac(b), 1 - frac(b));
      return pcScore(a) * (1 + fa) > pcScore(b) * (1 + fb);
    });
    const std::size_t limit = static_cast<std::size_t>(std::max(ctx_.opt.strongBranchDoNum, kMaxStrongCandidates));
    if (unreliable.size() > limit) unreliable.resize(limit);
    if (!unreliable.empty()) strongBranch(unreliable, r, lo, up);
  }
  int best = cands.front();
  double bestS = -1.0;
  for (int j : cands) {
    const double s = pcScore(j);
    if (s > bestS) bestS = s, best = j;
  }
  *score = bestS;
  return best;
}

}  // namespace torva::bnb
