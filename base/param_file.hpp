// Parameter files: writing every parameter with its description as a
// self-documenting text file, reading settings back, the two-line CSV log of a
// model's parameters and the AsciiDoc table of all parameters.
#pragma once

#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "torva.h"

namespace torva::paramfile {

// Longest line a reader looks at, terminator excluded.
inline constexpr int kMaxLineLength = 255;
// Width of the macro-name column of a setting line.
inline constexpr int kNameWidth = 42;
// Two double values count as equal (a value line stays commented) when they
// differ by at most the machine epsilon of IEEE doubles, in absolute terms.
// The absolute rule is the documented file contract; it only merges settings
// that "%g" could not tell apart anyway, except for the few tolerances whose
// default is itself of the order of 1e-16.
inline constexpr double kSameValueTol = 2.220446049250313e-16;

// One row of a parameter table as the files see it: identifier, macro name,
// description (long or short by use; may be empty), value size (4 int,
// 8 double) and scope (1 environment, 2 model, 3 both).
struct Row {
  int id = 0;
  const char* name = "";
  const char* text = "";
  int size = 4;
  int scope = 3;
};

// One level (a model or an environment) as the files see it.
class Level {
 public:
  virtual ~Level() = default;
  virtual int getInt(int id, int* value) = 0;
  virtual int getDou(int id, double* value) = 0;
  virtual int setInt(int id, int value) = 0;
  virtual int setDou(int id, double value) = 0;
  // Passes one message to the level's log function, if any.
  virtual void log(const std::string& text) = 0;
  virtual bool hasLog() const = 0;
  // Text of an error code.
  virtual std::string errorText(int code) = 0;
};

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whether the file argument reads as a number: after leading blanks, only
// digits, '+', '-', '.', 'e', 'E', 'd' and 'D' (and at least one character).
bool readsAsNumber(const char* arg) noexcept;
// Name of the CSV log for a numeric file argument (leading blanks dropped):
// its extension replaced by ".param.csv", or ".param.csv" appended when it
// has no '.'.
std::string csvLogName(const std::string& arg);

// The thirteen header lines of a parameter file.
void writeHeader(std::FILE* f);
// A description as comment lines, "!" before each of its lines.
void writeDescription(std::FILE* f, const char* text);

// Parses one setting line for name: after leading white space the name,
// optional white space, '=', optional white space and a value. True when the
// line matches; the value is stored through value.
bool matchInt(const char* line, const char* name, int* value) noexcept;
bool matchDou(const char* line, const char* name, double* value) noexcept;

// The value a row has on a level: int or double by the row's size.
struct Value {
  bool isInt = true;
  int i = 0;
  double d = 0;
};

// Writes the entries of a model's parameter file (after the header). current
// gives the values, fallback (the environment) is asked when current cannot
// answer, and defaults (a fresh model) decides which lines stay commented.
// special answers rows that bypass the level getters (returns true when it
// answered).
using SpecialGetter = bool (*)(int id, Value* value, void* context);
void writeModelEntries(std::FILE* f, std::span<const Row> rows, Level& current, Level& fallback,
                       Level& defaults, SpecialGetter special = nullptr,
                       void* specialContext = nullptr);
// The entries of an environment's file: every value line commented.
void writeEnvEntries(std::FILE* f, std::span<const Row> rows, Level& env);
// The CSV log: the names, each followed by ",", then the values.
void writeCsv(std::FILE* f, std::span<const Row> rows, Level& current, Level& fallback,
              SpecialGetter special = nullptr, void* specialContext = nullptr);

// Reads the rows' settings from file into level with the reading rules of
// QXloadModelParameter (first matching line wins, commented lines never
// match), logging each value set and each failure. *setCount is increased
// by the number of parameters set. Returns 0, QXERR_CANNOT_OPEN_FILE, or
// QXERR_INDEX_OUT_OF_RANGE for a row whose size is neither 4 nor 8.
int loadSettings(const char* file, std::span<const Row> rows, Level& level, bool isModel,
                 int* setCount);

// The AsciiDoc table of rows.
void writeAsciiDoc(std::FILE* f, std::span<const Row> rows);

}  // namespace torva::paramfile
