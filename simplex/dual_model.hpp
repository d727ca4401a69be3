// The explicit dual of a linear model, and the mapping of bases between a
// model and its dual.
//
// For the primal in minimisation form (costs c' = sense * c)
//     min c'x  s.t.  a_i x (<=, >=, =) b_i,  l <= x <= u
// the dual is
//     max b'y + sum l_j yl_j - sum u_j yu_j
//     s.t. A'y + yl - yu = c'      (one equality row per primal column)
//          y_i <= 0 (<= rows), y_i >= 0 (>= rows), y_i free (= rows),
//          yl_j, yu_j >= 0, present only for finite bounds.
// Free (N) rows of the primal have no dual column.
#pragma once

#include <string>
#include <vector>

#include "base/model.hpp"

namespace torva {

// Where each primal row and bound lives among the dual's columns (-1 none).
struct DualLayout {
  std::vector<int> rowCol;    // m
  std::vector<int> lowerCol;  // n
  std::vector<int> upperCol;  // n
  int cols = 0;
  explicit DualLayout(const ModelData& primal);
};

// Builds the dual of primal into the empty model dual. Errors: 2009 primal
// without data, 2030 dual holds data, 2029 primal with quadratic or conic data.
int buildDualModel(const Model& primal, Model& dual);

// Maps a primal basis (QX_BASTYPE codes, n columns and m rows) to a basis of
// the dual and back. Both return 0, or QXERR_BASIS_INVALID when the basis has
// a nonbasic column without a finite bound to rest on or the wrong count of
// basic entries.
int dualBasisFromPrimal(const ModelData& primal, const std::vector<int>& colStatus,
                        const std::vector<int>& rowStatus, std::vector<int>& dualCols,
                        std::vector<int>& dualRows);
int primalBasisFromDual(const ModelData& primal, const std::vector<int>& dualCols,
                        std::vector<int>& colStatus, std::vector<int>& rowStatus);

}  // namespace torva
