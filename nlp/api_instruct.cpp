// Exported functions of instruction lists: loading, appending, reading
// back, classes, strings and row properties.
#include <algorithm>
#include <cstring>

#include "base/api.hpp"
#include "nlp/load.hpp"
#include "torva.h"

namespace {

using torva::nlp::InstructArgs;

InstructArgs argsOf(int nCons, int nObjs, int nVars, int nNumbers, const int* objSense,
                    const char* conType, const char* varType, const int* code, int codeSize,
                    const int* varIndex, const double* numbers, const double* varStart,
                    const int* objBeg, const int* objLength, const int* conBeg, const int* conLength,
                    const double* lower, const double* upper) {
  InstructArgs a;
  a.nCons = nCons;
  a.nObjs = nObjs;
  a.nVars = nVars;
  a.nNumbers = nNumbers;
  a.objSense = objSense;
  a.conType = conType;
  a.varType = varType;
  a.code = code;
  a.codeSize = codeSize;
  a.varIndex = varIndex;
  a.numbers = numbers;
  a.varStart = varStart;
  a.objBeg = objBeg;
  a.objLength = objLength;
  a.conBeg = conBeg;
  a.conLength = conLength;
  a.lower = lower;
  a.upper = upper;
  return a;
}

const torva::nlp::InstructionList* listOf(QXmodel model) {
  return torva::nlp::instructionList(*model);
}

template <class T>
void copyOut(const std::vector<T>& v, T* out) {
  if (out && !v.empty()) std::copy(v.begin(), v.end(), out);
}

}  // namespace

extern "C" {

#define TORVA_INSTRUCT_ARGS                                                                      \
  int nCons, int nObjs, int nVars, int nNumbers, const int *objSense, const char *conType,       \
      const char *varType, const int *code, int codeSize, const int *varIndex,                   \
      const double *numbers, const double *varStart, const int *objBeg, const int *objLength,    \
      const int *conBeg, const int *conLength, const double *lower, const double *upper
#define TORVA_INSTRUCT_PASS                                                                      \
  argsOf(nCons, nObjs, nVars, nNumbers, objSense, conType, varType, code, codeSize, varIndex,    \
         numbers, varStart, objBeg, objLength, conBeg, conLength, lower, upper)

QXAPI int QXloadInstruct(QXmodel model, TORVA_INSTRUCT_ARGS) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::nlp::loadInstruct(*model, TORVA_INSTRUCT_PASS); });
}

QXAPI int QXloadNLPCode(QXmodel model, TORVA_INSTRUCT_ARGS) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::nlp::loadInstruct(*model, TORVA_INSTRUCT_PASS); });
}

QXAPI int QXaddInstruct(QXmodel model, TORVA_INSTRUCT_ARGS) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::nlp::addInstruct(*model, TORVA_INSTRUCT_PASS); });
}

QXAPI int QXloadData2Inst(QXmodel model) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::nlp::convertToInstruct(*model); });
}

QXAPI int QXgetInstructSizes(QXmodel model, int* nCons, int* nVars, int* nNumbers, int* codeSize) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const auto* l = listOf(model);
  if (!l) return QXERR_INSTRUCT_NOT_LOADED;
  if (nCons) *nCons = l->nCons;
  if (nVars) *nVars = l->nVars;
  if (nNumbers) *nNumbers = static_cast<int>(l->numbers.size());
  if (codeSize) *codeSize = static_cast<int>(l->code.size());
  return 0;
}

QXAPI int QXgetInstruct(QXmodel model, int* objSense, char* conType, char* varType, int* code,
                        double* numbers, int* objBeg, int* objLength, int* conBeg, int* conLength,
                        double* lower, double* upper) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const auto* l = listOf(model);
  if (!l) return QXERR_INSTRUCT_NOT_LOADED;
  if (objSense) *objSense = l->objSense;
  copyOut(l->conType, conType);
  copyOut(l->varType, varType);
  copyOut(l->code, code);
  copyOut(l->numbers, numbers);
  if (objBeg) *objBeg = l->beg[0];
  if (objLength) *objLength = l->len[0];
  if (conBeg) std::copy(l->beg.begin() + 1, l->beg.end(), conBeg);
  if (conLength) std::copy(l->len.begin() + 1, l->len.end(), conLength);
  copyOut(l->lower, lower);
  copyOut(l->upper, upper);
  return 0;
}

QXAPI int QXgetInstructClass(QXmodel model, int* modelClass, int* rowClass, int* setFlag) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const auto* l = listOf(model);
  if (!l) return QXERR_INSTRUCT_NOT_LOADED;
  if (modelClass) *modelClass = l->modelClass();
  for (int r = 0; r < l->rows(); ++r) {
    const auto& s = l->info[static_cast<std::size_t>(r)];
    if (rowClass) rowClass[r] = s.cls == torva::nlp::kNonlinear ? 1 : 0;
    if (setFlag) setFlag[r] = s.setRow ? 1 : 0;
  }
  return 0;
}

QXAPI int QXsetStocParValues(QXmodel model, int count, const double* values) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (count > 0 && !values) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    auto* l = model->nlp ? model->nlp->list.get() : nullptr;
    if (!l) return QXERR_INSTRUCT_NOT_LOADED;
    if (count < 0 || count > l->stocCount()) return QXERR_INDEX_OUT_OF_RANGE;
    l->stocParams.assign(values, values + count);
    model->nlp->invalidate();  // the compiled rows hold the values as constants
    return 0;
  });
}

QXAPI int QXgetStocParValues(QXmodel model, int* count, double* values) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const auto* l = listOf(model);
  if (!l) return QXERR_INSTRUCT_NOT_LOADED;
  const int n = l->stocCount();
  if (count) *count = n;
  if (values)
    for (int k = 0; k < n; ++k)
      values[k] = static_cast<std::size_t>(k) < l->stocParams.size() ? l->stocParams[static_cast<std::size_t>(k)] : 0.0;
  return 0;
}

QXAPI int QXloadStringData(QXmodel model, int nStrings, char** strings) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (nStrings < 0) return QXERR_INDEX_OUT_OF_RANGE;
  if (nStrings > 0 && !strings) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    std::vector<std::string> table;
    for (int i = 0; i < nStrings; ++i) table.emplace_back(strings[i] ? strings[i] : "");
    auto& nd = torva::nlp::nlpData(*model);
    nd.strings = std::move(table);
    nd.invalidate();
    return 0;
  });
}

QXAPI int QXgetStringCount(QXmodel model, int* nStrings) {
  if (!model || !nStrings) return QXERR_ILLEGAL_NULL_POINTER;
  *nStrings = model->nlp ? static_cast<int>(model->nlp->strings.size()) : 0;
  return 0;
}

QXAPI int QXsetConstraintProperty(QXmodel model, int row, int property) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    auto* l = model->nlp ? model->nlp->list.get() : nullptr;
    const int rows = l ? l->nCons : model->data.m;
    if (row < -1 || row >= rows) return QXERR_INDEX_OUT_OF_RANGE;
    if (property < QX_CONPROP_UNKNOWN || property > QX_CONPROP_QUASI_CONCAVE) return QXERR_PARAMETER_OUT_OF_RANGE;
    if (!l) return QXERR_INSTRUCT_NOT_LOADED;
    l->property[static_cast<std::size_t>(row + 1)] = property;
    return 0;
  });
}

QXAPI int QXgetConstraintProperty(QXmodel model, int row, int* property) {
  if (!model || !property) return QXERR_ILLEGAL_NULL_POINTER;
  const auto* l = listOf(model);
  if (!l) return QXERR_INSTRUCT_NOT_LOADED;
  if (row < -1 || row >= l->nCons) return QXERR_INDEX_OUT_OF_RANGE;
  *property = l->property[static_cast<std::size_t>(row + 1)];
  return 0;
}

}  // extern "C"
