#include "nlp/stats.hpp"

#include <memory>
#include <vector>

#include "nlp/load.hpp"
#include "nlp/tape.hpp"
#include "torva.h"

namespace torva::nlp {
namespace {

// Whether argument i of node passes into its value linearly, given which
// nodes depend on variables (dep, indexed by node - first).
bool passesLinearly(const CompiledModel& cm, const Node& node, int i, const std::vector<char>& dep, int first) {
  const int* a = cm.args().data() + node.argBeg;
  auto depends = [&](int k) { return dep[static_cast<std::size_t>(a[k] - first)] != 0; };
  switch (node.op) {
    case EP_PLUS: case EP_MINUS: case EP_NEGATE: case EP_POSATE: case EP_PERCENT: case EP_RADIANS:
    case EP_DEGREES: case EP_SUM: case EP_AVG:
      return true;
    case EP_MULTIPLY: return !depends(1 - i);
    case EP_DIVIDE: return i == 0 && !depends(1);
    case EP_IF: return i > 0 && !depends(0);
    default: return false;
  }
}

// Appends to touched the variables entering row nonlinearly that are not
// marked yet in mark (and marks them). dep and ctx are work arrays.
void markRow(const CompiledModel& cm, const RowTape& row, std::vector<char>& mark, std::vector<int>& touched,
             std::vector<char>& dep, std::vector<char>& ctx) {
  if (row.error || row.root < 0) return;
  const auto& nodes = cm.nodes();
  const auto& args = cm.args();
  const int first = row.nodeBeg;
  auto at = [&](std::vector<char>& v, int node) -> char& { return v[static_cast<std::size_t>(node - first)]; };
  dep.assign(static_cast<std::size_t>(row.nodeEnd - first), 0);
  ctx.assign(dep.size(), 0);  // 0 not reached, 1 reached linearly, 2 reached nonlinearly
  for (int v = first; v < row.nodeEnd; ++v) {
    const Node& n = nodes[static_cast<std::size_t>(v)];
    char d = n.op == kNodeVar;
    for (int i = 0; i < n.nArgs && !d; ++i) d = at(dep, args[static_cast<std::size_t>(n.argBeg + i)]);
    at(dep, v) = d;
  }
  at(ctx, row.root) = 1;
  for (int v = row.nodeEnd; v-- > first;) {
    const Node& n = nodes[static_cast<std::size_t>(v)];
    const char reached = at(ctx, v);
    if (!reached || !at(dep, v)) continue;
    if (n.op == kNodeVar) {
      char& m = mark[static_cast<std::size_t>(n.aux)];
      if (reached == 2 && !m) {
        m = 1;
        touched.push_back(n.aux);
      }
      continue;
    }
    for (int i = 0; i < n.nArgs; ++i) {
      char& c = at(ctx, args[static_cast<std::size_t>(n.argBeg + i)]);
      const char reach = passesLinearly(cm, n, i, dep, first) ? reached : 2;
      if (reach > c) c = reach;
    }
  }
}

NonlinearCounts fromList(const Model& model) {
  NlpData& nd = *model.nlp;
  const InstructionList& list = *nd.list;
  if (!nd.compiled) nd.compiled = std::make_shared<CompiledModel>(list, nd.strings);
  const CompiledModel& cm = *nd.compiled;
  NonlinearCounts c;
  std::vector<char> anyRow(static_cast<std::size_t>(list.nVars), 0), inRow(anyRow.size(), 0), dep, ctx;
  std::vector<int> touched;
  for (int r = 0; r < cm.rows(); ++r) {
    touched.clear();
    markRow(cm, cm.row(r), inRow, touched, dep, ctx);
    const int k = static_cast<int>(touched.size());
    if (r == 0) c.objNonzeros = k;
    else c.nonzeros += k;
    if (r > 0 && list.info[static_cast<std::size_t>(r)].cls == kNonlinear) ++c.rows;
    for (int j : touched) {
      inRow[static_cast<std::size_t>(j)] = 0;
      anyRow[static_cast<std::size_t>(j)] = 1;
    }
  }
  for (char m : anyRow) c.vars += m;
  return c;
}

}  // namespace

int stocParamCount(const Model& model) noexcept {
  const InstructionList* l = instructionList(model);
  return l ? l->stocCount() : 0;
}

NonlinearCounts countNonlinear(const Model& model) {
  if (instructionList(model)) return fromList(model);
  NonlinearCounts c;
  if (!model.nlp) return c;
  const NlpData& nd = *model.nlp;
  std::vector<char> inObj(static_cast<std::size_t>(model.data.n), 0), rowSeen(static_cast<std::size_t>(model.data.m), 0);
  std::vector<char> used(inObj.size(), 0);
  for (int j : nd.nlpObjVars)
    if (j >= 0 && j < model.data.n) inObj[static_cast<std::size_t>(j)] = used[static_cast<std::size_t>(j)] = 1;
  for (std::size_t j = 0; j < nd.nlpRows.size() && j < used.size(); ++j)
    for (int i : nd.nlpRows[j]) {
      used[j] = 1;
      if (i < 0) {
        inObj[j] = 1;
      } else if (i < model.data.m) {
        ++c.nonzeros;
        if (!rowSeen[static_cast<std::size_t>(i)]) ++c.rows;
        rowSeen[static_cast<std::size_t>(i)] = 1;
      }
    }
  for (std::size_t j = 0; j < used.size(); ++j) {
    c.objNonzeros += inObj[j];
    c.vars += used[j];
  }
  return c;
}

}  // namespace torva::nlp
