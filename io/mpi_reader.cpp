// Reader of MPI instruction-list files: sections VARIABLES, OBJECTIVES and
// CONSTRAINTS between BEGINMODEL and ENDMODEL, one instruction per line.
#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <utility>
#include <string_view>
#include <unordered_map>

#include "io/mpi_format.hpp"
#include "nlp/opcodes.hpp"
#include "torva.h"

namespace torva {
namespace {

using nlp::OpKind;

// Splits a line into blank-separated tokens; a token in double quotes may
// hold blanks (strings of EP_PUSH_STR).
std::vector<std::string> tokens(std::string_view line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size()) break;
    if (line[i] == '"') {
      const std::size_t close = line.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? line.size() : close;
      out.emplace_back(line.substr(i + 1, end - i - 1));
      i = end + 1;
      continue;
    }
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    out.emplace_back(line.substr(start, i - start));
  }
  return out;
}

bool toDouble(const std::string& s, double& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  v = std::strtod(s.c_str(), &end);
  return *end == '\0';
}

bool toInt(const std::string& s, int& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  const long x = std::strtol(s.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || x < -2147483647L - 1 || x > 2147483647L) return false;
  v = static_cast<int>(x);
  return true;
}

enum class Section { Start, Header, Variables, Objectives, Constraints, End };

class Parser {
 public:
  explicit Parser(MpiData& d) : d_(d) {}

  // Returns 0 or an error code for one line.
  int line(const std::vector<std::string>& t) {
    const std::string& k = t[0];
    if (k == "BEGINMODEL") {
      if (section_ != Section::Start) return QXERR_BAD_MPI_FILE;
      section_ = Section::Header;
      // The title is the rest of the line (a title may hold blanks).
      for (std::size_t i = 1; i < t.size(); ++i) d_.title += (i > 1 ? " " : "") + t[i];
      return 0;
    }
    if (section_ == Section::Start || section_ == Section::End) return QXERR_BAD_MPI_FILE;
    if (k == "NUMOBJS" || k == "NUMCONS" || k == "NUMVARS") {
      int n;
      if (t.size() < 2 || !toInt(t[1], n) || n < 0) return QXERR_BAD_MPI_FILE;
      (k == "NUMOBJS" ? declaredObjs_ : k == "NUMCONS" ? declaredCons_ : declaredVars_) = n;
      return 0;
    }
    if (k == "VARIABLES") return enter(Section::Variables);
    if (k == "OBJECTIVES") return enter(Section::Objectives);
    if (k == "CONSTRAINTS") return enter(Section::Constraints);
    if (k == "ENDMODEL") return finish();
    // Outside the variables an unknown EP_ word is a misspelt instruction;
    // among them it is a variable's name.
    const int op = k.rfind("EP_", 0) == 0 ? nlp::opcodeOf(k) : -1;
    if (op > 0 || (k.rfind("EP_", 0) == 0 && section_ != Section::Variables)) {
      // An instruction belongs to the objective or constraint it follows.
      if (op <= 0 || !open_) return QXERR_BAD_MPI_FILE;
      return instruction(op, t);
    }
    switch (section_) {
      case Section::Variables:
        return variable(t);
      case Section::Objectives:
        return objective(t);
      case Section::Constraints:
        return constraint(t);
      default:
        return QXERR_BAD_MPI_FILE;
    }
  }

  bool ended() const { return section_ == Section::End; }

 private:
  int enter(Section s) {
    if (static_cast<int>(s) <= static_cast<int>(section_)) return QXERR_BAD_MPI_FILE;
    closeSegment();
    section_ = s;
    return 0;
  }

  // EP_PUSH_SPAR with SP followed by digits (parameter k) or with the
  // parameter's own name. Named parameters are numbered after the largest
  // SP index of the file, in the order they first appear; their operand
  // words are set when the file ends.
  int stocParam(const std::string& name) {
    const bool numbered = name.size() > 2 && name.rfind("SP", 0) == 0 &&
                          name.find_first_not_of("0123456789", 2) == std::string::npos;
    if (numbered) {
      int k;
      if (!toInt(name.substr(2), k)) return QXERR_BAD_MPI_FILE;
      lastNumberedSpar_ = std::max(lastNumberedSpar_, k);
      d_.code.push_back(k);
      return 0;
    }
    // A name is written back as it stands: no blanks or quotes in it.
    for (unsigned char c : name)
      if (c <= ' ' || c == '"') return QXERR_BAD_MPI_FILE;
    const auto [it, fresh] = sparIndex_.emplace(name, static_cast<int>(sparIndex_.size()));
    namedSparAt_.emplace_back(d_.code.size(), it->second);
    d_.code.push_back(it->second);
    return 0;
  }

  int numberNamedSpars() {
    if (sparIndex_.empty()) return 0;
    const long long base = static_cast<long long>(lastNumberedSpar_) + 1;
    if (base + static_cast<long long>(sparIndex_.size()) > std::numeric_limits<int>::max()) return QXERR_BAD_MPI_FILE;
    for (const auto& [pos, id] : namedSparAt_) d_.code[pos] = static_cast<int>(base) + id;
    for (const auto& [name, id] : sparIndex_) d_.sparNames.emplace(static_cast<int>(base) + id, name);
    return 0;
  }

  int finish() {
    closeSegment();
    section_ = Section::End;
    if (int rc = numberNamedSpars()) return rc;
    if ((declaredObjs_ >= 0 && declaredObjs_ != d_.nObjs) ||
        (declaredCons_ >= 0 && declaredCons_ != static_cast<int>(d_.conType.size())) ||
        (declaredVars_ >= 0 && declaredVars_ != static_cast<int>(d_.varNames.size())))
      return QXERR_INSTRUCT_BAD_COUNT;
    // A model needs a column: a file without variables (a constant objective
    // and constant rows) gets one auxiliary column fixed at zero.
    if (d_.varNames.empty()) {
      char name[16];
      std::snprintf(name, sizeof name, "AUXC%04d", 0);
      d_.varNames.emplace_back(name);
      d_.lower.push_back(0.0);
      d_.start.push_back(0.0);
      d_.upper.push_back(0.0);
      d_.varType.push_back('C');
    }
    return 0;
  }

  int variable(const std::vector<std::string>& t) {
    double lo, x0, up;
    if (t.size() < 5 || !toDouble(t[1], lo) || !toDouble(t[2], x0) || !toDouble(t[3], up) || t[4].size() != 1)
      return QXERR_BAD_MPI_FILE;
    const char type = t[4][0];
    if (type != 'C' && type != 'I' && type != 'B' && type != 'S') return QXERR_BAD_MPI_FILE;
    if (!varIndex_.emplace(t[0], static_cast<int>(d_.varNames.size())).second) return QXERR_BAD_MPI_FILE;
    d_.varNames.push_back(t[0]);
    d_.lower.push_back(lo);
    d_.start.push_back(x0);
    d_.upper.push_back(up);
    d_.varType.push_back(type);
    d_.hasStart = d_.hasStart || x0 != 0.0;
    return 0;
  }

  int classOf(const std::vector<std::string>& t, std::size_t at) {
    if (t.size() <= at) return QX_CONPROP_UNKNOWN;
    return propertyOfWord(t[at]);
  }

  int objective(const std::vector<std::string>& t) {
    if (t.size() < 2 || !d_.conType.empty()) return QXERR_BAD_MPI_FILE;
    const std::string& s = t[1];
    if (s == "MINIMIZE" || s == "QX_MIN") d_.objSense = QX_MIN;
    else if (s == "MAXIMIZE" || s == "QX_MAX") d_.objSense = QX_MAX;
    else return QXERR_BAD_MPI_FILE;
    const int cls = classOf(t, 2);
    if (cls < 0 || t.size() > 3) return QXERR_BAD_MPI_FILE;
    // Later objectives are counted (the loader accepts exactly one) but only
    // the first keeps its place before the constraints.
    ++d_.nObjs;
    openSegment(cls);
    return 0;
  }

  int constraint(const std::vector<std::string>& t) {
    if (t.size() < 2 || t[1].size() != 1) return QXERR_BAD_MPI_FILE;
    const char type = t[1][0];
    if (type != 'E' && type != 'L' && type != 'G' && type != 'N') return QXERR_BAD_MPI_FILE;
    const int cls = classOf(t, 2);
    if (cls < 0 || t.size() > 3) return QXERR_BAD_MPI_FILE;
    if (d_.nObjs == 0) return QXERR_INSTRUCT_BAD_COUNT;
    d_.rowNames.push_back(t[0]);
    d_.conType.push_back(type);
    openSegment(cls);
    return 0;
  }

  void openSegment(int cls) {
    closeSegment();
    d_.beg.push_back(static_cast<int>(d_.code.size()));
    d_.len.push_back(0);
    d_.property.push_back(cls);
    open_ = true;
  }
  void closeSegment() {
    if (open_) d_.len.back() = static_cast<int>(d_.code.size()) - d_.beg.back();
    open_ = false;
  }

  int stringIndex(const std::string& s) {
    auto [it, fresh] = stringIndex_.emplace(s, static_cast<int>(d_.strings.size()));
    if (fresh) d_.strings.push_back(s);
    return it->second;
  }

  int varOf(const std::string& name, int& j) const {
    auto it = varIndex_.find(name);
    if (it == varIndex_.end()) return QXERR_BAD_MPI_FILE;
    j = it->second;
    return 0;
  }

  // Integer operands t[1..count].
  int ints(const std::vector<std::string>& t, std::size_t count) {
    if (t.size() != count + 1) return QXERR_BAD_MPI_FILE;
    for (std::size_t i = 1; i <= count; ++i) {
      int w;
      if (!toInt(t[i], w)) return QXERR_BAD_MPI_FILE;
      d_.code.push_back(w);
    }
    return 0;
  }

  int vectorPush(int op, const std::vector<std::string>& t) {
    int n;
    if (t.size() < 2 || !toInt(t[1], n) || n < 1 || t.size() != static_cast<std::size_t>(n) + 2)
      return QXERR_BAD_MPI_FILE;
    d_.code.push_back(n);
    for (int i = 0; i < n; ++i) {
      const std::string& s = t[static_cast<std::size_t>(i) + 2];
      if (op == EP_VPUSH_NUM) {
        double v;
        if (!toDouble(s, v)) return QXERR_BAD_MPI_FILE;
        d_.code.push_back(static_cast<int>(d_.numbers.size()));
        d_.numbers.push_back(v);
      } else if (op == EP_VPUSH_VAR) {
        int j = EP_VPUSH_VAR_ABSENT;
        if (s != "*")
          if (int rc = varOf(s, j)) return rc;
        d_.code.push_back(j);
      } else {
        d_.code.push_back(stringIndex(s));
      }
    }
    return 0;
  }

  // Data words of a block instruction: two leading words, then as many as
  // the block's shape asks.
  int blockWords(OpKind kind, const std::vector<std::string>& t) {
    int a, b;
    if (t.size() < 3 || !toInt(t[1], a) || !toInt(t[2], b) || a < 0 || b < 0) return QXERR_BAD_MPI_FILE;
    long long more = kind == OpKind::Lsq ? a + static_cast<long long>(a + 1) * b
                                         : (kind == OpKind::Posd ? 3LL * b : b);
    if (static_cast<long long>(t.size()) != more + 3) return QXERR_BAD_MPI_FILE;
    return ints(t, t.size() - 1);
  }

  int instruction(int op, const std::vector<std::string>& t) {
    ++d_.instructions;
    d_.code.push_back(op);
    const nlp::OpInfo& oi = nlp::opInfo(op);
    switch (oi.kind) {
      case OpKind::Push: {
        if (t.size() != 2) return QXERR_BAD_MPI_FILE;
        if (op == EP_PUSH_NUM) {
          double v;
          if (!toDouble(t[1], v)) return QXERR_BAD_MPI_FILE;
          d_.code.push_back(static_cast<int>(d_.numbers.size()));
          d_.numbers.push_back(v);
        } else if (op == EP_PUSH_VAR) {
          int j;
          if (int rc = varOf(t[1], j)) return rc;
          d_.code.push_back(j);
        } else if (op == EP_PUSH_SPAR) {
          return stocParam(t[1]);
        } else {
          d_.code.push_back(stringIndex(t[1]));
        }
        return 0;
      }
      case OpKind::VectorPush:
        return vectorPush(op, t);
      case OpKind::Counted:
      case OpKind::CountedMin1:
      case OpKind::SumIf:
      case OpKind::UserCode:
        return ints(t, 1);
      case OpKind::SumProd:
      case OpKind::VLookup:
        return ints(t, 2);
      case OpKind::Lsq:
      case OpKind::Posd:
      case OpKind::SetBlock:
        return blockWords(oi.kind, t);
      default:
        return t.size() == 1 ? 0 : QXERR_BAD_MPI_FILE;
    }
  }

  MpiData& d_;
  Section section_ = Section::Start;
  bool open_ = false;
  int declaredObjs_ = -1, declaredCons_ = -1, declaredVars_ = -1;
  std::unordered_map<std::string, int> varIndex_, stringIndex_, sparIndex_;
  int lastNumberedSpar_ = -1;
  std::vector<std::pair<std::size_t, int>> namedSparAt_;  // code position, name's number
};

}  // namespace

MpiReadResult readMpi(ByteSource& source, MpiData& data) {
  MpiReadResult result;
  LineReader reader(source);
  Parser parser(data);
  char* text;
  std::size_t length;
  int lineNo = 0;
  std::string last;
  while (reader.next(text, length)) {
    ++lineNo;
    std::string_view line(text, length);
    const std::vector<std::string> t = tokens(line);
    if (t.empty() || t[0][0] == '!') continue;
    if (int rc = parser.line(t)) {
      result.error = rc;
      result.errorLine = lineNo;
      result.errorText.assign(line);
      return result;
    }
    if (parser.ended()) return result;
    last.assign(line);
  }
  result.error = reader.failed() ? source.failureCode() : QXERR_BAD_MPI_FILE;
  result.errorLine = lineNo;
  result.errorText = last;
  return result;
}

const char* classWord(int property) {
  switch (property) {
    case QX_CONPROP_CONST: return "CONST";
    case QX_CONPROP_LINEAR: return "LINEAR";
    case QX_CONPROP_CONVEX: return "CONVEX";
    case QX_CONPROP_CONCAVE: return "CONCAVE";
    case QX_CONPROP_QUASI_CONVEX: return "QUASI_CONVEX";
    case QX_CONPROP_QUASI_CONCAVE: return "QUASI_CONCAVE";
    default: return "";
  }
}

int propertyOfWord(const std::string& word) {
  for (int p = QX_CONPROP_CONST; p <= QX_CONPROP_QUASI_CONCAVE; ++p)
    if (word == classWord(p)) return p;
  return -1;
}

}  // namespace torva
