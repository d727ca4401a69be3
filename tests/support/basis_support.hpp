// TEST AND BENCHMARK SUPPORT ONLY -- not part of the library.
//
// Builds simplex-like bases of a constraint matrix for exercising the LU
// kernel: starting from the slack basis, structural columns are brought in
// one at a time in place of a slack whose row holds a large entry of the
// transformed column (a crash), so the basis stays well away from singular.
#pragma once

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "simplex/lu.hpp"
#include "tests/support/mps_columns.hpp"

namespace torva::testsupport {

inline LuMatrix view(const ColumnMatrix& a) {
  LuMatrix v;
  v.numRows = a.numRows;
  v.numCols = a.numCols;
  v.begin = a.begin.data();
  v.index = a.index.data();
  v.value = a.value.data();
  return v;
}

inline void loadColumn(const ColumnMatrix& a, int var, LuVector& v) {
  v.clear();
  if (var < a.numCols) {
    for (int p = a.begin[var]; p < a.begin[var + 1]; ++p) v.add(a.index[p], a.value[p]);
  } else {
    v.add(var - a.numCols, 1.0);
  }
}

// Relative threshold on the entering pivot of the crash (of the largest
// entry of the transformed column over the candidate positions).
constexpr double kCrashPivotRatio = 0.1;
// Absolute floor on that pivot.
constexpr double kCrashPivotFloor = 1e-3;

// Returns a basis with up to maxStructurals structural columns.
inline std::vector<int> crashBasis(const ColumnMatrix& a, int maxStructurals, unsigned seed) {
  const int m = a.numRows;
  std::vector<int> basic(m);
  for (int i = 0; i < m; ++i) basic[i] = a.numCols + i;
  LuKernel lu(m);
  lu.setIntOption(kLuIparMaxUpdates, 100);
  if (lu.factorize(view(a), basic) != kLuOk) return basic;
  std::vector<int> cols(a.numCols);
  for (int j = 0; j < a.numCols; ++j) cols[j] = j;
  std::mt19937 rng(seed);
  std::shuffle(cols.begin(), cols.end(), rng);
  LuVector v(m);
  int added = 0, tried = 0;
  // Columns tried at most (the crash of models with many more columns than
  // rows would otherwise transform every column).
  const int maxTries = 4 * m + 100;
  for (int j : cols) {
    if (added >= maxStructurals || ++tried > maxTries) break;
    if (a.begin[j + 1] == a.begin[j]) continue;
    loadColumn(a, j, v);
    lu.ftran(v, true);
    int best = -1;
    double bestAbs = 0.0, colMax = 0.0;
    for (int k = 0; k < v.count; ++k) {
      const int pos = v.index[k];
      const double x = std::fabs(v.array[pos]);
      colMax = std::max(colMax, x);
      if (basic[pos] >= a.numCols && x > bestAbs) {
        bestAbs = x;
        best = pos;
      }
    }
    v.clear();
    if (best < 0 || bestAbs < kCrashPivotRatio * colMax || bestAbs < kCrashPivotFloor) continue;
    int rc = lu.update(best, j);
    if (rc == kLuOutOfSpace) {
      const int old = basic[best];
      basic[best] = j;
      if (lu.factorize(view(a), basic) != kLuOk) {
        basic[best] = old;  // not expected for a crash basis
        break;
      }
      ++added;
      continue;
    }
    if (rc != kLuOk) continue;
    basic[best] = j;
    ++added;
  }
  return basic;
}

}  // namespace torva::testsupport
