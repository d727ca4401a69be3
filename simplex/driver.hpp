// The optimise driver: validation, thread routes, explicit dual,
// decomposition, trivial models, dispatch by model class, the LP pipeline
// with its recovery ladder, and the solution record.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "simplex/driver_saver.hpp"
#include "simplex/options.hpp"

namespace torva {

// Solves the model (the body of QXoptimize). status may be null.
int optimize(Model& model, int method, int* status);
// Dispatch by model class (the body of QXoptimizeQP).
int optimizeQP(Model& model, int* status);

namespace driver {

using Clock = std::chrono::steady_clock;

// The kinds of data that decide the route of a solve.
struct ModelClass {
  bool quadratic = false;
  bool cones = false;
  bool nonlinear = false;  // nonlinear rows or objective (instruction lists)
  bool integers = false;   // integer, binary, semi-continuous or set data
  bool linear() const { return !quadratic && !cones && !nonlinear; }
};
ModelClass classify(const Model& model);

// A basis in host form (QX_BASTYPE codes, basic >= 0).
struct HostBasis {
  std::vector<int> cols, rows;
  bool empty() const { return cols.empty() && rows.empty(); }
};

// State shared by the steps of one QXoptimize call.
struct Call {
  Model& model;
  int method;
  DriverOptions opt;   // snapshot at the start of the call
  ParamSaver& saver;   // parameters changed for this call
  Clock::time_point start;
  HostBasis startBasis;  // a basis the pipeline starts from (explicit dual, decomposition)
  std::string strategyName;
  // Method 3 on a linear model: the interior point ran once without finding
  // an optimum (its iterates diverged), and whether the simplex settles the
  // model from then on without running it again.
  bool barrierNoOptimum = false;
  bool barrierOff = false;
};
// What the ladder returns in place of an error when the interior point of
// method 3 diverged: the pipeline stops there and the homogeneous embedding
// looks for a certificate on the model (runLpPipeline).
constexpr int kBarrierNoOptimum = -1;

// Thread routes (step 3): the error 2029 or 0 and the route.
enum class ThreadRoute { Serial, Concurrent };
struct ThreadDecision {
  int error = 0;
  ThreadRoute route = ThreadRoute::Serial;
  int ipmThreads = -1;       // >= 0: QX_IPARAM_IPM_NUM_THREADS for this call
  int multiThreadMode = -2;  // >= -1: QX_IPARAM_MULTITHREAD_MODE for this call
};
ThreadDecision decideThreads(const ModelClass& cls, const DriverOptions& opt, int method);

// The concurrent runner: solves private copies in parallel and copies the
// winner's result back. Returns the error of the call.
int runConcurrent(Call& call);
// Steps 5 to 10 on the calling thread.
int solveSerial(Call& call);

// The body of optimize for a model the driver solves on its caller's behalf
// (the explicit dual, a concurrent copy): the same steps without the closing
// statistics report, which is the caller's to write.
int optimizeOnBehalf(Model& model, int method, int* status);
// Sends the log lines of inner to the log function of host, with the host's
// handle (nothing when the host has no log function).
void forwardLog(Model& inner, Model& host);

// A private copy of the linear data and parameters of a model for a solve
// on another thread (not listed in the environment, callbacks not copied).
std::unique_ptr<Model> solverCopy(const Model& model);

// Explicit dual (step 5). decideExplicitDual applies the rule; solveExplicitDual
// returns the error of the call (the primal is reoptimised through the
// pipeline before it returns).
bool decideExplicitDual(const Model& model, const DriverOptions& opt, int method);
int solveExplicitDual(Call& call);

// Total decomposition (step 6). Returns the error; *finished is set when the
// decomposer settled the model status.
int solveDecomposed(Call& call, bool* finished);

// Trivial models (step 7): true when the model has no rows (linear) or no
// columns; *error receives the error of the call.
bool solveTrivial(Call& call, int* error);

// The LP pipeline (step 10). Returns the error of the call.
int runLpPipeline(Call& call);
// Replaces the simplex run of the pipeline (tests script the results a run
// ends with to walk the recovery ladder); an empty hook restores the simplex.
using SimplexRunHook = std::function<int(Model& model, simplex::StartBasis start,
                                         const simplex::SimplexOptions& options,
                                         simplex::SimplexResult& result)>;
void setSimplexRunHook(SimplexRunHook hook);

// The verdict of the recovery ladder on a simplex run: 0 accepts it, 1 to 7
// name the recovery (messages at print level 1 and above when report is
// set). solved is the LP the run solved (the reduced one after presolve).
int recoveryVerdict(Call& call, const ModelData& solved, bool scaled, int err, const simplex::SimplexResult& r,
                    bool report = true);

// Solution record helpers.
void beginRecord(Model& model);
// The size of the LP the simplex solved, read through QX_IINFO_NUM_RDCONS,
// RDVARS, RDNONZ and RDINT: solved's rows, columns, stored entries and
// integer (binary or general) columns; zeros when presolve settled the
// model without leaving an LP (null).
void setReducedSize(LpSolution& r, const ModelData* solved);
// Model status, primal and dual status of an outcome (Part of the outcome
// table) and whether the solution is copied; false for unknown outcomes.
struct OutcomeStatus {
  int modelStatus, primalStatus, dualStatus, error;
  bool copySolution;
};
bool outcomeStatus(int outcome, OutcomeStatus* out);
// Dual objective b'y + sum of d_j times the bound column j sits at, plus the
// objective constant.
double dualObjective(const ModelData& d, const std::vector<double>& y, const std::vector<double>& dj,
                     const std::vector<int>& colStatus, const std::vector<double>& x);
// The solution-statistics report at the end of a call (step 12).
void printStatistics(Model& model);

}  // namespace driver
}  // namespace torva
