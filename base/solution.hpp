// Solution records an optimiser leaves on a model. The queries read them;
// the optimisers create and fill them. A vector that an optimiser did not
// produce stays empty, and the query for it then answers "not available".
#pragma once

#include <vector>

#include "torva.h"

namespace torva {

// Model status codes used by the records.
constexpr int kStatusOptimal = QX_STATUS_OPTIMAL;
constexpr int kStatusBasicOptimal = QX_STATUS_BASIC_OPTIMAL;
constexpr int kStatusFeasible = QX_STATUS_FEASIBLE;
constexpr int kStatusInfeasibleOrUnbounded = QX_STATUS_INFORUNB;
constexpr int kStatusLocalOptimal = QX_STATUS_LOCAL_OPTIMAL;
constexpr int kStatusUnknown = QX_STATUS_UNKNOWN;
constexpr int kStatusUnloaded = QX_STATUS_UNLOADED;
constexpr int kStatusLoaded = QX_STATUS_LOADED;

// The continuous solution record.
struct LpSolution {
  int modelStatus = kStatusUnknown;
  int primalStatus = kStatusUnknown;
  int dualStatus = kStatusUnknown;
  int basisStatus = kStatusUnknown;
  int method = 0;
  int errorRow = -1;  // row at which a solver stopped on a numerical error

  double primalObj = 0.0;
  double dualObj = 0.0;
  double primalInfeas = 0.0;
  double dualInfeas = 0.0;
  int simplexIters = 0;
  int barrierIters = 0;
  int nlpIters = 0;
  int elapsedTime = 0;  // whole seconds
  double elapsedSeconds = 0.0;
  int errorCode = 0;          // error code the last optimisation returned
  int factorizations = 0;     // basis factorisations of the last solve
  int refactorsRegular = 0;   // of them: by the refactorisation frequency ("ok")
  int refactorsStability = 0; // of them: for stability ("stb")
  // Size of the model the simplex solved after presolve (-1: no solve yet).
  int reducedRows = -1, reducedCols = -1, reducedNnz = -1, reducedInts = -1;

  std::vector<double> x;         // primal values, n
  std::vector<double> y;         // dual values, m (plus rows an optimiser appended)
  std::vector<double> s;         // slacks, m
  std::vector<double> d;         // reduced costs, n
  std::vector<double> dCone;     // reduced costs of a conic model, n
  std::vector<int> colStatus;    // basis statuses, n
  std::vector<int> rowStatus;    // m (plus appended rows)

  // Second vector set, filled when an optimiser solved a reformulation.
  std::vector<double> x2, y2, s2, d2;
};

// The integer solution record.
struct MipSolution {
  int status = kStatusUnknown;
  int statusOverride = 0;  // 0: none; else the status reported instead
  int solutionsFound = 0;  // integer solutions found by the search
  double objective = 0.0;
  double bestBound = 0.0;
  int simplexIters = 0;
  int barrierIters = 0;
  int nlpIters = 0;
  int branchCount = 0;
  int lpCount = 0;
  int activeNodes = 0;

  std::vector<double> x;       // n
  // Of the final continuous relaxation:
  std::vector<double> y;       // m
  std::vector<double> s;       // m
  std::vector<double> d;       // n
  std::vector<int> colStatus;  // n
  std::vector<int> rowStatus;  // m
};

}  // namespace torva
