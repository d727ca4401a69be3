// The concurrent integer solver. Thread 0 searches on the host's model, the
// other threads on private copies; each runs the serial driver with its own
// strategy inside one parallel region. The threads meet only in the shared
// record of the best solution, which every thread reads and writes inside
// the critical section named qx_mipcc_best:
//
//   new incumbent in thread k  -> stored when better than the shared best
//   thread k asks for a solution (its supplier hook) -> handed the shared
//                                 best when that beats its own incumbent
//   thread k ends with a final status -> terminal signal; the other threads'
//                                 progress callbacks see it and stop
//
// The runner installs its own progress callback, integer-solution callback
// and solution supplier on every thread model for the duration of the run;
// thread 0 passes the host's own callbacks on, on the caller's thread only.
#include "bnb/concurrent.hpp"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdarg>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "base/callback.hpp"
#include "base/copy.hpp"
#include "base/info.hpp"
#include "base/log.hpp"
#include "base/param_access.hpp"
#include "bnb/driver.hpp"
#include "simplex/driver_saver.hpp"

namespace torva {
namespace bnb {

void applyBuiltInStrategy(ParamSet& p, int k) {
  if (k <= 0) return;
  // Node order and preferred branch direction of the three roles.
  struct Role {
    int nodeRule, branchDir;
  };
  static constexpr Role kRoles[3] = {
      {1, 1},  // depth first, up branch first
      {3, 2},  // best bound, down branch first
      {5, 1},  // best estimate, up branch first
  };
  const Role& r = kRoles[(k - 1) % 3];
  p.storeInt(QX_IPARAM_MIP_NODESELRULE, r.nodeRule);
  p.storeInt(QX_IPARAM_MIP_BRANCHDIR, r.branchDir);
  const int round = (k - 1) / 3;
  if (round > 0) p.storeInt(QX_IPARAM_MIP_PSEUDOCOST_RULE, 1 + (round - 1) % 4);
}

namespace {

// A thread model calls its progress callback at every report, so that a
// terminal signal or a better shared solution reaches it at the next node.
constexpr double kThreadCallbackFreq = 0.0;

// Terminal signals of the shared record.
enum Signal : int { kNoSignal = 0, kFinished = 1, kInterrupted = 2 };

// Whether a thread ending with this MIP status ends the race.
bool finalStatus(int status) {
  switch (status) {
    case QX_STATUS_OPTIMAL: case QX_STATUS_BASIC_OPTIMAL: case QX_STATUS_INFEASIBLE: case QX_STATUS_UNBOUNDED:
    case QX_STATUS_INFORUNB: case QX_STATUS_LOCAL_OPTIMAL: case QX_STATUS_NUMERICAL_ERROR: return true;
    default: return false;
  }
}

// Rank of a thread's MIP status when the result is picked (smaller is
// better): a proven optimum, a local one, a feasible point, a proof that
// there is none, nothing.
int statusRank(int status) {
  switch (status) {
    case QX_STATUS_OPTIMAL: return 0;
    case QX_STATUS_LOCAL_OPTIMAL: return 1;
    case QX_STATUS_FEASIBLE: return 2;
    case QX_STATUS_INFEASIBLE: case QX_STATUS_UNBOUNDED: case QX_STATUS_INFORUNB:
    case QX_STATUS_LOCAL_INFEASIBLE: return 3;
    default: return 4;
  }
}

// The host's log function, called with the host's handle under one lock
// from whichever thread speaks.
class HostLog {
 public:
  explicit HostLog(Model& host) : host_(&host), func_(host.logFunc), data_(host.logUserData) {}
  bool active() const noexcept { return func_ != nullptr; }
  void pass(const char* text) noexcept {
    if (!func_) return;
    std::lock_guard<std::mutex> hold(lock_);
    func_(host_, text, data_);
  }
  TORVA_PRINTF(2, 3) void print(const char* fmt, ...) noexcept {
    va_list args;
    va_start(args, fmt);
    vprint(false, fmt, args);
    va_end(args);
  }
  // A message that does not begin a line of its own: a line break goes to
  // the log function first, as a call of its own.
  TORVA_PRINTF(2, 3) void line(const char* fmt, ...) noexcept {
    va_list args;
    va_start(args, fmt);
    vprint(true, fmt, args);
    va_end(args);
  }

 private:
  void vprint(bool newLine, const char* fmt, va_list args) noexcept {
    if (!func_) return;
    try {
      const std::string text = vformat(fmt, args);
      std::lock_guard<std::mutex> hold(lock_);
      if (newLine) func_(host_, "\n", data_);
      func_(host_, text.c_str(), data_);
    } catch (...) {
      // A message that cannot be formatted is dropped; the search goes on.
    }
  }

  Model* host_;
  QXmodelLogfunc func_;
  void* data_;
  std::mutex lock_;
};

// The record the threads share. Every field above the line is read and
// written only inside the critical section qx_mipcc_best; signal is also
// polled outside it, and the fields it publishes are written before it.
struct SharedRecord {
  explicit SharedRecord(Model& host) : log(host) {}
  double bestObj = 0.0;  // host's sense
  bool hasBest = false;
  int sense = 1;         // +1 minimise, -1 maximise
  int owner = -1;
  int nVars = 0;
  std::vector<double> bestX;  // nVars, reserved before the threads start
  int terminated = 0;
  int signalFrom = -1, signalStatus = 0;
  // ---
  int printLevel = 0;
  std::atomic<int> signal{kNoSignal};
  std::atomic<long long> version{0};  // count of stored solutions
  HostLog log;
};

struct Thread {
  int id = 0;
  SharedRecord* shared = nullptr;
  Model* model = nullptr;
  std::unique_ptr<Model> copy;  // threads 1 and up
  int status = QX_STATUS_UNKNOWN;
  int error = 0;
  double seconds = 0.0;
  long long seenVersion = 0;
  bool stopped = false;  // by another thread's signal (written by this thread only)
  Callbacks host;            // thread 0: the host's own callbacks, passed on
  double hostFrequency = 0;  // QX_DPARAM_CALLBACKFREQ of the host
  CallbackClock::time_point lastHostCall{};
  bool hostCalled = false;
};

double currentIterations(const Model& m) { return m.callbacks.hasReport ? m.callbacks.lastReport.iterations : 0.0; }

int runInfoInt(const Model& m, int item) {
  int v = 0;
  return mipCallbackInfo(m, item, &v) == 0 ? v : 0;
}
double runInfoDou(const Model& m, int item) {
  double v = 0.0;
  return mipCallbackInfo(m, item, &v) == 0 ? v : 0.0;
}

// Raises a terminal signal unless one is raised already. True when this
// call raised it.
bool raiseSignal(SharedRecord& s, int kind, int from, int status) {
  bool raised = false;
#pragma omp critical(qx_mipcc_best)
  {
    if (s.signal.load(std::memory_order_relaxed) == kNoSignal) {
      s.signalFrom = from;
      s.signalStatus = status;
      s.signal.store(kind, std::memory_order_release);
      raised = true;
    }
  }
  return raised;
}

// The host asked thread 0 to stop (its progress or integer-solution
// callback returned non-zero): every thread stops.
void interruptAll(Thread& t, const Model& m) {
  SharedRecord& s = *t.shared;
  const int status = runInfoInt(m, QX_IINFO_MIP_STATUS);
  const double iter = currentIterations(m);
  if (raiseSignal(s, kInterrupted, t.id, status) && s.printLevel > 0)
    s.log.line("Received ctrl-break signal, status: %d, iter:%g", status, iter);
}

// Progress callback of a thread model: stops the thread once another one
// raised a terminal signal; thread 0 passes the host's callback on at the
// host's frequency, and a stop the host asks for stops every thread.
int threadProgress(QXmodel m, int location, void* data) {
  Thread& t = *static_cast<Thread*>(data);
  SharedRecord& s = *t.shared;
  const int sig = s.signal.load(std::memory_order_acquire);
  if (sig != kNoSignal && !t.stopped) {
    bool stop = false;
#pragma omp critical(qx_mipcc_best)
    {
      if (s.signalFrom != t.id) {
        stop = true;
        if (!s.terminated && sig == kFinished && s.printLevel > 0)
          s.log.line("Received terminal signal, status: %d, iter:%g ", s.signalStatus, currentIterations(*m));
        if (sig == kFinished) s.terminated = 1;
      }
    }
    t.stopped = stop;
  }
  if (t.stopped) return 1;
  // The host hears the end of the whole run, not that of thread 0.
  if (t.id != 0 || !t.host.progress || location == QXLOC_END_REPORT) return 0;
  const auto now = CallbackClock::now();
  const bool due = t.hostFrequency >= 0 && (!t.hostCalled || std::chrono::duration<double>(
                                                                  now - t.lastHostCall).count() >= t.hostFrequency);
  if (!due) return 0;
  t.lastHostCall = now;
  t.hostCalled = true;
  const int rc = t.host.progress(m, location, t.host.progressData);
  if (rc != 0) interruptAll(t, *m);
  return rc;
}

// Integer-solution callback of a thread model: a new incumbent of the
// thread becomes the shared best when it is better.
int threadIncumbent(QXmodel m, void* data, double objval, const double* x) {
  Thread& t = *static_cast<Thread*>(data);
  SharedRecord& s = *t.shared;
#pragma omp critical(qx_mipcc_best)
  {
    if (x && (!s.hasBest || s.sense * objval < s.sense * s.bestObj)) {
      s.bestObj = objval;
      s.hasBest = true;
      s.owner = t.id;
      std::copy(x, x + s.nVars, s.bestX.begin());
      s.version.fetch_add(1, std::memory_order_release);
      if (s.printLevel > 0) s.log.line("Set new solution by thread #%d, objval:%13g", t.id, objval);
    }
  }
  t.seenVersion = std::max(t.seenVersion, s.version.load(std::memory_order_acquire));
  if (s.printLevel > 3) {
    const double bound = runInfoDou(*m, QX_DINFO_MIP_BESTBOUND);
    const double gap = std::fabs(objval - bound) / std::max({std::fabs(objval), std::fabs(bound), 1.0});
    s.log.print("\nThread%02d: iter:%g, active:%d, pobj:%g, bnd:%g, gap:%g, status:%d", t.id,
                currentIterations(*m), runInfoInt(*m, QX_IINFO_MIP_ACTIVENODES), objval, bound, gap,
                runInfoInt(*m, QX_IINFO_MIP_STATUS));
  } else if (s.printLevel > 1) {
    s.log.line("iter:%8g, pinf:%.3e, objval:%13g, status:%3d", currentIterations(*m),
                runInfoDou(*m, QX_DINFO_PINFEAS), objval, runInfoInt(*m, QX_IINFO_MIP_STATUS));
  }
  if (t.id != 0 || !t.host.mip) return 0;
  const int rc = t.host.mip(m, t.host.mipData, objval, x);
  if (rc != 0) interruptAll(t, *m);
  return rc;
}

// Solution supplier of a thread model: hands the thread the shared best
// when it beats the thread's own incumbent (*objval on entry; an infinite
// value in the bad direction when there is none).
int threadSupplier(QXmodel m, void* data, double* objval, double* x) {
  Thread& t = *static_cast<Thread*>(data);
  SharedRecord& s = *t.shared;
  int give = 0;
  if (s.version.load(std::memory_order_acquire) != t.seenVersion) {
#pragma omp critical(qx_mipcc_best)
    {
      t.seenVersion = s.version.load(std::memory_order_relaxed);
      const double own = *objval;
      if (s.hasBest && s.owner != t.id && s.sense * s.bestObj < s.sense * own && m->data.n == s.nVars) {
        if (s.printLevel > 3)
          s.log.line("Get best-known solution %g to thread #%d (from #%d), thread's objval: %g", s.bestObj, t.id,
                      s.owner, own);
        std::copy(s.bestX.begin(), s.bestX.end(), x);
        *objval = s.bestObj;
        give = 1;
      }
    }
  }
  if (give || t.id != 0 || !t.host.mipSolSupplier) return give;
  return t.host.mipSolSupplier(m, t.host.mipSolSupplierData, objval, x);
}

// Everything the run changes on the host's model, put back on every exit:
// its parameters, its log function and the three callbacks.
class HostModelGuard {
 public:
  explicit HostModelGuard(Model& model)
      : model_(model), params_(model.params), logFunc_(model.logFunc), logData_(model.logUserData),
        progress_(model.callbacks.progress), progressData_(model.callbacks.progressData), mip_(model.callbacks.mip),
        mipData_(model.callbacks.mipData), supplier_(model.callbacks.mipSolSupplier),
        supplierData_(model.callbacks.mipSolSupplierData) {}
  ~HostModelGuard() {
    try {
      model_.params = params_;
    } catch (...) {
      // The only allocation is the two short format strings; nothing else
      // can be done in a destructor.
    }
    model_.logFunc = logFunc_;
    model_.logUserData = logData_;
    Callbacks& c = model_.callbacks;
    c.progress = progress_;
    c.progressData = progressData_;
    c.mip = mip_;
    c.mipData = mipData_;
    c.mipSolSupplier = supplier_;
    c.mipSolSupplierData = supplierData_;
  }
  HostModelGuard(const HostModelGuard&) = delete;
  HostModelGuard& operator=(const HostModelGuard&) = delete;

 private:
  Model& model_;
  ParamSet params_;
  QXmodelLogfunc logFunc_;
  void* logData_;
  QXcallbackFunc progress_;
  void* progressData_;
  QXMIPcallbackFunc mip_;
  void* mipData_;
  QXMIPsolSupplierFunc supplier_;
  void* supplierData_;
};

// Thread 0's search speaks through the host's log under the shared lock,
// and falls silent once another thread stopped it.
void threadZeroLog(QXmodel, const char* text, void* data) {
  const Thread& t = *static_cast<const Thread*>(data);
  if (!t.stopped) t.shared->log.pass(text);
}

// A private copy of the host's model for thread k (not listed in the
// environment, callbacks not taken over).
int makeCopy(const Model& host, Thread& t) {
  t.copy = std::make_unique<Model>(host.env);
  t.copy->params = host.params;
  if (int rc = replayModel(host, *t.copy)) return rc;
  t.copy->status = host.status;
  t.model = t.copy.get();
  return 0;
}

// Gives a thread its strategy (the host's when asked for and installed,
// else the built-in one), then the settings every thread model runs with.
void setStrategy(Model& host, Thread& t, bool hostStrategy, SharedRecord& s) {
  Model& m = *t.model;
  const auto& table = host.callbacks.concurrentStrategies;
  const auto it = hostStrategy ? table.find(t.id) : table.end();
  if (it == table.end()) {
    applyBuiltInStrategy(m.params, t.id);
  } else {
    const ConcurrentStrategy& st = it->second;
    if (st.func) {
      HostCallScope marker(m.callbacks);
      st.func(&m, t.id, st.userData);
    }
    if (st.paramFile) {
      const ParamSet before = m.params;
      if (const int rc = readModelParameterFile(m, st.paramFile->c_str())) {
        m.params = before;
        if (s.printLevel > 0) s.log.print("\nFailed to read parameter file, error: %d", rc);
      }
    }
  }
  ParamSet& p = m.params;
  p.storeInt(QX_IPARAM_MIP_NUM_THREADS, 1);
  p.storeInt(QX_IPARAM_NUM_THREADS, 1);
  p.storeInt(QX_IPARAM_IPM_NUM_THREADS, 1);
  p.storeInt(QX_IPARAM_NLP_MSW_NUM_THREADS, 1);
  p.storeDou(QX_DPARAM_CALLBACKFREQ, kThreadCallbackFreq);
  Callbacks& c = m.callbacks;
  c.progress = threadProgress;
  c.progressData = &t;
  c.mip = threadIncumbent;
  c.mipData = &t;
  c.mipSolSupplier = threadSupplier;
  c.mipSolSupplierData = &t;
  if (t.id == 0) {
    m.logFunc = s.log.active() ? threadZeroLog : nullptr;
    m.logUserData = &t;
  }
}

void runThread(Thread& t) {
  const auto t0 = CallbackClock::now();
  try {
    t.error = solveMIPSerial(*t.model, &t.status);
  } catch (const std::bad_alloc&) {
    t.error = QXERR_OUT_OF_MEMORY;
  } catch (...) {
    t.error = QXERR_INTERNAL_ERROR;
  }
  t.seconds = std::chrono::duration<double>(CallbackClock::now() - t0).count();
  if (t.stopped || !finalStatus(t.status)) return;
  SharedRecord& s = *t.shared;
  const double iter = t.model->mipSolution ? t.model->mipSolution->simplexIters : 0.0;
  if (raiseSignal(s, kFinished, t.id, t.status) && s.printLevel > 0)
    s.log.line("Sending terminal signal, status: %d, iter:%g", t.status, iter);
}

// Index of the thread whose result the host receives: the better MIP
// status, then the better objective (values within the optimality
// tolerances count as equal), then the lower thread number.
int pickResult(const std::vector<Thread>& threads, int sense, double absTol, double relTol) {
  int best = 0;
  for (int k = 1; k < static_cast<int>(threads.size()); ++k) {
    const Model& a = *threads[static_cast<std::size_t>(k)].model;
    const Model& b = *threads[static_cast<std::size_t>(best)].model;
    if (!a.mipSolution) continue;
    if (!b.mipSolution) {
      best = k;
      continue;
    }
    const int ra = statusRank(a.mipSolution->status), rb = statusRank(b.mipSolution->status);
    if (ra != rb) {
      if (ra < rb) best = k;
      continue;
    }
    const double va = a.mipSolution->objective, vb = b.mipSolution->objective;
    const double diff = std::fabs(va - vb);
    const bool equal = diff <= absTol || diff <= relTol * std::max({std::fabs(va), std::fabs(vb), 1.0});
    if (!equal && ra <= statusRank(QX_STATUS_FEASIBLE) && sense * va < sense * vb) best = k;
  }
  return best;
}

// The runner (the thread count is at least 2).
int runConcurrent(Model& model, int nThreads, bool hostStrategy) {
  HostModelGuard guard(model);
  SharedRecord shared(model);
  shared.printLevel = model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL);
  shared.sense = model.data.objSense == QX_MAX ? -1 : 1;
  shared.nVars = model.data.n;
  std::vector<Thread> threads;
  try {
    shared.bestX.assign(static_cast<std::size_t>(model.data.n), 0.0);
    threads.resize(static_cast<std::size_t>(nThreads));
  } catch (const std::bad_alloc&) {
    return QXERR_OUT_OF_MEMORY;
  }
  Thread& zero = threads[0];
  zero.host = model.callbacks;
  zero.hostFrequency = model.params.douValue(QX_DPARAM_CALLBACKFREQ);
  for (int k = 0; k < nThreads; ++k) {
    Thread& t = threads[static_cast<std::size_t>(k)];
    t.id = k;
    t.shared = &shared;
    t.model = &model;
    if (k > 0)
      if (int rc = makeCopy(model, t)) return rc;
  }
  for (Thread& t : threads) setStrategy(model, t, hostStrategy, shared);

  if (shared.printLevel > 0) shared.log.pass("\nConcurrent run started..\n");
#pragma omp parallel for num_threads(nThreads) schedule(static, 1)
  for (int k = 0; k < nThreads; ++k) runThread(threads[static_cast<std::size_t>(k)]);

  if (shared.printLevel > 0) {
    shared.log.pass("\n\nConcurrent run terminated..\n");
    for (const Thread& t : threads) shared.log.print("\nThread-id:%d, status: %2d, error: %d", t.id, t.status, t.error);
  }
  const int w = pickResult(threads, shared.sense, model.params.douValue(QX_DPARAM_MIP_ABSOPTTOL),
                           model.params.douValue(QX_DPARAM_MIP_RELOPTTOL));
  Thread& win = threads[static_cast<std::size_t>(w)];
  if (w != 0 && win.model->mipSolution) model.mipSolution = std::move(win.model->mipSolution);
  std::vector<double> seconds;
  double total = 0.0;
  for (const Thread& t : threads) {
    seconds.push_back(t.seconds);
    total += t.seconds;
  }
  if (model.mipSolution) {
    model.mipSolution->threads = nThreads;
    model.mipSolution->threadSeconds = seconds;
  }
  if (shared.printLevel > 0) {
    shared.log.print("\n%s workload: %.2f secs", "\nConcurrent MIP", total);
    shared.log.pass((" " + threadLoadText(seconds)).c_str());
  }
  if (shared.signal.load() == kInterrupted) return QXERR_USER_INTERRUPT;
  // A thread stopped by another's signal reports the stop as an interrupt;
  // the run itself was not interrupted.
  if (win.stopped && win.error == QXERR_USER_INTERRUPT) return 0;
  return win.error;
}

}  // namespace
}  // namespace bnb

int solveMIPCC(Model& model, int* status) {
  if (status) *status = QX_STATUS_UNKNOWN;
  if (model.status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
  int rc = 0;
  {
    // Each thread runs one serial search: no nested parallel solvers.
    ParamSaver saver(model.params);
    saver.setInt(QX_IPARAM_IPM_NUM_THREADS, 1);
    saver.setInt(QX_IPARAM_NLP_MSW_NUM_THREADS, 1);
    const int strategy = model.params.intValue(QX_IPARAM_MIP_CONCURRENT_STRATEGY);
    if (strategy != -1 && strategy != 0 && strategy != 1) return QXERR_NOT_SUPPORTED;
    const bool talk = model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL) > 0 && hasLog(model);
    const int nThreads = model.params.intValue(QX_IPARAM_MIP_NUM_THREADS);
    if (nThreads < 2) {
      if (talk) logPrint(model, "\nConcurrent threads is %d, switching to serial MIP solver.", nThreads);
      rc = solveMIPSerial(model, nullptr);
    } else {
      const bool hostStrategy = strategy == 0;
      if (hostStrategy && model.callbacks.concurrentStrategies.empty() && talk) {
        logPrint(model, "\nWarning: Concurrent strategy-callbacks are not set.");
        logPrint(model, "\nWarning: Concurrent runs will use default strategies..\n");
      }
      rc = bnb::runConcurrent(model, nThreads, hostStrategy);
      // The end report of the run, with the host's own callbacks back.
      const MipSolution* rec = model.mipSolution ? &*model.mipSolution : nullptr;
      reportProgress(model, {QXLOC_END_REPORT, rec ? static_cast<double>(rec->simplexIters) : 0.0,
                             rec ? rec->objective : 0.0, true});
    }
  }
  if (status && model.mipSolution) *status = model.mipSolution->status;
  return rc;
}

int setMipCCStrategy(Model& model, QXMIPCCstrategyFunc func, int thread, const char* paramFile, void* userData) {
  if (thread < 0) return QXERR_INDEX_OUT_OF_RANGE;
  auto& table = model.callbacks.concurrentStrategies;
  if (!func && !paramFile) {
    table.erase(thread);
    return 0;
  }
  ConcurrentStrategy st;
  st.func = func;
  st.userData = userData;
  if (paramFile) st.paramFile = paramFile;
  table[thread] = std::move(st);
  return 0;
}

}  // namespace torva
