// The library's LP presolver behind the pipeline's presolve hook.
#pragma once

#include <memory>

#include "simplex/presolve_hook.hpp"

namespace torva {

std::unique_ptr<LpPresolver> makeLpPresolver();

// The part of a presolve level whose reductions keep the integer solutions
// of a model: empty, free and singleton rows (a singleton row becomes a
// bound, rounded for an integer column) and empty and fixed columns. The
// other reductions move costs and bounds between columns or rest on dual
// arguments that hold for the continuous relaxation only.
int mipValidLevel(int level);

}  // namespace torva
