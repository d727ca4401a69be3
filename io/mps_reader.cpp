#include "io/mps_reader.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "io/name_table.hpp"
#include "torva.h"

namespace torva {
namespace {

using std::string_view;

// Longest line the reader accepts (a 256-byte line buffer).
constexpr std::size_t kMaxLineLength = 255;
// Fixed-format lines are padded with blanks to this many columns.
constexpr std::size_t kFixedPadWidth = 79;
// Infinite bounds.
constexpr double kInfinity = 1e30;
// An UP value above this is taken as infinite.
constexpr double kUpperInfinityThreshold = 1e28;
// LI and UI values this close to an integer are not rounded.
constexpr double kIntegralityTolerance = 1e-15;
// Progress is logged every this many lines (print level 6).
constexpr int kProgressInterval = 5000;

// Print levels of the log lines.
constexpr int kLevelAlways = 0;
constexpr int kLevelWarning = 1;
constexpr int kLevelSummary = 5;
constexpr int kLevelProgress = 6;
constexpr int kLevelTrace = 10;

enum class State : unsigned {
  kStart,
  kAfterName,
  kObjSense,
  kRows,
  kColumns,
  kRhs,
  kRanges,
  kBounds,
  kDone,
  kQuad,
  kQuadCont,
  kCone,
};

enum class Header {
  kNone,
  kName,
  kObjSense,
  kRows,
  kColumns,
  kRhs,
  kRanges,
  kBounds,
  kQSection,
  kQMatrix,
  kQuads,
  kQuadObj,
  kCSection,
  kEndata,
};

Header headerOf(string_view word) {
  static constexpr std::pair<string_view, Header> kWords[] = {
      {"NAME", Header::kName},         {"OBJSENSE", Header::kObjSense}, {"ROWS", Header::kRows},
      {"COLUMNS", Header::kColumns},   {"RHS", Header::kRhs},           {"RANGES", Header::kRanges},
      {"BOUNDS", Header::kBounds},     {"QSECTION", Header::kQSection}, {"QMATRIX", Header::kQMatrix},
      {"QUADS", Header::kQuads},       {"QUADOBJ", Header::kQuadObj},   {"CSECTION", Header::kCSection},
      {"ENDATA", Header::kEndata}};
  for (const auto& [text, header] : kWords)
    if (word == text) return header;
  return Header::kNone;
}

bool isQuadHeader(Header h) {
  return h == Header::kQSection || h == Header::kQMatrix || h == Header::kQuads ||
         h == Header::kQuadObj;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

string_view trim(string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// Splits text at blanks and tabs into at most maxTokens tokens; a token that
// starts with '$' or '!' ends the list. Returns the count.
int tokenize(string_view text, string_view* tokens, int maxTokens) {
  int count = 0;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (count < maxTokens) {
    while (i < n && isBlank(text[i])) ++i;
    if (i >= n) break;
    if (text[i] == '$' || text[i] == '!') break;
    std::size_t start = i;
    while (i < n && !isBlank(text[i])) ++i;
    tokens[count++] = text.substr(start, i - start);
  }
  return count;
}

// Parses a value field: after leading blanks only digits, signs, '.', and the
// exponent letters e, E, d, D may follow, up to the end of the field. The
// text is then converted by strtod, which stops at the first character it
// cannot use: "2.5d1" reads as 2.5, the way the format's files have always
// been read. A field from which strtod converts nothing, or whose value
// overflows, is an error; underflow reads as the tiny value strtod gives.
bool parseValue(string_view field, double& value) {
  std::size_t b = 0;
  while (b < field.size() && field[b] == ' ') ++b;
  field.remove_prefix(b);
  if (field.empty() || field.size() > 64) return false;
  char text[65];
  std::size_t len = 0;
  for (char c : field) {
    const bool allowed = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' ||
                         c == 'E' || c == 'd' || c == 'D';
    if (!allowed) return false;
    text[len++] = c;
  }
  text[len] = '\0';
  char* end = nullptr;
  value = std::strtod(text, &end);
  return end != text && std::isfinite(value);
}

class Clock {
 public:
  double seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Counts from the first pass, used to size tables and arrays.
struct Counts {
  unsigned rows = 0;
  unsigned columns = 0;
  unsigned nonzeros = 0;
  unsigned cones = 0;
  unsigned coneNonzeros = 0;
  unsigned sets = 0;
  unsigned setNonzeros = 0;
  int lines = 0;  // lines read, for the position of a read failure
};

class Reader {
 public:
  Reader(ByteSource& source, const MpsReadOptions& options, MpsData& data)
      : source_(source), lines_(source), opt_(options), data_(data) {
    fixed_ = options.format == kMpsFixed || options.format == kMpsFixedCompat;
    compat_ = options.format == kMpsFreeCompat || options.format == kMpsFixedCompat;
  }

  MpsReadResult run();

 private:
  // Parsed line: fields 1 to 6 (index 0 unused); an empty view is absent.
  struct Fields {
    std::array<string_view, 7> f;
    bool has(int k) const { return !f[k].empty(); }
  };

  void log(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
  int fail(int code = QXERR_BAD_MPS_FILE) {
    if (!result_.error) result_.error = code;
    return result_.error;
  }

  void countPass(Counts& counts);
  int parsePass();
  int handleHeader(string_view line);
  int handleData(string_view line);
  bool splitFree(string_view line, Fields& fields);
  void splitFixed(string_view line, Fields& fields);
  void traceFields(const Fields& fields);

  int dataObjSense(const Fields& fields);
  int dataRows(const Fields& fields);
  int dataColumns(const Fields& fields);
  int dataMarker(const Fields& fields);
  int dataRhsRanges(const Fields& fields, bool ranges);
  int dataBounds(const Fields& fields);
  int dataQuad(const Fields& fields);
  int dataCone(const Fields& fields);

  int endColumns();
  int closeCone();
  int startQuad(Header header, string_view line);
  int startCone(string_view line);
  int finish();

  int addColumn(string_view name, char type);
  int findOrCreateColumn(string_view name);
  bool isRowNameTaken(string_view name) const;
  // Row target of a name: >= 0 a row, kObjectiveRow, kDroppedRow or kUnknownRow.
  static constexpr int kObjectiveRow = -1;
  static constexpr int kDroppedRow = -2;
  static constexpr int kUnknownRow = -3;
  int rowTarget(string_view name) const;

  ByteSource& source_;
  LineReader lines_;
  const MpsReadOptions& opt_;
  MpsData& data_;
  MpsReadResult result_;
  Clock clock_;
  bool fixed_ = false;
  bool compat_ = false;

  State state_ = State::kStart;
  int lineNumber_ = 0;
  string_view line_;  // line being processed
  char padded_[kMaxLineLength + kFixedPadWidth + 2];

  NameTable rowTable_;
  NameTable colTable_;
  NameTable droppedTable_;
  NameTable coneTable_;
  NameTable setTable_;

  // Rows.
  std::vector<std::string> rowNames_;
  std::string rowTypes_;
  std::vector<double> rhs_;
  std::vector<double> rangeValue_;
  std::vector<char> ranged_;
  int nRowsN_ = 0;  // N rows met so far
  bool haveObjective_ = false;
  std::string objName_;
  bool senseGiven_ = false;

  // Columns.
  std::vector<std::string> colNames_;
  std::string colTypes_;
  std::vector<double> cost_, lower_, upper_;
  std::vector<int> colBeg_;
  std::vector<int> rowIdx_;
  std::vector<double> coef_;
  std::string prevColumn_;
  bool havePrevColumn_ = false;
  int currentColumn_ = -1;
  bool intMarker_ = false;

  // Sets: open set index or -1, types, and memberships (column, set).
  int openSet_ = -1;
  std::string setTypes_;
  std::vector<std::pair<int, int>> setMembers_;

  // Semi-continuous data per column (grown to the column count on demand).
  std::vector<char> isSc_;
  std::vector<double> scLevel_;

  // Vector names of RHS, RANGES and BOUNDS.
  bool haveRhsName_ = false, haveRngName_ = false, haveBndName_ = false;
  std::string rhsName_, rngName_, bndName_;

  // Quadratic terms and the row of the open quadratic section.
  int quadRow_ = kObjectiveRow;
  std::vector<int> qRow_, qCol1_, qCol2_;
  std::vector<double> qCoef_;

  // Cones.
  std::vector<std::string> coneNames_;
  std::string coneTypes_;
  std::vector<int> coneBeg_;
  std::vector<int> coneCols_;
  bool coneOpen_ = false;

  std::string title_;
};

void Reader::log(int level, const char* format, ...) {
  if (!opt_.log || opt_.printLevel < level) return;
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  opt_.log(text);
}

// First pass: counts rows, columns, nonzeros, cones and sets. Only the
// section headers and the number of names per line matter here.
void Reader::countPass(Counts& c) {
  char* line = nullptr;
  std::size_t len = 0;
  Header section = Header::kNone;
  std::string prev;
  bool setOpen = false;
  while (lines_.next(line, len)) {
    ++c.lines;
    if (len == 0 || line[0] == '*') continue;
    string_view text(line, std::min(len, kMaxLineLength));
    string_view tok[6];
    int nt = tokenize(text, tok, 6);
    if (nt == 0) continue;
    if (!isBlank(text[0])) {
      Header h = headerOf(tok[0]);
      if (h != Header::kNone) section = h;
      if (h == Header::kCSection) ++c.cones;
      continue;
    }
    switch (section) {
      case Header::kRows:
        ++c.rows;
        break;
      case Header::kColumns:
        if (nt >= 3 && (tok[1] == "'MARKER'" || tok[2] == "'MARKER'")) {
          string_view word = tok[nt - 1];
          if (word == "'SOSORG'") {
            if (!setOpen) ++c.sets;
            setOpen = true;
          } else if (word == "'SOSEND'") {
            setOpen = false;
          }
          break;
        }
        if (tok[0] != prev) {
          prev.assign(tok[0]);
          ++c.columns;
          if (setOpen) ++c.setNonzeros;
        }
        c.nonzeros += nt >= 5 ? 2 : 1;
        break;
      case Header::kCSection:
        ++c.coneNonzeros;
        break;
      default:
        break;
    }
  }
}

MpsReadResult Reader::run() {
  log(kLevelSummary, "\nReading %s in MPS format (%s)", opt_.fileName.c_str(), fixed_ ? "formatted" : "unformatted");
  Counts counts;
  countPass(counts);
  if (lines_.failed()) {
    // The input broke off (a damaged compressed stream): report the line
    // that could not be read whole.
    fail(source_.failureCode());
    result_.errorLine = counts.lines + 1;
    return result_;
  }
  log(kLevelSummary, "\nMPS Reader: Initial pass completed in %.2f secs.", clock_.seconds());
  log(kLevelSummary, "\nMPS Reader: Found %u rows, %u columns, %u nonzs", counts.rows, counts.columns,
      counts.nonzeros);
  if (counts.cones)
    log(kLevelSummary, "\nMPS Reader: Found %u cones, %u cone nonzs", counts.cones, counts.coneNonzeros);
  if (counts.sets)
    log(kLevelSummary, "\nMPS Reader: Found %u sets, %u set nonzs", counts.sets, counts.setNonzeros);
  log(kLevelSummary, "\nMPS Reader:");

  // Size everything from the counts. The counts come from a tolerant scan
  // and may be off for broken files; the arrays grow as needed anyway.
  constexpr unsigned kReserveCap = 1u << 26;  // never trust a count beyond this
  auto cap = [&](unsigned v) { return std::min(v, kReserveCap); };
  rowTable_ = NameTable(cap(counts.rows));
  colTable_ = NameTable(cap(counts.columns));
  droppedTable_ = NameTable(0);
  coneTable_ = NameTable(cap(counts.cones));
  setTable_ = NameTable(cap(counts.sets));
  rowNames_.reserve(cap(counts.rows));
  rowTypes_.reserve(cap(counts.rows));
  rhs_.reserve(cap(counts.rows));
  colNames_.reserve(cap(counts.columns));
  colTypes_.reserve(cap(counts.columns));
  cost_.reserve(cap(counts.columns));
  lower_.reserve(cap(counts.columns));
  upper_.reserve(cap(counts.columns));
  colBeg_.reserve(cap(counts.columns) + 1);
  rowIdx_.reserve(cap(counts.nonzeros));
  coef_.reserve(cap(counts.nonzeros));

  if (!lines_.rewind()) {
    fail(source_.failureCode());
    return result_;
  }
  if (parsePass() == 0) finish();
  if (result_.error) {
    result_.errorLine = lineNumber_;
    result_.errorText.assign(line_.substr(0, std::min(line_.size(), kMaxLineLength)));
  }
  result_.lines = lineNumber_;
  return result_;
}

int Reader::parsePass() {
  char* line = nullptr;
  std::size_t len = 0;
  while (lines_.next(line, len)) {
    ++lineNumber_;
    line_ = string_view(line, len);
    if (opt_.printLevel >= kLevelProgress && lineNumber_ % kProgressInterval == 0)
      log(kLevelProgress, "\nMPS Reader: processed %8u lines (state %u) in %.2f secs",
          static_cast<unsigned>(lineNumber_), static_cast<unsigned>(state_), clock_.seconds());
    if (len > 0 && line[0] == '*') continue;
    if (lines_.overlong() || len > kMaxLineLength) return fail();
    std::size_t k = 0;
    while (k < len && isBlank(line[k])) ++k;
    if (k == len) continue;
    bool header = fixed_ ? !std::isspace(static_cast<unsigned char>(line[0]))
                         : std::isalpha(static_cast<unsigned char>(line[0])) != 0;
    int rc = header ? handleHeader(line_) : handleData(line_);
    if (rc) return rc;
  }
  if (lines_.failed()) return fail(source_.failureCode());
  if (state_ != State::kDone) {
    log(kLevelSummary, "\nMPS Reader: Unexpected end of file. ENDATA section missing.");
    return fail();
  }
  return 0;
}

int Reader::handleHeader(string_view line) {
  string_view tok[6];
  int nt = tokenize(line, tok, 6);
  Header h = headerOf(tok[0]);
  // Leaving a cone section checks the cone just read.
  if (state_ == State::kCone && h != Header::kNone) {
    if (int rc = closeCone()) return rc;
  }
  auto goQuad = [&]() { return startQuad(h, line); };
  switch (state_) {
    case State::kStart:
      if (h != Header::kName) return fail();
      if (fixed_ && line.size() > 14 && isBlank(line[13]) && !isBlank(line[14])) {
        // The title field: columns 15-22, or the whole word when it runs on
        // past column 22.
        std::size_t e = 22;
        while (e < line.size() && !isBlank(line[e])) ++e;
        title_.assign(trim(line.substr(14, e - 14)));
      } else if (nt >= 2) {
        title_.assign(tok[1]);
      }
      state_ = State::kAfterName;
      return 0;
    case State::kAfterName:
      if (h == Header::kRows) {
        data_.objSense = 1;
        state_ = State::kRows;
        return 0;
      }
      if (h == Header::kObjSense) {
        state_ = State::kObjSense;
        // A sense on the header line itself is accepted as well.
        if (nt >= 2) {
          Fields f;
          f.f[2] = tok[1];
          return dataObjSense(f);
        }
        return 0;
      }
      return fail();
    case State::kObjSense:
      if (h == Header::kRows && senseGiven_) {
        state_ = State::kRows;
        return 0;
      }
      return fail();
    case State::kRows:
      if (h != Header::kColumns) return fail();
      state_ = State::kColumns;
      colBeg_.push_back(0);
      return 0;
    case State::kColumns:
      if (h == Header::kRhs || h == Header::kRanges || h == Header::kBounds || h == Header::kEndata ||
          isQuadHeader(h) || h == Header::kCSection) {
        if (int rc = endColumns()) return rc;
      }
      switch (h) {
        case Header::kRhs: state_ = State::kRhs; return 0;
        // An empty RHS section may be left out.
        case Header::kRanges: state_ = State::kRanges; return 0;
        case Header::kBounds: state_ = State::kBounds; return 0;
        case Header::kEndata: state_ = State::kDone; return 0;
        case Header::kCSection: return startCone(line);
        default: break;
      }
      if (isQuadHeader(h)) return goQuad();
      return fail();
    case State::kRhs:
      switch (h) {
        case Header::kRanges: state_ = State::kRanges; return 0;
        case Header::kBounds: state_ = State::kBounds; return 0;
        case Header::kEndata: state_ = State::kDone; return 0;
        case Header::kCSection: return startCone(line);
        default: break;
      }
      if (isQuadHeader(h)) return goQuad();
      return fail();
    case State::kRanges:
      switch (h) {
        case Header::kBounds: state_ = State::kBounds; return 0;
        case Header::kEndata: state_ = State::kDone; return 0;
        case Header::kCSection: return startCone(line);
        default: break;
      }
      if (isQuadHeader(h)) return goQuad();
      return 0;  // other header lines are ignored here
    case State::kBounds:
      if (h == Header::kEndata) {
        state_ = State::kDone;
        return 0;
      }
      if (h == Header::kCSection) return startCone(line);
      if (isQuadHeader(h)) return goQuad();
      return fail();
    case State::kQuad:
    case State::kQuadCont:
      switch (h) {
        case Header::kQSection: return goQuad();
        case Header::kRhs: state_ = State::kRhs; return 0;
        case Header::kRanges: state_ = State::kRanges; return 0;
        case Header::kBounds: state_ = State::kBounds; return 0;
        case Header::kEndata: state_ = State::kDone; return 0;
        default: return fail();
      }
    case State::kCone:
      switch (h) {
        case Header::kCSection: return startCone(line);
        case Header::kRhs: state_ = State::kRhs; return 0;
        case Header::kRanges: state_ = State::kRanges; return 0;
        case Header::kBounds: state_ = State::kBounds; return 0;
        case Header::kEndata: state_ = State::kDone; return 0;
        default: return fail();
      }
    case State::kDone:
      return fail();
  }
  return fail();
}

void Reader::splitFixed(string_view line, Fields& fields) {
  std::size_t len = std::min(line.size(), kMaxLineLength);
  std::memcpy(padded_, line.data(), len);
  std::size_t width = std::max(len, kFixedPadWidth);
  std::memset(padded_ + len, ' ', width - len);
  static constexpr std::size_t kStart[7] = {0, 1, 4, 14, 24, 39, 49};
  static constexpr std::size_t kWidth[7] = {0, 2, 8, 8, 12, 8, 12};
  for (int k = 1; k <= 6; ++k) {
    string_view field(padded_ + kStart[k], kWidth[k]);
    // Values keep their blanks (a value must be right-aligned); names are
    // compared without leading and trailing blanks.
    if (k == 4 || k == 6) {
      fields.f[k] = trim(field).empty() ? string_view() : field;
    } else {
      fields.f[k] = trim(field);
    }
  }
}

bool Reader::splitFree(string_view line, Fields& fields) {
  string_view t[6];
  int n = tokenize(line, t, 6);
  auto& f = fields.f;
  switch (state_) {
    case State::kObjSense:
      if (n != 1) return false;
      f[2] = t[0];
      return true;
    case State::kRows:
      if (n != 2) return false;
      f[1] = t[0];
      f[2] = t[1];
      return true;
    case State::kColumns:
      if (n == 3 && t[1] == "'MARKER'") {
        f[2] = t[0];
        f[3] = t[1];
        f[5] = t[2];
      } else if (n == 3) {
        f[2] = t[0], f[3] = t[1], f[4] = t[2];
      } else if (n == 4 && t[2] == "'MARKER'") {
        f[1] = t[0], f[2] = t[1], f[3] = t[2], f[5] = t[3];
      } else if (n == 5) {
        f[2] = t[0], f[3] = t[1], f[4] = t[2], f[5] = t[3], f[6] = t[4];
      } else {
        return false;
      }
      return true;
    case State::kRhs:
    case State::kRanges:
      if (n == 2) {
        f[3] = t[0], f[4] = t[1];
      } else if (n == 3) {
        f[2] = t[0], f[3] = t[1], f[4] = t[2];
      } else if (n == 4) {
        f[3] = t[0], f[4] = t[1], f[5] = t[2], f[6] = t[3];
      } else if (n == 5) {
        f[2] = t[0], f[3] = t[1], f[4] = t[2], f[5] = t[3], f[6] = t[4];
      } else {
        return false;
      }
      return true;
    case State::kBounds: {
      if (n < 2 || n > 4) return false;
      static constexpr string_view kTypes[] = {"UP", "LO", "FX", "UI", "LI",
                                               "BV", "PL", "MI", "FR", "SC"};
      string_view type = t[0];
      if (std::find(std::begin(kTypes), std::end(kTypes), type) == std::end(kTypes)) return false;
      f[1] = type;
      bool valueOptional = type == "FR" || type == "MI" || type == "PL" || type == "BV";
      if (n == 4) {
        f[2] = t[1], f[3] = t[2], f[4] = t[3];
      } else if (n == 2) {
        f[3] = t[1];
      } else if (valueOptional) {
        // Two names after a type without a value: the bound vector and the
        // column, unless the second reads as a number and the first names a
        // known column.
        double v;
        if (parseValue(t[2], v) && colTable_.find(t[1]) >= 0) {
          f[3] = t[1], f[4] = t[2];
        } else {
          f[2] = t[1], f[3] = t[2];
        }
      } else {
        f[3] = t[1], f[4] = t[2];
      }
      return true;
    }
    case State::kQuad:
    case State::kQuadCont:
      if (n != 3) return false;
      f[2] = t[0], f[3] = t[1], f[4] = t[2];
      return true;
    case State::kCone:
      if (n != 1) return false;
      f[2] = t[0];
      return true;
    default:
      return false;
  }
}

void Reader::traceFields(const Fields& fields) {
  std::string text;
  char head[32];
  std::snprintf(head, sizeof head, "\nline%07d:", lineNumber_);
  text = head;
  for (int k = 1; k <= 6; ++k) {
    text.append(fields.f[k]);
    text.push_back(' ');
  }
  opt_.log(text);
}

int Reader::handleData(string_view line) {
  if (state_ == State::kStart || state_ == State::kAfterName || state_ == State::kDone) return fail();
  Fields fields;
  if (fixed_) {
    splitFixed(line, fields);
  } else if (!splitFree(line, fields)) {
    return fail();
  }
  if (opt_.log && opt_.printLevel >= kLevelTrace) traceFields(fields);
  switch (state_) {
    case State::kObjSense: return dataObjSense(fields);
    case State::kRows: return dataRows(fields);
    case State::kColumns: return dataColumns(fields);
    case State::kRhs: return dataRhsRanges(fields, false);
    case State::kRanges: return dataRhsRanges(fields, true);
    case State::kBounds: return dataBounds(fields);
    case State::kQuad:
    case State::kQuadCont: return dataQuad(fields);
    case State::kCone: return dataCone(fields);
    default: return fail();
  }
}

int Reader::dataObjSense(const Fields& fields) {
  string_view word = fields.f[2];
  if (word == "MAX" || word == "MAXIMIZE") {
    data_.objSense = -1;
  } else if (word == "MIN" || word == "MINIMIZE") {
    data_.objSense = 1;
  } else {
    return fail();
  }
  senseGiven_ = true;
  return 0;
}

bool Reader::isRowNameTaken(string_view name) const {
  return rowTable_.find(name) >= 0 || droppedTable_.find(name) >= 0 ||
         (haveObjective_ && name == objName_);
}

int Reader::rowTarget(string_view name) const {
  int row = rowTable_.find(name);
  if (row >= 0) return row;
  if (haveObjective_ && name == objName_) return kObjectiveRow;
  if (droppedTable_.find(name) >= 0) return kDroppedRow;
  return kUnknownRow;
}

int Reader::dataRows(const Fields& fields) {
  if (!fields.has(1) || !fields.has(2) || fields.has(3) || fields.has(4) || fields.has(5) ||
      fields.has(6))
    return fail();
  char type = static_cast<char>(std::toupper(static_cast<unsigned char>(fields.f[1][0])));
  string_view name = fields.f[2];
  if (isRowNameTaken(name)) return fail();
  if (type == 'N') {
    int ordinal = nRowsN_++;
    if (ordinal == opt_.objectiveOrdinal) {
      haveObjective_ = true;
      objName_.assign(name);
      return 0;
    }
    if (!opt_.keepFreeRows) {
      droppedTable_.insert(name, ordinal);
      return 0;
    }
  } else if (type != 'E' && type != 'G' && type != 'L') {
    return fail();
  }
  int index = static_cast<int>(rowNames_.size());
  rowTable_.insert(name, index);
  rowNames_.emplace_back(name);
  rowTypes_.push_back(type);
  rhs_.push_back(0.0);
  return 0;
}

int Reader::addColumn(string_view name, char type) {
  int index = static_cast<int>(colNames_.size());
  if (!colTable_.insert(name, index)) return -1;
  colNames_.emplace_back(name);
  colTypes_.push_back(type);
  cost_.push_back(0.0);
  lower_.push_back(0.0);
  upper_.push_back(state_ == State::kColumns ? opt_.infinity : kInfinity);
  if (state_ != State::kColumns) colBeg_.push_back(static_cast<int>(rowIdx_.size()));
  return index;
}

int Reader::findOrCreateColumn(string_view name) {
  int j = colTable_.find(name);
  if (j >= 0) return j;
  // Created outside COLUMNS: no entries, bounds [0, infinity].
  if (colNames_.capacity() == colNames_.size()) {
    std::size_t grow = colNames_.size() + 100;
    colNames_.reserve(grow);
    colTypes_.reserve(grow);
    cost_.reserve(grow);
    lower_.reserve(grow);
    upper_.reserve(grow);
    colBeg_.reserve(grow + 1);
  }
  return addColumn(name, 'C');
}

int Reader::dataColumns(const Fields& fields) {
  if (fields.f[3] == "'MARKER'") return dataMarker(fields);
  if (!fields.has(2) || !fields.has(3) || !fields.has(4)) return fail();
  if (fields.has(5) != fields.has(6)) return fail();
  string_view column = fields.f[2];
  if (!havePrevColumn_ || column != prevColumn_) {
    char type = intMarker_ ? (compat_ ? 'Z' : 'I') : 'C';
    if (havePrevColumn_) colBeg_.push_back(static_cast<int>(rowIdx_.size()));
    currentColumn_ = addColumn(column, type);
    if (currentColumn_ < 0) return fail();  // not contiguous, or a duplicate
    prevColumn_.assign(column);
    havePrevColumn_ = true;
    if (openSet_ >= 0) setMembers_.emplace_back(currentColumn_, openSet_);
  }
  for (int k = 3; k <= 5; k += 2) {
    if (!fields.has(k)) break;
    double value;
    if (!parseValue(fields.f[k + 1], value)) return fail();
    int row = rowTarget(fields.f[k]);
    if (row >= 0) {
      rowIdx_.push_back(row);
      coef_.push_back(value);
    } else if (row == kObjectiveRow) {
      cost_[static_cast<std::size_t>(currentColumn_)] = value;
    } else if (row == kUnknownRow) {
      return fail();
    }
  }
  return 0;
}

int Reader::dataMarker(const Fields& fields) {
  string_view code = fields.f[1];
  if (!code.empty() && code != "S1" && code != "S2") return fail();
  string_view word = fields.has(5) ? fields.f[5] : trim(fields.f[4]);
  if (word.empty()) return fail();
  if (word == "'INTORG'") {
    intMarker_ = true;
  } else if (word == "'SOSORG'") {
    if (openSet_ < 0) {
      int index = static_cast<int>(setTypes_.size());
      // Named sets must be unique; unnamed ones are simply numbered.
      if (!fields.f[2].empty() && !setTable_.insert(fields.f[2], index)) return fail();
      char type = code == "S1" ? 1 : code == "S2" ? 2 : (compat_ ? 1 : 3);
      if (setTypes_.capacity() == setTypes_.size())
        setTypes_.reserve(setTypes_.size() + 1000 + setTypes_.size() / 10);
      setTypes_.push_back(type);
      openSet_ = index;
    }
  } else if (word == "'SOSEND'") {
    openSet_ = -1;
  } else {
    intMarker_ = false;
  }
  return 0;
}

int Reader::endColumns() {
  // Close the last column; Z columns default to an upper bound of 1.
  if (havePrevColumn_) colBeg_.push_back(static_cast<int>(rowIdx_.size()));
  for (std::size_t j = 0; j < colTypes_.size(); ++j)
    if (colTypes_[j] == 'Z') upper_[j] = 1.0;
  openSet_ = -1;
  intMarker_ = false;
  return 0;
}

int Reader::dataRhsRanges(const Fields& fields, bool ranges) {
  if (!fields.has(3) || !fields.has(4)) return fail();
  if (fields.has(5) != fields.has(6)) return fail();
  bool& haveName = ranges ? haveRngName_ : haveRhsName_;
  std::string& name = ranges ? rngName_ : rhsName_;
  if (!haveName) {
    name.assign(fields.f[2]);
    haveName = true;
  } else if (fields.f[2] != name) {
    return 0;  // another vector: ignored
  }
  for (int k = 3; k <= 5; k += 2) {
    if (!fields.has(k)) break;
    double value;
    if (!parseValue(fields.f[k + 1], value)) return fail();
    int row = rowTarget(fields.f[k]);
    if (ranges) {
      if (row < 0) return fail();
      if (rangeValue_.empty()) {
        rangeValue_.assign(rowNames_.size(), 0.0);
        ranged_.assign(rowNames_.size(), 0);
      }
      rangeValue_[static_cast<std::size_t>(row)] = value;
      ranged_[static_cast<std::size_t>(row)] = 1;
    } else if (row >= 0) {
      rhs_[static_cast<std::size_t>(row)] = value;
    } else if (row == kObjectiveRow) {
      data_.objConst = -value;
      log(kLevelWarning,
          "\nMPS Warning: Objective function has a constant term of %g\nMPS Warning: TORVA API "
          "accounts for this term when reporting the objective value.\nMPS Warning: Third-party "
          "solvers may ignore such constant terms.\n",
          data_.objConst);
    } else if (row == kUnknownRow) {
      return fail();
    }
  }
  return 0;
}

int Reader::dataBounds(const Fields& fields) {
  if (!fields.has(1) || !fields.has(3)) return fail();
  char typeText[3] = {0, 0, 0};
  for (std::size_t k = 0; k < fields.f[1].size() && k < 2; ++k)
    typeText[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(fields.f[1][k])));
  string_view type(typeText, std::strlen(typeText));
  static constexpr string_view kKnown[] = {"UP", "LO", "FX", "FR", "MI",
                                           "PL", "BV", "LI", "UI", "SC"};
  if (std::find(std::begin(kKnown), std::end(kKnown), type) == std::end(kKnown)) return 0;
  if (!haveBndName_) {
    bndName_.assign(fields.f[2]);
    haveBndName_ = true;
  } else if (fields.f[2] != bndName_) {
    return 0;  // another bound vector: ignored
  }
  double value = 0.0;
  if (fields.has(4) && !parseValue(fields.f[4], value)) return fail();
  int j = findOrCreateColumn(fields.f[3]);
  if (j < 0) return fail();
  auto uj = static_cast<std::size_t>(j);
  if (isSc_.size() < colNames_.size()) {
    isSc_.resize(colNames_.size(), 0);
    scLevel_.resize(colNames_.size(), 0.0);
  }
  bool sc = isSc_[uj] != 0;
  char& ctype = colTypes_[uj];
  if (sc && (type == "UP" || type == "FX" || type == "FR" || type == "MI" || type == "PL" ||
             type == "BV" || type == "UI"))
    return fail();
  if (ctype == 'Z' && type != "SC" && type != "BV") ctype = 'I';
  if (type == "UP") {
    // A negative upper bound leaves the lower bound as it is: a file that
    // wants the column unbounded below says so with MI or LO.
    upper_[uj] = value > kUpperInfinityThreshold ? kInfinity : value;
  } else if (type == "LO") {
    if (sc) {
      if (value < 0.0) return fail();
      scLevel_[uj] = value;
    } else {
      lower_[uj] = value;
    }
  } else if (type == "FX") {
    lower_[uj] = upper_[uj] = value;
  } else if (type == "FR") {
    lower_[uj] = -kInfinity;
    upper_[uj] = kInfinity;
  } else if (type == "MI") {
    lower_[uj] = -kInfinity;
  } else if (type == "PL") {
    upper_[uj] = kInfinity;
  } else if (type == "BV") {
    lower_[uj] = 0.0;
    upper_[uj] = 1.0;
    ctype = 'B';
  } else if (type == "LI") {
    double r = std::floor(value);
    double bound = (value - r > kIntegralityTolerance && r + 1.0 - value > kIntegralityTolerance) ? r : value;
    // On a semi-continuous column it is the lower level, as LO is.
    if (sc) {
      if (bound < 0.0) return fail();
      scLevel_[uj] = bound;
    } else {
      lower_[uj] = bound;
    }
    ctype = 'I';
  } else if (type == "UI") {
    double r = std::ceil(value);
    upper_[uj] = (r - value > kIntegralityTolerance && value - (r - 1.0) > kIntegralityTolerance) ? r : value;
    ctype = 'I';
  } else if (type == "SC") {
    if (value == 0.0) {
      // Fixed at zero: no longer semi-continuous (an earlier SC line is
      // overridden), so its level cannot outlive the bounds.
      lower_[uj] = upper_[uj] = 0.0;
      isSc_[uj] = 0;
      scLevel_[uj] = 0.0;
    } else {
      if (value < 0.0) return fail();
      isSc_[uj] = 1;
      lower_[uj] = 0.0;
      upper_[uj] = value;
      scLevel_[uj] = std::min(value, 1.0);
      // The bound rules say nothing of the type here; integrality stays. A
      // binary column whose new upper bound is beyond 1 is no longer
      // binary but remains integer.
      if (ctype == 'B' && value > 1.0) ctype = 'I';
    }
  }
  return 0;
}

int Reader::startQuad(Header header, string_view line) {
  string_view tok[6];
  int nt = tokenize(line, tok, 6);
  if (header == Header::kQuads || header == Header::kQuadObj ||
      (header == Header::kQMatrix && nt < 2)) {
    quadRow_ = kObjectiveRow;
  } else {
    if (nt < 2) return fail();  // QSECTION needs a row name
    int row = rowTarget(tok[1]);
    if (row == kUnknownRow) return fail();
    quadRow_ = row;
  }
  state_ = state_ == State::kQuad ? State::kQuadCont : State::kQuad;
  return 0;
}

int Reader::dataQuad(const Fields& fields) {
  if (!fields.has(2) || !fields.has(3) || !fields.has(4)) return fail();
  double value;
  if (!parseValue(fields.f[4], value)) return fail();
  int a = findOrCreateColumn(fields.f[2]);
  if (a < 0) return fail();
  int b = findOrCreateColumn(fields.f[3]);
  if (b < 0) return fail();
  if (quadRow_ == kDroppedRow) return 0;
  qRow_.push_back(quadRow_);
  qCol1_.push_back(std::max(a, b));
  qCol2_.push_back(std::min(a, b));
  qCoef_.push_back(value);
  return 0;
}

int Reader::startCone(string_view line) {
  string_view tok[6];
  int nt = tokenize(line, tok, 6);
  if (nt != 4) return fail();
  char type;
  if (tok[3] == "QUAD") {
    type = 'Q';
  } else if (tok[3] == "RQUAD") {
    type = 'R';
  } else {
    return fail();
  }
  int index = static_cast<int>(coneTypes_.size());
  if (!coneTable_.insert(tok[1], index)) return fail();
  coneNames_.emplace_back(tok[1]);
  coneTypes_.push_back(type);
  coneBeg_.push_back(static_cast<int>(coneCols_.size()));
  coneOpen_ = true;
  state_ = State::kCone;
  return 0;
}

int Reader::closeCone() {
  if (!coneOpen_) return 0;
  coneOpen_ = false;
  int members = static_cast<int>(coneCols_.size()) - coneBeg_.back();
  char type = coneTypes_.back();
  if ((type == 'Q' && members < 1) || (type == 'R' && members < 2)) return fail();
  return 0;
}

int Reader::dataCone(const Fields& fields) {
  if (!fields.has(2)) return fail();
  int j = findOrCreateColumn(fields.f[2]);
  if (j < 0) return fail();
  coneCols_.push_back(j);
  return 0;
}

int Reader::finish() {
  const int m = static_cast<int>(rowNames_.size());
  int n = static_cast<int>(colNames_.size());
  if (static_cast<int>(colBeg_.size()) < n + 1) colBeg_.resize(static_cast<std::size_t>(n) + 1,
                                                            static_cast<int>(rowIdx_.size()));
  if (colBeg_.empty()) colBeg_.push_back(0);

  // Duplicate entries of a row within a column: the first one stays.
  {
    std::vector<int> mark(static_cast<std::size_t>(m), -1);
    int out = 0;
    int begin = 0;
    for (int j = 0; j < n; ++j) {
      int end = colBeg_[static_cast<std::size_t>(j) + 1];
      int start = out;
      for (int k = begin; k < end; ++k) {
        int r = rowIdx_[static_cast<std::size_t>(k)];
        if (mark[static_cast<std::size_t>(r)] == j) continue;
        mark[static_cast<std::size_t>(r)] = j;
        rowIdx_[static_cast<std::size_t>(out)] = r;
        coef_[static_cast<std::size_t>(out)] = coef_[static_cast<std::size_t>(k)];
        ++out;
      }
      begin = end;
      colBeg_[static_cast<std::size_t>(j)] = start;
      colBeg_[static_cast<std::size_t>(j) + 1] = out;
    }
    rowIdx_.resize(static_cast<std::size_t>(out));
    coef_.resize(static_cast<std::size_t>(out));
  }

  // Marker integers still waiting for bounds.
  for (int j = 0; j < n; ++j) {
    char& t = colTypes_[static_cast<std::size_t>(j)];
    if (t == 'Z') t = (lower_[static_cast<std::size_t>(j)] == 0.0 && upper_[static_cast<std::size_t>(j)] == 1.0) ? 'B' : 'I';
  }

  // A column may belong to one cone only.
  if (!coneCols_.empty()) {
    std::vector<char> inCone(static_cast<std::size_t>(n), 0);
    for (int j : coneCols_) {
      if (inCone[static_cast<std::size_t>(j)]) {
        log(kLevelAlways, "\nMPS Reader: Invalid cone mark.");
        return fail();
      }
      inCone[static_cast<std::size_t>(j)] = 1;
    }
  }
  if (!coneCols_.empty() && !qRow_.empty()) return fail();  // both cannot be loaded

  // Ranged rows become equalities with a slack column each.
  int slackCount = 0;
  if (!rangeValue_.empty()) {
    for (int i = 0; i < m; ++i) {
      auto ui = static_cast<std::size_t>(i);
      double r = rangeValue_[ui];
      if (!ranged_[ui] && r == 0.0) continue;
      char& t = rowTypes_[ui];
      double coefficient, bound;
      if (t == 'L') {
        coefficient = 1.0, bound = std::fabs(r);
      } else if (t == 'G') {
        coefficient = -1.0, bound = std::fabs(r);
      } else if (t == 'E' && r > 0.0) {
        coefficient = -1.0, bound = r;
      } else if (t == 'E' && r < 0.0) {
        coefficient = 1.0, bound = -r;
      } else {
        continue;
      }
      char name[32];
      std::snprintf(name, sizeof name, "slk%05d", slackCount++);
      colNames_.emplace_back(name);
      colTypes_.push_back('C');
      cost_.push_back(0.0);
      lower_.push_back(0.0);
      upper_.push_back(bound);
      rowIdx_.push_back(i);
      coef_.push_back(coefficient);
      colBeg_.push_back(static_cast<int>(rowIdx_.size()));
      t = 'E';
    }
  }
  n = static_cast<int>(colNames_.size());

  // Sets, members grouped by set in the order they were met.
  const int nSets = static_cast<int>(setTypes_.size());
  std::vector<int> setBeg(static_cast<std::size_t>(nSets) + 1, 0);
  for (auto [col, set] : setMembers_) ++setBeg[static_cast<std::size_t>(set) + 1];
  for (int s = 0; s < nSets; ++s) setBeg[static_cast<std::size_t>(s) + 1] += setBeg[static_cast<std::size_t>(s)];
  std::vector<int> setCols(setMembers_.size());
  {
    std::vector<int> fill(setBeg.begin(), setBeg.end() - 1);
    for (auto [col, set] : setMembers_) setCols[static_cast<std::size_t>(fill[static_cast<std::size_t>(set)]++)] = col;
  }
  for (int s = 0; s < nSets; ++s) {
    int members = setBeg[static_cast<std::size_t>(s) + 1] - setBeg[static_cast<std::size_t>(s)];
    if (members < (setTypes_[static_cast<std::size_t>(s)] == 2 ? 2 : 1)) return fail();
  }

  // Hand everything over.
  MpsData& d = data_;
  d.title = std::move(title_);
  d.objName = haveObjective_ ? std::move(objName_) : std::string();
  d.rhsName = std::move(rhsName_);
  d.rngName = std::move(rngName_);
  d.bndName = std::move(bndName_);
  d.m = m;
  d.n = n;
  d.cost = std::move(cost_);
  d.rhs = std::move(rhs_);
  d.conTypes = std::move(rowTypes_);
  d.colBeg = std::move(colBeg_);
  d.rowIdx = std::move(rowIdx_);
  d.coef = std::move(coef_);
  d.lower = std::move(lower_);
  d.upper = std::move(upper_);
  if (colTypes_.find_first_not_of('C') != std::string::npos) d.varTypes = std::move(colTypes_);
  d.rowNames = std::move(rowNames_);
  d.colNames = std::move(colNames_);
  d.coneNames = std::move(coneNames_);
  for (std::size_t j = 0; j < isSc_.size(); ++j) {
    if (!isSc_[j]) continue;
    d.scVars.push_back(static_cast<int>(j));
    d.scLower.push_back(scLevel_[j]);
    d.scUpper.push_back(d.upper[j]);
  }
  d.setTypes = std::move(setTypes_);
  d.setCard.assign(static_cast<std::size_t>(nSets), 0);
  d.setBeg = std::move(setBeg);
  d.setCols = std::move(setCols);
  if (nSets == 0) d.setBeg.clear();
  d.coneTypes = std::move(coneTypes_);
  d.coneBeg = std::move(coneBeg_);
  if (!d.coneTypes.empty()) d.coneBeg.push_back(static_cast<int>(coneCols_.size()));
  d.coneCols = std::move(coneCols_);
  d.qcRow = std::move(qRow_);
  d.qcCol1 = std::move(qCol1_);
  d.qcCol2 = std::move(qCol2_);
  d.qcCoef = std::move(qCoef_);
  return 0;
}

}  // namespace

MpsReadResult readMps(ByteSource& source, const MpsReadOptions& options, MpsData& data) {
  data = MpsData();
  Reader reader(source, options, data);
  return reader.run();
}

}  // namespace torva
