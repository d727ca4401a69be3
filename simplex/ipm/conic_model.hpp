// From the bounded LP form with the model's quadratic objective and cones to
// the conic problem of the interior-point method, and back.
#pragma once

#include <vector>

#include "base/model_data.hpp"
#include "simplex/ipm/conic.hpp"
#include "simplex/lp.hpp"

namespace torva::ipm {

// Where the parts of the conic problem came from.
struct ConicMap {
  std::vector<int> rowOf;     // equality row of each model row, -1 for 'N' rows
  int coneRowStart = 0;       // first conic row of the cones (after the bound rows)
};

// Builds prob from the unscaled bounded form lp of data (minimisation form:
// the quadratic objective is multiplied by the sense like the costs).
// Variables: the model's columns, then a slack per 'L', 'G' or ranged row;
// fixed columns stay variables with an equality row of their own; finite
// bounds become orthant rows; a cone 'Q' on columns (x0, x1, ...) means
// x0 >= ||(x1, ...)||, a cone 'R' means 2 x0 x1 >= ||(x2, ...)||^2 with
// x0, x1 >= 0, taken to a second-order cone by the rotation
// ((x0 + x1)/sqrt2, (x0 - x1)/sqrt2).
ConicProblem buildConicProblem(const ModelData& data, const simplex::Lp& lp, ConicMap& map);

// Whether the symmetric matrix (upper triangle) is positive semidefinite, up
// to the tolerance of a Cholesky factorisation of P + eps I.
bool isPositiveSemidefinite(const CscMatrix& p);

}  // namespace torva::ipm
