// The basis-change layer: update or refactorise after each pivot, classify
// each new factorisation by its condition, and recover from a singular or
// ill-conditioned basis by one of three methods: reinstall the fallback basis
// (1), put slacks in place of dependent columns (2), or roll back along the
// pivot history to the basis of the previous factorisation (3). Each
// recovery also makes the LU pivots safer (a higher relative threshold) and
// the ratio tests more demanding (a smaller candidate range).
#include <algorithm>
#include <cfloat>
#include <chrono>
#include <cmath>
#include <limits>

#include "simplex/work.hpp"

namespace torva::simplex {
namespace {

// Condition classification of a factorisation. Below sqrt(DBL_EPSILON) the
// reciprocal 1-norm estimate is confirmed by the 2-norm estimate (beyond
// 2^52, the reciprocal of the unit roundoff, the basis is numerically
// singular); a 2-norm estimate above 1e12 asks the 4-norm estimate as well.
// An rcond below DBL_EPSILON is singular in any case.
constexpr double kSqrtEps = 1.4901161193847656e-08;
constexpr double kCondSingular = 4503599627370496.0;  // 2^52
constexpr double kCond4Trigger = 1e12;

// The refactorisation frequency drops by this after each recovery, never
// below the lower limit.
constexpr int kRefactorFrequencyStep = 10;
constexpr int kMinRefactorFrequency = 50;

// Ladder of the relative LU pivot threshold: raised by a step per recovery
// up to the ceiling (beyond 0.9 the threshold pivoting degenerates into
// partial pivoting with no room for sparsity).
constexpr double kPivRelStep = 0.02;
constexpr double kPivRelMax = 0.9;

// Method 1 gives way to method 2 after this many fallback restorations (or
// after one more than one when the 4-norm estimate calls the basis singular):
// the simplex keeps walking back into the same trouble.
constexpr int kMaxFallbackRestores = 7;

// Factorisations one recovery may make before it reports that singularity
// persists (each repair by artificials removes the dependent columns the
// last factorisation found, so a few suffice).
constexpr int kMaxRecoveryAttempts = 6;

// Name of the repair in its log lines.
constexpr const char* kRepairName = "bsrepair";

// Hands a relative pivot tolerance to the kernel and keeps the value the
// kernel put in force (a negative value selects the kernel's default).
void setPivRel(LuKernel& lu, double& pivRel, double value) {
  lu.setDoubleOption(kLuDparEpsPivRel, value);
  lu.getDoubleOption(kLuDparEpsPivRel, &pivRel);
}

// Adds the wall time of its scope to a total and counts the call, when
// profiling is on.
class ProfileTimer {
 public:
  ProfileTimer(bool on, double& seconds, long long& calls) : on_(on), seconds_(seconds) {
    if (!on_) return;
    ++calls;
    start_ = std::chrono::steady_clock::now();
  }
  ~ProfileTimer() {
    if (on_) seconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }
  ProfileTimer(const ProfileTimer&) = delete;
  ProfileTimer& operator=(const ProfileTimer&) = delete;

 private:
  bool on_;
  double& seconds_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace

void SimplexWork::Impl::resetSlackBasis() {
  x.assign(nt, 0.0);
  d.assign(nt, 0.0);
  pos.assign(nt, -1);
  at.assign(nt, kAtLower);
  basicVar.resize(m);
  for (int i = 0; i < m; ++i) {
    basicVar[i] = n + i;
    pos[n + i] = i;
  }
  for (int j = 0; j < n; ++j) placeAt(j, kAtLower);
  haveBasis = true;
  dseValid = false;
  bl.history.forget();
  priceRows.invalidate();
}

void SimplexWork::Impl::ensureKernel() {
  if (lu) return;
  lu = std::make_unique<LuKernel>(m);
  matrix.numRows = m;
  matrix.numCols = n;
  applyKernelOptions(true);
  col.resize(m);
  rho.resize(m);
  tau.resize(m);
  aux.resize(m);
  prow.assign(nt, 0.0);
  prowIndex.assign(nt, 0);
  prowCount = 0;
}

// The options of a new kernel, or of the kept one at the start of a solve.
// Those the factors were built with (pivot search and its tolerances, the
// update type) make kept factors stale when they change: a warm start then
// refactorises its heading under them. The others act from the next solve
// or update on. The kernel lists its options when it is created and when a
// solve changes them.
void SimplexWork::Impl::applyKernelOptions(bool created) {
  bool changed = created, stale = false;
  const auto setInt = [&](int id, int value, bool shapesFactors) {
    int before = 0, after = 0;
    lu->getIntOption(id, &before);
    lu->setIntOption(id, value);
    lu->getIntOption(id, &after);
    changed = changed || before != after;
    stale = stale || (shapesFactors && before != after);
  };
  const auto setDouble = [&](int id, double value, bool shapesFactors) {
    double before = 0.0, after = 0.0;
    lu->getDoubleOption(id, &before);
    lu->setDoubleOption(id, value);
    lu->getDoubleOption(id, &after);
    changed = changed || before != after;
    stale = stale || (shapesFactors && before != after);
  };
  setInt(kLuIparNumCandits, opt.luNumCandidates, true);
  setInt(kLuIparMaxUpdates, std::max(opt.luMaxUpdates, refactorFrequency + 1), false);
  setInt(kLuIparUpdateType, opt.luUpdateType, true);
  setInt(kLuIparUsePivcol, opt.luUsePivcol, false);
  setDouble(kLuDparEpsDiag, opt.luEpsDiag, true);
  setDouble(kLuDparEpsNonz, opt.luEpsNonz, true);
  setDouble(kLuDparEpsPivAbs, opt.luEpsPivAbs, true);
  setDouble(kLuDparSpvtolUpdate, opt.luSpvtolUpdate, false);
  setDouble(kLuDparSpvtolFtran, opt.luSpvtolFtran, false);
  // Kernel print level, raised by trace bit 32768; the kernel's lines go to
  // the solve's log.
  setInt(kLuIparPrintLevel, (ctx && (ctx->traceMask & kTraceKernel)) ? kTraceKernel : opt.luPrintLevel, false);
  if (ctx && ctx->log) lu->setLog([this](const char* line) { log("%s", line); });
  setDouble(kLuDparSpvtolBtran, opt.luSpvtolBtran, false);
  setDouble(kLuDparIniRcond, opt.luIniRcond, false);
  setInt(kLuIparProfile, opt.luProfile, false);
  // The relative tolerance in force may have been raised by a recovery of
  // the last solve; only a new value from the host counts as a change.
  if (!created && opt.luEpsPivRel != hostPivRel) changed = stale = true;
  hostPivRel = opt.luEpsPivRel;
  setPivRel(*lu, pivRel, pivRel);
  if (stale && !created) luBasic.clear();
  if (changed) lu->logOptions();
}

int SimplexWork::Impl::factorOnce(bool* singular, int* kernelRc) {
  matrix.begin = lp.colStart.data();
  matrix.index = lp.rowIndex.data();
  matrix.value = lp.colValue.data();
  setPivRel(*lu, pivRel, pivRel);
  updates = 0;
  stats.factorised();
  const int rc = lu->factorize(matrix, basicVar);
  ++factorCount;
  *kernelRc = rc;
  if (rc == kLuOutOfMemory) return kLayerOutOfMemory;
  if (rc == kLuOutOfSpace) return kLayerOutOfSpace;
  if (rc != kLuOk && rc != kLuSingular) return kLayerInternal;
  *singular = rc == kLuSingular;
  // The 4-norm estimate describes this factorisation only (0: not made);
  // the recovery's choice of method reads it.
  bl.cond4 = 0.0;
  rcond = lu->rcond();
  // Without the 2-norm estimate the 1-norm condition stands in for it (the
  // two agree within a factor of m).
  cond2 = rcond > 0.0 ? 1.0 / rcond : std::numeric_limits<double>::infinity();
  if (!*singular && rcond < kSqrtEps) {
    cond2 = lu->cond2est();
    if (cond2 > kCondSingular) {
      if (debugTracing()) {
        const PivotRecord last = bl.history.empty() ? PivotRecord{} : bl.history.back();
        traceLine(" WARNING: too high cond2est:%g, fiter=%d, pivi=%d, pivj=%d, vleave:%d, %s(%d)", cond2, updates,
                  last.row, last.entering, last.leaving, __FILE_NAME__, __LINE__);
      }
      *singular = true;
    } else if (cond2 > kCond4Trigger) {
      bl.cond4 = lu->cond4est();
      if (bl.cond4 > kCondSingular) *singular = true;
    }
  }
  if (rcond < DBL_EPSILON) *singular = true;
  bl.lnnz = lu->nnzL();
  bl.unnz = lu->nnzU();
  return kLayerOk;
}

void SimplexWork::Impl::setHeading(const std::vector<int>& basic) {
  std::vector<int> newPos(nt, -1);
  for (int k = 0; k < m; ++k) newPos[basic[k]] = k;
  for (int j = 0; j < nt; ++j) {
    if (newPos[j] >= 0 || pos[j] < 0) continue;
    // Leaves the basis: to the bound its value is nearer (free: zero).
    pos[j] = -1;
    placeAt(j, x[j] - lower[j] <= upper[j] - x[j] ? kAtLower : kAtUpper);
  }
  pos = std::move(newPos);
  basicVar = basic;
}

void SimplexWork::Impl::saveBasis(bool best) {
  SavedBasis& s = best ? bl.best : bl.fallback;
  const std::uint64_t h = LuKernel::basisHash(basicVar);
  if (!best && s.valid && s.hash == h) {
    if (tracing())
      traceLine("WARNING: current basis already the fallback basis, top:%d, bhash=%llx", bl.history.top(),
                static_cast<unsigned long long>(h));
    return;
  }
  s.valid = true;
  s.basicVar = basicVar;
  s.at = at;
  s.iteration = totalIterations;
  s.historyTop = bl.history.top();
  s.cond2 = cond2;
  s.rcond = rcond;
  s.hash = h;
  s.used = 0;
  if (tracing())
    traceLine("Saved current basis as the %s basis, top:%d, cond2est:%g, rcond:%g, bhash=%llx",
              best ? "best" : "fallback", s.historyTop, s.cond2, s.rcond, static_cast<unsigned long long>(h));
}

bool SimplexWork::Impl::restoreFallback() {
  ++bl.fallbackCalls;
  SavedBasis& f = bl.fallback;
  if (!f.valid) return false;
  ++f.used;
  ++bl.fallbackRestores;
  setHeading(f.basicVar);
  // The history after the save led away from this basis; what is older
  // still leads to it.
  while (!bl.history.empty() && bl.history.top() > f.historyTop) bl.history.pop();
  if (tracing())
    traceLine(" restored fallback basis (#nused:%d, #ncalls:%d, iter-saved:%g, hist_idx:%d, cond2est:%g, rcond:%g, "
              "bhash:%llx)",
              f.used, bl.fallbackCalls, f.iteration, f.historyTop, f.cond2, f.rcond,
              static_cast<unsigned long long>(f.hash));
  return true;
}

void SimplexWork::Impl::undoLastPivot() {
  if (bl.history.empty()) return;
  const PivotRecord rec = bl.history.back();
  bl.history.pop();
  pos[rec.entering] = -1;
  placeAt(rec.entering, static_cast<NonbasicAt>(rec.enteringAt));
  basicVar[rec.row] = rec.leaving;
  pos[rec.leaving] = rec.row;
  // The dual avoids the row (its leaving variable), the primal the column.
  bl.reject(methodChar == 'D' ? rec.leaving : rec.entering);
  if (debugTracing())
    traceLine("Previous basis is restored, pivi:%d, in:%d, out:%d (rej:%d)", rec.row, rec.entering, rec.leaving,
              static_cast<int>(bl.rejectedList.size()));
}

int SimplexWork::Impl::rollBack(int steps) {
  if (bl.history.empty()) {
    if (tracing()) traceLine(" WARNING: cannot rollback, no iterations were logged (top:%d)", bl.history.top());
    return 0;
  }
  int done = 0;
  while (done < steps) {
    if (bl.history.empty()) {
      if (tracing())
        traceLine(" WARNING: cannot rollback, reached to tail:%d (top:%d)", bl.history.tail(), bl.history.top());
      break;
    }
    const PivotRecord rec = bl.history.back();
    bl.history.pop();
    pos[rec.entering] = -1;
    placeAt(rec.entering, static_cast<NonbasicAt>(rec.enteringAt));
    basicVar[rec.row] = rec.leaving;
    pos[rec.leaving] = rec.row;
    ++done;
    if (tracing())
      traceLine(" Basis is rolled back to iter %g (top:%d), pivi:%d, in:%d, out:%d, pivbas=%d (rej:%d)", rec.iteration,
                bl.history.top(), rec.row, rec.entering, rec.leaving, basicVar[rec.row],
                static_cast<int>(bl.rejectedList.size()));
  }
  bl.rolls += done;
  priceRows.invalidate();
  return done;
}

int SimplexWork::Impl::repairByArtificials() {
  if (tracing()) traceLine(" %s: Pivoting in artificials...", kRepairName);
  const std::vector<int>& rows = lu->unpivotedRows();
  const std::vector<int>& posns = lu->unpivotedPositions();
  if (rows.empty()) {
    if (tracing()) traceLine(" %s: Warning -- no dependent rows/cols were found.", kRepairName);
    return kLayerSingular;
  }
  int count = 0;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const int p = posns[k];
    const int out = basicVar[p];
    const int in = n + rows[k];
    if (pos[in] >= 0) {
      if (tracing()) traceLine(" %s: Terminating with numerical error.", kRepairName);
      return kLayerNumeric;
    }
    pos[out] = -1;
    placeAt(out, x[out] - lower[out] <= upper[out] - x[out] ? kAtLower : kAtUpper);
    basicVar[p] = in;
    pos[in] = p;
    ++count;
    if (tracing()) traceLine(" %s: pivout=%6d, pivin=%6d at row=%6d", kRepairName, out, in, rows[k]);
  }
  bl.history.forget();
  if (tracing()) traceLine(" pivoted-in %d artificial vars, rank:%d (%d)", count, lu->rank(), m);
  return kLayerOk;
}

int SimplexWork::Impl::recover(int kernelRc) {
  if (tracing()) {
    const int pivj = bl.history.empty() ? -1 : bl.history.back().entering;
    traceLine("WARNING: LU factorz returned CLU_SINGULAR(%d), recovering (pivj=%d, rcond:%g, m=%d, rank=%d, top:%d, "
              "ratrange:%d), bhash:%llx",
              kernelRc, pivj, rcond, m, lu->rank(), bl.history.top(), bl.ratRange,
              static_cast<unsigned long long>(LuKernel::basisHash(basicVar)));
  }
  ++bl.recoveries;
  int method = bl.recoveryMethod;
  if (method <= 1 && (bl.fallbackRestores > kMaxFallbackRestores ||
                      (bl.fallbackRestores > 1 && bl.cond4 > kCondSingular))) {
    method = bl.recoveryMethod = 2;
    if (tracing()) traceLine(" Switched to basis recovery method %d", method);
  }
  if (bl.ratRange > 2 && bl.ratRange - 1 <= bl.ratRangeInitial) {
    --bl.ratRange;
    if (tracing())
      traceLine(" new ratrange:%d (old:%d), ierr=%d, file=%s(%d)", bl.ratRange, bl.ratRange + 1, kernelRc,
                __FILE_NAME__, __LINE__);
  }
  const double raised = pivRel + kPivRelStep;
  if (raised <= kPivRelMax && raised >= pivRel) {
    setPivRel(*lu, pivRel, raised);
    if (tracing())
      traceLine(" new _mkweps:%g, fiter:%d, rcond:%g, cond2est:%g, file=%s(%d)", pivRel, updates, rcond, cond2,
                __FILE_NAME__, __LINE__);
  }

  if (method <= 2) dropPerturbationForRecovery();
  int outcome = kLayerSingular;
  for (int attempt = 0; attempt < kMaxRecoveryAttempts; ++attempt) {
    if (method <= 1) {
      if (methodChar == 'D') {
        bl.dpickrow = bl.dpickrow == 0 ? 2 : bl.dpickrow + 1;
        if (debugTracing()) traceLine("Warning: increased dpickrow = %d", bl.dpickrow);
      }
      if (!restoreFallback()) method = 2;  // nothing saved yet: repair instead
    }
    if (method == 3) {
      const int steps = rollBack(bl.history.top() - bl.historyTopAtFactor);
      if (steps == 0) {
        method = 2;
      } else if (tracing()) {
        traceLine(" rolled back to previous fact in %d steps, top:%d, size:%d", steps, bl.history.top(),
                  bl.history.size());
      }
    }
    if (method == 2) {
      const int rc = repairByArtificials();
      if (rc == kLayerSingular && rollBack(bl.history.top() - bl.historyTopAtFactor) > 0) {
        // Ill-conditioned without a dependent column to remove: go back to
        // the last sound factorisation instead.
      } else if (rc != kLayerOk) {
        outcome = rc;
        break;
      }
    }
    bool singular = false;
    int krc = kLuOk;
    const int rc = factorOnce(&singular, &krc);
    if (rc != kLayerOk) {
      outcome = rc;
      break;
    }
    if (!singular) {
      outcome = kLayerOk;
      break;
    }
    // The restored fallback basis has no line of its own.
    if (tracing() && method == 3) traceLine(" Repaired basis is still singular... ");
    if (tracing() && method == 2)
      traceLine("%s: Repaired basis is still singular... Adding more artificial vars...", kRepairName);
    method = 2;  // later attempts remove what this factorisation found dependent
  }

  if (outcome == kLayerSingular && bl.best.valid && !bl.bestTried) {
    // Last resort: the best basis seen in this solve (it factorised well).
    bl.bestTried = true;
    setHeading(bl.best.basicVar);
    bl.history.forget();
    if (tracing())
      traceLine(" restored best basis (iter-saved:%g, cond2est:%g, rcond:%g, bhash:%llx)", bl.best.iteration,
                bl.best.cond2, bl.best.rcond, static_cast<unsigned long long>(bl.best.hash));
    bool singular = false;
    int krc = kLuOk;
    const int rc = factorOnce(&singular, &krc);
    outcome = rc != kLayerOk ? rc : (singular ? kLayerSingular : kLayerOk);
  }
  if (outcome == kLayerOk) {
    if (debugTracing()) traceLine(" Stable basis is constructed, #nrolls:%d, top:%d", bl.rolls, bl.history.top());
    bl.historyTopAtFactor = bl.history.top();
    if (refactorFrequency - kRefactorFrequencyStep >= kMinRefactorFrequency) {
      refactorFrequency -= kRefactorFrequencyStep;
      if (tracing())
        traceLine(" new refactfrq:%d (change:%d), fiter=%d, file=%s(%d)", refactorFrequency, -kRefactorFrequencyStep,
                  updates, __FILE_NAME__, __LINE__);
    }
    // The weights of the old basis say little about the repaired one.
    std::fill(dseWeight.begin(), dseWeight.end(), 1.0);
    if (!devex.empty()) std::fill(devex.begin(), devex.end(), 1.0);
  } else if (debugTracing()) {
    switch (outcome) {
      case kLayerSingular: traceLine(" Singularity persists during basis recovery. "); break;
      case kLayerOutOfMemory: traceLine(" Ran out of memory during basis recovery, quiting..."); break;
      case kLayerOutOfSpace: traceLine(" Ran out of space during basis recovery, quiting..."); break;
      default: traceLine(" Numeric error during basis recovery. "); break;
    }
  }
  if (method == 2 && debugTracing()) {
    log("\n Basis recovery (2) terminated (retval=%d). ", outcome);
    log(" rcond(B)   : %g", rcond);
    log(" cond2est(B): %g", cond2);
    log(" cond4est(B): %g", bl.cond4 > 0.0 ? bl.cond4 : lu->cond4est());
  }
  return outcome;
}

int SimplexWork::Impl::refactor(bool withDual) {
  ProfileTimer timer(opt.luProfile != 0, stats.factorSeconds, stats.factorTimed);
  ensureKernel();
  const int reason = refactorRequest;
  refactorRequest = kRefactorNone;
  lastReason = reason;
  if (reason == kRefactorRegular) {
    ++refactorsRegular;
    // Rejections hold until the next regular factorisation: the candidates
    // were refused on the old factors.
    bl.releaseRejected();
  }
  if (reason == kRefactorStability) {
    ++refactorsStability;
    if (bl.undoable) undoLastPivot();
  }
  bl.undoable = false;
  if (reason == kRefactorFallback) restoreFallback();
  luBasic.clear();
  // Whatever changed the basis before a factorisation (a crash, a roll
  // back, a repair) is caught up with at the next pivot row.
  priceRows.invalidate();

  bool singular = false;
  int krc = kLuOk;
  int rc = factorOnce(&singular, &krc);
  if (rc != kLayerOk) return rc;
  if (singular) {
    rc = recover(krc);
    if (rc != kLayerOk) return rc;
  } else {
    if (methodChar == 'D' && bl.dpickrow > 1) {
      bl.dpickrow = 1;
      if (debugTracing()) traceLine("Warning: reset dpickrow = 1");
    }
    bl.historyTopAtFactor = bl.history.top();
    if ((reason == kRefactorInitial || reason == kRefactorRegular) && rcond >= kSqrtEps) saveBasis(false);
  }
  luBasic = basicVar;
  computePrimal();
  if (withDual) computeDual();
  return kLayerOk;
}

void SimplexWork::Impl::notePivotColumn() {
  // The loops hand over the transformed entering column in col.
  double sparseBelow = 0.0;
  lu->getDoubleOption(kLuDparSpvtolFtran, &sparseBelow);
  const int len = col.count >= 0 ? col.count : m;
  ++stats.pivcol[len < sparseBelow * m ? 0 : 1];
  stats.pivcolLen += len;
  stats.colSum += len;
  ++stats.colCount;
}

void SimplexWork::Impl::requestRefactor(int reason, const char* file, int line) {
  refactorRequest = reason;
  ++bl.requests;
  if (tracing()) stateLine(reason, file, line);
}

int SimplexWork::Impl::basisChange(int r, int q, bool withDual, double pivot) {
  const int out = basicVar[r];
  bl.history.push({q, out, r, at[q], totalIterations});
  notePivotColumn();
  basicVar[r] = q;
  pos[q] = r;
  pos[out] = -1;
  priceRows.markColumn(lp, q, true);
  priceRows.markColumn(lp, out, false);
  if (refactorRequest != kRefactorNone) return refactor(withDual);
  lastPivot = pivot;
  int rc = kLuOk;
  {
    ProfileTimer timer(opt.luProfile != 0, stats.updateSeconds, stats.updateTimed);
    rc = lu->update(r, q, pivot);
  }
  if (rc == kLuOk) {
    ++updates;
    if (luBasic.size() == basicVar.size()) luBasic[r] = q;
    rcond = lu->updateRcond();
    // At the frequency the refactorisation is regular whatever the
    // estimate; below it a tiny estimate asks for a stability one.
    if (updates >= refactorFrequency) {
      requestRefactor(kRefactorRegular, __FILE_NAME__, __LINE__);
      return refactor(withDual);
    }
    if (rcond < DBL_EPSILON) {
      if (debugTracing())
        traceLine(" WARNING: too small rcond:%g, cond2est:%g, fiter=%d, pivi=%d, pivj=%d, vleave:%d, %s(%d)", rcond,
                  cond2, updates, r, q, out, __FILE_NAME__, __LINE__);
      bl.undoable = true;
      requestRefactor(kRefactorStability, __FILE_NAME__, __LINE__);
      return refactor(withDual);
    }
    return kLayerOk;
  }
  if (rc == kLuOutOfMemory) return kLayerOutOfMemory;
  if (rc == kLuBadInput || rc == kLuNotFactored) return kLayerInternal;
  if (rc == kLuOutOfSpace) {
    if (tracing()) traceLine("WARNING: LU update returned CLU_OUT_OF_SPACE, pivj=%d", q);
    requestRefactor(kRefactorRegular, __FILE_NAME__, __LINE__);
    return refactor(withDual);
  }
  if (tracing())
    traceLine("WARNING: LU update returned CLU_SINGULAR, pivj=%d, rcond:%g, m=%d, rank=%d, ratrange=%d", q,
              lu->updateRcond(), m, lu->rank(), bl.ratRange);
  // A singular update undoes the pivot; an unstable one (the factors and
  // the pivot disagree) keeps it and rebuilds the factors of the new basis.
  bl.undoable = rc == kLuSingularUpdate;
  if (bl.undoable && methodChar == 'P' && tracing())
    traceLine(" **WARNING: pivcoe=%e is too small, fiter:%d, pivj=%d, pivi=%d, kcycle:%d, file=%s(%d)", pivot, updates,
              q, r, prog.cycling, __FILE_NAME__, __LINE__);
  requestRefactor(kRefactorStability, __FILE_NAME__, __LINE__);
  return refactor(withDual);
}

}  // namespace torva::simplex
