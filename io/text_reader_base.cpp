#include "io/text_reader_base.hpp"

#include <cstdio>

namespace torva {

bool TextReaderBase::nextLine() {
  if (inputEnd_ || failed()) return false;
  char* text = nullptr;
  std::size_t length = 0;
  if (!lines_.next(text, length)) {
    inputEnd_ = true;
    if (lines_.failed()) {
      result_.error = source_.failureCode();
      result_.errorLine = result_.lines;
    }
    return false;
  }
  ++result_.lines;
  // The line buffer holds the limit, the newline and a NUL: a longer line
  // fills it without a newline.
  if (lines_.overlong() || length > static_cast<std::size_t>(kTextLineLimit)) {
    say("\nLimit of %d chars per line exceeded.", kTextLineLimit);
    result_.error = QXERR_BAD_MPS_FILE;
    result_.errorLine = result_.lines;
    inputEnd_ = true;
    return false;
  }
  cur_.reset(std::string_view(text, length));
  return true;
}

void TextReaderBase::say(const char* format, ...) {
  if (options_.printLevel <= kTextReaderMessageLevel || !options_.log) return;
  char buffer[2048];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  options_.log(buffer);
}

bool TextReaderBase::syntaxError(const char* message) {
  if (!failed()) {
    say("%s", message);
    result_.error = QXERR_ERROR_IN_INPUT;
    result_.errorLine = result_.lines;
  }
  return false;
}

}  // namespace torva
