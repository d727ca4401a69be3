#include "simplex/ipm/ipm_problem.hpp"

#include <cmath>

namespace torva::ipm {

IpmProblem buildProblem(const simplex::Lp& lp) {
  IpmProblem p;
  const int n = lp.n, m = lp.m;
  std::vector<int> newRow(m, -1);
  for (int i = 0; i < m; ++i)
    if (lp.rowType[i] != 'N') {
      newRow[i] = static_cast<int>(p.rowOf.size());
      p.rowOf.push_back(i);
      p.b.push_back(lp.rhs[i]);
    }
  CscMatrix& a = p.a;
  a.rows = static_cast<int>(p.rowOf.size());
  a.start.push_back(0);
  auto addVar = [&](int v, double lo, double up, double cost) {
    p.varOf.push_back(v);
    p.lower.push_back(lo);
    p.upper.push_back(up);
    p.hasLower.push_back(std::isfinite(lo) ? 1 : 0);
    p.hasUpper.push_back(std::isfinite(up) ? 1 : 0);
    p.c.push_back(cost);
    a.start.push_back(static_cast<int>(a.index.size()));
  };
  for (int j = 0; j < n; ++j) {
    const double lo = lp.lower[j], up = lp.upper[j];
    if (lo > up) p.boundsInconsistent = true;
    if (lo == up) {
      for (int q = lp.colStart[j]; q < lp.colStart[j + 1]; ++q) {
        const int r = newRow[lp.rowIndex[q]];
        if (r >= 0) p.b[r] -= lp.colValue[q] * lo;
      }
      p.fixedCost += lp.cost[j] * lo;
      continue;
    }
    for (int q = lp.colStart[j]; q < lp.colStart[j + 1]; ++q) {
      const int r = newRow[lp.rowIndex[q]];
      if (r < 0) continue;
      a.index.push_back(r);
      a.value.push_back(lp.colValue[q]);
    }
    addVar(j, lo, up, lp.cost[j]);
  }
  for (int i = 0; i < m; ++i) {
    if (lp.rowType[i] != 'L' && lp.rowType[i] != 'G') continue;
    a.index.push_back(newRow[i]);
    a.value.push_back(1.0);
    addVar(n + i, lp.lower[n + i], lp.upper[n + i], 0.0);
  }
  a.cols = static_cast<int>(p.varOf.size());
  return p;
}

}  // namespace torva::ipm
