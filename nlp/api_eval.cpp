// Exported functions of instruction-list evaluation.
#include <algorithm>

#include "base/api.hpp"
#include "nlp/evaluate.hpp"
#include "torva.h"

extern "C" {

QXAPI int QXexecuteInstruct(QXmodel model, int row, int mode, const double* x, double* value,
                            double* grad, int* domainError) {
  if (!model || !x || !value) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    torva::nlp::EvalContext ctx;
    if (!torva::nlp::prepare(*model, ctx, false)) return QXERR_INSTRUCT_NOT_LOADED;
    if (row < -1 || row >= ctx.compiled->list().nCons) return QXERR_INDEX_OUT_OF_RANGE;
    if (mode != QX_EVAL_VALUE && mode != QX_EVAL_GRADIENT) return QXERR_PARAMETER_OUT_OF_RANGE;
    model->instructErrorRow.reset();
    std::vector<double> g;
    if (mode == QX_EVAL_GRADIENT) g.resize(static_cast<std::size_t>(ctx.nVars()));
    bool mark = false;
    if (int rc = torva::nlp::evaluateRow(ctx, row + 1, x, *value, g.empty() ? nullptr : g.data(), mark))
      return rc;
    if (grad && !g.empty()) std::copy(g.begin(), g.end(), grad);
    if (domainError) *domainError = mark ? 1 : 0;
    return 0;
  });
}

QXAPI int QXgetJac(QXmodel model, int* nnz, int* objNnz, int* start, int* index, double* value,
                   const double* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (x && !value) return QXERR_ILLEGAL_NULL_POINTER;
  if (!x && !nnz && !objNnz && !start && !index && !value) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    torva::nlp::EvalContext ctx;
    if (!torva::nlp::prepare(*model, ctx, true)) return QXERR_MODEL_NOT_LOADED;
    model->instructErrorRow.reset();
    std::vector<double> point = x ? std::vector<double>(x, x + ctx.nVars()) : torva::nlp::defaultPoint(ctx);
    std::vector<int> s, idx;
    std::vector<double> vals;
    if (int rc = torva::nlp::jacobian(ctx, point.data(), s, idx, value ? &vals : nullptr)) return rc;
    if (nnz) *nnz = static_cast<int>(idx.size());
    if (objNnz) *objNnz = s[1];
    if (start) std::copy(s.begin(), s.end(), start);
    if (index) std::copy(idx.begin(), idx.end(), index);
    if (value) std::copy(vals.begin(), vals.end(), value);
    return 0;
  });
}

QXAPI int QXgetHess(QXmodel model, int* nnz, int* start, int* index1, int* index2, double* value,
                    const double* x) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  if (x && !value) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    if (model->data.empty() && !(model->nlp && model->nlp->list)) return QXERR_MODEL_NOT_LOADED;
    torva::nlp::EvalContext ctx;
    // A matrix model has second derivatives only through its quadratic terms.
    if (!torva::nlp::prepare(*model, ctx, !model->data.qc.empty())) return QXERR_INFO_NOT_AVAILABLE;
    model->instructErrorRow.reset();
    std::vector<double> point = x ? std::vector<double>(x, x + ctx.nVars()) : torva::nlp::defaultPoint(ctx);
    std::vector<int> s, i1, i2;
    std::vector<double> vals;
    if (int rc = torva::nlp::hessian(ctx, point.data(), s, i1, i2, value ? &vals : nullptr)) return rc;
    if (nnz) *nnz = static_cast<int>(i1.size());
    if (start) std::copy(s.begin(), s.end(), start);
    if (index1) std::copy(i1.begin(), i1.end(), index1);
    if (index2) std::copy(i2.begin(), i2.end(), index2);
    if (value) std::copy(vals.begin(), vals.end(), value);
    return 0;
  });
}

}  // extern "C"
