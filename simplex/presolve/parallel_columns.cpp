// Parallel (duplicate) columns, after Andersen and Andersen (1995), section
// on duplicate columns: two columns with a_j = lambda a_k over the live rows.
// - Equal costs in that ratio (c_j = lambda c_k): the pair acts only through
//   z = x_k + lambda x_j, so x_j goes and x_k carries z with the bounds the
//   sum can reach; postsolve splits z again.
// - Otherwise, when x_k is free its reduced cost is zero at every optimum,
//   so d_j = c_j - lambda c_k and x_j sits at the bound this sign asks for.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "simplex/presolve/passes.hpp"

namespace torva::presolve {

namespace {

// Columns are merged only when the ratio lies within these limits: postsolve
// recovers x_j as (z - x_k) / lambda, which magnifies the error of z by
// 1/|lambda| (three digits at most, as for the substitution pivots).
constexpr double kMinRatio = 1e-3;
constexpr double kMaxRatio = 1e3;

double sumBound(double a, double b) { return std::fabs(a) >= kInf || std::fabs(b) >= kInf ? (a + b > 0 ? kInf : -kInf) : a + b; }

// Live entries of column j sorted by row.
std::vector<Entry> liveShape(const Problem& p, int j) {
  std::vector<Entry> s;
  for (const Entry& e : p.a.cols[j])
    if (p.rowOn[e.idx]) s.push_back(e);
  std::sort(s.begin(), s.end(), [](const Entry& x, const Entry& y) { return x.idx < y.idx; });
  return s;
}

bool parallel(const std::vector<Entry>& sj, const std::vector<Entry>& sk, double lambda) {
  if (sj.size() != sk.size()) return false;
  for (std::size_t q = 0; q < sj.size(); ++q)
    if (sj[q].idx != sk[q].idx || std::fabs(sj[q].val - lambda * sk[q].val) > scaled(kDecideTol, sj[q].val))
      return false;
  return true;
}

// Merges x_j into x_k: x_k now stands for x_k + lambda x_j.
void merge(Problem& p, std::vector<Step>& steps, int j, int k, double lambda) {
  Step s{StepKind::ParallelCol};
  s.col = j, s.col2 = k, s.a = lambda;
  s.v1 = p.lo[j], s.v2 = p.up[j], s.v3 = p.lo[k], s.v4 = p.up[k];
  steps.push_back(s);
  // Bounds of lambda x_j; an infinite bound stays infinite (scaling it by
  // |lambda| < 1 would make it look finite).
  const double jForLo = lambda > 0 ? p.lo[j] : p.up[j], jForUp = lambda > 0 ? p.up[j] : p.lo[j];
  const double jLo = std::fabs(jForLo) >= kInf ? -kInf : lambda * jForLo;
  const double jUp = std::fabs(jForUp) >= kInf ? kInf : lambda * jForUp;
  p.lo[k] = sumBound(p.lo[k], jLo);
  p.up[k] = sumBound(p.up[k], jUp);
  p.boundsMoved(k);
  for (const Entry& e : p.a.cols[j])
    if (p.rowOn[e.idx]) --p.rowCnt[e.idx], p.touchRow(e.idx);
  p.colOn[j] = 0;
  p.touchCol(j);
}

// x_k is free, so d_j = c_j - lambda c_k at every optimum: a sign fixes x_j.
// Returns true when x_j went.
bool fixAgainstFree(Problem& p, std::vector<Step>& steps, int j, int k, double lambda) {
  if (finiteLo(p.lo[k]) || finiteUp(p.up[k])) return false;
  const double dj = p.cost[j] - lambda * p.cost[k];
  const double tol = scaled(kDecideTol, std::fabs(p.cost[j]) + std::fabs(lambda * p.cost[k]));
  if (dj > tol && finiteLo(p.lo[j])) fixColumn(p, steps, j, p.lo[j]);
  else if (dj < -tol && finiteUp(p.up[j])) fixColumn(p, steps, j, p.up[j]);
  else return false;
  return true;
}

}  // namespace

Verdict parallelColumnPass(Problem& p, std::vector<Step>& steps) {
  // Keys are kept from earlier runs for the columns not stamped since; two
  // such columns were compared in the last run and both kept.
  const long long last = p.seen.parallelCols;
  p.seen.parallelCols = p.clock;
  std::vector<std::pair<std::uint64_t, int>> keyed;
  for (int j = 0; j < p.n; ++j) {
    if (!p.colOn[j] || p.colCnt[j] < 1) continue;
    keyed.push_back(
        {cachedPatternKey(p, p.a.cols[j], p.rowOn, p.colShapeStamp[j], p.seen.colKey[j], p.seen.colKeyAt[j]), j});
  }
  const auto changed = [&](int j) { return !p.unchangedSince(p.colStamp[j], last); };
  for (const std::vector<int>& cols : sameKeyGroups(keyed)) {
    if (std::none_of(cols.begin(), cols.end(), changed)) continue;
    std::vector<std::vector<Entry>> shapes;
    for (int j : cols) shapes.push_back(liveShape(p, j));
    for (std::size_t x = 0; x < cols.size(); ++x) {
      const int k = cols[x];
      if (!p.colOn[k]) continue;
      const std::vector<Entry>& sk = shapes[x];
      for (std::size_t z = x + 1; z < cols.size() && p.colOn[k]; ++z) {
        const int j = cols[z];
        if (!p.colOn[j] || (!changed(j) && !changed(k))) continue;
        const std::vector<Entry>& sj = shapes[z];
        if (sj.empty() || sj.size() != sk.size()) continue;
        const double lambda = sj[0].val / sk[0].val;
        if (!parallel(sj, sk, lambda)) continue;
        const double costGap = p.cost[j] - lambda * p.cost[k];
        const double tol = scaled(kDecideTol, std::fabs(p.cost[j]) + std::fabs(lambda * p.cost[k]));
        if (std::fabs(costGap) <= tol) {
          if (std::fabs(lambda) >= kMinRatio && std::fabs(lambda) <= kMaxRatio) merge(p, steps, j, k, lambda);
        } else if (!fixAgainstFree(p, steps, j, k, lambda)) {
          fixAgainstFree(p, steps, k, j, 1.0 / lambda);
        }
      }
    }
  }
  return Verdict::Reduced;
}

}  // namespace torva::presolve
