// libFuzzer target for the instruction-list validator and the evaluator
// (built by scripts/fuzz-nlp.sh). The input is a code array of 32-bit words
// after a small header (variable and number counts); a segment that
// validates is compiled and run through every sweep at a point.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "base/callback.hpp"
#include "nlp/instruct.hpp"
#include "nlp/tape.hpp"
#include "torva.h"

// The evaluator calls host functions only for EP_USER; no model here.
int torva::userFunctionByHost(QXmodelRec&, std::span<const double>, double*) {
  return QXERR_USER_FUNCTION_NOT_SET;
}

// Without a model the difference rule is the default one.
torva::nlp::DiffRule torva::nlp::differenceRule(const QXmodelRec*) noexcept { return {}; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  if (size < 2) return 0;
  const int nVars = 1 + bytes[0] % 8, nNumbers = bytes[1] % 8;
  std::vector<int> code((size - 2) / 4);
  if (code.empty()) return 0;
  std::memcpy(code.data(), bytes + 2, code.size() * 4);
  // Small operand words are far more interesting than random 32-bit ones:
  // fold words that are not opcodes into a small range.
  for (int& w : code)
    if (w < 0 || w > 1177) w = w % 16;
  torva::nlp::InstructionList list;
  list.nVars = nVars;
  list.code = code;
  list.beg = {0};
  list.len = {static_cast<int>(code.size())};
  for (int k = 0; k < nNumbers; ++k) list.numbers.push_back(0.5 * k - 1.0);
  list.info.resize(1);
  if (torva::nlp::validateSegment(list.code, 0, list.len[0], nVars, nNumbers, 3, list.info[0])) return 0;
  const std::vector<std::string> strings = {"a", "b"};
  torva::nlp::CompiledModel cm(list, strings);
  cm.buildHessianPattern();
  torva::nlp::Workspace w;
  w.fit(cm, nVars);
  std::vector<double> x(static_cast<std::size_t>(nVars));
  for (int j = 0; j < nVars; ++j) x[static_cast<std::size_t>(j)] = 0.3 * j - 0.4;
  if (torva::nlp::forwardRow(cm, 0, x.data(), torva::nlp::Order::Second, w, nullptr)) return 0;
  torva::nlp::reverseRow(cm, 0, w);
  std::fill(w.dense.begin(), w.dense.end(), 0.0);
  torva::nlp::tangentGradient(cm, 0, w);
  std::fill(w.dense.begin(), w.dense.end(), 0.0);
  std::vector<double> h(cm.row(0).hessI.size());
  torva::nlp::hessianRow(cm, 0, w, h.data());
  return 0;
}
