#include "base/model.hpp"

void QXmodelRec::freeSolverMemory() { workArea.reset(); }

void QXmodelRec::freeHashMemory() { data.dropNameTables(); }

void QXmodelRec::freeNames() {
  data.title.clear();
  data.objName.clear();
  data.rhsName.clear();
  data.rngName.clear();
  data.bndName.clear();
  data.conNames.clear();
  data.varNames.clear();
  data.coneNames.clear();
  data.dropNameTables();
}

void QXmodelRec::markChanged() {
  freeSolverMemory();
  markValuesChanged();
}

void QXmodelRec::markValuesChanged() {
  data.invalidateStats();
  instructErrorRow.reset();
  nextBest.reset();
  if (status != QX_STATUS_UNLOADED || !data.empty()) status = QX_STATUS_LOADED;
  if (lpSolution) {
    auto& sol = *lpSolution;
    if (sol.primalStatus != QX_STATUS_UNLOADED) sol.primalStatus = QX_STATUS_LOADED;
    if (sol.dualStatus != QX_STATUS_UNLOADED) sol.dualStatus = QX_STATUS_LOADED;
    if (sol.modelStatus != QX_STATUS_UNLOADED) sol.modelStatus = torva::kStatusUnknown;
  }
}
