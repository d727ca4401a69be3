// Normal equations of the interior-point method,
//   (A Theta A' + delta I) dy = r,
// factorised by a supernodal Cholesky (CHOLMOD). The sparsity analysis (fill-
// reducing ordering and symbolic factorisation) is computed once per matrix;
// each iteration only refactors with new column weights Theta. Columns much
// denser than the average are left out of the factorised product and brought
// back through the Sherman-Morrison-Woodbury identity with a small dense
// Schur complement.
#pragma once

#include <memory>
#include <vector>

namespace torva::ipm {

// A sparse matrix in compressed-column form (zero-based).
struct CscMatrix {
  int rows = 0, cols = 0;
  std::vector<int> start, index;
  std::vector<double> value;
};

class NormalEquations {
 public:
  // denseFactor: a column with more entries than denseFactor times the
  // average column count is treated apart (0 switches that off).
  NormalEquations(const CscMatrix& a, int denseFactor);
  ~NormalEquations();
  NormalEquations(const NormalEquations&) = delete;
  NormalEquations& operator=(const NormalEquations&) = delete;

  // Factorises A Theta A' + delta I; raises delta (returned through it) when
  // the factorisation meets a non-positive pivot. False when no delta within
  // the regularisation limit gives a factorisation.
  bool factor(const std::vector<double>& theta, double& delta);
  // out = (A Theta A' + delta I)^-1 r with the last factorisation, refined
  // against the unregularised operator A Theta A'.
  void solve(const std::vector<double>& r, std::vector<double>& out);
  // out = A Theta A' v (the operator of the last factor call, no delta).
  void multiply(const std::vector<double>& v, std::vector<double>& out) const;

  int denseColumns() const;

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace torva::ipm
