// Exported functions of the samples.
#include <cmath>
#include <vector>

#include "base/api.hpp"
#include "base/env.hpp"
#include "stoc/rng.hpp"
#include "stoc/sample.hpp"

using torva::guarded;

namespace {

// Copies the sample handles, refusing null arrays, counts below 1 and null
// entries.
int collect(QXsample* samples, int count, std::vector<QXsampleRec*>& out) {
  if (!samples) return QXERR_ILLEGAL_NULL_POINTER;
  if (count < 1) return QXERR_INDEX_OUT_OF_RANGE;
  out.assign(samples, samples + count);
  for (QXsampleRec* s : out)
    if (!s) return QXERR_ILLEGAL_NULL_POINTER;
  return 0;
}

}  // namespace

extern "C" {

QXAPI QXsample QXsampCreate(QXenv env, int distrType, int* errorcode) {
  QXsample result = nullptr;
  int rc = QXERR_ILLEGAL_NULL_POINTER;
  if (env) rc = guarded([&] {
    result = env->addSample(distrType);
    return 0;
  });
  if (errorcode) *errorcode = rc;
  return result;
}

QXAPI int QXsampDelete(QXsample* samplep) {
  if (!samplep || !*samplep) return QXERR_ILLEGAL_NULL_POINTER;
  QXsample sample = *samplep;
  return guarded([&] {
    if (int rc = sample->env->removeSample(sample)) return rc;
    *samplep = nullptr;
    return 0;
  });
}

QXAPI int QXsampSetRG(QXsample sample, QXrg rg) {
  if (!sample || !rg) return QXERR_ILLEGAL_NULL_POINTER;
  sample->rg = rg;
  return 0;
}

QXAPI int QXsampSetDistrParam(QXsample sample, int index, double value) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  return sample->setParam(index, value);
}

QXAPI int QXsampGetDistrParam(QXsample sample, int index, double* value) {
  if (!sample || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return sample->getParam(index, *value);
}

QXAPI int QXsampEvalDistr(QXsample sample, int funcCode, double x, double* value) {
  if (!sample || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return sample->eval(funcCode, x, *value); });
}

QXAPI int QXsampGenerate(QXsample sample, int method, int n) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return sample->generate(method, n); });
}

QXAPI int QXsampLoadPoints(QXsample sample, int n, const double* points) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return sample->loadPoints(n, points); });
}

QXAPI int QXsampGetPoints(QXsample sample, int* n, double* points) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  if (!sample->hasPoints) return QXERR_INFO_NOT_AVAILABLE;
  if (n) *n = static_cast<int>(sample->points.size());
  if (points) std::copy(sample->points.begin(), sample->points.end(), points);
  return 0;
}

QXAPI int QXsampGetPointsPtr(QXsample sample, int* n, double** points) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  if (n) *n = sample->hasPoints ? static_cast<int>(sample->points.size()) : 0;
  if (points) {
    if (!sample->hasPoints) return QXERR_INFO_NOT_AVAILABLE;
    *points = sample->points.data();
  }
  return 0;
}

QXAPI int QXsampGetCIPoints(QXsample sample, int* n, double* points) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  if (!sample->hasCiPoints) return QXERR_INFO_NOT_AVAILABLE;
  if (n) *n = static_cast<int>(sample->ciPoints.size());
  if (points) std::copy(sample->ciPoints.begin(), sample->ciPoints.end(), points);
  return 0;
}

QXAPI int QXsampGetCIPointsPtr(QXsample sample, int* n, double** points) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  if (n) *n = sample->hasCiPoints ? static_cast<int>(sample->ciPoints.size()) : 0;
  if (points) {
    if (!sample->hasCiPoints) return QXERR_INFO_NOT_AVAILABLE;
    *points = sample->ciPoints.data();
  }
  return 0;
}

QXAPI int QXsampLoadDiscretePdfTable(QXsample sample, int len, const double* prob, const double* values) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return sample->loadTable(len, prob, values); });
}

QXAPI int QXsampGetDiscretePdfTable(QXsample sample, int* len, double* prob, double* values) {
  if (!sample) return QXERR_ILLEGAL_NULL_POINTER;
  const auto& t = sample->table;
  if (len) *len = t.length();
  if (prob && !t.hasProb) return QXERR_INFO_NOT_AVAILABLE;
  if (values && !t.hasValues) return QXERR_INFO_NOT_AVAILABLE;
  if (prob) std::copy(t.prob.begin(), t.prob.end(), prob);
  if (values) std::copy(t.values.begin(), t.values.end(), values);
  return 0;
}

QXAPI int QXsampSetUserDistr(QXsample sample, QXuserDistrFunc func, void* userdata) {
  if (!sample || !func) return QXERR_ILLEGAL_NULL_POINTER;
  sample->userFunc = func;
  sample->userData = userdata;
  return 0;
}

QXAPI int QXsampAddUserFuncArg(QXsample sample, QXsample argSample) {
  if (!sample || !argSample) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return sample->addUserArg(argSample); });
}

QXAPI int QXsampEvalUserDistr(QXsample sample, int funcCode, int iarg1, int iarg2, double* value) {
  if (!sample || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return sample->evalUser(funcCode, iarg1, iarg2, value); });
}

QXAPI int QXsampInduceCorrelation(QXsample* samples, int count, int corrType, int npairs, const int* pairI,
                                  const int* pairJ, const double* values) {
  return guarded([&] {
    std::vector<QXsampleRec*> list;
    if (int rc = collect(samples, count, list)) return rc;
    if (corrType < QX_CORR_PEARSON || corrType > QX_CORR_SPEARMAN) return QXERR_STOC_BAD_CORRELATION_TYPE;
    if (npairs < 0) return QXERR_INDEX_OUT_OF_RANGE;
    if (npairs > 0 && (!pairI || !pairJ || !values)) return QXERR_ILLEGAL_NULL_POINTER;
    for (QXsampleRec* s : list)
      if (!s->hasPoints) return QXERR_STOC_SAMPLE_NOT_GENERATED;
    const std::size_t n = list[0]->points.size();
    for (QXsampleRec* s : list)
      if (s->points.size() != n) return QXERR_STOC_BAD_SAMPLE_SIZE;
    const std::size_t k = list.size();
    std::vector<double> target(k * k, 0.0);
    for (int p = 0; p < npairs; ++p) {
      const int i = pairI[p], j = pairJ[p];
      if (i < 0 || j < 0 || i >= count || j >= count || i == j) return QXERR_INDEX_OUT_OF_RANGE;
      if (!(values[p] >= -1.0 && values[p] <= 1.0)) return QXERR_STOC_BAD_VALUE;
      target[static_cast<std::size_t>(i) * k + static_cast<std::size_t>(j)] = values[p];
      target[static_cast<std::size_t>(j) * k + static_cast<std::size_t>(i)] = values[p];
    }
    if (n < k + 1) return QXERR_STOC_SAMPLE_TOO_SMALL;
    return torva::stoc::induceCorrelation(list, corrType, target);
  });
}

QXAPI int QXsampGetCorrelationMatrix(QXsample* samples, int count, int kind, int corrType, int* npairs, int* pairI,
                                     int* pairJ, double* values) {
  return guarded([&] {
    std::vector<QXsampleRec*> list;
    if (int rc = collect(samples, count, list)) return rc;
    if (kind != QX_SAMP_POINTS && kind != QX_SAMP_CI_POINTS) return QXERR_PARAMETER_OUT_OF_RANGE;
    if (corrType < QX_CORR_PEARSON || corrType > QX_CORR_SPEARMAN) return QXERR_STOC_BAD_CORRELATION_TYPE;
    auto series = [&](QXsampleRec* s) -> const std::vector<double>& {
      return kind == QX_SAMP_POINTS ? s->points : s->ciPoints;
    };
    for (QXsampleRec* s : list) {
      if (kind == QX_SAMP_POINTS && !s->hasPoints) return QXERR_STOC_SAMPLE_NOT_GENERATED;
      if (kind == QX_SAMP_CI_POINTS && !s->hasCiPoints) return QXERR_STOC_NO_CORRELATION;
      if (series(s).size() != series(list[0]).size()) return QXERR_STOC_BAD_SAMPLE_SIZE;
    }
    int p = 0;
    for (int i = 0; i < count; ++i)
      for (int j = i + 1; j < count; ++j, ++p) {
        if (pairI) pairI[p] = i;
        if (pairJ) pairJ[p] = j;
        if (values) values[p] = torva::stoc::correlation(series(list[static_cast<std::size_t>(i)]),
                                                         series(list[static_cast<std::size_t>(j)]), corrType);
      }
    if (npairs) *npairs = p;
    return 0;
  });
}

QXAPI int QXsampGetInfo(QXsample sample, int item, void* value) {
  if (!sample || !value) return QXERR_ILLEGAL_NULL_POINTER;
  auto asInt = [&](int v) {
    *static_cast<int*>(value) = v;
    return 0;
  };
  auto asDouble = [&](double v) {
    *static_cast<double*>(value) = v;
    return 0;
  };
  const std::vector<double>& pts = sample->points;
  const double n = static_cast<double>(pts.size());
  switch (item) {
    case QX_IINFO_SAMP_SIZE: return asInt(sample->hasPoints ? static_cast<int>(pts.size()) : 0);
    case QX_IINFO_SAMP_METHOD: return asInt(sample->method);
    case QX_IINFO_SAMP_DISTR_TYPE: return asInt(sample->distrType);
    case QX_IINFO_SAMP_NPARAMS: return asInt(sample->paramCount);
    case QX_IINFO_SAMP_CI_SIZE: return asInt(sample->hasCiPoints ? static_cast<int>(sample->ciPoints.size()) : 0);
    case QX_IINFO_SAMP_NUSER_ARGS: return asInt(static_cast<int>(sample->userArgs.size()));
    case QX_DINFO_SAMP_MEAN:
    case QX_DINFO_SAMP_STD: {
      if (!sample->hasPoints || pts.empty() || (item == QX_DINFO_SAMP_STD && pts.size() < 2))
        return QXERR_INFO_NOT_AVAILABLE;
      double mean = 0;
      for (double v : pts) mean += v;
      mean /= n;
      if (item == QX_DINFO_SAMP_MEAN) return asDouble(mean);
      double ss = 0;
      for (double v : pts) ss += (v - mean) * (v - mean);
      return asDouble(std::sqrt(ss / (n - 1)));
    }
    case QX_DINFO_SAMP_MAXABS:
      if (!sample->hasPoints) return QXERR_INFO_NOT_AVAILABLE;
      return asDouble(sample->maxAbs);
    default: return QXERR_INVALID_PARAMETER_ID;
  }
}

}  // extern "C"
