#include "simplex/options.hpp"

#include <algorithm>
#include <climits>

#include "torva.h"

namespace torva {
namespace {

// The smaller of two limits where a negative value means "none".
double smallerLimit(double a, double b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return std::min(a, b);
}

}  // namespace

DriverOptions DriverOptions::read(const ParamSet& p) {
  DriverOptions o;
  o.iuSol = p.intValue(QX_IPARAM_SOLVER_IUSOL);
  o.preLevel = p.intValue(QX_IPARAM_LP_PRELEVEL);
  o.numThreads = p.intValue(QX_IPARAM_NUM_THREADS);
  o.ipmThreads = p.intValue(QX_IPARAM_IPM_NUM_THREADS);
  o.multiThreadMode = p.intValue(QX_IPARAM_MULTITHREAD_MODE);
  o.decompositionType = p.intValue(QX_IPARAM_DECOMPOSITION_TYPE);
  o.probToSolve = p.intValue(QX_IPARAM_PROB_TO_SOLVE);
  o.lpScale = p.intValue(QX_IPARAM_LP_SCALE);
  o.restart = p.intValue(QX_IPARAM_SOLVER_RESTART);
  o.feasTol = p.douValue(QX_DPARAM_SOLVER_FEASTOL);
  o.optTol = p.douValue(QX_DPARAM_SOLVER_OPTTOL);
  o.cutoff = p.douValue(QX_DPARAM_SOLVER_CUTOFFVAL);
  o.printLevel = p.intValue(QX_IPARAM_LP_PRINTLEVEL);
  o.nlpPrintLevel = p.intValue(QX_IPARAM_NLP_PRINTLEVEL);
  o.nlpSolver = p.intValue(QX_IPARAM_NLP_SOLVER);
  o.solveAsLp = p.intValue(QX_IPARAM_NLP_SOLVE_AS_LP);
  // INT_MAX is the "no limit" default of the int iteration limit.
  const int itr = p.intValue(QX_IPARAM_LP_ITRLMT);
  o.iterationLimit = smallerLimit(itr == INT_MAX ? -1.0 : itr, p.douValue(QX_DPARAM_LP_ITRLMT));
  const int tl = p.intValue(QX_IPARAM_SOLVER_TIMLMT);
  o.timeLimit = smallerLimit(tl == INT_MAX ? -1.0 : tl, p.douValue(QX_DPARAM_SOLVER_TIMLMT));
  return o;
}

}  // namespace torva
