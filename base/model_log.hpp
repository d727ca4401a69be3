// Log output of the model-data operations. Every line goes through logLine,
// so the destination can be redirected in one place.
#pragma once

#include "base/model.hpp"

namespace torva {

// Print levels the model-data logs consult. They mirror the defaults of
// QX_IPARAM_LP_PRINTLEVEL (0), QX_IPARAM_MIP_PRINTLEVEL (2) and
// QX_IPARAM_NLP_PRINTLEVEL (1).
constexpr int kDefaultLpPrintLevel = 0;
constexpr int kDefaultMipPrintLevel = 2;
constexpr int kDefaultNlpPrintLevel = 1;
// The largest of the three print levels at which load statistics are logged.
constexpr int kStatsPrintLevel = 2;

// Largest of the LP, MIP and NLP print levels of the model.
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
