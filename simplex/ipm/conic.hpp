// Primal-dual interior-point method for convex quadratic and second-order
// cone programs
//
//   minimise   1/2 x'P x + q'x
//   subject to A x = b,   G x + s = h,   s in K,
//
// where K is a product of a nonnegative orthant (the first `orthant` rows of
// G) and second-order cones {(u0, u1): u0 >= ||u1||} (the following blocks).
// The method follows the path-following scheme of Vandenberghe's "The CVXOPT
// linear and quadratic cone program solvers" (2010) on the homogeneous
// self-dual embedding of the problem (conic.cpp): Nesterov-Todd scaling,
// Mehrotra's predictor-corrector with the second-order correction term, and
// the reduced KKT system (solved twice per factorisation, once for the
// homogenising variable)
//
//   [ P + G'W^-2 G   A' ] [dx]   [rx]
//   [ A              0  ] [dy] = [ry]
//
// factorised as a quasidefinite matrix (small static regularisation, LDL'
// by CHOLMOD with the ordering and symbolic analysis done once) with
// iterative refinement against the unregularised matrix.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "simplex/ipm/normal_eq.hpp"
#include "simplex/simplex.hpp"

namespace torva::ipm {

struct ConicProblem {
  int n = 0;                 // variables
  std::vector<double> q;     // n
  CscMatrix p;               // n x n, upper triangle (diagonal included) of the symmetric P
  CscMatrix a;               // equality rows
  std::vector<double> b;
  CscMatrix g;               // conic rows
  std::vector<double> h;
  int orthant = 0;           // the first rows of g are nonnegative-orthant rows
  std::vector<int> coneDims; // then one second-order cone per entry, of that many rows
};

struct ConicOptions {
  double pfeasTol = 1e-8;   // relative primal residual (QX_DPARAM_IPM_TOL_PFEAS / CO_TOL_PFEAS)
  double dfeasTol = 1e-8;   // relative dual residual (QX_DPARAM_IPM_TOL_DFEAS / CO_TOL_DFEAS)
  double gapTol = 1e-8;     // relative duality gap (QX_DPARAM_IPM_CO_TOL_MU_RED)
  double infeasTol = 1e-10; // residual of a normalised certificate (QX_DPARAM_IPM_TOL_INFEAS / CO_TOL_INFEAS)
  double pathTol = 1e-8;    // every complementarity product stays above this fraction of their
                            // average (QX_DPARAM_IPM_TOL_PATH)
  double stepFraction = 0.99;  // of the step to the boundary of the cone
  int threads = 1;             // QX_IPARAM_IPM_NUM_THREADS (0: one per processor)
  int maxIterations = 1000;    // QX_IPARAM_IPM_MAX_ITERATIONS
};

// The iteration runs on the homogeneous self-dual embedding of the problem,
// so that a model without an optimum ends with a certificate, returned
// normalised in the result. PrimalInfeasible: (y, z) with b'y + h'z = -1,
// z in K and A'y + G'z within infeasTol of 0 (x and s are zero).
// DualInfeasible: x with q'x = -1 and s in K, P x, A x and G x + s within
// infeasTol of 0 (y and z are zero).
enum class ConicStatus : int {
  Optimal, IterationLimit, TimeLimit, Interrupted, Stalled, PrimalInfeasible, DualInfeasible
};

struct ConicResult {
  ConicStatus status = ConicStatus::Stalled;
  int iterations = 0;
  double primalObjective = 0.0, dualObjective = 0.0;
  double primalInfeas = 0.0, dualInfeas = 0.0, relativeGap = 0.0;
  bool reducedAccuracy = false;  // optimal within a hundredfold of the tolerances only
  // Optimality conditions: P x + q + A'y + G'z = 0, A x = b, G x + s = h,
  // s and z in K, s'z = 0.
  std::vector<double> x, y, z, s;
};

// Throws std::bad_alloc when memory runs out.
ConicResult solveConic(const ConicProblem& prob, const ConicOptions& options, simplex::SolveContext& context);

// The KKT matrix of the method: the pattern of P, of the blocks G_k'W_k^-2 G_k
// (one block per orthant row and per cone, dense over the columns the block
// touches) and of A, analysed once; refactorised with new scalings.
class ConicKkt {
 public:
  explicit ConicKkt(const ConicProblem& prob);
  ~ConicKkt();
  ConicKkt(const ConicKkt&) = delete;
  ConicKkt& operator=(const ConicKkt&) = delete;

  // Number of blocks and, for block k, the columns of G it touches.
  int blocks() const { return static_cast<int>(blockCols_.size()); }
  // Factorises with the given block matrices G_k'W_k^-2 G_k (dense, row-major,
  // over the block's columns; the upper triangle is read). False when no
  // regularisation gives a factorisation.
  bool factor(const std::vector<std::vector<double>>& blockMatrices);
  // Solves K [dx; dy] = [rx; ry] with iterative refinement against op, the
  // unregularised operator as the caller applies it ([dx; dy] -> K [dx; dy];
  // when empty, the assembled matrix).
  using Operator = std::function<void(const std::vector<double>&, std::vector<double>&)>;
  void solve(const std::vector<double>& rx, const std::vector<double>& ry, std::vector<double>& dx,
             std::vector<double>& dy, const Operator& op = {});
  // G_k restricted to the columns of block k, dense row-major (rows of the
  // block x its columns).
  const std::vector<double>& blockG(int k) const { return blockG_[k]; }
  const std::vector<int>& blockCols(int k) const { return blockCols_[k]; }
  int blockRow(int k) const { return blockRow_[k]; }
  int blockDim(int k) const { return blockRow_[k + 1] - blockRow_[k]; }

 private:
  class Impl;
  std::vector<std::vector<int>> blockCols_;
  std::vector<std::vector<double>> blockG_;
  std::vector<int> blockRow_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace torva::ipm
