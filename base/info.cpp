#include "base/info.hpp"

#include <cstring>

#include "base/version.hpp"

namespace torva {

int libraryInfo(int item, void* result) {
  switch (item) {
    case kInfoVerMajor: *static_cast<int*>(result) = QX_VERSION_MAJOR; return 0;
    case kInfoVerMinor: *static_cast<int*>(result) = QX_VERSION_MINOR; return 0;
    case kInfoVerBuild: *static_cast<int*>(result) = QX_VERSION_BUILD; return 0;
    case kInfoVerRevision: *static_cast<int*>(result) = QX_VERSION_REVISION; return 0;
    case kInfoPlatform: std::strcpy(static_cast<char*>(result), kPlatformCode); return 0;
    default: return QXERR_INFO_NOT_AVAILABLE;
  }
}

int modelInfo(const Model& /*model*/, int /*item*/, void* /*result*/) {
  return QXERR_INFO_NOT_AVAILABLE;
}

}  // namespace torva
