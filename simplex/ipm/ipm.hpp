// Primal-dual interior-point method for linear programs (Mehrotra's
// predictor-corrector with Gondzio's centrality correctors) on the bounded
// form the simplex uses (simplex/lp.hpp: A x + s = b, bounds on columns and
// slacks), and the crossover basis built from its solution.
//
// The kernel sees the LP and a SolveContext, never the model record.
#pragma once

#include <vector>

#include "simplex/lp.hpp"
#include "simplex/simplex.hpp"

namespace torva::ipm {

// Settings of a run; the defaults are those of the parameters named.
struct IpmOptions {
  double pfeasTol = 1e-8;    // QX_DPARAM_IPM_TOL_PFEAS: relative primal infeasibility
  double dfeasTol = 1e-8;    // QX_DPARAM_IPM_TOL_DFEAS: relative dual infeasibility
  double muRed = 1e-16;      // QX_DPARAM_IPM_TOL_MU_RED: complementarity reduction
  double relStep = 0.9999;   // QX_DPARAM_IPM_TOL_REL_STEP: fraction of the step to the boundary
  double primalSafe = 1.0;   // QX_DPARAM_IPM_TOL_PSAFE: scale of the initial primal point
  double dualSafe = 1.0;     // QX_DPARAM_IPM_TOL_DSAFE: scale of the initial dual point
  int maxIterations = 1000;  // QX_IPARAM_IPM_MAX_ITERATIONS
  int denseFactor = 40;      // QX_IPARAM_IPM_OFF_COL_TRH
  int maxCorrectors = 2;     // Gondzio centrality correctors per iteration
  double pathTol = 1e-8;     // QX_DPARAM_IPM_TOL_PATH: every complementarity product stays above
                             // this fraction of their average (larger: closer to the central path)
  int threads = 1;           // QX_IPARAM_IPM_NUM_THREADS (0: one per processor)
};

enum class IpmStatus : int {
  Optimal,           // tolerances met
  Imprecise,         // tolerances missed, but the best point is close enough to hand to crossover
  PrimalInfeasible,  // the dual iterates diverge along a Farkas ray (or stall primal infeasible)
  DualInfeasible,    // the primal iterates diverge along an improving ray (or stall dual infeasible)
  IterationLimit,
  TimeLimit,
  Interrupted,
  Stalled,           // no progress (numerical trouble)
};

// The result in the bounded form of lp (scaled space, minimisation): values
// of the n + m variables (columns then slacks), duals y (m) and reduced
// costs z (n + m) with z = c - [A I]' y.
struct IpmResult {
  IpmStatus status = IpmStatus::Stalled;
  int iterations = 0;
  double primalObjective = 0.0;  // c'x in the minimisation form, scaled space
  double dualObjective = 0.0;
  double primalInfeas = 0.0;     // relative, as tested for termination
  double dualInfeas = 0.0;
  double relativeGap = 0.0;
  int denseColumns = 0;
  std::vector<double> x;  // n + m
  std::vector<double> y;  // m
  std::vector<double> z;  // n + m
};

// Solves lp. Throws std::bad_alloc when memory runs out.
IpmResult solveLp(const simplex::Lp& lp, const IpmOptions& options, simplex::SolveContext& context);

// Settings of the crossover.
struct CrossoverOptions {
  double tolX = 1e-7;        // QX_DPARAM_IPM_BASIS_TOL_X: a value this close to a bound (relative to
                             // 1 + |bound|) sits on it
  double tolS = 1e-7;        // QX_DPARAM_IPM_BASIS_TOL_S: a reduced cost this small (absolute) ...
  double relTolS = 1e-12;    // QX_DPARAM_IPM_BASIS_REL_TOL_S: ... or relative to the largest cost
                             // counts as zero: its variable may be basic
  double luRelPivot = 0.01;  // QX_DPARAM_IPM_BI_LU_TOL_REL_PIV
};
struct CrossoverStats {
  int superbasics = 0;  // nonbasic variables between their bounds at the start
  int boundMoves = 0;   // pushed to a bound without a basis change
  int pivots = 0;       // pushed into the basis
  bool slackStart = false;  // the push started again from the slack basis
};

// A starting basis for the simplex from an interior solution (host basis
// codes: basic >= 0, -1 at lower, -2 at upper, -3 free nonbasic) after the
// primal push phase. False when no basis could be factorised.
bool crossoverBasis(const simplex::Lp& lp, const IpmResult& r, const CrossoverOptions& options,
                    std::vector<int>& colStatus, std::vector<int>& rowStatus, CrossoverStats& stats);

}  // namespace torva::ipm
