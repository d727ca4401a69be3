// Information items of the library and of a model.
#pragma once

#include "base/model.hpp"

namespace torva {

// Answers the items that need no model (versions, platform); returns
// QXERR_INFO_NOT_AVAILABLE for any other item.
int libraryInfo(int item, void* result);

// Answers an item of the model; QXERR_INFO_NOT_AVAILABLE when the model
// cannot answer it now.
int modelInfo(const Model& model, int item, void* result);

}  // namespace torva
