// Exported functions of the optimise driver, the explicit dual and the
// resident basis.
#include "base/api.hpp"
#include "base/model.hpp"
#include "io/mps_data.hpp"
#include "io/mps_model.hpp"
#include "io/mps_writer.hpp"
#include "simplex/driver.hpp"
#include "simplex/driver_work.hpp"
#include "simplex/dual_model.hpp"

using torva::guarded;

namespace {

int solveWithResidentBasis(QXmodel model, bool transposed, const int* ynnz, const int* yidx,
                           const double* yval, int* xnnz, int* xidx, double* xval) {
  if (!model || !ynnz || !xnnz || !xidx || !xval || (*ynnz > 0 && (!yidx || !yval)))
    return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
    // Every LP is solved by this library's own simplex (no external solver
    // is ever installed, whatever QX_IPARAM_SPLEX_USE_EXTERNAL says), so the
    // basis to solve with is always the resident one of that simplex.
    torva::driver::ResidentWork* rw = torva::driver::residentWork(*model);
    if (!rw || !rw->work.hasBasis()) return QXERR_INFO_NOT_AVAILABLE;
    for (int k = 0; k < *ynnz; ++k)
      if (yidx[k] < 0 || yidx[k] >= model->data.m) return QXERR_INDEX_OUT_OF_RANGE;
    return transposed ? rw->work.btran(*ynnz, yidx, yval, xnnz, xidx, xval)
                      : rw->work.ftran(*ynnz, yidx, yval, xnnz, xidx, xval);
  });
}

// Integer, semi-continuous or set data: such a model has no LP dual.
bool hasDiscreteData(const torva::Model& model) {
  return model.data.hasIntegers() || model.data.hasSemiCont() || model.data.hasSets();
}

}  // namespace

extern "C" {

QXAPI int QXoptimize(QXmodel model, int method, int* status) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  const int rc = guarded([&] { return torva::optimize(*model, method, status); });
  if (status && model->lpSolution && rc != 0) *status = model->lpSolution->modelStatus;
  return rc;
}

QXAPI int QXoptimizeQP(QXmodel model, int* status) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::optimizeQP(*model, status); });
}

QXAPI int QXgetDualModel(QXmodel model, QXmodel dualModel) {
  if (!model || !dualModel) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
    if (hasDiscreteData(*model)) return QXERR_NOT_SUPPORTED;
    const int rc = torva::buildDualModel(*model, *dualModel);
    if (rc && dualModel->status != QX_STATUS_UNLOADED && rc != QXERR_MODEL_ALREADY_LOADED) {
      // A failed build leaves the target as it was: empty.
      dualModel->data = torva::ModelData{};
      dualModel->status = QX_STATUS_UNLOADED;
    }
    return rc;
  });
}

QXAPI int QXwriteDualMPSFile(QXmodel model, const char* filename, int format, int objsense) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
    if (objsense != QX_MIN && objsense != QX_MAX) return QXERR_BAD_OBJECTIVE_SENSE;
    if (hasDiscreteData(*model)) return QXERR_NOT_SUPPORTED;
    // The temporary dual model is private to this call and released on
    // every path.
    auto dual = std::make_unique<torva::Model>(model->env);
    dual->params = model->params;
    if (int rc = torva::buildDualModel(*model, *dual)) return rc;
    if (objsense == QX_MIN) {
      // Written as the minimisation of the negated dual objective.
      for (double& c : dual->data.cost) c = -c;
      dual->data.objConst = -dual->data.objConst;
      dual->data.objSense = QX_MIN;
    }
    torva::MpsData data;
    if (int rc = torva::collectMpsData(*dual, data)) return rc;
    torva::MpsWriteOptions options;
    options.fixed = format != 0;
    options.objWriteStyle = dual->params.intValue(QX_IPARAM_MPS_OBJ_WRITESTYLE);
    return torva::writeMpsFile(data, options, filename);
  });
}

QXAPI int QXdoFTRAN(QXmodel model, const int* ynnz, const int* yidx, const double* yval, int* xnnz,
                    int* xidx, double* xval) {
  return solveWithResidentBasis(model, false, ynnz, yidx, yval, xnnz, xidx, xval);
}

QXAPI int QXdoBTRAN(QXmodel model, const int* ynnz, const int* yidx, const double* yval, int* xnnz,
                    int* xidx, double* xval) {
  return solveWithResidentBasis(model, true, ynnz, yidx, yval, xnnz, xidx, xval);
}

}  // extern "C"
