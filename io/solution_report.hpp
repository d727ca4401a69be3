// Plain-text solution report of a model: banner, status, counters,
// objective, one line per variable and per constraint, optional ranges.
#pragma once

#include "base/model.hpp"

namespace torva {

// Report types.
constexpr int kReportLp = 0;
constexpr int kReportMip = 1;
constexpr int kReportLpBarrier = 2;
constexpr int kReportLpCompact = 3;
constexpr int kReportMipCompact = 4;

// Writes the report of the given type to filename (gzip-compressed when it
// ends in ".gz"); a type above 4 writes nothing and returns 0.
int writeSolutionReport(Model& model, const char* filename, int type);
// Chooses the type from QX_IPARAM_SOL_REPORT_STYLE and the solution records.
int writeSolutionReportByStyle(Model& model, const char* filename);

}  // namespace torva
