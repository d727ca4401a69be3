// Exported functions of the random number generators.
#include "base/api.hpp"
#include "base/env.hpp"
#include "stoc/rng.hpp"
#include "stoc/sample.hpp"

using torva::guarded;
using torva::guardedVoid;

namespace {

// Frees the generator's attached sampler, unlinking it from the environment.
int detachDistr(QXrgRec& rg) {
  if (!rg.distr) return 0;
  QXsampleRec* old = rg.distr;
  rg.distr = nullptr;
  old->ownerRg = nullptr;
  return rg.env->removeSample(old);
}

}  // namespace

extern "C" {

QXAPI QXrg QXcreateRG(QXenv env, int kind) {
  QXrg result = nullptr;
  guarded([&] {
    result = torva::stoc::createRG(env, kind).release();
    return 0;
  });
  return result;
}

QXAPI QXrg QXcreateRGMT(QXenv env, int kind) {
  QXrg result = nullptr;
  guarded([&] {
    if (!env) return 0;
    torva::stoc::SamplingParams params;
    if (torva::stoc::readSamplingParams(*env, params)) return 0;
    result = torva::stoc::createRGMT(env, kind, params).release();
    return 0;
  });
  return result;
}

QXAPI void QXsetRGSeed(QXrg rg, unsigned int seed) {
  if (rg) guardedVoid([&] { rg->seed(seed); });
}

QXAPI unsigned int QXgetInitSeed(QXrg rg) { return rg ? rg->initSeed : 0u; }

QXAPI double QXgetDoubleRV(QXrg rg) { return rg->nextDouble(); }

QXAPI int QXgetInt32RV(QXrg rg, int lo, int hi) { return rg->nextInt(lo, hi); }

QXAPI int QXsetDistrRG(QXrg rg, int distrType) {
  if (!rg || !rg->env) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (!torva::stoc::isDistributionType(distrType)) return QXERR_STOC_BAD_DISTRIBUTION;
    if (int rc = detachDistr(*rg)) return rc;
    rg->distr = rg->env->addSample(distrType);
    rg->distr->rg = rg;
    rg->distr->ownerRg = rg;
    return 0;
  });
}

QXAPI int QXsetDistrParamRG(QXrg rg, int index, double value) {
  if (!rg) return QXERR_ILLEGAL_NULL_POINTER;
  if (!rg->distr) return QXERR_INFO_NOT_AVAILABLE;
  return rg->distr->setParam(index, value);
}

QXAPI int QXgetDistrRV(QXrg rg, double* value) {
  if (!rg || !value) return QXERR_ILLEGAL_NULL_POINTER;
  if (!rg->distr) return QXERR_INFO_NOT_AVAILABLE;
  return guarded([&] {
    const double u = rg->nextDouble();
    return rg->distr->eval(QX_DISTR_FUNC_ICDF, u, *value);
  });
}

QXAPI int QXfillRGBuffer(QXrg rg) {
  if (!rg) return QXERR_ILLEGAL_NULL_POINTER;
  if (!rg->buffered) return 0;  // single-stream: nothing is buffered
  return guarded([&] {
    rg->buffered->refill();
    return 0;
  });
}

QXAPI double* QXgetRGBufferPtr(QXrg rg, int* size) {
  if (!rg) return nullptr;
  if (!rg->buffered) {
    if (size) *size = 0;
    return nullptr;
  }
  if (size) *size = rg->buffered->size();
  return rg->buffered->data();
}

QXAPI int QXgetRGNumThreads(QXrg rg, int* numThreads) {
  if (!rg || !numThreads) return QXERR_ILLEGAL_NULL_POINTER;
  *numThreads = rg->numThreads;
  return 0;
}

QXAPI void QXdisposeRG(QXrg* rgp) {
  if (!rgp || !*rgp) return;
  guardedVoid([&] {
    std::unique_ptr<QXrgRec> rg(*rgp);
    *rgp = nullptr;
    detachDistr(*rg);
  });
}

}  // extern "C"
