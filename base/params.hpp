// Parameter values held by an environment and copied into each model.
#pragma once

namespace torva {

// All parameter groups of one level (environment or model). A model takes a
// copy of its environment's set when it is created and never sees later
// changes made on the environment.
struct ParamSet {
  int copyMode = 0;  // QX_IPARAM_COPY_MODE: bitmask of QX_*_COPY
};

}  // namespace torva
