#include "simplex/ipm/conic_model.hpp"

#include <suitesparse/cholmod.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <tuple>

namespace torva::ipm {
namespace {

// Relative shift of the diagonal in the semidefiniteness test: a
// semidefinite matrix passes with rounding errors of the factorisation
// (about n * DBL_EPSILON * max|P|) far below it, and a matrix with a
// negative eigenvalue below -kConvexityTol * max|P| fails.
constexpr double kConvexityTol = 1e-9;

struct Triplets {
  std::vector<std::tuple<int, int, double>> t;  // (column, row, value)
  void add(int row, int col, double v) { t.emplace_back(col, row, v); }
  // Compressed columns, duplicates summed.
  CscMatrix csc(int rows, int cols) {
    std::sort(t.begin(), t.end());
    CscMatrix m;
    m.rows = rows;
    m.cols = cols;
    m.start.assign(cols + 1, 0);
    for (std::size_t k = 0; k < t.size(); ++k) {
      const auto [c, r, v] = t[k];
      if (!m.index.empty() && k > 0 && std::get<0>(t[k - 1]) == c && std::get<1>(t[k - 1]) == r) {
        m.value.back() += v;
        continue;
      }
      m.index.push_back(r);
      m.value.push_back(v);
      ++m.start[c + 1];
    }
    for (int j = 0; j < cols; ++j) m.start[j + 1] += m.start[j];
    return m;
  }
};

// F with F'F = M for a symmetric positive semidefinite k x k matrix M
// (row-major), by Cholesky with diagonal pivoting stopped at pivots below
// tol; false when M is not semidefinite (a remaining entry above tol).
bool semidefiniteFactor(std::vector<double> mat, int k, double tol, std::vector<std::vector<double>>& f) {
  std::vector<char> left(k, 1);
  f.clear();
  for (;;) {
    int p = -1;
    for (int i = 0; i < k; ++i)
      if (left[i] && (p < 0 || mat[i * k + i] > mat[p * k + p])) p = i;
    if (p < 0 || mat[p * k + p] <= tol) break;
    const double piv = std::sqrt(mat[p * k + p]);
    std::vector<double> row(k, 0.0);
    for (int i = 0; i < k; ++i)
      if (left[i]) row[i] = mat[i * k + p] / piv;
    left[p] = 0;
    for (int i = 0; i < k; ++i)
      if (left[i])
        for (int j = 0; j < k; ++j)
          if (left[j]) mat[i * k + j] -= row[i] * row[j];
    f.push_back(std::move(row));
  }
  for (int i = 0; i < k; ++i)
    for (int j = 0; j < k; ++j)
      if (left[i] && left[j] && std::fabs(mat[i * k + j]) > tol) return false;
  return true;
}

// The cone of quadratic row i (terms t in [tb, te) of data.qc): appends its
// conic rows to g and h; false when the row is not convex.
bool quadraticRowCone(const ModelData& data, const simplex::Lp& lp, int i, int tb, int te, Triplets& g,
                      std::vector<double>& h, int& mg) {
  const char type = lp.rowType[i];
  if (type != 'L' && type != 'G') return false;
  const double sg = type == 'L' ? 1.0 : -1.0;  // as a '<=' row
  std::vector<int> cols;
  for (int t = tb; t < te; ++t) {
    cols.push_back(data.qc.col1[t]);
    cols.push_back(data.qc.col2[t]);
  }
  std::sort(cols.begin(), cols.end());
  cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
  const int k = static_cast<int>(cols.size());
  std::vector<double> mat(static_cast<std::size_t>(k) * k, 0.0);
  double big = 0.0;
  for (int t = tb; t < te; ++t) {
    const int a = static_cast<int>(std::lower_bound(cols.begin(), cols.end(), data.qc.col1[t]) - cols.begin());
    const int b = static_cast<int>(std::lower_bound(cols.begin(), cols.end(), data.qc.col2[t]) - cols.begin());
    const double v = sg * data.qc.coef[t] * lp.rowScale[i] * lp.colScale[cols[a]] * lp.colScale[cols[b]];
    mat[a * k + b] += v;
    if (a != b) mat[b * k + a] += v;
    big = std::max(big, std::fabs(v));
  }
  std::vector<std::vector<double>> f;
  if (!semidefiniteFactor(mat, k, kConvexityTol * big, f)) return false;
  // (t + 1, t - 1)/sqrt2 and F x, t = b - a'x, as h - G x.
  const double r2 = 1.0 / std::sqrt(2.0), b = sg * lp.rhs[i];
  for (int j = 0; j < lp.n; ++j)
    for (int q = lp.colStart[j]; q < lp.colStart[j + 1]; ++q)
      if (lp.rowIndex[q] == i) {
        g.add(mg, j, sg * lp.colValue[q] * r2);
        g.add(mg + 1, j, sg * lp.colValue[q] * r2);
      }
  h.push_back((b + 1.0) * r2);
  h.push_back((b - 1.0) * r2);
  mg += 2;
  for (const std::vector<double>& row : f) {
    for (int a = 0; a < k; ++a)
      if (row[a] != 0.0) g.add(mg, cols[a], -row[a]);
    h.push_back(0.0);
    ++mg;
  }
  return true;
}

}  // namespace

ConicProblem buildConicProblem(const ModelData& data, const simplex::Lp& lp, ConicMap& map) {
  ConicProblem prob;
  const int n = lp.n, m = lp.m;
  // Variables: columns, then slacks that are not fixed.
  std::vector<int> slackVar(m, -1);
  std::vector<double> lo(lp.lower.begin(), lp.lower.begin() + n), up(lp.upper.begin(), lp.upper.begin() + n);
  std::vector<char> quadRow(m, 0);
  for (int r : data.qc.rows)
    if (r >= 0) quadRow[r] = 1;
  int nv = n;
  for (int i = 0; i < m; ++i)
    if (lp.rowType[i] != 'N' && lp.lower[n + i] < lp.upper[n + i] && !quadRow[i]) {
      slackVar[i] = nv++;
      lo.push_back(lp.lower[n + i]);
      up.push_back(lp.upper[n + i]);
    }
  prob.n = nv;
  prob.q.assign(nv, 0.0);
  std::copy(lp.cost.begin(), lp.cost.begin() + n, prob.q.begin());

  // Equality rows: model rows, then one per fixed column.
  Triplets a;
  map.rowOf.assign(m, -1);
  int me = 0;
  for (int i = 0; i < m; ++i)
    if (lp.rowType[i] != 'N' && !quadRow[i]) {
      map.rowOf[i] = me++;
      prob.b.push_back(lp.rhs[i] - (slackVar[i] < 0 ? lp.lower[n + i] : 0.0));
      if (slackVar[i] >= 0) a.add(map.rowOf[i], slackVar[i], 1.0);
    }
  for (int j = 0; j < n; ++j)
    for (int q = lp.colStart[j]; q < lp.colStart[j + 1]; ++q)
      if (map.rowOf[lp.rowIndex[q]] >= 0) a.add(map.rowOf[lp.rowIndex[q]], j, lp.colValue[q]);
  std::vector<char> fixed(nv, 0);
  map.fixedRow.assign(nv, -1);
  for (int v = 0; v < nv; ++v)
    if (lo[v] == up[v]) {
      fixed[v] = 1;
      map.fixedRow[v] = me;
      a.add(me++, v, 1.0);
      prob.b.push_back(lo[v]);
    }
  prob.a = a.csc(me, nv);

  // Conic rows: bounds (orthant), then the cones.
  Triplets g;
  int mg = 0;
  for (int v = 0; v < nv; ++v) {
    if (fixed[v]) continue;
    if (std::isfinite(lo[v])) {
      g.add(mg++, v, -1.0);
      prob.h.push_back(-lo[v]);
    }
    if (std::isfinite(up[v])) {
      g.add(mg++, v, 1.0);
      prob.h.push_back(up[v]);
    }
  }
  prob.orthant = mg;
  map.coneRowStart = mg;
  const double r2 = 1.0 / std::sqrt(2.0);
  const ColumnGroups& cones = data.cones;
  for (int k = 0; k < cones.count(); ++k) {
    const int b = cones.beg[k], e = cones.beg[k + 1];
    int first = b;
    if (cones.type[k] == 'R') {
      const int x0 = cones.cols[b], x1 = cones.cols[b + 1];
      g.add(mg, x0, -r2);
      g.add(mg, x1, -r2);
      g.add(mg + 1, x0, -r2);
      g.add(mg + 1, x1, r2);
      mg += 2;
      first = b + 2;
    }
    for (int p = first; p < e; ++p) g.add(mg++, cones.cols[p], -1.0);
    prob.h.resize(mg, 0.0);
    prob.coneDims.push_back(e - b);
  }
  map.qcRowStart = mg;
  for (std::size_t r = 0; r < data.qc.rows.size(); ++r) {
    const int i = data.qc.rows[r];
    if (i < 0 || lp.rowType[i] == 'N') continue;
    const int before = mg;
    if (!quadraticRowCone(data, lp, i, data.qc.beg[r], data.qc.beg[r + 1], g, prob.h, mg)) {
      map.nonConvexRow = i;
      return prob;
    }
    prob.coneDims.push_back(mg - before);
    map.qcRow.push_back(i);
  }
  prob.g = g.csc(mg, nv);

  // Objective quadratic terms: 1/2 x'Qx with Q_ab = Q_ba = coefficient of
  // each stored term (a, b), in the sense of the costs.
  Triplets p;
  const int k = data.qc.find(-1);
  if (k >= 0)
    for (int t = data.qc.beg[k]; t < data.qc.beg[k + 1]; ++t) {
      const int c1 = data.qc.col1[t], c2 = data.qc.col2[t];
      p.add(std::min(c1, c2), std::max(c1, c2), lp.sense * data.qc.coef[t] * lp.colScale[c1] * lp.colScale[c2]);
    }
  prob.p = p.csc(nv, nv);
  return prob;
}

bool quadraticRowsConvex(const ModelData& data, const simplex::Lp& lp) {
  Triplets g;
  std::vector<double> h;
  for (std::size_t r = 0; r < data.qc.rows.size(); ++r) {
    const int i = data.qc.rows[r], mg0 = 0;
    int mg = mg0;
    if (i >= 0 && lp.rowType[i] != 'N' && !quadraticRowCone(data, lp, i, data.qc.beg[r], data.qc.beg[r + 1], g, h, mg))
      return false;
  }
  return true;
}

bool isPositiveSemidefinite(const CscMatrix& p) {
  double big = 0.0;
  for (double v : p.value) big = std::max(big, std::fabs(v));
  if (big == 0.0) return true;
  cholmod_common c;
  cholmod_start(&c);
  c.print = 0;
  c.error_handler = nullptr;
  // Supernodal means L L' (the simplicial default is L D L', which accepts
  // negative pivots).
  c.supernodal = CHOLMOD_SUPERNODAL;
  const int n = p.cols;
  // P + eps I in upper-triangle form, the diagonal always present.
  Triplets t;
  for (int j = 0; j < n; ++j) {
    t.add(j, j, kConvexityTol * big);
    for (int q = p.start[j]; q < p.start[j + 1]; ++q) t.add(p.index[q], j, p.value[q]);
  }
  const CscMatrix s = t.csc(n, n);
  cholmod_sparse* a = cholmod_allocate_sparse(n, n, s.index.size(), 1, 1, 1, CHOLMOD_REAL, &c);
  bool ok = false;
  if (a) {
    std::copy(s.start.begin(), s.start.end(), static_cast<int*>(a->p));
    std::copy(s.index.begin(), s.index.end(), static_cast<int*>(a->i));
    std::copy(s.value.begin(), s.value.end(), static_cast<double*>(a->x));
    cholmod_factor* l = cholmod_analyze(a, &c);
    if (l) {
      cholmod_factorize(a, l, &c);
      ok = c.status == CHOLMOD_OK && l->minor >= static_cast<std::size_t>(n);
      cholmod_free_factor(&l, &c);
    }
    cholmod_free_sparse(&a, &c);
  }
  const bool oom = c.status == CHOLMOD_OUT_OF_MEMORY;
  cholmod_finish(&c);
  if (oom) throw std::bad_alloc();
  return ok;
}

}  // namespace torva::ipm
