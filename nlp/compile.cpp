// Compiling instruction-list rows into tapes, and the sparsity patterns of
// their Jacobian and Hessian.
#include <algorithm>
#include <cmath>
#include <utility>

#include "nlp/opcodes.hpp"
#include "nlp/tape.hpp"
#include "torva.h"

namespace torva::nlp {

class RowCompiler {
 public:
  RowCompiler(CompiledModel& cm) : cm_(cm), list_(cm.list_) {}

  // Compiles row r; returns 0, QXERR_BAD_STRING_OPERATION or QXERR_INSTRUCT_SYNTAX.
  int compile(int r, RowTape& row) {
    stack_.clear();
    row.nodeBeg = static_cast<int>(cm_.nodes_.size());
    const int beg = list_.beg[static_cast<std::size_t>(r)];
    pos_ = beg;
    end_ = beg + list_.len[static_cast<std::size_t>(r)];
    while (pos_ < end_)
      if (int rc = step()) return rc;
    if (stack_.size() != 1) return QXERR_INSTRUCT_SYNTAX;
    row.root = stack_.back();
    if (isStr(row.root)) return QXERR_BAD_STRING_OPERATION;
    row.nodeEnd = static_cast<int>(cm_.nodes_.size());
    return 0;
  }

 private:
  int word() { return list_.code[static_cast<std::size_t>(pos_++)]; }
  bool isStr(int id) const { return cm_.nodes_[static_cast<std::size_t>(id)].op == kNodeStr; }

  int leaf(int op, int aux, double c) {
    Node n;
    n.op = op;
    n.aux = aux;
    n.c = c;
    n.argBeg = static_cast<int>(cm_.args_.size());
    cm_.nodes_.push_back(n);
    return static_cast<int>(cm_.nodes_.size()) - 1;
  }
  int constant(double c) { return leaf(kNodeConst, 0, c); }

  // Appends a node over the given argument nodes.
  int node(int op, const std::vector<int>& a, int aux = 0, double c = 0.0) {
    Node n;
    n.op = op;
    n.aux = aux;
    n.c = c;
    n.argBeg = static_cast<int>(cm_.args_.size());
    n.nArgs = static_cast<int>(a.size());
    cm_.args_.insert(cm_.args_.end(), a.begin(), a.end());
    if (derivKind(op) == DerivKind::Curved) {
      n.d2Beg = cm_.d2Size_;
      cm_.d2Size_ += n.nArgs * (n.nArgs + 1) / 2;
    }
    cm_.nodes_.push_back(n);
    return static_cast<int>(cm_.nodes_.size()) - 1;
  }

  std::vector<int> pop(int n) {
    std::vector<int> a(stack_.end() - n, stack_.end());
    stack_.resize(stack_.size() - static_cast<std::size_t>(n));
    return a;
  }
  // Arguments that must be numbers: a string among them is an error.
  bool numeric(const std::vector<int>& a, std::size_t from = 0, std::size_t to = SIZE_MAX) const {
    for (std::size_t i = from; i < std::min(to, a.size()); ++i)
      if (isStr(a[i])) return false;
    return true;
  }

  int pushInstruction(int op) {
    const int k = word();
    switch (op) {
      case EP_PUSH_VAR:
        stack_.push_back(leaf(kNodeVar, k, 0.0));
        return 0;
      case EP_PUSH_NUM:
        stack_.push_back(constant(list_.numbers[static_cast<std::size_t>(k)]));
        return 0;
      case EP_PUSH_SPAR: {
        const auto& p = list_.stocParams;
        stack_.push_back(constant(static_cast<std::size_t>(k) < p.size() ? p[static_cast<std::size_t>(k)] : 0.0));
        return 0;
      }
      default:
        if (static_cast<std::size_t>(k) >= cm_.strings_.size()) return QXERR_BAD_STRING_OPERATION;
        stack_.push_back(leaf(kNodeStr, k, 0.0));
        return 0;
    }
  }

  int vectorPush(int op) {
    const int n = word();
    for (int i = 0; i < n; ++i) {
      const int k = word();
      if (op == EP_VPUSH_VAR) {
        stack_.push_back(k == EP_VPUSH_VAR_ABSENT ? constant(0.0) : leaf(kNodeVar, k, 0.0));
      } else if (op == EP_VPUSH_NUM) {
        stack_.push_back(constant(list_.numbers[static_cast<std::size_t>(k)]));
      } else {
        if (static_cast<std::size_t>(k) >= cm_.strings_.size()) return QXERR_BAD_STRING_OPERATION;
        stack_.push_back(leaf(kNodeStr, k, 0.0));
      }
    }
    return 0;
  }

  int fixed(int op, int arity) {
    std::vector<int> a = pop(arity);
    if ((op == EP_EQUAL || op == EP_NOT_EQUAL) && (isStr(a[0]) || isStr(a[1]))) {
      if (!isStr(a[0]) || !isStr(a[1])) return QXERR_BAD_STRING_OPERATION;
      const auto& s = cm_.strings_;
      const bool same = s[static_cast<std::size_t>(cm_.nodes_[static_cast<std::size_t>(a[0])].aux)] ==
                        s[static_cast<std::size_t>(cm_.nodes_[static_cast<std::size_t>(a[1])].aux)];
      stack_.push_back(constant((op == EP_EQUAL) == same ? 1.0 : 0.0));
      return 0;
    }
    if (!numeric(a)) return QXERR_BAD_STRING_OPERATION;
    stack_.push_back(node(op, a));
    return 0;
  }

  // Product of the given nodes as a chain of EP_MULTIPLY (1 when empty).
  int product(const std::vector<int>& a) {
    if (a.empty()) return constant(1.0);
    int p = a[0];
    for (std::size_t i = 1; i < a.size(); ++i) p = node(EP_MULTIPLY, {p, a[i]});
    return p;
  }

  // EP_NPV n: rate r and cash flows v_1..v_{n-1}: sum v_i / (1 + r)^i.
  int npv(const std::vector<int>& a) {
    if (a.size() < 2) return constant(0.0);
    const int growth = node(EP_PLUS, {constant(1.0), a[0]});
    std::vector<int> terms;
    for (std::size_t i = 1; i < a.size(); ++i)
      terms.push_back(node(EP_DIVIDE, {a[i], node(EP_POWER, {growth, constant(double(i))})}));
    return node(EP_SUM, terms, static_cast<int>(terms.size()));
  }

  // EP_STDEV n: the sample standard deviation sqrt(sum (v_i - mean)^2 / (n-1)).
  int stdev(const std::vector<int>& a) {
    if (a.size() < 2) return constant(0.0);
    const int mean = node(EP_AVG, a, static_cast<int>(a.size()));
    std::vector<int> squares;
    for (int v : a) squares.push_back(node(EP_SQR, {node(EP_MINUS, {v, mean})}));
    const int sum = node(EP_SUM, squares, static_cast<int>(squares.size()));
    return node(EP_SQRT, {node(EP_DIVIDE, {sum, constant(double(a.size() - 1))})});
  }

  int counted(int op, int n) {
    std::vector<int> a = pop(n);
    if (!numeric(a)) return QXERR_BAD_STRING_OPERATION;
    int id;
    switch (op) {
      case EP_VMULT:
        id = product(a);
        break;
      case EP_NPV:
        id = npv(a);
        break;
      case EP_STDEV:
        id = stdev(a);
        break;
      case EP_USRCOD:
        id = node(EP_USER, a, n);
        break;
      default:
        if (n == 0 && op != EP_USER) {
          id = constant(op == EP_VAND ? 1.0 : 0.0);
          break;
        }
        id = node(op, a, n);
    }
    stack_.push_back(id);
    return 0;
  }

  int sumProd(int n, int m) {
    std::vector<int> a = pop(n * m);
    if (!numeric(a)) return QXERR_BAD_STRING_OPERATION;
    std::vector<int> terms;
    for (int k = 0; k < m; ++k) {
      std::vector<int> f;
      for (int v = 0; v < n; ++v) f.push_back(a[static_cast<std::size_t>(v) * m + k]);
      terms.push_back(product(f));
    }
    stack_.push_back(node(EP_SUM, terms, m));
    return 0;
  }

  int lookup(int op, int n, int f) {
    std::vector<int> a = pop(2 * n + 1);
    // Test value and tested entries may be strings; the values may not.
    if (!numeric(a, static_cast<std::size_t>(n) + 1)) return QXERR_BAD_STRING_OPERATION;
    stack_.push_back(node(op, a, n, f));
    return 0;
  }

  int step() {
    const int op = word();
    const OpInfo& oi = opInfo(op);
    switch (oi.kind) {
      case OpKind::Invalid:
        return QXERR_INSTRUCT_SYNTAX;
      case OpKind::NoOp:
        return 0;
      case OpKind::Push:
        return pushInstruction(op);
      case OpKind::Constant:
        stack_.push_back(constant(op == EP_PI ? M_PI : (op == EP_TRUE ? 1.0 : 0.0)));
        return 0;
      case OpKind::VectorPush:
        return vectorPush(op);
      case OpKind::Fixed:
        return fixed(op, oi.arity);
      case OpKind::Counted:
      case OpKind::CountedMin1:
        return counted(op, word());
      case OpKind::SumProd: {
        const int n = word();
        return sumProd(n, word());
      }
      case OpKind::SumIf:
        return lookup(op, word(), 0);
      case OpKind::VLookup: {
        const int n = word();
        return lookup(op, n, word());
      }
      case OpKind::UserCode:
        return counted(EP_USRCOD, word());
      case OpKind::Lsq: {
        const int a = word(), b = word();
        pos_ += a + (a + 1) * b;  // data for least-squares solvers; no value
        return 0;
      }
      case OpKind::Posd: {
        word();
        pos_ += 3 * word();
        stack_.push_back(constant(0.0));  // data for cone solvers; value 0
        return 0;
      }
      default: {
        word();
        pos_ += word();
        stack_.push_back(constant(0.0));
        return 0;
      }
    }
  }

  CompiledModel& cm_;
  const InstructionList& list_;
  int pos_ = 0, end_ = 0;
  std::vector<int> stack_;
};

namespace {

// Dependency sets of the nodes of one row through live edges: each node's
// set is built from its arguments' sets. Tapes compiled from postfix code
// are trees except for shared nodes of the lowered operators, so a set is
// moved into its single consumer and copied otherwise.
std::vector<std::vector<int>> dependencies(const CompiledModel& cm, const RowTape& row,
                                           std::vector<int>& uses) {
  const auto& nodes = cm.nodes();
  const auto& args = cm.args();
  const int count = row.nodeEnd - row.nodeBeg;
  std::vector<std::vector<int>> dep(static_cast<std::size_t>(count));
  uses.assign(static_cast<std::size_t>(count), 0);
  for (int v = row.nodeBeg; v < row.nodeEnd; ++v) {
    const Node& nd = nodes[static_cast<std::size_t>(v)];
    for (int i = 0; i < nd.nArgs; ++i) ++uses[static_cast<std::size_t>(args[nd.argBeg + i] - row.nodeBeg)];
  }
  for (int v = row.nodeBeg; v < row.nodeEnd; ++v) {
    const Node& nd = nodes[static_cast<std::size_t>(v)];
    auto& out = dep[static_cast<std::size_t>(v - row.nodeBeg)];
    if (nd.op == kNodeVar) {
      out.push_back(nd.aux);
      continue;
    }
    for (int i = 0; i < nd.nArgs; ++i) {
      if (!edgeLive(nd, i)) continue;
      auto& in = dep[static_cast<std::size_t>(args[nd.argBeg + i] - row.nodeBeg)];
      if (out.empty() && uses[static_cast<std::size_t>(args[nd.argBeg + i] - row.nodeBeg)] == 1)
        out = std::move(in);
      else
        out.insert(out.end(), in.begin(), in.end());
    }
  }
  return dep;
}

std::vector<int> sortedUnique(std::vector<int> v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  return v;
}

}  // namespace

CompiledModel::CompiledModel(const InstructionList& list, const std::vector<std::string>& strings)
    : list_(list), strings_(strings) {
  rows_.resize(static_cast<std::size_t>(list.rows()));
  RowCompiler compiler(*this);
  std::vector<int> uses;
  for (int r = 0; r < list.rows(); ++r) {
    RowTape& row = rows_[static_cast<std::size_t>(r)];
    const std::size_t nodeMark = nodes_.size(), argMark = args_.size();
    const int d2Mark = d2Size_;
    row.error = compiler.compile(r, row);
    if (row.error) {
      nodes_.resize(nodeMark);
      args_.resize(argMark);
      d2Size_ = d2Mark;
      row.nodeBeg = row.nodeEnd = static_cast<int>(nodeMark);
      continue;
    }
    auto dep = dependencies(*this, row, uses);
    row.jacVars = sortedUnique(std::move(dep[static_cast<std::size_t>(row.root - row.nodeBeg)]));
  }
}

void CompiledModel::buildHessianPattern() {
  if (hessReady_) return;
  std::vector<int> uses;
  for (RowTape& row : rows_) {
    if (row.error || row.root < 0) continue;
    // Nodes whose adjoint is structurally non-zero: reached from the root
    // through live edges.
    const int count = row.nodeEnd - row.nodeBeg;
    std::vector<char> live(static_cast<std::size_t>(count), 0);
    live[static_cast<std::size_t>(row.root - row.nodeBeg)] = 1;
    for (int v = row.nodeEnd - 1; v >= row.nodeBeg; --v) {
      const Node& nd = nodes_[static_cast<std::size_t>(v)];
      if (!live[static_cast<std::size_t>(v - row.nodeBeg)]) continue;
      for (int i = 0; i < nd.nArgs; ++i)
        if (edgeLive(nd, i)) live[static_cast<std::size_t>(args_[nd.argBeg + i] - row.nodeBeg)] = 1;
    }
    // Dependency sets are needed only below live curved nodes.
    std::vector<char> need(static_cast<std::size_t>(count), 0);
    for (int v = row.nodeEnd - 1; v >= row.nodeBeg; --v) {
      const Node& nd = nodes_[static_cast<std::size_t>(v)];
      const std::size_t k = static_cast<std::size_t>(v - row.nodeBeg);
      if (!need[k] && !(nd.d2Beg >= 0 && live[k])) continue;
      for (int i = 0; i < nd.nArgs; ++i) need[static_cast<std::size_t>(args_[nd.argBeg + i] - row.nodeBeg)] = 1;
    }
    std::vector<std::vector<int>> dep(static_cast<std::size_t>(count));
    std::vector<std::pair<int, int>> pairs;  // (J, I), I >= J
    for (int v = row.nodeBeg; v < row.nodeEnd; ++v) {
      const Node& nd = nodes_[static_cast<std::size_t>(v)];
      const std::size_t k = static_cast<std::size_t>(v - row.nodeBeg);
      if (!need[k] && !(nd.d2Beg >= 0 && live[k])) continue;
      if (need[k]) row.gradNodes.push_back(v);
      if (nd.d2Beg >= 0 && live[k]) row.curvedNodes.push_back(v);
      auto& out = dep[k];
      if (nd.op == kNodeVar) {
        out.push_back(nd.aux);
        continue;
      }
      for (int i = 0; i < nd.nArgs; ++i) {
        if (!edgeLive(nd, i)) continue;
        const auto& in = dep[static_cast<std::size_t>(args_[nd.argBeg + i] - row.nodeBeg)];
        out.insert(out.end(), in.begin(), in.end());
      }
      out = sortedUnique(std::move(out));
      if (nd.d2Beg < 0 || !live[static_cast<std::size_t>(v - row.nodeBeg)]) continue;
      for (int i = 0; i < nd.nArgs; ++i)
        for (int l = 0; l <= i; ++l) {
          if (!secondLive(nd, i, l) || !edgeLive(nd, i) || !edgeLive(nd, l)) continue;
          const auto& di = dep[static_cast<std::size_t>(args_[nd.argBeg + i] - row.nodeBeg)];
          const auto& dl = dep[static_cast<std::size_t>(args_[nd.argBeg + l] - row.nodeBeg)];
          for (int p : di)
            for (int q : dl) pairs.emplace_back(std::min(p, q), std::max(p, q));
        }
    }
    std::sort(pairs.begin(), pairs.end());
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    for (const auto& [j, i] : pairs) {
      row.hessI.push_back(i);
      row.hessJ.push_back(j);
      if (row.hessDirs.empty() || row.hessDirs.back() != j) {
        row.hessDirs.push_back(j);
        row.hessColBeg.push_back(static_cast<int>(row.hessI.size()) - 1);
      }
    }
    row.hessColBeg.push_back(static_cast<int>(row.hessI.size()));
  }
  hessReady_ = true;
}

void Workspace::fit(const CompiledModel& cm, int nVars) {
  const std::size_t nodes = cm.nodes().size(), args = cm.args().size();
  if (val.size() < nodes) {
    val.resize(nodes);
    bar.resize(nodes);
    dot.resize(nodes);
    mark.resize(nodes);
  }
  if (d1.size() < args) d1.resize(args);
  if (gradBeg.size() < nodes) {
    gradBeg.resize(nodes);
    gradEnd.resize(nodes);
  }
  if (d2.size() < static_cast<std::size_t>(cm.d2Size())) d2.resize(static_cast<std::size_t>(cm.d2Size()));
  if (dense.size() < static_cast<std::size_t>(nVars)) dense.assign(static_cast<std::size_t>(nVars), 0.0);
}

}  // namespace torva::nlp
