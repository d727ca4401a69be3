// The exported QXload* functions and the start-point getters: argument
// checks and the guarded call into the model store's loaders.
#include <algorithm>
#include <cstring>

#include "base/api.hpp"
#include "base/load.hpp"
#include "nlp/load.hpp"
#include "nlp/sync.hpp"

using torva::guarded;

extern "C" {

QXAPI int QXloadLPData(QXmodel pModel, int nCons, int nVars, int dObjSense, double dObjConst,
                       const double* padC, const double* padB, const char* pszConTypes, int nAnnz,
                       const int* paiAcols, const int* panAcols, const double* padAcoef,
                       const int* paiArows, const double* padL, const double* padU) {
  if (!pModel) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::loadLPData(*pModel, nCons, nVars, dObjSense, dObjConst, padC, padB, pszConTypes,
                             nAnnz, paiAcols, panAcols, padAcoef, paiArows, padL, padU);
  });
}

QXAPI int QXloadVarType(QXmodel pModel, const char* pszVarTypes) {
  if (!pModel) return QXERR_ILLEGAL_NULL_POINTER;
  // Types, semi-continuous data and start points of an instruction-list
  // model reach its list too.
  return guarded([&] {
    return torva::nlp::syncedEdit(*pModel, {}, [&] { return torva::loadVarType(*pModel, pszVarTypes); });
  });
}

QXAPI int QXloadSemiContData(QXmodel pModel, int nSC, const int* paiVars, const double* padL,
                             const double* padU) {
  if (nSC == 0) return 0;
  if (!pModel) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::nlp::syncedEdit(*pModel, {},
                                  [&] { return torva::loadSemiContData(*pModel, nSC, paiVars, padL, padU); });
  });
}

QXAPI int QXloadNameData(QXmodel model, const char* title, const char* objname, const char* rhsname,
                         const char* rngname, const char* bndname, char** connames, char** varnames,
                         char** conenames) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::loadNameData(*model, title, objname, rhsname, rngname, bndname, connames,
                               varnames, conenames);
  });
}

QXAPI int QXloadQCData(QXmodel pModel, int QCnonzeros, const int* QCrowndx, const int* QCcolndx1,
                       const int* QCcolndx2, const double* QCcoef) {
  if (QCnonzeros == 0) return 0;
  if (!pModel) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    // An instruction list carries quadratic terms as instructions.
    if (torva::nlp::instructionList(*pModel)) return QXERR_MODEL_ALREADY_LOADED;
    return torva::loadQCData(*pModel, QCnonzeros, QCrowndx, QCcolndx1, QCcolndx2, QCcoef);
  });
}

QXAPI int QXloadConeData(QXmodel pModel, int nCone, const char* pszConeTypes,
                         const int* paiConebegcone, const int* paiConecols) {
  if (nCone == 0) return 0;
  if (!pModel) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (torva::nlp::instructionList(*pModel)) return QXERR_MODEL_ALREADY_LOADED;
    return torva::loadConeData(*pModel, nCone, pszConeTypes, paiConebegcone, paiConecols);
  });
}

QXAPI int QXloadSETSData(QXmodel pModel, int nSETS, const char* pszSETStype, const int* paiCARDnum,
                         const int* paiSETSbegcol, const int* paiSETScols) {
  if (nSETS == 0) return 0;
  if (!pModel) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::loadSETSData(*pModel, nSETS, pszSETStype, paiCARDnum, paiSETSbegcol, paiSETScols);
  });
}

QXAPI int QXloadVarPriorities(QXmodel model, const int* priority) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::loadVarPriorities(*model, priority); });
}

QXAPI int QXreadVarPriorities(QXmodel model, const char* file) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::readVarPriorities(*model, file); });
}

QXAPI int QXloadVarStartPoint(QXmodel model, const double* x) {
  if (!model || !x) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::nlp::syncedEdit(*model, {}, [&] {
      torva::loadVarStartPoint(*model, x);
      return 0;
    });
  });
}

QXAPI int QXloadMIPVarStartPoint(QXmodel model, const double* x) {
  if (!model || !x) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    torva::loadMIPVarStartPoint(*model, x);
    return 0;
  });
}

QXAPI int QXloadVarStartPointPartial(QXmodel model, int count, const int* vars, const double* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (count > 0 && (!vars || !x)) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::loadVarStartPointPartial(*model, count, vars, x);
  });
}

QXAPI int QXloadMIPVarStartPointPartial(QXmodel model, int count, const int* vars, const int* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (count > 0 && (!vars || !x)) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::loadMIPVarStartPointPartial(*model, count, vars, x);
  });
}

QXAPI int QXgetVarStartPoint(QXmodel model, double* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  if (model->data.startX.empty() && model->data.n > 0) return QXERR_INFO_NOT_AVAILABLE;
  if (x) std::copy(model->data.startX.begin(), model->data.startX.end(), x);
  return 0;
}

QXAPI int QXgetMIPVarStartPoint(QXmodel model, double* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  if (model->data.mipStartX.empty() && model->data.n > 0) return QXERR_INFO_NOT_AVAILABLE;
  if (x) std::copy(model->data.mipStartX.begin(), model->data.mipStartX.end(), x);
  return 0;
}

QXAPI int QXgetVarStartPointPartial(QXmodel model, int* count, int* vars, double* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  const torva::ModelData& d = model->data;
  if (count) *count = static_cast<int>(d.startPartVars.size());
  if (vars) std::copy(d.startPartVars.begin(), d.startPartVars.end(), vars);
  if (x) std::copy(d.startPartX.begin(), d.startPartX.end(), x);
  return 0;
}

QXAPI int QXgetMIPVarStartPointPartial(QXmodel model, int* count, int* vars, int* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  const torva::ModelData& d = model->data;
  if (count) *count = static_cast<int>(d.mipStartPartVars.size());
  if (vars) std::copy(d.mipStartPartVars.begin(), d.mipStartPartVars.end(), vars);
  if (x) std::copy(d.mipStartPartX.begin(), d.mipStartPartX.end(), x);
  return 0;
}

QXAPI int QXloadBasis(QXmodel model, const int* colstatus, const int* rowstatus) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::loadBasis(*model, colstatus, rowstatus); });
}

}  // extern "C"
