#include "simplex/options.hpp"

#include <algorithm>
#include <climits>

#include "torva.h"

namespace torva {
namespace {
// Bit of the profiler level that sets the factorisation kernel's profiling flag.
constexpr int kProfileKernelBit = 256;
}  // namespace

double smallerLimit(double a, double b) {
  if (a < 0) return b;
  if (b < 0) return a;
  return std::min(a, b);
}

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

simplex::SimplexOptions simplexOptions(const ParamSet& p) {
  simplex::SimplexOptions o;
  o.feasTol = p.douValue(QX_DPARAM_SOLVER_FEASTOL);
  o.optTol = p.douValue(QX_DPARAM_SOLVER_OPTTOL);
  o.minFeasTol = p.douValue(QX_DPARAM_LP_MIN_FEASTOL);
  o.maxFeasTol = p.douValue(QX_DPARAM_LP_MAX_FEASTOL);
  o.minOptTol = p.douValue(QX_DPARAM_LP_MIN_OPTTOL);
  o.maxOptTol = p.douValue(QX_DPARAM_LP_MAX_OPTTOL);
  o.pivTol = p.douValue(QX_DPARAM_LP_PIV_ZEROTOL);
  o.pivBigTol = p.douValue(QX_DPARAM_LP_PIV_BIGTOL);
  o.minPivTol = p.douValue(QX_DPARAM_LP_MIN_PIVTOL);
  o.maxPivTol = p.douValue(QX_DPARAM_LP_MAX_PIVTOL);
  o.aijZeroTol = p.douValue(QX_DPARAM_LP_AIJ_ZEROTOL);
  o.infinity = p.douValue(QX_DPARAM_LP_INFINITY);
  o.bndInf = p.douValue(QX_DPARAM_LP_BNDINF);
  o.bigM = p.douValue(QX_DPARAM_LP_BIGM);
  o.refactorFrequency = p.intValue(QX_IPARAM_SPLEX_REFACFRQ);
  o.ratRange = p.intValue(QX_IPARAM_LP_RATRANGE);
  o.luNumCandidates = p.intValue(QX_IPARAM_LU_NUM_CANDITS);
  o.luMaxUpdates = p.intValue(QX_IPARAM_LU_MAX_UPDATES);
  o.luPrintLevel = p.intValue(QX_IPARAM_LU_PRINT_LEVEL);
  o.luUpdateType = p.intValue(QX_IPARAM_LU_UPDATE_TYPE);
  o.luUsePivcol = p.intValue(QX_IPARAM_LU_USE_PIVCOL);
  o.luProfile = (p.intValue(QX_IPARAM_PROFILER_LEVEL) & kProfileKernelBit) ? 1 : 0;
  o.luEpsDiag = p.douValue(QX_DPARAM_LU_EPS_DIAG);
  o.luEpsNonz = p.douValue(QX_DPARAM_LU_EPS_NONZ);
  o.luEpsPivAbs = p.douValue(QX_DPARAM_LU_EPS_PIVABS);
  o.luEpsPivRel = p.douValue(QX_DPARAM_LU_EPS_PIVREL);
  o.luIniRcond = p.douValue(QX_DPARAM_LU_INI_RCOND);
  o.luSpvtolUpdate = p.douValue(QX_DPARAM_LU_SPVTOL_UPDATE);
  o.luSpvtolFtran = p.douValue(QX_DPARAM_LU_SPVTOL_FTRAN);
  o.luSpvtolBtran = p.douValue(QX_DPARAM_LU_SPVTOL_BTRAN);
  o.primalPricing = p.intValue(QX_IPARAM_SPLEX_PPRICING);
  o.dualPricing = p.intValue(QX_IPARAM_SPLEX_DPRICING);
  o.partialMethod = p.intValue(QX_IPARAM_LP_PPARTIAL);
  o.dpSwitch = p.intValue(QX_IPARAM_LP_DPSWITCH);
  o.dualPhase = p.intValue(QX_IPARAM_SPLEX_DUAL_PHASE);
  o.scale = p.intValue(QX_IPARAM_LP_SCALE);
  o.iuSol = p.intValue(QX_IPARAM_SOLVER_IUSOL);
  o.useCutoff = p.intValue(QX_IPARAM_SOLVER_USECUTOFFVAL);
  o.cutoff = p.douValue(QX_DPARAM_SOLVER_CUTOFFVAL);
  o.pertMode = p.intValue(QX_IPARAM_LP_PERTMODE);
  o.pertFact = p.douValue(QX_DPARAM_LP_PERTFACT);
  o.dynObjFact = p.douValue(QX_DPARAM_LP_DYNOBJFACT);
  o.pcolalFactor = p.intValue(QX_IPARAM_LP_PCOLAL_FACTOR);
  o.maxMerge = p.intValue(QX_IPARAM_LP_MAXMERGE);
  // Strategy bit 1048576 (forced by 2097152, or asked for by bit 4 of the
  // solver mode) carries the objective as an extra row and column and
  // polishes an optimal basis.
  o.oprFree = p.intValue(QX_IPARAM_LP_OPRFREE);
  o.solverMode = p.intValue(QX_IPARAM_SOLVER_MODE);
  return o;
}

}  // namespace torva
