// The interior-point form of the bounded LP: rows of type 'N' dropped, fixed
// columns moved into the right-hand side, equality rows without a slack, and
// a column per remaining slack. Every variable keeps the lower and/or upper
// bound it has; free variables have neither.
#pragma once

#include <vector>

#include "simplex/ipm/normal_eq.hpp"
#include "simplex/lp.hpp"

namespace torva::ipm {

struct IpmProblem {
  CscMatrix a;  // rows x vars
  std::vector<double> b, c, lower, upper;  // lower/upper +-inf when absent
  std::vector<char> hasLower, hasUpper;
  std::vector<int> varOf;   // bounded-form index (column j or n + row i) of each variable
  std::vector<int> rowOf;   // bounded-form row of each row
  double fixedCost = 0.0;   // c'x of the fixed columns
  bool boundsInconsistent = false;  // some lower bound above its upper bound

  int rows() const { return a.rows; }
  int vars() const { return a.cols; }
};

IpmProblem buildProblem(const simplex::Lp& lp);

}  // namespace torva::ipm
