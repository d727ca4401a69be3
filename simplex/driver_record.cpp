// The continuous solution record: its reset at the start of a solve, the
// outcome table that turns a simplex outcome into statuses and an error, the
// dual objective, and the solution-statistics report.
#include <cmath>

#include "base/info.hpp"
#include "base/log.hpp"
#include "simplex/driver.hpp"

namespace torva::driver {

void beginRecord(Model& model) {
  if (!model.lpSolution) model.lpSolution.emplace();
  LpSolution& r = *model.lpSolution;
  model.status = kStatusUnknown;
  r.modelStatus = kStatusUnknown;
  r.simplexIters = r.barrierIters = r.nlpIters = 0;
  r.primalObj = r.dualObj = 0.0;
  r.primalInfeas = r.dualInfeas = 0.0;
  r.factorizations = r.refactorsRegular = r.refactorsStability = 0;
  r.primalStatus = kStatusUnloaded;
  r.dualStatus = kStatusLoaded;
  r.basisStatus = kStatusLoaded;
  r.errorCode = 0;
  r.errorRow = -1;
  r.ipmStatus = -1;
  // Until a presolve reduces it, the model solved is the model itself.
  setReducedSize(r, &model.data);
  // The vectors of the previous solve do not describe this one: an outcome
  // that installs no solution leaves nothing to read.
  for (auto* v : {&r.x, &r.y, &r.s, &r.d, &r.dCone, &r.x2, &r.y2, &r.s2, &r.d2}) v->clear();
  r.colStatus.clear();
  r.rowStatus.clear();
}

void setReducedSize(LpSolution& r, const ModelData* solved) {
  if (!solved) {
    r.reducedRows = r.reducedCols = r.reducedNnz = r.reducedInts = 0;
    return;
  }
  r.reducedRows = solved->m;
  r.reducedCols = solved->n;
  r.reducedNnz = solved->nnz;
  r.reducedInts = solved->integerStats().binaries + solved->integerStats().integers;
}

bool outcomeStatus(int outcome, OutcomeStatus* o) {
  switch (outcome) {
    // Not finished and interrupted: the primal status keeps the value the
    // start of the call gave it (unloaded); only the dual status is set.
    case 1: *o = {QX_STATUS_LOADED, QX_STATUS_UNLOADED, QX_STATUS_LOADED, 0, false}; return true;
    case 2: *o = {QX_STATUS_BASIC_OPTIMAL, QX_STATUS_BASIC_OPTIMAL, QX_STATUS_BASIC_OPTIMAL, 0, true}; return true;
    // An infeasible primal has an unbounded dual and the reverse.
    case 3: *o = {QX_STATUS_INFEASIBLE, QX_STATUS_INFEASIBLE, QX_STATUS_UNBOUNDED, 0, true}; return true;
    case 4: *o = {QX_STATUS_INFORUNB, QX_STATUS_INFORUNB, QX_STATUS_INFORUNB, 0, true}; return true;
    case 5: *o = {QX_STATUS_UNBOUNDED, QX_STATUS_UNBOUNDED, QX_STATUS_INFEASIBLE, 0, true}; return true;
    case 6: *o = {QX_STATUS_LOADED, QX_STATUS_LOADED, QX_STATUS_LOADED, QXERR_ITER_LIMIT, true}; return true;
    case 8: *o = {QX_STATUS_LOADED, QX_STATUS_LOADED, QX_STATUS_LOADED, QXERR_TIME_LIMIT, true}; return true;
    case 9: *o = {QX_STATUS_LOADED, QX_STATUS_UNLOADED, QX_STATUS_LOADED, QXERR_USER_INTERRUPT, false}; return true;
    case 10: *o = {QX_STATUS_CUTOFF, QX_STATUS_CUTOFF, QX_STATUS_CUTOFF, 0, true}; return true;
    default: return false;  // 7 and codes outside 1..10
  }
}

double dualObjective(const ModelData& d, const std::vector<double>& y, const std::vector<double>& dj,
                     const std::vector<int>& colStatus, const std::vector<double>& x) {
  double obj = d.objConst;
  for (int i = 0; i < d.m && i < static_cast<int>(y.size()); ++i)
    if (d.conType[i] != 'N') obj += d.rhs[i] * y[i];
  for (int j = 0; j < d.n && j < static_cast<int>(dj.size()); ++j) {
    const int st = j < static_cast<int>(colStatus.size()) ? colStatus[j] : 0;
    if (st >= 0) continue;  // basic: its reduced cost is zero
    // Nonbasic columns contribute their reduced cost at the value they hold.
    obj += dj[j] * x[j];
  }
  return obj;
}

namespace {

const char* statusSentence(int status) {
  switch (status) {
    case QX_STATUS_OPTIMAL: return "\nSolution is optimal.\n";
    case QX_STATUS_BASIC_OPTIMAL: return "\nBasic solution is optimal.\n";
    case QX_STATUS_INFEASIBLE: return "\nModel is infeasible.\n";
    case QX_STATUS_UNBOUNDED: return "\nModel is unbounded.\n";
    case QX_STATUS_FEASIBLE: return "\nSolution is feasible.\n";
    case QX_STATUS_INFORUNB: return "\nModel is infeasible or unbounded.\n";
    case QX_STATUS_LOCAL_OPTIMAL: return "\nSolution is locally optimal.\n";
    case QX_STATUS_LOCAL_INFEASIBLE: return "\nModel is locally infeasible.\n";
    default: return nullptr;
  }
}

}  // namespace

void printStatistics(Model& model) {
  int method = 0, time = 0, simIter = 0, barIter = 0, nlpIter = 0, pst = 0, dst = 0, bst = 0, mst = 0;
  double pobj = 0, dobj = 0, pinf = 0, dinf = 0;
  const int items[] = {QX_IINFO_METHOD, QX_IINFO_ELAPSED_TIME, QX_IINFO_SIM_ITER, QX_IINFO_BAR_ITER,
                       QX_IINFO_NLP_ITER, QX_IINFO_PRIMAL_STATUS, QX_IINFO_DUAL_STATUS,
                       QX_IINFO_BASIC_STATUS, QX_IINFO_MODEL_STATUS};
  int* ints[] = {&method, &time, &simIter, &barIter, &nlpIter, &pst, &dst, &bst, &mst};
  const int ditems[] = {QX_DINFO_POBJ, QX_DINFO_DOBJ, QX_DINFO_PINFEAS, QX_DINFO_DINFEAS};
  double* dous[] = {&pobj, &dobj, &pinf, &dinf};
  logText(model, "\n");
  bool ok = true;
  for (int k = 0; k < 9 && ok; ++k) ok = modelInfo(model, items[k], ints[k]) == 0;
  for (int k = 0; k < 4 && ok; ++k) ok = modelInfo(model, ditems[k], dous[k]) == 0;
  if (!ok) {
    logText(model, "\nError in retrieving solution stats.\n");
    return;
  }
  const LpSolution& r = *model.lpSolution;
  logPrint(model, "\nUsed Method        = %d ", method);
  logPrint(model, "\nUsed Time          = %u ", static_cast<unsigned>(time));
  // All factorisations, then the regular and the stability refactorisations
  // among them.
  logPrint(model, "\nRefactors (ok,stb) = %u (%.2f,%.2f) ", static_cast<unsigned>(r.factorizations),
           static_cast<double>(r.refactorsRegular), static_cast<double>(r.refactorsStability));
  logPrint(model, "\nSimplex   Iters    = %u ", static_cast<unsigned>(simIter));
  logPrint(model, "\nBarrier   Iters    = %u ", static_cast<unsigned>(barIter));
  logPrint(model, "\nNonlinear Iters    = %u ", static_cast<unsigned>(nlpIter));
  logPrint(model, "\nPrimal Status      = %u ", static_cast<unsigned>(pst));
  logPrint(model, "\nDual   Status      = %u ", static_cast<unsigned>(dst));
  logPrint(model, "\nBasis  Status      = %u ", static_cast<unsigned>(bst));
  logPrint(model, "\nPrimal Objective   = %.22g ", pobj);
  logPrint(model, "\nDual   Objective   = %.22g ", dobj);
  logPrint(model, "\nDuality Gap        = %e ", std::fabs(pobj - dobj));
  logPrint(model, "\nPrimal Infeas      = %e ", pinf);
  logPrint(model, "\nDual   Infeas      = %e ", dinf);
  if (const char* s = statusSentence(mst)) logText(model, s);
  else logPrint(model, "\nModel status is unknown (%d).\n", mst);
}

}  // namespace torva::driver
