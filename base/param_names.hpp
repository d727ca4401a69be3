// Names of parameters and information items, aliases and keyword search.
#pragma once

#include <span>

namespace torva {

struct InfoItemName {
  int id;
  const char* name;
  int valueSize;  // 4 int, 8 double or string
};

// Every information item name, in identifier order.
std::span<const InfoItemName> infoItemNames();

struct ParamAlias {
  const char* oldName;
  const char* newName;
};

// The alias table of older spellings, oldest entries first.
std::span<const ParamAlias> paramAliases();

// QXgetParamMacroID: a parameter or information item name, or an older
// spelling followed through the alias table. 2074 when nothing matches.
int resolveMacroName(const char* name, int* type, int* id);

// QXsearchParamHasKeyword over the long table.
int searchParamKeyword(const char* keyword, int* index, int* id);

}  // namespace torva
