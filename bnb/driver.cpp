#include "bnb/driver.hpp"

#include <algorithm>
#include <cmath>
#include <new>

#include "base/callback.hpp"
#include "base/info.hpp"
#include "base/log.hpp"
#include "bnb/concurrent.hpp"
#include "bnb/reform.hpp"
#include "bnb/search.hpp"
#include "simplex/driver.hpp"

namespace torva {
namespace bnb {
namespace {

// The run as the callback information queries and the suppliers see it.
class RunView final : public MipRun {
 public:
  RunView(BnbContext& ctx, Search& search, MipSolution& rec, int n) : ctx_(ctx), search_(search), rec_(rec), n_(n) {}
  int mipInfo(int item, void* result) const override {
    auto putI = [&](long long v) {
      *static_cast<int*>(result) = static_cast<int>(std::min<long long>(v, 2147483647LL));
      return 0;
    };
    auto putD = [&](double v) {
      *static_cast<double*>(result) = v;
      return 0;
    };
    switch (item) {
      case QX_IINFO_MIP_STATUS:
        return putI(ctx_.knownObjective() < 1e30 ? QX_STATUS_FEASIBLE : QX_STATUS_UNKNOWN);
      case QX_DINFO_MIP_OBJ: return putD(incumbentObjective());
      case QX_DINFO_MIP_BESTBOUND: return putD(bestBound());
      case QX_IINFO_MIP_SIM_ITER: return putI(static_cast<long long>(ctx_.simplexIters));
      case QX_IINFO_MIP_BAR_ITER: return putI(static_cast<long long>(ctx_.barrierIters));
      case QX_IINFO_MIP_NLP_ITER: return putI(0);
      case QX_IINFO_MIP_BRANCHCOUNT: return putI(ctx_.branchCount);
      case QX_IINFO_MIP_NEWIPSOL: return putI(ctx_.solutionsFound);
      case QX_IINFO_MIP_LPCOUNT: return putI(ctx_.lpCount);
      case QX_IINFO_MIP_ACTIVENODES: return putI(ctx_.openNodes);
      case QX_IINFO_MIP_AOPTTIMETOSTOP: return putI(static_cast<long long>(ctx_.aoptLeft));
      case QX_IINFO_MIP_LTYPE: return putI(ctx_.phase);
      case QX_IINFO_MIP_NUM_TOTAL_CUTS: return putI(ctx_.cutCount);
      case QX_DINFO_PINFEAS: return putD(ctx_.hasIncumbent() ? ctx_.incumbentInfeas : 0.0);
      case QX_IINFO_MIP_SOLSTATUS_LAST_BRANCH: return putI(ctx_.lastLpStatus);
      case QX_DINFO_MIP_SOLOBJVAL_LAST_BRANCH: return putD(ctx_.lastLpObjective * ctx_.sense);
      default: return QXERR_INFO_NOT_AVAILABLE;
    }
  }
  double incumbentObjective() const override { return ctx_.knownObjective() * ctx_.sense; }
  double bestBound() const override { return ctx_.bestBound * ctx_.sense; }
  void adoptSuppliedObjective(double objective, double bound) override {
    // The host knows a solution of this objective: it stands in for an
    // incumbent in the gap tests and prunes like one; a bound it supplies
    // that is tighter than the tree's becomes the best bound.
    const double v = objective * ctx_.sense;
    if (!(std::fabs(v) < 1e30)) return;
    ctx_.suppliedObjective = std::min(ctx_.suppliedObjective, v);
    ctx_.cutoffObj = std::min(ctx_.cutoffObj, v);
    ctx_.useCutoffObj = std::max(ctx_.useCutoffObj, 2);
    ctx_.cutoffValue = std::min(ctx_.cutoffValue, v);
    const double b = bound * ctx_.sense;
    if (std::fabs(b) < 1e30 && b > ctx_.bestBound) {
      ctx_.suppliedBound = std::min(b, ctx_.knownObjective());
      ctx_.bestBound = ctx_.suppliedBound;
    }
    rec_.status = QX_STATUS_FEASIBLE;
    rec_.objective = ctx_.knownObjective() * ctx_.sense;
    rec_.bestBound = ctx_.bestBound * ctx_.sense;
  }
  int numVars() const override { return n_; }
  void offerSolution(std::span<const double> x, double) override {
    search_.offerSolution(std::vector<double>(x.begin(), x.end()), 13);
  }

 private:
  BnbContext& ctx_;
  Search& search_;
  MipSolution& rec_;
  int n_;
};

// Integrality tolerance of a run on an all-integer model when
// QX_IPARAM_MIP_USE_INT_ZERO_TOL asks for it (both the absolute and the
// relative one).
constexpr double kAllIntegerIntTol = 1e-9;

// All-integer: every variable that is not fixed is integer, and every
// coefficient and finite right-hand side is a whole number. Integer
// solutions of such a model are exact, so nothing is gained by accepting
// values near an integer.
bool allInteger(const ModelData& d) {
  auto whole = [](double v) { return std::fabs(v) >= kInfinity || v == std::round(v); };
  for (int j = 0; j < d.n; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    const char t = d.typeOf(j);
    if (t != 'B' && t != 'I' && d.lower[u] != d.upper[u]) return false;
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k)
      if (!whole(d.value[k])) return false;
  }
  for (int i = 0; i < d.m; ++i)
    if (d.conType[static_cast<std::size_t>(i)] != 'N' && !whole(d.rhs[static_cast<std::size_t>(i)])) return false;
  return true;
}

// Stored MIP status of the internal status.
int storedStatus(int mipStatus) {
  switch (mipStatus) {
    case kMipUnbounded: return QX_STATUS_UNBOUNDED;
    case kMipInfeasible: return QX_STATUS_INFEASIBLE;
    case kMipFeasible: return QX_STATUS_FEASIBLE;
    case kMipFinished:
    case kMipLimitTolMet: return QX_STATUS_OPTIMAL;
    default: return QX_STATUS_UNKNOWN;
  }
}

void copyTolerances(BnbContext& ctx) {
  const MipOptions& o = ctx.opt;
  ctx.relOptTol = o.relOptTol;
  ctx.absOptTol = o.absOptTol;
  ctx.perOptTol = o.perOptTol;
  ctx.aoptTimeLimit = o.aoptTimeLimit;
  ctx.lastSolTimeLimit = o.lastSolTimeLimit;
  ctx.objThreshold = o.objThreshold <= -1e30 ? -1e30 : o.objThreshold * ctx.sense;
  ctx.useCutoffObj = o.useCutoffObj;
  ctx.cutoffObj = std::fabs(o.cutoffObj) >= 1e30 ? 1e30 : o.cutoffObj * ctx.sense;
  ctx.printLevel = o.printLevel;
}

// Objective, largest bound or row violation and largest distance of an
// integer from the nearest integer, of a point of the host's model.
struct PointCheck {
  double obj = 0.0, inf = 0.0, intInf = 0.0;
};
// Adds the quadratic terms at x: (a, b, q) adds 1/2 q x_a x_b, twice when
// a != b, to the objective (row -1) or to the activity of its row.
void addQuadratic(const ModelData& d, const std::vector<double>& x, double& obj, std::vector<double>& act) {
  for (std::size_t g = 0; g < d.qc.rows.size(); ++g) {
    const int i = d.qc.rows[g];
    for (int t = d.qc.beg[g]; t < d.qc.beg[g + 1]; ++t) {
      const std::size_t a = static_cast<std::size_t>(d.qc.col1[static_cast<std::size_t>(t)]);
      const std::size_t b = static_cast<std::size_t>(d.qc.col2[static_cast<std::size_t>(t)]);
      const double v = 0.5 * d.qc.coef[static_cast<std::size_t>(t)] * x[a] * x[b] * (a == b ? 1.0 : 2.0);
      (i < 0 ? obj : act[static_cast<std::size_t>(i)]) += v;
    }
  }
}

PointCheck checkPoint(const ModelData& d, const std::vector<double>& x) {
  PointCheck c;
  c.obj = d.objConst;
  std::vector<double> act(static_cast<std::size_t>(d.m), 0.0);
  // A semi-continuous column is within its bounds at 0 or in [level, upper];
  // its violation is the distance to the nearer of the two.
  std::vector<double> level;
  if (!d.scVars.empty()) {
    level.assign(static_cast<std::size_t>(d.n), std::nan(""));
    for (std::size_t k = 0; k < d.scVars.size() && k < d.scLower.size(); ++k)
      level[static_cast<std::size_t>(d.scVars[k])] = d.scLower[k];
  }
  for (int j = 0; j < d.n; ++j) {
    const std::size_t u = static_cast<std::size_t>(j);
    c.obj += d.cost[u] * x[u];
    if (!level.empty() && !std::isnan(level[u]))
      c.inf = std::max(c.inf, std::min(std::fabs(x[u]), std::max({0.0, level[u] - x[u], x[u] - d.upper[u]})));
    else
      c.inf = std::max({c.inf, d.lower[u] - x[u], x[u] - d.upper[u]});
    const char t = d.typeOf(j);
    if (t == 'B' || t == 'I') c.intInf = std::max(c.intInf, std::fabs(x[u] - std::round(x[u])));
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) act[static_cast<std::size_t>(d.rowIdx[k])] += d.value[k] * x[u];
  }
  addQuadratic(d, x, c.obj, act);
  for (int i = 0; i < d.m; ++i) {
    const std::size_t u = static_cast<std::size_t>(i);
    const char t = d.conType[u];
    if (t == 'L' || t == 'E') c.inf = std::max(c.inf, act[u] - d.rhs[u]);
    if (t == 'G' || t == 'E') c.inf = std::max(c.inf, d.rhs[u] - act[u]);
  }
  return c;
}

// Whether the host's full start point is feasible within the tolerances the
// search accepts incumbents with.
bool startFeasible(const Model& model, PointCheck* check) {
  const ModelData& d = model.data;
  if (d.mipStartX.size() != static_cast<std::size_t>(d.n)) return false;
  const PointCheck c = checkPoint(d, d.mipStartX);
  if (check) *check = c;
  const double feasTol = std::max(model.params.douValue(QX_DPARAM_SOLVER_FEASTOL) * 10.0, 1e-6);
  return c.inf <= feasTol && c.intInf <= model.params.douValue(QX_DPARAM_MIP_INTTOL);
}

// Stage 8, the heuristic without objective: the model with a zero objective
// searched to its first solution (every solution of it is optimal, so the
// gap test ends that search at once). False when the copy is infeasible, and
// with it the model; a point found goes to found.
bool solveWithoutObjective(Model& model, std::vector<double>& found) {
  const bool talk = logEnabled(model, QX_IPARAM_MIP_PRINTLEVEL, 1);
  if (talk) {
    logPrint(model, "\nStarting heu with objective replaced off 0.0 \n");
    logPrint(model, "\n(Infeasible solution means problem is infeasible.\n Feasible solutions is converged to a "
                    "solution for original problem )");
  }
  std::unique_ptr<Model> copy = driver::solverCopy(model);
  std::fill(copy->data.cost.begin(), copy->data.cost.end(), 0.0);
  copy->data.objConst = 0.0;
  copy->markChanged();
  copy->params.storeInt(QX_IPARAM_MIP_HEU_DROP_OBJ, 0);
  copy->params.storeInt(QX_IPARAM_MIP_PRINTLEVEL, 0);
  int status = QX_STATUS_UNKNOWN;
  solveMIPSerial(*copy, &status);
  if (status == QX_STATUS_INFEASIBLE) {
    if (talk) logPrint(model, "\nProblem found infeasible");
    return false;
  }
  if (copy->mipSolution && copy->mipSolution->x.size() == static_cast<std::size_t>(model.data.n))
    found = copy->mipSolution->x;
  return true;
}

// Evaluates a host start point and offers it to the search (stage 5).
// x is the host's point, searched the same point in the searched model's
// columns.
void offerStart(Model& model, Search& search, const std::vector<double>& x, std::vector<double> searched,
                const char* tag) {
  const PointCheck c = checkPoint(model.data, x);
  const double obj = c.obj, inf = c.inf, intInf = c.intInf;
  bool feasible = false;
  search.offerSolution(std::move(searched), kFoundByStart, &feasible);
  if (!logEnabled(model, QX_IPARAM_MIP_PRINTLEVEL, 1)) return;
  if (feasible) {
    logPrint(model, "\nObjvalue                         : %e  (%s)", obj, tag);
    logPrint(model, "\nInfeasibility of solution        : %2.1e", inf);
    logPrint(model, "\nInteger infeasibility of solution: %2.1e\n\n", intInf);
  } else {
    logPrint(model, "\nStartpoint info (not feasible):");
    logPrint(model, "\n  Objvalue                         : %e", obj);
    logPrint(model, "\n  Infeasibility of solution        : %2.1e", inf);
    logPrint(model, "\n  Integer infeasibility of solution: %2.1e\n\n", intInf);
  }
}

unsigned integerCount(const ModelData& d) {
  return static_cast<unsigned>(d.integerStats().binaries + d.integerStats().integers);
}

// Stage 7's log: the size line at every presolve level (with
// QX_IPARAM_MIP_PRELEVEL 0 it is the stage's only line), and the presolve
// outcome when presolve runs.
void logSizes(Model& model) {
  if (!logEnabled(model, QX_IPARAM_MIP_PRINTLEVEL, 1)) return;
  const ModelData& d = model.data;
  if (d.hasCones())
    logPrint(model, "\nOri. size (m, n, c, nz,  nip): %6d, %6d, , %6u, %8d,  %6u\n", d.m, d.n,
             static_cast<unsigned>(d.cones.count()), d.nnz, integerCount(d));
  else
    logPrint(model, "\nOri. size (m, n, nz,  nip): %6d, %6d, %8d,  %6u\n", d.m, d.n, d.nnz, integerCount(d));
  // MIP presolve has no reductions yet.
  if (model.params.intValue(QX_IPARAM_MIP_PRELEVEL) != 0) logPrint(model, "Model not changed.\n");
}

// The note of stage 9 for a model without discrete structure
// (semi-continuous variables and sets count as discrete: the search
// branches on them).
void logLpNote(Model& model, bool discreteStructure) {
  if (!logEnabled(model, QX_IPARAM_MIP_PRINTLEVEL, 1)) return;
  if (integerCount(model.data) != 0 || discreteStructure) return;
  if (model.data.hasQuadratic() || model.data.hasCones())
    logPrint(model, "\n\nThe problem is an QP/QC/CONE (with out any integers).\n\n");
  else
    logPrint(model, "\n\nThe problem is an LP.\n\n");
}

// The time of the run and each thread's share of it.
void logWorkload(Model& model, const MipSolution& rec) {
  if (!logEnabled(model, QX_IPARAM_MIP_PRINTLEVEL, 1)) return;
  double total = 0.0;
  for (double t : rec.threadSeconds) total += t;
  logPrint(model, "\n%s workload: %.2f secs", "\nParallel MIP", total);
  logText(model, (" " + threadLoadText(rec.threadSeconds)).c_str());
}

// Maps the end of the search to the stored status and the returned error.
int finish(Model& model, BnbContext& ctx, int rc) {
  if (rc == QXERR_TIME_LIMIT || rc == QXERR_ITER_LIMIT || rc == QXERR_BRANCH_LIMIT) {
    const int stop = stopTest(ctx);
    if (stop == 1 || stop == 2) {
      // A normal end: the tolerances met (optimal, the bound as reached),
      // or the threshold reached (feasible).
      rc = 0;
      if (ctx.stopCause == StopCause::Threshold) ctx.mipStatus = kMipFeasible;  // it needs an incumbent
      else ctx.mipStatus = ctx.hasIncumbent() ? kMipLimitTolMet : kMipLimitTolMetNoSol;
    } else if (ctx.hasIncumbent()) {
      ctx.mipStatus = kMipFeasible;
    }
  } else if (rc != 0 && ctx.hasIncumbent() && ctx.mipStatus != kMipFinished) {
    ctx.mipStatus = kMipFeasible;
  }
  // A supplied objective better than the search's own incumbent ends the run
  // feasible with that objective (the host knows the solution, the record
  // only its value); a search that emptied the tree below it proved it the
  // optimal value.
  const bool supplied = ctx.suppliedObjective < ctx.incumbentValue && ctx.mipStatus != kMipUnbounded;
  if (supplied) {
    if (ctx.mipStatus == kMipInfeasible || ctx.mipStatus == kMipFinished) ctx.bestBound = ctx.suppliedObjective;
    ctx.bestBound = std::min(ctx.bestBound, ctx.suppliedObjective);
  } else if (ctx.mipStatus == kMipFinished) {
    // A finished search proved the incumbent optimal; a stop with the
    // tolerances met keeps the bound it reached.
    ctx.bestBound = ctx.incumbentValue;
  }
  if (ctx.mipStatus == kMipUnbounded) ctx.bestBound = -1e30;
  // The gap as the run leaves it, for the record.
  const bool known = ctx.hasIncumbent() || (ctx.useCutoffObj >= 2 && ctx.cutoffObj < 1e30);
  ctx.rgap = known ? relativeGap(ctx.referenceValue(), ctx.bestBound) : 1e30;
  MipSolution& rec = *model.mipSolution;
  rec.status = supplied ? QX_STATUS_FEASIBLE : storedStatus(ctx.mipStatus);
  if (rc == QXERR_NUMERIC_INSTABILITY || rc == QXERR_NOT_CONVEX) rec.status = QX_STATUS_UNKNOWN;
  if (ctx.hasIncumbent()) {
    rec.x = ctx.incumbentX;
    rec.objective = ctx.incumbentValue * ctx.sense;
    const ModelData& d = model.data;
    std::vector<double> act(static_cast<std::size_t>(d.m), 0.0);
    for (int j = 0; j < d.n; ++j)
      for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k)
        act[static_cast<std::size_t>(d.rowIdx[k])] += d.value[k] * rec.x[static_cast<std::size_t>(j)];
    double quadObj = 0.0;
    addQuadratic(d, rec.x, quadObj, act);
    rec.s.assign(static_cast<std::size_t>(d.m), 0.0);
    for (int i = 0; i < d.m; ++i) rec.s[static_cast<std::size_t>(i)] = d.rhs[static_cast<std::size_t>(i)] - act[static_cast<std::size_t>(i)];
  } else {
    rec.x.clear();
  }
  if (supplied) rec.objective = ctx.suppliedObjective * ctx.sense;
  return rc;
}

}  // namespace
}  // namespace bnb

int solveMIPSerial(Model& model, int* status) {
  using namespace bnb;
  if (model.status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
  if (model.params.intValue(QX_IPARAM_NLP_SOLVER) == 8) return QXERR_NOT_SUPPORTED;
  const driver::ModelClass cls = driver::classify(model);
  // Quadratic and conic relaxations go to the interior-point path; general
  // nonlinear ones have no solver here.
  if (cls.nonlinear || (cls.cones && cls.quadratic)) return QXERR_NOT_SUPPORTED;
  // Stage 2: the previous result goes.
  model.mipSolution.emplace();
  if (status) *status = QX_STATUS_UNKNOWN;
  model.freeSolverMemory();
  // Stage 3.
  BnbContext ctx;
  ctx.opt = MipOptions::read(model.params);
  ctx.sense = model.data.objSense == QX_MAX ? -1.0 : 1.0;
  ctx.startTime = ctx.lastIncumbentTime = Clock::now();
  ctx.rng.seed(10009);
  copyTolerances(ctx);
  ProgressLog log(model, ctx);
  // Stage 4: semi-continuous variables and sets in binary form.
  Reformulation reform = reformulate(model, model.params.douValue(QX_DPARAM_MIP_LBIGM));
  if (reform.model && ctx.opt.printLevel >= 3 && hasLog(model))
    logPrint(model, "\nInserting (Sets (s1,s2,s3,card), SC )= (%5u,%5u,%5u,%5u), %6u \n", reform.sets[0],
             reform.sets[1], reform.sets[2], reform.sets[3], reform.semiCont);
  const Model& searched = reform.model ? *reform.model : model;
  if (ctx.opt.useIntZeroTol > 0 && ctx.opt.intTol > kAllIntegerIntTol && allInteger(searched.data))
    ctx.opt.intTol = ctx.opt.relIntTol = kAllIntegerIntTol;
  ctx.semiContVars = reform.semiCont;
  ctx.bigMVars = reform.bigM;
  Search search(model, searched, ctx, log);
  RunView view(ctx, search, *model.mipSolution, model.data.n);
  int rc = 0;
  {
    SolveScope scope(model, QXLOC_MIP, nullptr, &view);
    const bool talk = ctx.opt.printLevel > 0 && hasLog(model);
    bool sized = false;
    auto stage7 = [&] {
      // MIP presolve leaves the model unchanged for now.
      if (ctx.opt.printLevel > 0) logSizes(model);
      sized = true;
    };
    try {
      rc = search.run([&] {
        // Stage 5: a stored MIP start becomes the first incumbent when feasible.
        const std::vector<double>& start = model.data.mipStartX;
        if (start.size() == static_cast<std::size_t>(model.data.n))
          offerStart(model, search, start, reform.extend(start), "startpoint");
        if (!model.data.mipStartPartVars.empty()) {
          if (talk) logPrint(model, "\nfixing ints from partial startpoint");
          search.completePartialStart(model.data.mipStartPartVars, model.data.mipStartPartX);
        }
        stage7();
        // Stage 8: the heuristic without objective, while no feasible
        // solution is known.
        if (model.params.intValue(QX_IPARAM_MIP_HEU_DROP_OBJ) == 1 && !ctx.hasIncumbent()) {
          std::vector<double> found;
          if (!solveWithoutObjective(model, found)) {
            if (talk) logPrint(model, "\nProblem found infeasible in without OBJ heu.\n");
            ctx.mipStatus = kMipInfeasible;
            return false;
          }
          if (!found.empty()) {
            const PointCheck c = checkPoint(model.data, found);
            search.offerSolution(reform.extend(found), kFoundByHeuristic);
            if (talk) {
              logPrint(model, "\nObjvalue                         : %e  (current solution)", c.obj);
              logPrint(model, "\nInfeasibility of solution        : %2.1e", c.inf);
              logPrint(model, "\nInteger infeasibility of solution: %2.1e\n\n", c.intInf);
            }
          }
          if (talk) logPrint(model, "\nEnd of heu \n");
        }
        // Stage 9.
        if (ctx.opt.printLevel > 0) logLpNote(model, reform.model != nullptr);
        return true;
      });
    } catch (const std::bad_alloc&) {
      // Node pool or heap growth failed: the run ends here and keeps what
      // it found so far.
      rc = QXERR_OUT_OF_MEMORY;
    }
    if (!sized) stage7();
    if (ctx.incumbentX.size() > static_cast<std::size_t>(model.data.n))
      ctx.incumbentX.resize(static_cast<std::size_t>(model.data.n));
    rc = finish(model, ctx, rc);
    log.publish();
    log.cutStatistics();
    MipSolution& rec = *model.mipSolution;
    rec.totTime = ctx.elapsed();
    rec.heuTime = ctx.heuTime;
    // The serial search runs on the calling thread alone.
    rec.threads = 1;
    rec.threadSeconds.assign(1, rec.totTime);
    for (int k = 0; k < 9; ++k) rec.consClass[k] = search.constraintClass(k);
    if (ctx.opt.dualSolution == 1 && ctx.hasIncumbent()) dualMipSolution(model, nullptr, nullptr, nullptr, nullptr, nullptr, true);
  }
  if (model.params.intValue(QX_IPARAM_MIP_NUM_THREADS) > 1) logWorkload(model, *model.mipSolution);
  if (rc != 0 && ctx.opt.printLevel > 0 && hasLog(model)) {
    const char* text = model.env ? model.env->messages.text(rc) : nullptr;
    logPrint(model, "\nError %d: %s\n", rc, text ? text : "");
    if (rc == QXERR_INTERNAL_ERROR && ctx.opt.solverType == 2) logPrint(model, "Enumeration solver error. \n");
  }
  if (ctx.stoppedByLastSolTime && ctx.opt.printLevel > 0 && hasLog(model))
    logPrint(model, "Stopped due to time limit from last MIP sol.\n");
  // The end report only informs the host: the run is over, its outcome stands.
  reportProgress(model, {QXLOC_END_REPORT, ctx.simplexIters, model.mipSolution->objective, true});
  if (status) *status = model.mipSolution->status;
  return rc;
}

int preAlgMip(Model& model, int* status) {
  using namespace bnb;
  if (status) *status = QX_STATUS_UNKNOWN;
  const driver::ModelClass cls = driver::classify(model);
  if (!cls.linear()) return QXERR_NOT_SUPPORTED;
  logSizes(model);
  logLpNote(model, model.data.hasSemiCont() || model.data.hasSets());
  // A stored start point is the only solution these stages can meet while
  // presolve makes no reductions.
  PointCheck c;
  if (!startFeasible(model, &c)) return 0;
  if (status) *status = QX_STATUS_FEASIBLE;
  if (logEnabled(model, QX_IPARAM_MIP_PRINTLEVEL, 1)) {
    logPrint(model, "\nFOUND MIP solution ,  Original Objvalue  : %e  (*P)\n", c.obj);
    logPrint(model, "\nInfeasibility of solution: %2.1e", c.inf);
    logPrint(model, "\nInteger infeasibility of solution: %2.1e\n\n", c.intInf);
  }
  return 0;
}

int solveMIP(Model& model, int* status) {
  ParamSet& p = model.params;
  const int m = p.intValue(QX_IPARAM_MIP_NUM_THREADS);
  const int t = p.intValue(QX_IPARAM_NUM_THREADS);
  int mode = p.intValue(QX_IPARAM_MULTITHREAD_MODE);
  if (p.intValue(QX_IPARAM_DECOMPOSITION_TYPE) == 2) mode = 2;
  ParamSaver saver(p);
  if (m <= 1 && t > 1 && mode != 0) saver.setInt(QX_IPARAM_MIP_NUM_THREADS, t);
  bnb::logCutTypeTable(model);
  if (p.intValue(QX_IPARAM_MIP_XSOLVER) == 4 || p.intValue(QX_IPARAM_SPLEX_USE_EXTERNAL) == 4)
    return QXERR_XSOLVER_FUNC_NOT_INSTALLED;
  // Only linear models are searched in parallel.
  int threads = m > 1 ? m : t;
  if (!driver::classify(model).linear()) threads = 1;
  if ((mode == 3 || mode == 4) && threads > 1) return solveMIPCC(model, status);
  return solveMIPSerial(model, status);
}

}  // namespace torva
