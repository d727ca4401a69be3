// The data of one optimisation problem.
#pragma once

namespace torva {

struct ModelData {
  int m = 0;     // constraints
  int n = 0;     // variables
  int nnz = 0;   // nonzeros of the constraint matrix
  int objSense = 1;  // QX_MIN

  bool empty() const noexcept { return m == 0 && n == 0; }
};

}  // namespace torva
