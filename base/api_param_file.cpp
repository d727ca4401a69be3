// Exported functions of parameter files, the parameter CSV log and the
// AsciiDoc export of the parameter table.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/api.hpp"
#include "base/env.hpp"
#include "base/log.hpp"
#include "base/model.hpp"
#include "base/param_file.hpp"
#include "base/param_access.hpp"
#include "base/param_file_tables.hpp"

namespace pf = torva::paramfile;
using torva::guarded;

namespace {

std::string messageText(const QXenvRec* env, int code) {
  const char* text = env ? env->messages.text(code) : nullptr;
  return text ? text : "";
}

class ModelLevel final : public pf::Level {
 public:
  explicit ModelLevel(QXmodel model) : model_(model) {}
  int getInt(int id, int* v) override { return torva::getModelIntParam(*model_, id, v); }
  int getDou(int id, double* v) override { return torva::getModelDouParam(*model_, id, v); }
  int setInt(int id, int v) override { return torva::setModelIntParam(*model_, id, v); }
  int setDou(int id, double v) override { return torva::setModelDouParam(*model_, id, v); }
  void log(const std::string& text) override { torva::logText(*model_, text.c_str()); }
  bool hasLog() const override { return torva::hasLog(*model_); }
  std::string errorText(int code) override { return messageText(model_->env, code); }

 private:
  QXmodel model_;
};

class EnvLevel final : public pf::Level {
 public:
  explicit EnvLevel(QXenv env) : env_(env) {}
  int getInt(int id, int* v) override { return torva::getEnvIntParam(*env_, id, v); }
  int getDou(int id, double* v) override { return torva::getEnvDouParam(*env_, id, v); }
  int setInt(int id, int v) override { return torva::setEnvIntParam(*env_, id, v); }
  int setDou(int id, double v) override { return torva::setEnvDouParam(*env_, id, v); }
  void log(const std::string& text) override { torva::logText(*env_, text.c_str()); }
  bool hasLog() const override { return torva::hasLog(*env_); }
  std::string errorText(int code) override { return messageText(env_, code); }

 private:
  QXenv env_;
};

std::vector<pf::Row> rowsOf(int count, const QXparamTableRow* table) {
  // A negative count is an empty table.
  std::vector<pf::Row> rows;
  if (count <= 0) return rows;
  rows.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const QXparamTableRow& t = table[k];
    rows.push_back({t.id, t.name ? t.name : "", t.desc ? t.desc : "", t.size, 3});
  }
  return rows;
}

int writeModelFile(QXmodel model, const char* file) {
  QXenv env = model->env;
  const std::vector<pf::Row> rows = torva::paramfile::longTableRows();
  ModelLevel current(model);
  EnvLevel fallback(env);
  auto cutoff = [](int id, pf::Value* v, void* context) {
    return torva::paramfile::storedSpecialValue(*static_cast<QXmodel>(context), id, v);
  };

  if (pf::readsAsNumber(file)) {
    const std::string csv = pf::csvLogName(file);
    if (std::FILE* existing = std::fopen(csv.c_str(), "r")) {
      std::fclose(existing);
      return 0;  // logged once; an existing log is kept
    }
    pf::File f(std::fopen(csv.c_str(), "w"));
    if (!f) return QXERR_CANNOT_OPEN_FILE;
    pf::writeCsv(f.get(), rows, current, fallback, cutoff, model);
    f.reset();
    torva::logPrint(*model, "\nLogged model parameters to %s", csv.c_str());
    return 0;
  }

  pf::File f(std::fopen(file, "w"));
  if (!f) return QXERR_CANNOT_OPEN_FILE;
  pf::writeHeader(f.get());
  // A private model of the environment, outside its model list, supplies
  // the values a new model would start with.
  QXmodelRec fresh(env);
  ModelLevel defaults(&fresh);
  pf::writeModelEntries(f.get(), rows, current, fallback, defaults, cutoff, model);
  f.reset();
  torva::logPrint(*model, "\nWritten model parameters to %s", file);
  return 0;
}

int loadModel(QXmodel model, const char* file, const std::vector<pf::Row>& rows, bool withGa) {
  ModelLevel level(model);
  torva::logPrint(*model, "\nReading model parameters from %s\n", file);
  int set = 0;
  int rc = pf::loadSettings(file, rows, level, true, &set);
  if (rc == 0 && withGa) {
    // The descriptor-driven group is read too, where the table did not
    // already cover it.
    std::vector<pf::Row> ga;
    for (const pf::Row& row : pf::gaRows()) {
      const bool covered = std::any_of(rows.begin(), rows.end(),
                                       [&](const pf::Row& r) { return r.id == row.id; });
      if (!covered) ga.push_back(row);
    }
    rc = pf::loadSettings(file, ga, level, true, &set);
  }
  if (set > 0) torva::logText(*model, "\n\n");
  return rc;
}

int loadEnv(QXenv env, const char* file, const std::vector<pf::Row>& rows) {
  EnvLevel level(env);
  torva::logPrint(*env, "\nReading environment parameters from %s\n", file);
  int set = 0;
  const int rc = pf::loadSettings(file, rows, level, false, &set);
  if (set > 0) torva::logText(*env, "\n\n");
  return rc;
}

}  // namespace

int torva::readModelParameterFile(QXmodelRec& model, const char* file) {
  return loadModel(&model, file, pf::shortTableRows(), true);
}

extern "C" {

QXAPI int QXwriteModelParameter(QXmodel model, const char* file) {
  if (!model || !file || !model->env) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return writeModelFile(model, file); });
}

QXAPI int QXwriteEnvParameter(QXenv env, const char* file) {
  if (!env || !file) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    pf::File f(std::fopen(file, "w"));
    if (!f) return QXERR_CANNOT_OPEN_FILE;
    pf::writeHeader(f.get());
    EnvLevel level(env);
    pf::writeEnvEntries(f.get(), pf::longTableRows(), level);
    f.reset();
    torva::logPrint(*env, "\nWritten env parameters to %s", file);
    return 0;
  });
}

QXAPI int QXloadModelParameter(QXmodel model, const char* file, int count,
                               const QXparamTableRow* table) {
  if (!model || !file || (count > 0 && !table)) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return loadModel(model, file, rowsOf(count, table), false); });
}

QXAPI int QXloadEnvParameter(QXenv env, const char* file, int count,
                             const QXparamTableRow* table) {
  if (!env || !file || (count > 0 && !table)) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return loadEnv(env, file, rowsOf(count, table)); });
}

QXAPI int QXreadModelParameter(QXmodel model, const char* file) {
  if (!model || !file) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::readModelParameterFile(*model, file); });
}

QXAPI int QXreadEnvParameter(QXenv env, const char* file) {
  if (!env || !file) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return loadEnv(env, file, pf::shortTableRows()); });
}

QXAPI int QXwriteParameterAsciiDoc(QXenv env, const char* file) {
  if (!env || !file) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    pf::File f(std::fopen(file, "w"));
    if (!f) return QXERR_CANNOT_OPEN_FILE;
    pf::writeAsciiDoc(f.get(), pf::longTableRows());
    f.reset();
    torva::logPrint(*env, "\nWritten parameters to %s in asciidoc format", file);
    return 0;
  });
}

}  // extern "C"
