// The orders of the open-node heap (best bound, depth first, worst bound,
// best estimate) and the adaptive switches between them during the search.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "bnb/search.hpp"

namespace torva::bnb {
namespace {

// Depth difference beyond which the best-bound order looks at depth first.
constexpr int kDepthGap = 10;

}  // namespace

bool Search::nodeBefore(int ia, int ib, int order) const {
  const BnbNode& a = pool_[ia];
  const BnbNode& b = pool_[ib];
  const bool ea = a.flags & kFlagBenignError, eb = b.flags & kFlagBenignError;
  if (ea != eb) return !ea;
  const double relTol = ctx_.relOptTol;
  // Sibling rule: the branch whose range holds the incumbent's value first.
  auto sibling = [&](int* result) {
    if (a.parent != b.parent || a.parent < 0 || a.branchVar != b.branchVar || a.branchVar < 0) return false;
    if (!ctx_.hasIncumbent()) return false;
    const double v = ctx_.incumbentX[static_cast<std::size_t>(a.branchVar)];
    auto holds = [&](const BnbNode& x) {
      return x.direction == kDirDown ? x.branchValue >= v : v >= x.branchValue;
    };
    if (holds(a) == holds(b)) return false;
    *result = holds(a);
    return true;
  };
  // Direction preference: 1 up first, 2 down first; -1 undecided.
  auto direction = [&]() -> int {
    const int pref = ctx_.opt.branchDir;
    if (pref == 0 || pref == 3) return -1;
    if (pref == 1 && a.direction != b.direction) return a.direction == kDirUp;
    if (pref == 2 && a.direction != b.direction) return a.direction == kDirDown;
    return pref == 1 || pref == 2 ? -1 : 0;
  };
  int res = 0;
  if (order == kOrderDepth) {
    if (a.depth != b.depth) return a.depth > b.depth;
    if (sibling(&res)) return res;
    if (a.bound != b.bound) return a.bound < b.bound;
    if (int d = direction(); d >= 0) return d;
    return a.estimate > b.estimate;
  }
  if (order == kOrderWorst) {
    const double cut = ctx_.cutoffValue;
    if (cut < 1e30) {
      const double tolc = std::max(1e-6, std::min(1e-4, relTol)) * 50.0 * (std::fabs(cut) + 1.0);
      const bool na = a.bound >= cut - tolc, nb = b.bound >= cut - tolc;
      if (na != nb) return !na;
    }
    const double tol = relTol * (std::fabs(ctx_.bestBound) + 1.0);
    if (std::fabs(a.bound - b.bound) > tol) return a.bound > b.bound;
    if (a.depth != b.depth) return a.depth > b.depth;
    if (int d = direction(); d >= 0) return d;
    return std::fabs(a.estimate) > std::fabs(b.estimate);
  }
  if (order == kOrderEstimate || order == kOrderEstimate2) {
    const double ka = order == kOrderEstimate ? a.estimate : 0.5 * (a.estimate + a.bound);
    const double kb = order == kOrderEstimate ? b.estimate : 0.5 * (b.estimate + b.bound);
    if (ka != kb) return ka < kb;
    if (a.bound != b.bound) return a.bound < b.bound;
    return a.depth > b.depth;
  }
  // Best bound.
  const double tol = std::min(1e-8, relTol) * (std::max(std::fabs(a.bound), std::fabs(b.bound)) + 1.0);
  if (a.bound < b.bound - tol) return true;
  if (b.bound < a.bound - tol) return false;
  if (sibling(&res)) return res;
  if (ctx_.opt.branchRule == 2 && a.ninf != b.ninf) return a.ninf < b.ninf;
  const bool near = std::min(a.bound, b.bound) <= ctx_.bestBound + tol;
  if (std::abs(a.depth - b.depth) > kDepthGap) return near ? a.depth < b.depth : a.depth > b.depth;
  const int small = std::min(a.ninf, b.ninf);
  if (std::abs(a.ninf - b.ninf) > (small >= 25 ? 15 : 5)) return a.ninf < b.ninf;
  if (a.parent == b.parent && a.branchVar == b.branchVar && a.branchVar >= 0) {
    const int h = history_[static_cast<std::size_t>(a.branchVar)];
    if (h != 0 && a.direction != b.direction) return h > 0 ? a.direction == kDirUp : a.direction == kDirDown;
  }
  if (a.depth != b.depth) return near ? a.depth < b.depth : a.depth > b.depth;
  if (int d = direction(); d >= 0) return d;
  return a.estimate > b.estimate;
}

void Search::installOrder(int order) {
  currentOrder_ = order;
  for (auto& heap : heaps_) heap->rebuild([this, order](int a, int b) { return nodeBefore(a, b, order); });
}

void Search::adaptOrder() {
  const long long open = openCount();
  const int threshold = ctx_.opt.anodesSwitch;
  // Open-node switch: worst bound while the tree is too large.
  if (threshold >= 0) {
    if (orderState_ != 1 && open > threshold) {
      savedState_ = orderState_;
      savedOrder_ = currentOrder_;
      orderState_ = 1;
      installOrder(kOrderWorst);
      return;
    }
    if (orderState_ == 1) {
      if (10 * open < std::max(std::min<long long>(threshold / 2, 1000), 9LL * threshold)) {
        // The order in force before the switch comes back, whichever step
        // installed it.
        orderState_ = savedState_;
        installOrder(savedOrder_);
      }
      return;
    }
  }
  const int rule = ctx_.opt.nodeSelRule;
  // Rules 4 and 6 (0 stands for 4) change the order by themselves, unless
  // QX_IPARAM_MIP_TREEREORDERMODE forbids reordering (3) or has
  // QX_IPARAM_MIP_TREEREORDERLEVEL bound the number of reorders (4).
  if (rule != 4 && rule != 6 && rule != 0) return;
  if (ctx_.opt.treeReorderMode == 3) return;
  if (ctx_.opt.treeReorderMode == 4 && reorders_ >= ctx_.opt.treeReorderLevel) return;
  const bool known = ctx_.hasIncumbent() || ctx_.useCutoffObj > 0;
  const double gap = ctx_.rgap;
  const long long sinceSwitch = ctx_.branchCount - switchBranch_;
  if (orderState_ == 3) {
    if (sinceSwitch < 2001 || !known) return;
    if (gap > 0 && gap < 0.005 && processed_ < 200001 && open < 20001) return;
    if (processed_ < 500001 || open < 7501) {
      if (gap > 0.0001 && open < 5001 && processed_ < 100001) return;
      if (gap <= 0.0001 && open < 20001) return;
      if (ctx_.lpCount - std::max(lastIncumbentLp_, switchLp_) < 1000) return;
    }
    const bool estimate = open < 5001 && pool_.capacity() < 100001 && !(processed_ > 500000 && open > 7500);
    installOrder(estimate ? kOrderEstimate : kOrderWorst);
    orderState_ = 5;
    ++reorders_;
    switchBranch_ = ctx_.branchCount;
    switchLp_ = ctx_.lpCount;
    openAtSwitch_ = open;
    return;
  }
  if (orderState_ == 5 && sinceSwitch < 5001) {
    const long long fewer = openAtSwitch_ > 1000 ? 50 : 10;
    if (open <= openAtSwitch_ - fewer && ctx_.lpCount - lastIncumbentLp_ > 10000 &&
        ctx_.lpCount - switchLp_ > 10000 && gap > 0.0001) {
      installOrder(kOrderBest);
      orderState_ = 3;
      ++reorders_;
      switchBranch_ = ctx_.branchCount;
      switchLp_ = ctx_.lpCount;
    }
  }
}

}  // namespace torva::bnb
