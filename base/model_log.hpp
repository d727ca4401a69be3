// Log output of the model-data operations. Every line goes through logLine,
// so the destination can be redirected in one place.
#pragma once

#include "base/model.hpp"

namespace torva {

// The largest of the three print levels at which load statistics are logged.
constexpr int kStatsPrintLevel = 2;

// Largest of the model's LP, MIP and nonlinear print levels.
int modelPrintLevel(const Model& model);

// True when the model has a log function and its print level reaches level.
bool wantsLog(const Model& model, int level);

// Formats one line and hands it to the model's log function (one call per
// line); does nothing without a log function.
void logLine(const Model& model, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

}  // namespace torva
