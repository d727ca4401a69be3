#include "base/model_log.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "base/log.hpp"

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
  if (!hasLog(model)) return;
  va_list args;
  va_start(args, format);
  const std::string text = vformat(format, args);
  va_end(args);
  // The log function receives a mutable model; logging changes only the
  // callback context marker, not the model's data.
  logText(const_cast<Model&>(model), text.c_str());
}

}  // namespace torva
