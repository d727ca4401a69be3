// runtorva: command-line driver of the TORVA API library.
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "torva.h"

namespace {

void printVersion() {
  char version[64];
  char built[64];
  QXgetVersionInfo(version, built);
  std::printf("runtorva (TORVA API) %s, built %s\n", version, built);
}

void printHelp() {
  std::printf(
      "Usage: runtorva [options] [MODEL]\n"
      "\n"
      "Reads, solves and reports optimisation models with the TORVA API library.\n"
      "\n"
      "Options:\n"
      "  --help       show this help and exit\n"
      "  --version    show the library version and exit\n"
      "  -p FILE      read parameter settings from FILE instead of torva.par\n"
      "  --write-params FILE\n"
      "               write the current parameter settings to FILE\n"
      "\n"
      "The parameter file torva.par in the working directory is read when it exists.\n");
}

// Parameter files: torva.par from the working directory (or the file given
// with -p) is read into the model before anything else, and --write-params
// writes the settings in force.
constexpr const char* kDefaultParamFile = "torva.par";

struct ParamOptions {
  std::string readFile;   // -p FILE
  std::string writeFile;  // --write-params FILE
  bool given() const { return !readFile.empty() || !writeFile.empty(); }
};

// Moves the parameter-file options out of args; false (with a message) when
// an option lacks its file.
bool takeParamOptions(std::vector<std::string>& args, ParamOptions& opts) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-p" || a == "--write-params") {
      if (i + 1 >= args.size()) {
        std::fprintf(stderr, "runtorva: %s needs a file name\n", a.c_str());
        return false;
      }
      (a == "-p" ? opts.readFile : opts.writeFile) = args[++i];
    } else {
      rest.push_back(a);
    }
  }
  args = std::move(rest);
  return true;
}

void printLog(QXmodel, const char* text, void*) { std::fputs(text, stdout); }

// Reads the parameter file into model and writes the settings when asked.
// Returns 0 or the library's error code (reported on standard error).
int applyParamOptions(QXmodel model, const ParamOptions& opts) {
  QXsetModelLogfunc(model, printLog, nullptr);
  std::string file = opts.readFile;
  if (file.empty()) {
    if (FILE* probe = std::fopen(kDefaultParamFile, "r")) {
      std::fclose(probe);
      file = kDefaultParamFile;
    }
  }
  if (!file.empty()) {
    if (int rc = QXreadModelParameter(model, file.c_str())) {
      std::fprintf(stderr, "runtorva: cannot read parameter file %s (error %d)\n", file.c_str(), rc);
      return rc;
    }
  }
  if (!opts.writeFile.empty()) {
    if (int rc = QXwriteModelParameter(model, opts.writeFile.c_str())) {
      std::fprintf(stderr, "runtorva: cannot write parameter file %s (error %d)\n",
                   opts.writeFile.c_str(), rc);
      return rc;
    }
  }
  // Log lines begin with a newline; end the last one.
  if (!file.empty() || !opts.writeFile.empty()) std::fputs("\n", stdout);
  return 0;
}

// Runs the parameter-file options on their own (no model file given).
int runParamOptionsOnly(const ParamOptions& opts) {
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  if (!env) return 1;
  QXmodel model = QXcreateModel(env, &err);
  int rc = model ? applyParamOptions(model, opts) : err;
  QXdeleteEnv(&env);
  return rc == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  ParamOptions paramOptions;
  if (!takeParamOptions(args, paramOptions)) return 2;
  if (args.empty() && paramOptions.given()) return runParamOptionsOnly(paramOptions);
  if (args.empty()) {
    printHelp();
    return 1;
  }
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      printHelp();
      return 0;
    }
    if (a == "--version" || a == "-v") {
      printVersion();
      return 0;
    }
  }
  std::fprintf(stderr, "runtorva: unknown arguments; see runtorva --help\n");
  return 2;
}
