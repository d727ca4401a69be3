// libFuzzer target for the MPI reader (built by scripts/fuzz-nlp.sh, not by
// the default build). A file that parses is written back and must parse to
// the same instruction list; every segment is validated as the loader would.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "io/mpi_format.hpp"
#include "io/text_io.hpp"
#include "nlp/instruct.hpp"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "round trip differs: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(bytes), size);
  auto source = torva::memorySource(text);
  torva::MpiData d;
  if (torva::readMpi(*source, d).error) return 0;
  if (d.nObjs != 1) return 0;
  const int rows = static_cast<int>(d.beg.size());
  for (int r = 0; r < rows; ++r) {
    torva::nlp::SegmentInfo info;
    torva::nlp::validateSegment(d.code, d.beg[r], d.len[r], static_cast<int>(d.varNames.size()),
                                static_cast<int>(d.numbers.size()), 0, info);
  }
  // Write what was read; names must be plain words (printable, no quotes,
  // not a comment or an opcode) to read back the same.
  auto plain = [](const std::string& s) {
    if (s.empty() || s[0] == '!' || s.rfind("EP_", 0) == 0) return false;
    for (unsigned char c : s)
      if (c <= ' ' || c == '"' || c >= 127) return false;
    return true;
  };
  for (const auto* list : {&d.varNames, &d.rowNames, &d.strings})
    for (const auto& s : *list)
      if (!plain(s)) return 0;
  if (!d.title.empty() && !plain(d.title)) return 0;
  torva::MpiWriteData w;
  w.title = d.title;
  w.objSense = d.objSense;
  w.nCons = static_cast<int>(d.conType.size());
  w.nVars = static_cast<int>(d.varNames.size());
  w.code = &d.code;
  w.beg = &d.beg;
  w.len = &d.len;
  w.numbers = &d.numbers;
  w.strings = &d.strings;
  w.sparNames = &d.sparNames;
  w.varNames = d.varNames;
  w.rowNames = d.rowNames;
  w.lower = d.lower;
  w.upper = d.upper;
  if (d.hasStart) w.start = d.start;
  w.varType = d.varType;
  w.conType = d.conType;
  for (int p : d.property) w.classWord.emplace_back(torva::classWord(p));
  std::string out;
  {
    torva::TextSink sink(&out);
    torva::writeMpi(w, sink);
    sink.close();
  }
  auto again = torva::memorySource(out);
  torva::MpiData back;
  const auto res = torva::readMpi(*again, back);
  if (res.error) {
    std::fprintf(stderr, "line %d: %s\n", res.errorLine, res.errorText.c_str());
    check(false, "written file does not read back");
  }
  check(back.varNames == d.varNames && back.conType == d.conType, "names or types");
  check(back.property == d.property && back.objSense == d.objSense, "classes or sense");
  check(back.sparNames == d.sparNames && back.beg.size() == d.beg.size(), "stochastic parameters or rows");
  // Instructions outside any row are not written; the rows read back word for word.
  for (std::size_t r = 0; r < d.beg.size(); ++r)
    check(back.len[r] == d.len[r] && std::equal(d.code.begin() + d.beg[r], d.code.begin() + d.beg[r] + d.len[r],
                                                back.code.begin() + back.beg[r]),
          "code of a row");
  return 0;
}
