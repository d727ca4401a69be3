// The LP in the bounded form the simplex kernels work on.
//
// Columns 0..n-1 are the model's columns, n..n+m-1 one slack per row with
//   A x + s = b,   s = b - A x,
// so the slack of an 'L' row lies in [0, inf), of a 'G' row in (-inf, 0], of
// an 'E' row in [0, 0] and of an 'N' row is free. Costs are turned into a
// minimisation (sense x cost). With scaling, A~ = R A C for diagonal row and
// column scales of powers of two: x~ = x / C, s~ = R s, b~ = R b, c~ = C c.
// A slack column stays the unit column. Infinite bounds are held as +-inf.
#pragma once

#include <cstdint>
#include <vector>

namespace torva {
struct ModelData;
}

namespace torva::simplex {

struct Lp {
  int m = 0, n = 0;
  // Scaled matrix, column-wise (compact) and row-wise.
  std::vector<int> colStart, rowIndex;
  std::vector<double> colValue;
  std::vector<int> rowStart, colIndex;
  std::vector<double> rowValue;
  std::vector<double> colScale, rowScale;  // all 1 when unscaled
  bool scaled = false;

  // Scaled bounded form: bounds and costs of n + m variables, rhs of m rows.
  std::vector<double> lower, upper, cost, rhs;
  std::vector<char> rowType;  // the model's row types
  int sense = 1;              // 1 minimise, -1 maximise
  double objConst = 0.0;

  int numVars() const { return n + m; }
  int nnz() const { return colStart.empty() ? 0 : colStart[n]; }
};


// Builds lp from data; scale selects the scaling (geometric-mean passes and
// equilibration, factors rounded to powers of two).
void buildLp(const ModelData& data, bool scale, double infinity, Lp& lp);
// Re-reads bounds, costs, rhs, row types, sense and constant from data into
// the scaled form (matrix and scales unchanged).
void refreshLp(const ModelData& data, double infinity, Lp& lp);

}  // namespace torva::simplex
