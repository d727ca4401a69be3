#include "base/log.hpp"

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

bool logEnabled(const QXmodelRec& model, int printLevelId, int minLevel) {
  return hasLog(model) && printLevel(model, printLevelId) >= minLevel;
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

void logPrint(QXmodelRec& model, const char* fmt, ...) {
  if (!hasLog(model)) return;
  va_list args;
  va_start(args, fmt);
  const std::string text = vformat(fmt, args);
  va_end(args);
  logText(model, text.c_str());
}

void logPrint(QXenvRec& env, const char* fmt, ...) {
  if (!hasLog(env)) return;
  va_list args;
  va_start(args, fmt);
  const std::string text = vformat(fmt, args);
  va_end(args);
  logText(env, text.c_str());
}

void logPrintAt(QXmodelRec& model, int printLevelId, int minLevel, const char* fmt, ...) {
  if (!logEnabled(model, printLevelId, minLevel)) return;
  va_list args;
  va_start(args, fmt);
  const std::string text = vformat(fmt, args);
  va_end(args);
  logText(model, text.c_str());
}

}  // namespace torva
