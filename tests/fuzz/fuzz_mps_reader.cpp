// libFuzzer target for the MPS reader and writer (built by
// scripts/fuzz-mps.sh, not by the default build). The first input byte picks
// the mode. In file mode (bit 4 clear) its low bits pick the format and
// options and the rest is the file; a file that reads is written in both
// forms, and the free form must read back to the same model whenever every
// name is a plain word. In model mode (bit 4 set) the rest describes a model
// column by column (type, bounds, semi-continuity, set membership), which is
// written in both forms and must read back the same from each.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "io/mps_data.hpp"
#include "io/mps_reader.hpp"
#include "io/mps_writer.hpp"
#include "io/text_io.hpp"

namespace {

// Relative tolerance of a value after writing in free format (22 characters
// keep at least 15 significant digits even with a three-digit exponent).
constexpr double kValueTolerance = 1e-14;

bool plainWord(const std::string& s) {
  if (s.empty()) return false;
  for (unsigned char c : s)
    if (!(std::isalnum(c) || c == '_' || c == '.')) return false;
  return true;
}

bool plainNames(const torva::MpsData& d) {
  if (!plainWord(d.objName) || (!d.title.empty() && !plainWord(d.title))) return false;
  for (const auto* list : {&d.rowNames, &d.colNames, &d.coneNames})
    for (const auto& name : *list)
      if (!plainWord(name) || name == "OBJ") return false;
  return true;
}

bool close(double a, double b) {
  if (a == b) return true;
  return std::fabs(a - b) <= kValueTolerance * std::max(std::fabs(a), std::fabs(b));
}

template <class T>
bool closeAll(const std::vector<T>& a, const std::vector<T>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (!close(static_cast<double>(a[k]), static_cast<double>(b[k]))) return false;
  return true;
}

// Quadratic terms grouped by row, objective first, file order within a row:
// the order the model store keeps and the writer writes.
std::vector<std::tuple<int, int, int, double>> groupedTerms(const torva::MpsData& d) {
  std::vector<std::tuple<int, int, int, double>> terms;
  for (std::size_t k = 0; k < d.qcRow.size(); ++k)
    terms.emplace_back(d.qcRow[k], d.qcCol1[k], d.qcCol2[k], d.qcCoef[k]);
  std::stable_sort(terms.begin(), terms.end(),
                   [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
  return terms;
}

bool sameTerms(const torva::MpsData& a, const torva::MpsData& b) {
  auto x = groupedTerms(a), y = groupedTerms(b);
  if (x.size() != y.size()) return false;
  for (std::size_t k = 0; k < x.size(); ++k) {
    if (std::get<0>(x[k]) != std::get<0>(y[k]) || std::get<1>(x[k]) != std::get<1>(y[k]) ||
        std::get<2>(x[k]) != std::get<2>(y[k]) || !close(std::get<3>(x[k]), std::get<3>(y[k])))
      return false;
  }
  return true;
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "round trip differs: %s\n", what);
    std::abort();
  }
}

void compare(const torva::MpsData& data, const torva::MpsData& back) {
  check(back.m == data.m && back.n == data.n, "sizes");
  check(back.objSense == data.objSense && close(back.objConst, data.objConst), "objective");
  check(closeAll(back.cost, data.cost) && closeAll(back.rhs, data.rhs), "cost or rhs");
  check(back.conTypes == data.conTypes, "row types");
  check(back.colBeg == data.colBeg && back.rowIdx == data.rowIdx && closeAll(back.coef, data.coef), "matrix");
  check(closeAll(back.lower, data.lower) && closeAll(back.upper, data.upper), "bounds");
  check(back.varTypes == data.varTypes, "types");
  check(back.rowNames == data.rowNames && back.colNames == data.colNames, "names");
  check(back.scVars == data.scVars && closeAll(back.scLower, data.scLower), "semi-continuous");
  check(back.setTypes == data.setTypes && back.setCols == data.setCols, "sets");
  check(back.coneTypes == data.coneTypes && back.coneCols == data.coneCols, "cones");
  check(sameTerms(back, data), "quadratic terms");
}

std::string writeText(const torva::MpsData& data, bool fixed) {
  std::string text;
  torva::TextSink sink(&text);
  torva::MpsWriteOptions w;
  w.fixed = fixed;
  w.objWriteStyle = torva::kMpsMaxCard;
  check(torva::writeMps(data, w, sink) == 0, "writing");
  sink.close();
  return text;
}

// Bound patterns a column can take, as the reader leaves them: continuous
// and integer columns use every pattern, binary ones those within [0, 1].
struct BoundPattern {
  double lower, upper;
  bool semiContinuous;
  double level;  // lower level of a semi-continuous column
};
constexpr double kInf = 1e30;
constexpr BoundPattern kGeneralBounds[] = {
    {0, kInf, false, 0}, {0, 7.5, false, 0},   {-2.5, 3, false, 0}, {2, 2, false, 0},
    {-kInf, kInf, false, 0}, {-kInf, 4, false, 0}, {1.5, kInf, false, 0}, {0, -3, false, 0},
    {0, 0, false, 0}, {0, 4, true, 1}, {0, 4, true, 0.5}, {0, 0.5, true, 0.5}, {0, 4, true, 0}};
constexpr BoundPattern kBinaryBounds[] = {
    {0, 1, false, 0}, {1, 1, false, 0}, {0, 0, false, 0}, {0, 1, true, 1}, {0, 1, true, 0.25}};

// Builds a model of up to 16 columns from 3 bytes per column: the type, the
// bound pattern and the set membership (none, continue the open set, or
// open a set of type 1, 2 or 3). One L row holds every column.
torva::MpsData modelFromBytes(const std::uint8_t* bytes, std::size_t size) {
  torva::MpsData d;
  d.m = 1;
  d.rhs = {10};
  d.conTypes = "L";
  d.rowNames = {"r"};
  d.objName = "obj";
  d.title = "fuzz";
  d.colBeg = {0};
  std::string types;
  int openSet = -1;
  const std::size_t n = std::min<std::size_t>(size / 3, 16);
  for (std::size_t j = 0; j < n; ++j) {
    const std::uint8_t* b = bytes + 3 * j;
    const char type = "CIB"[b[0] % 3];
    const BoundPattern& p = type == 'B' ? kBinaryBounds[b[1] % std::size(kBinaryBounds)]
                                        : kGeneralBounds[b[1] % std::size(kGeneralBounds)];
    const int col = static_cast<int>(j);
    types += type;
    d.colNames.push_back("x" + std::to_string(j));
    d.cost.push_back(static_cast<double>(j) - 3.5);
    d.rowIdx.push_back(0);
    d.coef.push_back(1.0 + static_cast<double>(j));
    d.colBeg.push_back(col + 1);
    d.lower.push_back(p.lower);
    d.upper.push_back(p.upper);
    if (p.semiContinuous) {
      d.scVars.push_back(col);
      d.scLower.push_back(p.level);
      d.scUpper.push_back(p.upper);
    }
    const int membership = b[2] % 5;  // 0 none, 1 continue, 2..4 open type 1..3
    if (membership == 0 || (membership == 1 && openSet < 0)) {
      openSet = -1;
    } else {
      if (membership >= 2) {
        openSet = d.numSets();
        d.setTypes += static_cast<char>(membership - 1);
        d.setCard.push_back(0);
        d.setBeg.push_back(static_cast<int>(d.setCols.size()));
      }
      d.setCols.push_back(col);
    }
  }
  d.n = static_cast<int>(n);
  if (!d.setTypes.empty()) d.setBeg.push_back(static_cast<int>(d.setCols.size()));
  // A set of type 2 needs two members to be read; make lone ones type 1.
  for (int s = 0; s < d.numSets(); ++s)
    if (d.setTypes[static_cast<std::size_t>(s)] == 2 &&
        d.setBeg[static_cast<std::size_t>(s) + 1] - d.setBeg[static_cast<std::size_t>(s)] < 2)
      d.setTypes[static_cast<std::size_t>(s)] = 1;
  if (types.find_first_not_of('C') != std::string::npos) d.varTypes = types;
  return d;
}

void roundTripModel(const std::uint8_t* bytes, std::size_t size) {
  const torva::MpsData data = modelFromBytes(bytes, size);
  for (bool fixed : {true, false}) {
    const std::string text = writeText(data, fixed);
    auto source = torva::memorySource(text);
    torva::MpsReadOptions options;
    options.format = fixed ? torva::kMpsFixed : torva::kMpsFree;
    torva::MpsData back;
    torva::MpsReadResult result = torva::readMps(*source, options, back);
    if (result.error) {
      std::fprintf(stderr, "line %d: %s\n%s", result.errorLine, result.errorText.c_str(), text.c_str());
      check(false, "written model does not read back");
    }
    check(closeAll(back.scUpper, data.scUpper), "semi-continuous upper bounds");
    compare(data, back);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  if (bytes[0] & 0x10) {
    roundTripModel(bytes + 1, size - 1);
    return 0;
  }
  const int format = bytes[0] & 3;
  const int ordinal = (bytes[0] >> 2) & 1;
  const bool keep = (bytes[0] >> 3) & 1;
  std::string_view text(reinterpret_cast<const char*>(bytes + 1), size - 1);

  auto source = torva::memorySource(text);
  torva::MpsReadOptions options;
  options.format = format;
  options.objectiveOrdinal = ordinal;
  options.keepFreeRows = keep;
  options.printLevel = 10;
  std::size_t logged = 0;
  options.log = [&logged](const std::string& line) { logged += line.size(); };
  torva::MpsData data;
  torva::MpsReadResult result = torva::readMps(*source, options, data);
  if (result.error) return 0;

  std::string fixedText, freeText;
  {
    torva::TextSink sink(&fixedText);
    torva::MpsWriteOptions w;
    w.fixed = true;
    w.objWriteStyle = torva::kMpsMaxCard;
    torva::writeMps(data, w, sink);
    sink.close();
  }
  {
    torva::TextSink sink(&freeText);
    torva::MpsWriteOptions w;
    w.fixed = false;
    w.objWriteStyle = torva::kMpsMaxCard;
    torva::writeMps(data, w, sink);
    sink.close();
  }
  auto fixedSource = torva::memorySource(fixedText);
  torva::MpsReadOptions fixedOptions;
  fixedOptions.format = torva::kMpsFixed;
  torva::MpsData fixedBack;
  torva::readMps(*fixedSource, fixedOptions, fixedBack);

  if (keep || !plainNames(data)) return 0;
  auto freeSource = torva::memorySource(freeText);
  torva::MpsReadOptions freeOptions;
  freeOptions.format = torva::kMpsFree;
  torva::MpsData back;
  torva::MpsReadResult again = torva::readMps(*freeSource, freeOptions, back);
  if (again.error) {
    std::fprintf(stderr, "line %d: %s\n", again.errorLine, again.errorText.c_str());
    check(false, "written file does not read back");
  }
  compare(data, back);
  return 0;
}
