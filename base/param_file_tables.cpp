#include "base/param_file_tables.hpp"

#include "base/model.hpp"
#include "base/param_access.hpp"
#include "base/param_docs.hpp"
#include "base/param_table.hpp"

namespace torva::paramfile {

std::vector<Row> longTableRows() {
  std::vector<Row> rows;
  const std::vector<ParamLongRow>& table = paramLongTable();
  rows.reserve(table.size());
  for (const ParamLongRow& r : table)
    rows.push_back({r.id, r.name, r.text ? r.text : "", r.valueSize, r.scope});
  return rows;
}

std::vector<Row> shortTableRows() {
  std::vector<Row> rows;
  const std::vector<ParamShortRow>& table = paramShortTable();
  rows.reserve(table.size());
  for (const ParamShortRow& r : table)
    rows.push_back({r.id, r.name, r.text ? r.text : "", r.valueSize, 3});
  return rows;
}

std::vector<Row> gaRows() {
  std::vector<Row> rows;
  for (const ParamDef& def : paramrow::kParamTable) {
    if (def.rule != SetRule::Ga) continue;
    const ParamShortRow* doc = findShortRow(def.id);
    rows.push_back({def.id, def.name, doc && doc->text ? doc->text : "", paramValueSize(def),
                    def.scope});
  }
  return rows;
}

bool storedSpecialValue(const QXmodelRec& model, int id, Value* value) {
  if (id != kParamMipCutoffObj) return false;
  value->isInt = false;
  value->d = model.params.douValue(kParamMipCutoffObj);
  return true;
}

}  // namespace torva::paramfile
