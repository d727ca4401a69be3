#include "nlp/load.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/load.hpp"
#include "nlp/sync.hpp"
#include "nlp/tape.hpp"
#include "torva.h"

namespace torva::nlp {

NlpData::NlpData() = default;
NlpData::~NlpData() = default;

NlpData& nlpData(Model& model) {
  if (!model.nlp) model.nlp = std::make_shared<NlpData>();
  return *model.nlp;
}

const InstructionList* instructionList(const Model& model) noexcept {
  return model.nlp ? model.nlp->list.get() : nullptr;
}

namespace {

// Makes list the model's instruction list and marks its linearity.
void installList(Model& model, std::unique_ptr<InstructionList> list) {
  markLinearity(model, *list);
  NlpData& nd = nlpData(model);
  nd.list = std::move(list);
  nd.invalidate();
}

// Fills the variables of list from the host arrays (defaults: type 'C',
// bounds -/+ infinity, no start point).
void takeVariables(InstructionList& list, const InstructArgs& a, double infinity) {
  for (int j = 0; j < a.nVars; ++j) {
    list.varType.push_back(a.varType ? a.varType[j] : 'C');
    list.lower.push_back(a.lower ? std::max(a.lower[j], -infinity) : -infinity);
    list.upper.push_back(a.upper ? std::min(a.upper[j], infinity) : infinity);
    if (a.varIndex) list.varIndex.push_back(a.varIndex[j]);
    if (a.varStart) list.start.push_back(a.varStart[j]);
  }
}

bool boundsConflict(const InstructArgs& a) {
  if (!a.lower || !a.upper) return false;
  for (int j = 0; j < a.nVars; ++j)
    if (a.lower[j] > a.upper[j]) return true;
  return false;
}

// Validates every segment of list from row `first` on; records the failing
// row (-1 the objective) on the model.
int validateRows(Model& model, InstructionList& list, int first, const std::vector<int>& bases) {
  list.info.resize(static_cast<std::size_t>(list.rows()));
  for (int r = first; r < list.rows(); ++r) {
    const int base = bases.empty() ? 0 : bases[static_cast<std::size_t>(r)];
    if (validateSegment(list.code, list.beg[r], list.len[r], list.nVars,
                        static_cast<int>(list.numbers.size()), base, list.info[r])) {
      model.instructErrorRow = r - 1;
      return QXERR_INSTRUCT_SYNTAX;
    }
  }
  return 0;
}

// Makes the model's linear core describe the rows and variables of list
// (no matrix entries, zero costs and right-hand sides).
int loadCore(Model& model, const InstructionList& list) {
  const std::size_t n = static_cast<std::size_t>(list.nVars);
  std::vector<double> zeros(std::max<std::size_t>(n, static_cast<std::size_t>(list.nCons)) + 1, 0.0);
  std::vector<int> colBeg(n + 1, 0);
  if (int rc = loadLPData(model, list.nCons, list.nVars, list.objSense, 0.0, zeros.data(),
                          zeros.data(), list.conType.data(), 0, colBeg.data(), nullptr, nullptr,
                          nullptr, list.lower.data(), list.upper.data()))
    return rc;
  const bool allContinuous = std::all_of(list.varType.begin(), list.varType.end(),
                                         [](char c) { return c == 'C'; });
  if (!allContinuous) {
    std::vector<char> types(list.varType);
    types.push_back('\0');
    if (int rc = loadVarType(model, types.data())) return rc;
  }
  if (!list.start.empty()) model.data.startX = list.start;
  return 0;
}

int loadChecked(Model& model, const InstructArgs& a) {
  if (!model.data.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (a.nObjs != 1 || a.nCons < 0 || a.nVars < 1 || a.codeSize < 1) return QXERR_INSTRUCT_BAD_COUNT;
  if ((!a.conType && a.nCons > 0) || !a.objSense || !a.code || (!a.numbers && a.nNumbers > 0) ||
      !a.objBeg || !a.objLength || ((!a.conBeg || !a.conLength) && a.nCons > 0))
    return QXERR_ILLEGAL_NULL_POINTER;
  long long total = a.objLength[0];
  for (int i = 0; i < a.nCons; ++i) total += a.conLength[i];
  if (total > a.codeSize) return QXERR_INSTRUCT_TOO_SHORT;
  if (boundsConflict(a)) return QXERR_INSTRUCT_BOUND_CONFLICT;
  if (a.objSense[0] != QX_MIN && a.objSense[0] != QX_MAX) return QXERR_BAD_OBJECTIVE_SENSE;
  if (a.nNumbers < 0) return QXERR_INSTRUCT_BAD_COUNT;

  auto list = std::make_unique<InstructionList>();
  list->nCons = a.nCons;
  list->nVars = a.nVars;
  list->objSense = a.objSense[0];
  list->code.assign(a.code, a.code + a.codeSize);
  list->numbers.assign(a.numbers, a.numbers + a.nNumbers);
  list->conType.assign(a.conType, a.conType + a.nCons);
  list->beg.push_back(a.objBeg[0]);
  list->len.push_back(a.objLength[0]);
  for (int i = 0; i < a.nCons; ++i) {
    list->beg.push_back(a.conBeg[i]);
    list->len.push_back(a.conLength[i]);
  }
  list->property.assign(static_cast<std::size_t>(list->rows()), QX_CONPROP_UNKNOWN);
  takeVariables(*list, a, model.params.douValue(QX_DPARAM_NLP_INF));
  if (int rc = validateRows(model, *list, 0, {})) return rc;
  if (int rc = loadCore(model, *list)) return rc;
  // Binary types may have tightened the bounds in the store.
  list->lower = model.data.lower;
  list->upper = model.data.upper;
  installList(model, std::move(list));
  return 0;
}

// Appends the code of segment [beg, beg+len) of the host's code, preceded
// by the append marker so that validation shifts its number indices.
void appendMarked(std::vector<int>& code, const int* src, int beg, int len) {
  code.push_back(EP_USRCOD);
  code.push_back(EP_USRCOD_APPEND_MARK);
  code.insert(code.end(), src + beg, src + beg + len);
}

void appendCore(Model& model, const InstructionList& list, int nCons, int nVars) {
  ModelData& d = model.data;
  for (int i = list.nCons - nCons; i < list.nCons; ++i) {
    d.rhs.push_back(0.0);
    d.conType.push_back(list.conType[static_cast<std::size_t>(i)]);
  }
  d.m = list.nCons;
  d.conNames.padTo(d.m);
  for (int j = list.nVars - nVars; j < list.nVars; ++j) {
    d.cost.push_back(0.0);
    d.lower.push_back(list.lower[static_cast<std::size_t>(j)]);
    d.upper.push_back(list.upper[static_cast<std::size_t>(j)]);
    d.colLen.push_back(0);
    d.colBeg.push_back(d.colBeg.back());
    if (!d.varType.empty() || list.varType[static_cast<std::size_t>(j)] != 'C') {
      d.varType.resize(static_cast<std::size_t>(j), 'C');
      d.varType.push_back(list.varType[static_cast<std::size_t>(j)]);
    }
    if (!d.startX.empty()) d.startX.push_back(list.start.empty() ? 0.0 : list.start[static_cast<std::size_t>(j)]);
  }
  d.n = list.nVars;
  d.varNames.padTo(d.n);
  model.markChanged();
}

int addChecked(Model& model, const InstructArgs& a) {
  if (model.data.m == 0 || model.data.n == 0) return QXERR_MODEL_NOT_LOADED;
  if (model.data.hasCones()) return QXERR_NOT_SUPPORTED;
  if (a.nCons <= 0 && a.nObjs <= 0 && a.nVars <= 0) return 0;
  if (a.nObjs > 1 || a.nCons < 0 || a.nVars < 0 || a.nNumbers < 0 || a.codeSize < 0)
    return QXERR_INSTRUCT_BAD_COUNT;
  if (a.nObjs == 1 && (!a.objBeg || !a.objLength)) return QXERR_ILLEGAL_NULL_POINTER;
  if (a.nCons > 0 && (!a.conBeg || !a.conLength || !a.conType)) return QXERR_ILLEGAL_NULL_POINTER;
  if ((!a.code && a.codeSize > 0) || (!a.numbers && a.nNumbers > 0)) return QXERR_ILLEGAL_NULL_POINTER;
  if (a.nObjs == 1 && a.objSense && a.objSense[0] != QX_MIN && a.objSense[0] != QX_MAX)
    return QXERR_BAD_OBJECTIVE_SENSE;
  long long total = a.nObjs == 1 ? a.objLength[0] : 0;
  for (int i = 0; i < a.nCons; ++i) total += a.conLength[i];
  if (total > a.codeSize) return QXERR_INSTRUCT_TOO_SHORT;
  if (boundsConflict(a)) return QXERR_INSTRUCT_BOUND_CONFLICT;
  auto inRange = [&](int beg, int len) {
    return beg >= 0 && len >= 0 && static_cast<long long>(beg) + len <= a.codeSize;
  };

  // Work on a copy: the model keeps its list until everything validated.
  std::unique_ptr<InstructionList> holder;
  const InstructionList* current = listOrConverted(model, holder);
  auto list = std::make_unique<InstructionList>(*current);
  const int base = static_cast<int>(list->numbers.size());
  list->numbers.insert(list->numbers.end(), a.numbers, a.numbers + a.nNumbers);
  if (!list->start.empty() || a.varStart) list->start.resize(static_cast<std::size_t>(list->nVars), 0.0);
  if (!list->varIndex.empty() || a.varIndex) list->varIndex.resize(static_cast<std::size_t>(list->nVars), 0);
  list->nVars += a.nVars;
  takeVariables(*list, a, model.params.douValue(QX_DPARAM_NLP_INF));
  if (!list->start.empty()) list->start.resize(static_cast<std::size_t>(list->nVars), 0.0);
  if (!list->varIndex.empty()) list->varIndex.resize(static_cast<std::size_t>(list->nVars), 0);

  std::vector<int> bases(static_cast<std::size_t>(list->rows()), 0);
  if (a.nObjs == 1) {
    if (!inRange(a.objBeg[0], a.objLength[0])) {
      model.instructErrorRow = -1;
      return QXERR_INSTRUCT_SYNTAX;
    }
    // Old objective, marker, new code, EP_PLUS: placed at the end of the code.
    std::vector<int> obj(list->code.begin() + list->beg[0], list->code.begin() + list->beg[0] + list->len[0]);
    appendMarked(obj, a.code, a.objBeg[0], a.objLength[0]);
    obj.push_back(EP_PLUS);
    list->beg[0] = static_cast<int>(list->code.size());
    list->len[0] = static_cast<int>(obj.size());
    list->code.insert(list->code.end(), obj.begin(), obj.end());
    bases[0] = base;
    if (a.objSense) list->objSense = a.objSense[0];
  }
  const int firstNew = list->rows();
  for (int i = 0; i < a.nCons; ++i) {
    if (!inRange(a.conBeg[i], a.conLength[i])) {
      model.instructErrorRow = firstNew + i - 1;
      return QXERR_INSTRUCT_SYNTAX;
    }
    list->beg.push_back(static_cast<int>(list->code.size()));
    appendMarked(list->code, a.code, a.conBeg[i], a.conLength[i]);
    list->len.push_back(a.conLength[i] + 2);
    list->conType.push_back(a.conType[i]);
    list->property.push_back(QX_CONPROP_UNKNOWN);
    bases.push_back(base);
  }
  list->nCons += a.nCons;
  for (int i = 0; i < a.nCons; ++i) {
    const char t = a.conType[i];
    if (t != 'E' && t != 'L' && t != 'G' && t != 'N') return QXERR_BAD_CONSTRAINT_TYPE;
  }
  if (int rc = validateRows(model, *list, a.nObjs == 1 ? 0 : firstNew, bases)) return rc;

  appendCore(model, *list, a.nCons, a.nVars);
  model.data.objSense = list->objSense;
  // The list now spells out the whole model, the core's linear part included.
  foldIntoBase(model, *list);
  installList(model, std::move(list));
  return 0;
}

}  // namespace

void markLinearity(Model& model, const InstructionList& list) {
  model.params.storeInt(QX_IPARAM_NLP_LINEARITY, list.modelClass() == kModelNonlinear ? 0 : 1);
}

int loadInstruct(Model& model, const InstructArgs& a) {
  model.instructErrorRow.reset();
  const int rc = loadChecked(model, a);
  if (rc && rc != QXERR_MODEL_ALREADY_LOADED) {
    // The partial data (the linear core may be in, the types not) is released.
    if (model.nlp) model.nlp->list.reset();
    model.data = ModelData{};
    model.status = QX_STATUS_UNLOADED;
  }
  return rc;
}

int addInstruct(Model& model, const InstructArgs& a) {
  model.instructErrorRow.reset();
  return addChecked(model, a);
}

int convertToInstruct(Model& model) {
  model.instructErrorRow.reset();
  if (instructionList(model)) return 0;
  if (model.data.empty()) return QXERR_MODEL_NOT_LOADED;
  if (model.data.hasCones()) return QXERR_NOT_SUPPORTED;
  auto list = listFromCore(model);
  foldIntoBase(model, *list);
  installList(model, std::move(list));
  return 0;
}

std::unique_ptr<InstructionList> listFromMatrix(const Model& model) { return listFromCore(model); }

const InstructionList* listOrConverted(const Model& model, std::unique_ptr<InstructionList>& holder) {
  if (const InstructionList* l = instructionList(model)) return l;
  if (model.data.empty()) return nullptr;
  holder = listFromMatrix(model);
  return holder.get();
}

void copyNlpData(const Model& source, Model& target) {
  if (!source.nlp) return;
  const NlpData& s = *source.nlp;
  NlpData& t = nlpData(target);
  if (s.list) t.list = std::make_unique<InstructionList>(*s.list);
  t.strings = s.strings;
  t.nlpRows = s.nlpRows;
  t.nlpValues = s.nlpValues;
  t.nlpObjVars = s.nlpObjVars;
  t.nlpObjValues = s.nlpObjValues;
  t.invalidate();
}

}  // namespace torva::nlp
