// Moving MPS data between the reader/writer form and a model, through the
// model store's internal load and read-out functions.
#pragma once

#include "base/model.hpp"
#include "io/mps_data.hpp"

namespace torva {

// Loads d into the empty model (the linear core, types, names,
// semi-continuous data, sets, cones and quadratic terms).
int loadMpsData(Model& model, MpsData& d);
// Reads the loaded model into d.
int collectMpsData(Model& model, MpsData& d);

}  // namespace torva
