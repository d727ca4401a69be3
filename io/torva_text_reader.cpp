// Line reader of the TORVA text format:
//   [title TEXT]
//   MAX|MIN  terms ... [constant]
//   SUBJECT TO
//   [label)] terms relation rhs ...
//   END
//   FREE name | SLB name value | SUB name value | INT name | GIN name | TITLE text
// Comments run from '!' to the end of the line.
#include <cstring>
#include <vector>

#include "io/text_reader_base.hpp"

namespace torva {
namespace {

constexpr char kComment = '!';
constexpr double kInfinite = 1.0e30;
constexpr const char* kSyntaxMessage = "\nUnexpected or missing token. Invalid TORVA format. ";

// Characters that end a name (the writer replaces them by '_').
bool isNameChar(unsigned char c) {
  return std::strchr(" \t\n\r+-<>=!)", c) == nullptr || c == '\0';
}

bool subjectTo(LineCursor& cur) {
  return cur.keyword("s[ubject][   ]t[o]") || cur.keyword("s[uch][    ]t[hat]") ||
         cur.keyword("s[.][    ]t[.]");
}

struct Term {
  int col;
  double value;
};

class TorvaReader : TextReaderBase {
 public:
  TorvaReader(ByteSource& s, const TextReadOptions& o) : TextReaderBase(s, o, kComment) {}
  TextReadResult run(MpsData& data);

 private:
  enum class Stop { Keyword, Relation, End, Error };
  bool header();
  // Reads terms until a relation (constraints) or a keyword (objective).
  Stop terms(bool objective, std::vector<Term>& out, double& constant);
  bool constraints();
  bool row();
  bool commands();
  bool command();
  int commandColumn(const char* what);
  // A blank-separated word (the names after END).
  std::string_view word() { return cur_.name([](unsigned char c) { return c != ' ' && c != '\t'; }); }
  bool signedNumber(double& value);

  bool sawEnd_ = false;
};

bool TorvaReader::signedNumber(double& value) {
  const int sign = cur_.signs();
  if (!cur_.number(value)) return false;
  if (sign < 0) value = -value;
  return true;
}

bool TorvaReader::header() {
  if (!nextTokenLine()) return false;
  if (cur_.keyword("title")) {
    model_.title = std::string(cur_.restTrimmed());
    model_.hasTitle = true;
    if (!nextTokenLine()) return false;
  }
  if (cur_.keyword("max[imize]")) model_.objSense = -1;
  else if (cur_.keyword("min[imize]")) model_.objSense = 1;
  else return syntaxError(kSyntaxMessage);
  return true;
}

TorvaReader::Stop TorvaReader::terms(bool objective, std::vector<Term>& out, double& constant) {
  for (;;) {
    if (!nextTokenLine()) return failed() ? Stop::Error : Stop::End;
    if (objective) {
      const std::size_t at = cur_.position();
      if (subjectTo(cur_) || cur_.keyword("end")) {
        cur_.setPosition(at);
        return Stop::Keyword;
      }
    }
    char rel = 0;
    const std::size_t at = cur_.position();
    if (cur_.relation(rel)) {
      cur_.setPosition(at);
      return Stop::Relation;
    }
    const int sign = cur_.signs();
    // A sign at the end of a line carries over to the next term.
    if (sign != 0 && cur_.atEnd() && !nextTokenLine()) {
      if (!failed()) syntaxError(kSyntaxMessage);
      return Stop::Error;
    }
    double coef = 1.0;
    const bool hasNumber = cur_.number(coef);
    if (sign < 0) coef = -coef;
    if (cur_.atEnd() || !isNameChar(static_cast<unsigned char>(cur_.peek()))) {
      // A number without a name is a constant; a bare sign is an error.
      if (!hasNumber) {
        syntaxError(kSyntaxMessage);
        return Stop::Error;
      }
      constant += coef;
      continue;
    }
    std::string_view name = cur_.name(isNameChar);
    out.push_back({model_.column(name), coef});
  }
}

bool TorvaReader::row() {
  // Label: the last word before a ')' on the line.
  std::string_view label;
  std::string_view rest = cur_.rest();
  const std::size_t paren = rest.find(')');
  const std::size_t comment = rest.find(kComment);
  if (paren != std::string_view::npos && paren < comment) {
    std::string_view before = rest.substr(0, paren);
    while (!before.empty() && (before.back() == ' ' || before.back() == '\t')) before.remove_suffix(1);
    const std::size_t blank = before.find_last_of(" \t");
    label = blank == std::string_view::npos ? before : before.substr(blank + 1);
    if (label.empty()) return syntaxError(kSyntaxMessage);
    cur_.advance(cur_.rest().size() - rest.size() + paren + 1);
  }
  std::vector<Term> terms;
  double constant = 0.0;
  Stop stop = this->terms(false, terms, constant);
  if (stop == Stop::Error) return false;
  if (stop == Stop::End) return true;  // an unfinished row is dropped
  char rel = 0;
  cur_.relation(rel);
  double rhs = 0.0;
  if (cur_.atEnd() && !nextTokenLine()) return failed() ? false : true;
  if (!signedNumber(rhs)) return syntaxError(kSyntaxMessage);
  model_.beginRow(label);
  for (const Term& t : terms) model_.addTerm(t.col, t.value);
  model_.endRow(rel, rhs - constant);
  return true;
}

bool TorvaReader::constraints() {
  for (;;) {
    if (!nextTokenLine()) return !failed();
    if (cur_.keyword("end")) {
      sawEnd_ = true;
      return true;
    }
    if (!row()) return false;
    if (atInputEnd()) return !failed();
  }
}

// Index of the column named next on the line; -1 (after the message when
// what is set) for an unknown name, -2 after a syntax error.
int TorvaReader::commandColumn(const char* what) {
  std::string_view name = word();
  if (name.empty()) {
    syntaxError(kSyntaxMessage);
    return -2;
  }
  const int j = model_.findColumn(name);
  if (j < 0 && what) say("\n%s: Ignoring unknown variable at line %d.", what, line());
  return j;
}

bool TorvaReader::command() {
  if (cur_.keyword("title")) {
    model_.title = std::string(cur_.restTrimmed());
    model_.hasTitle = true;
    return true;
  }
  const bool slb = cur_.keyword("slb");
  const bool sub = !slb && cur_.keyword("sub");
  if (slb || sub) {
    const int j = commandColumn(slb ? "SLB" : "SUB");
    if (j < 0) return j == -1;
    double value = 0.0;
    if (!signedNumber(value)) return syntaxError(kSyntaxMessage);
    if (slb) model_.setLower(j, value);
    else model_.setUpper(j, value);
  } else if (cur_.keyword("free")) {
    const int j = commandColumn("FREE");
    if (j < 0) return j == -1;
    model_.setLower(j, -kInfinite);
    model_.setUpper(j, kInfinite);
  } else if (cur_.keyword("int")) {
    const int j = commandColumn("INT");
    if (j < 0) return j == -1;
    model_.setType(j, 'B');
    model_.setLower(j, 0.0);
    model_.setUpper(j, 1.0);
  } else if (cur_.keyword("gin")) {
    const int j = commandColumn(nullptr);
    if (j < 0) return j == -1;
    model_.setType(j, 'I');
  } else {
    return syntaxError(kSyntaxMessage);
  }
  if (!cur_.atEnd()) return syntaxError(kSyntaxMessage);
  return true;
}

bool TorvaReader::commands() {
  while (nextLine()) {
    if (cur_.atEnd()) continue;
    if (!command()) return false;
  }
  return !failed();
}

TextReadResult TorvaReader::run(MpsData& data) {
  bool ok = header();
  if (ok) {
    std::vector<Term> objective;
    double constant = 0.0;
    Stop stop = terms(true, objective, constant);
    if (stop == Stop::Relation) ok = syntaxError(kSyntaxMessage);
    else ok = stop != Stop::Error;
    for (const Term& t : objective) model_.addCost(t.col, t.value);
    model_.objConst = constant;
    if (ok && stop == Stop::Keyword) {
      if (cur_.keyword("end")) sawEnd_ = true;
      else if (subjectTo(cur_)) ok = constraints();
    }
    if (ok && sawEnd_) ok = commands();
  }
  if (!ok && !failed() && atInputEnd()) ok = true;  // input ended early
  if (failed()) return result_;
  if (!sawEnd_) say("\nMissing token 'END'");
  model_.toMpsData(data);
  if (!model_.hasTitle) data.title.clear();
  return result_;
}

}  // namespace

TextReadResult readTorvaText(ByteSource& source, const TextReadOptions& options, MpsData& data) {
  TorvaReader reader(source, options);
  return reader.run(data);
}

}  // namespace torva
