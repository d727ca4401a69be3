// libFuzzer target for the MPS reader (built by scripts/fuzz-mps.sh, not by
// the default build). The first input byte picks the format and options; the
// rest is the file. A file that reads is written in both forms; the free form
// must read back to the same model whenever every name is a plain word.
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
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
  return 0;
}
