// MPS writer: writes MpsData as a fixed-column or free MPS file that the
// reader reads back.
#pragma once

#include <functional>
#include <string>

#include "io/mps_data.hpp"
#include "io/text_io.hpp"

namespace torva {

// Ways to write a maximisation (QX_IPARAM_MPS_OBJ_WRITESTYLE).
enum MpsObjWriteStyle : int {
  kMpsMaxNote = 0,  // a remark with a commented-out OBJSENSE card
  kMpsMaxCard = 1,  // an OBJSENSE MAX card
  kMpsMaxFlip = 2,  // objective negated, written as a minimisation
};

struct MpsWriteOptions {
  bool fixed = true;
  int objWriteStyle = kMpsMaxFlip;
  // Receives warnings (a name too long for the fixed format); may be empty.
  std::function<void(const std::string&)> log;
};

// Shortest text of value in at most width characters, trying precisions
// from width down to 6 ("%G", or "%E" for magnitudes below 0.002, with the
// exponent written without sign padding). Empty when it fits at none; a
// width below 1 means 22.
std::string formatMpsNumber(double value, int width);

// Writes data to sink; returns 0 or an error code (QXERR_BAD_CONSTRAINT_TYPE
// for a row type the format cannot express; what was written stays).
int writeMps(const MpsData& data, const MpsWriteOptions& options, TextSink& sink);
// Writes data to the file path (gzip-compressed when it ends in ".gz").
int writeMpsFile(const MpsData& data, const MpsWriteOptions& options, const std::string& path);

}  // namespace torva
