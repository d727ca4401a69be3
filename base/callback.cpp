#include "base/callback.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/model.hpp"

namespace torva {

namespace {

// Information items (numbers of the model and solution queries) that the
// callback information queries answer.
constexpr int kItemPobj = QX_DINFO_POBJ;  // first of the continuous-solve items
constexpr int kItemModelStatus = QX_IINFO_MODEL_STATUS;  // last of them
constexpr int kItemBarIter = QX_IINFO_BAR_ITER;  // barrier, simplex, nonlinear iterations
constexpr int kItemNlpIter = QX_IINFO_NLP_ITER;
constexpr int kItemPinfeas = QX_DINFO_PINFEAS;
constexpr int kItemMipFirst = QX_IINFO_MIP_STATUS;  // MIP status .. total cuts
constexpr int kItemMipLast = QX_IINFO_MIP_NUM_TOTAL_CUTS;
constexpr int kItemMipLastBranchFirst = 11350;  // status and objective at the last branch
constexpr int kItemMipLastBranchLast = 11351;
constexpr int kItemMipExtraFirst = 11362;
constexpr int kItemMipExtraLast = 11364;
constexpr int kItemGopFirst = 11600;
constexpr int kItemGopLast = 11629;
constexpr int kItemCurFirst = 11700;      // the solve in progress, meant for callbacks
constexpr int kItemCurObj = QX_DINFO_CUR_OBJ;
constexpr int kItemCurIter = QX_IINFO_CUR_ITER;
constexpr int kItemCurLast = 11711;
constexpr int kItemGenFirst = 11800;      // instruction-list generation
constexpr int kItemGenLast = 11804;
constexpr int kItemIisFirst = 11850;      // infeasible / unbounded set analysis
constexpr int kItemIisLast = 11860;
constexpr int kItemIusFirst = 11875;
constexpr int kItemIusLast = 11885;
constexpr int kItemStocFirst = 11900;
constexpr int kItemStocLast = 11905;

constexpr int kLocationMax = QXLOC_BNP;

bool in(int item, int first, int last) { return item >= first && item <= last; }

bool continuousItem(int item) {
  return in(item, kItemPobj, kItemModelStatus) || in(item, kItemBarIter, kItemNlpIter);
}

bool mipItem(int item) {
  return in(item, kItemMipFirst, kItemMipLast) ||
         in(item, kItemMipLastBranchFirst, kItemMipLastBranchLast) ||
         in(item, kItemMipExtraFirst, kItemMipExtraLast);
}

// Whether a progress callback at location can be asked for item.
bool locationAnswers(int location, int item) {
  if (location < 0 || location > kLocationMax) return false;
  if (in(item, kItemCurFirst, kItemCurLast)) return true;
  switch (location) {
    case QXLOC_MIP:
      return continuousItem(item) || mipItem(item);
    case QXLOC_GOP:
      return continuousItem(item) || in(item, kItemGopFirst, kItemGopLast);
    case QXLOC_INSTRUCT_LOAD:
    case QXLOC_INSTRUCT_PREP:
    case QXLOC_FUNC_EVAL:
      return in(item, kItemGenFirst, kItemGenLast);
    case QXLOC_IIS:
      return in(item, kItemIisFirst, kItemIisLast) || in(item, kItemIusFirst, kItemIusLast);
    case 3:
    case 7:  // codes no solver uses
      return false;
    default:
      if (location >= QXLOC_STOC_FIRST && location <= QXLOC_STOC_LAST)
        return in(item, kItemStocFirst, kItemStocLast) || continuousItem(item);
      // LP, nonlinear, presolve, end-of-solve report, multistart, decomposition.
      return continuousItem(item);
  }
}

// Seconds between two progress callbacks; negative disables unforced calls.
double callbackFrequency(const QXmodelRec& model) {
  return model.params.douValue(QX_DPARAM_CALLBACKFREQ);
}

template <class Fn>
int callHost(QXmodelRec& model, Fn&& fn) {
  HostCallScope marker(model.callbacks);
  return fn();
}

}  // namespace

SolveScope::SolveScope(QXmodelRec& model, int location, const ProgressSource* source,
                       MipRun* mipRun) noexcept
    : callbacks_(model.callbacks),
      savedSource_(callbacks_.source),
      savedMipRun_(callbacks_.mipRun),
      savedLocation_(callbacks_.runLocation),
      savedReport_(callbacks_.lastReport),
      savedHasReport_(callbacks_.hasReport) {
  callbacks_.source = source;
  // The integer solver stays visible to nested solvers on the same model.
  if (mipRun) callbacks_.mipRun = mipRun;
  callbacks_.runLocation = location;
  callbacks_.hasReport = false;
}

SolveScope::~SolveScope() {
  callbacks_.source = savedSource_;
  callbacks_.mipRun = savedMipRun_;
  callbacks_.runLocation = savedLocation_;
  callbacks_.lastReport = savedReport_;
  callbacks_.hasReport = savedHasReport_;
}

int reportProgress(QXmodelRec& model, const ProgressReport& report) {
  return reportProgress(model, report, CallbackClock::now());
}

int reportProgress(QXmodelRec& model, const ProgressReport& report,
                   CallbackClock::time_point now) {
  Callbacks& cb = model.callbacks;
  cb.lastReport = report;
  cb.hasReport = true;

  MipRun* mip = cb.mipRun;
  const bool objSupplier = cb.mipObjSupplier && mip;
  const bool solSupplier = cb.mipSolSupplier && mip;
  if (!cb.progress && !objSupplier && !solSupplier) return 0;

  const double frequency = callbackFrequency(model);
  if (!report.force) {
    if (frequency < 0) return 0;
    if (cb.hasLastCall) {
      const std::chrono::duration<double> since = now - cb.lastCall;
      if (since.count() < frequency) return 0;
    }
  }
  cb.lastCall = now;
  cb.hasLastCall = true;

  if (cb.progress && !(report.location == QXLOC_END_REPORT && cb.keepAppendedRows)) {
    const int rc = callHost(model, [&] { return cb.progress(&model, report.location, cb.progressData); });
    if (rc != 0) return rc > 0 ? -rc : rc;
  }

  if (objSupplier) {
    double objective = mip->incumbentObjective();
    double bound = mip->bestBound();
    const double current = objective;
    const int rc = callHost(model, [&] {
      return cb.mipObjSupplier(&model, cb.mipObjSupplierData, &objective, &bound);
    });
    const double sense = model.data.objSense;  // QX_MIN 1, QX_MAX -1
    if (rc != 0 && !std::isnan(objective) && sense * objective < sense * current)
      mip->adoptSuppliedObjective(objective, bound);
  }

  if (solSupplier) {
    const int n = mip->numVars();
    if (n >= 0) {
      std::vector<double> x(static_cast<std::size_t>(n), 0.0);
      double objective = mip->incumbentObjective();
      const int rc = callHost(model, [&] {
        return cb.mipSolSupplier(&model, cb.mipSolSupplierData, &objective, x.data());
      });
      if (rc != 0) mip->offerSolution(x, objective);
    }
  }
  return 0;
}

int callMipCallback(QXmodelRec& model, double objective, std::span<const double> x) {
  Callbacks& cb = model.callbacks;
  if (!cb.mip) return 0;
  return callHost(model, [&] { return cb.mip(&model, cb.mipData, objective, x.data()); });
}

int callGopCallback(QXmodelRec& model, double objective, std::span<const double> x) {
  Callbacks& cb = model.callbacks;
  if (!cb.gop) return 0;
  return callHost(model, [&] { return cb.gop(&model, cb.gopData, objective, x.data()); });
}

int callFdeCallback(QXmodelRec& model, int location) {
  Callbacks& cb = model.callbacks;
  if (!cb.fde) return 0;
  return callHost(model, [&] { return cb.fde(&model, location, cb.fdeData); });
}

bool hasHostFunction(const QXmodelRec& model) noexcept { return model.callbacks.funcalc != nullptr; }

int evalRowByHost(QXmodelRec& model, int row, const double* x, double* value) {
  Callbacks& cb = model.callbacks;
  if (!cb.funcalc) return QXERR_USER_FUNCTION_NOT_SET;
  return callHost(model, [&] { return cb.funcalc(&model, cb.funcalcData, row, x, value); });
}

bool hostGradientForRow(const QXmodelRec& model, int row) noexcept {
  const Callbacks& cb = model.callbacks;
  if (!cb.gradcalc) return false;
  if (cb.gradAllRows) return true;
  const std::size_t slot = static_cast<std::size_t>(row + 1);
  return row >= -1 && slot < cb.gradRowMark.size() && cb.gradRowMark[slot] != 0;
}

int gradientByHost(QXmodelRec& model, int row, const double* x, std::span<double> grad) {
  Callbacks& cb = model.callbacks;
  if (!cb.gradcalc) return QXERR_USER_FUNCTION_NOT_SET;
  std::fill(grad.begin(), grad.end(), 0.0);
  if (!cb.gradFullPartial) {
    int nnz = -1;
    return callHost(model, [&] {
      return cb.gradcalc(&model, cb.gradcalcData, row, x, &nnz, nullptr, grad.data());
    });
  }
  // The host may answer with a partial gradient: collect it apart and scatter.
  std::vector<int> index(grad.size());
  std::vector<double> value(grad.size());
  int nnz = -1;
  const int rc = callHost(model, [&] {
    return cb.gradcalc(&model, cb.gradcalcData, row, x, &nnz, index.data(), value.data());
  });
  if (rc != 0) return rc;
  if (nnz < 0) {
    std::copy(value.begin(), value.end(), grad.begin());
    return 0;
  }
  if (static_cast<std::size_t>(nnz) > grad.size()) return QXERR_INDEX_OUT_OF_RANGE;
  for (int k = 0; k < nnz; ++k) {
    const int j = index[static_cast<std::size_t>(k)];
    if (j < 0 || static_cast<std::size_t>(j) >= grad.size()) return QXERR_INDEX_OUT_OF_RANGE;
    grad[static_cast<std::size_t>(j)] += value[static_cast<std::size_t>(k)];
  }
  return 0;
}

int hessianByHost(QXmodelRec& model, int row, const double* x, int* nnz, int* rowidx,
                  int* colidx, double* values) {
  Callbacks& cb = model.callbacks;
  if (!cb.hessdccalc) return QXERR_USER_FUNCTION_NOT_SET;
  return callHost(model, [&] {
    return cb.hessdccalc(&model, cb.hessdccalcData, row, x, nnz, rowidx, colidx, values);
  });
}

int userFunctionByHost(QXmodelRec& model, std::span<const double> args, double* result) {
  Callbacks& cb = model.callbacks;
  if (!cb.usercalc) return QXERR_USER_FUNCTION_NOT_SET;
  return callHost(model, [&] {
    return cb.usercalc(&model, static_cast<int>(args.size()), args.data(), cb.usercalcData, result);
  });
}

int callbackInfo(const QXmodelRec& model, int location, int item, void* result) {
  if (!locationAnswers(location, item)) return QXERR_INFO_NOT_AVAILABLE;
  const Callbacks& cb = model.callbacks;
  if (!cb.source && !cb.mipRun && !cb.hasReport) return QXERR_INFO_NOT_AVAILABLE;
  if (cb.hasReport && item == kItemCurObj) {
    *static_cast<double*>(result) = cb.lastReport.objective;
    return 0;
  }
  if (cb.hasReport && item == kItemCurIter) {
    *static_cast<int*>(result) = static_cast<int>(
        std::min(cb.lastReport.iterations, static_cast<double>(2147483647)));
    return 0;
  }
  if (cb.source) {
    const int rc = cb.source->progressInfo(item, result);
    if (rc != QXERR_INFO_NOT_AVAILABLE) return rc;
  }
  if (cb.mipRun && mipItem(item)) return cb.mipRun->mipInfo(item, result);
  return QXERR_INFO_NOT_AVAILABLE;
}

int mipCallbackInfo(const QXmodelRec& model, int item, void* result) {
  const bool answered = item == kItemPinfeas || mipItem(item);
  if (!answered) return QXERR_INFO_NOT_AVAILABLE;
  const MipRun* mip = model.callbacks.mipRun;
  if (!mip) return QXERR_INFO_NOT_AVAILABLE;
  return mip->mipInfo(item, result);
}

}  // namespace torva
