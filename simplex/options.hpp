// Typed snapshot of the parameters the optimise driver reads, taken once at
// the start of a solve so that the driver code reads named fields instead of
// parameter identifiers.
#pragma once

#include "base/params.hpp"
#include "simplex/simplex.hpp"

namespace torva {

// The smaller of two limits where a negative value means "none".
double smallerLimit(double a, double b);

struct DriverOptions {
  int iuSol = 0;              // QX_IPARAM_SOLVER_IUSOL: nonzero asks for a definite answer
  int preLevel = 126;         // QX_IPARAM_LP_PRELEVEL
  int numThreads = 1;         // QX_IPARAM_NUM_THREADS
  int ipmThreads = 1;         // QX_IPARAM_IPM_NUM_THREADS
  int multiThreadMode = -1;   // QX_IPARAM_MULTITHREAD_MODE
  int decompositionType = 1;  // QX_IPARAM_DECOMPOSITION_TYPE
  int probToSolve = 0;        // QX_IPARAM_PROB_TO_SOLVE
  int lpScale = -1;           // QX_IPARAM_LP_SCALE
  int restart = 0;            // QX_IPARAM_SOLVER_RESTART (1: cold start)
  double feasTol = 1e-7;      // QX_DPARAM_SOLVER_FEASTOL
  double optTol = 1e-7;       // QX_DPARAM_SOLVER_OPTTOL
  double cutoff = -1e30;      // QX_DPARAM_SOLVER_CUTOFFVAL
  int printLevel = 0;         // QX_IPARAM_LP_PRINTLEVEL
  int nlpPrintLevel = 0;      // QX_IPARAM_NLP_PRINTLEVEL
  int nlpSolver = 7;          // QX_IPARAM_NLP_SOLVER
  int solveAsLp = 0;          // QX_IPARAM_NLP_SOLVE_AS_LP
  double iterationLimit = -1; // smaller of the two LP iteration limits; < 0 none
  double timeLimit = -1;      // smaller of the two solver time limits, seconds; < 0 none

  static DriverOptions read(const ParamSet& params);
};

// The settings of a simplex run, read from the parameters.
simplex::SimplexOptions simplexOptions(const ParamSet& params);

// Presolve level bit that switches presolve off for one call.
inline constexpr int kPresolveOffBit = 8192;

}  // namespace torva
