// The explicit dual in the optimise driver: the rule that chooses it, and
// the solve of the dual followed by the warm reoptimisation of the primal.
#include "base/callback.hpp"
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

// The dual model reports on the primal's behalf: the host's progress
// callback sees the dual's iteration and objective at the host's own
// frequency, and a stop it asks for ends the dual's solve.
int forwardProgress(QXmodel dual, int, void* host) {
  if (!dual || !dual->callbacks.hasReport) return 0;
  return reportProgress(*static_cast<Model*>(host), dual->callbacks.lastReport);
}

// The primal solved from a cold start, when the dual gave no basis for it.
int solvePrimalCold(Call& call) {
  logPrint(call.model, "\nWarning: warm start is not available for primal problem.");
  call.opt.restart = 1;
  call.startBasis = HostBasis{};
  return runLpPipeline(call);
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
  forwardLog(*dual, model);
  if (model.callbacks.progress) {
    dual->params.storeDou(QX_DPARAM_CALLBACKFREQ, 0.0);  // the host's frequency applies
    dual->callbacks.progress = forwardProgress;
    dual->callbacks.progressData = &model;
  }
  if (buildDualModel(model, *dual) != 0) return solvePrimalCold(call);

  // A resident primal basis becomes the dual's starting basis.
  const ResidentWork* rw = residentWork(model);
  std::vector<int> pcols, prows;
  if (rw && rw->work.hostBasis(pcols, prows)) {
    std::vector<int> dcols, drows;
    if (int rc = dualBasisFromPrimal(model.data, pcols, prows, dcols, drows)) {
      logPrint(model, "\nComputing of a dual basis from the primal basis failed (error=%d)...\n", rc);
    } else {
      dual->data.basisCols = std::move(dcols);
      dual->data.basisRows = std::move(drows);
      logPrint(model, "\nComputed a dual basis from the primal basis...\n");
    }
  }

  int dualStatus = 0;
  const int dualRc = optimizeOnBehalf(*dual, call.method, &dualStatus);
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
    return solvePrimalCold(call);
  }
  HostBasis start;
  if (int rc = primalBasisFromDual(model.data, drec->colStatus, start.cols, start.rows)) {
    logPrint(model, "\nWarning: failed to load the primal basis (error %d).", rc);
    return solvePrimalCold(call);
  }
  // The primal starts from the basis of the dual's solution.
  model.workArea.reset();
  call.startBasis = std::move(start);
  return runLpPipeline(call);
}

}  // namespace torva::driver
