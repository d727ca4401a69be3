// Exported functions of the integer solver.
#include "base/api.hpp"
#include "base/model.hpp"
#include "bnb/concurrent.hpp"
#include "bnb/driver.hpp"
#include "io/solution_report.hpp"

using torva::guarded;

extern "C" {

QXAPI int QXsolveMIP(QXmodel model, int* pnStatus) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::solveMIP(*model, pnStatus); });
}

QXAPI int QXsolveMIPSerial(QXmodel model, int* pnStatus) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::solveMIPSerial(*model, pnStatus); });
}

QXAPI int QXsolveMIPCC(QXmodel model, int* pnStatus) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::solveMIPCC(*model, pnStatus); });
}

QXAPI int QXsetMIPCCStrategy(QXmodel model, QXMIPCCstrategyFunc cb, int nThreadId, const char* szParamFile,
                             void* userdata) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::setMipCCStrategy(*model, cb, nThreadId, szParamFile, userdata); });
}

QXAPI int QXbnbSolve(QXmodel model, const char* pszFname) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    const int rc = torva::solveMIP(*model, nullptr);
    if (rc != 0) return rc;
    return torva::writeSolutionReportByStyle(*model, pszFname);
  });
}

QXAPI int QXgetBestBounds(QXmodel model, double* padBestL, double* padBestU) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (!padBestL && !padBestU) return 0;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
    return torva::bestBounds(*model, padBestL, padBestU);
  });
}

QXAPI int QXgetDualMIPsolution(QXmodel model, double* padPrimal, double* padDual, double* padRedcosts,
                               int* panCstatus, int* panRstatus) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    return torva::dualMipSolution(*model, padPrimal, padDual, padRedcosts, panCstatus, panRstatus);
  });
}

QXAPI int QXgetRoundMIPsolution(QXmodel model, const double* padPrimal, double* padPrimalRound,
                                double* pdObjRound, double* pdPfeasRound, int* pnStatus) {
  if (!model || !padPrimal) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
    return torva::roundMipSolution(*model, padPrimal, padPrimalRound, pdObjRound, pdPfeasRound, pnStatus);
  });
}

QXAPI int QXgetKBestMIPSols(QXmodel model, int nMaxSols, double* padPrimal, double* padObjs, int* pnSols) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
    return torva::kBestMipSolutions(*model, nMaxSols, padPrimal, padObjs, pnSols);
  });
}

QXAPI int QXsolveNextBestMIPsols(QXmodel model, int nMaxSols, int* pnSols) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
    return torva::solveNextBestMipSolutions(*model, nMaxSols, pnSols);
  });
}

QXAPI int QXgetNextBestMIPSol(QXmodel model, double* pdObj, double* padPrimal) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::nextBestMipSolution(*model, pdObj, padPrimal); });
}

QXAPI int QXPreAlgMIP(QXmodel model, int* pnStatus) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_MODEL_NOT_LOADED;
    return torva::preAlgMip(*model, pnStatus);
  });
}

}  // extern "C"
