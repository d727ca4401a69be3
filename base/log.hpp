// The library's one route for text: formatted messages go to the log function
// of the model (or of the environment), one call per message. Nothing is
// written to standard output or standard error.
#pragma once

#include <cstdarg>
#include <string>

#include "torva.h"

#if defined(__GNUC__)
#define TORVA_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define TORVA_PRINTF(fmt, args)
#endif

namespace torva {

// printf-style formatting into a string of any length.
std::string vformat(const char* fmt, va_list args);
std::string format(const char* fmt, ...) TORVA_PRINTF(1, 2);

// Whether the model (environment) has a log function, so that a caller can
// skip building messages nobody receives.
bool hasLog(const QXmodelRec& model) noexcept;
bool hasLog(const QXenvRec& env) noexcept;

// Value of a print-level parameter (QX_IPARAM_LP_PRINTLEVEL and its
// relatives) on the model.
int printLevel(const QXmodelRec& model, int printLevelId);

// Whether a message needing print level minLevel of printLevelId would be
// delivered: a log function is set and the level is at least minLevel.
bool logEnabled(const QXmodelRec& model, int printLevelId, int minLevel);

// Passes text unchanged to the log function (one call), marking the model as
// inside a host call for its duration.
void logText(QXmodelRec& model, const char* text);
void logText(QXenvRec& env, const char* text);

// Formats and passes one message to the log function when one is set.
void logPrint(QXmodelRec& model, const char* fmt, ...) TORVA_PRINTF(2, 3);
void logPrint(QXenvRec& env, const char* fmt, ...) TORVA_PRINTF(2, 3);

// The same, only when the print level named by printLevelId is at least
// minLevel.
void logPrintAt(QXmodelRec& model, int printLevelId, int minLevel, const char* fmt, ...)
    TORVA_PRINTF(4, 5);

}  // namespace torva
