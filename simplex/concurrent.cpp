// The concurrent runner: private copies of the model solved in parallel
// with different strategies; the first to finish with a definite answer
// stops the others through the progress callback of each copy, and its
// result is copied back into the caller's model on the calling thread.
#include <omp.h>

#include <atomic>
#include <chrono>
#include <exception>
#include <string>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "simplex/driver.hpp"

namespace torva::driver {

std::unique_ptr<Model> solverCopy(const Model& model) {
  auto copy = std::make_unique<Model>(model.env);
  copy->params = model.params;
  const ModelData& s = model.data;
  ModelData& d = copy->data;
  d.m = s.m;
  d.n = s.n;
  d.nnz = s.nnz;
  d.objSense = s.objSense;
  d.objConst = s.objConst;
  d.cost = s.cost;
  d.rhs = s.rhs;
  d.conType = s.conType;
  d.colBeg = s.colBeg;
  d.colLen = s.colLen;
  d.rowIdx = s.rowIdx;
  d.value = s.value;
  d.lower = s.lower;
  d.upper = s.upper;
  d.varType = s.varType;
  d.basisCols = s.basisCols;
  d.basisRows = s.basisRows;
  d.varNames = s.varNames;
  d.conNames = s.conNames;
  copy->status = model.status;
  return copy;
}

namespace {

// A worker's copy: the linear core and every further kind of data, so that
// each copy solves the host's model class (quadratic, conic, semi-continuous
// and set data included). Nonlinear models never reach the runner: they are
// answered before it starts.
std::unique_ptr<Model> workerCopy(const Model& model) {
  std::unique_ptr<Model> copy = solverCopy(model);
  const ModelData& s = model.data;
  ModelData& d = copy->data;
  d.scVars = s.scVars;
  d.scLower = s.scLower;
  d.qc = s.qc;
  d.cones = s.cones;
  d.sets = s.sets;
  d.priority = s.priority;
  d.startX = s.startX;
  d.mipStartX = s.mipStartX;
  d.startPartVars = s.startPartVars;
  d.startPartX = s.startPartX;
  d.mipStartPartVars = s.mipStartPartVars;
  d.mipStartPartX = s.mipStartPartX;
  d.coneNames = s.coneNames;
  d.title = s.title;
  d.objName = s.objName;
  return copy;
}

// What the progress callback of a copy sees.
struct CopyLink {
  std::atomic<bool>* stop;
  Model* host = nullptr;  // copy 0 passes the host's progress callback on
};

int copyProgress(QXmodel copy, int, void* data) {
  auto* link = static_cast<CopyLink*>(data);
  if (link->stop->load()) return 1;
  if (link->host && copy && copy->callbacks.hasReport) {
    // Copy 0 reports on the host's behalf: the host's callback sees the
    // copy's iteration and objective at the host's own frequency, and a
    // stop it asks for ends every copy, not only this one.
    const int rc = reportProgress(*link->host, copy->callbacks.lastReport);
    if (rc != 0) link->stop->store(true);
    return rc;
  }
  return 0;
}

// The default strategy of copy k and its name in the workload lines. The
// explicit dual exists for linear data only: a nonlinear copy varies its
// finite differences instead, a quadratic or conic one keeps the caller's
// choice.
std::string applyStrategy(ParamSet& p, int k, const ModelClass& cls) {
  std::string name = "Default";
  switch (k) {
    case 0: break;
    case 1:
      if (cls.nonlinear) {
        p.storeInt(QX_IPARAM_NLP_DERIV_DIFFTYPE, QX_DERIV_FORWARD_DIFFERENCE);
        name = "Forward differences";
      } else if (cls.linear()) {
        p.storeInt(QX_IPARAM_PROB_TO_SOLVE, 2);
        name = "Explicit dual";
      }
      break;
    case 2:
      p.storeInt(QX_IPARAM_PROB_TO_SOLVE, 1);
      p.storeInt(QX_IPARAM_LU_UPDATE_TYPE, 0);
      name = "Primal model, LU update 0";
      break;
    case 3:
      if (cls.nonlinear) {
        p.storeInt(QX_IPARAM_NLP_DERIV_DIFFTYPE, QX_DERIV_CENTER_DIFFERENCE);
        name = "Central differences, LU update 0";
      } else if (!cls.quadratic && !cls.cones) {
        p.storeInt(QX_IPARAM_PROB_TO_SOLVE, 2);
        name = "Explicit dual, LU update 0";
      } else {
        name = "LU update 0";
      }
      p.storeInt(QX_IPARAM_LU_UPDATE_TYPE, 0);
      break;
    case 4: p.storeInt(QX_IPARAM_PROB_TO_SOLVE, 1); name = "Primal model"; break;
    default: break;  // copies 5 and above differ only in the refactorisation frequency
  }
  if (k >= 4) {
    p.storeInt(QX_IPARAM_SPLEX_REFACFRQ, 150 + 50 * k);
    name += ", refactor " + std::to_string(150 + 50 * k);
  }
  return name;
}

bool definite(int status) {
  switch (status) {
    case QX_STATUS_BASIC_OPTIMAL: case QX_STATUS_OPTIMAL: case QX_STATUS_INFEASIBLE:
    case QX_STATUS_UNBOUNDED: case QX_STATUS_INFORUNB: case QX_STATUS_CUTOFF: return true;
    default: return false;
  }
}

struct Worker {
  std::unique_ptr<Model> model;
  CopyLink link;
  std::string name;
  int error = 0;
  int status = QX_STATUS_UNKNOWN;
  double seconds = 0.0;
};

}  // namespace

int runConcurrent(Call& call) {
  Model& model = call.model;
  const int threads = call.opt.numThreads;
  if (threads < 2) {
    logPrint(model, "\nConcurrent threads is %d, switching to serial solver.", threads);
    return solveSerial(call);
  }
  logPrint(model, "\nConcurrent run started..\n");
  logPrint(model, "\nWarning: Concurrent strategy-callbacks are not set for QXoptimize.");
  logPrint(model, "\nWarning: Concurrent runs will use default strategies..\n");

  std::atomic<bool> stop{false};
  std::atomic<int> winner{-1};
  std::vector<Worker> workers(static_cast<std::size_t>(threads));
  const ModelClass cls = classify(model);
  for (int k = 0; k < threads; ++k) {
    Worker& w = workers[k];
    w.model = workerCopy(model);
    ParamSet& p = w.model->params;
    w.name = applyStrategy(p, k, cls);
    p.storeInt(QX_IPARAM_NUM_THREADS, 1);
    p.storeInt(QX_IPARAM_IPM_NUM_THREADS, 1);
    p.storeDou(QX_DPARAM_CALLBACKFREQ, 0.0);  // the stop flag is read at every report
    if (k > 0) p.storeInt(QX_IPARAM_ALLOW_CNTRLBREAK, 0);
    w.link = CopyLink{&stop, k == 0 ? &model : nullptr};
    // Copy 0 runs on the calling thread and speaks through the host's log.
    if (k == 0) forwardLog(*w.model, model);
    w.model->callbacks.progress = copyProgress;
    w.model->callbacks.progressData = &w.link;
  }
#pragma omp parallel for num_threads(threads) schedule(static, 1)
  for (int k = 0; k < threads; ++k) {
    Worker& w = workers[k];
    const auto t0 = Clock::now();
    try {
      w.error = optimizeOnBehalf(*w.model, call.method, &w.status);
    } catch (const std::bad_alloc&) {
      w.error = QXERR_OUT_OF_MEMORY;
    } catch (...) {
      w.error = QXERR_INTERNAL_ERROR;
    }
    w.seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    if (w.error == 0 && definite(w.status)) {
      int none = -1;
      if (winner.compare_exchange_strong(none, k)) stop.store(true);
    }
  }

  logPrint(model, "\n\nConcurrent run terminated..\n");
  for (int k = 0; k < threads; ++k)
    logPrint(model, "\nThread-id:%d, status: %2d, error: %d", k, workers[k].status, workers[k].error);
  for (int k = 0; k < threads; ++k)
    logPrint(model, "\n%s workload: %.2f secs", workers[k].name.c_str(), workers[k].seconds);

  // Without a definite answer the copy with the caller's own settings stands.
  const int w = winner.load() >= 0 ? winner.load() : 0;
  Worker& win = workers[w];
  if (win.model->lpSolution) model.lpSolution = std::move(win.model->lpSolution);
  model.workArea = std::move(win.model->workArea);
  model.status = model.lpSolution->modelStatus;
  return win.error;
}

}  // namespace torva::driver
