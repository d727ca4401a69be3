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
  std::vector<int> rowOf;     // equality row of each model row, -1 for 'N' and quadratic rows
  std::vector<int> fixedRow;  // equality row of each fixed column, else -1
  int coneRowStart = 0;       // first conic row of the model's cones (after the bound rows)
  int qcRowStart = 0;         // first conic row of the quadratic rows' cones
  std::vector<int> qcRow;     // model row of each quadratic row's cone
  int nonConvexRow = -2;      // a quadratic row (-1: the objective) that is not convex, else -2
};

// Builds prob from the bounded form lp of data (minimisation form: the
// quadratic objective is multiplied by the sense like the costs; scaled like
// the matrix, Q~ = C Q C and a quadratic row's terms by its row scale too).
// lp must be unscaled when data has cones: a cone needs one scale for all
// its members.
// Variables: the model's columns, then a slack per 'L', 'G' or ranged row;
// fixed columns stay variables with an equality row of their own; finite
// bounds become orthant rows; a cone 'Q' on columns (x0, x1, ...) means
// x0 >= ||(x1, ...)||, a cone 'R' means 2 x0 x1 >= ||(x2, ...)||^2 with
// x0, x1 >= 0, taken to a second-order cone by the rotation
// ((x0 + x1)/sqrt2, (x0 - x1)/sqrt2). A row with quadratic terms,
// a'x + 1/2 x'Qx <= b with Q = F'F semidefinite ('G' rows: -Q semidefinite),
// becomes the rotated cone 2 t 1 >= ||F x||^2 with t = b - a'x; other
// quadratic rows are not convex (map.nonConvexRow).
ConicProblem buildConicProblem(const ModelData& data, const simplex::Lp& lp, ConicMap& map);

// Whether every quadratic row of data is convex in the sense above.
bool quadraticRowsConvex(const ModelData& data, const simplex::Lp& lp);

// Whether the symmetric matrix (upper triangle) is positive semidefinite, up
// to the tolerance of a Cholesky factorisation of P + eps I.
bool isPositiveSemidefinite(const CscMatrix& p);

}  // namespace torva::ipm
