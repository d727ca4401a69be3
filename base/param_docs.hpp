// Documentation tables of the parameters: the long table (identifier,
// macro name, long description, value size, scope) and the short table
// (identifier, macro name, short description, value size), both in
// identifier order. Built once from the registry and the description texts
// and shared by all environments.
#pragma once

#include <vector>

namespace torva {

struct ParamLongRow {
  int id;
  const char* name;
  const char* text;  // lines separated by '\n'
  int valueSize;     // 4 int, 8 double or string
  int scope;         // 1 environment, 2 model, 3 both
};

struct ParamShortRow {
  int id;
  const char* name;
  const char* text;  // one line, may be empty
  int valueSize;
};

const std::vector<ParamLongRow>& paramLongTable();
const std::vector<ParamShortRow>& paramShortTable();

// Checks done when an environment is created: both tables hold one row per
// registered parameter. Returns 0, or QXERR_INTERNAL_ERROR when they differ.
int checkParamDocTables();

// Row of an identifier, or null.
const ParamLongRow* findLongRow(int id);
const ParamShortRow* findShortRow(int id);

// Longest long description, terminator included; buffers handed to
// QXgetParamLongDesc of this size always suffice.
inline constexpr int kParamLongDescMax = 1024;

}  // namespace torva
