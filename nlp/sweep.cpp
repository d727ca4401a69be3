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

void hessianRow(const CompiledModel& cm, int r, Workspace& w, double* out) {
  const RowTape& row = cm.row(r);
  if (row.hessI.empty()) return;
  const Node* nodes = cm.nodes().data();
  const int* args = cm.args().data();
  const double* d1 = w.d1.data();
  const double* d2 = w.d2.data();
  double* bar = w.bar.data();
  double* dot = w.dot.data();
  double* barDot = w.barDot.data();
  // Adjoints do not depend on the direction: one reverse sweep.
  std::fill(bar + row.nodeBeg, bar + row.nodeEnd, 0.0);
  bar[row.root] = 1.0;
  for (int v = row.root; v >= row.nodeBeg; --v) {
    const Node& nd = nodes[v];
    for (int i = 0; i < nd.nArgs; ++i) bar[args[nd.argBeg + i]] += bar[v] * d1[nd.argBeg + i];
  }
  std::size_t k = 0;
  for (int j : row.hessDirs) {
    tangent(cm, row, j, w);
    std::fill(barDot + row.nodeBeg, barDot + row.nodeEnd, 0.0);
    for (int v = row.root; v >= row.nodeBeg; --v) {
      const Node& nd = nodes[v];
      if (nd.op == kNodeVar) {
        w.dense[static_cast<std::size_t>(nd.aux)] += barDot[v];
        continue;
      }
      const int* in = args + nd.argBeg;
      const double* p = d1 + nd.argBeg;
      for (int i = 0; i < nd.nArgs; ++i) {
        double s = barDot[v] * p[i];
        if (nd.d2Beg >= 0 && bar[v] != 0.0) {
          // Row i of the packed symmetric local Hessian times the tangents.
          const double* h = d2 + nd.d2Beg;
          double t = 0.0;
          for (int l = 0; l < nd.nArgs; ++l) {
            const double hil = l <= i ? h[i * (i + 1) / 2 + l] : h[l * (l + 1) / 2 + i];
            t += hil * dot[in[l]];
          }
          s += bar[v] * t;
        }
        barDot[in[i]] += s;
      }
    }
    // Column j of the Hessian is now in dense; take the pattern's entries.
    for (; k < row.hessJ.size() && row.hessJ[k] == j; ++k) out[k] = w.dense[static_cast<std::size_t>(row.hessI[k])];
    for (int v = row.nodeBeg; v < row.nodeEnd; ++v)
      if (nodes[v].op == kNodeVar) w.dense[static_cast<std::size_t>(nodes[v].aux)] = 0.0;
  }
}

}  // namespace torva::nlp
