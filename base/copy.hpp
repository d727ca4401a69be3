// Copying a model's data into a fresh model.
#pragma once

#include "base/model.hpp"

namespace torva {

// Loads every kind of data source holds into the empty model target, through
// the same internal load operations the C interface uses. Returns an error code.
int replayModel(const Model& source, Model& target);

}  // namespace torva
