// Pieces shared by the algebraic model readers (TORVA text and LP text):
// a cursor over the current line, keyword patterns with optional bracketed
// parts, numbers and relations.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace torva {

// Longest line the algebraic readers accept (the line buffer holds this
// many characters, the newline and the terminating NUL).
constexpr int kTextLineLimit = 1024;

// Matches a keyword pattern at the start of text without regard to case.
// Bracketed parts are optional and are matched as far as the text agrees
// with them (a blank inside brackets matches a blank). The keyword counts
// only when it is followed by the end of the text, a blank, tab, carriage
// return, newline or one of < = >. Returns the number of characters
// matched, 0 when the pattern does not match.
std::size_t matchKeyword(std::string_view text, std::string_view pattern) noexcept;

// Relation codes: the constraint type characters.
constexpr char kRelLess = 'L';
constexpr char kRelEqual = 'E';
constexpr char kRelGreater = 'G';

// A cursor over one line of text. Blanks, tabs and carriage returns
// separate tokens; the comment character ends the line.
class LineCursor {
 public:
  explicit LineCursor(char comment) : comment_(comment) {}

  void reset(std::string_view line) noexcept { line_ = line; pos_ = 0; }
  // Skips white space; true when the rest of the line is empty or a comment.
  bool atEnd() noexcept;
  char peek() noexcept { return atEnd() ? '\0' : line_[pos_]; }
  void advance(std::size_t count = 1) noexcept { pos_ += count; }
  std::size_t position() const noexcept { return pos_; }
  void setPosition(std::size_t pos) noexcept { pos_ = pos; }
  // What is left of the line after white space.
  std::string_view rest() noexcept;
  // The rest of the line up to the comment, white space trimmed at both ends.
  std::string_view restTrimmed() noexcept;

  // Matches a keyword pattern at the cursor; advances over it on success.
  bool keyword(std::string_view pattern) noexcept;
  // Relation: <, = or > optionally followed by =, also =< and =>.
  bool relation(char& type) noexcept;
  // Number: digits with an optional point and digits and an optional
  // exponent (sign not included). False, cursor unchanged, when none.
  bool number(double& value) noexcept;
  // Signs at the cursor folded into one: +1, -1, or 0 when there is none.
  int signs() noexcept;
  // "inf" or "infinity" without regard to case (a sign must precede it).
  bool infinity() noexcept;
  // A maximal run of characters for which isNameChar holds.
  template <class Pred>
  std::string_view name(Pred isNameChar) noexcept {
    if (atEnd()) return {};
    std::size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != comment_ &&
           isNameChar(static_cast<unsigned char>(line_[pos_])))
      ++pos_;
    return line_.substr(start, pos_ - start);
  }

 private:
  std::string_view line_;
  std::size_t pos_ = 0;
  char comment_;
};

// Writes value with "%+.16f" and strips trailing zeros after the point
// (the point itself stays: 3 becomes "+3.", one half "+0.5").
std::string formatFixed16(double value);

}  // namespace torva
