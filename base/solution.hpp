// Solution records an optimiser leaves on a model.
#pragma once

namespace torva {

// The continuous solution record.
struct LpSolution {
  int modelStatus = 0;
  int primalStatus = 0;
  int dualStatus = 0;
  int errorRow = -1;  // row at which a solver stopped on a numerical error
};

// The integer solution record.
struct MipSolution {
  int status = 0;
};

}  // namespace torva
