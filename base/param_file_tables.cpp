#include "base/param_file_tables.hpp"

#include "base/model.hpp"
#include "base/param_access.hpp"
#include "base/param_table.hpp"

namespace torva::paramfile {

namespace {

Row rowOf(const ParamDef& def) {
  return {def.id, def.name, "", paramValueSize(def), def.scope};
}

}  // namespace

std::vector<Row> longTableRows() {
  std::vector<Row> rows;
  for (const ParamDef& def : paramrow::kParamTable) rows.push_back(rowOf(def));
  return rows;
}

std::vector<Row> shortTableRows() {
  std::vector<Row> rows;
  for (const ParamDef& def : paramrow::kParamTable) rows.push_back(rowOf(def));
  return rows;
}

std::vector<Row> gaRows() {
  std::vector<Row> rows;
  for (const ParamDef& def : paramrow::kParamTable)
    if (def.rule == SetRule::Ga) rows.push_back(rowOf(def));
  return rows;
}

bool storedSpecialValue(const QXmodelRec& model, int id, Value* value) {
  if (id != kParamMipCutoffObj) return false;
  value->isInt = false;
  value->d = model.params.douValue(kParamMipCutoffObj);
  return true;
}

}  // namespace torva::paramfile
