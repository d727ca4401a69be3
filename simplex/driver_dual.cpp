// The explicit dual in the optimise driver: the rule that chooses it, and
// the solve of the dual followed by the warm reoptimisation of the primal.
#include "base/log.hpp"
#include "simplex/driver.hpp"
#include "simplex/driver_work.hpp"
#include "simplex/dual_model.hpp"

namespace torva::driver {
namespace {

// Below this row count the automatic rule never solves the dual.
constexpr int kDualMinRows = 2501;
// From this column count on the shape test also looks at the short rows and
// columns.
constexpr int kDualWideCols = 100001;

bool dualShaped(const ModelData& d) {
  const int m = d.m, n = d.n;
  if (m > 3.0 * n) return true;
  if (n < kDualWideCols) return false;
  const BaseStats& s = d.stats();
  // The store keeps no ranged rows (ranges become pairs of bounds on the
  // row activity when read), so their count is 0 here.
  const int ranged = 0;
  const bool shortHeavy = (m - s.cols2 - s.rows1 - s.rows2) > 2.0 * (n - s.cols1 - s.rows2 - s.cols2);
  return shortHeavy && (s.bx + ranged <= n || m >= 1.5 * n);
}

}  // namespace

bool decideExplicitDual(const Model& model, const DriverOptions& opt, int method) {
  if (method == QX_METHOD_BARRIER) return false;
  if (opt.probToSolve == 2) return true;
  if (opt.probToSolve != 0) return false;
  const ModelData& d = model.data;
  if (d.m < kDualMinRows || d.n == 0) return false;
  const BaseStats& s = d.stats();  // built once, kept until the model changes
  const bool shaped = dualShaped(d);
  const double m = d.m, n = d.n;
  const double rowDensity = s.denseRowNnz[0] / n;  // densest row over n
  const double colDensity = s.denseColNnz[0] / m;  // densest column over m
  if (n >= 1.1 * m || n <= 0.9 * m) return shaped;
  if (!shaped) return rowDensity > 0.1 && rowDensity > 10 * colDensity;
  return !(colDensity > 0.1 && colDensity > 10 * rowDensity);
}

int solveExplicitDual(Call& call) {
  Model& model = call.model;
  logPrint(model, "\nConstructing the explicit dual model...");
  auto dual = std::make_unique<Model>(model.env);
  dual->params = model.params;
  dual->params.storeInt(QX_IPARAM_PROB_TO_SOLVE, 1);  // the dual of the dual is not built
  dual->params.storeInt(QX_IPARAM_DECOMPOSITION_TYPE, 1);
  dual->params.storeInt(QX_IPARAM_NUM_THREADS, 1);
  dual->params.storeInt(QX_IPARAM_IPM_NUM_THREADS, 1);
  dual->logFunc = model.logFunc;
  dual->logUserData = model.logUserData;
  if (buildDualModel(model, *dual) != 0) {
    logPrint(model, "\nWarning: warm start is not available for primal problem.");
    return runLpPipeline(call);
  }

  // A resident primal basis becomes the dual's starting basis.
  const LpSolution& rec = *model.lpSolution;
  if (residentWork(model) && rec.colStatus.size() == static_cast<std::size_t>(model.data.n)) {
    std::vector<int> dcols, drows;
    if (int rc = dualBasisFromPrimal(model.data, rec.colStatus, rec.rowStatus, dcols, drows)) {
      logPrint(model, "\nComputing of a dual basis from the primal basis failed (error=%d)...\n", rc);
    } else {
      dual->data.basisCols = std::move(dcols);
      dual->data.basisRows = std::move(drows);
      logPrint(model, "\nComputed a dual basis from the primal basis...\n");
    }
  }

  int dualStatus = 0;
  const int dualRc = optimize(*dual, call.method, &dualStatus);
  model.lpSolution->simplexIters += dual->lpSolution ? dual->lpSolution->simplexIters : 0;
  if (dualRc == QXERR_USER_INTERRUPT) {
    model.lpSolution->modelStatus = QX_STATUS_LOADED;
    model.lpSolution->dualStatus = QX_STATUS_LOADED;
    model.status = QX_STATUS_LOADED;
    return dualRc;
  }

  logPrint(model, "\n\nConstructing a primal basis from the explicit dual...\n");
  const LpSolution* drec = dual->lpSolution ? &*dual->lpSolution : nullptr;
  if (!drec || drec->colStatus.size() != static_cast<std::size_t>(dual->data.n)) {
    logPrint(model, "\nWarning: failed to retrieve the dual basis (error %d).",
             dualRc ? dualRc : QXERR_INFO_NOT_AVAILABLE);
    logPrint(model, "\nWarning: warm start is not available for primal problem.");
    return runLpPipeline(call);
  }
  HostBasis start;
  if (int rc = primalBasisFromDual(model.data, drec->colStatus, start.cols, start.rows)) {
    logPrint(model, "\nWarning: failed to load the primal basis (error %d).", rc);
    logPrint(model, "\nWarning: warm start is not available for primal problem.");
    return runLpPipeline(call);
  }
  // The primal starts from the basis of the dual's solution.
  model.workArea.reset();
  call.startBasis = std::move(start);
  return runLpPipeline(call);
}

}  // namespace torva::driver
