// MPS reader: parses a fixed-column or free (blank-separated) MPS file into
// MpsData in two passes, the first only counting so that the name tables
// and arrays are sized once.
#pragma once

#include <functional>
#include <string>

#include "io/mps_data.hpp"
#include "io/text_io.hpp"

namespace torva {

// The format argument of the reading functions.
enum MpsFormat : int {
  kMpsFree = 0,
  kMpsFixed = 1,
  kMpsFreeCompat = 2,
  kMpsFixedCompat = 3,
};

struct MpsReadOptions {
  int format = kMpsFree;
  int objectiveOrdinal = 0;   // which N row (from 0, file order) is the objective
  bool keepFreeRows = false;  // other N rows: kept as N constraints, else dropped
  int printLevel = 0;
  std::string fileName;       // for the log only
  double infinity = 1e30;     // default upper bound of a column
  // Receives each log line; may be empty.
  std::function<void(const std::string&)> log;
};

struct MpsReadResult {
  int error = 0;        // 0 or an error code
  int errorLine = 0;    // number (from 1) of the line being processed at the error
  std::string errorText;  // copy of that line
  int lines = 0;        // lines processed
};

// Reads an MPS file from source into data. On failure data is unspecified and
// result tells why.
MpsReadResult readMps(ByteSource& source, const MpsReadOptions& options, MpsData& data);

}  // namespace torva
