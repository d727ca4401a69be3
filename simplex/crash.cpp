// Starting bases of a fresh solve: the primal crash, and the columns of the
// host's start point that lie strictly between their bounds (superbasic),
// pivoted into the starting basis.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Total violation of the row bounds of row i (its slack) at activity act.
double rowViolation(const SimplexWork::Impl& w, int i, double act) {
  const double s = w.rhs[i] - act;
  const double lo = w.lower[w.n + i], up = w.upper[w.n + i];
  return std::max(0.0, lo - s) + std::max(0.0, s - up);
}

}  // namespace

// Primal crash. From the slack basis with every structural column at its
// lower bound (or its only finite bound):
// (a) the boxed columns, in ascending order of (u - l) c, move to their
//     upper bound whenever that lowers the total violation of the row bounds
//     (by more than the feasibility tolerance, so that rounding moves
//     nothing);
// (b) a column with a single entry replaces the slack of its row when the
//     row is an equality, or the column has no finite upper bound and the row
//     is violated, and the column reaches the row's bound without leaving its
//     lower bound: it is free below, or it is at its lower bound and its
//     coefficient has the sign of what the row still needs. The slack goes
//     to the bound it had to meet.
// Empty columns are reported with whether their cost opens a ray.
void SimplexWork::Impl::primalCrash() {
  resetSlackBasis();
  std::vector<double> act(m, 0.0);
  for (int j = 0; j < n; ++j) {
    if (x[j] == 0.0) continue;
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) act[lp.rowIndex[p]] += lp.colValue[p] * x[j];
  }
  // (a)
  std::vector<int> boxed;
  for (int j = 0; j < n; ++j)
    if (lower[j] > -kInf && upper[j] < kInf && lower[j] < upper[j] && at[j] == kAtLower &&
        lp.colStart[j + 1] > lp.colStart[j])
      boxed.push_back(j);
  const auto weight = [&](int j) { return (upper[j] - lower[j]) * cost[j]; };
  std::stable_sort(boxed.begin(), boxed.end(), [&](int a, int b) { return weight(a) < weight(b); });
  for (int j : boxed) {
    const double step = upper[j] - lower[j];
    double change = 0.0;
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) {
      const int i = lp.rowIndex[p];
      change += rowViolation(*this, i, act[i] + lp.colValue[p] * step) - rowViolation(*this, i, act[i]);
    }
    if (change >= -primalTol) continue;
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) act[lp.rowIndex[p]] += lp.colValue[p] * step;
    placeAt(j, kAtUpper);
  }
  // (b)
  int empty = 0;
  double djmax = 0.0;
  bool xray = false;
  for (int j = 0; j < n; ++j) {
    const int len = lp.colStart[j + 1] - lp.colStart[j];
    if (len == 0) {
      ++empty;
      const double c = cost[j];
      djmax = std::max(djmax, std::fabs(c));
      if ((c < 0.0 && upper[j] == kInf) || (c > 0.0 && lower[j] == -kInf)) xray = true;
      continue;
    }
    if (len != 1) continue;
    const int i = lp.rowIndex[lp.colStart[j]];
    const int slack = n + i;
    if (pos[slack] < 0) continue;
    const double a = lp.colValue[lp.colStart[j]];
    if (a == 0.0) continue;
    const double s = rhs[i] - act[i];
    double target;  // the slack's value once nonbasic
    if (lower[slack] == upper[slack]) {
      target = lower[slack];
    } else if (upper[j] == kInf && s < lower[slack]) {
      target = lower[slack];
    } else if (upper[j] == kInf && s > upper[slack]) {
      target = upper[slack];
    } else {
      continue;
    }
    const double need = s - target;  // a (x_j - its bound value)
    if (lower[j] > -kInf && (at[j] != kAtLower || (need != 0.0 && (need > 0.0) != (a > 0.0)))) continue;
    const int k = pos[slack];
    basicVar[k] = j;
    pos[j] = k;
    pos[slack] = -1;
    placeAt(slack, target == lower[slack] ? kAtLower : kAtUpper);
    act[i] += need;
  }
  if (empty > 0 && (logging(1) || tracing()))
    log("\nWARNING: %d columns are empty (djmx:%g) %s.", empty, djmax, xray ? "*an xray may exist*" : " ok");
}

// Columns of the start point strictly between their bounds take their start
// values and enter the basis one by one (the push of a crossover): each
// moves towards its nearer bound (a free column in the direction that
// lowers the cost) while the basic variables stay within their bounds; the
// basic variable that blocks first (the largest pivot among those blocking
// within the tolerance) leaves at the bound it reached. A column no basic
// variable blocks reaches its own bound, unless it is free, in which case
// it replaces the basic variable of its largest pivot. Returns a layer
// result.
int SimplexWork::Impl::pivotInSuperbasics(const std::vector<double>& start) {
  std::vector<int> super;
  for (int j = 0; j < n && j < static_cast<int>(start.size()); ++j) {
    if (pos[j] >= 0) continue;
    const double v = start[j] / lp.colScale[j];
    if (!(v > lower[j] && v < upper[j])) continue;
    x[j] = v;
    super.push_back(j);
  }
  if (super.empty()) return kLayerOk;
  if (logging(1) || tracing()) log("\nPivoting in %d superbasic columns.", static_cast<int>(super.size()));
  refactorRequest = kRefactorInitial;
  int rc = refactor(false);
  if (rc != kLayerOk) return rc;
  for (int s : super) {
    const double lo = lower[s], up = upper[s], xs = x[s];
    const bool free = lo == -kInf && up == kInf;
    const double target = free ? 0.0 : (up == kInf || (lo > -kInf && xs - lo <= up - xs)) ? lo : up;
    const double dir = free ? (cost[s] > 0.0 ? -1.0 : 1.0) : (target > xs ? 1.0 : -1.0);
    const double dist = free ? kInf : std::fabs(target - xs);
    loadColumn(s, col);
    lu->ftran(col);
    if (col.count < 0) col.rebuildIndex();
    // Harris pass 1: the longest step with the bounds relaxed by reps;
    // pass 2: the largest pivot among the rows blocking within it.
    double tmax = dist;
    for (int t = 0; t < col.count; ++t) {
      const int p = col.index[t];
      const double alpha = col.array[p];
      if (std::fabs(alpha) < pivTol) continue;
      const int v = basicVar[p];
      const double rate = -dir * alpha;
      const double bound = rate < 0.0 ? lower[v] : upper[v];
      if (bound == kInf || bound == -kInf) continue;
      tmax = std::min(tmax, std::max(0.0, (bound - x[v]) / rate) + primalTol / std::fabs(rate));
    }
    int leave = -1;
    double best = 0.0, step = tmax;
    for (int t = 0; t < col.count; ++t) {
      const int p = col.index[t];
      const double alpha = col.array[p];
      if (std::fabs(alpha) < pivTol) continue;
      const int v = basicVar[p];
      const double rate = -dir * alpha;
      const double bound = rate < 0.0 ? lower[v] : upper[v];
      const bool blocks = bound != kInf && bound != -kInf;
      const double exact = blocks ? std::max(0.0, (bound - x[v]) / rate) : kInf;
      if (tmax < dist ? (blocks && exact <= tmax && std::fabs(alpha) > best)
                      : (free && std::fabs(alpha) > best)) {
        best = std::fabs(alpha);
        leave = p;
        step = tmax < dist ? exact : 0.0;
      }
    }
    if (leave < 0) {
      if (!free) placeAt(s, target == lo ? kAtLower : kAtUpper);
      else x[s] = 0.0;
      // The basic values follow the column to its bound (or back to zero).
      const double moved = x[s] - xs;
      for (int t = 0; t < col.count; ++t) x[basicVar[col.index[t]]] -= moved * col.array[col.index[t]];
      continue;
    }
    for (int t = 0; t < col.count; ++t) x[basicVar[col.index[t]]] -= dir * step * col.array[col.index[t]];
    const int out = basicVar[leave];
    const double alpha = col.array[leave];
    const double outValue = x[out];
    x[s] = xs + dir * step;
    rc = basisChange(leave, s, false, alpha);
    if (rc != kLayerOk) return rc;
    // Nonbasic at the bound it reached, or the nearer one.
    const double lo2 = lower[out], up2 = upper[out];
    const bool nearLower = up2 == kInf || (lo2 > -kInf && outValue - lo2 <= up2 - outValue);
    placeAt(out, nearLower ? kAtLower : kAtUpper);
  }
  return kLayerOk;
}

}  // namespace torva::simplex
