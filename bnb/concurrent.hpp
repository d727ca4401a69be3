// The concurrent integer solver: several complete serial searches race on
// copies of one model, each with its own strategy, sharing the best
// solution found so far; the first that ends with a final status stops the
// others.
#pragma once

#include "base/model.hpp"

namespace torva {

// The body of QXsolveMIPCC. status may be null.
int solveMIPCC(Model& model, int* status);

// The body of QXsetMIPCCStrategy: installs (or, with func and file both
// null, removes) the host's strategy of one thread.
int setMipCCStrategy(Model& model, QXMIPCCstrategyFunc func, int thread, const char* paramFile, void* userData);

namespace bnb {
// The built-in strategy of thread k, applied to its parameters: thread 0
// keeps them; threads 1, 2 and 3 search depth first with up branches first,
// by best bound with down branches first and by best estimate with up
// branches first; later threads repeat that cycle with another pseudo-cost
// scoring rule in each round (the integer solver has no seed to vary).
void applyBuiltInStrategy(ParamSet& params, int k);
}  // namespace bnb

}  // namespace torva
