#include "nlp/sync.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

#include "nlp/load.hpp"
#include "nlp/opcodes.hpp"
#include "torva.h"

namespace torva::nlp {
namespace {

struct QuadTerm {
  int i, j;
  double q;
};

// The core's part of one list row.
struct RowTerms {
  std::vector<std::pair<int, double>> lin;
  std::vector<QuadTerm> quad;
  double constant = 0.0;
};

// Row-wise view of the core: entry 0 the objective, entry i+1 constraint i.
std::vector<RowTerms> coreTerms(const ModelData& d) {
  std::vector<RowTerms> t(static_cast<std::size_t>(d.m) + 1);
  for (int j = 0; j < d.n; ++j) {
    if (d.cost[static_cast<std::size_t>(j)] != 0.0) t[0].lin.emplace_back(j, d.cost[static_cast<std::size_t>(j)]);
    for (int p = d.colBeg[static_cast<std::size_t>(j)], e = p + d.colLen[static_cast<std::size_t>(j)]; p < e; ++p)
      t[static_cast<std::size_t>(d.rowIdx[static_cast<std::size_t>(p)]) + 1].lin.emplace_back(
          j, d.value[static_cast<std::size_t>(p)]);
  }
  t[0].constant = d.objConst;
  for (int i = 0; i < d.m; ++i) t[static_cast<std::size_t>(i) + 1].constant = -d.rhs[static_cast<std::size_t>(i)];
  const QuadraticData& q = d.qc;
  for (std::size_t g = 0; g < q.rows.size(); ++g) {
    RowTerms& r = t[static_cast<std::size_t>(q.rows[g]) + 1];
    for (int p = q.beg[g]; p < q.beg[g + 1]; ++p)
      r.quad.push_back({q.col1[static_cast<std::size_t>(p)], q.col2[static_cast<std::size_t>(p)],
                        q.coef[static_cast<std::size_t>(p)]});
  }
  return t;
}

bool emptyTerms(const RowTerms& t) { return t.lin.empty() && t.quad.empty() && t.constant == 0.0; }

// Appends the tail of a row to code (numbers to numbers). A row without
// base code starts with its first term; a row without anything is 0.
void emitTail(std::vector<int>& code, std::vector<double>& numbers, const RowTerms& t, bool hasBase) {
  bool first = !hasBase;
  auto num = [&](double v) {
    code.insert(code.end(), {EP_PUSH_NUM, static_cast<int>(numbers.size())});
    numbers.push_back(v);
  };
  auto joined = [&] {
    if (!first) code.push_back(EP_PLUS);
    first = false;
  };
  for (const auto& [j, v] : t.lin) {
    if (v == 0.0) continue;
    num(v);
    code.insert(code.end(), {EP_PUSH_VAR, j, EP_MULTIPLY});
    joined();
  }
  for (const QuadTerm& q : t.quad) {
    if (q.q == 0.0) continue;
    if (q.i == q.j) {
      num(0.5 * q.q);
      code.insert(code.end(), {EP_PUSH_VAR, q.i, EP_SQR, EP_MULTIPLY});
    } else {
      num(q.q);
      code.insert(code.end(), {EP_PUSH_VAR, q.i, EP_PUSH_VAR, q.j, EP_MULTIPLY, EP_MULTIPLY});
    }
    joined();
  }
  if (first) {
    num(t.constant);
  } else if (t.constant != 0.0) {
    num(std::fabs(t.constant));
    code.push_back(t.constant > 0 ? EP_PLUS : EP_MINUS);
  }
}

// Words of the instruction at code[pos] (0 when it is not an instruction).
int instructionWords(const std::vector<int>& code, std::size_t pos, std::size_t end) {
  const int op = code[pos];
  auto at = [&](std::size_t k) { return pos + k < end ? code[pos + k] : 0; };
  switch (opInfo(op).kind) {
    case OpKind::Invalid: return 0;
    case OpKind::NoOp: case OpKind::Constant: case OpKind::Fixed: return 1;
    case OpKind::Push: case OpKind::Counted: case OpKind::CountedMin1: case OpKind::SumIf:
    case OpKind::UserCode: return 2;
    case OpKind::SumProd: case OpKind::VLookup: return 3;
    case OpKind::VectorPush: return 2 + std::max(0, at(1));
    case OpKind::Lsq: return 3 + at(1) + (at(1) + 1) * at(2);
    case OpKind::Posd: return 3 + 3 * at(2);
    case OpKind::SetBlock: return 3 + at(2);
  }
  return 0;
}

// Renumbers the variables of every base segment by map (-1: deleted). A
// deleted variable becomes the number zero (EP_PUSH_NUM) or an absent cell
// (EP_VPUSH_VAR), as a deleted column of a matrix contributes nothing.
void remapBaseVars(InstructionList& list, const std::vector<int>& map) {
  int zero = -1;
  for (int r = 0; r < list.rows(); ++r) {
    const std::size_t end = static_cast<std::size_t>(list.beg[static_cast<std::size_t>(r)]) +
                            static_cast<std::size_t>(list.baseOf(r));
    for (std::size_t pos = static_cast<std::size_t>(list.beg[static_cast<std::size_t>(r)]); pos < end;) {
      const int op = list.code[pos];
      const int words = instructionWords(list.code, pos, end);
      if (words <= 0) break;
      if (op == EP_PUSH_VAR || op == EP_VPUSH_VAR) {
        const std::size_t first = op == EP_PUSH_VAR ? pos + 1 : pos + 2;
        for (std::size_t k = first; k < pos + static_cast<std::size_t>(words) && k < end; ++k) {
          const int j = list.code[k];
          if (j < 0 || static_cast<std::size_t>(j) >= map.size()) continue;  // absent cell
          if (map[static_cast<std::size_t>(j)] >= 0) {
            list.code[k] = map[static_cast<std::size_t>(j)];
          } else if (op == EP_VPUSH_VAR) {
            list.code[k] = EP_VPUSH_VAR_ABSENT;
          } else {
            if (zero < 0) {
              list.numbers.resize(static_cast<std::size_t>(list.baseNumberCount()));
              zero = static_cast<int>(list.numbers.size());
              list.numbers.push_back(0.0);
              list.baseNumbers = zero + 1;
            }
            list.code[pos] = EP_PUSH_NUM;
            list.code[k] = zero;
          }
        }
      }
      pos += static_cast<std::size_t>(words);
    }
  }
}

void fillBaseLen(InstructionList& list) {
  if (!list.baseLen.empty()) return;
  list.baseLen = list.len;
  list.baseNumbers = static_cast<int>(list.numbers.size());
}

void dropRows(InstructionList& list, const CoreDeletion& del) {
  std::vector<char> keep(static_cast<std::size_t>(list.nCons), 1);
  for (int k = 0; k < del.count; ++k) keep[static_cast<std::size_t>(del.rows[k])] = 0;
  fillBaseLen(list);
  std::size_t out = 1;  // the objective stays
  for (std::size_t i = 0; i < keep.size(); ++i) {
    if (!keep[i]) continue;
    list.beg[out] = list.beg[i + 1];
    list.len[out] = list.len[i + 1];
    list.baseLen[out] = list.baseLen[i + 1];
    list.property[out] = list.property[i + 1];
    ++out;
  }
  list.beg.resize(out);
  list.len.resize(out);
  list.baseLen.resize(out);
  list.property.resize(out);
  list.nCons = static_cast<int>(out) - 1;
}

void dropVars(InstructionList& list, const CoreDeletion& del) {
  std::vector<int> map(static_cast<std::size_t>(list.nVars), 0);
  for (int k = 0; k < del.count; ++k) map[static_cast<std::size_t>(del.vars[k])] = -1;
  int next = 0;
  for (int& m : map) m = m < 0 ? -1 : next++;
  fillBaseLen(list);
  remapBaseVars(list, map);
  if (!list.varIndex.empty()) {
    std::size_t out = 0;
    for (std::size_t j = 0; j < map.size(); ++j)
      if (map[j] >= 0) list.varIndex[out++] = list.varIndex[j];
    list.varIndex.resize(out);
  }
  list.nVars = next;
}

// The nonlinear structure (QXaddNLPAj, QXaddNLPobj) after a deletion:
// deleted columns and rows drop out, the others are renumbered.
void remapStructure(NlpData& nd, const CoreDeletion& del, int oldCount) {
  std::vector<int> map(static_cast<std::size_t>(oldCount), 0);
  for (int k = 0; k < del.count; ++k) map[static_cast<std::size_t>(del.rows ? del.rows[k] : del.vars[k])] = -1;
  int next = 0;
  for (int& m : map) m = m < 0 ? -1 : next++;
  auto mapped = [&](int i) { return i >= 0 && i < oldCount ? map[static_cast<std::size_t>(i)] : -1; };
  if (del.vars) {
    std::size_t out = 0;
    for (std::size_t j = 0; j < nd.nlpRows.size(); ++j) {
      if (mapped(static_cast<int>(j)) < 0) continue;
      if (out != j) {
        nd.nlpRows[out] = std::move(nd.nlpRows[j]);
        nd.nlpValues[out] = std::move(nd.nlpValues[j]);
      }
      ++out;
    }
    nd.nlpRows.resize(std::min(out, nd.nlpRows.size()));
    nd.nlpValues.resize(nd.nlpRows.size());
    std::size_t o = 0;
    for (std::size_t k = 0; k < nd.nlpObjVars.size(); ++k) {
      const int j = mapped(nd.nlpObjVars[k]);
      if (j < 0) continue;
      nd.nlpObjVars[o] = j;
      nd.nlpObjValues[o++] = nd.nlpObjValues[k];
    }
    nd.nlpObjVars.resize(o);
    nd.nlpObjValues.resize(o);
    return;
  }
  for (std::size_t j = 0; j < nd.nlpRows.size(); ++j) {
    std::vector<int>& rows = nd.nlpRows[j];
    std::vector<double>& vals = nd.nlpValues[j];
    std::size_t o = 0;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      const int i = rows[k] < 0 ? -1 : mapped(rows[k]);  // the objective (-1) stays
      if (rows[k] >= 0 && i < 0) continue;
      rows[o] = i;
      vals[o++] = vals[k];
    }
    rows.resize(o);
    vals.resize(o);
  }
}

}  // namespace

int syncFromCore(const Model& model, InstructionList& list) {
  const ModelData& d = model.data;
  fillBaseLen(list);
  // Rows and variables the core gained: empty bases.
  for (int i = list.nCons; i < d.m; ++i) {
    list.beg.push_back(0);
    list.len.push_back(0);
    list.baseLen.push_back(0);
    list.property.push_back(QX_CONPROP_UNKNOWN);
  }
  list.nCons = d.m;
  list.nVars = d.n;
  if (!list.varIndex.empty()) list.varIndex.resize(static_cast<std::size_t>(d.n), 0);
  list.objSense = d.objSense;
  list.conType = d.conType;
  list.lower = d.lower;
  list.upper = d.upper;
  list.varType.resize(static_cast<std::size_t>(d.n));
  for (int j = 0; j < d.n; ++j) list.varType[static_cast<std::size_t>(j)] = d.typeOf(j);
  list.start = d.startX;

  const std::vector<RowTerms> terms = coreTerms(d);
  std::vector<int> code;
  code.reserve(list.code.size());
  list.numbers.resize(static_cast<std::size_t>(list.baseNumberCount()));
  bool anyTail = false;
  for (int r = 0; r < list.rows(); ++r) {
    const std::size_t ur = static_cast<std::size_t>(r);
    const int base = list.baseLen[ur];
    const int oldBeg = list.beg[ur];
    list.beg[ur] = static_cast<int>(code.size());
    code.insert(code.end(), list.code.begin() + oldBeg, list.code.begin() + oldBeg + base);
    if (base == 0 || !emptyTerms(terms[ur])) {
      emitTail(code, list.numbers, terms[ur], base > 0);
      anyTail = true;
    }
    list.len[ur] = static_cast<int>(code.size()) - list.beg[ur];
  }
  list.code = std::move(code);
  if (!anyTail) {  // every row is its base again
    list.baseLen.clear();
    list.baseNumbers = -1;
  }
  list.info.assign(static_cast<std::size_t>(list.rows()), SegmentInfo{});
  for (int r = 0; r < list.rows(); ++r)
    if (validateSegment(list.code, list.beg[static_cast<std::size_t>(r)], list.len[static_cast<std::size_t>(r)],
                        list.nVars, static_cast<int>(list.numbers.size()), 0, list.info[static_cast<std::size_t>(r)]))
      return QXERR_INSTRUCT_SYNTAX;
  return 0;
}

int syncedEdit(Model& model, const CoreDeletion& deleted, const std::function<int()>& edit) {
  const int before = deleted.rows ? model.data.m : model.data.n;
  const int rc = edit();
  if (model.nlp && rc == 0 && deleted.count > 0) remapStructure(*model.nlp, deleted, before);
  InstructionList* list = model.nlp ? model.nlp->list.get() : nullptr;
  if (!list) return rc;
  if (rc == 0 && deleted.count > 0) {
    if (deleted.rows) dropRows(*list, deleted);
    if (deleted.vars) dropVars(*list, deleted);
  }
  const int s = syncFromCore(model, *list);
  markLinearity(model, *list);
  model.nlp->invalidate();
  return rc ? rc : s;
}

void foldIntoBase(Model& model, InstructionList& list) {
  list.baseLen.clear();
  list.baseNumbers = -1;
  ModelData& d = model.data;
  std::fill(d.colLen.begin(), d.colLen.end(), 0);
  d.nnz = 0;
  std::fill(d.rhs.begin(), d.rhs.end(), 0.0);
  std::fill(d.cost.begin(), d.cost.end(), 0.0);
  d.objConst = 0.0;
  d.qc.clear();
  model.markChanged();
}

std::unique_ptr<InstructionList> listFromCore(const Model& model) {
  auto list = std::make_unique<InstructionList>();
  list->beg.assign(1, 0);
  list->len.assign(1, 0);
  list->baseLen.assign(1, 0);
  list->baseNumbers = 0;
  list->property.assign(1, QX_CONPROP_UNKNOWN);
  syncFromCore(model, *list);
  return list;
}

}  // namespace torva::nlp
