#include "io/mps_writer.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "torva.h"

namespace torva {
namespace {

// Width of the fixed format's name fields.
constexpr std::size_t kFixedNameWidth = 8;
// Field widths of numbers.
constexpr int kFixedNumberWidth = 12;
constexpr int kFreeNumberWidth = 22;
// Lowest precision the formatter tries before giving up.
constexpr int kMinPrecision = 6;
// Magnitudes below this are written in exponent form.
constexpr double kExponentFormBelow = 0.002;
// Bounds at or beyond these magnitudes are infinite when written.
constexpr double kInfiniteBound = 1e29;

// Rewrites the exponent after 'E' with "%d" (1.5E+003 -> 1.5E3).
void compactExponent(std::string& text) {
  std::size_t e = text.find('E');
  if (e == std::string::npos) return;
  long exponent = std::strtol(text.c_str() + e + 1, nullptr, 10);
  text.resize(e + 1);
  text += std::to_string(exponent);
}

std::string formatAt(double value, int precision, bool exponentForm) {
  char buffer[64];
  if (exponentForm)
    std::snprintf(buffer, sizeof buffer, "%.*E", precision - 1, value);
  else
    std::snprintf(buffer, sizeof buffer, "%.*G", precision, value);
  std::string text(buffer);
  compactExponent(text);
  return text;
}

}  // namespace

std::string formatMpsNumber(double value, int width) {
  if (width < 1) width = kFreeNumberWidth;
  const bool exponentForm = !(value == 0.0 || std::fabs(value) >= kExponentFormBelow);
  for (int p = width; p >= kMinPrecision; --p) {
    std::string text = formatAt(value, p, exponentForm);
    if (static_cast<int>(text.size()) <= width) return text;
  }
  return std::string();
}

namespace {

class Writer {
 public:
  Writer(const MpsData& d, const MpsWriteOptions& o, TextSink& s) : d_(d), opt_(o), out_(s) {
    width_ = o.fixed ? kFixedNumberWidth : kFreeNumberWidth;
  }
  int run();

 private:
  // Text of a number; a value that fits the width at no precision down to 6
  // is written at lower precision still, and in the last resort in full.
  std::string num(double v) const {
    std::string text = formatMpsNumber(v, width_);
    if (!text.empty()) return text;
    for (int p = kMinPrecision - 1; p >= 1; --p) {
      text = formatAt(v, p, true);
      if (static_cast<int>(text.size()) <= width_) return text;
    }
    return formatAt(v, 17, true);
  }
  // Name of an item as written: its own name when it has one, else the
  // generated one.
  const char* nameOf(const std::vector<std::string>& written, int index, const char* pattern,
                     std::string& buffer) const {
    auto u = static_cast<std::size_t>(index);
    if (u < written.size() && !written[u].empty()) return written[u].c_str();
    char text[32];
    std::snprintf(text, sizeof text, pattern, index);
    buffer = text;
    return buffer.c_str();
  }
  const char* rowName(int i) { return nameOf(rowsOut_, i, "R%07d", rowBuf_); }
  const char* colName(int j) { return nameOf(colsOut_, j, "C%07d", colBuf_); }
  const char* colName2(int j) { return nameOf(colsOut_, j, "C%07d", colBuf2_); }
  const char* coneName(int k) { return nameOf(conesOut_, k, "CONE%04d", coneBuf_); }
  void prepareNames();
  char varType(int j) const {
    return d_.varTypes.empty() ? 'C' : d_.varTypes[static_cast<std::size_t>(j)];
  }

  void writeMaxHeader();
  int writeRows();
  void writeColumns();
  void writeEntry(const char* column, const char* row, double value);
  void writeVectorLine(const std::string& vector, const char* row, double value);
  void writeBounds();
  void writeBound(const char* type, const char* column, const double* value);
  void writeQuadratic();
  void writeCones();

  const MpsData& d_;
  const MpsWriteOptions& opt_;
  TextSink& out_;
  int width_;
  double flip_ = 1.0;  // factor on the objective
  std::string objName_, rhsName_, rngName_, bndName_;
  std::vector<int> order_;  // column order of COLUMNS and BOUNDS
  std::string rowBuf_, colBuf_, colBuf2_, coneBuf_;
  // Names as written (see prepareNames).
  std::vector<std::string> rowsOut_, colsOut_, conesOut_;
};

// Free format separates fields by blanks, so blanks inside a name are
// written as underscores; a name changed so that it meets another name of
// its list (or the objective, for rows) gets the first suffix "_1", "_2", ...
// that makes it unique, so that the file reads back with as many items.
// Returns the names to write; the objective name is changed in place.
std::vector<std::string> uniqueFreeNames(const std::vector<std::string>& names,
                                         std::string* objective) {
  auto hasBlank = [](const std::string& n) { return n.find_first_of(" \t") != std::string::npos; };
  std::vector<std::string> out = names;
  const bool objBlank = objective && hasBlank(*objective);
  if (!objBlank && std::none_of(names.begin(), names.end(), hasBlank)) return out;
  std::unordered_set<std::string> taken;
  for (const std::string& n : names)
    if (!hasBlank(n)) taken.insert(n);
  if (objective && !objBlank) taken.insert(*objective);
  auto fix = [&](std::string& n) {
    std::replace(n.begin(), n.end(), ' ', '_');
    std::replace(n.begin(), n.end(), '\t', '_');
    if (taken.count(n)) {
      const std::string base = n;
      for (long k = 1; taken.count(n); ++k) {
        n = base;
        n += '_';
        n += std::to_string(k);
      }
    }
    taken.insert(n);
  };
  if (objBlank) fix(*objective);
  for (std::string& n : out)
    if (hasBlank(n)) fix(n);
  return out;
}

// The first name longer than the fixed format's name fields, or null.
const std::string* firstLongName(const std::vector<std::string>& names) {
  for (const std::string& n : names)
    if (n.size() > kFixedNameWidth) return &n;
  return nullptr;
}

void Writer::prepareNames() {
  if (opt_.fixed) {
    rowsOut_ = d_.rowNames;
    colsOut_ = d_.colNames;
    conesOut_ = d_.coneNames;
    // The fixed layout stays as it is; a longer name spills over into the
    // next field and the file does not read back, so say which name.
    const std::string* longName = firstLongName(d_.colNames);
    if (!longName) longName = firstLongName(d_.rowNames);
    if (!longName) longName = firstLongName(d_.coneNames);
    if (!longName && objName_.size() > kFixedNameWidth) longName = &objName_;
    if (longName && opt_.log)
      opt_.log("\nWarning: name '" + *longName +
               "' is longer than 8 characters and does not fit fixed MPS format; write free format");
    return;
  }
  rowsOut_ = uniqueFreeNames(d_.rowNames, &objName_);
  colsOut_ = uniqueFreeNames(d_.colNames, nullptr);
  conesOut_ = uniqueFreeNames(d_.coneNames, nullptr);
}

int Writer::run() {
  objName_ = d_.objName.empty() ? "OBJ" : d_.objName;
  std::string title = d_.title.empty() ? "NO_TITLE" : d_.title;
  rhsName_ = d_.rhsName;
  rngName_ = d_.rngName;
  bndName_ = d_.bndName.empty() ? "BND1" : d_.bndName;
  if (!opt_.fixed) {
    for (std::string* s : {&title, &rhsName_, &rngName_, &bndName_})
      std::replace(s->begin(), s->end(), ' ', '_');
  }
  prepareNames();
  out_.printf(opt_.fixed ? "NAME           %8s\n" : "NAME           %s\n", title.c_str());
  if (d_.objSense == -1) writeMaxHeader();
  if (int rc = writeRows()) return rc;
  writeColumns();

  out_.put("RHS\n");
  const std::string& rhsVector = rhsName_;
  if (d_.objConst != 0.0) writeVectorLine(rhsVector, objName_.c_str(), -d_.objConst * flip_);
  for (int i = 0; i < d_.m; ++i)
    if (d_.rhs[static_cast<std::size_t>(i)] != 0.0) writeVectorLine(rhsVector, rowName(i), d_.rhs[static_cast<std::size_t>(i)]);
  if (d_.conTypes.find('R') != std::string::npos) {
    out_.put("RANGES\n");
    for (int i = 0; i < d_.m; ++i) {
      if (d_.conTypes[static_cast<std::size_t>(i)] != 'R') continue;
      double r = static_cast<std::size_t>(i) < d_.ranges.size() ? d_.ranges[static_cast<std::size_t>(i)] : 0.0;
      writeVectorLine(rngName_, rowName(i), r);
    }
  }
  writeBounds();
  writeQuadratic();
  writeCones();
  out_.put("ENDATA\n");
  return 0;
}

void Writer::writeMaxHeader() {
  static const char kStars[] = "*****************************************************\n";
  out_.put(kStars);
  out_.put("* REMARK: Generated by QXwriteMPSFile() routine for \n");
  out_.put("* a maximization type problem.\n");
  out_.put("*\n");
  switch (opt_.objWriteStyle) {
    case kMpsMaxNote:
      out_.put("* If your MPS parser can process the OBJSENSE card,\n");
      out_.put("* then uncomment the following two lines by deleting\n");
      out_.put("* the '*' characters in front of them, otherwise the\n");
      out_.put("* model will be treated as a minimization model.\n");
      out_.put(kStars);
      out_.put("*OBJSENSE     \n");
      out_.put("*    MAX      \n");
      break;
    case kMpsMaxCard:
      out_.put("* If your MPS parser can't process the OBJSENSE card,\n");
      out_.put("* then comment out the following two lines by adding\n");
      out_.put("* a '*' character in front of them. This will, however,\n");
      out_.put("* cause the model to be treated as a minimization model.\n");
      out_.put(kStars);
      out_.put("OBJSENSE\n");
      out_.put("    MAX\n");
      break;
    default:
      out_.put("* The objective coefficients have flipped signs. \n");
      out_.put("* Interpret the objective value from the solution of\n");
      out_.put("* this model accordingly.\n");
      out_.put(kStars);
      flip_ = -1.0;
      break;
  }
}

int Writer::writeRows() {
  out_.put("ROWS\n");
  out_.printf(" N  %s\n", objName_.c_str());
  for (int i = 0; i < d_.m; ++i) {
    const char* form;
    switch (d_.conTypes[static_cast<std::size_t>(i)]) {
      case 'E': form = " E  %s\n"; break;
      case 'G': form = " G  %s\n"; break;
      case 'N': form = " N  %s\n"; break;
      case 'L':
      case 'R': form = " L  %s\n"; break;
      default: return QXERR_BAD_CONSTRAINT_TYPE;
    }
    out_.printf(form, rowName(i));
  }
  return 0;
}

void Writer::writeEntry(const char* column, const char* row, double value) {
  out_.printf(opt_.fixed ? "    %8s  %8s  %12s\n" : "    %s  %s  %s\n", column, row, num(value).c_str());
}

void Writer::writeColumns() {
  const int n = d_.n;
  const int nSets = d_.numSets();
  // Set markers are written only when every column is in at most one set and
  // no set with members is a cardinality set.
  std::vector<int> setOf(static_cast<std::size_t>(n), -1);
  bool useSets = nSets > 0;
  for (int s = 0; s < nSets && useSets; ++s) {
    int b = d_.setBeg[static_cast<std::size_t>(s)], e = d_.setBeg[static_cast<std::size_t>(s) + 1];
    if (e > b && d_.setTypes[static_cast<std::size_t>(s)] == 4) useSets = false;
    for (int k = b; k < e && useSets; ++k) {
      int j = d_.setCols[static_cast<std::size_t>(k)];
      if (j < 0 || j >= n || setOf[static_cast<std::size_t>(j)] >= 0) useSets = false;
      else setOf[static_cast<std::size_t>(j)] = s;
    }
  }
  order_.clear();
  order_.reserve(static_cast<std::size_t>(n));
  if (useSets) {
    std::vector<char> setDone(static_cast<std::size_t>(nSets), 0);
    for (int j = 0; j < n; ++j) {
      int s = setOf[static_cast<std::size_t>(j)];
      if (s < 0) {
        order_.push_back(j);
      } else if (!setDone[static_cast<std::size_t>(s)]) {
        setDone[static_cast<std::size_t>(s)] = 1;
        for (int k = d_.setBeg[static_cast<std::size_t>(s)]; k < d_.setBeg[static_cast<std::size_t>(s) + 1]; ++k)
          order_.push_back(d_.setCols[static_cast<std::size_t>(k)]);
      }
    }
  } else {
    std::fill(setOf.begin(), setOf.end(), -1);
    for (int j = 0; j < n; ++j) order_.push_back(j);
  }

  out_.put("COLUMNS\n");
  int openSet = -1;
  bool intOpen = false;
  int intRun = 0;
  for (int j : order_) {
    auto uj = static_cast<std::size_t>(j);
    bool isInt = varType(j) == 'I';
    if (intOpen && !isInt) {
      out_.printf("    INT%04dE  'MARKER'                 'INTEND'\n", intRun++);
      intOpen = false;
    }
    if (openSet >= 0 && setOf[uj] != openSet) {
      out_.printf("    SET%04d   'MARKER'                 'SOSEND'\n", openSet + 1);
      openSet = -1;
    }
    if (setOf[uj] >= 0 && openSet != setOf[uj]) {
      openSet = setOf[uj];
      static const char* const kOpen[] = {
          "    SET%04d   'MARKER'                 'SOSORG'\n",
          " S1 SET%04d   'MARKER'                 'SOSORG'\n",
          " S2 SET%04d   'MARKER'                 'SOSORG'\n",
          "    SET%04d   'MARKER'                 'SOSORG'\n",
          " CA SET%04d   'MARKER'                 'SOSORG'\n"};
      int type = d_.setTypes[static_cast<std::size_t>(openSet)];
      out_.printf(kOpen[type >= 1 && type <= 4 ? type : 0], openSet + 1);
    }
    if (isInt && !intOpen) {
      out_.printf("    INT%04dB  'MARKER'                 'INTORG'\n", intRun);
      intOpen = true;
    }

    const char* column = colName(j);
    int b = d_.colBeg[uj], e = d_.colBeg[uj + 1];
    double c = d_.cost[uj] * flip_;
    if (c != 0.0 || e == b) writeEntry(column, objName_.c_str(), c);
    if (opt_.fixed) {
      for (int k = b; k < e; k += 2) {
        auto uk = static_cast<std::size_t>(k);
        out_.printf("    %8s  %8s  %12s", column, rowName(d_.rowIdx[uk]), num(d_.coef[uk]).c_str());
        if (k + 1 < e)
          out_.printf("   %8s  %12s", rowName(d_.rowIdx[uk + 1]), num(d_.coef[uk + 1]).c_str());
        out_.put('\n');
      }
    } else {
      for (int k = b; k < e; ++k) {
        auto uk = static_cast<std::size_t>(k);
        writeEntry(column, rowName(d_.rowIdx[uk]), d_.coef[uk]);
      }
    }
  }
  if (intOpen) out_.printf("    INT%04dE  'MARKER'                 'INTEND'\n", intRun);
  if (openSet >= 0) out_.printf("    SET%04d   'MARKER'                 'SOSEND'\n", openSet + 1);
}

void Writer::writeVectorLine(const std::string& vector, const char* row, double value) {
  std::string v = num(value);
  if (vector.empty())
    out_.printf(opt_.fixed ? "    RHS1      %8s  %12s\n" : "    RHS1      %s  %s\n", row, v.c_str());
  else
    out_.printf(opt_.fixed ? "    %-8s  %8s  %12s\n" : "    %-8s  %s  %s\n", vector.c_str(), row, v.c_str());
}

void Writer::writeBound(const char* type, const char* column, const double* value) {
  const char* vector = bndName_.c_str();
  if (value) {
    out_.printf(opt_.fixed ? " %s %-8s  %8s  %12s\n" : " %s %-8s  %s  %s\n", type, vector, column,
                num(*value).c_str());
  } else {
    out_.printf(opt_.fixed ? " %s %-8s  %8s\n" : " %s %-8s  %s\n", type, vector, column);
  }
}

void Writer::writeBounds() {
  out_.put("BOUNDS\n");
  std::vector<int> scIndex(static_cast<std::size_t>(d_.n), -1);
  for (std::size_t k = 0; k < d_.scVars.size(); ++k) {
    int j = d_.scVars[k];
    if (j >= 0 && j < d_.n) scIndex[static_cast<std::size_t>(j)] = static_cast<int>(k);
  }
  const char* vector = bndName_.c_str();
  for (int j : order_) {
    auto uj = static_cast<std::size_t>(j);
    const char* column = colName(j);
    double lo = d_.lower[uj], up = d_.upper[uj];
    if (scIndex[uj] >= 0) {
      auto k = static_cast<std::size_t>(scIndex[uj]);
      double level = d_.scLower[k];
      // A binary semi-continuous column says so first: BV before SC keeps
      // the type on reading (an integer one is inside INTORG markers).
      if (varType(j) == 'B') writeBound("BV", column, nullptr);
      // SC and LO keep the fixed widths in both forms.
      out_.printf(" SC %-8s  %8s  %12s\n", vector, column, num(up).c_str());
      // The reader gives an SC column the level min(upper, 1); a different
      // level, zero included, is written explicitly.
      if (level != 0.0 || level != std::min(up, 1.0))
        out_.printf(" LO %-8s  %8s  %12s\n", vector, column, num(level).c_str());
      continue;
    }
    if (varType(j) == 'B') {
      writeBound("BV", column, nullptr);
      // Bounds narrower than [0, 1] follow the BV line.
      if (lo == up) {
        writeBound("FX", column, &lo);
      } else {
        if (lo != 0.0) writeBound("LO", column, &lo);
        if (up != 1.0) writeBound("UP", column, &up);
      }
      continue;
    }
    if (lo == up) {
      writeBound("FX", column, &lo);
      continue;
    }
    if (lo <= -kInfiniteBound) {
      writeBound(up < kInfiniteBound ? "MI" : "FR", column, nullptr);
    } else if (lo != 0.0) {
      writeBound("LO", column, &lo);
    }
    if (up < kInfiniteBound) {
      writeBound("UP", column, &up);
    }
  }
}

void Writer::writeQuadratic() {
  const int nq = d_.numQc();
  if (nq == 0) return;
  // Blocks by row, the objective first, rows in increasing order, terms in
  // stored order within a row.
  std::vector<int> idx(static_cast<std::size_t>(nq));
  for (int k = 0; k < nq; ++k) idx[static_cast<std::size_t>(k)] = k;
  std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
    return d_.qcRow[static_cast<std::size_t>(a)] < d_.qcRow[static_cast<std::size_t>(b)];
  });
  int current = -2;
  for (int k : idx) {
    auto uk = static_cast<std::size_t>(k);
    int row = d_.qcRow[uk];
    if (row != current) {
      current = row;
      out_.printf("QSECTION      %s\n", row < 0 ? objName_.c_str() : rowName(row));
    }
    double v = row < 0 ? d_.qcCoef[uk] * flip_ : d_.qcCoef[uk];
    out_.printf(opt_.fixed ? "    %8s  %8s  %12s\n" : "    %s  %s  %s\n", colName(d_.qcCol1[uk]),
                colName2(d_.qcCol2[uk]), num(v).c_str());
  }
}

void Writer::writeCones() {
  for (int k = 0; k < d_.numCones(); ++k) {
    const char* type = d_.coneTypes[static_cast<std::size_t>(k)] == 'R' ? "RQUAD" : "QUAD";
    out_.printf(opt_.fixed ? "CSECTION      %8s   %12s  %s\n" : "CSECTION      %8s   %s  %s\n",
                coneName(k), num(0.0).c_str(), type);
    for (int p = d_.coneBeg[static_cast<std::size_t>(k)]; p < d_.coneBeg[static_cast<std::size_t>(k) + 1]; ++p)
      out_.printf(opt_.fixed ? "    %8s \n" : "    %s \n", colName(d_.coneCols[static_cast<std::size_t>(p)]));
  }
}

}  // namespace

int writeMps(const MpsData& data, const MpsWriteOptions& options, TextSink& sink) {
  Writer writer(data, options, sink);
  return writer.run();
}

int writeMpsFile(const MpsData& data, const MpsWriteOptions& options, const std::string& path) {
  TextSink sink(path);
  if (!sink.ok()) return QXERR_CANNOT_OPEN_FILE;
  int rc = writeMps(data, options, sink);
  bool closed = sink.close();
  if (rc) return rc;
  return closed ? 0 : QXERR_CANNOT_OPEN_FILE;
}

}  // namespace torva
