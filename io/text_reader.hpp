// Readers of the algebraic text formats: the library's own TORVA text
// format (.ltx) and the common LP format (.lp). Both fill MpsData, which the
// caller loads into a model in one step.
#pragma once

#include <functional>
#include <string>

#include "io/mps_data.hpp"
#include "io/text_io.hpp"

namespace torva {

struct TextReadOptions {
  int printLevel = 0;  // messages are written above 1
  std::function<void(const std::string&)> log;
};

struct TextReadResult {
  int error = 0;      // 0, QXERR_BAD_MPS_FILE (line too long) or QXERR_ERROR_IN_INPUT
  int errorLine = 0;  // line being read when the error was met
  int lines = 0;      // lines read
};

TextReadResult readTorvaText(ByteSource& source, const TextReadOptions& options, MpsData& data);
TextReadResult readLpText(ByteSource& source, const TextReadOptions& options, MpsData& data);

}  // namespace torva
