// The quasidefinite KKT matrix of the conic method, factorised as L D L' by
// CHOLMOD (simplicial: supernodal factorisations are Cholesky only). Any
// symmetric ordering of a quasidefinite matrix has an L D L' factorisation
// without pivoting (Vanderbei 1995), so the fill-reducing ordering is free.
#include <suitesparse/cholmod.h>

#include <algorithm>
#include <cmath>
#include <new>

#include "simplex/ipm/conic.hpp"

namespace torva::ipm {
namespace {

// Static regularisation of both diagonal blocks (+delta on the variables,
// -delta on the equality rows), as in ECOS (Domahidi, Chu, Boyd 2013), whose
// 7e-8 this rounds; iterative refinement against the unregularised matrix
// removes its effect on the directions.
constexpr double kStaticReg = 1e-10;
// A failed factorisation raises the regularisation by this factor, up to the
// limit below.
constexpr double kRegGrowth = 100.0;
constexpr double kMaxReg = 1e-2;
// Refinement steps, and the relative residual at which refinement stops
// (a few units of double precision).
constexpr int kRefineSteps = 8;
constexpr double kRefineTol = 1e-14;

}  // namespace

class ConicKkt::Impl {
 public:
  cholmod_common c{};
  cholmod_sparse* k = nullptr;
  cholmod_factor* l = nullptr;
  int n = 0, me = 0;
  std::vector<double> constant;  // values of P and A
  std::vector<double> k0;        // unregularised values of the last factorisation
  std::vector<int> posP, posA, posDiag;
  std::vector<std::vector<int>> posBlock;  // upper-triangle pairs of each block, row-major a <= b
  double delta = kStaticReg;

  Impl() {
    cholmod_start(&c);
    c.print = 0;
    c.error_handler = nullptr;
    c.supernodal = CHOLMOD_SIMPLICIAL;
    c.final_ll = 0;
  }
  ~Impl() {
    if (l) cholmod_free_factor(&l, &c);
    if (k) cholmod_free_sparse(&k, &c);
    cholmod_finish(&c);
  }

  int position(int i, int j) const {
    const int* p = static_cast<const int*>(k->p);
    const int* r = static_cast<const int*>(k->i);
    const int* it = std::lower_bound(r + p[j], r + p[j + 1], i);
    return static_cast<int>(it - r);
  }

  // y = K0 x with the unregularised upper-triangle values.
  void multiply(const std::vector<double>& x, std::vector<double>& y) const {
    const int* p = static_cast<const int*>(k->p);
    const int* r = static_cast<const int*>(k->i);
    const int nk = n + me;
    y.assign(nk, 0.0);
    for (int j = 0; j < nk; ++j)
      for (int q = p[j]; q < p[j + 1]; ++q) {
        const int i = r[q];
        y[i] += k0[q] * x[j];
        if (i != j) y[j] += k0[q] * x[i];
      }
  }
};

ConicKkt::ConicKkt(const ConicProblem& prob) : impl_(std::make_unique<Impl>()) {
  Impl& im = *impl_;
  const int n = prob.n, me = prob.a.rows, nk = n + me;
  im.n = n;
  im.me = me;
  // Blocks of G: one per orthant row, one per cone.
  const CscMatrix& g = prob.g;
  std::vector<std::vector<std::pair<int, double>>> rows(g.rows);
  for (int j = 0; j < g.cols; ++j)
    for (int q = g.start[j]; q < g.start[j + 1]; ++q) rows[g.index[q]].push_back({j, g.value[q]});
  blockRow_.push_back(0);
  for (int r = 0; r < prob.orthant; ++r) blockRow_.push_back(r + 1);
  for (int d : prob.coneDims) blockRow_.push_back(blockRow_.back() + d);
  const int nb = static_cast<int>(blockRow_.size()) - 1;
  blockCols_.resize(nb);
  blockG_.resize(nb);
  for (int b = 0; b < nb; ++b) {
    std::vector<int>& cols = blockCols_[b];
    for (int r = blockRow_[b]; r < blockRow_[b + 1]; ++r)
      for (const auto& e : rows[r]) cols.push_back(e.first);
    std::sort(cols.begin(), cols.end());
    cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
    const int nc = static_cast<int>(cols.size());
    blockG_[b].assign(static_cast<std::size_t>(blockDim(b)) * nc, 0.0);
    for (int r = blockRow_[b]; r < blockRow_[b + 1]; ++r)
      for (const auto& e : rows[r]) {
        const int a = static_cast<int>(std::lower_bound(cols.begin(), cols.end(), e.first) - cols.begin());
        blockG_[b][static_cast<std::size_t>(r - blockRow_[b]) * nc + a] += e.second;
      }
  }
  // Pattern of the upper triangle, column by column.
  std::vector<std::vector<int>> pat(nk);
  for (int j = 0; j < nk; ++j) pat[j].push_back(j);
  for (int j = 0; j < n; ++j)
    for (int q = prob.p.start[j]; q < prob.p.start[j + 1]; ++q) pat[j].push_back(prob.p.index[q]);
  for (int b = 0; b < nb; ++b) {
    const std::vector<int>& cols = blockCols_[b];
    for (std::size_t x = 0; x < cols.size(); ++x)
      for (std::size_t y = 0; y <= x; ++y) pat[cols[x]].push_back(cols[y]);
  }
  for (int j = 0; j < n; ++j)
    for (int q = prob.a.start[j]; q < prob.a.start[j + 1]; ++q) pat[n + prob.a.index[q]].push_back(j);
  std::size_t nnz = 0;
  for (auto& col : pat) {
    std::sort(col.begin(), col.end());
    col.erase(std::unique(col.begin(), col.end()), col.end());
    nnz += col.size();
  }
  im.k = cholmod_allocate_sparse(nk, nk, nnz, 1, 1, 1, CHOLMOD_REAL, &im.c);
  if (!im.k) throw std::bad_alloc();
  int* kp = static_cast<int*>(im.k->p);
  int* ki = static_cast<int*>(im.k->i);
  kp[0] = 0;
  for (int j = 0; j < nk; ++j) {
    std::copy(pat[j].begin(), pat[j].end(), ki + kp[j]);
    kp[j + 1] = kp[j] + static_cast<int>(pat[j].size());
  }
  pat.clear();
  im.k0.assign(nnz, 0.0);
  for (int j = 0; j < nk; ++j) im.posDiag.push_back(im.position(j, j));
  for (int j = 0; j < n; ++j)
    for (int q = prob.p.start[j]; q < prob.p.start[j + 1]; ++q) {
      im.posP.push_back(im.position(prob.p.index[q], j));
      im.k0[im.posP.back()] += prob.p.value[q];
    }
  im.posBlock.resize(nb);
  for (int b = 0; b < nb; ++b) {
    const std::vector<int>& cols = blockCols_[b];
    for (std::size_t x = 0; x < cols.size(); ++x)
      for (std::size_t y = x; y < cols.size(); ++y) im.posBlock[b].push_back(im.position(cols[x], cols[y]));
  }
  for (int j = 0; j < n; ++j)
    for (int q = prob.a.start[j]; q < prob.a.start[j + 1]; ++q) {
      im.posA.push_back(im.position(j, n + prob.a.index[q]));
      im.k0[im.posA.back()] += prob.a.value[q];
    }
  im.constant = im.k0;
  im.l = cholmod_analyze(im.k, &im.c);
  if (!im.l) throw std::bad_alloc();
}

ConicKkt::~ConicKkt() = default;

bool ConicKkt::factor(const std::vector<std::vector<double>>& blockMatrices) {
  Impl& im = *impl_;
  // The scaling blocks on top of the constant part (P and A).
  std::vector<double>& k0 = im.k0;
  k0 = im.constant;
  for (int b = 0; b < blocks(); ++b) {
    const std::vector<double>& m = blockMatrices[b];
    const int nc = static_cast<int>(blockCols_[b].size());
    std::size_t t = 0;
    for (int x = 0; x < nc; ++x)
      for (int y = x; y < nc; ++y) k0[im.posBlock[b][t++]] += m[static_cast<std::size_t>(x) * nc + y];
  }
  auto* kx = static_cast<double*>(im.k->x);
  for (;;) {
    std::copy(k0.begin(), k0.end(), kx);
    for (int j = 0; j < im.n; ++j) kx[im.posDiag[j]] += im.delta;
    for (int r = 0; r < im.me; ++r) kx[im.posDiag[im.n + r]] -= im.delta;
    im.c.status = CHOLMOD_OK;
    cholmod_factorize(im.k, im.l, &im.c);
    if (im.c.status == CHOLMOD_OUT_OF_MEMORY) throw std::bad_alloc();
    if (im.c.status == CHOLMOD_OK && im.l->minor >= static_cast<std::size_t>(im.n + im.me)) return true;
    if (im.delta >= kMaxReg) return false;
    im.delta = std::min(kMaxReg, im.delta * kRegGrowth);
  }
}

void ConicKkt::solve(const std::vector<double>& rx, const std::vector<double>& ry, std::vector<double>& dx,
                     std::vector<double>& dy, const Operator& op) {
  Impl& im = *impl_;
  const int nk = im.n + im.me;
  std::vector<double> rhs(nk), sol(nk, 0.0), res(rhs), kx;
  std::copy(rx.begin(), rx.end(), rhs.begin());
  std::copy(ry.begin(), ry.end(), rhs.begin() + im.n);
  // The two blocks are measured apart: the variables' right-hand side grows
  // with the scaling near the optimum, the rows' one (the primal residual)
  // shrinks, and it must be met to its own size.
  double rhsNormX = 0.0, rhsNormY = 0.0;
  for (int i = 0; i < nk; ++i)
    (i < im.n ? rhsNormX : rhsNormY) = std::max(i < im.n ? rhsNormX : rhsNormY, std::fabs(rhs[i]));
  cholmod_dense* bd = cholmod_allocate_dense(nk, 1, nk, CHOLMOD_REAL, &im.c);
  if (!bd) throw std::bad_alloc();
  res = rhs;
  for (int step = 0; step <= kRefineSteps; ++step) {
    std::copy(res.begin(), res.end(), static_cast<double*>(bd->x));
    cholmod_dense* xd = cholmod_solve(CHOLMOD_A, im.l, bd, &im.c);
    if (!xd) {
      cholmod_free_dense(&bd, &im.c);
      throw std::bad_alloc();
    }
    const double* xv = static_cast<const double*>(xd->x);
    for (int i = 0; i < nk; ++i) sol[i] += xv[i];
    cholmod_free_dense(&xd, &im.c);
    if (op) op(sol, kx);
    else im.multiply(sol, kx);
    double resX = 0.0, resY = 0.0;
    for (int i = 0; i < nk; ++i) {
      res[i] = rhs[i] - kx[i];
      (i < im.n ? resX : resY) = std::max(i < im.n ? resX : resY, std::fabs(res[i]));
    }
    if (resX <= kRefineTol * (1.0 + rhsNormX) && resY <= kRefineTol * (1.0 + rhsNormY)) break;
  }
  cholmod_free_dense(&bd, &im.c);
  dx.assign(sol.begin(), sol.begin() + im.n);
  dy.assign(sol.begin() + im.n, sol.end());
}

}  // namespace torva::ipm
