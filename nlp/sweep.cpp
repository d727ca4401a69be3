// Forward, reverse, tangent and second-order sweeps over a row's tape.
#include <algorithm>

#include "nlp/tape.hpp"

namespace torva::nlp {

int forwardRow(const CompiledModel& cm, int r, const double* x, Order order, Workspace& w,
               QXmodelRec* model) {
  const RowTape& row = cm.row(r);
  if (row.error) return row.error;
  const Node* nodes = cm.nodes().data();
  const int* args = cm.args().data();
  double* val = w.val.data();
  char* mark = w.mark.data();
  double a[8];
  std::vector<double> wide;
  for (int v = row.nodeBeg; v < row.nodeEnd; ++v) {
    const Node& nd = nodes[v];
    if (nd.op == kNodeVar) {
      val[v] = x[nd.aux];
      mark[v] = 0;
      continue;
    }
    if (nd.op == kNodeConst || nd.op == kNodeStr) {
      val[v] = nd.op == kNodeConst ? nd.c : nd.aux;
      mark[v] = 0;
      continue;
    }
    const int* in = args + nd.argBeg;
    double* av = a;
    if (nd.nArgs > 8) {
      wide.resize(static_cast<std::size_t>(nd.nArgs));
      av = wide.data();
    }
    bool inherited = false;
    for (int i = 0; i < nd.nArgs; ++i) {
      av[i] = val[in[i]];
      inherited = inherited || mark[in[i]];
    }
    bool own = false;
    double* d1 = order == Order::Value ? nullptr : w.d1.data() + nd.argBeg;
    double* d2 = (order == Order::Second && nd.d2Beg >= 0) ? w.d2.data() + nd.d2Beg : nullptr;
    if (int rc = localEval(cm, nd, av, val[v], d1, d2, own, model)) return rc;
    mark[v] = own || inherited;
  }
  return 0;
}

void reverseRow(const CompiledModel& cm, int r, Workspace& w) {
  const RowTape& row = cm.row(r);
  if (row.error || row.root < 0) return;
  const Node* nodes = cm.nodes().data();
  const int* args = cm.args().data();
  double* bar = w.bar.data();
  const double* d1 = w.d1.data();
  std::fill(bar + row.nodeBeg, bar + row.nodeEnd, 0.0);
  bar[row.root] = 1.0;
  for (int v = row.root; v >= row.nodeBeg; --v) {
    const Node& nd = nodes[v];
    const double b = bar[v];
    if (b == 0.0) continue;
    if (nd.op == kNodeVar) {
      w.dense[static_cast<std::size_t>(nd.aux)] += b;
      continue;
    }
    for (int i = 0; i < nd.nArgs; ++i) bar[args[nd.argBeg + i]] += b * d1[nd.argBeg + i];
  }
}

namespace {

// Tangent sweep with the seed 1 on every node of variable j.
void tangent(const CompiledModel& cm, const RowTape& row, int j, Workspace& w) {
  const Node* nodes = cm.nodes().data();
  const int* args = cm.args().data();
  const double* d1 = w.d1.data();
  double* dot = w.dot.data();
  for (int v = row.nodeBeg; v < row.nodeEnd; ++v) {
    const Node& nd = nodes[v];
    if (nd.op == kNodeVar) {
      dot[v] = nd.aux == j ? 1.0 : 0.0;
      continue;
    }
    double s = 0.0;
    for (int i = 0; i < nd.nArgs; ++i) s += d1[nd.argBeg + i] * dot[args[nd.argBeg + i]];
    dot[v] = s;
  }
}

}  // namespace

void tangentGradient(const CompiledModel& cm, int r, Workspace& w) {
  const RowTape& row = cm.row(r);
  if (row.error || row.root < 0) return;
  for (int j : row.jacVars) {
    tangent(cm, row, j, w);
    w.dense[static_cast<std::size_t>(j)] += w.dot[row.root];
  }
}

namespace {

// Position of the lower-triangle entry (i, j), i >= j, in the row's pattern,
// or -1.
int patternPos(const RowTape& row, int i, int j) {
  const auto col = std::lower_bound(row.hessDirs.begin(), row.hessDirs.end(), j);
  if (col == row.hessDirs.end() || *col != j) return -1;
  const std::size_t t = static_cast<std::size_t>(col - row.hessDirs.begin());
  const auto first = row.hessI.begin() + row.hessColBeg[t], last = row.hessI.begin() + row.hessColBeg[t + 1];
  const auto at = std::lower_bound(first, last, i);
  return (at != last && *at == i) ? static_cast<int>(at - row.hessI.begin()) : -1;
}

// Sparse gradients of the row's gradient nodes, by forward propagation.
void sparseGradients(const CompiledModel& cm, const RowTape& row, Workspace& w) {
  const Node* nodes = cm.nodes().data();
  const int* args = cm.args().data();
  const double* d1 = w.d1.data();
  w.gradIdx.clear();
  w.gradVal.clear();
  for (int v : row.gradNodes) {
    const Node& nd = nodes[v];
    w.gradBeg[static_cast<std::size_t>(v)] = static_cast<int>(w.gradIdx.size());
    if (nd.op == kNodeVar) {
      w.gradIdx.push_back(nd.aux);
      w.gradVal.push_back(1.0);
    } else {
      w.touched.clear();
      for (int i = 0; i < nd.nArgs; ++i) {
        const int u = args[nd.argBeg + i];
        const double p = d1[nd.argBeg + i];
        for (int e = w.gradBeg[static_cast<std::size_t>(u)]; e < w.gradEnd[static_cast<std::size_t>(u)]; ++e) {
          const std::size_t j = static_cast<std::size_t>(w.gradIdx[static_cast<std::size_t>(e)]);
          if (w.dense[j] == 0.0) w.touched.push_back(static_cast<int>(j));  // duplicates removed below
          w.dense[j] += p * w.gradVal[static_cast<std::size_t>(e)];
        }
      }
      std::sort(w.touched.begin(), w.touched.end());
      w.touched.erase(std::unique(w.touched.begin(), w.touched.end()), w.touched.end());
      for (int j : w.touched) {
        w.gradIdx.push_back(j);
        w.gradVal.push_back(w.dense[static_cast<std::size_t>(j)]);
        w.dense[static_cast<std::size_t>(j)] = 0.0;
      }
    }
    w.gradEnd[static_cast<std::size_t>(v)] = static_cast<int>(w.gradIdx.size());
  }
}

}  // namespace

void hessianRow(const CompiledModel& cm, int r, Workspace& w, double* out) {
  const RowTape& row = cm.row(r);
  if (row.hessI.empty()) return;
  const Node* nodes = cm.nodes().data();
  const int* args = cm.args().data();
  const double* d1 = w.d1.data();
  const double* d2 = w.d2.data();
  double* bar = w.bar.data();
  std::fill(out, out + row.hessI.size(), 0.0);
  std::fill(bar + row.nodeBeg, bar + row.nodeEnd, 0.0);
  bar[row.root] = 1.0;
  for (int v = row.root; v >= row.nodeBeg; --v) {
    const Node& nd = nodes[v];
    if (bar[v] == 0.0) continue;
    for (int i = 0; i < nd.nArgs; ++i) bar[args[nd.argBeg + i]] += bar[v] * d1[nd.argBeg + i];
  }
  sparseGradients(cm, row, w);
  auto add = [&](int p, int q, double value) {
    const int k = p >= q ? patternPos(row, p, q) : patternPos(row, q, p);
    if (k >= 0) out[k] += value;
  };
  for (int v : row.curvedNodes) {
    const Node& nd = nodes[v];
    if (bar[v] == 0.0) continue;
    const double* h = d2 + nd.d2Beg;
    for (int i = 0; i < nd.nArgs; ++i)
      for (int l = 0; l <= i; ++l) {
        const double c = bar[v] * h[i * (i + 1) / 2 + l];
        if (c == 0.0 || !secondLive(nd, i, l)) continue;
        const std::size_t ui = static_cast<std::size_t>(args[nd.argBeg + i]);
        const std::size_t ul = static_cast<std::size_t>(args[nd.argBeg + l]);
        for (int a = w.gradBeg[ui]; a < w.gradEnd[ui]; ++a) {
          const int p = w.gradIdx[static_cast<std::size_t>(a)];
          const double va = c * w.gradVal[static_cast<std::size_t>(a)];
          for (int b = w.gradBeg[ul]; b < w.gradEnd[ul]; ++b) {
            const int q = w.gradIdx[static_cast<std::size_t>(b)];
            const double vb = w.gradVal[static_cast<std::size_t>(b)];
            if (i == l) {
              if (p >= q) add(p, q, va * vb);  // c g g^T: each unordered pair once
            } else {
              add(p, q, (p == q ? 2.0 : 1.0) * va * vb);  // c (g_i g_l^T + g_l g_i^T)
            }
          }
        }
      }
  }
}

}  // namespace torva::nlp
