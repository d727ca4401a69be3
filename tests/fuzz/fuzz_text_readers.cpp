// libFuzzer target for the TORVA text and LP readers (built by
// scripts/fuzz-text.sh, not by the default build). The first input byte
// picks the reader (even: TORVA text, odd: LP); the rest is the file. A
// file that reads must give consistent arrays; a TORVA model read is written
// as TORVA text and must read back to the same dimensions.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/model_data.hpp"
#include "io/model_writers.hpp"
#include "io/text_io.hpp"
#include "io/text_reader.hpp"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void checkShape(const torva::MpsData& d) {
  check(d.cost.size() == static_cast<std::size_t>(d.n));
  check(d.lower.size() == static_cast<std::size_t>(d.n) && d.upper.size() == d.lower.size());
  check(d.rhs.size() == static_cast<std::size_t>(d.m) && d.conTypes.size() == d.rhs.size());
  check(d.colBeg.size() == static_cast<std::size_t>(d.n) + 1);
  check(d.rowIdx.size() == static_cast<std::size_t>(d.colBeg[d.n]) && d.coef.size() == d.rowIdx.size());
  for (int j = 0; j < d.n; ++j) check(d.colBeg[j] <= d.colBeg[j + 1]);
  for (int i : d.rowIdx) check(i >= 0 && i < d.m);
  for (char t : d.conTypes) check(t == 'L' || t == 'E' || t == 'G');
}

// The store a load would build (plain column-major copy, names kept).
void toStore(torva::MpsData& d, torva::ModelData& s) {
  s.m = d.m;
  s.n = d.n;
  s.objSense = d.objSense;
  s.objConst = d.objConst;
  s.cost = d.cost;
  s.rhs = d.rhs;
  s.conType.assign(d.conTypes.begin(), d.conTypes.end());
  s.colBeg = d.colBeg;
  s.colLen.resize(static_cast<std::size_t>(d.n));
  for (int j = 0; j < d.n; ++j) s.colLen[j] = d.colBeg[j + 1] - d.colBeg[j];
  s.rowIdx = d.rowIdx;
  s.value = d.coef;
  s.nnz = static_cast<int>(d.coef.size());
  s.lower = d.lower;
  s.upper = d.upper;
  if (!d.varTypes.empty()) s.varType.assign(d.varTypes.begin(), d.varTypes.end());
  std::vector<char*> cols(d.colNames.size());
  for (std::size_t k = 0; k < cols.size(); ++k) cols[k] = d.colNames[k].data();
  s.varNames.assign(cols.data(), static_cast<int>(cols.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 1) return 0;
  const bool lp = bytes[0] & 1;
  std::string_view text(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  auto source = torva::memorySource(text);
  torva::TextReadOptions options;
  options.printLevel = 3;
  options.log = [](const std::string& line) { check(!line.empty()); };
  torva::MpsData d;
  const torva::TextReadResult r = lp ? torva::readLpText(*source, options, d)
                                     : torva::readTorvaText(*source, options, d);
  if (r.error) {
    check(r.error == QXERR_ERROR_IN_INPUT || r.error == QXERR_BAD_MPS_FILE);
    check(r.errorLine >= 0 && r.errorLine <= r.lines);
    return 0;
  }
  checkShape(d);
  torva::ModelData store;
  toStore(d, store);
  std::string written;
  torva::TextSink sink(&written);
  check(torva::writeTorvaText(store, 1e30, sink) == 0);
  sink.close();
  // Names the writer had to change can merge columns; compare only when none
  // changed and every name is a plain word the reader takes as a name.
  for (const std::string& name : d.colNames)
    for (unsigned char c : name)
      if (!(std::isalnum(c) || c == '_') || std::isdigit(static_cast<unsigned char>(name[0])) ||
          name == "END" || name == "end")
        return 0;
  auto again = torva::memorySource(written);
  torva::MpsData back;
  const torva::TextReadResult r2 = torva::readTorvaText(*again, options, back);
  check(r2.error == 0);
  check(back.n == d.n && back.m == d.m);
  return 0;
}
