#include "base/info.hpp"

#include <cstdio>
#include <cstring>

#include "base/version.hpp"
#include "nlp/stats.hpp"

namespace torva {

int libraryInfo(int item, void* result) {
  switch (item) {
    case kInfoVerMajor: *static_cast<int*>(result) = QX_VERSION_MAJOR; return 0;
    case kInfoVerMinor: *static_cast<int*>(result) = QX_VERSION_MINOR; return 0;
    case kInfoVerBuild: *static_cast<int*>(result) = QX_VERSION_BUILD; return 0;
    case kInfoVerRevision: *static_cast<int*>(result) = QX_VERSION_REVISION; return 0;
    case kInfoPlatform: std::strcpy(static_cast<char*>(result), kPlatformCode); return 0;
    default: return QXERR_INFO_NOT_AVAILABLE;
  }
}

std::string threadLoadText(const std::vector<double>& seconds) {
  double total = 0.0;
  for (double t : seconds) total += t;
  std::string out = "|";
  for (double t : seconds) {
    char field[32];
    std::snprintf(field, sizeof field, "%.0f%%|", total > 0 ? 100.0 * t / total : 100.0 / static_cast<double>(seconds.size()));
    if (out.size() + std::strlen(field) > kMaxThreadLoadText) break;
    out += field;
  }
  return out;
}

namespace {

int putInt(void* result, int value) {
  *static_cast<int*>(result) = value;
  return 0;
}

int putDouble(void* result, double value) {
  *static_cast<double*>(result) = value;
  return 0;
}

// Items that describe the stored model; -1 when item is not one of them.
int dataInfo(const Model& model, int item, void* result) {
  const ModelData& d = model.data;
  switch (item) {
    case QX_IINFO_NUM_CONS: return putInt(result, d.m);
    case QX_IINFO_NUM_VARS: return putInt(result, d.n);
    case QX_IINFO_NUM_NONZ: return putInt(result, d.nnz);
    case QX_IINFO_NUM_BIN: return putInt(result, d.integerStats().binaries);
    case QX_IINFO_NUM_INT: return putInt(result, d.integerStats().integers);
    case QX_IINFO_NUM_CONT: {
      const IntegerStats& s = d.integerStats();
      return putInt(result, d.n - s.binaries - s.integers);
    }
    case QX_IINFO_NUM_QC_NONZ: return putInt(result, d.qc.nnz());
    case QX_IINFO_NUM_NLP_NONZ: return putInt(result, nlp::countNonlinear(model).nonzeros);
    case QX_IINFO_NUM_NLPOBJ_NONZ: return putInt(result, nlp::countNonlinear(model).objNonzeros);
    case QX_IINFO_NUM_NLP_CONS: return putInt(result, nlp::countNonlinear(model).rows);
    case QX_IINFO_NUM_NLP_VARS: return putInt(result, nlp::countNonlinear(model).vars);
    case QX_IINFO_NUM_SPARS: return putInt(result, nlp::stocParamCount(model));
    case QX_IINFO_LEN_VARNAMES: return putInt(result, static_cast<int>(d.varNames.charCount()));
    case QX_IINFO_LEN_CONNAMES: return putInt(result, static_cast<int>(d.conNames.charCount()));
    case QX_IINFO_LEN_CONENAMES: return putInt(result, static_cast<int>(d.coneNames.charCount()));
    case QX_IINFO_NUM_CONES: return putInt(result, d.cones.count());
    case QX_IINFO_NUM_CONE_NONZ: return putInt(result, d.cones.nnz());
    case QX_DINFO_INST_VAL_MIN_COEF:
    case QX_IINFO_INST_VARNDX_MIN_COEF:
    case QX_IINFO_INST_CONNDX_MIN_COEF:
    case QX_DINFO_INST_VAL_MAX_COEF:
    case QX_IINFO_INST_VARNDX_MAX_COEF:
    case QX_IINFO_INST_CONNDX_MAX_COEF: {
      const BaseStats& s = d.stats();
      if (s.minCoefCol < 0) return QXERR_INFO_NOT_AVAILABLE;  // no non-zero coefficient
      switch (item) {
        case QX_DINFO_INST_VAL_MIN_COEF: return putDouble(result, s.minCoef);
        case QX_IINFO_INST_VARNDX_MIN_COEF: return putInt(result, s.minCoefCol);
        case QX_IINFO_INST_CONNDX_MIN_COEF: return putInt(result, s.minCoefRow);
        case QX_DINFO_INST_VAL_MAX_COEF: return putDouble(result, s.maxCoef);
        case QX_IINFO_INST_VARNDX_MAX_COEF: return putInt(result, s.maxCoefCol);
        default: return putInt(result, s.maxCoefRow);
      }
    }
    case QX_IINFO_OBJSENSE: return putInt(result, d.objSense);
    default: return -1;
  }
}

// Items of the continuous record; -1 when item is not one of them.
int lpInfo(const Model& model, int item, void* result) {
  switch (item) {
    case QX_IINFO_METHOD: case QX_DINFO_POBJ: case QX_DINFO_DOBJ: case QX_DINFO_PINFEAS:
    case QX_DINFO_DINFEAS: case QX_IINFO_MODEL_STATUS: case QX_IINFO_PRIMAL_STATUS:
    case QX_IINFO_DUAL_STATUS: case QX_IINFO_BASIC_STATUS: case QX_IINFO_BAR_ITER:
    case QX_IINFO_SIM_ITER: case QX_IINFO_NLP_ITER: case QX_IINFO_ELAPSED_TIME:
    case QX_IINFO_ERR_OPTIM: case QX_IINFO_NUM_RDCONS: case QX_IINFO_NUM_RDVARS:
    case QX_IINFO_NUM_RDNONZ: case QX_IINFO_NUM_RDINT: case QX_IINFO_IPM_STATUS: case QX_DINFO_IPM_POBJ:
    case QX_DINFO_IPM_DOBJ: case QX_DINFO_IPM_PINFEAS: case QX_DINFO_IPM_DINFEAS: break;
    default: return -1;
  }
  if (!model.lpSolution) return QXERR_INFO_NOT_AVAILABLE;
  const LpSolution& s = *model.lpSolution;
  switch (item) {
    // The interior-point items exist once an interior-point run has ended.
    case QX_IINFO_IPM_STATUS:
    case QX_DINFO_IPM_POBJ:
    case QX_DINFO_IPM_DOBJ:
    case QX_DINFO_IPM_PINFEAS:
    case QX_DINFO_IPM_DINFEAS:
      if (s.ipmStatus < 0) return QXERR_INFO_NOT_AVAILABLE;
      if (item == QX_IINFO_IPM_STATUS) return putInt(result, s.ipmStatus);
      return putDouble(result, item == QX_DINFO_IPM_POBJ   ? s.ipmPrimalObj
                               : item == QX_DINFO_IPM_DOBJ ? s.ipmDualObj
                               : item == QX_DINFO_IPM_PINFEAS ? s.ipmPrimalInfeas
                                                              : s.ipmDualInfeas);
    case QX_IINFO_ERR_OPTIM: return putInt(result, s.errorCode);
    // The size of the model the simplex solved (after presolve), known once
    // an optimisation has run.
    case QX_IINFO_NUM_RDCONS:
    case QX_IINFO_NUM_RDVARS:
    case QX_IINFO_NUM_RDNONZ:
    case QX_IINFO_NUM_RDINT: {
      if (s.reducedRows < 0) return QXERR_INFO_NOT_AVAILABLE;
      const int v = item == QX_IINFO_NUM_RDCONS ? s.reducedRows
                    : item == QX_IINFO_NUM_RDVARS ? s.reducedCols
                    : item == QX_IINFO_NUM_RDNONZ ? s.reducedNnz
                                                  : s.reducedInts;
      return putInt(result, v);
    }
    case QX_IINFO_METHOD: return putInt(result, s.method);
    case QX_DINFO_POBJ: return putDouble(result, s.primalObj);
    case QX_DINFO_DOBJ: return putDouble(result, s.dualObj);
    case QX_DINFO_PINFEAS: return putDouble(result, s.primalInfeas);
    case QX_DINFO_DINFEAS: return putDouble(result, s.dualInfeas);
    case QX_IINFO_MODEL_STATUS: return putInt(result, s.modelStatus);
    case QX_IINFO_PRIMAL_STATUS: return putInt(result, s.primalStatus);
    case QX_IINFO_DUAL_STATUS: return putInt(result, s.dualStatus);
    case QX_IINFO_BASIC_STATUS: return putInt(result, s.basisStatus);
    case QX_IINFO_BAR_ITER: return putInt(result, s.barrierIters);
    case QX_IINFO_SIM_ITER: return putInt(result, s.simplexIters);
    case QX_IINFO_NLP_ITER: return putInt(result, s.nlpIters);
    default: return putInt(result, s.elapsedTime);
  }
}

// Items of the integer record; -1 when item is not one of them.
int mipInfo(const Model& model, int item, void* result) {
  const bool threadItem = item == QX_IINFO_MIP_THREADS || item == QX_SINFO_MIP_THREAD_LOAD;
  if ((item < QX_IINFO_MIP_STATUS || item > QX_DINFO_MIP_HEU_TIME) && !threadItem) return -1;
  if (!model.mipSolution) return QXERR_INFO_NOT_AVAILABLE;
  const MipSolution& s = *model.mipSolution;
  if (item == QX_IINFO_MIP_THREADS) return putInt(result, s.threads);
  if (item == QX_SINFO_MIP_THREAD_LOAD) {
    const std::string load = threadLoadText(s.threadSeconds);
    std::memcpy(result, load.c_str(), load.size() + 1);
    return 0;
  }
  if (item >= QX_IINFO_MIP_GUB_CONS && item <= QX_IINFO_MIP_CONT_CONS)
    return putInt(result, s.consClass[item - QX_IINFO_MIP_GUB_CONS]);
  // Items between the constraint classes and the times are not kept.
  if (item > QX_IINFO_MIP_CONT_CONS && item < QX_DINFO_MIP_TOT_TIME) return QXERR_INFO_NOT_AVAILABLE;
  if (item == QX_IINFO_MIP_NUM_TOTAL_CUTS) {
    int total = 0;
    for (int c : s.cuts) total += c;
    return putInt(result, total);
  }
  if (item > QX_IINFO_MIP_NUM_TOTAL_CUTS && item <= QX_IINFO_MIP_CONTRA_CUTS)
    return putInt(result, s.cuts[item - QX_IINFO_MIP_GUB_COVER_CUTS]);
  switch (item) {
    case QX_IINFO_MIP_AOPTTIMETOSTOP: return putInt(result, s.aoptTimeToStop);
    case QX_DINFO_MIP_TOT_TIME: return putDouble(result, s.totTime);
    case QX_DINFO_MIP_OPT_TIME: return putDouble(result, s.optTime);
    case QX_DINFO_MIP_HEU_TIME: return putDouble(result, s.heuTime);
    case QX_IINFO_MIP_LTYPE: return QXERR_INFO_NOT_AVAILABLE;
    case QX_IINFO_MIP_STATUS: return putInt(result, s.statusOverride ? s.statusOverride : s.status);
    case QX_DINFO_MIP_OBJ: return putDouble(result, s.objective);
    case QX_DINFO_MIP_BESTBOUND: return putDouble(result, s.bestBound);
    case QX_IINFO_MIP_SIM_ITER: return putInt(result, s.simplexIters);
    case QX_IINFO_MIP_BAR_ITER: return putInt(result, s.barrierIters);
    case QX_IINFO_MIP_NLP_ITER: return putInt(result, s.nlpIters);
    case QX_IINFO_MIP_BRANCHCOUNT: return putInt(result, s.branchCount);
    case QX_IINFO_MIP_NEWIPSOL: return putInt(result, s.solutionsFound);
    case QX_IINFO_MIP_LPCOUNT: return putInt(result, s.lpCount);
    default: return putInt(result, s.activeNodes);
  }
}

}  // namespace

int modelInfo(const Model& model, int item, void* result) {
  if (model.status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  if (int rc = dataInfo(model, item, result); rc >= 0) return rc;
  if (int rc = lpInfo(model, item, result); rc >= 0) return rc;
  if (int rc = mipInfo(model, item, result); rc >= 0) return rc;
  // Items of solvers that have not run (or do not exist yet).
  return QXERR_INFO_NOT_AVAILABLE;
}

}  // namespace torva
