// The instruction-list form of a nonlinear model: per row a postfix program
// over a stack of doubles, kept in one shared code array with a number
// table, the variables with their bounds and types, and what validation
// found out about each row.
//
// Rows are numbered internally with the objective first: row r = 0 is the
// objective, row r = i + 1 is constraint i. Constraint i reads
// f_i(x) <type> 0.
#pragma once

#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace torva::nlp {

class CompiledModel;
struct Workspace;

// Class of a stack entry or a row during validation.
enum RowClass : int { kConstant = 0, kLinear = 1, kNonlinear = 2 };

// Model classes as QXgetInstructClass reports them.
inline constexpr int kModelLinear = 0;
inline constexpr int kModelNonlinear = 1;
inline constexpr int kModelStochastic = 2;

// What validation learned about one segment.
struct SegmentInfo {
  int cls = kConstant;      // class of the remaining entry (or nonlinear for EP_LSQ rows)
  bool stochastic = false;  // uses EP_PUSH_SPAR
  int maxSpar = -1;         // largest stochastic parameter index used, -1 none
  bool setRow = false;      // uses EP_POSD, EP_SETS or EP_CARD
};

// Validates the segment code[beg, beg+len) of a list with nVars variables and
// nNumbers numbers. Appended-objective markers (EP_USRCOD 49152) are turned
// into two no-ops and numberBase is added to every later EP_PUSH_NUM index
// of the segment, so code is changed in place. Returns 0 or
// QXERR_INSTRUCT_SYNTAX.
int validateSegment(std::span<int> code, int beg, int len, int nVars, int nNumbers,
                    int numberBase, SegmentInfo& info);

// Evaluation constants kept with the model's nonlinear data.
struct EvalConstants {
  // Substitute of an undefined result (the numeric infinity of nonlinear
  // models, QX_DPARAM_NLP_INF).
  double large = 1e30;
  // Logarithms of arguments in [0, lnThreshold) give lnNearZero, the log at
  // the threshold, with slope 1/lnThreshold.
  double lnThreshold = 1e-30;
  double lnNearZero = -69.07755278982137;  // ln(1e-30)
  // Denominators below this in magnitude count as zero: an O(1) numerator
  // over them would exceed the numeric infinity 1e30 anyway.
  double zeroTol = 1e-30;
};

struct InstructionList {
  int nCons = 0;
  int nVars = 0;
  int objSense = 1;
  std::vector<int> code;
  std::vector<int> beg, len;       // nCons + 1 segments, objective first
  std::vector<double> numbers;
  std::vector<char> conType;       // nCons
  std::vector<char> varType;       // nVars
  std::vector<int> varIndex;       // nVars when given, else empty
  std::vector<double> lower, upper;
  std::vector<double> start;       // nVars when given, else empty
  std::vector<SegmentInfo> info;   // nCons + 1
  std::vector<int> property;       // nCons + 1, QX_CONPROP_*
  // Stochastic parameters: k = 0 .. stocCount()-1 for the EP_PUSH_SPAR k of
  // the rows. Values as the host set them (parameters beyond the vector
  // count 0); names as a file gave them (absent: SP%06d).
  std::vector<double> stocParams;
  std::map<int, std::string> stocNames;
  EvalConstants constants;
  // Base code of each row (see nlp/sync.hpp): the first baseLen[r] words of
  // the segment, the rest being the tail generated from the model's core.
  // Empty while no row has a tail. Numbers from baseNumbers on belong to
  // the tails (-1: none do).
  std::vector<int> baseLen;
  int baseNumbers = -1;

  int rows() const noexcept { return nCons + 1; }
  int baseOf(int r) const noexcept {
    return baseLen.empty() ? len[static_cast<std::size_t>(r)] : baseLen[static_cast<std::size_t>(r)];
  }
  int baseNumberCount() const noexcept {
    return baseNumbers < 0 ? static_cast<int>(numbers.size()) : baseNumbers;
  }
  int modelClass() const noexcept;
  // Number of stochastic parameters: one past the largest index used.
  int stocCount() const noexcept;
};

// The nonlinear data a model holds: the instruction list (when loaded), the
// string table, the nonlinear structure of QXaddNLPAj/QXaddNLPobj and the
// compiled evaluator, built on first use.
struct NlpData {
  std::unique_ptr<InstructionList> list;
  std::vector<std::string> strings;

  // Nonlinear structure: per column the rows (-1 the objective) in which
  // the variable appears nonlinearly, with a value each.
  std::vector<std::vector<int>> nlpRows;
  std::vector<std::vector<double>> nlpValues;
  std::vector<int> nlpObjVars;
  std::vector<double> nlpObjValues;

  std::shared_ptr<CompiledModel> compiled;  // dropped whenever the list changes
  std::shared_ptr<Workspace> work;          // sweep arrays, reused between calls

  NlpData();
  ~NlpData();
  void invalidate() noexcept { compiled.reset(); }
};

}  // namespace torva::nlp
