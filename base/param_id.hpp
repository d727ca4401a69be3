// Registry rows name a parameter or information item by its public macro:
// TORVA_ID(QX_IPARAM_LP_ITRLMT) gives the identifier the header defines and
// the macro's own name, so the number is written in one place only.
#pragma once

#include "torva.h"

#define TORVA_ID(macro) macro, #macro
