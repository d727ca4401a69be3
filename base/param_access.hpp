// Validated get and set of parameters on an environment or a model, shared
// by the exported QX...Parameter functions and the parameter-file reader.
#pragma once

#include <string_view>

#include "base/param_table.hpp"
#include "base/params.hpp"

struct QXenvRec;
struct QXmodelRec;

namespace torva {

// Registry lookups; null when the identifier or name is not a parameter.
const ParamDef* findParam(int id) noexcept;
const ParamDef* findParamByName(std::string_view name) noexcept;
// Index of id among the descriptor-driven records, or -1.
int gaParamIndex(int id) noexcept;

// Value size reported for a parameter: 4 for int, 8 for double and string.
constexpr int paramValueSize(const ParamDef& def) noexcept {
  return def.type == ParamType::Int ? 4 : 8;
}

// Reported range (QXget*ParameterRange): the explicit row or the default rule.
void paramRange(const ParamDef& def, double* lo, double* hi) noexcept;

// Validated writes, with the error codes of the exported setters:
// 2074 unknown identifier, 2011 wrong type or level or read only,
// 2029 not supported, 2024 out of range, 2007 bad objective sense.
int setModelIntParam(QXmodelRec& model, int id, int value);
int setModelDouParam(QXmodelRec& model, int id, double value);
int setModelStrParam(QXmodelRec& model, int id, const char* value);
int setEnvIntParam(QXenvRec& env, int id, int value);
int setEnvDouParam(QXenvRec& env, int id, double value);
int setEnvStrParam(QXenvRec& env, int id, const char* value);

// Reads a parameter file (the short table and the descriptor-driven group)
// into a model, as QXreadModelParameter does; returns an error code.
int readModelParameterFile(QXmodelRec& model, const char* file);

// Validated reads: 2074 unknown, 2011 wrong type, 2009 not held on the level.
// String reads copy at most kStringParamMaxLength + 1 bytes.
int getModelIntParam(const QXmodelRec& model, int id, int* value);
int getModelDouParam(const QXmodelRec& model, int id, double* value);
int getModelStrParam(const QXmodelRec& model, int id, char* value);
int getEnvIntParam(const QXenvRec& env, int id, int* value);
int getEnvDouParam(const QXenvRec& env, int id, double* value);
int getEnvStrParam(const QXenvRec& env, int id, char* value);

// Set and get through an untyped pointer whose type follows the parameter
// (int, double, or a character string for the name formats).
int setModelParam(QXmodelRec& model, int id, const void* value);
int getModelParam(const QXmodelRec& model, int id, void* value);
int setEnvParam(QXenvRec& env, int id, const void* value);
int getEnvParam(const QXenvRec& env, int id, void* value);

}  // namespace torva
