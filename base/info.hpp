// Information items of the library and of a model.
#pragma once

#include <string>
#include <vector>

#include "base/model.hpp"

namespace torva {

// Answers the items that need no model (versions, platform); returns
// QXERR_INFO_NOT_AVAILABLE for any other item.
int libraryInfo(int item, void* result);

// Answers an item of the model; QXERR_INFO_NOT_AVAILABLE when the model
// cannot answer it now.
int modelInfo(const Model& model, int item, void* result);

// Each thread's share of the summed seconds, as "|" followed by one
// "%.0f%%|" field per thread (the tail of the workload log line); "|" alone
// for no threads. Fields stop before the text would exceed
// kMaxThreadLoadText characters.
inline constexpr std::size_t kMaxThreadLoadText = 1000;  // below QXgetInfo's scratch space
std::string threadLoadText(const std::vector<double>& seconds);

}  // namespace torva
