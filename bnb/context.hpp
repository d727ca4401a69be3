// The working state of one integer-solver run, shared by the driver, the
// tree search, the stop test and the progress log. All objective values are
// held in minimisation sense; sense turns them back into the host's.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

#include "bnb/options.hpp"
#include "stoc/rng.hpp"

namespace torva::bnb {

using Clock = std::chrono::steady_clock;

// Internal status of a run.
enum MipState : int {
  kMipNothing = 0,
  kMipUnbounded = 1,
  kMipInfeasible = 2,
  kMipFeasible = 3,
  kMipFinished = 4,
  kMipLimitTolMet = 5,
  kMipLimitTolMetNoSol = -5,
};

// How an incumbent was found (the code text of its log row).
enum FoundBy : int {
  kFoundByTree = 1,      // an integral node relaxation
  kFoundByHeuristic = 100,
  kFoundByStart = 13,    // a solution the host supplied
};

// Why the stop test ended the search (it answers with the result number; the
// cause decides the status the run ends with).
enum class StopCause : int {
  None,
  Optimality,   // the optimality test: relative or absolute tolerance met
  AoptTime,     // QX_DPARAM_MIP_PEROPTTOL met after QX_DPARAM_MIP_AOPTTIMLIM seconds
  SecondPair,   // the second tolerance pair
  Threshold,    // the incumbent reached QX_DPARAM_MIP_OBJ_THRESHOLD
  LastSolTime,  // no new incumbent for QX_DPARAM_MIP_LSOLTIMLIM seconds
};

// Phase code of the progress log's calls to the host.
inline constexpr int kPhaseProgressLog = 4;

struct BnbContext {
  double sense = 1.0;
  double incumbentValue = 1e30;
  double bestBound = -1e30;
  double cutoffValue = 1e30;
  double cutoffObj = 1e30;  // minimisation sense
  int useCutoffObj = 0;
  double relOptTol = 1e-6, absOptTol = 0.0, perOptTol = 1e-5, aoptTimeLimit = 100.0;
  double lastSolTimeLimit = -1.0, objThreshold = -1e30;
  double perOptTol2 = -1.0, aoptTimeLimit2 = -1.0;
  long long branchCount = 0, lpCount = 0, openNodes = 0;
  int cutPassNo = 0, cutCount = 0;
  int cutsByFamily[16] = {};  // per CutFamily (bnb/cuts.hpp)
  double sumFrac = 0.0;
  Clock::time_point startTime = Clock::now(), lastIncumbentTime = Clock::now();
  int mipStatus = kMipNothing;
  int isNonlinear = 0;
  // Semi-continuous variables, and variables whose infinite bound the binary
  // form replaced by the big-M value (the variable statistics).
  unsigned semiContVars = 0, bigMVars = 0;
  int printLevel = 2;

  // Counters published to the result record.
  double simplexIters = 0.0;
  double barrierIters = 0.0;
  double optTime = 0.0;      // seconds inside relaxation solves
  double heuTime = 0.0;
  int solutionsFound = 0;
  double rgap = 1e30;
  double aoptLeft = -1.0;    // seconds to the QX_DPARAM_MIP_PEROPTTOL stop
  double incumbentInfeas = 0.0;  // largest row violation of the incumbent
  // Last node relaxation: its status (host status numbers) and objective
  // (minimisation sense).
  int lastLpStatus = 0;
  double lastLpObjective = 0.0;
  // Phase the callbacks can read: 4 while the progress log calls the host,
  // 0 otherwise (10 is kept for a presolve that reduces the model).
  int phase = 0;
  // What the host's objective-bound supplier reported (minimisation sense):
  // the objective of a solution it knows, 1e30 none, and a bound, -1e30 none.
  double suppliedObjective = 1e30;
  double suppliedBound = -1e30;
  bool stopRequested = false;
  bool stoppedByLastSolTime = false;
  StopCause stopCause = StopCause::None;  // of the last stop test

  std::vector<double> incumbentX;  // n, host's columns
  stoc::Mt19937 rng;

  MipOptions opt;

  bool hasIncumbent() const { return incumbentValue < 1e30; }
  bool hasSuppliedObjective() const { return suppliedObjective < 1e30; }
  // The best objective known: the incumbent's or a supplied one.
  double knownObjective() const { return std::min(incumbentValue, suppliedObjective); }
  // Whether the best bound is the supplied one rather than the tree's own.
  bool boundExternal() const { return suppliedBound > -1e30 && bestBound <= suppliedBound; }
  double elapsed() const { return std::chrono::duration<double>(Clock::now() - startTime).count(); }
  // The value the gap tests compare the bound with (minimisation sense).
  double referenceValue() const;
};

// Relative gap of the log: (z - b) / max(|z|, |b|, 1) when b < z, else 0.
double relativeGap(double z, double b);
// Optimality test of the run.
bool optimalityReached(const BnbContext& ctx);
// Stop test: 0 go on, 1 tolerances met, 2 threshold or second tolerance
// pair, 3 time since the last incumbent; the cause goes to ctx.stopCause.
int stopTest(BnbContext& ctx);
// The internal status a stop of the given cause ends the run with (the
// incumbent decides between the variants).
int statusAfterStop(const BnbContext& ctx, StopCause cause);

}  // namespace torva::bnb
