// CHOLMOD-backed normal equations with dense columns treated apart.
#include "simplex/ipm/normal_eq.hpp"

#include <suitesparse/cholmod.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace torva::ipm {
namespace {

// A column counts as dense only when it also has at least this many entries
// (short columns never hurt the fill, whatever the average).
constexpr int kMinDenseEntries = 30;
// At most this many dense columns: each costs one extra solve per
// factorisation and a row of the dense Schur complement.
constexpr int kMaxDenseColumns = 200;
// A non-positive pivot raises the regularisation tenfold (gently: a jump
// to a size relative to the largest diagonal entry distorts the rows with
// small entries and stalls the method), up to this bound relative to the
// largest diagonal entry of the normal matrix.
constexpr double kRegGrowth = 10.0;
constexpr double kMaxRelativeReg = 1e-2;
// Steps of iterative refinement against the unregularised operator.
constexpr int kRefineSteps = 2;
// Dense Schur complements with fewer multiply-adds than this are formed by
// one thread (a parallel region costs some microseconds).
constexpr double kParallelWork = 1e6;

// Dense Cholesky of a small symmetric positive definite matrix (row-major,
// lower triangle used); false on a non-positive pivot.
bool denseCholesky(std::vector<double>& s, int k) {
  for (int j = 0; j < k; ++j) {
    double d = s[j * k + j];
    for (int p = 0; p < j; ++p) d -= s[j * k + p] * s[j * k + p];
    if (!(d > 0.0)) return false;
    d = std::sqrt(d);
    s[j * k + j] = d;
    for (int i = j + 1; i < k; ++i) {
      double v = s[i * k + j];
      for (int p = 0; p < j; ++p) v -= s[i * k + p] * s[j * k + p];
      s[i * k + j] = v / d;
    }
  }
  return true;
}

void denseCholSolve(const std::vector<double>& l, int k, std::vector<double>& b) {
  for (int i = 0; i < k; ++i) {
    double v = b[i];
    for (int p = 0; p < i; ++p) v -= l[i * k + p] * b[p];
    b[i] = v / l[i * k + i];
  }
  for (int i = k - 1; i >= 0; --i) {
    double v = b[i];
    for (int p = i + 1; p < k; ++p) v -= l[p * k + i] * b[p];
    b[i] = v / l[i * k + i];
  }
}

}  // namespace

class NormalEquations::Impl {
 public:
  Impl(const CscMatrix& a, int denseFactor) : a_(a) {
    cholmod_start(&c_);
    c_.print = 0;
    c_.error_handler = nullptr;
    c_.supernodal = CHOLMOD_SUPERNODAL;
    const int m = a.rows, n = a.cols;
    const double avg = n > 0 ? static_cast<double>(a.start[n]) / n : 0.0;
    for (int j = 0; j < n; ++j) {
      const int len = a.start[j + 1] - a.start[j];
      const bool dense = denseFactor > 0 && len >= kMinDenseEntries && len > denseFactor * avg &&
                         static_cast<int>(dense_.size()) < kMaxDenseColumns;
      (dense ? dense_ : sparse_).push_back(j);
    }
    as_ = cholmod_allocate_sparse(m, n, std::max(1, a.start[n]), 0, 1, 0, CHOLMOD_REAL, &c_);
    if (!as_) throw std::bad_alloc();
    std::copy(a.start.begin(), a.start.end(), static_cast<int*>(as_->p));
    std::copy(a.index.begin(), a.index.end(), static_cast<int*>(as_->i));
    std::copy(a.value.begin(), a.value.end(), static_cast<double*>(as_->x));
    int* fset = dense_.empty() ? nullptr : sparse_.data();
    const std::size_t fsize = dense_.empty() ? 0 : sparse_.size();
    l_ = cholmod_analyze_p(as_, nullptr, fset, fsize, &c_);
    if (!l_) throw std::bad_alloc();
  }
  ~Impl() {
    if (l_) cholmod_free_factor(&l_, &c_);
    if (as_) cholmod_free_sparse(&as_, &c_);
    cholmod_finish(&c_);
  }

  bool factor(const std::vector<double>& theta, double& delta) {
    theta_ = theta;
    const int n = a_.cols, m = a_.rows;
    auto* x = static_cast<double*>(as_->x);
    double diagMax = 0.0;
    std::vector<double> diag(m, 0.0);
    for (int j = 0; j < n; ++j) {
      const double s = std::sqrt(theta[j]);
      for (int p = a_.start[j]; p < a_.start[j + 1]; ++p) {
        x[p] = a_.value[p] * s;
        diag[a_.index[p]] += x[p] * x[p];
      }
    }
    for (double d : diag) diagMax = std::max(diagMax, d);
    const double regLimit = kMaxRelativeReg * std::max(1.0, diagMax);
    int* fset = dense_.empty() ? nullptr : sparse_.data();
    const std::size_t fsize = dense_.empty() ? 0 : sparse_.size();
    for (;;) {
      double beta[2] = {delta, 0.0};
      c_.status = CHOLMOD_OK;
      cholmod_factorize_p(as_, beta, fset, fsize, l_, &c_);
      if (c_.status == CHOLMOD_OUT_OF_MEMORY) throw std::bad_alloc();
      if (c_.status == CHOLMOD_OK && l_->minor >= static_cast<std::size_t>(m) && factorDense()) break;
      if (delta >= regLimit) return false;
      delta = std::min(regLimit, delta * kRegGrowth);
    }
    delta_ = delta;
    return true;
  }

  void solve(const std::vector<double>& r, std::vector<double>& out) {
    solveRegularised(r, out);
    if (delta_ <= 0.0) return;
    std::vector<double> res(r.size()), ax, corr;
    double last = residual(r, out, ax, res);
    for (int step = 0; step < kRefineSteps && last > 0.0; ++step) {
      solveRegularised(res, corr);
      std::vector<double> trial(out);
      for (std::size_t i = 0; i < trial.size(); ++i) trial[i] += corr[i];
      std::vector<double> tres(r.size());
      const double now = residual(r, trial, ax, tres);
      if (!(now < last)) break;
      out.swap(trial);
      res.swap(tres);
      last = now;
    }
  }

  void multiply(const std::vector<double>& v, std::vector<double>& out) const {
    const int n = a_.cols;
    out.assign(a_.rows, 0.0);
    for (int j = 0; j < n; ++j) {
      double t = 0.0;
      for (int p = a_.start[j]; p < a_.start[j + 1]; ++p) t += a_.value[p] * v[a_.index[p]];
      t *= theta_[j];
      if (t == 0.0) continue;
      for (int p = a_.start[j]; p < a_.start[j + 1]; ++p) out[a_.index[p]] += a_.value[p] * t;
    }
  }

  int denseColumns() const { return static_cast<int>(dense_.size()); }

 private:
  // The dense columns: V = A_d Theta_d^1/2, W = M^-1 V and the Cholesky
  // factor of I + V'W.
  bool factorDense() {
    const int k = static_cast<int>(dense_.size()), m = a_.rows;
    if (k == 0) return true;
    v_.assign(static_cast<std::size_t>(k) * m, 0.0);
    w_.assign(static_cast<std::size_t>(k) * m, 0.0);
    for (int q = 0; q < k; ++q) {
      const int j = dense_[q];
      const double s = std::sqrt(theta_[j]);
      for (int p = a_.start[j]; p < a_.start[j + 1]; ++p) v_[q * m + a_.index[p]] = a_.value[p] * s;
    }
    std::vector<double> col(m), sol;
    for (int q = 0; q < k; ++q) {
      std::copy(v_.begin() + q * m, v_.begin() + (q + 1) * m, col.begin());
      sparseSolve(col, sol);
      std::copy(sol.begin(), sol.end(), w_.begin() + q * m);
    }
    s_.assign(static_cast<std::size_t>(k) * k, 0.0);
    // Rows of the Schur complement write disjoint entries; the team is the
    // interior-point method's (QX_IPARAM_IPM_NUM_THREADS).
#pragma omp parallel for schedule(dynamic) if (static_cast<double>(k) * k * m >= kParallelWork)
    for (int i = 0; i < k; ++i)
      for (int j = 0; j <= i; ++j) {
        double t = i == j ? 1.0 : 0.0;
        for (int r = 0; r < m; ++r) t += v_[i * m + r] * w_[j * m + r];
        s_[i * k + j] = s_[j * k + i] = t;
      }
    return denseCholesky(s_, k);
  }

  void sparseSolve(const std::vector<double>& r, std::vector<double>& out) {
    const int m = a_.rows;
    cholmod_dense* b = cholmod_allocate_dense(m, 1, m, CHOLMOD_REAL, &c_);
    if (!b) throw std::bad_alloc();
    std::copy(r.begin(), r.end(), static_cast<double*>(b->x));
    cholmod_dense* x = cholmod_solve(CHOLMOD_A, l_, b, &c_);
    cholmod_free_dense(&b, &c_);
    if (!x) throw std::bad_alloc();
    const auto* xv = static_cast<const double*>(x->x);
    out.assign(xv, xv + m);
    cholmod_free_dense(&x, &c_);
  }

  void solveRegularised(const std::vector<double>& r, std::vector<double>& out) {
    sparseSolve(r, out);
    const int k = static_cast<int>(dense_.size()), m = a_.rows;
    if (k == 0) return;
    std::vector<double> t(k, 0.0);
    for (int q = 0; q < k; ++q)
      for (int i = 0; i < m; ++i) t[q] += v_[q * m + i] * out[i];
    denseCholSolve(s_, k, t);
    for (int q = 0; q < k; ++q)
      for (int i = 0; i < m; ++i) out[i] -= w_[q * m + i] * t[q];
  }

  // res = r - A Theta A' x; returns its largest magnitude.
  double residual(const std::vector<double>& r, const std::vector<double>& x, std::vector<double>& ax,
                  std::vector<double>& res) const {
    multiply(x, ax);
    double big = 0.0;
    for (std::size_t i = 0; i < r.size(); ++i) {
      res[i] = r[i] - ax[i];
      big = std::max(big, std::fabs(res[i]));
    }
    return big;
  }

  const CscMatrix& a_;
  cholmod_common c_{};
  cholmod_sparse* as_ = nullptr;
  cholmod_factor* l_ = nullptr;
  std::vector<int> sparse_, dense_;
  std::vector<double> theta_, v_, w_, s_;
  double delta_ = 0.0;
};

NormalEquations::NormalEquations(const CscMatrix& a, int denseFactor)
    : impl_(std::make_unique<Impl>(a, denseFactor)) {}
NormalEquations::~NormalEquations() = default;
bool NormalEquations::factor(const std::vector<double>& theta, double& delta) {
  return impl_->factor(theta, delta);
}
void NormalEquations::solve(const std::vector<double>& r, std::vector<double>& out) { impl_->solve(r, out); }
void NormalEquations::multiply(const std::vector<double>& v, std::vector<double>& out) const {
  impl_->multiply(v, out);
}
int NormalEquations::denseColumns() const { return impl_->denseColumns(); }

}  // namespace torva::ipm
