// The simplex solver as the optimise driver sees it.
//
// A SimplexWork is the resident work area of one model: the LP in bounded
// form (a slack per row, A x + s = b), its scaling, the basis with its LU
// factorisation, the dual norms and the counters. It is built from the
// model's data on the first solve and kept by the model afterwards, so a
// later solve after changes of bounds, costs or right-hand sides starts warm
// from the basis left by the previous one. Every solve re-reads bounds,
// costs, right-hand sides and the objective sense from the data (O(n + m));
// a change of the dimensions or of the matrix needs a new work area (the
// model store drops it on such changes).
//
// The kernels never see the model record or the QX interface: they see the
// data, the options below and a SolveContext for logging, limits and the stop
// request.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace torva {
struct ModelData;
}

namespace torva::simplex {

// Outcome codes with which a simplex run ends (the driver turns them into
// model statuses and error codes).
enum Outcome : int {
  kNotFinished = 1,
  kOptimal = 2,
  kInfeasible = 3,
  kInfeasibleOrUnbounded = 4,
  kUnbounded = 5,
  kIterationLimit = 6,
  kRecover = 7,
  kTimeLimit = 8,
  kInterrupted = 9,
  kCutoff = 10,
};

// Error codes a run may report beside its outcome (values of the public
// error table).
inline constexpr int kErrOutOfMemory = 2001;
inline constexpr int kErrNumerical = 2019;
inline constexpr int kErrInternal = 2015;
inline constexpr int kErrNoFactors = 2009;  // no valid factorisation to solve with

// Model statuses a run may settle itself (values of the public status
// table): a switch loop that gives up leaves the model loaded, or its status
// unknown after a reoptimisation.
inline constexpr int kStatusUnknown = 12;
inline constexpr int kStatusLoaded = 14;

enum class Method : int { Free = 0, Primal = 1, Dual = 2 };

// Which basis a solve starts from.
enum class StartBasis : int {
  Resident,  // the basis left by the previous solve (else as Given / Crash)
  Given,     // the basis installed by setBasis (else Crash)
  Crash,     // a crash basis of the method that runs
  Slack,     // the slack basis
};

// Where a run reports to and what stops it. Filled by the driver.
struct SolveContext {
  // Receives every log line (already formatted, with its leading newline).
  // The kernels only format lines whose print level or trace mask asks for
  // them; the sink is called on the solving thread.
  std::function<void(const std::string&)> log;
  int printLevel = 0;   // QX_IPARAM_LP_PRINTLEVEL
  int traceMask = 0;    // QX_IPARAM_LP_PRTFG

  // Polled every iteration; set by another thread (concurrent runs) or by
  // the progress hook.
  std::atomic<bool>* stop = nullptr;
  // Called at each progress check (after every factorisation, and at least
  // every progressInterval seconds); returning true asks the run to stop
  // (outcome 9). It is told the iterations of the run and the objective of
  // the current point in the model's sense (objective constant included).
  std::function<bool(double iterations, double objective)> progress;
  double progressInterval = 1.0;

  double timeLimit = -1.0;       // seconds since start; < 0 none
  double iterationLimit = -1.0;  // simplex iterations of this run; < 0 none
  // The run solves a presolved LP: a fresh solve then ends with the
  // presolving form of the exit line.
  bool presolved = false;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

// Typed settings of a run; the driver fills them from the parameters, the
// defaults are the parameters' defaults.
struct SimplexOptions {
  // Tolerances and their limits.
  double feasTol = 1e-7;     // QX_DPARAM_SOLVER_FEASTOL (reps)
  double optTol = 1e-7;      // QX_DPARAM_SOLVER_OPTTOL (ceps)
  double minFeasTol = 1e-9, maxFeasTol = 1e-5;  // QX_DPARAM_LP_MIN/MAX_FEASTOL
  double minOptTol = 1e-9, maxOptTol = 1e-5;    // QX_DPARAM_LP_MIN/MAX_OPTTOL
  double pivTol = 1e-8;      // QX_DPARAM_LP_PIV_ZEROTOL (pvteps)
  double pivBigTol = 1e-5;   // QX_DPARAM_LP_PIV_BIGTOL
  double minPivTol = 1e-10, maxPivTol = 1e-5;   // QX_DPARAM_LP_MIN/MAX_PIVTOL
  double aijZeroTol = 2.22045e-16;  // QX_DPARAM_LP_AIJ_ZEROTOL
  double infinity = 1e30;    // QX_DPARAM_LP_INFINITY
  double bndInf = 1e15;      // QX_DPARAM_LP_BNDINF
  double bigM = 1e6;         // QX_DPARAM_LP_BIGM

  // Basis factorisation.
  int refactorFrequency = 200;  // QX_IPARAM_SPLEX_REFACFRQ
  int ratRange = 4;             // QX_IPARAM_LP_RATRANGE
  int luNumCandidates = 4;      // QX_IPARAM_LU_NUM_CANDITS
  int luMaxUpdates = 500;       // QX_IPARAM_LU_MAX_UPDATES
  int luPrintLevel = 0;         // QX_IPARAM_LU_PRINT_LEVEL
  int luUpdateType = 1;         // QX_IPARAM_LU_UPDATE_TYPE
  int luUsePivcol = 0;          // QX_IPARAM_LU_USE_PIVCOL
  int luProfile = 0;            // bit 256 of QX_IPARAM_PROFILER_LEVEL
  double luEpsDiag = 2.22045e-16;     // QX_DPARAM_LU_EPS_DIAG
  double luEpsNonz = 2.22045e-16;     // QX_DPARAM_LU_EPS_NONZ
  double luEpsPivAbs = 1e-8;          // QX_DPARAM_LU_EPS_PIVABS
  double luEpsPivRel = 0.01;          // QX_DPARAM_LU_EPS_PIVREL (mkweps)
  double luIniRcond = 0.01;           // QX_DPARAM_LU_INI_RCOND
  double luSpvtolUpdate = 0.001;      // QX_DPARAM_LU_SPVTOL_UPDATE
  double luSpvtolFtran = 0.2;         // QX_DPARAM_LU_SPVTOL_FTRAN
  double luSpvtolBtran = 0.1;         // QX_DPARAM_LU_SPVTOL_BTRAN

  // Method settings.
  int primalPricing = -1;   // QX_IPARAM_SPLEX_PPRICING
  int dualPricing = -1;     // QX_IPARAM_SPLEX_DPRICING
  int partialMethod = 0;    // QX_IPARAM_LP_PPARTIAL
  int dpSwitch = 1;         // QX_IPARAM_LP_DPSWITCH
  int dualPhase = 0;        // QX_IPARAM_SPLEX_DUAL_PHASE
  int scale = -1;           // QX_IPARAM_LP_SCALE (0 off, else on)
  int iuSol = 0;            // QX_IPARAM_SOLVER_IUSOL
  int useCutoff = 0;        // QX_IPARAM_SOLVER_USECUTOFFVAL
  double cutoff = -1e30;    // QX_DPARAM_SOLVER_CUTOFFVAL (objective, model's sense)
  int pertMode = 0;         // QX_IPARAM_LP_PERTMODE
  double pertFact = 0.0;    // QX_DPARAM_LP_PERTFACT (0: 0.999 x optTol)
  double dynObjFact = 0.75; // QX_DPARAM_LP_DYNOBJFACT
  int pcolalFactor = 0;     // QX_IPARAM_LP_PCOLAL_FACTOR (0: 10)
  int maxMerge = 0;         // QX_IPARAM_LP_MAXMERGE (0: 40)
  int solverMode = 0;       // QX_IPARAM_SOLVER_MODE
  int oprFree = 33;         // QX_IPARAM_LP_OPRFREE
  unsigned seed = 1;        // seed of the work area's random generator
  // Degenerate primal pivots in a row after which the primal's remedies
  // against stalling start (random ties in the ratio test, a column that
  // keeps entering replaced by a random one).
  int stallingRun = 50;
};

// What a run hands back, in the model's original space and sense.
struct SimplexResult {
  int outcome = kNotFinished;
  int error = 0;              // 0, kErrOutOfMemory or kErrNumerical
  int settledStatus = 0;      // with kErrNumerical: the model status the switch loop left, else 0
  Method methodUsed = Method::Primal;  // the method that ran last
  bool reoptimized = false;   // started from a resident basis
  double objective = 0.0;     // c'x + objective constant, model's sense
  double iterations = 0.0;    // simplex iterations of this run
  int factorizations = 0;
  int refactorsRegular = 0;   // "Refactors (ok,stb)" counters
  int refactorsStability = 0;
  double primalInfeas = 0.0;  // largest bound or row violation (unscaled)
  double dualInfeas = 0.0;    // largest reduced-cost sign violation (unscaled)
  double rcond = 1.0;         // condition estimates of the final basis
  double cond2est = 1.0;
  // With bit 256 of the profiler level: wall seconds spent refactorising
  // (recovery included) and updating the factors, else 0.
  double factorSeconds = 0.0;
  double updateSeconds = 0.0;

  std::vector<double> x;         // n column values
  std::vector<double> rowActivity;  // m values of A x
  std::vector<double> slack;     // m: rhs - A x
  std::vector<double> y;         // m duals, so that d = c - A'y
  std::vector<double> d;         // n reduced costs
  std::vector<int> colStatus;    // n basis statuses (QX_BASTYPE codes, basic >= 0)
  std::vector<int> rowStatus;    // m

  // Certificates. Outcome 3: a Farkas ray y (m) such that the row bounds and
  // column bounds contradict y'A x = y'(row activity). Outcome 5: a primal
  // ray r (n) with c'r < 0 (minimisation sense) keeping A r inside the
  // recession cone of the row bounds. Empty when not produced.
  std::vector<double> farkasY;
  std::vector<double> primalRay;
};

class WorkSnapshot;

class SimplexWork {
 public:
  // Builds the bounded form of the data's LP (matrix, bounds, costs, rhs).
  explicit SimplexWork(const ModelData& data);
  ~SimplexWork();
  SimplexWork(SimplexWork&&) noexcept;
  SimplexWork& operator=(SimplexWork&&) noexcept;
  SimplexWork(const SimplexWork&) = delete;
  SimplexWork& operator=(const SimplexWork&) = delete;

  // True when the data has the dimensions of this work area. The model store
  // drops its work area on every change of the matrix or of the dimensions,
  // so a resident work area always holds the current matrix; bounds, costs,
  // rhs and sense may differ and are re-read by solve().
  bool matches(const ModelData& data) const;

  // Installs a host basis (QX_BASTYPE codes; basic >= 0) as the start of the
  // next solve with StartBasis::Given. Checked when the solve starts.
  void setBasis(const std::vector<int>& colStatus, const std::vector<int>& rowStatus);
  // True when a basis from a previous solve (or setBasis) is held.
  bool hasBasis() const;
  void dropBasis();
  // The held basis in host form (QX_BASTYPE codes, basic >= 0): the basis
  // the last solve ended with, else one installed by setBasis. False, with
  // the outputs untouched, when none is held.
  bool hostBasis(std::vector<int>& colStatus, std::vector<int>& rowStatus) const;

  // Runs method from the chosen start. Method::Free runs the primal on a
  // fresh start and the dual on a resident basis. Returns the error code of
  // the run (0, kErrOutOfMemory or kErrNumerical) and fills result.
  int solve(const ModelData& data, Method method, StartBasis start, const SimplexOptions& options,
            SolveContext& context, SimplexResult& result);

  // B x = y and B' x = y with the factorisation of the resident basis, in
  // the model's space (rows). Sparse in and out: count, indices, values.
  // Returns 0, or kErrNumerical when no basis is factorised.
  int ftran(int inCount, const int* inIndex, const double* inValue, int* outCount, int* outIndex,
            double* outValue);
  int btran(int inCount, const int* inIndex, const double* inValue, int* outCount, int* outIndex,
            double* outValue);

  // The current basis with its factors and dual weights, taken so that a
  // search can come back to it after solving other nodes from it; null
  // when no factorised basis is held. The matrix is shared, not copied.
  std::shared_ptr<const WorkSnapshot> snapshot() const;
  // Makes a snapshot the resident basis again: the next reoptimisation
  // starts from it without a factorisation. False (nothing changed) when
  // the snapshot was taken on other dimensions or another scaling.
  bool restore(const WorkSnapshot& snap);

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace torva::simplex
