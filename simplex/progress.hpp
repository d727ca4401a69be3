// State of the progress checks made after every factorisation (both
// methods) and of the perturbation they may start, restart or remove.
#pragma once

#include <vector>

namespace torva::simplex {

// What a progress check saw.
struct ProgressRecord {
  bool valid = false;
  double iterations = 0.0;
  double objective = 0.0;  // working objective (perturbed costs and bounds)
  double pinf = 0.0;       // sum of primal infeasibilities
  double dinf = 0.0;       // sum of dual infeasibilities
  int npinf = 0, ndinf = 0;
  int degenerate = 0;
};

// Verdicts of a progress check.
enum ProgressVerdict : int {
  kProgressContinue = 0,
  kProgressNumerical = 1,  // give up: numerical trouble
  kProgressSwitch = 2,     // hand over to the other method
};

struct ProgressState {
  ProgressRecord prev, last;
  ProgressRecord window;         // the record of the check that opened the 20-check window
  int checks = 0;
  int cycling = 5;               // cycling counter (starts at 5 on every entry)
  int degradations = 0;          // degradation handler calls since the last reset
  int severe = 0;                // severe degradations
  int noImprovement = 0;
  int ratRangeLoweredCheck = -1; // check at which the candidate range was last found lowered
  int traceLines = 0;            // trace lines since the last header
  bool partialForced = false;    // the pricing was switched to partial for good
  int recoveriesSeen = 0;        // basis recoveries at the previous check
  int tolChangedAtFactor = 0;    // factorisation count when ceps last changed
  double bestPinf = 1e30, bestObjective = 1e30;  // of the best basis saved

  void resetForRun() {
    prev = last = window = ProgressRecord{};
    checks = 0;
    cycling = 5;
    traceLines = 0;
    bestPinf = bestObjective = 1e30;
  }
};

// Bound-shift perturbation of the primal (and the cost perturbation of the
// dual, which it starts through the same calls).
struct PerturbState {
  bool active = false;
  int count = 0;            // perturbations made (printed in parentheses)
  double ptval = 2e-4;      // perturbation size
  // Variables whose bounds were shifted, with their bounds before.
  std::vector<int> shifted;
  std::vector<double> oldLower, oldUpper;
  std::vector<char> mark;   // per variable: in shifted
  double size = 0.0;        // sum of the shifts

  void resetForSolve(int nt) {
    active = false;
    count = 0;
    ptval = 2e-4;
    shifted.clear();
    oldLower.clear();
    oldUpper.clear();
    mark.assign(nt, 0);
    size = 0.0;
  }
  bool marked(int j) const { return mark[j] != 0; }
  void remember(int j, double lo, double up) {
    mark[j] = 1;
    shifted.push_back(j);
    oldLower.push_back(lo);
    oldUpper.push_back(up);
  }
};

}  // namespace torva::simplex
