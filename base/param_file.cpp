#include "base/param_file.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/log.hpp"

namespace torva::paramfile {

namespace {

// Version identifiers (read only) are not written to parameter files.
constexpr int kFirstVersionId = 990;
constexpr int kLastVersionId = 999;

bool isVersion(int id) { return id >= kFirstVersionId && id <= kLastVersionId; }

const char* const kBang79 =
    "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!";

const char* const kHeaderLines[] = {
    kBang79,
    "!",
    "! This is the parameter file for use with TORVA API. Each line contains",
    "! a parameter setting, where by default, all values are commented out with <!>",
    "! character. To enable a particular parameter setting, simply remove the <!>",
    "! character in front of it.",
    "!",
    "! You can use QXreadModelParameter() and/or QXreadEnvParameter() functions",
    "! to read parameter settings into your application.",
    "!",
    "! <runtorva.exe> driver program reads <torva.par> file.",
    "!",
    kBang79,
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// After leading white space, the name and then optional white space and '=';
// returns the position after '=' or null.
const char* afterEquals(const char* line, const char* name) noexcept {
  while (isBlank(*line)) ++line;
  const std::size_t len = std::strlen(name);
  if (len == 0 || std::strncmp(line, name, len) != 0) return nullptr;
  line += len;
  while (isBlank(*line)) ++line;
  if (*line != '=') return nullptr;
  return line + 1;
}

// Reads v as a row value from a level: int or double by the row's size.
bool readValue(const Row& row, Level& level, Value* v) {
  v->isInt = row.size == 4;
  return v->isInt ? level.getInt(row.id, &v->i) == 0 : level.getDou(row.id, &v->d) == 0;
}

bool currentValue(const Row& row, Level& current, Level& fallback, SpecialGetter special,
                  void* context, Value* v, bool* fromFallback) {
  *fromFallback = false;
  if (special && special(row.id, v, context)) return true;
  if (readValue(row, current, v)) return true;
  *fromFallback = true;
  return readValue(row, fallback, v);
}

std::string valueLine(const Row& row, const Value& v) {
  return v.isInt ? format("%-*s = %d", kNameWidth, row.name, v.i)
                 : format("%-*s = %g", kNameWidth, row.name, v.d);
}

bool sameValue(const Value& a, const Value& b) {
  if (a.isInt) return a.i == b.i;
  if (a.d == b.d) return true;  // also equal infinities
  return std::fabs(a.d - b.d) <= kSameValueTol;
}

// One setting line of a file for a row; lines longer than the limit are read
// in pieces, each taken as a line of its own.
struct Match {
  bool found = false;
  Value value;
};

int findSetting(const char* file, const Row& row, Match* match) {
  File f(std::fopen(file, "r"));
  if (!f) return QXERR_CANNOT_OPEN_FILE;
  char line[kMaxLineLength + 1];
  match->found = false;
  match->value.isInt = row.size == 4;
  while (std::fgets(line, sizeof line, f.get())) {
    const bool hit = match->value.isInt ? matchInt(line, row.name, &match->value.i)
                                        : matchDou(line, row.name, &match->value.d);
    if (hit) {
      match->found = true;
      break;
    }
  }
  return 0;
}

}  // namespace

bool readsAsNumber(const char* arg) noexcept {
  if (!arg) return false;
  while (*arg == ' ' || *arg == '\t') ++arg;
  if (!*arg) return false;
  for (; *arg; ++arg) {
    const char c = *arg;
    const bool ok = std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' ||
                    c == '.' || c == 'e' || c == 'E' || c == 'd' || c == 'D';
    if (!ok) return false;
  }
  return true;
}

std::string csvLogName(const std::string& arg) {
  // The blanks in front of the number are not part of the name.
  const std::size_t first = arg.find_first_not_of(" \t");
  const std::string name = first == std::string::npos ? std::string() : arg.substr(first);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return name + ".param.csv";
  return name.substr(0, dot) + ".param.csv";
}

void writeHeader(std::FILE* f) {
  for (const char* line : kHeaderLines) std::fprintf(f, "%s\n", line);
}

void writeDescription(std::FILE* f, const char* text) {
  if (!text || !*text) return;
  const char* p = text;
  while (*p) {
    const char* end = std::strchr(p, '\n');
    const std::size_t len = end ? static_cast<std::size_t>(end - p) : std::strlen(p);
    std::fprintf(f, "!%.*s\n", static_cast<int>(len), p);
    if (!end) break;
    p = end + 1;
  }
}

bool matchInt(const char* line, const char* name, int* value) noexcept {
  const char* p = afterEquals(line, name);
  if (!p) return false;
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(p, &end, 10);
  if (end == p || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
  *value = static_cast<int>(v);
  return true;
}

bool matchDou(const char* line, const char* name, double* value) noexcept {
  const char* p = afterEquals(line, name);
  if (!p) return false;
  char* end = nullptr;
  const double v = std::strtod(p, &end);
  if (end == p) return false;
  *value = v;
  return true;
}

void writeModelEntries(std::FILE* f, std::span<const Row> rows, Level& current, Level& fallback,
                       Level& defaults, SpecialGetter special, void* specialContext) {
  for (const Row& row : rows) {
    if (isVersion(row.id)) continue;
    Value v;
    bool fromFallback = false;
    if (!currentValue(row, current, fallback, special, specialContext, &v, &fromFallback))
      continue;  // neither level holds the parameter
    Value def;
    const bool isDefault = readValue(row, defaults, &def) && sameValue(v, def);
    writeDescription(f, row.text);
    const char* comment = isDefault || fromFallback ? "!" : "";
    std::fprintf(f, "%s%s\n\n\n", comment, valueLine(row, v).c_str());
  }
}

void writeEnvEntries(std::FILE* f, std::span<const Row> rows, Level& env) {
  for (const Row& row : rows) {
    if (isVersion(row.id)) continue;
    Value v;
    if (!readValue(row, env, &v)) continue;
    writeDescription(f, row.text);
    std::fprintf(f, "!%s\n\n\n", valueLine(row, v).c_str());
  }
}

void writeCsv(std::FILE* f, std::span<const Row> rows, Level& current, Level& fallback,
              SpecialGetter special, void* specialContext) {
  std::string names;
  std::string values;
  for (const Row& row : rows) {
    if (isVersion(row.id)) continue;
    Value v;
    bool fromFallback = false;
    if (!currentValue(row, current, fallback, special, specialContext, &v, &fromFallback))
      continue;
    names += row.name;
    names += ',';
    values += v.isInt ? format("%d,", v.i) : format("%g,", v.d);
  }
  std::fprintf(f, "%s\n%s\n", names.c_str(), values.c_str());
}

int loadSettings(const char* file, std::span<const Row> rows, Level& level, bool isModel,
                 int* setCount) {
  for (const Row& row : rows) {
    if (row.size != 4 && row.size != 8) return QXERR_INDEX_OUT_OF_RANGE;
    Match match;
    if (int rc = findSetting(file, row, &match)) return rc;
    if (!match.found) continue;
    const Value& v = match.value;
    const int rc = v.isInt ? level.setInt(row.id, v.i) : level.setDou(row.id, v.d);
    if (rc != 0 && rc != QXERR_UNABLE_TO_SET_PARAM) {
      if (level.hasLog()) {
        if (isModel)
          level.log(v.isInt ? format("\n*** Warning: Model failed to set %s to %d\n", row.name, v.i)
                            : format("\n*** Warning: Model failed to set %s to %g\n", row.name, v.d));
        else
          level.log(v.isInt ? format("*** Warning: Env failed to set %s to %d\n", row.name, v.i)
                            : format("*** Warning: Env failed to set %s to %g\n", row.name, v.d));
        level.log(level.errorText(rc));
      }
      continue;
    }
    if (rc == 0) ++*setCount;
    if (row.text && *row.text && level.hasLog()) {
      Value now;
      if (readValue(row, level, &now))
        level.log(now.isInt ? format("\n%s: %d", row.text, now.i)
                            : format("\n%s: %2.1e", row.text, now.d));
    }
  }
  return 0;
}

void writeAsciiDoc(std::FILE* f, std::span<const Row> rows) {
  std::fprintf(f, "[cols=\"3*\", options=\"header\"] \n");
  std::fprintf(f, "|===\n");
  std::fprintf(f, "|Name |Available for| Description \n");
  for (const Row& row : rows) {
    const char* scope = row.scope == 3   ? "Environment,Model"
                        : row.scope == 1 ? "Environment"
                        : row.scope == 2 ? "Model"
                                         : "";
    std::fprintf(f, "|%s\n", row.name);
    std::fprintf(f, "|%s\n", scope);
    std::fprintf(f, "|\n");
    if (row.text && *row.text) {
      const char* p = row.text;
      while (*p) {
        const char* end = std::strchr(p, '\n');
        const std::size_t len = end ? static_cast<std::size_t>(end - p) : std::strlen(p);
        std::fprintf(f, "%.*s\n", static_cast<int>(len), p);
        if (!end) break;
        p = end + 1;
      }
    }
    std::fprintf(f, "\n");
  }
  std::fprintf(f, "|===\n");
}

}  // namespace torva::paramfile
