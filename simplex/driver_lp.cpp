// The LP pipeline: presolve hook, the simplex runs with the recovery ladder
// around them, postsolve with its check, the definite-answer re-solve, and
// the outcome table that fills the solution record.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "base/callback.hpp"
#include "base/log.hpp"
#include "simplex/driver.hpp"
#include "simplex/driver_work.hpp"
#include "simplex/ipm/ipm_driver.hpp"
#include "simplex/presolve_hook.hpp"
#include "simplex/vector_norms.hpp"

namespace torva {
namespace driver {

ResidentWork::ResidentWork(const ModelData& data) : work(data), rows_(data.m), cols_(data.n) {}

ResidentWork* residentWork(Model& model) {
  auto* rw = dynamic_cast<ResidentWork*>(model.workArea.get());
  if (rw && !rw->work.matches(model.data)) {
    model.workArea.reset();
    return nullptr;
  }
  return rw;
}

namespace {

using simplex::SimplexResult;
using simplex::StartBasis;

SimplexRunHook& runHook() {
  static SimplexRunHook hook;
  return hook;
}

// Verdict codes of the recovery ladder.
enum Recovery : int {
  kAccept = 0,
  kUnscaleAfterInstability = 1,
  kOtherMethod = 2,
  kPrimalInfeasible = 3,
  kDualInfeasible = 4,
  kFalseInfeasible = 5,
  kCrash = 6,
  kCutoffDualInfeasible = 7,
};
constexpr int kLadderPasses = 4;  // passes 0 to 3

// One simplex run of the ladder: the data, where its work area lives, and
// how it starts.
struct Run {
  const ModelData& data;
  std::unique_ptr<WorkArea>& slot;
  int scale;
  bool cold;
  HostBasis given;
  int forceMethod = -1;  // 1 or 2 forces the method, else the rule of the call
  bool crossover = false;  // starts from the crossover's basis
  bool presolved = false;  // data is the presolved LP
  bool installOnly = false;  // factorises the given basis without a pivot
};

// The clean-up after crossover starts at the interior optimum's objective, so
// its pivots are degenerate until the reduced costs take their signs: a long
// run of them is the expected path, not stalling, and random pivots taken
// against it cost thousands of iterations (degen3, scsd8). The remedies wait
// for this many degenerate pivots there (about ten times the longest
// clean-up over Netlib without them), so that a real cycle still ends.
constexpr int kCrossoverStallingRun = 10000;
// QX_IPARAM_SPLEX_PPRICING's value for devex.
constexpr int kDevexPricing = 1;

// Decides which basis a run starts from: none on a cold start (a crash
// basis), else a basis handed over by the caller, else the resident basis,
// else a basis the host loaded, else a crash basis.
StartBasis chooseStart(simplex::SimplexWork& work, const ModelData& data, const Run& run) {
  if (run.cold) {
    work.dropBasis();
    return StartBasis::Crash;
  }
  if (!run.given.empty()) {
    work.setBasis(run.given.cols, run.given.rows);
    return StartBasis::Given;
  }
  if (work.hasBasis()) return StartBasis::Resident;
  if (!data.basisCols.empty() && !data.basisRows.empty()) {
    work.setBasis(data.basisCols, data.basisRows);
    return StartBasis::Given;
  }
  return StartBasis::Crash;
}

simplex::SolveContext makeContext(Call& call, int location) {
  Model& model = call.model;
  simplex::SolveContext ctx;
  if (hasLog(model)) ctx.log = [&model](const std::string& line) { logText(model, line.c_str()); };
  ctx.printLevel = call.opt.printLevel;
  ctx.traceMask = model.params.intValue(QX_IPARAM_LP_PRTFG);
  ctx.progress = [&model, location](double iterations, double objective) {
    return reportProgress(model, {location, iterations, objective, false}) < 0;
  };
  // The simplex asks at least this often; a shorter callback frequency asks
  // more often.
  const double freq = model.params.douValue(QX_DPARAM_CALLBACKFREQ);
  if (freq >= 0 && freq < ctx.progressInterval) ctx.progressInterval = freq;
  ctx.timeLimit = call.opt.timeLimit;
  ctx.iterationLimit = call.opt.iterationLimit;
  ctx.start = call.start;
  return ctx;
}

int runOnce(Call& call, const Run& run, SimplexResult& res) {
  auto* rw = dynamic_cast<ResidentWork*>(run.slot.get());
  if (rw && !rw->work.matches(run.data)) rw = nullptr;
  if (!rw) {
    auto fresh = std::make_unique<ResidentWork>(run.data);
    rw = fresh.get();
    run.slot = std::move(fresh);
  }
  const StartBasis start = chooseStart(rw->work, run.data, run);
  // A fresh solve runs the dual for method 2 and the primal otherwise; a
  // reoptimisation from the resident work runs the primal for method 1 and
  // the dual otherwise.
  simplex::Method method;
  if (run.forceMethod == 1 || run.forceMethod == 2) {
    method = static_cast<simplex::Method>(run.forceMethod);
  } else if (start == StartBasis::Resident) {
    method = call.method == QX_METHOD_PSIMPLEX ? simplex::Method::Primal : simplex::Method::Dual;
  } else {
    method = call.method == QX_METHOD_DSIMPLEX ? simplex::Method::Dual : simplex::Method::Primal;
  }
  simplex::SimplexOptions so = simplexOptions(call.model.params);
  so.scale = run.scale;
  if (run.crossover && !run.cold) {
    so.stallingRun = kCrossoverStallingRun;
    // Devex from the start when the pricing is left to the library: partial
    // pricing picks among few columns, and each pick costs a degenerate
    // pivot here (scsd8: 246 clean-up iterations against 36).
    if (so.primalPricing == -1) so.primalPricing = kDevexPricing;
  }
  simplex::SolveContext ctx =
      makeContext(call, method == simplex::Method::Dual ? QXLOC_DUAL : QXLOC_PRIMAL);
  ctx.presolved = run.presolved;
  if (run.installOnly) {
    // A silent step of the pipeline, not a solve of its own.
    ctx.iterationLimit = 0;
    ctx.log = nullptr;
    ctx.printLevel = ctx.traceMask = 0;
  }
  res = SimplexResult{};
  const int err = runHook() ? runHook()(call.model, start, so, res)
                            : rw->work.solve(run.data, method, start, so, ctx, res);
  LpSolution& rec = *call.model.lpSolution;
  rec.simplexIters += static_cast<int>(res.iterations);
  rec.factorizations += res.factorizations;
  rec.refactorsRegular += res.refactorsRegular;
  rec.refactorsStability += res.refactorsStability;
  return err;
}

int modelStatusOf(int outcome) {
  OutcomeStatus os{};
  return outcomeStatus(outcome, &os) ? os.modelStatus : QX_STATUS_UNKNOWN;
}

}  // namespace

// Looks at a run and returns the recovery code (kAccept ends the ladder).
// A residual violation is accepted when the condition of the final basis
// explains it: the accuracy bound is the condition estimate times
// DBL_EPSILON (times the dual norm for dual violations), and never less than
// ten times the tolerance.
int recoveryVerdict(Call& call, const ModelData& solved, bool scaled, int err, const simplex::SimplexResult& r,
                    bool report) {
  Model& model = call.model;
  const DriverOptions& o = call.opt;
  // Messages go to the log only when the verdict is reported.
  auto print = [&](const char* fmt, auto... args) {
    if (report) logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, fmt, args...);
  };
  auto say = [&](const char* text) { print("%s", text); };
  const int status = modelStatusOf(r.outcome);
  const double pp = r.primalInfeas, dd = r.dualInfeas;
  const double condest = r.rcond > 0 ? 1.0 / r.rcond : 1.0 / DBL_EPSILON;
  const double ynorm = normInf(r.y);
  const double pBound = std::max(10 * o.feasTol, condest * DBL_EPSILON);
  const double dBound = std::max(10 * o.optTol, condest * DBL_EPSILON * std::max(1.0, ynorm));
  auto acceptPrimal = [&] {
    print(
               "\nWarning: accepting primal infeasibility (%12.6e), condest=%.8e", pp, condest);
    return kAccept;
  };
  auto acceptDual = [&] {
    print(
               "\nWarning: accepting dual infeasibility (%12.6e), condest=%.8e, ynorm=%.8e", dd,
               condest, ynorm);
    return kAccept;
  };
  // A basic optimum checked against the tolerances: the scaled and the
  // unscaled run differ only in their messages.
  const auto optimalVerdict = [&](const char* primalMsg, const char* dualMsg, const char* dualRetry) {
    if (pp > 10 * o.feasTol) {
      print(primalMsg, pp);
      if (pp <= pBound) return acceptPrimal();
      say("\nWarning: optimizing unscaled model...");
      return kPrimalInfeasible;
    }
    if (dd > 10 * o.optTol) {
      print(dualMsg, dd);
      if (dd <= dBound) return acceptDual();
      say(dualRetry);
      return kDualInfeasible;
    }
    return kAccept;
  };
  if (err == QXERR_NUMERIC_INSTABILITY && r.iterations == 0) {
    say("\nWarning: initial basis singular,\nWarning: crashing a new basis...");
    return kCrash;
  }
  if (!scaled) {
    if (err == QXERR_NUMERIC_INSTABILITY) {
      say("\nWarning: numerical instability,\nWarning: optimizing model using another method...");
      return kOtherMethod;
    }
    if (status != QX_STATUS_BASIC_OPTIMAL) return kAccept;
    return optimalVerdict("\nWarning: solution to the original model is not primal feasible (ppfeas=%12.6e)",
                          "\nWarning: solution to the original model is not dual feasible (ddfeas=%12.6e)",
                          "\nWarning: reoptimizing model...");
  }
  if (err == QXERR_NUMERIC_INSTABILITY) {
    say("\nWarning: numerical instability,\nWarning: optimizing unscaled model...");
    return kUnscaleAfterInstability;
  }
  if (status == QX_STATUS_BASIC_OPTIMAL)
    return optimalVerdict("\nWarning: descaled solution is not primal feasible (ppfeas=%12.6e)",
                          "\nWarning: descaled solution is not dual feasible (ddfeas=%12.6e)",
                          "\nWarning: optimizing unscaled model...");
  if (status == QX_STATUS_CUTOFF && dd > 10 * o.optTol) {
    print(
               "\nWarning: descaled cutoff solution is not dual feasible (ddfeas=%12.6e)", dd);
    if (dd <= dBound) return acceptDual();
    say("\nWarning: optimizing unscaled model...");
    return kCutoffDualInfeasible;
  }
  if (status == QX_STATUS_INFEASIBLE && !r.x.empty()) {
    // The unscaled point of an infeasible verdict is checked against the
    // unscaled rows and bounds of the LP the run solved (the reduced one
    // after presolve).
    const double viol = primalViolation(solved, r);
    if (viol <= o.feasTol) {
      print(
                 "\nWarning: descaled solution is primal feasible (ppfeas=%12.6e, ddfeas=%12.6e),"
                 "\nWarning: optimizing unscaled model...",
                 viol, dd);
      return kFalseInfeasible;
    }
    if (pp <= 10 * o.feasTol) {
      print(
                 "\nWarning: scaled solution is near (primal) feasible (ppfeas=%12.6e, ddfeas=%12.6e),"
                 "\nWarning: optimizing unscaled model...",
                 pp, dd);
      return kFalseInfeasible;
    }
  }
  return kAccept;
}

namespace {

// The scaling, warm start and message of a ladder pass for the codes that
// switch scaling and warm starts.
struct PassAction {
  int scale;
  bool cold;
  const char* message;
};
constexpr PassAction kPassActions[kLadderPasses] = {
    {0, false, "\nWarning: scaling off, warm-start on"},
    {1, false, "\nWarning: scaling on, warm-start on"},
    {1, true, "\nWarning: scaling on, warm-start off"},
    {0, true, "\nWarning: scaling off, warm-start off"},
};

// Runs the simplex with the recovery ladder around it. Returns the error of
// the last run; res holds its result.
int runLadder(Call& call, Run run, SimplexResult& res) {
  Model& model = call.model;
  ParamSaver saver(model.params);
  saver.setInt(QX_IPARAM_LP_SCALE, -1);
  saver.setInt(QX_IPARAM_SOLVER_RESTART, 0);
  // Method 3: the interior-point method runs first and its crossover basis
  // starts the simplex (a fresh crash basis when it found no optimum).
  if (call.method == QX_METHOD_BARRIER && !call.barrierOff && run.given.empty() && run.forceMethod < 0) {
    const int e = barrierStart(call, run.data, run.given);
    if (e) return e;
    if (call.barrierNoOptimum) return kBarrierNoOptimum;
    run.cold = run.given.empty();
    run.crossover = !run.cold;
  }
  int err = runOnce(call, run, res);
  bool accepted = false;
  for (int pass = 0; pass < kLadderPasses; ++pass) {
    if (err == QXERR_OUT_OF_MEMORY) return err;
    const int code = recoveryVerdict(call, run.data, run.scale != 0, err, res);
    if (code == kAccept) {
      accepted = true;
      break;
    }
    const double cutoffBefore = model.params.douValue(QX_DPARAM_SOLVER_CUTOFFVAL);
    // Every action starts from a released work area; a warm start uses the
    // basis of the run before.
    run.slot.reset();
    run.given = HostBasis{res.colStatus, res.rowStatus};
    bool last = false;
    if (code == kOtherMethod || code == kCrash) {
      run.cold = true;
      last = code == kOtherMethod;
      if (code == kOtherMethod && run.forceMethod < 0)
        run.forceMethod = res.methodUsed == simplex::Method::Dual ? 1 : 2;
    } else {
      const PassAction& a = kPassActions[pass];
      run.scale = a.scale;
      run.cold = a.cold;
      logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, "%s", a.message);
      if (code == kCutoffDualInfeasible) saver.setDou(QX_DPARAM_SOLVER_CUTOFFVAL, cutoffBefore);
    }
    if (run.cold) run.given = HostBasis{};
    saver.setInt(QX_IPARAM_LP_SCALE, run.scale);
    saver.setInt(QX_IPARAM_SOLVER_RESTART, run.cold ? 1 : 0);
    err = runOnce(call, run, res);
    if (last) break;
  }
  // A ladder that ends without a good verdict on its last run leaves that
  // run's status and reports numerical trouble.
  if (!accepted && err != QXERR_OUT_OF_MEMORY &&
      recoveryVerdict(call, run.data, run.scale != 0, err, res, false) != kAccept)
    return QXERR_NUMERIC_INSTABILITY;
  return err;
}

bool allFinite(const std::vector<double>& v) {
  return std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); });
}

static_assert(simplex::kStatusLoaded == QX_STATUS_LOADED && simplex::kStatusUnknown == QX_STATUS_UNKNOWN);

// Fills the solution record from the last run through the outcome table.
int applyOutcome(Call& call, SimplexResult& r, int err) {
  Model& model = call.model;
  LpSolution& rec = *model.lpSolution;
  rec.method = r.methodUsed == simplex::Method::Dual ? QX_METHOD_DSIMPLEX : QX_METHOD_PSIMPLEX;
  if (err == QXERR_OUT_OF_MEMORY || err == QXERR_INTERNAL_ERROR) {
    // A switch loop that ran out of memory left the model loaded.
    if (r.settledStatus != 0) model.status = rec.modelStatus = r.settledStatus;
    return err;
  }
  OutcomeStatus os{};
  if (!outcomeStatus(r.outcome, &os)) {
    logPrint(model, "\nWarning: Unexpected LP status %d in %s", r.outcome, "applyOutcome");
    return QXERR_INTERNAL_ERROR;
  }
  rec.modelStatus = os.modelStatus;
  rec.primalStatus = os.primalStatus;
  rec.dualStatus = os.dualStatus;
  rec.basisStatus = os.copySolution ? os.primalStatus : QX_STATUS_LOADED;
  int rc = os.error;
  if (os.copySolution) {
    if (!allFinite(r.x) || !allFinite(r.y) || !allFinite(r.d) || !allFinite(r.slack)) {
      rc = QXERR_NUMERIC_INSTABILITY;
    } else {
      const ModelData& d = model.data;
      rec.x = std::move(r.x);
      rec.s = std::move(r.slack);
      rec.y = std::move(r.y);
      rec.d = std::move(r.d);
      rec.colStatus = std::move(r.colStatus);
      rec.rowStatus = std::move(r.rowStatus);
      rec.primalObj = r.objective;
      rec.dualObj = rec.x.size() == static_cast<std::size_t>(d.n)
                        ? dualObjective(d, rec.y, rec.d, rec.colStatus, rec.x)
                        : r.objective;
      rec.primalInfeas = r.primalInfeas;
      rec.dualInfeas = r.dualInfeas;
    }
  }
  if (err == QXERR_NUMERIC_INSTABILITY) {
    rc = err;
    // A switch loop that gave up settled the status itself (loaded, or
    // unknown after a reoptimisation).
    if (!os.copySolution) rec.modelStatus = r.settledStatus != 0 ? r.settledStatus : QX_STATUS_NUMERICAL_ERROR;
  }
  model.status = rec.modelStatus;
  return rc;
}

// The pipeline on the unpresolved model: the ladder, the outcome, and the
// definite-answer re-solve of an infeasible-or-unbounded outcome.
int solveOriginal(Call& call, const HostBasis& start) {
  Model& model = call.model;
  // The host's restart and scaling values, read before the ladder changes
  // them; a basis handed over by the caller is always a warm start.
  Run run{model.data, model.workArea, call.opt.lpScale, call.opt.restart == 1 && start.empty(), start};
  SimplexResult res;
  int err = runLadder(call, run, res);
  if (err == kBarrierNoOptimum) return err;
  int rc = applyOutcome(call, res, err);
  if (rc == 0 && model.lpSolution->modelStatus == QX_STATUS_INFORUNB && call.opt.iuSol != 0) {
    logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, "%s", "\nEnforcing reoptimization ...");
    // The primal simplex from a new basis settles feasibility first, so it
    // separates an infeasible model from an unbounded one.
    Run again{model.data, model.workArea, call.opt.lpScale, true, {}, QX_METHOD_PSIMPLEX};
    err = runLadder(call, again, res);
    rc = applyOutcome(call, res, err);
  }
  return rc;
}

// Leaves the postsolved basis of a run stopped early (a limit or the
// cutoff) factorised in the model's work area, without a pivot: the next
// call reoptimises warm from it instead of presolving and starting over.
void makeResident(Call& call, const SimplexResult& postsolved) {
  Model& model = call.model;
  Run install{model.data, model.workArea, call.opt.lpScale, false,
              HostBasis{postsolved.colStatus, postsolved.rowStatus}};
  install.installOnly = true;
  SimplexResult ignored;
  // An install that fails leaves no resident work: the next call starts cold.
  if (runOnce(call, install, ignored) != 0) model.workArea.reset();
}

// The pipeline: presolve, the ladder on the reduced model, postsolve and
// the confirming run, or the ladder on the model as it is.
int runPipeline(Call& call) {
  Model& model = call.model;
  const ModelData& d = model.data;
  LpSolution& rec = *model.lpSolution;
  setReducedSize(rec, &d);
  LpPresolverFactory factory = lpPresolverFactory();
  // A warm start (a basis handed over, or, unless the host asked for a cold
  // start, the resident work of the last solve or a basis the host loaded)
  // reoptimises the model as it is: presolve would throw the basis away.
  const ResidentWork* rw = residentWork(model);
  const bool loaded = !d.basisCols.empty() && !d.basisRows.empty();
  const bool warm = !call.startBasis.empty() || (call.opt.restart != 1 && ((rw && rw->work.hasBasis()) || loaded));
  if (call.opt.preLevel <= 0 || !factory || warm) return solveOriginal(call, call.startBasis);

  std::unique_ptr<LpPresolver> presolver = factory();
  presolver->setOptions(PresolveOptions{call.opt.feasTol, false});
  ModelData reduced;
  const LpPresolver::Verdict v = presolver->presolve(d, call.opt.preLevel, reduced);
  if ((v == LpPresolver::Verdict::Infeasible || v == LpPresolver::Verdict::Unbounded) &&
      call.opt.iuSol == 0) {
    const bool inf = v == LpPresolver::Verdict::Infeasible;
    rec.modelStatus = rec.primalStatus = inf ? QX_STATUS_INFEASIBLE : QX_STATUS_UNBOUNDED;
    rec.dualStatus = inf ? QX_STATUS_UNBOUNDED : QX_STATUS_INFEASIBLE;
    model.status = rec.modelStatus;
    // Presolve settled the model: no rows or columns were left to solve.
    setReducedSize(rec, nullptr);
    return 0;
  }
  if (v != LpPresolver::Verdict::Reduced) return solveOriginal(call, call.startBasis);

  setReducedSize(rec, &reduced);
  std::unique_ptr<WorkArea> reducedWork;
  SimplexResult res;
  if (reduced.m > 0 || reduced.n > 0) {
    Run run{reduced, reducedWork, call.opt.lpScale, true, {}};
    run.presolved = true;
    const int err = runLadder(call, run, res);
    if (err == kBarrierNoOptimum) return err;
    // An interrupt installs no solution; a limit or the cutoff installs the
    // point reached, postsolved. Only optimal points go on to the check;
    // every other verdict is settled on the original model.
    if (err == 0 && res.outcome == simplex::kInterrupted) return applyOutcome(call, res, 0);
    if (err == 0 && (res.outcome == simplex::kIterationLimit || res.outcome == simplex::kTimeLimit ||
                     res.outcome == simplex::kCutoff)) {
      presolver->postsolve(d, res);
      makeResident(call, res);
      return applyOutcome(call, res, 0);
    }
    if (err || res.outcome != simplex::kOptimal) return solveOriginal(call, {});
  } else {
    res.outcome = simplex::kOptimal;  // presolve solved the whole model
  }
  presolver->postsolve(d, res);
  const double pv = primalViolation(d, res), dv = dualViolation(d, res);
  if (pv <= call.opt.feasTol && dv <= call.opt.optTol) {
    // The primal simplex confirms the postsolved basis on the unpresolved
    // model in one pricing pass. Its factorised basis stays resident, so the
    // next reoptimisation (after bound, cost or right-hand side changes)
    // starts warm from it.
    Run confirm{d, model.workArea, call.opt.lpScale, false, HostBasis{res.colStatus, res.rowStatus},
                QX_METHOD_PSIMPLEX};
    SimplexResult fin;
    const int err = runLadder(call, confirm, fin);
    // A confirmation that made no pivot leaves the method of the run that
    // solved the reduced model.
    if (fin.iterations == 0) fin.methodUsed = res.methodUsed;
    return applyOutcome(call, fin, err);
  }
  if (pv > call.opt.feasTol)
    logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, "\nWarning: Postsolve leads to primal infeasibility (%.8e)", pv);
  if (dv > call.opt.optTol)
    logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, "\nWarning: Postsolve leads to dual infeasibility (%.8e)", dv);
  logPrintAt(model, QX_IPARAM_LP_PRINTLEVEL, 1, "%s", "\nPerforming postsolve reoptimization ...");
  return solveOriginal(call, HostBasis{res.colStatus, res.rowStatus});
}

}  // namespace

void setSimplexRunHook(SimplexRunHook hook) { runHook() = std::move(hook); }

// Method 3 ends a model without an optimum with a certificate: the
// homogeneous embedding runs on the model when the interior point diverged
// (in place of the simplex) and when presolve or the simplex found no
// optimum. Without a certificate the simplex's verdict stands, or, after a
// divergence, the simplex settles the model from a crash basis.
int runLpPipeline(Call& call) {
  int rc = runPipeline(call);
  if (call.method != QX_METHOD_BARRIER) return rc;
  const int st = call.model.lpSolution->modelStatus;
  const bool diverged = rc == kBarrierNoOptimum;
  if (!diverged && (rc != 0 || (st != QX_STATUS_INFEASIBLE && st != QX_STATUS_UNBOUNDED && st != QX_STATUS_INFORUNB)))
    return rc;
  int err = 0;
  if (certifyLinear(call, &err)) return err;
  if (!diverged) return rc;
  call.barrierOff = true;
  return runPipeline(call);
}

}  // namespace driver
}  // namespace torva
