// Independent parts of the tree. When the rows of the relaxation (cut rows
// included) leave the fractional integer variables of the root in groups
// that share no row once the fixed columns are set aside, the objective is
// the sum of the groups' shares, and each group can be searched alone: its
// nodes branch only on its own variables, keep the other groups at the root
// optimum, and are pruned against the best point found for the group. The
// groups get a heap each and are served in turn; the incumbent is the root
// optimum with the best slice of every group written over it.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "base/log.hpp"
#include "bnb/search.hpp"

namespace torva::bnb {
namespace {

int findRoot(std::vector<int>& up, int j) {
  while (up[static_cast<std::size_t>(j)] != j) {
    up[static_cast<std::size_t>(j)] = up[static_cast<std::size_t>(up[static_cast<std::size_t>(j)])];
    j = up[static_cast<std::size_t>(j)];
  }
  return j;
}

}  // namespace

int Search::openCount() const {
  int open = 0;
  for (const auto& heap : heaps_) open += heap->size();
  return open;
}

int Search::nextHeap() {
  const int parts = static_cast<int>(heaps_.size());
  if (!split()) return heaps_[0]->empty() ? -1 : 0;
  // A part whose tree is closed without a point of its own was pruned by the
  // incumbent everywhere: no better joined point exists.
  for (int k = 0; k < parts; ++k)
    if (heaps_[static_cast<std::size_t>(k)]->empty() && partBest_[static_cast<std::size_t>(k)] >= 1e30) return -1;
  for (int step = 0; step < parts; ++step) {
    const int k = (turn_ + step) % parts;
    if (!heaps_[static_cast<std::size_t>(k)]->empty()) {
      turn_ = (k + 1) % parts;
      return k;
    }
  }
  return -1;
}

double Search::partShare(int part, const std::vector<double>& x) const {
  double s = 0.0;
  for (int j = 0; j < n_; ++j)
    if (partOf_[static_cast<std::size_t>(j)] == part) s += data_.cost[static_cast<std::size_t>(j)] * x[static_cast<std::size_t>(j)];
  return s * ctx_.sense;
}

double Search::partCutoff(int part) const {
  const std::size_t k = static_cast<std::size_t>(part);
  if (partBest_[k] >= 1e30) return 1e30;
  // The part's best slice with the other parts at the root optimum, less the
  // step the whole objective moves by (a part's share moves by multiples of
  // it too).
  const double whole = rootObj_ - partRoot_[k] + partBest_[k];
  return whole - std::max(objStep_, std::min(ctx_.relOptTol, 1e-10) * (std::fabs(whole) + 1.0));
}

double Search::nodeValue(const RelaxResult& r) const {
  if (!split()) return r.objective;
  const std::size_t k = static_cast<std::size_t>(curPart_);
  return rootObj_ - partRoot_[k] + partShare(curPart_, r.x);
}

double Search::cutoffFor(int part) const {
  return split() ? std::min(ctx_.cutoffValue, partCutoff(part)) : ctx_.cutoffValue;
}

void Search::takeParts(const std::vector<double>& x, int onlyPart) {
  bool changed = false;
  for (std::size_t k = 0; k < partBest_.size(); ++k) {
    if (onlyPart >= 0 && static_cast<int>(k) != onlyPart) continue;
    const double share = partShare(static_cast<int>(k), x);
    const double whole = rootObj_ - partRoot_[k] + share;
    if (whole >= partCutoff(static_cast<int>(k))) continue;
    partBest_[k] = share;
    for (int j = 0; j < n_; ++j)
      if (partOf_[static_cast<std::size_t>(j)] == static_cast<int>(k))
        joined_[static_cast<std::size_t>(j)] = x[static_cast<std::size_t>(j)];
    changed = true;
  }
  if (!changed || joining_) return;
  for (double b : partBest_)
    if (b >= 1e30) return;
  joining_ = true;
  offerSolution(joined_, onlyPart >= 0 ? kFoundByTree : kFoundByHeuristic);
  joining_ = false;
}

bool Search::splitTree(int root, const RelaxResult& r) {
  const ModelData& d = relax_->data();
  if (data_.hasQuadratic() || data_.hasCones() || d.n != n_ || r.x.size() != static_cast<std::size_t>(n_)) return false;
  // Columns joined by the rows they share (fixed columns join nothing).
  std::vector<int> up(static_cast<std::size_t>(n_));
  std::iota(up.begin(), up.end(), 0);
  std::vector<int> firstInRow(static_cast<std::size_t>(d.m), -1);
  for (int j = 0; j < n_; ++j) {
    if (rootLo_[static_cast<std::size_t>(j)] >= rootUp_[static_cast<std::size_t>(j)]) continue;
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) {
      int& first = firstInRow[static_cast<std::size_t>(d.rowIdx[k])];
      if (first < 0) first = j;
      else up[static_cast<std::size_t>(findRoot(up, j))] = findRoot(up, first);
    }
  }
  // Parts: the groups holding a fractional integer variable, numbered by
  // their first column.
  std::vector<int> partOfGroup(static_cast<std::size_t>(n_), -1);
  std::vector<int> fractional;
  int parts = 0;
  for (int j = 0; j < n_; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    if (!isInt_[u] || integral(r.x[u])) continue;
    int& p = partOfGroup[static_cast<std::size_t>(findRoot(up, j))];
    if (p < 0) p = parts++;
    fractional.push_back(j);
  }
  if (parts < 2) return false;
  partOf_.assign(static_cast<std::size_t>(n_), -1);
  for (int j = 0; j < n_; ++j) {
    if (rootLo_[static_cast<std::size_t>(j)] >= rootUp_[static_cast<std::size_t>(j)]) continue;
    partOf_[static_cast<std::size_t>(j)] = partOfGroup[static_cast<std::size_t>(findRoot(up, j))];
  }
  std::vector<int> ninf(static_cast<std::size_t>(parts), 0);
  for (int j : fractional) ++ninf[static_cast<std::size_t>(partOf_[static_cast<std::size_t>(j)])];
  joined_ = r.x;
  partRoot_.assign(static_cast<std::size_t>(parts), 0.0);
  partBest_.assign(static_cast<std::size_t>(parts), 1e30);
  for (int k = 0; k < parts; ++k) partRoot_[static_cast<std::size_t>(k)] = partShare(k, r.x);
  const int order = currentOrder_;
  while (static_cast<int>(heaps_.size()) < parts)
    heaps_.push_back(std::make_unique<NodeHeap>(pool_, [this, order](int a, int b) { return nodeBefore(a, b, order); }));
  // Every part starts from the incumbent's slice when there is one.
  if (ctx_.hasIncumbent()) {
    joining_ = true;
    takeParts(ctx_.incumbentX, -1);
    joining_ = false;
  }
  if (ctx_.printLevel > 1 && hasLog(host_)) logPrint(host_, "\nIndependent tree is being used...\n");
  const auto basis = std::make_shared<PackedBasis>(r.colStatus, r.rowStatus);
  for (int k = 0; k < parts; ++k) {
    const int c = pool_.allocate();
    if (c < 0) return false;
    basisOf_.resize(static_cast<std::size_t>(pool_.count()));
    parentValue_.resize(static_cast<std::size_t>(pool_.count()));
    BnbNode& pn = pool_[c];
    pn.parent = root;
    pn.depth = pool_[root].depth + 1;
    pn.bound = r.objective;
    pn.ninf = static_cast<std::uint16_t>(std::min(ninf[static_cast<std::size_t>(k)], 65535));
    pn.flags = k == 0 ? kFlagFirstTree : kFlagOtherTree;
    pn.aux5 = k;
    basisOf_[static_cast<std::size_t>(c)] = basis;
    pushNode(c);
  }
  pool_[root].aux1 = parts;
  return true;
}

}  // namespace torva::bnb
