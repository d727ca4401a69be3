// Parameter storage derived from the registry, and the validated get/set
// used by the exported functions on both levels.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/env.hpp"
#include "base/model.hpp"
#include "base/param_access.hpp"

namespace torva {
namespace {

constexpr int kMaxParamId = 8527;

constexpr ParamGroup groupOf(int id) {
  if (id >= 1550 && id <= 1564) return ParamGroup::Analysis;
  if (id >= 2500 && id <= 2551) return ParamGroup::Nlp;
  if ((id >= 5300 && id <= 5417) || (id >= 8010 && id <= 8023)) return ParamGroup::Mip;
  if (id >= 6400 && id <= 6441) return ParamGroup::Gop;
  if (id >= 6600 && id <= 6649) return ParamGroup::Stoc;
  if (id >= 7701 && id <= 7709) return ParamGroup::Sampling;
  if (id >= 8501 && id <= 8527) return ParamGroup::Ga;
  return ParamGroup::General;
}

// Where a parameter's value lives: its group and its index among the
// group's fields of the same type (or among the descriptor records).
struct Slot {
  ParamGroup group;
  int index;
};

constexpr std::array<Slot, kParamCount> computeSlots() {
  std::array<Slot, kParamCount> slots{};
  int ints[8] = {}, dous[8] = {}, ga = 0;
  for (int k = 0; k < kParamCount; ++k) {
    const ParamDef& d = kParamTable[k];
    ParamGroup g = groupOf(d.id);
    int gi = static_cast<int>(g);
    if (g == ParamGroup::Ga) {
      slots[k] = {g, ga++};
    } else if (d.type == ParamType::Int) {
      slots[k] = {g, ints[gi]++};
    } else if (d.type == ParamType::Dou) {
      slots[k] = {g, dous[gi]++};
    } else {
      slots[k] = {g, d.id == kParamStocFmtNodeName ? 0 : 1};
    }
  }
  return slots;
}
constexpr auto kSlots = computeSlots();

constexpr std::array<std::int16_t, kMaxParamId + 1> computeIndexById() {
  std::array<std::int16_t, kMaxParamId + 1> index{};
  for (auto& v : index) v = -1;
  for (int k = 0; k < kParamCount; ++k) index[kParamTable[k].id] = static_cast<std::int16_t>(k);
  return index;
}
constexpr auto kIndexById = computeIndexById();

// The registry must be in identifier order, without duplicates, with each
// macro prefix matching its value type, and the group sizes must match the
// storage declared in params.hpp.
constexpr bool registryConsistent() {
  for (int k = 1; k < kParamCount; ++k)
    if (kParamTable[k - 1].id >= kParamTable[k].id) return false;
  for (int k = 0; k < kParamCount; ++k) {
    const ParamDef& d = kParamTable[k];
    char t = d.name[3];  // QX_?PARAM_
    if (d.name[0] != 'Q' || d.name[1] != 'X' || d.name[2] != '_') return false;
    if (t == 'I' && d.type != ParamType::Int) return false;
    if (t == 'D' && d.type != ParamType::Dou) return false;
    if (t == 'S' && d.type != ParamType::Str) return false;
  }
  int ints[8] = {}, dous[8] = {}, ga = 0;
  for (int k = 0; k < kParamCount; ++k) {
    int g = static_cast<int>(groupOf(kParamTable[k].id));
    if (groupOf(kParamTable[k].id) == ParamGroup::Ga) ++ga;
    else if (kParamTable[k].type == ParamType::Int) ++ints[g];
    else if (kParamTable[k].type == ParamType::Dou) ++dous[g];
  }
  for (int g = 0; g < kFixedGroupCount; ++g)
    if (ints[g] != kGroupIntCount[g] || dous[g] != kGroupDouCount[g]) return false;
  return ga == kGaParamCount;
}
static_assert(registryConsistent(), "parameter registry and storage layout disagree");

const ParamDef& defOf(int k) { return kParamTable[k]; }

int tableIndex(int id) noexcept {
  if (id < 0 || id > kMaxParamId) return -1;
  return kIndexById[id];
}

}  // namespace

// ---------------------------------------------------------------- lookups

const ParamDef* findParam(int id) noexcept {
  int k = tableIndex(id);
  return k < 0 ? nullptr : &kParamTable[k];
}

const ParamDef* findParamByName(std::string_view name) noexcept {
  // A sorted view of the names, built once.
  static const std::vector<const ParamDef*> byName = [] {
    std::vector<const ParamDef*> v;
    v.reserve(kParamCount);
    for (const ParamDef& d : kParamTable) v.push_back(&d);
    std::sort(v.begin(), v.end(), [](const ParamDef* a, const ParamDef* b) {
      return std::strcmp(a->name, b->name) < 0;
    });
    return v;
  }();
  auto it = std::lower_bound(byName.begin(), byName.end(), name,
                             [](const ParamDef* d, std::string_view n) { return d->name < n; });
  if (it != byName.end() && (*it)->name == name) return *it;
  return nullptr;
}

int gaParamIndex(int id) noexcept {
  int k = tableIndex(id);
  if (k < 0 || kSlots[k].group != ParamGroup::Ga) return -1;
  return kSlots[k].index;
}

void paramRange(const ParamDef& def, double* lo, double* hi) noexcept {
  if (def.explicitRange) {
    *lo = def.lo;
    *hi = def.hi;
  } else if (def.type == ParamType::Int) {
    *lo = kDefaultIntLo;
    *hi = kDefaultIntHi;
  } else {
    *lo = kDefaultDouLo;
    *hi = kDefaultDouHi;
  }
}

// ---------------------------------------------------------------- storage

ParamSet::ParamSet() {
  for (int k = 0; k < kParamCount; ++k) {
    const ParamDef& d = defOf(k);
    if (kSlots[k].group == ParamGroup::Ga) {
      ga[kSlots[k].index] = d.def;
    } else if (d.type == ParamType::Int) {
      *intSlot(d.id) = static_cast<int>(d.def);
    } else if (d.type == ParamType::Dou) {
      *douSlot(d.id) = d.def;
    }
  }
}

int* ParamSet::intSlot(int id) noexcept {
  return const_cast<int*>(static_cast<const ParamSet*>(this)->intSlot(id));
}
double* ParamSet::douSlot(int id) noexcept {
  return const_cast<double*>(static_cast<const ParamSet*>(this)->douSlot(id));
}

const int* ParamSet::intSlot(int id) const noexcept {
  int k = tableIndex(id);
  if (k < 0 || kParamTable[k].type != ParamType::Int) return nullptr;
  int i = kSlots[k].index;
  switch (kSlots[k].group) {
    case ParamGroup::General: return &general.ints[i];
    case ParamGroup::Mip: return &mip.ints[i];
    case ParamGroup::Nlp: return &nlp.ints[i];
    case ParamGroup::Gop: return &gop.ints[i];
    case ParamGroup::Analysis: return &analysis.ints[i];
    case ParamGroup::Stoc: return &stoc.ints[i];
    case ParamGroup::Sampling: return &sampling.ints[i];
    case ParamGroup::Ga: return nullptr;
  }
  return nullptr;
}

const double* ParamSet::douSlot(int id) const noexcept {
  int k = tableIndex(id);
  if (k < 0 || kParamTable[k].type != ParamType::Dou) return nullptr;
  int i = kSlots[k].index;
  switch (kSlots[k].group) {
    case ParamGroup::General: return &general.dous[i];
    case ParamGroup::Mip: return &mip.dous[i];
    case ParamGroup::Nlp: return &nlp.dous[i];
    case ParamGroup::Gop: return &gop.dous[i];
    case ParamGroup::Analysis: return &analysis.dous[i];
    case ParamGroup::Stoc: return &stoc.dous[i];
    case ParamGroup::Sampling: return &sampling.dous[i];
    case ParamGroup::Ga: return nullptr;
  }
  return nullptr;
}

namespace {
// Truncation toward zero, saturated to the int range.
int truncateToInt(double v) noexcept {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(v);
}
}  // namespace

int ParamSet::intValue(int id) const noexcept {
  if (const int* p = intSlot(id)) return *p;
  if (const double* p = douSlot(id)) return truncateToInt(*p);
  if (int g = gaParamIndex(id); g >= 0) return truncateToInt(ga[g]);
  return 0;
}

double ParamSet::douValue(int id) const noexcept {
  if (const double* p = douSlot(id)) return *p;
  if (const int* p = intSlot(id)) return *p;
  if (int g = gaParamIndex(id); g >= 0) return ga[g];
  return 0.0;
}

const std::string& ParamSet::strValue(int id) const noexcept {
  static const std::string empty;
  if (id == kParamStocFmtNodeName) return stocNodeNameFormat;
  if (id == kParamStocFmtScenarioName) return stocScenarioNameFormat;
  return empty;
}

void ParamSet::storeInt(int id, int value) noexcept {
  if (int* p = intSlot(id)) *p = value;
  else if (double* q = douSlot(id)) *q = value;
  else if (int g = gaParamIndex(id); g >= 0) ga[g] = value;
}

void ParamSet::storeDou(int id, double value) noexcept {
  if (double* p = douSlot(id)) *p = value;
  else if (int* q = intSlot(id)) *q = truncateToInt(value);
  else if (int g = gaParamIndex(id); g >= 0) ga[g] = value;
}

void ParamSet::copyFixedFrom(const ParamSet& other) {
  general = other.general;
  mip = other.mip;
  nlp = other.nlp;
  gop = other.gop;
  analysis = other.analysis;
  stoc = other.stoc;
  sampling = other.sampling;
  stocNodeNameFormat = other.stocNodeNameFormat;
  stocScenarioNameFormat = other.stocScenarioNameFormat;
  mipCutoffGiven = other.mipCutoffGiven;
}

// ---------------------------------------------------------------- get / set

namespace {

enum class Level { Env, Model };

// A value on its way into a parameter.
struct Arg {
  ParamType type;
  double num = 0;             // int or double value
  const char* text = nullptr;  // string value
};

bool levelHolds(const ParamDef& d, Level level) {
  return (d.scope & (level == Level::Env ? kScopeEnv : kScopeModel)) != 0;
}

bool accepts(const ParamDef& d, double v) {
  if (std::isnan(v)) return false;
  switch (d.rule) {
    case SetRule::Range: return v >= d.lo && v <= d.hi;
    case SetRule::Lower: return v >= d.lo;
    case SetRule::Tol: return v >= d.lo && v < 1.0;
    case SetRule::Any: return true;
    case SetRule::Custom: return v >= d.setLo && v <= d.setHi;
    case SetRule::Ga: return (v >= d.lo && v <= d.hi) || v == d.def;
    case SetRule::ObjSense: return v == QX_MIN || v == QX_MAX;
    case SetRule::ReadOnly:
    case SetRule::NotSupported: return false;
  }
  return false;
}

// Model-level side effects after a value was stored on a model.
void afterModelSet(QXmodelRec& model, const ParamDef& d) {
  (void)model;
  if (d.id == kParamSolverFeasTol) {
    // While the model holds an LP work area, the primal feasibility
    // tolerance is clamped into [1e-11, 1e-4] and handed to the work area at
    // once. The simplex work area attaches here when it exists.
  }
  // A companion model that an optimiser derived and keeps beside this one
  // receives the same set here, once such companions exist.
}

int setParam(ParamSet& ps, Level level, int id, const Arg& arg, QXmodelRec* model) {
  const ParamDef* d = findParam(id);
  if (!d) return QXERR_INVALID_PARAMETER_ID;
  if (d->type != arg.type) return QXERR_UNABLE_TO_SET_PARAM;
  if (d->rule == SetRule::Ga) {
    if (!accepts(*d, arg.num)) return QXERR_PARAMETER_OUT_OF_RANGE;
    ps.ga[gaParamIndex(id)] = arg.num;
    return 0;
  }
  if (!levelHolds(*d, level) || d->rule == SetRule::ReadOnly) return QXERR_UNABLE_TO_SET_PARAM;
  if (d->rule == SetRule::NotSupported) return QXERR_NOT_SUPPORTED;
  // A model with an external solver attached would first pass identifiers
  // 1022, 1023, 1029-1032, 1034, 1035, 1037, 1040, 1041, 1251-1254 and
  // 1256-1262 to that solver's own setter; no external solver is attached
  // in this build.
  if (d->type == ParamType::Str) {
    if (!arg.text) return QXERR_ILLEGAL_NULL_POINTER;
    std::size_t len = std::strlen(arg.text);
    if (len > static_cast<std::size_t>(kStringParamMaxLength)) return QXERR_PARAMETER_OUT_OF_RANGE;
    (id == kParamStocFmtNodeName ? ps.stocNodeNameFormat : ps.stocScenarioNameFormat)
        .assign(arg.text, len);
    return 0;
  }
  if (d->rule == SetRule::ObjSense) {
    if (!accepts(*d, arg.num)) return QXERR_BAD_OBJECTIVE_SENSE;
    int sense = static_cast<int>(arg.num);
    if (model && model->data.objSense != sense) {
      // A new sense invalidates whatever an optimiser left.
      model->freeSolverMemory();
      model->freeSolution();
      model->freeMipSolution();
      if (model->status != QX_STATUS_UNLOADED) model->status = QX_STATUS_LOADED;
      model->data.objSense = sense;
    }
    ps.storeInt(id, sense);
    return 0;
  }
  if (!accepts(*d, arg.num)) return QXERR_PARAMETER_OUT_OF_RANGE;
  if (d->type == ParamType::Int) ps.storeInt(id, static_cast<int>(arg.num));
  else ps.storeDou(id, arg.num);
  if (id == kParamMipCutoffObj) ps.mipCutoffGiven = true;
  if (model) afterModelSet(*model, *d);
  return 0;
}

int getParam(const ParamSet& ps, Level level, int id, ParamType want, void* out,
             const QXmodelRec* model) {
  const ParamDef* d = findParam(id);
  if (!d) return QXERR_INVALID_PARAMETER_ID;
  if (d->type != want) return QXERR_UNABLE_TO_SET_PARAM;
  if (d->rule != SetRule::Ga && !levelHolds(*d, level)) return QXERR_INFO_NOT_AVAILABLE;
  switch (want) {
    case ParamType::Int:
      *static_cast<int*>(out) =
          (model && id == kParamObjSense) ? model->data.objSense : ps.intValue(id);
      return 0;
    case ParamType::Dou:
      *static_cast<double*>(out) = ps.douValue(id);
      return 0;
    case ParamType::Str: {
      const std::string& s = ps.strValue(id);
      std::size_t n = std::min<std::size_t>(s.size(), kStringParamMaxLength);
      std::memcpy(out, s.data(), n);
      static_cast<char*>(out)[n] = '\0';
      return 0;
    }
  }
  return QXERR_INTERNAL_ERROR;
}

Arg intArg(int v) { return {ParamType::Int, static_cast<double>(v), nullptr}; }
Arg douArg(double v) { return {ParamType::Dou, v, nullptr}; }
Arg strArg(const char* v) { return {ParamType::Str, 0, v}; }

// Reads an untyped value according to the parameter's type.
int untypedArg(int id, const void* value, Arg* arg) {
  const ParamDef* d = findParam(id);
  if (!d) return QXERR_INVALID_PARAMETER_ID;
  switch (d->type) {
    case ParamType::Int: *arg = intArg(*static_cast<const int*>(value)); break;
    case ParamType::Dou: *arg = douArg(*static_cast<const double*>(value)); break;
    case ParamType::Str: *arg = strArg(static_cast<const char*>(value)); break;
  }
  return 0;
}

}  // namespace

int setModelIntParam(QXmodelRec& m, int id, int v) {
  return setParam(m.params, Level::Model, id, intArg(v), &m);
}
int setModelDouParam(QXmodelRec& m, int id, double v) {
  return setParam(m.params, Level::Model, id, douArg(v), &m);
}
int setModelStrParam(QXmodelRec& m, int id, const char* v) {
  return setParam(m.params, Level::Model, id, strArg(v), &m);
}
int setEnvIntParam(QXenvRec& e, int id, int v) {
  return setParam(e.params, Level::Env, id, intArg(v), nullptr);
}
int setEnvDouParam(QXenvRec& e, int id, double v) {
  return setParam(e.params, Level::Env, id, douArg(v), nullptr);
}
int setEnvStrParam(QXenvRec& e, int id, const char* v) {
  return setParam(e.params, Level::Env, id, strArg(v), nullptr);
}

int getModelIntParam(const QXmodelRec& m, int id, int* v) {
  return getParam(m.params, Level::Model, id, ParamType::Int, v, &m);
}
int getModelDouParam(const QXmodelRec& m, int id, double* v) {
  return getParam(m.params, Level::Model, id, ParamType::Dou, v, &m);
}
int getModelStrParam(const QXmodelRec& m, int id, char* v) {
  return getParam(m.params, Level::Model, id, ParamType::Str, v, &m);
}
int getEnvIntParam(const QXenvRec& e, int id, int* v) {
  return getParam(e.params, Level::Env, id, ParamType::Int, v, nullptr);
}
int getEnvDouParam(const QXenvRec& e, int id, double* v) {
  return getParam(e.params, Level::Env, id, ParamType::Dou, v, nullptr);
}
int getEnvStrParam(const QXenvRec& e, int id, char* v) {
  return getParam(e.params, Level::Env, id, ParamType::Str, v, nullptr);
}

int setModelParam(QXmodelRec& m, int id, const void* value) {
  Arg arg{ParamType::Int};
  if (int rc = untypedArg(id, value, &arg)) return rc;
  return setParam(m.params, Level::Model, id, arg, &m);
}
int setEnvParam(QXenvRec& e, int id, const void* value) {
  Arg arg{ParamType::Int};
  if (int rc = untypedArg(id, value, &arg)) return rc;
  return setParam(e.params, Level::Env, id, arg, nullptr);
}
int getModelParam(const QXmodelRec& m, int id, void* value) {
  const ParamDef* d = findParam(id);
  if (!d) return QXERR_INVALID_PARAMETER_ID;
  return getParam(m.params, Level::Model, id, d->type, value, &m);
}
int getEnvParam(const QXenvRec& e, int id, void* value) {
  const ParamDef* d = findParam(id);
  if (!d) return QXERR_INVALID_PARAMETER_ID;
  return getParam(e.params, Level::Env, id, d->type, value, nullptr);
}

}  // namespace torva
