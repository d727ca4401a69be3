// The library's LP presolver behind the pipeline's presolve hook.
#pragma once

#include <memory>

#include "simplex/presolve_hook.hpp"

namespace torva {

std::unique_ptr<LpPresolver> makeLpPresolver();

}  // namespace torva
