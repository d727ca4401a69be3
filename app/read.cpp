// Reading the model file: free MPS first and fixed MPS on a syntax error
// (unless a format is given), with the parameters read once beforehand. A
// failure is reported with the attempt that got further: the file and line,
// the reader's own messages, the library's error text and, where runtorva
// can tell, a hint of its own (a value that is no number, another format).
#include <unistd.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/runtorva.hpp"

namespace runtorva {
namespace {

// Print level at which the MPS reader logs its progress and failure lines.
constexpr int kReaderDetailLevel = 5;

struct Attempt {
  int format = 0;
  int rc = 0;
  int line = 0;          // line of a syntax error
  std::string text;      // that line's text
  std::string log;       // the reader's log lines
  QXmodel model = nullptr;
};

const char* formatName(int format) {
  switch (format) {
    case 0: return "free MPS";
    case 1: return "fixed MPS";
    case 2: return "free MPS, compatibility mode";
    default: return "fixed MPS, compatibility mode";
  }
}

int exitFor(int rc) {
  switch (rc) {
    case QXERR_BAD_MPS_FILE:
    case QXERR_BAD_MPI_FILE: return kExitSyntax;
    case QXERR_CANNOT_OPEN_FILE:
    case QXERR_ZLIB_LOAD: return kExitFile;
    default: return kExitLibrary;
  }
}

// Reads path with format into a new model carrying paramModel's parameters.
Attempt attempt(QXenv env, QXmodel paramModel, const std::string& path, int format, int printLevel) {
  Attempt a;
  a.format = format;
  a.model = QXcreateModel(env, &a.rc);
  if (!a.model) return a;
  QXcopyParam(paramModel, a.model, 0);
  if (printLevel >= 0) QXsetModelIntParameter(a.model, QX_IPARAM_LP_PRINTLEVEL, printLevel);
  QXsetModelLogfunc(a.model, collectLog, &a.log);
  a.rc = QXreadMPSFile(a.model, path.c_str(), format);
  QXsetModelLogfunc(a.model, nullptr, nullptr);
  if (a.rc == QXERR_BAD_MPS_FILE) {
    char text[512] = "";
    QXgetFileError(a.model, &a.line, text);
    a.text = text;
  }
  if (a.rc) QXdeleteModel(&a.model);
  return a;
}

// The lines of a plain-text file (empty for a compressed one), at most
// maxLines of them.
std::vector<std::string> plainLines(const std::string& path, std::size_t maxLines = SIZE_MAX) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  char magic[2] = {0, 0};
  if (!in.read(magic, 2) || (magic[0] == '\x1f' && magic[1] == '\x8b')) return lines;
  in.seekg(0);
  for (std::string line; lines.size() < maxLines && std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> words(const std::string& line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    std::size_t s = i;
    while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
    if (i > s) out.push_back(line.substr(s, i - s));
  }
  return out;
}

bool isNumber(const std::string& w) {
  std::string t = w;
  for (char& c : t)
    if (c == 'd' || c == 'D') c = 'e';
  char* end = nullptr;
  std::strtod(t.c_str(), &end);
  return !t.empty() && *end == '\0';
}

// The likely format of a file that is not MPS, from its first lines; null
// when it looks like MPS (or cannot be told).
const char* otherFormat(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    std::vector<std::string> w = words(line);
    if (w.empty() || line[0] == '*') continue;
    if (w[0][0] == '\\') return "an LP-format file";
    if (w[0][0] == '!') continue;
    std::string first = w[0];
    for (char& c : first) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (first.rfind("max", 0) == 0 || first.rfind("min", 0) == 0) {
      // LP format labels its rows "name:"; TORVA text writes plain algebra.
      for (const std::string& l : lines)
        if (l.find(':') != std::string::npos) return "an LP-format file";
      return "a TORVA text (.ltx) file";
    }
    return nullptr;
  }
  return nullptr;
}

// runtorva's own hint about a syntax error at line (from 1) of lines.
std::string hintFor(const std::vector<std::string>& lines, int line) {
  if (const char* other = otherFormat(lines))
    return std::string("the file looks like ") + other + ", not MPS";
  if (line < 1 || line > static_cast<int>(lines.size())) return "";
  // The section the line is in: the last header line before it.
  std::string section;
  for (int k = 0; k < line - 1; ++k) {
    const std::string& l = lines[static_cast<std::size_t>(k)];
    if (!l.empty() && std::isalpha(static_cast<unsigned char>(l[0]))) section = words(l)[0];
  }
  std::vector<std::string> w = words(lines[static_cast<std::size_t>(line - 1)]);
  std::vector<std::size_t> valueAt;  // positions that hold values
  if (section == "COLUMNS" && w.size() >= 3 && w[1] != "'MARKER'") valueAt = {2, 4};
  else if (section == "RHS" || section == "RANGES") valueAt = w.size() % 2 == 0 ? std::vector<std::size_t>{1, 3}
                                                                                : std::vector<std::size_t>{2, 4};
  else if (section == "BOUNDS" && w.size() >= 3) valueAt = {w.size() - 1};
  for (std::size_t k : valueAt)
    if (k < w.size() && !isNumber(w[k])) return "cannot convert '" + w[k] + "' to a number";
  return "";
}

// Index of the first ENDATA line before line (from 1), or -1.
int endataBefore(const std::vector<std::string>& lines, int line) {
  for (int k = 0; k < line - 1 && k < static_cast<int>(lines.size()); ++k)
    if (lines[static_cast<std::size_t>(k)].rfind("ENDATA", 0) == 0) return k;
  return -1;
}

// Every peer reads files with sections after ENDATA (MIPLIB's dcmulti); the
// library rejects them. Retry on a copy of the part up to ENDATA.
bool retryBeforeEndata(QXenv env, QXmodel paramModel, const Options& opts,
                       const std::vector<std::string>& lines, Attempt& best) {
  const int endata = endataBefore(lines, best.line);
  if (endata < 0) return false;
  char name[] = "/tmp/runtorva-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return false;
  ::close(fd);
  {
    std::ofstream out(name, std::ios::binary);
    for (int k = 0; k <= endata; ++k) out << lines[static_cast<std::size_t>(k)] << '\n';
  }
  Attempt again = attempt(env, paramModel, name, best.format, -1);
  std::remove(name);
  if (again.rc) return false;
  complain("%s: line %d: text after ENDATA (line %d); read the part up to ENDATA",
           opts.model.c_str(), best.line, endata + 1);
  if (best.model) QXdeleteModel(&best.model);
  best = std::move(again);
  return true;
}

void reportFailure(QXenv env, QXmodel paramModel, const Options& opts, const Attempt& a,
                   const std::vector<std::string>& lines) {
  if (a.rc != QXERR_BAD_MPS_FILE) {
    if (a.rc == QXERR_CANNOT_OPEN_FILE)
      complain("cannot open the model file %s", opts.model.c_str());
    complain("%s: %s", opts.model.c_str(), errorText(env, a.rc).c_str());
    return;
  }
  // Read once more with the reader's detail lines on, for its reasons.
  Attempt detail = attempt(env, paramModel, opts.model, a.format, kReaderDetailLevel);
  std::size_t pos = 0;
  while ((pos = detail.log.find("\nMPS Reader: ", pos)) != std::string::npos) {
    const std::size_t end = detail.log.find('\n', pos + 1);
    const std::string line = detail.log.substr(pos + 1, end == std::string::npos ? end : end - pos - 1);
    pos = end == std::string::npos ? detail.log.size() : end;
    if (line.find("Found ") != std::string::npos || line.find("Initial pass") != std::string::npos ||
        line.find("processed") != std::string::npos)
      continue;
    complain("%s: %s", opts.model.c_str(), line.c_str());
  }
  complain("%s:%d: %s (read as %s)", opts.model.c_str(), a.line, errorText(env, a.rc).c_str(),
           formatName(a.format));
  complain("%s:%d: %s", opts.model.c_str(), a.line, a.text.c_str());
  const std::string hint = hintFor(lines, a.line);
  if (!hint.empty()) complain("%s:%d: %s", opts.model.c_str(), a.line, hint.c_str());
}

void printBanner(QXmodel model, const Options& opts, const char* format) {
  char title[1024] = "";
  int sense = 1;
  QXgetNameData(model, title, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  QXgetLPData(model, &sense, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
              nullptr, nullptr);
  std::printf("Model %s from %s (%s), %s\n", title[0] ? title : "(no name)", opts.model.c_str(),
              format, sense == QX_MAX ? "maximise" : "minimise");
}

// Statistics of an instruction-list model: its rows by class, its
// variables and the length of its code. Nothing for other models.
void printInstructStats(QXmodel model) {
  int nCons = 0, nVars = 0, nNumbers = 0, codeSize = 0;
  if (QXgetInstructSizes(model, &nCons, &nVars, &nNumbers, &codeSize) != 0) return;
  std::vector<int> rowClass(static_cast<std::size_t>(nCons) + 1, 0);
  int modelClass = 0, nlpVars = 0, spars = 0;
  QXgetInstructClass(model, &modelClass, rowClass.data(), nullptr);
  QXgetInfo(model, QX_IINFO_NUM_NLP_VARS, &nlpVars);
  QXgetInfo(model, QX_IINFO_NUM_SPARS, &spars);
  int nonlinear = 0;
  for (int i = 1; i <= nCons; ++i) nonlinear += rowClass[static_cast<std::size_t>(i)];
  std::printf("Instruction list: objective %s, %d constraints (%d linear, %d nonlinear)\n",
              rowClass[0] ? "nonlinear" : "linear", nCons, nCons - nonlinear, nonlinear);
  std::printf("                  %d variables (%d nonlinear), %d stochastic parameters\n", nVars, nlpVars,
              spars);
  std::printf("                  %d code words, %d numbers\n", codeSize, nNumbers);
}

// Model file formats other than MPS, each with its reader.
enum class Kind { kMps, kLp, kTorvaText, kMpi };
// Lines read to tell a file's format from its content.
constexpr std::size_t kSniffLines = 64;

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The format by the file name (a .gz suffix aside), else by the content.
Kind kindOf(const Options& opts) {
  if (opts.mpsFormat >= 0) return Kind::kMps;
  std::string name = opts.model;
  if (endsWith(name, ".gz")) name.resize(name.size() - 3);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (endsWith(name, ".mps")) return Kind::kMps;
  if (endsWith(name, ".lp")) return Kind::kLp;
  if (endsWith(name, ".ltx")) return Kind::kTorvaText;
  if (endsWith(name, ".mpi")) return Kind::kMpi;
  const char* other = otherFormat(plainLines(opts.model, kSniffLines));
  if (!other) return Kind::kMps;
  return std::string(other).find("LP") != std::string::npos ? Kind::kLp : Kind::kTorvaText;
}

const char* kindName(Kind kind) {
  switch (kind) {
    case Kind::kLp: return "LP format";
    case Kind::kTorvaText: return "TORVA text";
    case Kind::kMpi: return "MPI";
    default: return "MPS";
  }
}

// Reads a file of a format other than MPS with its reader (one attempt).
Attempt attemptOther(QXenv env, QXmodel paramModel, const std::string& path, Kind kind) {
  Attempt a;
  a.model = QXcreateModel(env, &a.rc);
  if (!a.model) return a;
  QXcopyParam(paramModel, a.model, 0);
  QXsetModelLogfunc(a.model, collectLog, &a.log);
  switch (kind) {
    case Kind::kLp: a.rc = QXreadLPFile(a.model, path.c_str()); break;
    case Kind::kTorvaText: a.rc = QXreadTORVAFile(a.model, path.c_str()); break;
    default: a.rc = QXreadMPIFile(a.model, path.c_str()); break;
  }
  QXsetModelLogfunc(a.model, nullptr, nullptr);
  if (a.rc == QXERR_BAD_MPS_FILE || a.rc == QXERR_BAD_MPI_FILE) {
    char text[1100] = "";
    QXgetFileError(a.model, &a.line, text);
    a.text = text;
  }
  if (a.rc) QXdeleteModel(&a.model);
  return a;
}

int readOther(QXenv env, QXmodel paramModel, const Options& opts, Kind kind, QXmodel& model) {
  Attempt a = attemptOther(env, paramModel, opts.model, kind);
  if (a.rc) {
    // The reader's own lines first, then where and what.
    std::fputs(a.log.c_str(), stdout);
    std::fputs("\n", stdout);
    if (a.rc == QXERR_CANNOT_OPEN_FILE) complain("cannot open the model file %s", opts.model.c_str());
    if (a.line > 0) {
      complain("%s:%d: %s (read as %s)", opts.model.c_str(), a.line, errorText(env, a.rc).c_str(),
               kindName(kind));
      complain("%s:%d: %s", opts.model.c_str(), a.line, a.text.c_str());
    } else {
      complain("%s: %s (read as %s)", opts.model.c_str(), errorText(env, a.rc).c_str(), kindName(kind));
    }
    return exitFor(a.rc);
  }
  printBanner(a.model, opts, kindName(kind));
  std::fputs(a.log.c_str(), stdout);
  std::fputs("\n", stdout);
  printInstructStats(a.model);
  model = a.model;
  return kExitOk;
}


}  // namespace

int readModel(QXenv env, QXmodel paramModel, const Options& opts, QXmodel& model) {
  const Kind kind = kindOf(opts);
  if (kind != Kind::kMps) return readOther(env, paramModel, opts, kind, model);
  std::vector<int> formats = {opts.mpsFormat};
  if (opts.mpsFormat < 0) formats = {0, 1};
  Attempt best, other;
  for (int format : formats) {
    Attempt a = attempt(env, paramModel, opts.model, format, -1);
    const bool first = format == formats.front();
    if (first || a.rc == 0 || (best.rc == QXERR_BAD_MPS_FILE && a.rc == QXERR_BAD_MPS_FILE &&
                               a.line > best.line)) {
      if (best.model) QXdeleteModel(&best.model);
      other = std::move(best);
      best = std::move(a);
    } else {
      other = std::move(a);
    }
    if (best.rc != QXERR_BAD_MPS_FILE) break;
  }
  std::vector<std::string> lines;
  if (best.rc == QXERR_BAD_MPS_FILE) {
    lines = plainLines(opts.model);
    retryBeforeEndata(env, paramModel, opts, lines, best);
  }
  if (best.rc) {
    reportFailure(env, paramModel, opts, best, lines);
    if (other.rc == QXERR_BAD_MPS_FILE)
      complain("%s:%d: read as %s, the file fails earlier: %s", opts.model.c_str(), other.line,
               formatName(other.format), other.text.c_str());
    return exitFor(best.rc);
  }
  printBanner(best.model, opts, formatName(best.format));
  std::fputs(best.log.c_str(), stdout);
  std::fputs("\n", stdout);
  model = best.model;
  return kExitOk;
}

}  // namespace runtorva
