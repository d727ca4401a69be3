// Line handling, messages and errors shared by the algebraic text readers.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

#include "io/text_model.hpp"
#include "io/text_reader.hpp"
#include "io/text_scan.hpp"
#include "torva.h"

namespace torva {

// Print level above which the readers write their messages.
constexpr int kTextReaderMessageLevel = 1;

class TextReaderBase {
 protected:
  TextReaderBase(ByteSource& source, const TextReadOptions& options, char comment)
      : source_(source), lines_(source), options_(options), cur_(comment) {}

  // Moves the cursor to the next line. False at the end of the input and on
  // an error (a line over the limit, a failed read), which sets the result.
  bool nextLine();
  // Skips to the next line that holds a token; false at the end or on error.
  bool nextTokenLine() {
    while (cur_.atEnd())
      if (!nextLine()) return false;
    return true;
  }
  // Writes a message when the print level calls for it.
  void say(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Records a syntax error at the current line after logging message.
  bool syntaxError(const char* message);
  bool failed() const noexcept { return result_.error != 0; }
  bool atInputEnd() const noexcept { return inputEnd_; }
  int line() const noexcept { return result_.lines; }

  ByteSource& source_;
  LineReader lines_;
  const TextReadOptions& options_;
  LineCursor cur_;
  TextModel model_;
  TextReadResult result_;
  bool inputEnd_ = false;
};

}  // namespace torva
