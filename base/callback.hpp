// Host callbacks installed on a model, the progress-callback dispatcher that
// every solver calls, and the bookkeeping the callback information queries
// answer from.
//
// A solver publishes its state for the duration of its run and reports at
// every iteration; the dispatcher decides whether the host is called:
//
//   SolveScope scope(model, QXLOC_DUAL, &state);   // state: a ProgressSource
//   for (...) {
//     ...
//     int rc = reportProgress(model, {QXLOC_DUAL, double(iter), obj, false});
//     if (rc < 0) return stopErrorCode(rc);         // QXERR_USER_INTERRUPT
//   }
//   rc = reportProgress(model, {QXLOC_DUAL, double(iter), obj, true});  // final
//
// The integer solver passes its MipRun as well, which lets the dispatcher run
// the objective-bound and new-solution suppliers after the progress callback.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "torva.h"

namespace torva {

using CallbackClock = std::chrono::steady_clock;

// Answers information items about a solve in progress. A solver publishes one
// through SolveScope while it runs; the callback information queries ask it.
class ProgressSource {
 public:
  virtual ~ProgressSource() = default;
  // Writes item (an int or a double by its number) to result; returns 0, or
  // QXERR_INFO_NOT_AVAILABLE when the solver does not know the item.
  virtual int progressInfo(int item, void* result) const = 0;
};

// The integer solver while it runs, as seen by the objective-bound and
// new-solution suppliers and by QXgetMIPCallbackInfo.
class MipRun {
 public:
  virtual ~MipRun() = default;
  // Answers an integer-solver information item; QXERR_INFO_NOT_AVAILABLE otherwise.
  virtual int mipInfo(int item, void* result) const = 0;
  // Objective of the incumbent in the model's own sense (an infinite value
  // in the bad direction when there is none) and the best bound.
  virtual double incumbentObjective() const = 0;
  virtual double bestBound() const = 0;
  // The objective-bound supplier offered a better objective: the integer
  // record takes status feasible with this objective and bound.
  virtual void adoptSuppliedObjective(double objective, double bound) = 0;
  // Number of variables of a supplied solution.
  virtual int numVars() const = 0;
  // A solution the new-solution supplier returned; the solver checks it
  // before it accepts it.
  virtual void offerSolution(std::span<const double> x, double objective) = 0;
};

// What a solver tells the dispatcher at each report.
struct ProgressReport {
  int location = QXLOC_PRIMAL;
  double iterations = 0;
  double objective = 0;
  bool force = false;  // call the host regardless of the frequency
};

// The host's strategy of one thread of the concurrent integer solver: a
// function called on the thread's model and a parameter file read into it
// (either may be absent).
struct ConcurrentStrategy {
  QXMIPCCstrategyFunc func = nullptr;
  void* userData = nullptr;
  std::optional<std::string> paramFile;
};

// Callbacks of one model, each a host function with its own user data, and
// the bookkeeping of the progress callback. Everything is null or empty at
// creation; a model copy does not take them over.
struct Callbacks {
  QXcallbackFunc progress = nullptr;
  void* progressData = nullptr;
  QXMIPcallbackFunc mip = nullptr;
  void* mipData = nullptr;
  QXMIPsolSupplierFunc mipSolSupplier = nullptr;
  void* mipSolSupplierData = nullptr;
  QXMIPobjSupplierFunc mipObjSupplier = nullptr;
  void* mipObjSupplierData = nullptr;
  QXGOPcallbackFunc gop = nullptr;
  void* gopData = nullptr;
  QXFDEcallbackFunc fde = nullptr;
  void* fdeData = nullptr;
  QXusercalcFunc usercalc = nullptr;
  void* usercalcData = nullptr;
  QXfuncalcFunc funcalc = nullptr;
  void* funcalcData = nullptr;
  QXhessdccalcFunc hessdccalc = nullptr;
  void* hessdccalcData = nullptr;

  // Gradient evaluator. gradRowMark[row + 1] marks the rows (objective -1)
  // whose gradient the host computes; an empty mark with gradAllRows set
  // means every row.
  QXgradcalcFunc gradcalc = nullptr;
  void* gradcalcData = nullptr;
  bool gradFullPartial = false;
  bool gradAllRows = true;
  std::vector<char> gradRowMark;

  // Strategies of the concurrent integer solver by thread number.
  std::map<int, ConcurrentStrategy> concurrentStrategies;

  // Time of the last host call made by the dispatcher (none yet when unset).
  CallbackClock::time_point lastCall{};
  bool hasLastCall = false;

  // Callback context marker: the depth of host functions running now.
  int hostCallDepth = 0;

  // Set by an optimiser while it keeps internally appended rows in the dual
  // queries; the end-of-solve report (location QXLOC_END_REPORT) then skips
  // the progress callback.
  bool keepAppendedRows = false;

  // The solve in progress, published by SolveScope (non-owning).
  const ProgressSource* source = nullptr;
  MipRun* mipRun = nullptr;
  int runLocation = -1;
  ProgressReport lastReport;
  bool hasReport = false;

  bool inHostCall() const noexcept { return hostCallDepth > 0; }
};

// Sets the callback context marker of a model for the lifetime of the scope;
// every call of a host function runs inside one.
class HostCallScope {
 public:
  explicit HostCallScope(Callbacks& callbacks) noexcept : callbacks_(callbacks) {
    ++callbacks_.hostCallDepth;
  }
  ~HostCallScope() { --callbacks_.hostCallDepth; }
  HostCallScope(const HostCallScope&) = delete;
  HostCallScope& operator=(const HostCallScope&) = delete;

 private:
  Callbacks& callbacks_;
};

// Publishes a running solver to the callback information queries for the
// lifetime of the scope and restores what was published before (solvers nest:
// the integer solver runs the LP driver on the same model).
class SolveScope {
 public:
  SolveScope(QXmodelRec& model, int location, const ProgressSource* source,
             MipRun* mipRun = nullptr) noexcept;
  ~SolveScope();
  SolveScope(const SolveScope&) = delete;
  SolveScope& operator=(const SolveScope&) = delete;

 private:
  Callbacks& callbacks_;
  const ProgressSource* savedSource_;
  MipRun* savedMipRun_;
  int savedLocation_;
  ProgressReport savedReport_;
  bool savedHasReport_;
};

// The progress-callback dispatcher. Calls the host's progress callback when
// the time since the last call reaches QX_DPARAM_CALLBACKFREQ (or the report
// is forced), then the objective-bound supplier and the new-solution supplier
// while the integer solver runs. Returns 0 to go on, or a negative value when
// the host asked to stop; the solver then ends its run with stopErrorCode().
int reportProgress(QXmodelRec& model, const ProgressReport& report);
// The same at a given time (the clock is a parameter for testing).
int reportProgress(QXmodelRec& model, const ProgressReport& report,
                   CallbackClock::time_point now);

// The error code a solver returns for a dispatcher result.
constexpr int stopErrorCode(int dispatchResult) noexcept {
  return dispatchResult < 0 ? QXERR_USER_INTERRUPT : 0;
}

// Calls of the other host functions, each inside a HostCallScope. They return
// what the host returned, or 0 when no function is installed.
int callMipCallback(QXmodelRec& model, double objective, std::span<const double> x);
int callGopCallback(QXmodelRec& model, double objective, std::span<const double> x);
int callFdeCallback(QXmodelRec& model, int location);

// Adapters of the nonlinear machinery to the host's evaluators. They return
// QXERR_USER_FUNCTION_NOT_SET when no evaluator is installed and the host's
// non-zero result otherwise.
bool hasHostFunction(const QXmodelRec& model) noexcept;
int evalRowByHost(QXmodelRec& model, int row, const double* x, double* value);
// Whether the host's gradient routine serves row (-1 is the objective).
bool hostGradientForRow(const QXmodelRec& model, int row) noexcept;
// Dense gradient of row at x into grad (n values). A partial gradient the host
// returns is scattered into grad; everything else is zero.
int gradientByHost(QXmodelRec& model, int row, const double* x, std::span<double> grad);
int hessianByHost(QXmodelRec& model, int row, const double* x, int* nnz, int* rowidx,
                  int* colidx, double* values);
int userFunctionByHost(QXmodelRec& model, std::span<const double> args, double* result);

// Answers QXgetCallbackInfo / QXgetProgressInfo and QXgetMIPCallbackInfo.
int callbackInfo(const QXmodelRec& model, int location, int item, void* result);
int mipCallbackInfo(const QXmodelRec& model, int item, void* result);

}  // namespace torva
