#include "base/log.hpp"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/callback.hpp"
#include "base/env.hpp"
#include "base/model.hpp"

namespace torva {

std::string vformat(const char* fmt, va_list args) {
  // A first pass into a stack buffer serves almost every message.
  char small[512];
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (needed < 0) return std::string();
  if (static_cast<std::size_t>(needed) < sizeof small) return std::string(small, static_cast<std::size_t>(needed));
  std::vector<char> big(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(big.data(), big.size(), fmt, args);
  return std::string(big.data(), static_cast<std::size_t>(needed));
}

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::string text = vformat(fmt, args);
  va_end(args);
  return text;
}

bool hasLog(const QXmodelRec& model) noexcept { return model.logFunc != nullptr; }
bool hasLog(const QXenvRec& env) noexcept { return env.logFunc != nullptr; }

int printLevel(const QXmodelRec& model, int printLevelId) {
  return model.params.intValue(printLevelId);
}

int modelPrintLevel(const QXmodelRec& model) {
  return std::max({printLevel(model, QX_IPARAM_LP_PRINTLEVEL), printLevel(model, QX_IPARAM_MIP_PRINTLEVEL),
                   printLevel(model, QX_IPARAM_NLP_PRINTLEVEL)});
}

int fileIoPrintLevel(const QXmodelRec& model) {
  return std::max(printLevel(model, QX_IPARAM_LP_PRINTLEVEL), printLevel(model, QX_IPARAM_MIP_PRINTLEVEL));
}

bool logEnabled(const QXmodelRec& model, int printLevelId, int minLevel) {
  return hasLog(model) && printLevel(model, printLevelId) >= minLevel;
}

bool wantsLog(const QXmodelRec& model, int level) {
  return hasLog(model) && modelPrintLevel(model) >= level;
}

void logText(QXmodelRec& model, const char* text) {
  if (!model.logFunc || !text) return;
  HostCallScope marker(model.callbacks);
  model.logFunc(&model, text, model.logUserData);
}

void logText(QXenvRec& env, const char* text) {
  if (!env.logFunc || !text) return;
  env.logFunc(&env, text, env.logUserData);
}

void vlogAt(const QXmodelRec& model, int level, int minLevel, const char* fmt, va_list args) {
  if (!hasLog(model) || level < minLevel) return;
  const std::string text = vformat(fmt, args);
  // The log function receives a mutable model; logging changes only the
  // callback context marker, not the model's data.
  logText(const_cast<QXmodelRec&>(model), text.c_str());
}

void logAt(const QXmodelRec& model, int level, int minLevel, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vlogAt(model, level, minLevel, fmt, args);
  va_end(args);
}

void logPrint(const QXmodelRec& model, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vlogAt(model, kLogAlways, kLogAlways, fmt, args);
  va_end(args);
}

void logLine(const QXmodelRec& model, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vlogAt(model, kLogAlways, kLogAlways, fmt, args);
  va_end(args);
}

void logPrintAt(const QXmodelRec& model, int printLevelId, int minLevel, const char* fmt, ...) {
  // The level is read only when someone listens.
  if (!hasLog(model)) return;
  va_list args;
  va_start(args, fmt);
  vlogAt(model, printLevel(model, printLevelId), minLevel, fmt, args);
  va_end(args);
}

void logPrint(QXenvRec& env, const char* fmt, ...) {
  if (!hasLog(env)) return;
  va_list args;
  va_start(args, fmt);
  const std::string text = vformat(fmt, args);
  va_end(args);
  logText(env, text.c_str());
}

}  // namespace torva
