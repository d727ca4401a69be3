// Library version and platform, as reported by QXgetVersionInfo and QXgetInfo.
#pragma once

namespace torva {

// Item numbers answered without a model.
constexpr int kInfoVerMajor = 990;
constexpr int kInfoVerMinor = 991;
constexpr int kInfoVerBuild = 992;
constexpr int kInfoVerRevision = 993;
constexpr int kInfoPlatform = 11237;

// Short code of the platform the library was built for.
constexpr const char* kPlatformCode = "L";

// "major.minor.build.revision" (revision in three digits) into version (32
// bytes) and the build date and time into buildDate; either may be null.
void versionInfo(char* version, char* buildDate) noexcept;

}  // namespace torva
