#include "simplex/decompose.hpp"

#include <numeric>

namespace torva {
namespace {

// Union-find over the rows, with path halving.
struct RowSets {
  std::vector<int> parent;
  explicit RowSets(int m) : parent(static_cast<std::size_t>(m)) {
    std::iota(parent.begin(), parent.end(), 0);
  }
  int find(int i) {
    while (parent[i] != i) i = parent[i] = parent[parent[i]];
    return i;
  }
  void join(int a, int b) {
    a = find(a);
    b = find(b);
    if (a != b) parent[std::max(a, b)] = std::min(a, b);
  }
};

}  // namespace

BlockSplit splitBlocks(const ModelData& d) {
  RowSets sets(d.m);
  for (int j = 0; j < d.n; ++j) {
    const int b = d.colBeg[j], e = b + d.colLen[j];
    for (int p = b + 1; p < e; ++p) sets.join(d.rowIdx[b], d.rowIdx[p]);
  }
  BlockSplit s;
  s.rowBlock.assign(static_cast<std::size_t>(d.m), -1);
  s.colBlock.assign(static_cast<std::size_t>(d.n), -1);
  std::vector<int> blockOfRoot(static_cast<std::size_t>(d.m), -1);
  for (int i = 0; i < d.m; ++i) {
    const int r = sets.find(i);
    if (blockOfRoot[r] < 0) blockOfRoot[r] = s.count++;
    s.rowBlock[i] = blockOfRoot[r];
  }
  for (int j = 0; j < d.n; ++j)
    s.colBlock[j] = d.colLen[j] > 0 ? s.rowBlock[d.rowIdx[d.colBeg[j]]] : s.count++;
  return s;
}

void extractBlock(const ModelData& d, const BlockSplit& split, int b, ModelData& out,
                  std::vector<int>& rows, std::vector<int>& cols) {
  rows.clear();
  cols.clear();
  std::vector<int> local(static_cast<std::size_t>(d.m), -1);
  for (int i = 0; i < d.m; ++i)
    if (split.rowBlock[i] == b) {
      local[i] = static_cast<int>(rows.size());
      rows.push_back(i);
    }
  for (int j = 0; j < d.n; ++j)
    if (split.colBlock[j] == b) cols.push_back(j);
  out.m = static_cast<int>(rows.size());
  out.n = static_cast<int>(cols.size());
  out.objSense = d.objSense;
  out.objConst = 0.0;
  out.rhs.clear();
  out.conType.clear();
  for (int i : rows) {
    out.rhs.push_back(d.rhs[i]);
    out.conType.push_back(d.conType[i]);
  }
  out.cost.clear();
  out.lower.clear();
  out.upper.clear();
  out.colBeg.assign(1, 0);
  out.colLen.clear();
  out.rowIdx.clear();
  out.value.clear();
  for (int j : cols) {
    out.cost.push_back(d.cost[j]);
    out.lower.push_back(d.lower[j]);
    out.upper.push_back(d.upper[j]);
    for (int p = d.colBeg[j], e = p + d.colLen[j]; p < e; ++p) {
      out.rowIdx.push_back(local[d.rowIdx[p]]);
      out.value.push_back(d.value[p]);
    }
    out.colLen.push_back(static_cast<int>(out.rowIdx.size()) - out.colBeg.back());
    out.colBeg.push_back(static_cast<int>(out.rowIdx.size()));
  }
  out.nnz = static_cast<int>(out.rowIdx.size());
  out.invalidateStats();
}

}  // namespace torva
