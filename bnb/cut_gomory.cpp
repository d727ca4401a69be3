// Gomory mixed-integer cuts (Gomory 1960; in the form of Marchand, Martin,
// Weismantel and Wolsey 2002, section 3) from rows of the optimal tableau.
//
// With A x + s = b (s_i = b_i - a_i x: s >= 0 on 'L' rows, s <= 0 on 'G'
// rows, s = 0 on 'E' rows) and the basis B of the relaxation optimum, the
// tableau row of basic integer x_k is x_k + sum_N abar_j z_j = beta. Each
// nonbasic z_j is written as t_j >= 0 (its distance from the bound it sits
// at), which gives x_k + sum alpha_j t_j = x_k*. With f0 = frac(x_k*) the
// mixed-integer rounding of that row is
//   sum_{int, f_j <= f0} f_j/f0 t_j + sum_{int, f_j > f0} (1-f_j)/(1-f0) t_j
//   + sum_{cont, alpha_j > 0} alpha_j/f0 t_j - sum_{cont, alpha_j < 0} alpha_j/(1-f0) t_j >= 1,
// f_j = frac(alpha_j). Substituting t back gives the cut over x.
#include <algorithm>
#include <cmath>

#include "bnb/cuts.hpp"
#include "simplex/lu.hpp"

namespace torva::bnb {
namespace {

// Rows whose basic value lies closer than this to an integer give weak cuts
// with large coefficients (1/f0); 0.005 is the usual threshold of Gomory
// separators (Achterberg 2007, ch. 8.6 uses 0.01 for the most cautious).
constexpr double kMinFractionality = 0.005;
// Tableau entries below this are rounding noise of the solve with B'.
constexpr double kTableauZero = 1e-11;

// Row-wise copy of the relaxation rows, for substituting the slacks back.
struct RowCopy {
  std::vector<int> start, col;
  std::vector<double> val;
  explicit RowCopy(const ModelData& d) {
    start.assign(static_cast<std::size_t>(d.m) + 1, 0);
    for (int j = 0; j < d.n; ++j)
      for (int p = d.colBeg[j], e = p + d.colLen[j]; p < e; ++p) ++start[static_cast<std::size_t>(d.rowIdx[p]) + 1];
    for (int i = 0; i < d.m; ++i) start[static_cast<std::size_t>(i) + 1] += start[static_cast<std::size_t>(i)];
    col.resize(static_cast<std::size_t>(start.back()));
    val.resize(col.size());
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (int j = 0; j < d.n; ++j)
      for (int p = d.colBeg[j], e = p + d.colLen[j]; p < e; ++p) {
        const int q = fill[static_cast<std::size_t>(d.rowIdx[p])]++;
        col[static_cast<std::size_t>(q)] = j;
        val[static_cast<std::size_t>(q)] = d.value[p];
      }
  }
};

double frac(double v) { return v - std::floor(v); }

}  // namespace

void separateGomory(const SeparationInput& in, int maxRows, std::vector<Cut>& out) {
  const ModelData& d = in.lp;
  const int m = d.m, n = d.n;
  if (m == 0 || maxRows <= 0) return;
  if (in.colStatus.size() != static_cast<std::size_t>(n) || in.rowStatus.size() != static_cast<std::size_t>(m)) return;
  std::vector<int> basic;
  basic.reserve(static_cast<std::size_t>(m));
  for (int j = 0; j < n; ++j)
    if (in.colStatus[static_cast<std::size_t>(j)] >= 0) basic.push_back(j);
  for (int i = 0; i < m; ++i)
    if (in.rowStatus[static_cast<std::size_t>(i)] >= 0) basic.push_back(n + i);
  if (basic.size() != static_cast<std::size_t>(m)) return;
  // Candidate rows: integer basic columns with fractional values, the most
  // fractional first.
  std::vector<std::pair<double, int>> cand;
  for (int k = 0; k < m; ++k) {
    const int j = basic[static_cast<std::size_t>(k)];
    if (j >= n || !in.isInt[static_cast<std::size_t>(j)]) continue;
    const double f = frac(in.x[static_cast<std::size_t>(j)]);
    if (f < kMinFractionality || f > 1.0 - kMinFractionality) continue;
    cand.push_back({-std::min(f, 1.0 - f), k});
  }
  if (cand.empty()) return;
  std::sort(cand.begin(), cand.end());
  if (cand.size() > static_cast<std::size_t>(maxRows)) cand.resize(static_cast<std::size_t>(maxRows));

  LuMatrix a;
  a.numRows = m;
  a.numCols = n;
  a.begin = d.colBeg.data();
  a.length = d.colLen.data();
  a.index = d.rowIdx.data();
  a.value = d.value.data();
  LuKernel lu(m);
  if (lu.factorize(a, basic) != kLuOk) return;
  const RowCopy rows(d);

  LuVector y(m);
  std::vector<double> pi(static_cast<std::size_t>(n));
  for (const auto& c : cand) {
    const int k = c.second;
    const int basicVar = basic[static_cast<std::size_t>(k)];
    const double f0 = frac(in.x[static_cast<std::size_t>(basicVar)]);
    y.clear();
    y.add(k, 1.0);
    if (lu.btran(y) != kLuOk) continue;
    std::fill(pi.begin(), pi.end(), 0.0);
    double rhs = 1.0;
    bool ok = true;
    auto weight = [&](double alpha, bool integer) {
      if (integer) {
        const double fj = frac(alpha);
        return fj <= f0 ? fj / f0 : (1.0 - fj) / (1.0 - f0);
      }
      return alpha >= 0 ? alpha / f0 : -alpha / (1.0 - f0);
    };
    // Structural nonbasic columns.
    for (int j = 0; j < n && ok; ++j) {
      const std::size_t u = static_cast<std::size_t>(j);
      const int st = in.colStatus[u];
      if (st >= 0) continue;
      const double lo = d.lower[u], up = d.upper[u];
      if (lo == up) continue;  // fixed: its t is identically zero
      double abar = 0.0;
      for (int p = d.colBeg[j], e = p + d.colLen[j]; p < e; ++p) abar += y.array[static_cast<std::size_t>(d.rowIdx[p])] * d.value[p];
      if (std::fabs(abar) <= kTableauZero) continue;
      const bool integer = in.isInt[u] != 0;
      if (st == kBasisAtLower && lo > -kInfinity) {
        const double g = weight(abar, integer && lo == std::floor(lo));
        pi[u] += g;
        rhs += g * lo;
      } else if (st == kBasisAtUpper && up < kInfinity) {
        const double g = weight(-abar, integer && up == std::floor(up));
        pi[u] -= g;
        rhs -= g * up;
      } else {
        ok = false;  // free or superbasic: no bound to measure from
      }
    }
    // Nonbasic slacks.
    for (int i = 0; i < m && ok; ++i) {
      if (in.rowStatus[static_cast<std::size_t>(i)] >= 0) continue;
      const double abar = y.array[static_cast<std::size_t>(i)];
      if (std::fabs(abar) <= kTableauZero) continue;
      const char t = d.conType[static_cast<std::size_t>(i)];
      if (t == 'E') continue;
      if (t != 'L' && t != 'G') {
        ok = false;
        continue;
      }
      // 'L': t = s = b - a x; 'G': t = -s = a x - b.
      const double sign = t == 'L' ? 1.0 : -1.0;
      const double g = weight(sign * abar, false);
      const double bi = d.rhs[static_cast<std::size_t>(i)];
      for (int p = rows.start[static_cast<std::size_t>(i)]; p < rows.start[static_cast<std::size_t>(i) + 1]; ++p)
        pi[static_cast<std::size_t>(rows.col[static_cast<std::size_t>(p)])] -= sign * g * rows.val[static_cast<std::size_t>(p)];
      rhs -= sign * g * bi;
    }
    if (!ok) continue;
    Cut cut;
    cut.family = kCutGomory;
    cut.rhs = rhs;
    for (int j = 0; j < n; ++j)
      if (pi[static_cast<std::size_t>(j)] != 0.0) {
        cut.idx.push_back(j);
        cut.val.push_back(pi[static_cast<std::size_t>(j)]);
      }
    if (cut.idx.empty()) continue;
    out.push_back(std::move(cut));
  }
}

}  // namespace torva::bnb
