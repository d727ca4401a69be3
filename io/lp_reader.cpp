// Reader of the common LP text format:
//   max[imize]|min[imize]  [label:] terms
//   subject to   [label:] terms relation number ...
//   bound[s]     statements: v rel x | x rel v | v rel x rel v | x = v | x free
//   bin[aries]   names       gen[erals] / int[egers]   names
//   sos          (skipped)
//   end
// Section keywords count at the start of a line; a backslash starts a comment.
#include <cstring>
#include <vector>

#include "io/text_reader_base.hpp"

namespace torva {
namespace {

constexpr char kComment = '\\';
constexpr double kInfinite = 1.0e30;
constexpr const char* kSyntaxMessage = "\nUnexpected or missing token. Invalid LP format. ";

// Letters, digits and the punctuation other tools use in names. The colon
// is left out: it ends a label.
bool isNameChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         (c != '\0' && std::strchr("!\"#$%&(),.;?@_'`{}~[]/|^", c) != nullptr);
}
// A name may not start like a number.
bool startsName(char c) {
  return isNameChar(static_cast<unsigned char>(c)) && !(c >= '0' && c <= '9') && c != '.';
}

enum class Section { Objective, Constraints, Bounds, Binaries, Generals, Sos, End, None };

struct Term {
  int col;
  double value;
};

class LpReader : TextReaderBase {
 public:
  LpReader(ByteSource& s, const TextReadOptions& o) : TextReaderBase(s, o, kComment) {}
  TextReadResult run(MpsData& data);

 private:
  // Section keyword at the cursor (start of a line), or Section::None.
  Section sectionKeyword();
  // Moves to the next token; at the start of a new line a section keyword
  // ends the current section (stored in next_). False when the section ended.
  bool advance();
  bool label(std::string_view& name);
  // Terms until a relation (constraint) or the end of the section.
  bool terms(std::vector<Term>& out, double& constant, bool objective, bool& atRelation);
  bool objective();
  bool constraints();
  bool bounds();
  bool boundStatement();
  bool names(bool binary);
  bool sos();
  // Optional sign, then a number or a signed infinity.
  bool value(double& v);

  Section next_ = Section::None;
  bool lineStart_ = false;
};

Section LpReader::sectionKeyword() {
  if (cur_.keyword("s[ubject][   ]t[o]") || cur_.keyword("s[uch][    ]t[hat]") ||
      cur_.keyword("s[.][    ]t[.]"))
    return Section::Constraints;
  if (cur_.keyword("bound[s]")) return Section::Bounds;
  if (cur_.keyword("bin[ary]") || cur_.keyword("bin[aries]")) return Section::Binaries;
  if (cur_.keyword("gen[erals]") || cur_.keyword("int[egers]")) return Section::Generals;
  if (cur_.keyword("sos")) return Section::Sos;
  if (cur_.keyword("end")) return Section::End;
  return Section::None;
}

bool LpReader::advance() {
  if (next_ != Section::None) return false;
  while (cur_.atEnd()) {
    if (!nextLine()) return false;  // end of input: next_ stays None
    lineStart_ = true;
  }
  if (lineStart_) {
    lineStart_ = false;
    next_ = sectionKeyword();
    if (next_ != Section::None) return false;
  }
  return true;
}

bool LpReader::value(double& v) {
  const int sign = cur_.signs();
  if (sign != 0 && cur_.infinity()) {
    v = sign * kInfinite;
    return true;
  }
  if (!cur_.number(v)) return false;
  if (sign < 0) v = -v;
  return true;
}

bool LpReader::label(std::string_view& name) {
  const std::size_t at = cur_.position();
  if (startsName(cur_.peek())) {
    std::string_view word = cur_.name(isNameChar);
    if (cur_.peek() == ':') {
      cur_.advance();
      name = word;
      return true;
    }
  }
  cur_.setPosition(at);
  return false;
}

bool LpReader::terms(std::vector<Term>& out, double& constant, bool objective, bool& atRelation) {
  atRelation = false;
  while (advance()) {
    char rel = 0;
    const std::size_t at = cur_.position();
    if (cur_.relation(rel)) {
      cur_.setPosition(at);
      if (objective) return syntaxError(kSyntaxMessage);
      atRelation = true;
      return true;
    }
    int sign = cur_.signs();
    if (sign != 0 && cur_.atEnd()) {
      // Signs at the end of a line carry over to the next term.
      if (!advance()) return syntaxError(kSyntaxMessage);
      const int more = cur_.signs();
      if (more != 0) sign *= more;
    }
    double coef = 1.0;
    const bool hasNumber = cur_.number(coef);
    if (sign < 0) coef = -coef;
    if (!cur_.atEnd() && startsName(cur_.peek())) {
      out.push_back({model_.column(cur_.name(isNameChar)), coef});
      continue;
    }
    if (!hasNumber) return syntaxError(kSyntaxMessage);
    // A number not followed by a name: a constant of the objective, or one
    // moved to the right-hand side; but two numbers in a row are an error.
    double probe = 0.0;
    const std::size_t after = cur_.position();
    if (!cur_.atEnd() && cur_.number(probe)) return syntaxError(kSyntaxMessage);
    cur_.setPosition(after);
    constant += coef;
  }
  return !failed();
}

bool LpReader::objective() {
  std::string_view name;
  if (!advance()) return !failed();
  label(name);
  std::vector<Term> out;
  double constant = 0.0;
  bool atRelation = false;
  if (!terms(out, constant, true, atRelation)) return false;
  for (const Term& t : out) model_.addCost(t.col, t.value);
  model_.objConst = constant;
  return true;
}

bool LpReader::constraints() {
  while (advance()) {
    std::string_view name;
    std::string label;
    if (this->label(name)) label = std::string(name);
    std::vector<Term> out;
    double constant = 0.0;
    bool atRelation = false;
    if (!terms(out, constant, false, atRelation)) return false;
    if (!atRelation) return syntaxError(kSyntaxMessage);  // the section ended inside a row
    char rel = 0;
    cur_.relation(rel);
    double rhs = 0.0;
    if (!advance() || !value(rhs)) return syntaxError(kSyntaxMessage);
    model_.beginRow(label);
    for (const Term& t : out) model_.addTerm(t.col, t.value);
    model_.endRow(rel, rhs - constant);
  }
  return !failed();
}

bool LpReader::boundStatement() {
  const int line = this->line();
  double first = 0.0;
  char rel = 0;
  int col = -1;
  bool known = true;
  auto readName = [&] {
    if (!startsName(cur_.peek())) return false;
    std::string_view name = cur_.name(isNameChar);
    col = model_.findColumn(name);
    known = col >= 0;
    return true;
  };
  // Applies "name rel v" (nameLeft) or "v rel name".
  auto apply = [&](char r, double v, bool nameLeft) {
    if (!known) return;
    if (r == kRelEqual) {
      model_.setLower(col, v);
      model_.setUpper(col, v);
    } else if ((r == kRelLess) == nameLeft) {
      model_.setUpper(col, v);
    } else {
      model_.setLower(col, v);
    }
  };
  if (value(first)) {
    if (!advance() || !cur_.relation(rel)) return syntaxError(kSyntaxMessage);
    if (!advance() || !readName()) return syntaxError(kSyntaxMessage);
    apply(rel, first, false);
    char rel2 = 0;
    if (!cur_.atEnd() && cur_.relation(rel2)) {
      double second = 0.0;
      if (!advance() || !value(second)) return syntaxError(kSyntaxMessage);
      apply(rel2, second, true);
    }
  } else {
    if (!readName()) return syntaxError(kSyntaxMessage);
    if (!advance()) return syntaxError(kSyntaxMessage);
    if (cur_.keyword("free")) {
      if (known) {
        model_.setLower(col, -kInfinite);
        model_.setUpper(col, kInfinite);
      }
    } else {
      double v = 0.0;
      if (!cur_.relation(rel) || !advance() || !value(v)) return syntaxError(kSyntaxMessage);
      apply(rel, v, true);
    }
  }
  if (!known) say("\nBounds: Ignoring unknown variable at line %d.", line);
  return true;
}

bool LpReader::bounds() {
  while (advance())
    if (!boundStatement()) return false;
  return !failed();
}

bool LpReader::names(bool binary) {
  while (advance()) {
    if (!startsName(cur_.peek())) return syntaxError(kSyntaxMessage);
    const int j = model_.findColumn(cur_.name(isNameChar));
    if (j < 0) {
      if (binary) say("\nBinaries: Ignoring unknown variable at line %d.", line());
      continue;
    }
    if (binary) {
      model_.setType(j, 'B');
      model_.setLower(j, 0.0);
      model_.setUpper(j, 1.0);
    } else {
      model_.setType(j, 'I');
    }
  }
  return !failed();
}

bool LpReader::sos() {
  while (advance()) {
    say("\nSOS: Ignoring unknown tags at line %d. ", line());
    cur_.restTrimmed();
  }
  return !failed();
}

TextReadResult LpReader::run(MpsData& data) {
  bool ok = nextTokenLine();
  bool sawEnd = false;
  Section section = Section::None;
  if (ok) {
    if (cur_.keyword("max[imize]")) model_.objSense = -1;
    else if (cur_.keyword("min[imize]")) model_.objSense = 1;
    else ok = syntaxError(kSyntaxMessage);
    if (ok) {
      ok = objective();
      section = next_;
      if (section == Section::End) {
        sawEnd = true;
        section = Section::None;
      }
    }
  }
  while (ok && section != Section::None) {
    next_ = Section::None;
    switch (section) {
      case Section::Constraints: ok = constraints(); break;
      case Section::Bounds: ok = bounds(); break;
      case Section::Binaries: ok = names(true); break;
      case Section::Generals: ok = names(false); break;
      case Section::Sos: ok = sos(); break;
      default: ok = syntaxError(kSyntaxMessage); break;
    }
    section = next_;
    if (section == Section::End) {
      sawEnd = true;
      break;
    }
  }
  if (failed()) {
    if (result_.error == QXERR_ERROR_IN_INPUT) say("\nError at line %d.", result_.errorLine);
    return result_;
  }
  if (!sawEnd) say("\nMissing token 'END'");
  model_.toMpsData(data);
  if (!model_.hasTitle) data.title.clear();
  return result_;
}

}  // namespace

TextReadResult readLpText(ByteSource& source, const TextReadOptions& options, MpsData& data) {
  LpReader reader(source, options);
  return reader.run(data);
}

}  // namespace torva
