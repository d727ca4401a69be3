// Exported parameter functions: get and set on both levels, ranges, copies.
#include "base/api.hpp"
#include "base/env.hpp"
#include "base/model.hpp"
#include "base/param_access.hpp"

using torva::guarded;

extern "C" {

QXAPI int QXsetModelIntParameter(QXmodel model, int id, int value) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::setModelIntParam(*model, id, value); });
}

QXAPI int QXsetModelDouParameter(QXmodel model, int id, double value) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::setModelDouParam(*model, id, value); });
}

QXAPI int QXgetModelIntParameter(QXmodel model, int id, int* value) {
  if (!model || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::getModelIntParam(*model, id, value); });
}

QXAPI int QXgetModelDouParameter(QXmodel model, int id, double* value) {
  if (!model || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::getModelDouParam(*model, id, value); });
}

QXAPI int QXsetModelParameter(QXmodel model, int id, void* value) {
  if (!model || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::setModelParam(*model, id, value); });
}

QXAPI int QXgetModelParameter(QXmodel model, int id, void* value) {
  if (!model || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::getModelParam(*model, id, value); });
}

QXAPI int QXsetEnvIntParameter(QXenv env, int id, int value) {
  if (!env) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::setEnvIntParam(*env, id, value); });
}

QXAPI int QXsetEnvDouParameter(QXenv env, int id, double value) {
  if (!env) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::setEnvDouParam(*env, id, value); });
}

QXAPI int QXgetEnvIntParameter(QXenv env, int id, int* value) {
  if (!env || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::getEnvIntParam(*env, id, value); });
}

QXAPI int QXgetEnvDouParameter(QXenv env, int id, double* value) {
  if (!env || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::getEnvDouParam(*env, id, value); });
}

QXAPI int QXsetEnvParameter(QXenv env, int id, void* value) {
  if (!env || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::setEnvParam(*env, id, value); });
}

QXAPI int QXgetEnvParameter(QXenv env, int id, void* value) {
  if (!env || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::getEnvParam(*env, id, value); });
}

QXAPI int QXgetIntParameterRange(QXmodel model, int id, int* min, int* max) {
  if (min) *min = 0;
  if (max) *max = 0;
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const torva::ParamDef* def = torva::findParam(id);
  if (!def) return QXERR_INVALID_PARAMETER_ID;
  if (def->type != torva::ParamType::Int) return QXERR_UNABLE_TO_SET_PARAM;
  double lo = 0, hi = 0;
  torva::paramRange(*def, &lo, &hi);
  if (min) *min = static_cast<int>(lo);
  if (max) *max = static_cast<int>(hi);
  return 0;
}

QXAPI int QXgetDouParameterRange(QXmodel model, int id, double* min, double* max) {
  if (min) *min = 0;
  if (max) *max = 0;
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const torva::ParamDef* def = torva::findParam(id);
  if (!def) return QXERR_INVALID_PARAMETER_ID;
  if (def->type != torva::ParamType::Dou) return QXERR_UNABLE_TO_SET_PARAM;
  double lo = 0, hi = 0;
  torva::paramRange(*def, &lo, &hi);
  if (min) *min = lo;
  if (max) *max = hi;
  return 0;
}

QXAPI int QXcopyParam(QXmodel source, QXmodel target, int mode) {
  if (!source || !target) return QXERR_ILLEGAL_NULL_POINTER;
  constexpr int kCopyGaMode = 12;
  return guarded([&] {
    if (mode < 1) target->params.copyFixedFrom(source->params);
    else if (mode == kCopyGaMode) target->params.copyGaFrom(source->params);
    return 0;
  });
}

QXAPI int QXcopyGAParam(QXmodel source, QXmodel target) {
  if (!source || !target) return QXERR_ILLEGAL_NULL_POINTER;
  target->params.copyGaFrom(source->params);
  return 0;
}

}  // extern "C"
