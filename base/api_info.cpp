// Exported version and information queries.
#include <cstddef>
#include <cstdio>
#include <cstring>

#include "base/api.hpp"
#include "base/info.hpp"
#include "base/model.hpp"
#include "base/version.hpp"

namespace torva {

void versionInfo(char* version, char* buildDate) noexcept {
  if (version)
    std::snprintf(version, 32, "%d.%d.%d.%03d", QX_VERSION_MAJOR, QX_VERSION_MINOR,
                  QX_VERSION_BUILD, QX_VERSION_REVISION);
  if (buildDate) std::strcpy(buildDate, __DATE__ " " __TIME__);
}

}  // namespace torva

extern "C" {

QXAPI int QXgetVersionInfo(char* version, char* builddate) {
  torva::versionInfo(version, builddate);
  return 0;
}

QXAPI int QXgetInfo(QXmodel model, int item, void* result) {
  // A null result skips the output, as for every other query: the item is
  // answered into scratch space, so the code is the one a host would get.
  constexpr std::size_t kScratchBytes = 1024;  // more than any string item
  alignas(double) char scratch[kScratchBytes];
  if (!result) result = scratch;
  if (int rc = torva::libraryInfo(item, result); rc != QXERR_INFO_NOT_AVAILABLE) return rc;
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::modelInfo(*model, item, result); });
}

}  // extern "C"
