#include "base/model_log.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace torva {

int modelPrintLevel(const Model& model) {
  return std::max({model.params.intValue(QX_IPARAM_LP_PRINTLEVEL),
                   model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL),
                   model.params.intValue(QX_IPARAM_NLP_PRINTLEVEL)});
}

bool wantsLog(const Model& model, int level) {
  return model.logFunc != nullptr && modelPrintLevel(model) >= level;
}

void logLine(const Model& model, const char* format, ...) {
  if (!model.logFunc) return;
  char buffer[1024];
  va_list args;
  va_start(args, format);
  const int len = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (len < 0) return;
  if (static_cast<std::size_t>(len) < sizeof buffer) {
    model.logFunc(const_cast<Model*>(&model), buffer, model.logUserData);
    return;
  }
  std::vector<char> big(static_cast<std::size_t>(len) + 1);
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  model.logFunc(const_cast<Model*>(&model), big.data(), model.logUserData);
}

}  // namespace torva
