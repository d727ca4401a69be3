// QXoptimize step by step: validation and saved parameters, the thread
// routes, the solution record, the explicit dual, decomposition, trivial
// models, dispatch by model class, and the ending with its report.
#include "simplex/driver.hpp"

#include <algorithm>
#include <cmath>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "bnb/driver.hpp"
#include "nlp/instruct.hpp"
#include "simplex/ipm/ipm_driver.hpp"

namespace torva {
namespace driver {

ModelClass classify(const Model& model) {
  const ModelData& d = model.data;
  ModelClass c;
  c.quadratic = d.hasQuadratic();
  c.cones = d.hasCones();
  // An instruction list makes the model nonlinear for the dispatch even when
  // every row in it is linear: the matrix store then holds no coefficients.
  c.nonlinear = model.nlp && model.nlp->list;
  c.integers = d.hasIntegers() || d.hasSemiCont() || d.hasSets();
  if (model.params.intValue(QX_IPARAM_NLP_SOLVE_AS_LP) == 1) c.quadratic = c.nonlinear = false;
  return c;
}

ThreadDecision decideThreads(const ModelClass& cls, const DriverOptions& opt, int method) {
  ThreadDecision td;
  const bool totalDecomposition = opt.decompositionType == 2;
  int mode = opt.multiThreadMode;
  const bool threaded = opt.numThreads > 1 || opt.ipmThreads > 1;
  if (totalDecomposition && cls.quadratic) {
    td.error = QXERR_NOT_SUPPORTED;
    return td;
  }
  if (totalDecomposition && opt.numThreads > 1) {
    if (mode == -1) {
      mode = 2;
      td.multiThreadMode = 2;
    } else if (mode != 2) {
      td.error = QXERR_NOT_SUPPORTED;
      return td;
    }
  }
  if (cls.nonlinear) {
    if (opt.numThreads >= 2 && !totalDecomposition) {
      if (mode == 2) td.error = QXERR_NOT_SUPPORTED;
      else td.route = ThreadRoute::Concurrent;
    }
    return td;
  }
  if (!threaded) return td;
  if (cls.linear()) {
    if (mode == 2 && !totalDecomposition) {
      if (method == QX_METHOD_BARRIER) td.ipmThreads = std::max(opt.numThreads, opt.ipmThreads);
      else td.error = QXERR_NOT_SUPPORTED;
    } else if (method == QX_METHOD_BARRIER) {
      if (mode == 4) td.error = QXERR_NOT_SUPPORTED;
    } else if (!totalDecomposition) {
      td.route = ThreadRoute::Concurrent;
    }
    return td;
  }
  // Quadratic or conic data.
  if (mode == 4) td.route = ThreadRoute::Concurrent;
  else td.ipmThreads = opt.numThreads;
  return td;
}

namespace {

// Step 9 for a linear model: the pipeline, and one retry without presolve
// when it ran out of memory.
int solveLinear(Call& call) {
  const bool barrier = call.method == QX_METHOD_BARRIER;
  int rc = 0;
  if (barrier && call.model.params.intValue(QX_IPARAM_SOLVER_IPMSOL) == 1 && solveInterior(call, &rc)) return rc;
  rc = runLpPipeline(call);
  if (rc == QXERR_OUT_OF_MEMORY && call.opt.preLevel > 0 && !call.model.presolveForcedOff) {
    ParamSaver retry(call.model.params);
    retry.setInt(QX_IPARAM_LP_PRELEVEL, 0);
    call.opt.preLevel = 0;
    rc = runLpPipeline(call);
  }
  if (barrier) call.model.lpSolution->method = QX_METHOD_BARRIER;
  return rc;
}

}  // namespace

int solveSerial(Call& call) {
  Model& model = call.model;
  const ModelClass cls = classify(model);
  if (cls.linear() && !cls.integers && decideExplicitDual(model, call.opt, call.method))
    return solveExplicitDual(call);
  if (call.opt.decompositionType == 2) {
    bool finished = false;
    int rc = solveDecomposed(call, &finished);
    if (finished || rc) return rc;
  }
  if (!cls.linear()) return solveQuadraticConic(call);
  int rc = 0;
  if (solveTrivial(call, &rc)) return rc;
  return solveLinear(call);
}

namespace {

// Whether the step-12 report is written: a print level above 0, a log
// function and a plain LP.
bool wantsReport(const Model& model, const DriverOptions& opt) {
  if (opt.printLevel <= 0 && opt.nlpPrintLevel <= 0) return false;
  if (!hasLog(model)) return false;
  const ModelClass cls = classify(model);
  return cls.linear() && !cls.integers;
}

bool nlpSolverKnown(int solver) {
  switch (solver) {
    case 4: case 5: case 7: case 8: case 9: case 10: return true;
    default: return false;
  }
}

void hostLog(QXmodel, const char* text, void* host) { logText(*static_cast<Model*>(host), text); }

// QXoptimize; report is false for a model solved on a caller's behalf.
int optimizeCall(Model& model, int method, int* status, bool report);

}  // namespace

int optimizeOnBehalf(Model& model, int method, int* status) { return optimizeCall(model, method, status, false); }

void forwardLog(Model& inner, Model& host) {
  inner.logFunc = host.logFunc ? hostLog : nullptr;
  inner.logUserData = host.logFunc ? &host : nullptr;
}

namespace {

int optimizeCall(Model& model, int method, int* status, bool report) {
  // Step 1: the timestamp and the saved-parameter slots, restored when the
  // saver goes out of scope on every path below.
  ParamSaver saver(model.params);
  Call call{model, method, DriverOptions::read(model.params), saver, Clock::now(), {}, {}};
  if (method < QX_METHOD_FREE || method > QX_METHOD_NLP) return QXERR_BAD_SOLVER_TYPE;

  // Step 2: presolve switched off for the call by bit 8192.
  if (call.opt.preLevel & kPresolveOffBit) {
    saver.setInt(QX_IPARAM_LP_PRELEVEL, 0);
    call.opt.preLevel = 0;
    model.presolveForcedOff = true;
  }

  // Step 3: thread routes, decided before anything is touched.
  const ModelClass cls = classify(model);
  const ThreadDecision td = decideThreads(cls, call.opt, method);
  if (td.error) return td.error;

  // Step 4.
  if (model.status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
  // A nonlinear model takes the free and the nonlinear method and the
  // nonlinear solvers 4, 5, 7, 8, 9 and 10 only.
  if (cls.nonlinear && !cls.cones) {
    if (method != QX_METHOD_FREE && method != QX_METHOD_NLP) return QXERR_BAD_SOLVER_TYPE;
    if (!nlpSolverKnown(model.params.intValue(QX_IPARAM_NLP_SOLVER))) return QXERR_BAD_SOLVER_TYPE;
  }
  // Classes and methods without a solver in this library answer before the
  // record is touched: nonlinear data, cones with quadratic terms, and the
  // nonlinear method. Quadratic models go to the interior-point method
  // whatever the method; cones take methods 0 and 3 only.
  if (method == QX_METHOD_NLP || cls.nonlinear || (cls.cones && cls.quadratic))
    return QXERR_NOT_SUPPORTED;
  if (cls.cones && method != QX_METHOD_FREE && method != QX_METHOD_BARRIER) return QXERR_BAD_SOLVER_TYPE;
  if (td.ipmThreads >= 0) saver.setInt(QX_IPARAM_IPM_NUM_THREADS, td.ipmThreads);
  if (td.multiThreadMode >= -1) saver.setInt(QX_IPARAM_MULTITHREAD_MODE, td.multiThreadMode);
  if (status) *status = kStatusUnknown;
  beginRecord(model);

  int rc = td.route == ThreadRoute::Concurrent ? runConcurrent(call) : solveSerial(call);

  // Step 11: the saved parameters go back, an interrupt wins over other
  // errors, and the record gets the elapsed time.
  saver.restoreAll();
  LpSolution& rec = *model.lpSolution;
  if (rc == QXERR_USER_INTERRUPT || rec.errorCode == QXERR_USER_INTERRUPT) rc = QXERR_USER_INTERRUPT;
  rec.errorCode = rc;
  const double seconds = std::chrono::duration<double>(Clock::now() - call.start).count();
  rec.elapsedSeconds = seconds;
  rec.elapsedTime = static_cast<int>(seconds);
  if (status) *status = rec.modelStatus;

  // Step 12.
  if (report && wantsReport(model, call.opt)) printStatistics(model);
  return rc;
}

}  // namespace
}  // namespace driver

int optimize(Model& model, int method, int* status) { return driver::optimizeCall(model, method, status, true); }

int optimizeQP(Model& model, int* status) {
  if (model.status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
  const driver::ModelClass cls = driver::classify(model);
  if (cls.linear() && !cls.integers) {
    logPrint(model, "\nSolving LP...\n");
    return optimize(model, QX_METHOD_FREE, status);
  }
  if (cls.linear() && cls.integers) {
    logPrint(model, "\nSolving MILP...\n");
    return solveMIP(model, status);
  }
  // Nonlinear models, and cones beside quadratic terms, have no solver here.
  if (cls.nonlinear || (cls.cones && cls.quadratic)) return QXERR_NOT_SUPPORTED;
  if (cls.integers && cls.cones) {
    logPrint(model, "\nSolving MICONIC with conic solver...\n");
    return solveMIP(model, status);
  }
  if (cls.integers) {
    if (!driver::quadraticRowsConvex(model)) {
      logPrint(model, "\nNOT SUPPORT NON-CONVEX QC\n");
      return QXERR_NOT_CONVEX;
    }
    // The root relaxation goes to the barrier for this solve.
    ParamSaver saver(model.params);
    saver.setInt(QX_IPARAM_MIP_TOPOPT, QX_METHOD_BARRIER);
    logPrint(model, "\nSolving convex MIQP with barrier solver...\n");
    return solveMIP(model, status);
  }
  if (cls.cones) {
    logPrint(model, "\nSolving Conic model with conic solver...\n");
    return optimize(model, QX_METHOD_BARRIER, status);
  }
  if (!driver::quadraticRowsConvex(model)) {
    logPrint(model, "\nNOT SUPPORT NON-CONVEX QC\n");
    return QXERR_NOT_CONVEX;
  }
  logPrint(model, "\nSolving convex QP with barrier solver...\n");
  return optimize(model, QX_METHOD_BARRIER, status);
}

}  // namespace torva
