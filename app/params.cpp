// Parameter files and --set options. The library's parameter-file reader
// skips whatever it does not recognise; runtorva is stricter: it checks
// every setting line against the parameter registry first, so a misspelt
// name or a bad value stops the run with the line that holds it.
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/runtorva.hpp"

namespace runtorva {
namespace {

constexpr const char* kDefaultParamFile = "torva.par";
// The library reads parameter-file lines up to this many characters.
constexpr std::size_t kMaxParamLine = 255;
// Value sizes QXgetParamMacroID reports for int and double parameters.
constexpr int kIntSize = 4;
constexpr int kDoubleSize = 8;

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool parseInt(const std::string& text, int& value) {
  errno = 0;
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

bool parseDouble(const std::string& text, double& value) {
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && errno != ERANGE;
}

// Sets a parameter on model from its text value; "" on success, else why not.
std::string setFromText(QXenv env, QXmodel model, int type, int id, const std::string& text) {
  int rc = 0;
  if (type == kIntSize) {
    int v = 0;
    if (!parseInt(text, v)) return "'" + text + "' is not an integer";
    rc = QXsetModelIntParameter(model, id, v);
  } else if (type == kDoubleSize) {
    double v = 0.0;
    if (!parseDouble(text, v)) return "'" + text + "' is not a number";
    rc = QXsetModelDouParameter(model, id, v);
  } else {
    return "it is not a parameter with a number value";
  }
  return rc ? "the library refuses '" + text + "' (" + errorText(env, rc) + ")" : "";
}

// Resolves a parameter name as given, in upper case, and with the QX_IPARAM_
// or QX_DPARAM_ prefix added. Returns the macro name found ("" if none).
std::string resolveName(QXenv env, const std::string& given, int& type, int& id) {
  std::string upper = given;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const std::string& candidate : {given, upper, "QX_IPARAM_" + upper, "QX_DPARAM_" + upper,
                                       "QX_" + upper}) {
    if (QXgetParamMacroID(env, candidate.c_str(), &type, &id) == 0 && id > 0) {
      char name[256] = "";
      QXgetParamMacroName(env, id, name);
      return name[0] ? name : candidate;
    }
  }
  return "";
}

// Checks every line of a parameter file against the registry by setting it
// on a scratch model. Returns the Exit value; messages name file and line.
int checkParamFile(QXenv env, const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    complain("cannot open the parameter file %s", path.c_str());
    return kExitFile;
  }
  int err = 0;
  QXmodel scratch = QXcreateModel(env, &err);
  if (!scratch) {
    complain("%s", errorText(env, err).c_str());
    return kExitLibrary;
  }
  int result = kExitOk;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    auto bad = [&](const std::string& why) {
      complain("%s:%d: %s", path.c_str(), number, why.c_str());
      result = kExitParams;
    };
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string text = trim(line);
    if (text.empty() || text[0] == '!') continue;
    if (line.size() > kMaxParamLine) {
      bad("line longer than 255 characters");
      continue;
    }
    std::size_t k = 0;
    while (k < text.size() && isNameChar(text[k])) ++k;
    const std::string name = text.substr(0, k);
    const std::string rest = trim(text.substr(k));
    if (name.empty() || rest.empty() || rest[0] != '=') {
      bad("expected NAME = VALUE, found '" + text + "'");
      continue;
    }
    int type = 0, id = 0;
    if (QXgetParamMacroID(env, name.c_str(), &type, &id) != 0 || id <= 0) {
      bad("unknown parameter " + name);
      continue;
    }
    char macro[256] = "";
    QXgetParamMacroName(env, id, macro);
    if (name != macro) {
      bad(name + " is an older name; the file must use " + macro);
      continue;
    }
    const std::string why = setFromText(env, scratch, type, id, trim(rest.substr(1)));
    if (!why.empty()) bad(name + ": " + why);
  }
  QXdeleteModel(&scratch);
  return result;
}

}  // namespace

int applyParameters(QXenv env, QXmodel model, const Options& opts) {
  std::string file = opts.paramFile;
  if (file.empty()) {
    if (std::FILE* probe = std::fopen(kDefaultParamFile, "r")) {
      std::fclose(probe);
      file = kDefaultParamFile;
    }
  }
  if (!file.empty()) {
    if (int rc = checkParamFile(env, file)) return rc;
    QXsetModelLogfunc(model, printLog, nullptr);
    const int rc = QXreadModelParameter(model, file.c_str());
    QXsetModelLogfunc(model, nullptr, nullptr);
    if (rc) {
      complain("cannot read the parameter file %s: %s", file.c_str(), errorText(env, rc).c_str());
      return rc == QXERR_CANNOT_OPEN_FILE ? kExitFile : kExitParams;
    }
    // The library's log lines begin with a newline; end the last one.
    std::fputs("\n", stdout);
  }
  for (const auto& [given, value] : opts.settings) {
    int type = 0, id = 0;
    const std::string name = resolveName(env, given, type, id);
    if (name.empty()) {
      complain("--set: unknown parameter %s", given.c_str());
      return kExitParams;
    }
    const std::string why = setFromText(env, model, type, id, value);
    if (!why.empty()) {
      complain("--set %s: %s", name.c_str(), why.c_str());
      return kExitParams;
    }
  }
  return kExitOk;
}

int writeParameters(QXmodel model, const Options& opts) {
  if (opts.writeParams.empty()) return kExitOk;
  QXsetModelLogfunc(model, printLog, nullptr);
  const int rc = QXwriteModelParameter(model, opts.writeParams.c_str());
  QXsetModelLogfunc(model, nullptr, nullptr);
  std::fputs("\n", stdout);
  if (rc) {
    complain("cannot write the parameter file %s: %s", opts.writeParams.c_str(),
             errorText(nullptr, rc).c_str());
    return kExitFile;
  }
  return kExitOk;
}

}  // namespace runtorva
