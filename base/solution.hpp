// Solution records an optimiser leaves on a model. The queries read them;
// the optimisers create and fill them. A vector that an optimiser did not
// produce stays empty, and the query for it then answers "not available".
#pragma once

#include <cstddef>
#include <initializer_list>
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

// Keeps the entries of v whose keep flag is set (v may be longer than keep:
// the extra entries, such as rows an optimiser appended, are kept).
template <class T>
inline void compactVector(std::vector<T>& v, const std::vector<char>& keep) {
  if (v.size() < keep.size()) {
    v.clear();  // does not describe the old items; cannot be remapped
    return;
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < v.size(); ++i)
    if (i >= keep.size() || keep[i]) v[out++] = v[i];
  v.resize(out);
}

// Inserts count copies of fill at position at when v describes `at` items
// (and possibly more after them).
template <class T>
inline void insertAt(std::vector<T>& v, std::size_t at, std::size_t count, const T& fill) {
  if (v.size() < at) return;
  v.insert(v.begin() + static_cast<std::ptrdiff_t>(at), count, fill);
}

// Appends values when v describes exactly `at` items (a vector that was
// never filled stays empty).
template <class T>
inline void appendAt(std::vector<T>& v, std::size_t at, const std::vector<T>& values) {
  if (v.size() == at) v.insert(v.end(), values.begin(), values.end());
}

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
  // Outcome of the last interior-point run, before any crossover, as a model
  // status (-1: no interior-point run), with its objectives and relative
  // infeasibilities in the model's sense.
  int ipmStatus = -1;
  double ipmPrimalObj = 0.0, ipmDualObj = 0.0, ipmPrimalInfeas = 0.0, ipmDualInfeas = 0.0;
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

  // Upkeep when the model gains or loses rows or columns: new rows are
  // inserted at row `at` with zero duals, slacks and status; appended columns
  // take their resting values x and statuses (duals zero); erasing keeps the
  // items whose keep flag is set. Every row- or column-sized vector of the
  // record is handled here.
  void insertRows(std::size_t at, std::size_t count) {
    for (auto* v : {&y, &s, &y2, &s2}) insertAt(*v, at, count, 0.0);
    insertAt(rowStatus, at, count, 0);
  }
  void eraseRows(const std::vector<char>& keep) {
    for (auto* v : {&y, &s, &y2, &s2}) compactVector(*v, keep);
    compactVector(rowStatus, keep);
  }
  void appendCols(std::size_t at, const std::vector<double>& xRest, const std::vector<int>& status) {
    const std::vector<double> zero(xRest.size(), 0.0);
    appendAt(x, at, xRest);
    appendAt(x2, at, xRest);
    for (auto* v : {&d, &d2, &dCone}) appendAt(*v, at, zero);
    appendAt(colStatus, at, status);
  }
  void eraseCols(const std::vector<char>& keep) {
    for (auto* v : {&x, &d, &dCone, &x2, &d2}) compactVector(*v, keep);
    compactVector(colStatus, keep);
  }
};

// The next-best list of a model: integer solutions with distinct integer
// parts, best first, and the index of the next one to hand out.
struct MipSolutionList {
  std::vector<std::vector<double>> x;
  std::vector<double> objective;
  std::size_t next = 0;
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
  int aoptTimeToStop = -1;     // seconds left before the QX_DPARAM_MIP_PEROPTTOL stop
  double relGap = 1e30;        // relative gap of the log (RGAP); 1e30 while nothing is known
  double totTime = 0.0;        // seconds of the whole run
  double optTime = 0.0;        // of them: inside relaxation solves
  double heuTime = 0.0;        // of them: in primal heuristics
  int threads = 1;
  std::vector<double> threadSeconds;  // per thread: seconds of work in the run
  // Constraint classes, in the order of QX_IINFO_MIP_GUB_CONS .. QX_IINFO_MIP_CONT_CONS.
  int consClass[9] = {};
  // Cuts added by family: QX_IINFO_MIP_GUB_COVER_CUTS .. QX_IINFO_MIP_CONTRA_CUTS
  // in that order, then mixed-integer rounding (counted in the total only).
  int cuts[16] = {};

  std::vector<double> x;       // n
  // Of the final continuous relaxation:
  std::vector<double> y;       // m
  std::vector<double> s;       // m
  std::vector<double> d;       // n
  std::vector<int> colStatus;  // n
  std::vector<int> rowStatus;  // m

  // Upkeep when the model gains or loses rows or columns (see LpSolution).
  void insertRows(std::size_t at, std::size_t count) {
    for (auto* v : {&y, &s}) insertAt(*v, at, count, 0.0);
    insertAt(rowStatus, at, count, 0);
  }
  void eraseRows(const std::vector<char>& keep) {
    for (auto* v : {&y, &s}) compactVector(*v, keep);
    compactVector(rowStatus, keep);
  }
  void appendCols(std::size_t at, const std::vector<double>& xRest, const std::vector<int>& status) {
    appendAt(x, at, xRest);
    appendAt(d, at, std::vector<double>(xRest.size(), 0.0));
    appendAt(colStatus, at, status);
  }
  void eraseCols(const std::vector<char>& keep) {
    for (auto* v : {&x, &d}) compactVector(*v, keep);
    compactVector(colStatus, keep);
  }
};

}  // namespace torva
