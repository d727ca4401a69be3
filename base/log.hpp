// The library's one route for text: formatted messages go to the log function
// of the model (or of the environment), one call per message. Every model
// message passes through vlogAt, which compares the print level that applies
// with the level the message needs and formats only a message that will be
// delivered. Nothing is written to standard output or standard error.
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

// Print levels that apply to a message.
// The value of one print-level parameter (QX_IPARAM_LP_PRINTLEVEL and its
// relatives) on the model.
int printLevel(const QXmodelRec& model, int printLevelId);
// Largest of the model's LP, MIP and nonlinear print levels (model data
// operations: loads and modifications).
int modelPrintLevel(const QXmodelRec& model);
// Larger of the LP and MIP print levels (model file readers and writers).
int fileIoPrintLevel(const QXmodelRec& model);
// A level every message reaches: the message goes out whenever a log
// function is set.
constexpr int kLogAlways = 0;
// The print level at which load statistics are logged.
constexpr int kStatsPrintLevel = 2;

// The one route of model messages: when the model has a log function and
// level (the print level that applies) is at least minLevel, formats the
// message once and passes it to the log function.
void vlogAt(const QXmodelRec& model, int level, int minLevel, const char* fmt, va_list args);
void logAt(const QXmodelRec& model, int level, int minLevel, const char* fmt, ...) TORVA_PRINTF(4, 5);

// True when the model has a log function and its model print level reaches
// level.
bool wantsLog(const QXmodelRec& model, int level);

// Whether a message needing print level minLevel of printLevelId would be
// delivered: a log function is set and the level is at least minLevel.
bool logEnabled(const QXmodelRec& model, int printLevelId, int minLevel);

// Passes text unchanged to the log function (one call), marking the model as
// inside a host call for its duration.
void logText(QXmodelRec& model, const char* text);
void logText(QXenvRec& env, const char* text);

// Shorthands of logAt. logPrint and logLine: whenever a log function is set;
// logPrintAt: when the print level named by printLevelId is at least minLevel.
void logPrint(const QXmodelRec& model, const char* fmt, ...) TORVA_PRINTF(2, 3);
void logLine(const QXmodelRec& model, const char* fmt, ...) TORVA_PRINTF(2, 3);
void logPrintAt(const QXmodelRec& model, int printLevelId, int minLevel, const char* fmt, ...)
    TORVA_PRINTF(4, 5);

// Messages of the environment (no print level applies).
void logPrint(QXenvRec& env, const char* fmt, ...) TORVA_PRINTF(2, 3);

}  // namespace torva
