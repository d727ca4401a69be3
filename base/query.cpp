// Queries of the model data and of its solutions (the exported QXget*
// functions). Queries never change the model.
#include <algorithm>
#include <cstring>

#include "base/api.hpp"
#include "base/model.hpp"

using torva::guarded;
using torva::ModelData;

namespace {

// Common preconditions: a model that holds data.
int checkLoaded(const QXmodelRec* model) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  return 0;
}

template <class T>
void copyOut(const std::vector<T>& from, T* to) {
  if (to) std::copy(from.begin(), from.end(), to);
}

void copyName(const torva::NamePool& pool, int i, char* out) {
  if (out) std::strcpy(out, pool.at(i));
}

// The continuous record, when its vectors may be read (not unloaded, model
// status not 13, primal status not 6).
const torva::LpSolution* readableLp(const QXmodelRec* model) {
  if (!model->lpSolution || model->status == QX_STATUS_UNLOADED) return nullptr;
  const torva::LpSolution& sol = *model->lpSolution;
  if (sol.modelStatus == torva::kStatusUnloaded) return nullptr;
  if (sol.primalStatus == torva::kStatusInfeasibleOrUnbounded) return nullptr;
  return &sol;
}

// Copies a vector of the continuous record that must hold at least count
// values; 2009 when the record or the vector is missing.
template <class T>
int lpVector(const QXmodelRec* model, std::vector<T> torva::LpSolution::*member, std::size_t count,
             T* out, bool wholeVector = false) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const torva::LpSolution* sol = readableLp(model);
  if (!sol) return QXERR_INFO_NOT_AVAILABLE;
  const std::vector<T>& v = sol->*member;
  if (v.size() < count || (v.empty() && count > 0)) return QXERR_INFO_NOT_AVAILABLE;
  if (out) std::copy(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(wholeVector ? v.size() : count), out);
  return 0;
}

bool mipReadable(const QXmodelRec* model) {
  if (!model->mipSolution) return false;
  const torva::MipSolution& sol = *model->mipSolution;
  if (sol.x.size() < static_cast<std::size_t>(model->data.n)) return false;
  const int st = sol.status;
  return st == torva::kStatusOptimal || st == torva::kStatusBasicOptimal ||
         st == torva::kStatusFeasible || st == torva::kStatusLocalOptimal;
}

template <class T>
int mipVector(const QXmodelRec* model, std::vector<T> torva::MipSolution::*member, std::size_t count,
              T* out) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (!mipReadable(model)) return QXERR_INFO_NOT_AVAILABLE;
  const std::vector<T>& v = (*model->mipSolution).*member;
  if (v.size() < count) return QXERR_INFO_NOT_AVAILABLE;
  if (out) std::copy(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(count), out);
  return 0;
}

// Name lookup of one kind: *index is -1 first; 2009 on an unloaded model
// (names loaded ahead of the data included) and without names.
int lookupName(const QXmodelRec* model, const torva::NamePool& pool, int (ModelData::*find)(std::string_view) const,
               const char* name, int* index, int notFound) {
  if (index) *index = -1;
  if (model->status == QX_STATUS_UNLOADED || !pool.present()) return QXERR_INFO_NOT_AVAILABLE;
  if (!name) return QXERR_ILLEGAL_NULL_POINTER;
  const int k = (model->data.*find)(name);
  if (k < 0) return notFound;
  if (index) *index = k;
  return 0;
}

// Outcomes a finished search proves: optimal, basic optimal, infeasible,
// unbounded, infeasible or unbounded.
bool provedMipStatus(int status) {
  return status == QX_STATUS_OPTIMAL || status == QX_STATUS_BASIC_OPTIMAL || status == QX_STATUS_INFEASIBLE ||
         status == QX_STATUS_UNBOUNDED || status == QX_STATUS_INFORUNB;
}
}  // namespace

extern "C" {

// ------------------------------------------------------------- model data

QXAPI int QXgetLPData(QXmodel pModel, int* pnObjSense, double* pdObjConst, double* padC,
                      double* padB, char* pszConTypes, int* paiAcols, int* panAcols,
                      double* padAcoef, int* paiArows, double* padL, double* padU) {
  if (int rc = checkLoaded(pModel)) return rc;
  const ModelData& d = pModel->data;
  if (pnObjSense) *pnObjSense = d.objSense;
  if (pdObjConst) *pdObjConst = d.objConst;
  copyOut(d.cost, padC);
  copyOut(d.rhs, padB);
  copyOut(d.conType, pszConTypes);
  copyOut(d.lower, padL);
  copyOut(d.upper, padU);
  if (panAcols) std::copy(d.colLen.begin(), d.colLen.end(), panAcols);
  int pos = 0;
  for (int j = 0; j < d.n; ++j) {
    if (paiAcols) paiAcols[j] = pos;
    const int b = d.colBeg[j], len = d.colLen[j];
    if (paiArows) std::copy(d.rowIdx.begin() + b, d.rowIdx.begin() + b + len, paiArows + pos);
    if (padAcoef) std::copy(d.value.begin() + b, d.value.begin() + b + len, padAcoef + pos);
    pos += len;
  }
  if (paiAcols) paiAcols[d.n] = pos;
  return 0;
}

QXAPI int QXgetLPVariableDataj(QXmodel model, int j, char* vartype, double* cost, double* lower,
                               double* upper, int* nnz, int* rows, double* values) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (j < 0 || j >= d.n) return QXERR_INDEX_OUT_OF_RANGE;
  if (vartype) *vartype = d.typeOf(j);
  if (cost) *cost = d.cost[j];
  if (lower) *lower = d.lower[j];
  if (upper) *upper = d.upper[j];
  const int b = d.colBeg[j], len = d.colLen[j];
  if (nnz) *nnz = len;
  if (rows) std::copy(d.rowIdx.begin() + b, d.rowIdx.begin() + b + len, rows);
  if (values) std::copy(d.value.begin() + b, d.value.begin() + b + len, values);
  return 0;
}

QXAPI int QXgetLPConstraintDatai(QXmodel model, int i, char* contype, double* rhs, int* nnz,
                                 int* cols, double* values) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (i < 0 || i >= d.m) return QXERR_INDEX_OUT_OF_RANGE;
  if (contype) *contype = d.conType[i];
  if (rhs) *rhs = d.rhs[i];
  // The row is gathered from the column-major store in column order.
  int count = 0;
  for (int j = 0; j < d.n; ++j) {
    for (int k = d.colBeg[j], e = d.colBeg[j] + d.colLen[j]; k < e; ++k) {
      if (d.rowIdx[k] != i) continue;
      if (cols) cols[count] = j;
      if (values) values[count] = d.value[k];
      ++count;
      break;
    }
  }
  if (nnz) *nnz = count;
  return 0;
}

QXAPI int QXgetLowerBoundj(QXmodel model, int j, double* lower) {
  if (int rc = checkLoaded(model)) return rc;
  if (j < 0 || j >= model->data.n) return QXERR_INDEX_OUT_OF_RANGE;
  if (lower) *lower = model->data.lower[j];
  return 0;
}

QXAPI int QXgetUpperBoundj(QXmodel model, int j, double* upper) {
  if (int rc = checkLoaded(model)) return rc;
  if (j < 0 || j >= model->data.n) return QXERR_INDEX_OUT_OF_RANGE;
  if (upper) *upper = model->data.upper[j];
  return 0;
}

QXAPI int QXgetConstraintDatai(QXmodel model, int i, char* contype, char* isnlp, double* rhs) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (i < 0 || i >= d.m) return QXERR_INDEX_OUT_OF_RANGE;
  if (contype) *contype = d.conType[i];
  // No instruction list is held, so no row has nonlinear terms.
  if (isnlp) *isnlp = 0;
  if (rhs) *rhs = d.rhs[i];
  return 0;
}

QXAPI int QXgetVarType(QXmodel model, char* vartype) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (!vartype) return 0;
  if (d.varType.empty())
    std::fill(vartype, vartype + d.n, 'C');
  else
    std::copy(d.varType.begin(), d.varType.end(), vartype);
  return 0;
}

QXAPI int QXgetSemiContData(QXmodel model, int* count, int* vars, double* lower, double* upper) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (count) *count = static_cast<int>(d.scVars.size());
  copyOut(d.scVars, vars);
  copyOut(d.scLower, lower);
  if (upper)
    for (std::size_t k = 0; k < d.scVars.size(); ++k) upper[k] = d.upper[d.scVars[k]];
  return 0;
}

QXAPI int QXgetSETSData(QXmodel model, int* nSETS, int* nTotal, char* pszSETStype, int* paiCARDnum,
                        int* paiSETSbegcol, int* paiSETScols) {
  if (int rc = checkLoaded(model)) return rc;
  const torva::ColumnGroups& g = model->data.sets;
  if (nSETS) *nSETS = g.count();
  if (nTotal) *nTotal = g.nnz();
  copyOut(g.type, pszSETStype);
  copyOut(g.card, paiCARDnum);
  if (paiSETSbegcol) {
    if (g.beg.empty()) paiSETSbegcol[0] = 0;
    else std::copy(g.beg.begin(), g.beg.end(), paiSETSbegcol);
  }
  copyOut(g.cols, paiSETScols);
  return 0;
}

QXAPI int QXgetSETSDatai(QXmodel model, int k, char* type, int* cardnum, int* nnz, int* cols) {
  if (int rc = checkLoaded(model)) return rc;
  const torva::ColumnGroups& g = model->data.sets;
  if (k < 0 || k >= g.count()) return QXERR_INDEX_OUT_OF_RANGE;
  if (type) *type = g.type[k];
  if (cardnum) *cardnum = g.card[k];
  if (nnz) *nnz = g.beg[k + 1] - g.beg[k];
  if (cols) std::copy(g.cols.begin() + g.beg[k], g.cols.begin() + g.beg[k + 1], cols);
  return 0;
}

QXAPI int QXgetQCData(QXmodel model, int* QCnonzeros, int* QCrowndx, int* QCcolndx1,
                      int* QCcolndx2, double* QCcoef) {
  if (int rc = checkLoaded(model)) return rc;
  const torva::QuadraticData& q = model->data.qc;
  if (QCnonzeros) *QCnonzeros = q.nnz();
  if (QCrowndx)
    for (std::size_t g = 0; g < q.rows.size(); ++g)
      std::fill(QCrowndx + q.beg[g], QCrowndx + q.beg[g + 1], q.rows[g]);
  copyOut(q.col1, QCcolndx1);
  copyOut(q.col2, QCcolndx2);
  copyOut(q.coef, QCcoef);
  return 0;
}

QXAPI int QXgetQCDatai(QXmodel model, int row, int* nnz, int* QCcolndx1, int* QCcolndx2,
                       double* QCcoef) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (row < -1 || row >= d.m) return QXERR_INDEX_OUT_OF_RANGE;
  const int g = d.qc.find(row);
  const int b = g < 0 ? 0 : d.qc.beg[g], e = g < 0 ? 0 : d.qc.beg[g + 1];
  if (nnz) *nnz = e - b;
  if (QCcolndx1) std::copy(d.qc.col1.begin() + b, d.qc.col1.begin() + e, QCcolndx1);
  if (QCcolndx2) std::copy(d.qc.col2.begin() + b, d.qc.col2.begin() + e, QCcolndx2);
  if (QCcoef) std::copy(d.qc.coef.begin() + b, d.qc.coef.begin() + e, QCcoef);
  return 0;
}

QXAPI int QXgetConeData(QXmodel model, int* nCone, char* pszConeTypes, int* paiConebegcone,
                        int* paiConecols) {
  if (int rc = checkLoaded(model)) return rc;
  const torva::ColumnGroups& g = model->data.cones;
  if (nCone) *nCone = g.count();
  copyOut(g.type, pszConeTypes);
  if (paiConebegcone) {
    if (g.beg.empty()) paiConebegcone[0] = 0;
    else std::copy(g.beg.begin(), g.beg.end(), paiConebegcone);
  }
  copyOut(g.cols, paiConecols);
  return 0;
}

QXAPI int QXgetConeDatai(QXmodel model, int k, char* type, int* nnz, int* cols) {
  if (int rc = checkLoaded(model)) return rc;
  const torva::ColumnGroups& g = model->data.cones;
  if (k < 0 || k >= g.count()) return QXERR_INDEX_OUT_OF_RANGE;
  if (type) *type = g.type[k];
  if (nnz) *nnz = g.beg[k + 1] - g.beg[k];
  if (cols) std::copy(g.cols.begin() + g.beg[k], g.cols.begin() + g.beg[k + 1], cols);
  return 0;
}

// ------------------------------------------------------------------ names

QXAPI int QXgetNameData(QXmodel model, char* title, char* objname, char* rhsname, char* rngname,
                        char* bndname, char** connames, char** varnames, char** conenames) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (title) std::strcpy(title, d.title.c_str());
  if (objname) std::strcpy(objname, d.objName.c_str());
  if (rhsname) std::strcpy(rhsname, d.rhsName.c_str());
  if (rngname) std::strcpy(rngname, d.rngName.c_str());
  if (bndname) std::strcpy(bndname, d.bndName.c_str());
  auto list = [](const torva::NamePool& pool, int count, char** out) {
    if (!out) return;
    for (int i = 0; i < count; ++i) {
      if (!out[i]) continue;
      if (pool.present() && i < pool.count()) std::strcpy(out[i], pool.at(i));
      else out[i][0] = '\0';
    }
  };
  list(d.conNames, d.m, connames);
  list(d.varNames, d.n, varnames);
  list(d.coneNames, d.cones.count(), conenames);
  return 0;
}

QXAPI int QXgetVariableNamej(QXmodel model, int j, char* name) {
  if (!model || model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  const ModelData& d = model->data;
  if (j < 0 || j >= d.n) return QXERR_INDEX_OUT_OF_RANGE;
  if (!d.varNames.present() || j >= d.varNames.count()) {
    if (name) name[0] = '\0';
    return QXERR_INFO_NOT_AVAILABLE;
  }
  copyName(d.varNames, j, name);
  return 0;
}

QXAPI int QXgetConstraintNamei(QXmodel model, int i, char* name) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (i < 0 || i >= d.m) return QXERR_INDEX_OUT_OF_RANGE;
  if (!d.conNames.present() || i >= d.conNames.count()) {
    if (name) name[0] = '\0';
    return QXERR_INFO_NOT_AVAILABLE;
  }
  copyName(d.conNames, i, name);
  return 0;
}

QXAPI int QXgetConeNamei(QXmodel model, int k, char* name) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (k < 0 || k >= d.cones.count()) return QXERR_INDEX_OUT_OF_RANGE;
  if (!d.coneNames.present() || k >= d.coneNames.count()) {
    if (name) name[0] = '\0';
    return QXERR_INFO_NOT_AVAILABLE;
  }
  copyName(d.coneNames, k, name);
  return 0;
}

QXAPI int QXgetVariableIndex(QXmodel model, const char* name, int* index) {
  if (!model) {
    if (index) *index = -1;
    return QXERR_INFO_NOT_AVAILABLE;
  }
  return guarded([&] {
    return lookupName(model, model->data.varNames, &ModelData::findVariable, name, index,
                      QXERR_COLUMN_TOKEN_NOT_FOUND);
  });
}

QXAPI int QXgetConstraintIndex(QXmodel model, const char* name, int* index) {
  if (!model) {
    if (index) *index = -1;
    return QXERR_ILLEGAL_NULL_POINTER;
  }
  return guarded([&] {
    return lookupName(model, model->data.conNames, &ModelData::findConstraint, name, index,
                      QXERR_ROW_TOKEN_NOT_FOUND);
  });
}

QXAPI int QXgetConeIndex(QXmodel model, const char* name, int* index) {
  if (!model) {
    if (index) *index = -1;
    return QXERR_ILLEGAL_NULL_POINTER;
  }
  return guarded([&] {
    return lookupName(model, model->data.coneNames, &ModelData::findCone, name, index,
                      QXERR_NAME_TOKEN_NOT_FOUND);
  });
}

QXAPI int QXgetDimensions(QXmodel model, int* nVars, int* nCons, int* nCones, int* nAnnz,
                          int* nQCnz, int* nConeNz, int* nNLPnz, int* nNLPobjNz, int* nVarNameLen,
                          int* nConNameLen, int* nConeNameLen) {
  if (int rc = checkLoaded(model)) return rc;
  const ModelData& d = model->data;
  if (nVars) *nVars = d.n;
  if (nCons) *nCons = d.m;
  if (nCones) *nCones = d.cones.count();
  if (nAnnz) *nAnnz = d.nnz;
  if (nQCnz) *nQCnz = d.qc.nnz();
  if (nConeNz) *nConeNz = d.cones.nnz();
  if (nNLPnz) *nNLPnz = 0;
  if (nNLPobjNz) *nNLPobjNz = 0;
  if (nVarNameLen) *nVarNameLen = static_cast<int>(d.varNames.charCount());
  if (nConNameLen) *nConNameLen = static_cast<int>(d.conNames.charCount());
  if (nConeNameLen) *nConeNameLen = static_cast<int>(d.coneNames.charCount());
  return 0;
}

// -------------------------------------------------------------- solutions

QXAPI int QXgetPrimalSolution(QXmodel model, double* x) {
  return lpVector(model, &torva::LpSolution::x, model ? model->data.n : 0, x);
}

QXAPI int QXgetDualSolution(QXmodel model, double* y) {
  // Rows an optimiser appended internally come after the model's m rows.
  return lpVector(model, &torva::LpSolution::y, model ? model->data.m : 0, y, true);
}

QXAPI int QXgetSlacks(QXmodel model, double* s) {
  return lpVector(model, &torva::LpSolution::s, model ? model->data.m : 0, s);
}

QXAPI int QXgetReducedCosts(QXmodel model, double* d) {
  return lpVector(model, &torva::LpSolution::d, model ? model->data.n : 0, d);
}

QXAPI int QXgetReducedCostsCone(QXmodel model, double* d) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (!readableLp(model)) return QXERR_INFO_NOT_AVAILABLE;
  if (model->data.cones.empty()) {
    if (d) std::fill(d, d + model->data.n, 0.0);
    return 0;
  }
  return lpVector(model, &torva::LpSolution::dCone, model->data.n, d);
}

QXAPI int QXgetObjective(QXmodel model, double* obj) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (model->status == QX_STATUS_UNLOADED || !model->lpSolution ||
      model->lpSolution->primalStatus == torva::kStatusInfeasibleOrUnbounded)
    return QXERR_INFO_NOT_AVAILABLE;
  if (obj) *obj = model->lpSolution->primalObj;
  return 0;
}

QXAPI int QXgetSolution(QXmodel model, int which, double* out) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const std::size_t m = static_cast<std::size_t>(model->data.m);
  const std::size_t n = static_cast<std::size_t>(model->data.n);
  using torva::LpSolution;
  switch (which) {
    case QX_SOLUTION_PRIMAL: return lpVector(model, &LpSolution::x, n, out);
    case QX_SOLUTION_DUAL: return lpVector(model, &LpSolution::y, m, out, true);
    case QX_SOLUTION_SLACKS: return lpVector(model, &LpSolution::s, m, out);
    case QX_SOLUTION_REDCOSTS: return lpVector(model, &LpSolution::d, n, out);
    case QX_SOLUTION_PRIMAL_2: return lpVector(model, &LpSolution::x2, n, out);
    case QX_SOLUTION_DUAL_2: return lpVector(model, &LpSolution::y2, m, out, true);
    case QX_SOLUTION_SLACKS_2: return lpVector(model, &LpSolution::s2, m, out);
    case QX_SOLUTION_REDCOSTS_2: return lpVector(model, &LpSolution::d2, n, out);
    default: return 0;
  }
}

QXAPI int QXgetBasis(QXmodel model, int* colstatus, int* rowstatus) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const torva::LpSolution* sol = readableLp(model);
  if (!sol || sol->colStatus.size() < static_cast<std::size_t>(model->data.n) ||
      sol->rowStatus.size() < static_cast<std::size_t>(model->data.m) ||
      (sol->colStatus.empty() && sol->rowStatus.empty()))
    return QXERR_INFO_NOT_AVAILABLE;
  copyOut(sol->colStatus, colstatus);
  copyOut(sol->rowStatus, rowstatus);
  return 0;
}

QXAPI int QXgetSolutionStatus(QXmodel model, int* status) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (!model->lpSolution || model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  if (status) *status = model->lpSolution->modelStatus;
  return 0;
}

QXAPI int QXgetMIPSolutionStatus(QXmodel model, int* status) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (!model->mipSolution || model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  const torva::MipSolution& sol = *model->mipSolution;
  // A run that found several integer solutions without proving anything
  // (stopped, or ended in trouble) reports them as feasible; a proved
  // outcome stands as recorded.
  const int st = sol.statusOverride != 0 ? sol.statusOverride
                 : !provedMipStatus(sol.status) && sol.solutionsFound >= 2 ? torva::kStatusFeasible
                                                                           : sol.status;
  if (status) *status = st;
  return 0;
}

QXAPI int QXgetMIPPrimalSolution(QXmodel model, double* x) {
  return mipVector(model, &torva::MipSolution::x, model ? model->data.n : 0, x);
}

QXAPI int QXgetMIPSolution(QXmodel model, double* obj, double* x) {
  if (int rc = mipVector(model, &torva::MipSolution::x, model ? model->data.n : 0, x)) return rc;
  if (obj) *obj = model->mipSolution->objective;
  return 0;
}

QXAPI int QXgetMIPDualSolution(QXmodel model, double* y) {
  return mipVector(model, &torva::MipSolution::y, model ? model->data.m : 0, y);
}

QXAPI int QXgetMIPReducedCosts(QXmodel model, double* d) {
  return mipVector(model, &torva::MipSolution::d, model ? model->data.n : 0, d);
}

QXAPI int QXgetMIPSlacks(QXmodel model, double* s) {
  return mipVector(model, &torva::MipSolution::s, model ? model->data.m : 0, s);
}

QXAPI int QXgetMIPBasis(QXmodel model, int* colstatus, int* rowstatus) {
  // Both parts are checked before either is written.
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const std::size_t n = static_cast<std::size_t>(model->data.n);
  const std::size_t m = static_cast<std::size_t>(model->data.m);
  if (int rc = mipVector<int>(model, &torva::MipSolution::colStatus, n, nullptr)) return rc;
  if (int rc = mipVector<int>(model, &torva::MipSolution::rowStatus, m, nullptr)) return rc;
  mipVector(model, &torva::MipSolution::colStatus, n, colstatus);
  return mipVector(model, &torva::MipSolution::rowStatus, m, rowstatus);
}

}  // extern "C"
