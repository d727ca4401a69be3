// Exported functions of the nonlinear structure of a model: which variables
// appear nonlinearly in which rows (QXaddNLPAj, QXaddNLPobj, QXdeleteNLPobj,
// QXaddEmptySpacesNLPAcolumns, QXgetNLPData).
#include <algorithm>

#include "base/api.hpp"
#include "nlp/load.hpp"
#include "torva.h"

namespace {

torva::nlp::NlpData& structureOf(QXmodel model) {
  auto& nd = torva::nlp::nlpData(*model);
  const std::size_t n = static_cast<std::size_t>(model->data.n);
  if (nd.nlpRows.size() < n) {
    nd.nlpRows.resize(n);
    nd.nlpValues.resize(n);
  }
  return nd;
}

}  // namespace

extern "C" {

QXAPI int QXaddNLPAj(QXmodel model, int var, int count, const int* rows, const double* values) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (count <= 0) return 0;
  if (!rows) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    if (var < 0 || var >= model->data.n) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
    auto& nd = structureOf(model);
    auto& col = nd.nlpRows[static_cast<std::size_t>(var)];
    // Validate everything before the column changes.
    std::vector<int> seen(col);
    for (int k = 0; k < count; ++k) {
      if (rows[k] < -1 || rows[k] >= model->data.m) return QXERR_INDEX_OUT_OF_RANGE;
      if (std::find(seen.begin(), seen.end(), rows[k]) != seen.end()) return QXERR_INDEX_DUPLICATE;
      seen.push_back(rows[k]);
    }
    auto& vals = nd.nlpValues[static_cast<std::size_t>(var)];
    for (int k = 0; k < count; ++k) {
      col.push_back(rows[k]);
      vals.push_back(values ? values[k] : 0.0);
    }
    model->markChanged();
    return 0;
  });
}

QXAPI int QXaddNLPobj(QXmodel model, int count, const int* vars, const double* values) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (count <= 0) return 0;
  if (!vars) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    auto& nd = structureOf(model);
    std::vector<int> seen(nd.nlpObjVars);
    for (int k = 0; k < count; ++k) {
      if (vars[k] < 0 || vars[k] >= model->data.n) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
      if (std::find(seen.begin(), seen.end(), vars[k]) != seen.end()) return QXERR_INDEX_DUPLICATE;
      seen.push_back(vars[k]);
    }
    for (int k = 0; k < count; ++k) {
      nd.nlpObjVars.push_back(vars[k]);
      nd.nlpObjValues.push_back(values ? values[k] : 0.0);
    }
    model->markChanged();
    return 0;
  });
}

QXAPI int QXdeleteNLPobj(QXmodel model, int count, const int* vars) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (count <= 0) return 0;
  if (!vars) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    auto& nd = structureOf(model);
    for (int k = 0; k < count; ++k)
      if (vars[k] < 0 || vars[k] >= model->data.n) return QXERR_COLUMN_INDEX_OUT_OF_RANGE;
    for (int k = 0; k < count; ++k) {
      auto it = std::find(nd.nlpObjVars.begin(), nd.nlpObjVars.end(), vars[k]);
      if (it == nd.nlpObjVars.end()) continue;
      nd.nlpObjValues.erase(nd.nlpObjValues.begin() + (it - nd.nlpObjVars.begin()));
      nd.nlpObjVars.erase(it);
    }
    model->markChanged();
    return 0;
  });
}

QXAPI int QXaddEmptySpacesNLPAcolumns(QXmodel model, const int* spaces) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (!spaces) return 0;
  return torva::guarded([&] {
    for (int j = 0; j < model->data.n; ++j)
      if (spaces[j] < 0) return QXERR_INDEX_OUT_OF_RANGE;
    auto& nd = structureOf(model);
    for (int j = 0; j < model->data.n; ++j) {
      auto& col = nd.nlpRows[static_cast<std::size_t>(j)];
      col.reserve(col.size() + static_cast<std::size_t>(spaces[j]));
      nd.nlpValues[static_cast<std::size_t>(j)].reserve(col.capacity());
    }
    return 0;
  });
}

QXAPI int QXgetNLPData(QXmodel model, int* nnz, int* colBeg, int* rows, double* values, int* objCount,
                       int* objVars) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    const torva::nlp::NlpData* nd = model->nlp.get();
    int total = 0;
    for (int j = 0; j < model->data.n; ++j) {
      if (colBeg) colBeg[j] = total;
      if (nd && static_cast<std::size_t>(j) < nd->nlpRows.size()) {
        const auto& col = nd->nlpRows[static_cast<std::size_t>(j)];
        if (rows) std::copy(col.begin(), col.end(), rows + total);
        if (values) {
          const auto& v = nd->nlpValues[static_cast<std::size_t>(j)];
          std::copy(v.begin(), v.end(), values + total);
        }
        total += static_cast<int>(col.size());
      }
    }
    if (colBeg) colBeg[model->data.n] = total;
    if (nnz) *nnz = total;
    if (objCount) *objCount = nd ? static_cast<int>(nd->nlpObjVars.size()) : 0;
    if (objVars && nd) std::copy(nd->nlpObjVars.begin(), nd->nlpObjVars.end(), objVars);
    return 0;
  });
}

}  // extern "C"
