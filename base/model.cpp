#include "base/model.hpp"

void QXmodelRec::freeSolverMemory() {}
