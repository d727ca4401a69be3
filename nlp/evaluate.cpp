#include "nlp/evaluate.hpp"

#include <algorithm>

#include "nlp/load.hpp"
#include "torva.h"

namespace torva::nlp {

bool prepare(Model& model, EvalContext& ctx, bool allowMatrix) {
  ctx.model = &model;
  if (model.nlp && model.nlp->list) {
    NlpData& nd = *model.nlp;
    if (!nd.compiled) nd.compiled = std::make_shared<CompiledModel>(*nd.list, nd.strings);
    if (!nd.work) nd.work = std::make_shared<Workspace>();
    ctx.compiled = nd.compiled;
    ctx.work = nd.work;
  } else {
    if (!allowMatrix || model.data.empty()) return false;
    ctx.converted = listFromMatrix(model);
    static const std::vector<std::string> kNoStrings;
    ctx.compiled = std::make_shared<CompiledModel>(*ctx.converted, model.nlp ? model.nlp->strings : kNoStrings);
    ctx.work = std::make_shared<Workspace>();
  }
  ctx.work->fit(*ctx.compiled, ctx.nVars());
  return true;
}

DiffRule differenceRule(const QXmodelRec* model) noexcept {
  DiffRule r;
  if (model) {
    r.h = model->params.douValue(QX_DPARAM_NLP_PSTEP_FINITEDIFF);
    r.type = model->params.intValue(QX_IPARAM_NLP_DERIV_DIFFTYPE);
  }
  return r;
}

namespace {

GradMethod methodOf(const Model& model) {
  switch (model.params.intValue(QX_IPARAM_NLP_AUTODERIV)) {
    case 0: return GradMethod::Differences;
    case 1: return GradMethod::Forward;
    default: return GradMethod::Reverse;
  }
}

int recordFailure(EvalContext& ctx, int r, int rc) {
  ctx.model->instructErrorRow = r - 1;
  return rc;
}

// Finite-difference gradient of row r over its Jacobian variables, added
// into w.dense.
int differenceGradient(EvalContext& ctx, int r, const double* x, double fx) {
  const Model& model = *ctx.model;
  const double h = model.params.douValue(QX_DPARAM_NLP_PSTEP_FINITEDIFF);
  const int type = model.params.intValue(QX_IPARAM_NLP_DERIV_DIFFTYPE);
  Workspace& w = *ctx.work;
  std::vector<double> xp(x, x + ctx.nVars());
  const CompiledModel& cm = *ctx.compiled;
  auto valueAt = [&](double& out) {
    if (int rc = forwardRow(cm, r, xp.data(), Order::Value, w, ctx.model)) return rc;
    out = w.val[static_cast<std::size_t>(cm.row(r).root)];
    return 0;
  };
  for (int j : cm.row(r).jacVars) {
    const double xj = xp[static_cast<std::size_t>(j)];
    double up = fx, down = fx;
    if (type != QX_DERIV_BACKWARD_DIFFERENCE) {
      xp[static_cast<std::size_t>(j)] = xj + h;
      if (int rc = valueAt(up)) return rc;
    }
    if (type == QX_DERIV_BACKWARD_DIFFERENCE || type == QX_DERIV_CENTER_DIFFERENCE || type == QX_DERIV_FREE) {
      xp[static_cast<std::size_t>(j)] = xj - h;
      if (int rc = valueAt(down)) return rc;
    }
    xp[static_cast<std::size_t>(j)] = xj;
    const bool central = type == QX_DERIV_CENTER_DIFFERENCE || type == QX_DERIV_FREE;
    w.dense[static_cast<std::size_t>(j)] += (up - down) / (central ? 2 * h : h);
  }
  return 0;
}

// Gradient of row r at x into w.dense (after which the caller gathers and
// clears the row's entries); value and mark of the row.
int rowGradient(EvalContext& ctx, int r, const double* x, double& value, bool& mark) {
  const CompiledModel& cm = *ctx.compiled;
  Workspace& w = *ctx.work;
  const GradMethod method = methodOf(*ctx.model);
  const Order order = method == GradMethod::Differences ? Order::Value : Order::First;
  if (int rc = forwardRow(cm, r, x, order, w, ctx.model)) return rc;
  const int root = cm.row(r).root;
  value = w.val[static_cast<std::size_t>(root)];
  mark = w.mark[static_cast<std::size_t>(root)] != 0;
  switch (method) {
    case GradMethod::Reverse:
      reverseRow(cm, r, w);
      return 0;
    case GradMethod::Forward:
      tangentGradient(cm, r, w);
      return 0;
    default:
      return differenceGradient(ctx, r, x, value);
  }
}

void clearRow(const RowTape& row, Workspace& w) {
  for (int j : row.jacVars) w.dense[static_cast<std::size_t>(j)] = 0.0;
}

}  // namespace

int evaluateRow(EvalContext& ctx, int r, const double* x, double& value, double* grad, bool& mark) {
  const CompiledModel& cm = *ctx.compiled;
  Workspace& w = *ctx.work;
  if (!grad) {
    if (int rc = forwardRow(cm, r, x, Order::Value, w, ctx.model)) return recordFailure(ctx, r, rc);
    value = w.val[static_cast<std::size_t>(cm.row(r).root)];
    mark = w.mark[static_cast<std::size_t>(cm.row(r).root)] != 0;
    return 0;
  }
  const int rc = rowGradient(ctx, r, x, value, mark);
  std::fill(grad, grad + ctx.nVars(), 0.0);
  for (int j : cm.row(r).jacVars) grad[j] = w.dense[static_cast<std::size_t>(j)];
  clearRow(cm.row(r), w);
  return rc ? recordFailure(ctx, r, rc) : 0;
}

std::vector<double> defaultPoint(const EvalContext& ctx) {
  const InstructionList& l = ctx.compiled->list();
  if (!l.start.empty()) return l.start;
  std::vector<double> x(static_cast<std::size_t>(l.nVars), 0.0);
  for (std::size_t j = 0; j < x.size(); ++j) x[j] = std::clamp(0.0, l.lower[j], std::max(l.lower[j], l.upper[j]));
  return x;
}

int jacobian(EvalContext& ctx, const double* x, std::vector<int>& start, std::vector<int>& index,
             std::vector<double>* value) {
  const CompiledModel& cm = *ctx.compiled;
  Workspace& w = *ctx.work;
  start.assign(1, 0);
  index.clear();
  if (value) value->clear();
  for (int r = 0; r < cm.rows(); ++r) {
    const RowTape& row = cm.row(r);
    if (row.error) return recordFailure(ctx, r, row.error);
    index.insert(index.end(), row.jacVars.begin(), row.jacVars.end());
    start.push_back(static_cast<int>(index.size()));
    if (!value) continue;
    double fx;
    bool mark;
    const int rc = rowGradient(ctx, r, x, fx, mark);
    for (int j : row.jacVars) value->push_back(w.dense[static_cast<std::size_t>(j)]);
    clearRow(row, w);
    if (rc) return recordFailure(ctx, r, rc);
  }
  return 0;
}

int hessian(EvalContext& ctx, const double* x, std::vector<int>& start, std::vector<int>& index1,
            std::vector<int>& index2, std::vector<double>* value) {
  CompiledModel& cm = *ctx.compiled;
  Workspace& w = *ctx.work;
  cm.buildHessianPattern();
  start.assign(1, 0);
  index1.clear();
  index2.clear();
  if (value) value->clear();
  for (int r = 0; r < cm.rows(); ++r) {
    const RowTape& row = cm.row(r);
    if (row.error) return recordFailure(ctx, r, row.error);
    index1.insert(index1.end(), row.hessI.begin(), row.hessI.end());
    index2.insert(index2.end(), row.hessJ.begin(), row.hessJ.end());
    start.push_back(static_cast<int>(index1.size()));
    if (!value || row.hessI.empty()) continue;
    if (int rc = forwardRow(cm, r, x, Order::Second, w, ctx.model)) return recordFailure(ctx, r, rc);
    const std::size_t at = value->size();
    value->resize(at + row.hessI.size());
    hessianRow(cm, r, w, value->data() + at);
  }
  return 0;
}

}  // namespace torva::nlp
