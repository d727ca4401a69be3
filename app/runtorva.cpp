// runtorva: reads a model file, prints its statistics, solves it and prints
// a summary; see runtorva --help for the options and exit statuses.
#include <cstdio>
#include <string>

#include "app/runtorva.hpp"

namespace runtorva {
namespace {

bool endsWith(const std::string& s, const char* tail) {
  const std::string t(tail);
  return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// Writes the model to path with the writer the name or kind asks for.
int writeOne(QXenv env, QXmodel model, const std::string& path, bool solma, bool fixed) {
  std::string base = path;
  if (endsWith(base, ".gz")) base.resize(base.size() - 3);
  const char* what = "MPS";
  std::string log;
  QXsetModelLogfunc(model, collectLog, &log);
  int rc = 0;
  if (solma) {
    what = "SOLMA";
    rc = QXwriteSOLMAFile(model, path.c_str());
  } else if (endsWith(base, ".ltx")) {
    what = "TORVA text";
    rc = QXwriteTORVAFile(model, path.c_str());
  } else if (endsWith(base, ".mpi")) {
    what = "MPI";
    rc = QXwriteMPIFile(model, path.c_str());
  } else {
    what = fixed ? "fixed MPS" : "free MPS";
    rc = QXwriteMPSFile(model, path.c_str(), fixed ? 1 : 0);
  }
  QXsetModelLogfunc(model, nullptr, nullptr);
  // The writer's warnings (a name too long for fixed format) go with it.
  if (!log.empty()) std::printf("%s\n", log.c_str());
  if (rc) {
    complain("cannot write %s: %s", path.c_str(), errorText(env, rc).c_str());
    return rc == QXERR_CANNOT_OPEN_FILE ? kExitFile : kExitLibrary;
  }
  std::printf("Wrote %s in %s format.\n", path.c_str(), what);
  return kExitOk;
}

// Writes the model read where --write and --write-solma ask; an Exit value.
int writeModel(QXenv env, QXmodel model, const Options& opts) {
  if (!opts.writeMps.empty())
    if (int rc = writeOne(env, model, opts.writeMps, false, opts.writeFixed)) return rc;
  if (!opts.writeSolma.empty()) return writeOne(env, model, opts.writeSolma, true, false);
  return kExitOk;
}

int run(const Options& opts) {
  int rc = 0;
  QXenv env = QXcreateEnv(&rc);
  if (!env) {
    complain("cannot create the environment: %s", errorText(nullptr, rc).c_str());
    return kExitLibrary;
  }
  // The parameters live in a model of their own: every reading attempt
  // starts from a copy, so the parameter file is read (and logged) once.
  QXmodel params = QXcreateModel(env, &rc);
  int status = params ? applyParameters(env, params, opts) : kExitLibrary;
  if (status == kExitOk) status = writeParameters(params, opts);
  QXmodel model = nullptr;
  if (status == kExitOk && !opts.model.empty()) status = readModel(env, params, opts, model);
  if (status == kExitOk && model) status = writeModel(env, model, opts);
  if (status == kExitOk && model && opts.solve) status = solveModel(env, model, opts);
  QXdeleteModel(&model);
  QXdeleteModel(&params);
  QXdeleteEnv(&env);
  std::fflush(stdout);
  return status;
}

}  // namespace
}  // namespace runtorva

int main(int argc, char** argv) {
  runtorva::Options opts;
  bool done = false;
  const int status = runtorva::parseOptions(argc, argv, opts, done);
  if (done) return status;
  if (opts.model.empty() && opts.writeParams.empty() && opts.paramFile.empty() &&
      opts.settings.empty()) {
    runtorva::complain("no model file given; see runtorva --help");
    return runtorva::kExitUsage;
  }
  return runtorva::run(opts);
}
