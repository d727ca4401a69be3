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
      "MODEL is an MPS file (free or fixed format, optionally gzip-compressed\n"
      "as MODEL.mps.gz); runtorva reads it and prints its statistics.\n"
      "\n"
      "Options:\n"
      "  --help             show this help and exit\n"
      "  --version          show the library version and exit\n"
      "  --mps-format N     read MODEL as MPS format N (0 free, 1 fixed, 2 free and\n"
      "                     3 fixed in compatibility mode); default: free, and\n"
      "                     fixed when the file does not read as free\n"
      "  --write OUT        write the model read to OUT as an MPS file\n"
      "  --fixed            write OUT in fixed format (default free)\n"
      "  -p FILE            read parameter settings from FILE instead of torva.par\n"
      "  --write-params FILE\n"
      "                     write the current parameter settings to FILE\n"
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


// Collects a model's log lines.
void collectLog(QXmodel, const char* text, void* userdata) {
  static_cast<std::string*>(userdata)->append(text);
}

// Reports a failed call on standard error.
void reportError(QXenv env, const char* what, int code) {
  char message[512] = "";
  QXgetErrorMessage(env, code, message);
  std::fprintf(stderr, "runtorva: %s: error %d: %s\n", what, code, message);
}

// Reads path into a new model of env with the given MPS format. Returns the
// model (null on failure); rc receives the error code, log the model's log
// and where the line of a syntax error.
QXmodel readModel(QXenv env, const std::string& path, int format, const ParamOptions& params,
                  int& rc, std::string& log, std::string& where) {
  log.clear();
  where.clear();
  QXmodel model = QXcreateModel(env, &rc);
  if (!model) return nullptr;
  if ((rc = applyParamOptions(model, params)) != 0) {
    QXdeleteModel(&model);
    return nullptr;
  }
  QXsetModelLogfunc(model, collectLog, &log);
  rc = QXreadMPSFile(model, path.c_str(), format);
  if (rc) {
    if (rc == QXERR_BAD_MPS_FILE) {
      int line = 0;
      char text[512] = "";
      QXgetFileError(model, &line, text);
      where = "line " + std::to_string(line) + ": " + text;
    }
    QXdeleteModel(&model);
    return nullptr;
  }
  QXsetModelLogfunc(model, nullptr, nullptr);
  return model;
}

int runModel(const std::string& path, int format, const std::string& out, bool outFixed,
             const ParamOptions& params) {
  int rc = 0;
  QXenv env = QXcreateEnv(&rc);
  if (!env) {
    reportError(nullptr, "creating the environment", rc);
    return 1;
  }
  std::string log, where;
  QXmodel model = readModel(env, path, format >= 0 ? format : 0, params, rc, log, where);
  if (!model && rc == QXERR_BAD_MPS_FILE && format < 0) {
    // Not free MPS: read it as fixed MPS, and report the free-format error
    // if that fails too.
    // The settings file is read into the new model again; writing the
    // settings was done on the first attempt.
    std::string fixedLog, fixedWhere;
    model = readModel(env, path, 1, ParamOptions{params.readFile, ""}, rc, fixedLog, fixedWhere);
    if (model) log = fixedLog;
  }
  if (!model) {
    if (!where.empty()) std::fprintf(stderr, "runtorva: %s, %s\n", path.c_str(), where.c_str());
    reportError(env, path.c_str(), rc);
    QXdeleteEnv(&env);
    return 1;
  }
  std::fputs(log.c_str(), stdout);
  std::fputs("\n", stdout);
  int status = 0;
  if (!out.empty()) {
    rc = QXwriteMPSFile(model, out.c_str(), outFixed ? 1 : 0);
    if (rc) {
      reportError(env, out.c_str(), rc);
      status = 1;
    } else {
      std::printf("Wrote %s in %s MPS format.\n", out.c_str(), outFixed ? "fixed" : "free");
    }
  }
  QXdeleteModel(&model);
  QXdeleteEnv(&env);
  return status;
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
  std::string modelPath, outPath;
  bool outFixed = false;
  int format = -1;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "--help" || a == "-h") {
      printHelp();
      return 0;
    }
    if (a == "--version" || a == "-v") {
      printVersion();
      return 0;
    }
    if (a == "--write" && k + 1 < args.size()) {
      outPath = args[++k];
    } else if (a == "--fixed") {
      outFixed = true;
    } else if (a == "--mps-format" && k + 1 < args.size()) {
      const std::string& f = args[++k];
      if (f.size() != 1 || f[0] < '0' || f[0] > '3') {
        std::fprintf(stderr, "runtorva: --mps-format takes 0, 1, 2 or 3\n");
        return 2;
      }
      format = f[0] - '0';
    } else if (!a.empty() && a[0] != '-' && modelPath.empty()) {
      modelPath = a;
    } else {
      std::fprintf(stderr, "runtorva: unknown arguments; see runtorva --help\n");
      return 2;
    }
  }
  if (modelPath.empty()) {
    std::fprintf(stderr, "runtorva: no model file given; see runtorva --help\n");
    return 2;
  }
  return runModel(modelPath, format, outPath, outFixed, paramOptions);
}
