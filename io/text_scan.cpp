#include "io/text_scan.hpp"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace torva {
namespace {

bool isBlank(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool endsKeyword(std::string_view text, std::size_t pos) noexcept {
  if (pos >= text.size()) return true;
  const char c = text[pos];
  return isBlank(c) || c == '<' || c == '=' || c == '>';
}

bool sameLetter(char a, char b) noexcept {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool isDigit(char c) noexcept { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t matchKeyword(std::string_view text, std::string_view pattern) noexcept {
  std::size_t t = 0;
  std::size_t p = 0;
  while (p < pattern.size()) {
    if (pattern[p] == '[') {
      // Optional part: follow it while the text agrees, then skip its rest.
      ++p;
      while (p < pattern.size() && pattern[p] != ']') {
        if (t < text.size() && sameLetter(text[t], pattern[p])) {
          ++t;
          ++p;
        } else {
          while (p < pattern.size() && pattern[p] != ']') ++p;
        }
      }
      if (p < pattern.size()) ++p;  // the ']'
      continue;
    }
    if (t >= text.size() || !sameLetter(text[t], pattern[p])) return 0;
    ++t;
    ++p;
  }
  return endsKeyword(text, t) ? t : 0;
}

bool LineCursor::atEnd() noexcept {
  while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
  return pos_ >= line_.size() || line_[pos_] == comment_;
}

std::string_view LineCursor::rest() noexcept {
  atEnd();
  return line_.substr(pos_);
}

std::string_view LineCursor::restTrimmed() noexcept {
  std::string_view r = rest();
  std::size_t cut = r.find(comment_);
  if (cut != std::string_view::npos) r = r.substr(0, cut);
  while (!r.empty() && isBlank(r.back())) r.remove_suffix(1);
  pos_ = line_.size();
  return r;
}

bool LineCursor::keyword(std::string_view pattern) noexcept {
  if (atEnd()) return false;
  std::size_t matched = matchKeyword(line_.substr(pos_), pattern);
  pos_ += matched;
  return matched > 0;
}

bool LineCursor::relation(char& type) noexcept {
  if (atEnd()) return false;
  const char c = line_[pos_];
  const char next = pos_ + 1 < line_.size() ? line_[pos_ + 1] : '\0';
  if (c == '<') type = kRelLess;
  else if (c == '>') type = kRelGreater;
  else if (c == '=') type = next == '<' ? kRelLess : next == '>' ? kRelGreater : kRelEqual;
  else return false;
  ++pos_;
  if (c == '=' ? (next == '<' || next == '>' || next == '=') : next == '=') ++pos_;
  return true;
}

bool LineCursor::number(double& value) noexcept {
  if (atEnd()) return false;
  std::size_t p = pos_;
  const std::size_t n = line_.size();
  std::size_t digits = 0;
  while (p < n && isDigit(line_[p])) ++p, ++digits;
  if (p < n && line_[p] == '.') {
    ++p;
    while (p < n && isDigit(line_[p])) ++p, ++digits;
  }
  if (digits == 0) return false;
  if (p < n && (line_[p] == 'e' || line_[p] == 'E')) {
    std::size_t q = p + 1;
    if (q < n && (line_[q] == '+' || line_[q] == '-')) ++q;
    if (q < n && isDigit(line_[q])) {
      while (q < n && isDigit(line_[q])) ++q;
      p = q;
    }
  }
  // strtod needs a terminated copy; a number is short.
  std::string text(line_.substr(pos_, p - pos_));
  value = std::strtod(text.c_str(), nullptr);
  pos_ = p;
  return true;
}

int LineCursor::signs() noexcept {
  int sign = 0;
  while (!atEnd() && (line_[pos_] == '+' || line_[pos_] == '-')) {
    const int s = line_[pos_] == '-' ? -1 : 1;
    sign = sign == 0 ? s : sign * s;
    ++pos_;
  }
  return sign;
}

bool LineCursor::infinity() noexcept {
  if (atEnd()) return false;
  std::string_view r = line_.substr(pos_);
  auto starts = [&](std::string_view word) {
    if (r.size() < word.size()) return false;
    for (std::size_t k = 0; k < word.size(); ++k)
      if (!sameLetter(r[k], word[k])) return false;
    return true;
  };
  auto alnumAt = [&](std::size_t k) {
    return k < r.size() && std::isalnum(static_cast<unsigned char>(r[k]));
  };
  if (starts("infinity") && !alnumAt(8)) { pos_ += 8; return true; }
  if (starts("inf") && !alnumAt(3)) { pos_ += 3; return true; }
  return false;
}

std::string formatFixed16(double value) {
  char buffer[400];  // %.16f of 1e308 needs about 330 characters
  std::snprintf(buffer, sizeof buffer, "%+.16f", value);
  std::string text(buffer);
  const std::size_t point = text.find('.');
  if (point != std::string::npos) {
    std::size_t end = text.size();
    while (end > point + 1 && text[end - 1] == '0') --end;
    text.resize(end);
  }
  return text;
}

}  // namespace torva
