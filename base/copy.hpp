// Replaying a model's data into a fresh model, for QXcopyModel.
#pragma once

#include "base/model.hpp"

namespace torva {

// Loads every kind of data source holds into the empty model target, through
// the same load operations a host uses. Returns an error code.
int replayModel(const Model& source, Model& target);

}  // namespace torva
