// The work area's public face: starting bases, the method switch loop and
// the solution in the model's space.
#include <algorithm>
#include <cmath>
#include <exception>
#include <functional>
#include <limits>
#include <new>

#include "base/model_data.hpp"
#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Basis status of a superbasic column in a host basis.
constexpr int kSuperbasicStatus = -4;

// Passes of the switch loop between the two methods.
constexpr int kMaxSwitchPasses = 10;

// Dual pricing rule (dual devex) of a dual that the switch loop starts on a
// fresh solve.
constexpr int kSwitchDualPricing = 3;

// Passes of tightened tolerances after an optimum whose unscaled solution
// violates them.
constexpr int kMaxPolishPasses = 2;

// An optimum is polished as well when the reduced costs that violate their
// sign by less than ceps could still improve the objective by more than this
// fraction of 1 + |objective| (each such boxed column moved to its other
// bound). A max-norm test alone misses a small reduced cost on a column with
// a wide range: on pilot87 a reduced cost of 4e-8 on a range of 6200 left
// the objective 1.1e-6 relative above its optimum. 1e-9 is two orders below
// ceps, so an optimum that meets ceps on ordinary ranges is not touched.
constexpr double kPolishGainRel = 1e-9;

// Rows from which a new heading carries the resident dual weights instead
// of computing exact ones. Measured on branch and bound runs of MIPLIB 3
// models (bench_mip_nodes, 500 branches): up to about 200 rows exact
// weights were faster in total (p0201, misc07 and pk1 gained more than
// bell5 and stein27 lost); at 478 rows (fixnet6) carrying was 20% faster.
constexpr int kCarryWeightsMinRows = 300;

// Installs the host basis held in w.givenCol/givenRow; false (with the
// purge messages) when it is not a valid basis.
bool installGivenBasis(SimplexWork::Impl& w, const char* tag) {
  const int n = w.n, m = w.m;
  int basics = 0;
  for (int s : w.givenCol) basics += s >= 0;
  for (int s : w.givenRow) basics += s >= 0;
  const bool sized = static_cast<int>(w.givenCol.size()) == n && static_cast<int>(w.givenRow.size()) == m;
  if (!sized || basics != m) {
    if (w.logging(1) || w.tracing()) {
      w.log("\nWARNING: %s purging invalid initial basis, k2=%d, m=%d, #calls=%d", tag, basics, m, 1);
      w.log("\nWARNING: and reverting back to identity matrix");
    }
    w.resetSlackBasis();
    return false;
  }
  // The same basic variables as the resident heading: only the nonbasic
  // positions change, so the heading (and with it the factors and dual
  // weights) is kept.
  bool same = w.haveBasis && static_cast<int>(w.pos.size()) == w.nt;
  for (int j = 0; j < w.nt && same; ++j) {
    const int s = j < n ? w.givenCol[j] : w.givenRow[j - n];
    same = (s >= 0) == (w.pos[j] >= 0);
  }
  if (same) {
    for (int j = 0; j < w.nt; ++j) {
      const int s = j < n ? w.givenCol[j] : w.givenRow[j - n];
      if (s < 0) w.placeAt(j, s == -2 ? kAtUpper : (s == -3 ? kAtZero : kAtLower));
    }
    w.warmHeading = true;
    w.givenCol.clear();
    w.givenRow.clear();
    return true;
  }
  // Another heading: on larger models the dual weights of the resident one
  // carry over to the variables that stay basic (unity for the others).
  // That costs nothing, where exact weights of the new basis cost one BTRAN
  // per row, and comes close to them when the bases share most columns (a
  // node restarted from its parent's basis).
  std::vector<double> carried;
  if (m >= kCarryWeightsMinRows && w.haveBasis && w.dseBasic == w.basicVar &&
      static_cast<int>(w.dseWeight.size()) == m) {
    carried.assign(w.nt, 0.0);
    for (int k = 0; k < m; ++k) carried[w.basicVar[k]] = w.dseWeight[k];
  }
  w.x.assign(w.nt, 0.0);
  w.d.assign(w.nt, 0.0);
  w.pos.assign(w.nt, -1);
  w.priceRows.invalidate();
  w.at.assign(w.nt, kAtLower);
  w.basicVar.assign(m, 0);
  int k = 0;
  for (int j = 0; j < w.nt; ++j) {
    const int s = j < n ? w.givenCol[j] : w.givenRow[j - n];
    if (s >= 0) {
      w.basicVar[k] = j;
      w.pos[j] = k++;
    } else {
      w.placeAt(j, s == -2 ? kAtUpper : (s == -3 ? kAtZero : kAtLower));
    }
  }
  w.haveBasis = true;
  w.dseValid = false;
  w.givenCol.clear();
  w.givenRow.clear();
  if (!carried.empty()) {
    for (int i = 0; i < m; ++i) {
      const double c = carried[w.basicVar[i]];
      w.dseWeight[i] = c > 0.0 ? c : 1.0;
    }
    w.dseBasic = w.basicVar;
    w.warmHeading = true;
  }
  return true;
}

// Host status of variable j of the resident basis (basic: 0).
int hostStatus(const SimplexWork::Impl& w, int j) {
  if (w.pos[j] >= 0) return 0;
  return w.at[j] == kAtUpper ? -2 : (w.at[j] == kAtZero ? -3 : -1);
}

// The resident basis over the first nModel columns and mModel rows, as a
// host basis for the next installation.
void exportBasis(SimplexWork::Impl& w, int nModel, int mModel) {
  w.givenCol.resize(nModel);
  w.givenRow.resize(mModel);
  for (int j = 0; j < nModel; ++j) w.givenCol[j] = hostStatus(w, j);
  for (int i = 0; i < mModel; ++i) w.givenRow[i] = hostStatus(w, w.n + i);
}

// After a solve with the objective carried as a row, the resident work
// becomes the model's own, so that transforms with the resident basis and
// the next warm start see the model's rows only. An optimal basis has z
// basic and the objective row's slack nonbasic (z is free, the row an
// equality); the rest of it is then a basis of the model, and is factorised.
// Any other split leaves the slack basis.
void dropObjectiveRow(SimplexWork::Impl& w, const ModelData& data, double infinity) {
  const bool split = w.haveBasis && w.pos[w.n - 1] >= 0 && w.pos[w.nt - 1] < 0;
  if (split) exportBasis(w, w.n - 1, w.m - 1);
  buildLp(data, w.lp.scaled, infinity, w.lp);
  w.newLpStamp();
  w.lu.reset();
  w.objRows = 0;
  w.m = w.lp.m;
  w.n = w.lp.n;
  w.nt = w.n + w.m;
  w.colNorm2.clear();
  w.devex.clear();
  w.dseBasic.clear();
  w.lower = w.lp.lower;
  w.upper = w.lp.upper;
  w.cost = w.lp.cost;
  w.rhs = w.lp.rhs;
  w.costShifted = false;
  w.bl.history.forget();
  w.bl.releaseRejected();
  w.haveBasis = false;
  if (!split || !installGivenBasis(w, "psetbas")) w.resetSlackBasis();
  w.givenCol.clear();
  w.givenRow.clear();
  w.refactorRequest = kRefactorInitial;
  if (w.refactor(false) != kLayerOk) {
    w.haveBasis = false;
    w.lu.reset();
  }
}

// What the sign violations of the nonbasic reduced costs could still gain:
// the sum over boxed columns of |d_j| (u_j - l_j). The product is the same in
// the scaled and the model's space.
double remainingGain(const SimplexWork::Impl& w) {
  double gain = 0.0;
  for (int j = 0; j < w.nt; ++j) {
    if (w.pos[j] >= 0) continue;
    const double l = w.lp.lower[j], u = w.lp.upper[j];
    if (l == u || l == -kInf || u == kInf) continue;
    const double dj = w.d[j];
    if ((w.at[j] == kAtLower && dj < 0.0) || (w.at[j] == kAtUpper && dj > 0.0)) gain += std::fabs(dj) * (u - l);
  }
  return gain;
}

}  // namespace

int SimplexWork::Impl::switchLoop(int stat, Method& last, bool reopt, const std::function<int(Method)>& run) {
  const auto runMethod = [&](Method mth) {
    if (run) return run(mth);
    return mth == Method::Dual ? runDual(reopt) : runPrimal();
  };
  int pass = 0;
  for (; stat == kRecover && error == 0 && pass < kMaxSwitchPasses; ++pass) {
    if (tracing()) log("\nRecovering %sfrom stat=%d, #pass=%d", reopt ? "(Reopt) " : "", stat, pass);
    outcome = kNotFinished;
    last = last == Method::Dual ? Method::Primal : Method::Dual;
    if (last == Method::Dual && !reopt) {
      opt.dualPricing = kSwitchDualPricing;
      if (tracing()) log("\nUsing dprice=%d in switch-loop", kSwitchDualPricing);
    }
    try {
      stat = runMethod(last);
    } catch (const std::bad_alloc&) {
      // The work area is no warm start any more.
      haveBasis = false;
      lu.reset();
      error = kErrOutOfMemory;
      stat = kNotFinished;
    }
  }
  // Numerical trouble or lack of memory in a method run by the loop, or no
  // pass that recovers, leaves the model loaded (a reoptimisation that gives
  // up leaves its status unknown).
  if (pass > 0 && (error == kErrNumerical || error == kErrOutOfMemory)) settledStatus = kStatusLoaded;
  if (stat == kRecover && error == 0) {
    if (logging(1) || tracing()) {
      log("\nWARNING: Simplex %sfailed to recover from stat=%d, #pass=%d", reopt ? "(Reopt) " : "", stat,
          kMaxSwitchPasses);
      log("\nWARNING: Simplex will return numerical instability");
    }
    error = kErrNumerical;
    settledStatus = reopt ? kStatusUnknown : kStatusLoaded;
  }
  return stat;
}

SimplexWork::SimplexWork(const ModelData& data) : impl_(std::make_unique<Impl>(data)) {}
SimplexWork::~SimplexWork() = default;
SimplexWork::SimplexWork(SimplexWork&&) noexcept = default;
SimplexWork& SimplexWork::operator=(SimplexWork&&) noexcept = default;

bool SimplexWork::matches(const ModelData& data) const {
  return data.m == impl_->m - impl_->objRows && data.n == impl_->n - impl_->objRows;
}

void SimplexWork::setBasis(const std::vector<int>& colStatus, const std::vector<int>& rowStatus) {
  impl_->givenCol = colStatus;
  impl_->givenRow = rowStatus;
}

bool SimplexWork::hasBasis() const { return impl_->haveBasis || !impl_->givenCol.empty(); }

void SimplexWork::dropBasis() {
  impl_->haveBasis = false;
  impl_->givenCol.clear();
  impl_->givenRow.clear();
}

int SimplexWork::solve(const ModelData& data, Method method, StartBasis start, const SimplexOptions& options,
                       SolveContext& context, SimplexResult& result) {
  Impl& w = *impl_;
  result = SimplexResult{};
  try {
    const bool wantScale = options.scale != 0;
    // With the objective carried as a row, the work area solves the data
    // with that row and column appended.
    const int objRows = carriesObjectiveRow(options) ? 1 : 0;
    ModelData withObj;
    if (objRows) withObj = withObjectiveRow(data);
    const ModelData& src = objRows ? withObj : data;
    if (wantScale != w.lp.scaled || objRows != w.objRows) {
      buildLp(src, wantScale, options.infinity, w.lp);
      w.newLpStamp();
      w.lu.reset();
      if (objRows != w.objRows) {
        // The model's resident basis starts the work with the objective
        // row (which adds z basic and the row's slack nonbasic below).
        if (objRows && start == StartBasis::Resident && w.haveBasis && w.givenCol.empty())
          exportBasis(w, w.n, w.m);
        w.objRows = objRows;
        w.m = w.lp.m;
        w.n = w.lp.n;
        w.nt = w.n + w.m;
        w.haveBasis = false;
        w.colNorm2.clear();
        w.devex.clear();
      }
    } else {
      refreshLp(src, options.infinity, w.lp);
    }
    ++w.solves;
    // A host basis covers the model's rows and columns: z is basic, the
    // objective row's slack nonbasic.
    if (objRows && static_cast<int>(w.givenCol.size()) == data.n && static_cast<int>(w.givenRow.size()) == data.m) {
      w.givenCol.push_back(0);
      w.givenRow.push_back(-1);
    }
    w.setOptions(options, context);
    if (w.tracing()) w.log("\nBadScale Measure: %d", w.scaleMeasure());
    w.checkScaledCeps();
    w.lower = w.lp.lower;
    w.upper = w.lp.upper;
    w.cost = w.lp.cost;
    w.rhs = w.lp.rhs;
    w.costShifted = false;
    w.iterations = 0.0;
    w.methodRuns = 0;
    w.stats = RunStats{};
    w.degenerate = 0;
    w.error = 0;
    w.outcome = kNotFinished;
    w.farkas.clear();
    w.ray.clear();
    w.settledStatus = 0;
    w.refactorsRegular = w.refactorsStability = 0;
    w.factorCount = 0;

    // Columns the host marks superbasic in its basis, and on a crash every
    // column, take their start values when these lie strictly between the
    // bounds, and are pivoted in.
    std::vector<double> superStart;
    if (static_cast<int>(data.startX.size()) == data.n) superStart = data.startX;

    bool reopt = false;
    w.warmHeading = false;
    const bool wantsGiven = start == StartBasis::Given || start == StartBasis::Resident;
    const bool resident = start == StartBasis::Resident && w.haveBasis && w.givenCol.empty();
    const bool given = !resident && wantsGiven && !w.givenCol.empty();
    if (resident) {
      reopt = true;
      w.warmHeading = true;
      for (int j = 0; j < w.nt; ++j)
        if (w.pos[j] < 0) w.placeAt(j, static_cast<NonbasicAt>(w.at[j]));
    } else if (given) {
      for (int j = 0; j < static_cast<int>(superStart.size()); ++j)
        if (j >= static_cast<int>(w.givenCol.size()) || w.givenCol[j] != kSuperbasicStatus) superStart[j] = kNaN;
      const bool ok = installGivenBasis(w, method == Method::Primal ? "psetbas" : "dsetbas");
      if (ok && (w.logging(1) || w.tracing()))
        w.log("\nSetting specified basis (B) as initial basis (bhash=%llx).",
              static_cast<unsigned long long>(LuKernel::basisHash(w.basicVar)));
    } else if (method == Method::Dual || start == StartBasis::Slack) {
      if (start != StartBasis::Slack && (w.logging(1) || w.tracing())) w.log("\nCrashing an initial dual basis..");
      w.resetSlackBasis();
      if (start == StartBasis::Slack) superStart.clear();
    } else {
      if (w.logging(1) || w.tracing()) w.log("\nCrashing an initial primal basis..");
      try {
        w.primalCrash();
      } catch (const std::bad_alloc&) {
        if (w.logging(1) || w.tracing()) w.log("\nRan out of memory. Reverting to identity matrix.");
        w.resetSlackBasis();
      } catch (const std::exception&) {
        if (w.logging(1) || w.tracing()) w.log("\nWARNING: pcrashbas encountered an exception.");
        w.resetSlackBasis();
      }
    }
    // A start that fails to factorise with its superbasic columns starts
    // from the slack basis instead.
    if (!reopt && !superStart.empty() && w.pivotInSuperbasics(superStart) != kLayerOk) w.resetSlackBasis();
    if (method == Method::Free) method = reopt ? Method::Dual : Method::Primal;

    w.freshStart = !resident && !given;  // the primal perturbs the bounds of a basis it was not given
    int outcome = method == Method::Dual ? w.runDual(reopt) : w.runPrimal();
    w.freshStart = false;
    Method last = method;
    if (outcome == kRecover) outcome = w.switchLoop(outcome, last, reopt);
    // A verdict other than an optimum on a badly scaled model is checked by
    // reoptimising unscaled; without an optimum there, the scaled answer
    // stands.
    const auto finish = [&w](SimplexResult& r) {
      if (w.lu && w.lu->valid()) {
        w.cost = w.lp.cost;
        w.computeDual();
      }
      w.fillResult(r);
    };
    bool keepScaled = false;
    SimplexResult scaledResult;
    if ((outcome == kInfeasible || outcome == kInfeasibleOrUnbounded || outcome == kUnbounded) && w.error == 0 &&
        w.lp.scaled && w.badlyScaled(src)) {
      w.outcome = outcome;
      finish(scaledResult);
      const int res = w.unscaleAndReoptimize(src, reopt);
      if (res == kOptimal && w.error == 0) {
        outcome = res;
        last = Method::Primal;
      } else {
        keepScaled = true;
        w.error = 0;
        w.settledStatus = 0;
      }
    }
    // An optimum of the scaled problem may violate the tolerances once
    // unscaled, and any optimum may leave reduced costs within ceps that
    // still gain on wide ranges: tighten the tolerances tenfold (within
    // their limits) and let the primal continue from the optimal basis.
    for (int pass = 0; outcome == kOptimal && w.error == 0 && pass < kMaxPolishPasses; ++pass) {
      SimplexResult check;
      w.cost = w.lp.cost;
      w.computeDual();
      w.outcome = outcome;
      w.fillResult(check);
      const bool withinTols =
          !w.lp.scaled || (check.primalInfeas <= options.feasTol && check.dualInfeas <= options.optTol);
      if (withinTols && remainingGain(w) <= kPolishGainRel * (1.0 + std::fabs(check.objective))) break;
      const double pt = std::max(w.primalTol * 0.1, options.minFeasTol);
      const double dt = std::max(w.dualTol * 0.1, options.minOptTol);
      if (pt == w.primalTol && dt == w.dualTol) break;
      w.primalTol = pt;
      w.dualTol = dt;
      outcome = w.runPrimal();
      last = Method::Primal;
    }
    // Polishing, with the objective carried as a row.
    if (objRows && outcome == kOptimal && w.error == 0) {
      outcome = w.polish(data, w.solves);
      last = Method::Primal;
    }
    w.outcome = w.error != 0 ? kNotFinished : outcome;
    // The dual weights follow the heading only through dual pivots.
    if (last == Method::Dual && !keepScaled && w.error == 0) w.dseBasic = w.basicVar;
    else w.dseBasic.clear();
    if (w.outcome == kCutoff && (w.logging(1) || w.tracing()))
      w.log("\nWarning: stopping at cutoff obj=%e ", w.lp.sense * w.objective() + w.lp.objConst);
    if (w.outcome == kInterrupted && (w.logging(1) || w.tracing()))
      w.log("\nWarning: user break (stat = %d).", w.outcome);
    if ((w.logging(1) || w.tracing()) && context.presolved && !reopt)
      w.log("Exit status=%d, (#pivots=%d)\n\n", w.outcome, static_cast<int>(w.iterations));
    else if (w.logging(1) || w.tracing())
      w.log(reopt ? "\nReopt exit status=%d, (#pivots=%g)" : "\nExit status=%d, (#pivots=%g)", w.outcome,
            w.iterations);
    // The statistics block belongs to the trace: hosts that log at a print
    // level only see the exit line.
    if (w.tracing()) w.logRunStats();
    if (keepScaled) {
      result = scaledResult;
      result.iterations = w.iterations;
    } else {
      finish(result);
    }
    result.methodUsed = last;
    result.reoptimized = reopt;
    if (w.objRows) dropObjectiveRow(w, data, options.infinity);
    return w.error;
  } catch (const std::bad_alloc&) {
    w.haveBasis = false;
    w.lu.reset();
    result.outcome = kNotFinished;
    result.error = kErrOutOfMemory;
    return kErrOutOfMemory;
  }
}

void SimplexWork::Impl::fillResult(SimplexResult& r) const {
  r.outcome = outcome;
  r.error = error;
  r.settledStatus = settledStatus;
  r.iterations = iterations;
  r.factorizations = factorCount;
  r.factorSeconds = stats.factorSeconds;
  r.updateSeconds = stats.updateSeconds;
  r.refactorsRegular = refactorsRegular;
  r.refactorsStability = refactorsStability;
  r.rcond = rcond;
  r.cond2est = cond2;
  const double sg = lp.sense;
  r.x.resize(n);
  r.d.resize(n);
  r.colStatus.resize(n);
  double obj = 0.0;
  for (int j = 0; j < n; ++j) {
    r.x[j] = x[j] * lp.colScale[j];
    r.d[j] = sg * d[j] / lp.colScale[j];
    obj += lp.cost[j] * x[j];
    r.colStatus[j] = pos[j] >= 0 ? pos[j] : (at[j] == kAtUpper ? -2 : (at[j] == kAtZero ? -3 : -1));
  }
  r.objective = sg * obj + lp.objConst;
  r.rowActivity.assign(m, 0.0);
  for (int j = 0; j < n; ++j)
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p)
      r.rowActivity[lp.rowIndex[p]] += lp.colValue[p] * x[j];
  r.slack.resize(m);
  r.y.resize(m);
  r.rowStatus.resize(m);
  double pinf = 0.0, dinf = 0.0;
  for (int i = 0; i < m; ++i) {
    const double rs = lp.rowScale[i];
    r.rowActivity[i] /= rs;
    const double b = lp.rhs[i] / rs;
    r.slack[i] = b - r.rowActivity[i];
    r.y[i] = -sg * d[n + i] * rs;  // d of a slack is -y
    const int j = n + i;
    r.rowStatus[i] = pos[j] >= 0 ? pos[j] : (at[j] == kAtUpper ? -2 : (at[j] == kAtZero ? -3 : -1));
    const double s = r.slack[i];
    if (s < lp.lower[j]) pinf = std::max(pinf, lp.lower[j] - s);
    if (s > lp.upper[j]) pinf = std::max(pinf, s - lp.upper[j]);
  }
  for (int j = 0; j < nt; ++j) {
    const double sc = j < n ? lp.colScale[j] : 1.0 / lp.rowScale[j - n];
    if (j < n) {
      const double v = r.x[j];
      if (v < lp.lower[j] * sc) pinf = std::max(pinf, lp.lower[j] * sc - v);
      if (v > lp.upper[j] * sc) pinf = std::max(pinf, v - lp.upper[j] * sc);
    }
    if (pos[j] >= 0 || lp.lower[j] == lp.upper[j]) continue;
    const double dj = d[j] / sc;
    if (lp.lower[j] == -kInf && dj > 0.0) dinf = std::max(dinf, dj);
    if (lp.upper[j] == kInf && dj < 0.0) dinf = std::max(dinf, -dj);
    if (at[j] == kAtLower && lp.upper[j] < kInf && dj < 0.0) dinf = std::max(dinf, -dj);
    if (at[j] == kAtUpper && lp.lower[j] > -kInf && dj > 0.0) dinf = std::max(dinf, dj);
  }
  r.primalInfeas = pinf;
  r.dualInfeas = dinf;
  // Without the objective's row and column.
  const int nOut = n - objRows, mOut = m - objRows;
  r.x.resize(nOut);
  r.d.resize(nOut);
  r.colStatus.resize(nOut);
  r.rowActivity.resize(mOut);
  r.slack.resize(mOut);
  r.y.resize(mOut);
  r.rowStatus.resize(mOut);
  if (!farkas.empty() && outcome == kInfeasible) {
    r.farkasY.resize(mOut);
    for (int i = 0; i < mOut; ++i) r.farkasY[i] = farkas[i] * lp.rowScale[i];
  }
  if (!ray.empty() && outcome == kUnbounded) {
    r.primalRay.resize(nOut);
    for (int j = 0; j < nOut; ++j) r.primalRay[j] = ray[j] * lp.colScale[j];
  }
}

class WorkSnapshot {
 public:
  std::uint64_t lpStamp = 0;
  std::vector<int> basicVar, pos;
  std::vector<signed char> at;
  std::vector<double> dseWeight;
  bool weightsCurrent = false;
  LuKernel lu;
  int updates = 0;

  explicit WorkSnapshot(const LuKernel& factors) : lu(factors) {}
};

std::shared_ptr<const WorkSnapshot> SimplexWork::snapshot() const {
  const Impl& w = *impl_;
  if (!w.haveBasis || !w.givenCol.empty() || !w.factorsCurrent()) return nullptr;
  auto s = std::make_shared<WorkSnapshot>(*w.lu);
  s->lpStamp = w.lpStamp;
  s->basicVar = w.basicVar;
  s->pos = w.pos;
  s->at = w.at;
  s->weightsCurrent = w.dseBasic == w.basicVar && static_cast<int>(w.dseWeight.size()) == w.m;
  if (s->weightsCurrent) s->dseWeight = w.dseWeight;
  s->updates = w.updates;
  return s;
}

bool SimplexWork::restore(const WorkSnapshot& snap) {
  Impl& w = *impl_;
  if (snap.lpStamp != w.lpStamp || !w.lu) return false;
  w.basicVar = snap.basicVar;
  w.pos = snap.pos;
  w.priceRows.invalidate();
  w.at = snap.at;
  w.haveBasis = true;
  w.givenCol.clear();
  w.givenRow.clear();
  *w.lu = snap.lu;
  w.updates = snap.updates;
  w.refactorRequest = kRefactorNone;
  w.luBasic = w.basicVar;
  if (snap.weightsCurrent) {
    w.dseWeight = snap.dseWeight;
    w.dseBasic = w.basicVar;
  } else {
    w.dseBasic.clear();
  }
  // The pivots logged since the snapshot do not lead back to it.
  w.bl.history.forget();
  w.bl.historyTopAtFactor = w.bl.history.top();
  return true;
}

int SimplexWork::ftran(int inCount, const int* inIndex, const double* inValue, int* outCount, int* outIndex,
                       double* outValue) {
  Impl& w = *impl_;
  if (!w.lu || !w.lu->valid()) return kErrNoFactors;
  LuVector v(w.m);
  for (int k = 0; k < inCount; ++k) {
    const int i = inIndex[k];
    if (i < 0 || i >= w.m) return kErrNumerical;
    v.add(i, inValue[k] * w.lp.rowScale[i]);
  }
  w.lu->ftran(v);
  if (v.count < 0) v.rebuildIndex();
  // With the objective carried as a row, its column z is basic: its entry
  // is c'x, not part of the model's basis.
  const int z = w.objRows ? w.n - 1 : -1;
  int c = 0;
  for (int t = 0; t < v.count; ++t) {
    const int k = v.index[t];
    const int j = w.basicVar[k];
    if (j == z) continue;
    const double s = j < w.n ? w.lp.colScale[j] : 1.0 / w.lp.rowScale[j - w.n];
    const double val = v.array[k] * s;
    if (val == 0.0 || std::fabs(val) <= kLuListedZero) continue;
    if (outIndex) outIndex[c] = k;
    if (outValue) outValue[c] = val;
    ++c;
  }
  if (outCount) *outCount = c;
  return 0;
}

int SimplexWork::btran(int inCount, const int* inIndex, const double* inValue, int* outCount, int* outIndex,
                       double* outValue) {
  Impl& w = *impl_;
  if (!w.lu || !w.lu->valid()) return kErrNoFactors;
  LuVector v(w.m);
  for (int t = 0; t < inCount; ++t) {
    const int k = inIndex[t];
    if (k < 0 || k >= w.m) return kErrNumerical;
    const int j = w.basicVar[k];
    const double s = j < w.n ? w.lp.colScale[j] : 1.0 / w.lp.rowScale[j - w.n];
    v.add(k, inValue[t] * s);
  }
  w.lu->btran(v);
  if (v.count < 0) v.rebuildIndex();
  int c = 0;
  for (int t = 0; t < v.count; ++t) {
    const int i = v.index[t];
    if (i >= w.m - w.objRows) continue;  // the objective row (zero while z is basic)
    const double val = v.array[i] * w.lp.rowScale[i];
    if (val == 0.0 || std::fabs(val) <= kLuListedZero) continue;
    if (outIndex) outIndex[c] = i;
    if (outValue) outValue[c] = val;
    ++c;
  }
  if (outCount) *outCount = c;
  return 0;
}

}  // namespace torva::simplex
