// The starting basis that hands an interior solution to the simplex.
//
// Near the optimum the variables of the optimal partition's basic part stay
// away from their bounds while their reduced costs vanish, and the others do
// the opposite. The ratio of bound distance to reduced cost separates the
// two sets by about 1/mu against mu; the m variables with the largest ratio
// form the basis (the factorisation replaces dependent ones by slacks) and
// every other variable sits at its nearer bound. The simplex then removes the
// remaining primal and dual infeasibilities and certifies the optimum.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "simplex/ipm/ipm.hpp"

namespace torva::ipm {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Host basis codes.
constexpr int kBasic = 0, kAtLower = -1, kAtUpper = -2, kFreeZero = -3;
// Bound distance over reduced cost above which a variable counts as
// interior (the two sets separate as 1/mu against mu).
constexpr double kInteriorRatio = 1.0;

}  // namespace

void crossoverBasis(const simplex::Lp& lp, const IpmResult& r, std::vector<int>& colStatus,
                    std::vector<int>& rowStatus) {
  const int n = lp.n, m = lp.m, nt = n + m;
  std::vector<double> score(nt);
  for (int v = 0; v < nt; ++v) {
    const double lo = lp.lower[v], up = lp.upper[v], x = r.x[v];
    if (lo == up) {
      score[v] = -kInf;  // fixed: never basic by choice
      continue;
    }
    const double dist = std::min(x - lo, up - x);
    if (dist == kInf) {
      score[v] = kInf;  // free variables first
      continue;
    }
    const double z = std::fabs(r.z[v]);
    score[v] = dist <= 0.0 ? -std::numeric_limits<double>::max() : (z > 0.0 ? dist / z : kInf);
  }
  std::vector<int> order(nt);
  std::iota(order.begin(), order.end(), 0);
  // Interior variables first; then slacks, whose unit columns keep the
  // basis well conditioned where the interior set has fewer than m members
  // (primal degeneracy); then the rest.
  auto tier = [&](int v) { return score[v] > kInteriorRatio ? 2 : (v >= n ? 1 : 0); };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const int ta = tier(a), tb = tier(b);
    return ta != tb ? ta > tb : score[a] > score[b];
  });
  std::vector<int> status(nt);
  for (int v = 0; v < nt; ++v) {
    const double lo = lp.lower[v], up = lp.upper[v], x = r.x[v];
    if (lo == -kInf && up == kInf) status[v] = kFreeZero;
    else if (up == kInf || (lo != -kInf && x - lo <= up - x)) status[v] = kAtLower;
    else status[v] = kAtUpper;
  }
  for (int k = 0; k < m; ++k) status[order[k]] = kBasic;
  colStatus.assign(status.begin(), status.begin() + n);
  rowStatus.assign(status.begin() + n, status.end());
}

}  // namespace torva::ipm
