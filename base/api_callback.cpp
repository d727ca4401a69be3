// Exported functions that install callbacks and answer callback information.
#include <cstddef>
#include <utility>
#include <vector>

#include "base/api.hpp"
#include "base/callback.hpp"
#include "base/model.hpp"

using torva::guarded;

namespace {

// Stores a host function with its user data; a null function also drops the
// user data, so that nothing stale stays behind.
template <class Fn>
int install(QXmodel model, Fn fn, void* userdata, Fn torva::Callbacks::*slot,
            void* torva::Callbacks::*data) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    model->callbacks.*slot = fn;
    model->callbacks.*data = fn ? userdata : nullptr;
    return 0;
  });
}

int installGradient(QXmodel model, QXgradcalcFunc cb, void* userdata, int count,
                    const int* rows, bool fullPartial) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] {
    torva::Callbacks& c = model->callbacks;
    std::vector<char> mark;
    const bool allRows = !cb || count < 0 || !rows;
    if (!allRows) {
      // Slot row + 1 for rows -1 (objective) .. m-1; other entries are ignored.
      const int m = model->data.m;
      mark.assign(static_cast<std::size_t>(m) + 1, 0);
      for (int k = 0; k < count; ++k) {
        const int row = rows[k];
        if (row >= -1 && row < m) mark[static_cast<std::size_t>(row + 1)] = 1;
      }
    }
    c.gradcalc = cb;
    c.gradcalcData = cb ? userdata : nullptr;
    c.gradFullPartial = cb && fullPartial;
    c.gradAllRows = allRows;
    c.gradRowMark = std::move(mark);
    return 0;
  });
}

}  // namespace

extern "C" {

QXAPI int QXsetCallback(QXmodel model, QXcallbackFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::progress, &torva::Callbacks::progressData);
}

QXAPI int QXsetMIPCallback(QXmodel model, QXMIPcallbackFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::mip, &torva::Callbacks::mipData);
}

QXAPI int QXsetMIPCallbackInsMIPSol(QXmodel model, QXMIPsolSupplierFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::mipSolSupplier,
                 &torva::Callbacks::mipSolSupplierData);
}

QXAPI int QXsetMIPCallbackInsMIPObj(QXmodel model, QXMIPobjSupplierFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::mipObjSupplier,
                 &torva::Callbacks::mipObjSupplierData);
}

QXAPI int QXsetGOPCallback(QXmodel model, QXGOPcallbackFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::gop, &torva::Callbacks::gopData);
}

QXAPI int QXsetFDECallback(QXmodel model, QXFDEcallbackFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::fde, &torva::Callbacks::fdeData);
}

QXAPI int QXsetUsercalc(QXmodel model, QXusercalcFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::usercalc, &torva::Callbacks::usercalcData);
}

QXAPI int QXsetFuncalc(QXmodel model, QXfuncalcFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::funcalc, &torva::Callbacks::funcalcData);
}

QXAPI int QXsetHessdccalc(QXmodel model, QXhessdccalcFunc cb, void* userdata) {
  return install(model, cb, userdata, &torva::Callbacks::hessdccalc,
                 &torva::Callbacks::hessdccalcData);
}

QXAPI int QXsetGradcalc(QXmodel model, QXgradcalcFunc cb, void* userdata, int count,
                        const int* rows) {
  return installGradient(model, cb, userdata, count, rows, false);
}

QXAPI int QXsetGradcalcFullPartial(QXmodel model, QXgradcalcFunc cb, void* userdata, int count,
                                   const int* rows) {
  return installGradient(model, cb, userdata, count, rows, true);
}

QXAPI int QXgetCallbackInfo(QXmodel model, int location, int item, void* result) {
  if (!model || !result) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::callbackInfo(*model, location, item, result); });
}

QXAPI int QXgetProgressInfo(QXmodel model, int location, int item, void* result) {
  if (!model || !result) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::callbackInfo(*model, location, item, result); });
}

QXAPI int QXgetMIPCallbackInfo(QXmodel model, int item, void* result) {
  if (!model || !result) return QXERR_ILLEGAL_NULL_POINTER;
  return guarded([&] { return torva::mipCallbackInfo(*model, item, result); });
}

}  // extern "C"
