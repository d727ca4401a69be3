// The simplex work area: state shared by the primal and dual kernels, the
// basis-change layer over the LU kernel, and the log machinery.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "simplex/basis.hpp"
#include "simplex/lp.hpp"
#include "simplex/lu.hpp"
#include "simplex/price_rows.hpp"
#include "simplex/progress.hpp"
#include "simplex/simplex.hpp"
#include "simplex/steepest_pool.hpp"

namespace torva::simplex {

// A ratio test refuses a pivot smaller than this fraction of the largest
// candidate of its row or column: 10^(-3 ratrange). The default candidate
// range 4 refuses only pivots below 1e-12 of the largest (rounding-level
// pivots; a tighter floor costs iterations on models with wide coefficient
// ranges such as pilot87); each step down of the range by the basis
// recovery raises the floor by three orders of magnitude, to 1e-6 at 2.
inline double relativePivotFloor(int ratRange) { return std::pow(10.0, -3.0 * ratRange); }

// Columns per partial-pricing segment of an LP with m rows.
int partialSegmentSize(int m, int refactorFrequency);

// Whether the options carry the objective as an extra row and column
// (polish.cpp), and the data with them: row m is c'x - z = 0 ('E'), column n
// the free z.
bool carriesObjectiveRow(const SimplexOptions& o);
ModelData withObjectiveRow(const ModelData& d);

// Nonbasic position of a variable (basic ones have pos >= 0).
enum NonbasicAt : signed char { kAtLower = 0, kAtUpper = 1, kAtZero = 2 };

// Reasons of a refactorisation request.
enum RefactorReason : int {
  kRefactorNone = 0,
  kRefactorInitial = 1,
  kRefactorFallback = 6,
  kRefactorPerturbation = 9,
  kRefactorRegular = 11,
  kRefactorStability = 12,
};

// Counters of the statistics block printed after the exit line of a traced
// solve. Sparse and dense operations are told apart by the density of their
// result against the kernel's sparse-solve thresholds (options 2406, 2407),
// pivot rows by how they were formed (row-wise over the rows of the BTRAN
// result, or column-wise as inner products).
struct RunStats {
  long long fullPrices = 0;      // pricing passes over every column (primal) or every row (dual)
  long long dualRecomputes = 0;  // reduced costs recomputed from fresh duals
  long long pivcol[2] = {0, 0};  // pivot columns: sparse, dense
  double pivcolLen = 0.0;        // and their nonzeros
  long long pivrow[2] = {0, 0};  // pivot rows: row-wise, column-wise
  double pivrowLen = 0.0;
  long long binvi[2] = {0, 0};   // rows of the basis inverse (BTRAN of a unit vector): sparse, dense
  double binviLen = 0.0;
  long long binviF = 0;          // their FTRANs (dual steepest-edge updates)
  double binviFLen = 0.0;
  long long blist[2] = {0, 0};   // dual row selections: from the candidate list, by a dense scan
  // Profiling of the basis changes (bit 256 of the profiler level):
  // wall time in factorisations (with recovery) and in updates.
  double factorSeconds = 0.0, updateSeconds = 0.0;
  long long factorTimed = 0, updateTimed = 0;
  // Pivot columns and rows since the last factorisation, and over the
  // interval before it (the averages of the last complete interval).
  double colSum = 0.0, rowSum = 0.0;
  int colCount = 0, rowCount = 0;
  double lastPcolal = 0.0, lastProwal = 0.0;
  void factorised() {
    if (colCount > 0) lastPcolal = colSum / colCount;
    if (rowCount > 0) lastProwal = rowSum / rowCount;
    colSum = rowSum = 0.0;
    colCount = rowCount = 0;
  }
};

class SimplexWork::Impl {
 public:
  explicit Impl(const ModelData& data);

  // ---- problem (scaled) and working copies
  Lp lp;
  int m = 0, n = 0, nt = 0;
  std::vector<double> lower, upper, cost, rhs;  // working: phase 1 and perturbations change them
  std::vector<double> x, d;                     // values and reduced costs of all variables
  std::vector<int> basicVar;                    // m: variable basic at each position
  std::vector<int> pos;                         // nt: position, or -1 when nonbasic
  std::vector<signed char> at;                  // nt: NonbasicAt of nonbasic variables
  bool haveBasis = false;
  std::vector<int> givenCol, givenRow;          // host basis waiting to be installed

  // ---- run settings
  SimplexOptions opt;
  SolveContext* ctx = nullptr;
  double primalTol = 1e-7, dualTol = 1e-7, pivTol = 1e-8;
  char methodChar = 'D';
  std::mt19937 rng;

  // ---- basis factorisation layer
  std::unique_ptr<LuKernel> lu;
  LuMatrix matrix;
  int updates = 0;             // since the last factorisation
  int refactorFrequency = 200;
  int refactorRequest = kRefactorInitial;
  int factorCount = 0;
  int refactorsRegular = 0, refactorsStability = 0;
  double rcond = 1.0, cond2 = 1.0;
  double pivRel = 0.01;        // current relative LU pivot tolerance (mkweps)
  BasisLayer bl;               // history, saved bases, recovery state
  int lastReason = kRefactorNone;  // reason of the last refactorisation
  // Heading the factors describe: set by every factorisation and kept up by
  // every update; empty while the factors describe no heading.
  std::vector<int> luBasic;
  // The next run starts from the heading the last solve ended with (only
  // bounds, costs or right-hand sides changed in between): factors and dual
  // weights that still describe it are kept instead of being rebuilt.
  bool warmHeading = false;
  // Identifies the matrix arrays of lp (new at every build of it): factors
  // copied aside only fit while the stamp is the same.
  std::uint64_t lpStamp = 0;
  void newLpStamp();
  bool factorsCurrent() const {
    return lu && lu->valid() && refactorRequest == kRefactorNone && luBasic == basicVar;
  }

  // ---- progress checks and perturbation (progress.cpp, perturb.cpp)
  ProgressState prog;
  PerturbState pert;
  // Primal pricing mode: partial (segments of columns) or devex.
  static constexpr int kPricingPartial = 0;
  static constexpr int kPricingDevex = 2;
  int primalPricingMode = kPricingDevex;
  int partialSegment = 20;     // columns per partial-pricing segment
  int partialMethod = 2;       // 1 Dantzig, 2 scaled Dantzig, 3 scaled over two segments
  int partialStart = 0;        // where the next partial scan starts
  int devexBackAllowed = 1;    // 1: one switch from devex back to partial allowed
  std::vector<double> colNorm2;  // 1 + ||a_j||^2 of every variable
  // Pricing mode and segments of a primal run (pricing.cpp).
  void setupPrimalPricing();
  double pricingViolation(int j) const;
  // Partial pricing: the best candidate of the first segment(s) with one,
  // starting where the last scan stopped, or on wide models the best member
  // of the steepest-edge pool the scans feed; -1 after a full scan finds
  // none.
  int pricePartial(const std::vector<double>& rejectedUntil);
  // The pool of partial pricing on wide models (empty capacity: not used).
  SteepestPool pool;
  LuVector poolColumn;  // m: transformed column of a pool entrant
  SmallInverse poolInverse;  // B^-1 for the pool's FTRANs when m is small (else 0 rows)
  std::vector<double> poolScore;  // scores of the members in choosePooled
  int poolAdmissions = 0;         // entrants per price
  // Brings the pool's columns to the current basis after a factorisation or
  // a basis change it did not see.
  void syncPool();
  // FTRAN of column j into poolColumn, with its index list.
  void transformForPool(int j);
  // ||poolColumn||^2 (after transformForPool).
  double poolColumnNorm2() const {
    return SteepestPool::squaredNorm(poolColumn.array.data(), poolColumn.index.data(), poolColumn.count);
  }
  // Before the basis change of entering q at position r (its transformed
  // column in col).
  void poolPivot(int q, int r);
  // The best member of the pool after the candidates of a scan (best
  // first by their scaled reduced cost) joined it.
  int choosePooled(const std::vector<double>& rejectedUntil, const int* cands, int count);
  // Partial to devex and back, after a factorisation.
  void primalPricingSwitch();
  // Reduced costs priced on demand. Partial pricing reads only a segment of
  // the columns per iteration, so the primal then keeps the duals instead
  // of every reduced cost: while lazyReducedCosts is set, the reduced costs
  // of nonbasic variables may be out of date and are priced from priceY
  // (costs weighted by priceCostWeight) where they are read.
  bool lazyReducedCosts = false;
  std::vector<double> priceY;     // m: duals of the reduced costs in d
  double priceCostWeight = 1.0;
  double reducedCostFromDuals(int j) const;
  // Every nonbasic reduced cost from priceY; clears lazyReducedCosts.
  void refreshReducedCosts();
  double lastStep = 0.0, lastPivot = 0.0;  // of the last iteration (trace)
  ProgressRecord takeRecord() const;
  // Run after every factorisation: logs, compares with the previous check,
  // applies the remedies; returns a ProgressVerdict.
  int progressCheck();
  int degradationHandler(double objWorse);
  int noImprovementHandler();
  int severeLadder();
  // Starts (or restarts) the perturbation of the running method: bound
  // shifts in the primal, cost shifts in the dual.
  void perturb(const char* file, int line);
  // Restores the true bounds and costs and requests a refactorisation.
  void removePerturbation(const char* file, int line);
  // Restores the true bounds without a refactorisation request (a method
  // starts, or the values are recomputed by the caller).
  void dropPerturbation();
  // Bound shifts of the primal (perturb.cpp), kept in the perturbation's
  // list of shifted variables with the bounds before.
  bool hasShifts() const { return !pert.shifted.empty(); }
  void shiftBound(int j, bool lowerSide, double value);
  // The bound at which variable j leaves the basis towards target (its
  // lower or upper bound): its value when that lies beyond target by at
  // most reps (the bound then shifted to it; a fixed variable stays fixed
  // at its value), else target.
  double leavingBound(int j, double target);
  // The primal's start perturbation against degeneracy: bounds moved
  // outwards by random amounts, recorded as shifts (silent).
  void perturbBoundsAtStart();
  bool freshStart = false;  // the solve starts from a crash or slack basis
  // Restores the true bounds of the perturbation and of the shifts and
  // requests a refactorisation.
  void removeShifts(const char* file, int line);
  // Restores the true bounds at once and recomputes the basic values (a
  // ray or a limit ends the run without another factorisation).
  void restoreTrueBounds();

  // ---- composite phase 1 of the primal (primal_phase1.cpp)
  double bigM = 1e6;           // penalty of the infeasibilities (QX_DPARAM_LP_BIGM, raised)
  bool bigMAnnounced = false;  // "set bigM" printed in this solve
  // Weight of the true costs in the phase-1 objective: 1/bigM (0: pure).
  double phase1CostWeight() const;
  void announceBigM();
  void raiseBigM(const char* file, int line);
  // Phase-1 duals and reduced costs with cost weight w (farkas set when 0);
  // with lazy only the duals, the reduced costs left to be priced on demand.
  void phase1Duals(double w, bool lazy = false);
  // Phase-1 cost of the basic variable at position k.
  double phase1CostAt(int k, double w) const;
  // The duals (and reduced costs unless lazy) brought up to date after a
  // step, from the costs g of the last computation (updated in place) and
  // the pivot (r, q, leaving) taken since, r < 0 for none; the factors are
  // those after the pivot. Only the basic positions in touched (the rows
  // whose basic value or variable changed since, repeats allowed) can have
  // changed cost. True when no reduced cost changed (no pivot given, no
  // basic infeasibility changed, the reduced costs explicit).
  bool updatePhase1Duals(std::vector<double>& g, const std::vector<int>& touched, int r, int q, int leaving, double w,
                         bool lazy);
  // At a composite optimum with infeasibilities left: true when bigM was
  // raised because a column still reduces the infeasibility; false for a
  // proof of infeasibility (farkas holds it).
  bool compositeOptimumNeedsBigM();
  // Progress-check rule: infeasible with a huge objective raises bigM.
  void checkBigM(const ProgressRecord& rec);

  // ---- objective row and polishing (polish.cpp)
  int objRows = 0;  // 1 when the last row and column are the objective's
  int solves = 0;   // solves of this work area
  // The second objective of a polish, over all variables.
  void setPolishingCost(std::vector<double>& c) const;
  // Polishes the optimal basis of solve solveNumber; returns the outcome.
  int polish(const ModelData& data, int solveNumber);

  // ---- unscaled reoptimisation (unscale.cpp)
  // The coefficient magnitudes span more than 1/DBL_EPSILON.
  bool badlyScaled(const ModelData& data) const;
  // Scaling quality of the working matrix (traced at the start of a solve).
  int scaleMeasure() const;
  // Drops the scaling (the basis stays) and reoptimises by the primal, with
  // the switch loop of a solve that is (or is not) a reoptimisation; returns
  // the outcome.
  int unscaleAndReoptimize(const ModelData& data, bool reopt);

  // ---- final signals of the primal (signals.cpp)
  // Outcome 3 or 5 checked on the true bounds (the point, the Farkas vector,
  // the ray); a signal that does not hold becomes 7 (the switch loop).
  int verifyPrimalSignal(int outcome);
  // The dual's ray (farkas) proves infeasibility on the true bounds; else
  // "ignoring infeasibility signal" (false).
  bool dualRayHolds();
  // An infeasibility signal of the dual on a badly conditioned basis: made
  // safer and handed to the switch loop (once per solve).
  bool untrustedInfeasibility();
  bool provenFeasible(double c4);
  // Signals overridden in this solve: only the first is doubted, so that two
  // methods that keep contradicting each other end with an answer.
  int signalOverrides = 0;
  bool farkasProvesInfeasibility(const std::vector<double>& y) const;
  bool rayIsUnbounded() const;
  double unscaledInfeasibility() const;

  // ---- tolerance adjustments (tolerances.cpp)
  // Reduced costs of the basic columns on fresh factors; returns how many
  // exceed ceps (traced, and a lowered ceps reset to its base value).
  int checkBasicReducedCosts();
  std::vector<double> basicCheckY;
  // The dual perturbation check's ceps x 0.1, at most once every ten
  // factorisations since the tolerances last changed.
  void lowerCepsAfterPerturbation();
  // Strategy bit 65536: the primal pricing pass's objective-scaled ceps.
  void scaleCepsForPricing();
  // Turns the objective-scaled ceps off when it falls outside the limits.
  void checkScaledCeps();
  // Removes an active perturbation when recovery methods 1 and 2 change the
  // basis (no refactorisation request: the recovery factorises).
  void dropPerturbationForRecovery();

  // ---- counters
  RunStats stats;
  // The statistics block after the exit line (trace).
  void logRunStats() const;
  double iterations = 0.0;     // of the current run
  double totalIterations = 0.0;
  int degenerate = 0;
  bool costShifted = false;    // costs differ from lp.cost (perturbation, shifts)
  int outcome = kNotFinished;
  int error = 0;
  // Runs of either method within the current solve: the start line of
  // every run after the first says "Reentering".
  int methodRuns = 0;
  // The start line of a method run: its verb, and the whole seconds since
  // the solve started.
  const char* startVerb() { return methodRuns++ > 0 ? "Reentering" : "Entering"; }
  int elapsedSeconds() const;

  // ---- dual pricing weights and work vectors
  std::vector<double> dseWeight;   // m, dual steepest-edge (or devex) weights
  bool dseValid = false;
  // Heading the dual weights were brought up to date for by the last dual
  // run (empty: none); a reoptimisation that starts from it keeps them.
  std::vector<int> dseBasic;
  std::vector<double> devex;       // nt, primal devex reference weights
  LuVector col, rho, tau, aux;
  // Pivot row over the nonbasic variables: values and list.
  std::vector<double> prow;
  std::vector<int> prowIndex;
  int prowCount = 0;
  // The matrix by rows with the basic columns marked, for the row-wise
  // pivot rows: kept up by basisChange, brought into line with pos on first
  // use after anything else moved variables in or out of the basis (every
  // factorisation counts as such a change).
  PriceRows priceRows;
  std::chrono::steady_clock::time_point lastProgress;

  // ---- common operations (work.cpp)
  void setOptions(const SimplexOptions& o, SolveContext& c);
  bool isBoxed(int j) const { return lower[j] > -kHuge && upper[j] < kHuge; }
  double nonbasicValue(int j) const;
  void placeAt(int j, NonbasicAt where);
  // Places nonbasic j at the bound its reduced cost prefers (boxed), or at its
  // only finite bound, or at zero when free.
  void placeByReducedCost(int j);
  void loadColumn(int j, LuVector& v) const;
  // Basic values from the nonbasic ones: x_B = B^-1 (b - N x_N).
  void computePrimal();
  // Duals and reduced costs from the costs in force.
  void computeDual(std::vector<double>* yOut = nullptr);
  // Pivot row alpha_j = rho' a_j over the nonbasic variables (row-wise when
  // rho is sparse, column-wise when dense).
  void computePivotRow(const LuVector& r);
  // Whether the pivot row for BTRAN result r is cheaper formed row-wise.
  bool rowWiseCheaper(const LuVector& r) const;
  double objective() const;  // working costs x values
  double sumPrimalInfeas(int* count, double* maxInfeas) const;
  // Of the basic variable at position i (inline: the row selections call it
  // for every candidate row).
  double primalInfeasOf(int i) const {
    const int j = basicVar[i];
    if (x[j] < lower[j]) return lower[j] - x[j];
    if (x[j] > upper[j]) return x[j] - upper[j];
    return 0.0;
  }
  // Nonbasic variables whose reduced cost has the wrong sign for their
  // position (beyond the optimality tolerance), and the sum of the excess.
  int dualInfeasCount(double* sum) const;

  // ---- starting bases (crash.cpp)
  // The primal crash basis (from the slack basis).
  void primalCrash();
  // Columns whose start value (model's space, n or empty) lies strictly
  // between their bounds enter the basis; returns a LayerResult.
  int pivotInSuperbasics(const std::vector<double>& start);

  // ---- basis-change layer (basis.cpp)
  void resetSlackBasis();
  // Factorises the current heading as the pending request asks (undoing the
  // last pivot for a stability request, installing the fallback basis for
  // reason 6), and recovers from a singular basis by the current recovery
  // method; recomputes basic values (and reduced costs when withDual).
  // Returns a LayerResult.
  int refactor(bool withDual);
  // Replaces the basic variable at position r by q (after the values were
  // updated); pivot is the transformed entering column's entry at r, which
  // the update checks its new diagonal against. Updates the factors, or
  // refactorises when due or when the update fails.
  int basisChange(int r, int q, bool withDual, double pivot);
  bool refactorDue() const { return refactorRequest != kRefactorNone; }
  // Saves the current basis as the fallback (best = false) or best basis.
  void saveBasis(bool best);
  // Undoes logged pivots from the top of the history, at most steps of
  // them and not beyond the tail; returns the number undone.
  int rollBack(int steps);
  // Counts the pivot column of a basis change (statistics).
  void notePivotColumn();
  // Counts a pivot row formed from BTRAN result r (statistics).
  void notePivotRow(const LuVector& r, bool rowWise);
  // Requests a refactorisation with reason, printing the state line.
  void requestRefactor(int reason, const char* file, int line);

  // ---- limits and logging
  // Returns an outcome (6, 8, 9) when a limit or a stop request ends the run.
  int checkLimits();
  bool tracing() const { return ctx && ctx->traceMask != 0 && ctx->log; }
  bool logging(int level) const { return ctx && ctx->printLevel >= level && ctx->log; }
  void log(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
  // One line of the iteration log (standard, or the trace format of the
  // trace mask); header starts a new table.
  void logIteration(bool header);
  void logTraceIteration(bool header);
  bool debugTracing() const { return tracing() && (ctx->traceMask & kTraceDebug) != 0; }
  // A trace line: the prefix "\n<method><factorisations> <iterations> :"
  // followed by fmt.
  void traceLine(const char* fmt, ...) const __attribute__((format(printf, 2, 3)));
  static constexpr int kTraceDebug = 256;  // trace-mask bit of the debug lines
  // Trace bit that turns on the factorisation kernel's own lines.
  static constexpr int kTraceKernel = 32768;
  // The state line printed at each refactorisation request (trace).
  void stateLine(int reason, const char* file, int line) const;

  // ---- methods (primal.cpp, dual.cpp; the entries in trace.cpp trace the
  // outcome of each run and make it the work area's)
  int runPrimal();
  int runDual(bool reopt);
  int runPrimalMethod();
  int runDualMethod(bool reopt);
  int methodExit(int result);
  // Weights of the starting basis: those of the last dual run when keep and
  // they belong to the current heading, unity for a reoptimisation, else
  // exact.
  void initDualWeights(bool reopt, bool keep = false);
  // The switch loop (solve.cpp): after a run of method last that ended with
  // outcome 7, alternates the methods for at most ten passes and returns the
  // outcome (last follows the method that ran). The methods run through run
  // when it is set, else runDual / runPrimal. A loop that gives up sets
  // error and settledStatus.
  int switchLoop(int stat, Method& last, bool reopt, const std::function<int(Method)>& run = {});
  int settledStatus = 0;  // model status the switch loop left on giving up, else 0

  // ---- results (solve.cpp)
  void fillResult(SimplexResult& r) const;
  std::vector<double> farkas;     // scaled certificate of the last run
  std::vector<double> ray;

  // ---- basis layer internals (basis.cpp)
  void ensureKernel();
  // Hands the solve's options to the kernel (created: a new kernel).
  void applyKernelOptions(bool created);
  double hostPivRel = -1.0;    // relative pivot tolerance the host last asked for
  // One factorisation of the heading and its condition classification.
  int factorOnce(bool* singular, int* kernelRc);
  int recover(int kernelRc);
  int repairByArtificials();
  bool restoreFallback();
  void undoLastPivot();
  void setHeading(const std::vector<int>& basic);

  static constexpr double kHuge = 1e300;  // bounds beyond are infinite (held as inf)
};

}  // namespace torva::simplex
