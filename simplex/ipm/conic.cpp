// The conic interior-point iteration: cone algebra, Nesterov-Todd scaling,
// starting point, predictor-corrector steps and termination.
#include "simplex/ipm/conic.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "simplex/ipm/threads.hpp"
#include "simplex/vector_norms.hpp"

namespace torva::ipm {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Steps shorter than this count as no progress; this many of them in a row
// end the run as stalled.
constexpr double kMinStep = 1e-10;
constexpr int kMaxShortSteps = 5;
// Floor of a tolerance in the merit (a tolerance of 0 asks for the best
// point the arithmetic gives).
constexpr double kTinyTol = 1e-16;
// A run that ends on numerical trouble or a limit returns its best iterate;
// when that iterate met every tolerance to within this factor (1e-6 relative
// with the default 1e-8 tolerances) it counts as optimal at reduced accuracy.
constexpr double kNearOptimal = 100.0;
// Once that close, an iterate this many times worse than the best one means
// the iteration has lost its accuracy: it stops.
constexpr double kDivergence = 1e3;
// A step that leaves the neighbourhood of the central path is shortened by
// this factor, at most this many times (0.8^30 is about 1e-3).
constexpr double kBacktrack = 0.8;
constexpr int kMaxBacktracks = 30;
// Fewer scaling blocks than this are assembled by one thread (the work per
// block is small).
constexpr int kParallelBlocks = 256;


// The cone K: orthant rows, then second-order cones. Vectors over K are
// stacked in that order.
struct Cones {
  int orthant = 0;
  std::vector<int> start, dim;  // of each second-order cone
  int size = 0;
  int degree() const { return orthant + static_cast<int>(dim.size()); }

  explicit Cones(const ConicProblem& p) : orthant(p.orthant), size(p.orthant) {
    for (int d : p.coneDims) {
      start.push_back(size);
      dim.push_back(d);
      size += d;
    }
  }

  // u o v (Jordan product).
  std::vector<double> product(const std::vector<double>& u, const std::vector<double>& v) const {
    std::vector<double> w(size);
    for (int i = 0; i < orthant; ++i) w[i] = u[i] * v[i];
    for (std::size_t k = 0; k < dim.size(); ++k) {
      const int s = start[k], d = dim[k];
      double t = 0.0;
      for (int i = 0; i < d; ++i) t += u[s + i] * v[s + i];
      w[s] = t;
      for (int i = 1; i < d; ++i) w[s + i] = u[s] * v[s + i] + v[s] * u[s + i];
    }
    return w;
  }
  // x with lambda o x = r, for lambda in the interior.
  std::vector<double> divide(const std::vector<double>& lambda, const std::vector<double>& r) const {
    std::vector<double> x(size);
    for (int i = 0; i < orthant; ++i) x[i] = r[i] / lambda[i];
    for (std::size_t k = 0; k < dim.size(); ++k) {
      const int s = start[k], d = dim[k];
      double l1r1 = 0.0, l1l1 = 0.0;
      for (int i = 1; i < d; ++i) {
        l1r1 += lambda[s + i] * r[s + i];
        l1l1 += lambda[s + i] * lambda[s + i];
      }
      const double l0 = lambda[s];
      x[s] = (l0 * r[s] - l1r1) / (l0 * l0 - l1l1);
      for (int i = 1; i < d; ++i) x[s + i] = (r[s + i] - x[s] * lambda[s + i]) / l0;
    }
    return x;
  }
  // Largest alpha with u + alpha du in K (u interior), or +inf.
  double maxStep(const std::vector<double>& u, const std::vector<double>& du) const {
    double alpha = kInf;
    for (int i = 0; i < orthant; ++i)
      if (du[i] < 0.0) alpha = std::min(alpha, -u[i] / du[i]);
    for (std::size_t k = 0; k < dim.size(); ++k) {
      const int s = start[k], d = dim[k];
      // f(t) = (u0 + t du0)^2 - ||u1 + t du1||^2 = qa t^2 + qb t + qc, qc > 0:
      // the boundary is the first positive root.
      double n1 = 0.0, d1 = 0.0, ud = 0.0;
      for (int i = 1; i < d; ++i) {
        n1 += u[s + i] * u[s + i];
        d1 += du[s + i] * du[s + i];
        ud += u[s + i] * du[s + i];
      }
      const double qa = du[s] * du[s] - d1, qb = 2.0 * (u[s] * du[s] - ud);
      const double qc = (u[s] - std::sqrt(n1)) * (u[s] + std::sqrt(n1));
      if (qc <= 0.0) return 0.0;
      double root = kInf;
      if (qa == 0.0) {
        if (qb < 0.0) root = -qc / qb;
      } else {
        const double disc = qb * qb - 4.0 * qa * qc;
        if (disc >= 0.0) {
          const double qq = -0.5 * (qb + std::copysign(std::sqrt(disc), qb));
          for (double r : {qq / qa, qq != 0.0 ? qc / qq : kInf})
            if (r > 0.0) root = std::min(root, r);
        }
      }
      // Also the axis: u0 + t du0 must stay positive (covered by f except at
      // the apex).
      if (du[s] < 0.0) root = std::min(root, -u[s] / du[s]);
      alpha = std::min(alpha, root);
    }
    return alpha;
  }
  // Smallest t with u + t e in K, e the identity (1 per orthant row, (1, 0)
  // per cone); negative when u is interior.
  double violation(const std::vector<double>& u) const {
    double t = -kInf;
    for (int i = 0; i < orthant; ++i) t = std::max(t, -u[i]);
    for (std::size_t k = 0; k < dim.size(); ++k) {
      double n1 = 0.0;
      for (int i = 1; i < dim[k]; ++i) n1 += u[start[k] + i] * u[start[k] + i];
      t = std::max(t, std::sqrt(n1) - u[start[k]]);
    }
    return t;
  }
  void addIdentity(std::vector<double>& u, double t) const {
    for (int i = 0; i < orthant; ++i) u[i] += t;
    for (int s : start) u[s] += t;
  }
};

// Nesterov-Todd scaling W of a pair (s, z) in the interior: W z = W^-1 s =
// lambda. Orthant: W = diag(sqrt(s / z)). Second-order cone (Vandenberghe
// 2010, section 4): W = eta (2 w w' - J)^(1/2) with J = diag(1, -I),
// w = (s/||s||_J + J z/||z||_J) / (2 gamma), eta = (||s||_J / ||z||_J)^(1/2).
struct Scaling {
  const Cones& k;
  std::vector<double> w;    // orthant: sqrt(s/z); cones: w (normalised, w'Jw = 1)
  std::vector<double> eta;  // per cone

  explicit Scaling(const Cones& cones) : k(cones), w(cones.size), eta(cones.dim.size()) {}

  void compute(const std::vector<double>& s, const std::vector<double>& z) {
    for (int i = 0; i < k.orthant; ++i) w[i] = std::sqrt(s[i] / z[i]);
    for (std::size_t c = 0; c < k.dim.size(); ++c) {
      const int b = k.start[c], d = k.dim[c];
      auto jnorm = [&](const std::vector<double>& u) {
        double n1 = 0.0;
        for (int i = 1; i < d; ++i) n1 += u[b + i] * u[b + i];
        return std::sqrt((u[b] - std::sqrt(n1)) * (u[b] + std::sqrt(n1)));
      };
      const double sn = jnorm(s), zn = jnorm(z);
      eta[c] = std::sqrt(sn / zn);
      double sz = 0.0;
      for (int i = 0; i < d; ++i) sz += s[b + i] * z[b + i];
      const double gamma = std::sqrt(0.5 * (1.0 + sz / (sn * zn)));
      w[b] = (s[b] / sn + z[b] / zn) / (2.0 * gamma);
      for (int i = 1; i < d; ++i) w[b + i] = (s[b + i] / sn - z[b + i] / zn) / (2.0 * gamma);
    }
  }
  // W v (inverse: W^-1 v).
  std::vector<double> apply(const std::vector<double>& v, bool inverse) const {
    std::vector<double> out(k.size);
    for (int i = 0; i < k.orthant; ++i) out[i] = inverse ? v[i] / w[i] : v[i] * w[i];
    for (std::size_t c = 0; c < k.dim.size(); ++c) {
      const int b = k.start[c], d = k.dim[c];
      const double sg = inverse ? -1.0 : 1.0, f = inverse ? 1.0 / eta[c] : eta[c];
      double w1v1 = 0.0;
      for (int i = 1; i < d; ++i) w1v1 += w[b + i] * v[b + i];
      out[b] = f * (w[b] * v[b] + sg * w1v1);
      const double t = sg * v[b] + w1v1 / (1.0 + w[b]);
      for (int i = 1; i < d; ++i) out[b + i] = f * (v[b + i] + t * w[b + i]);
    }
    return out;
  }
  // W^-2 v.
  std::vector<double> applyInverseSquare(const std::vector<double>& v) const {
    return apply(apply(v, true), true);
  }
};

// A search direction of the homogeneous model.
struct Direction {
  std::vector<double> x, y, z, s;
  double tau = 0.0, kappa = 0.0;
};

// The iteration works on the homogeneous self-dual embedding of the problem
// (Xu, Hung and Ye 1996; with cones, Andersen, Roos and Terlaky 2003; the
// quadratic term as in Goulart and Chen, "Clarabel", 2024):
//
//   P x + A'y + G'z + q tau              = 0
//   A x - b tau                          = 0
//   G x + s - h tau                      = 0
//   kappa + q'x + b'y + h'z + x'P x/tau  = 0,   s, z in K, tau, kappa >= 0,
//
// with the central path s o z = mu e, tau kappa = mu. Every problem has a
// bounded solution of it: tau > 0 gives the optimum (x, y, z, s) / tau,
// kappa > 0 a certificate (b'y + h'z < 0: (y, z) proves the primal
// infeasible; q'x < 0: x is an improving ray). The iterates stay bounded, so
// a model without an optimum ends with tau -> 0 instead of diverging.
class ConicSolver {
 public:
  ConicSolver(const ConicProblem& p, const ConicOptions& o, simplex::SolveContext& ctx)
      : p_(p), o_(o), ctx_(ctx), k_(p), kkt_(p), w_(k_) {
    bNorm_ = normInf(p.b);
    hNorm_ = normInf(p.h);
    qNorm_ = normInf(p.q);
    // G_k' J G_k of every cone block, for the scaled block matrices.
    for (int b = p.orthant; b < kkt_.blocks(); ++b) {
      const int nc = static_cast<int>(kkt_.blockCols(b).size()), d = kkt_.blockDim(b);
      const std::vector<double>& g = kkt_.blockG(b);
      std::vector<double> m(static_cast<std::size_t>(nc) * nc, 0.0);
      for (int r = 0; r < d; ++r) {
        const double sg = r == 0 ? 1.0 : -1.0;
        for (int x = 0; x < nc; ++x) {
          const double gx = g[static_cast<std::size_t>(r) * nc + x];
          if (gx == 0.0) continue;
          for (int y = 0; y < nc; ++y) m[static_cast<std::size_t>(x) * nc + y] += sg * gx * g[static_cast<std::size_t>(r) * nc + y];
        }
      }
      gjg_.push_back(std::move(m));
    }
  }

  ConicResult run();

 private:
  void log(const char* fmt, ...) {
    if (!ctx_.log) return;
    char buf[256];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    ctx_.log(buf);
  }
  std::vector<double> gTimes(const std::vector<double>& x) const {  // G x
    std::vector<double> out(k_.size, 0.0);
    for (int j = 0; j < p_.n; ++j)
      for (int q = p_.g.start[j]; q < p_.g.start[j + 1]; ++q) out[p_.g.index[q]] += p_.g.value[q] * x[j];
    return out;
  }
  std::vector<double> gtTimes(const std::vector<double>& v) const {  // G' v
    std::vector<double> out(p_.n, 0.0);
    for (int j = 0; j < p_.n; ++j)
      for (int q = p_.g.start[j]; q < p_.g.start[j + 1]; ++q) out[j] += p_.g.value[q] * v[p_.g.index[q]];
    return out;
  }
  static std::vector<double> times(const CscMatrix& a, const std::vector<double>& x) {
    std::vector<double> out(a.rows, 0.0);
    for (int j = 0; j < a.cols; ++j)
      for (int q = a.start[j]; q < a.start[j + 1]; ++q) out[a.index[q]] += a.value[q] * x[j];
    return out;
  }
  static std::vector<double> transTimes(const CscMatrix& a, const std::vector<double>& v) {
    std::vector<double> out(a.cols, 0.0);
    for (int j = 0; j < a.cols; ++j)
      for (int q = a.start[j]; q < a.start[j + 1]; ++q) out[j] += a.value[q] * v[a.index[q]];
    return out;
  }
  std::vector<double> pTimes(const std::vector<double>& x) const {  // P x from the upper triangle
    std::vector<double> out(p_.n, 0.0);
    for (int j = 0; j < p_.n; ++j)
      for (int q = p_.p.start[j]; q < p_.p.start[j + 1]; ++q) {
        const int i = p_.p.index[q];
        out[i] += p_.p.value[q] * x[j];
        if (i != j) out[j] += p_.p.value[q] * x[i];
      }
    return out;
  }
  // Factorises with the current scaling (identity when unit).
  bool factor(bool unit);
  // Solves P dx + A'dy + G'dz = ex, A dx = ey, G dx + ds = ez,
  // lambda o (W dz + W^-1 ds) = rs with the current factorisation.
  void solveReduced(const std::vector<double>& ex, const std::vector<double>& ey, const std::vector<double>& ez,
                    const std::vector<double>& rs, Direction& d);
  // The Newton direction of the embedding that reduces the residuals by the
  // fraction eta, with complementarity targets rs (for s, z) and rk (for
  // tau, kappa): one reduced solve added to a multiple of tauDir_.
  void direction(double eta, const std::vector<double>& rs, double rk, Direction& d);
  // Largest step keeping s, z in K and tau, kappa positive.
  double maxStep(const Direction& d) const;
  // Smallest pairwise complementarity (per orthant row, per cone the
  // geometric mean of the J-determinants, and tau kappa) over the average
  // after a step alpha along d.
  double centrality(double alpha, const Direction& d) const;
  bool start();
  ConicStatus checkStop(int it, double pobj);
  // Fills out with the iterate in the problem's units for status st.
  void finish(ConicStatus st, ConicResult& out) const;

  const ConicProblem& p_;
  const ConicOptions& o_;
  simplex::SolveContext& ctx_;
  Cones k_;
  ConicKkt kkt_;
  Scaling w_;
  std::vector<std::vector<double>> gjg_;
  double bNorm_ = 0.0, hNorm_ = 0.0, qNorm_ = 0.0;
  std::vector<double> x_, y_, z_, s_, lambda_;
  double tau_ = 1.0, kappa_ = 1.0;
  std::vector<double> rx_, ry_, rz_, px_;
  double rt_ = 0.0, xpx_ = 0.0;
  Direction tauDir_;  // the reduced solve for (-q, b, h, 0)
  int factorizations_ = 0;
};

bool ConicSolver::factor(bool unit) {
  std::vector<std::vector<double>> m(kkt_.blocks());
  // The blocks are independent; the team is the one ScopedThreads set.
#pragma omp parallel for schedule(dynamic, 16) if (kkt_.blocks() >= kParallelBlocks)
  for (int b = 0; b < kkt_.blocks(); ++b) {
    const int nc = static_cast<int>(kkt_.blockCols(b).size());
    const std::vector<double>& g = kkt_.blockG(b);
    m[b].assign(static_cast<std::size_t>(nc) * nc, 0.0);
    if (b < p_.orthant) {
      const double f = unit ? 1.0 : 1.0 / (w_.w[b] * w_.w[b]);
      for (int x = 0; x < nc; ++x)
        for (int y = 0; y < nc; ++y) m[b][static_cast<std::size_t>(x) * nc + y] = f * g[x] * g[y];
      continue;
    }
    const int c = b - p_.orthant, d = kkt_.blockDim(b), s = k_.start[c];
    if (unit) {  // G'G
      for (int r = 0; r < d; ++r)
        for (int x = 0; x < nc; ++x)
          for (int y = 0; y < nc; ++y)
            m[b][static_cast<std::size_t>(x) * nc + y] +=
                g[static_cast<std::size_t>(r) * nc + x] * g[static_cast<std::size_t>(r) * nc + y];
      continue;
    }
    // W^-2 = eta^-2 (2 J w w' J - J): G'W^-2 G = eta^-2 (2 v v' - G'J G), v = G'J w.
    std::vector<double> v(nc, 0.0);
    for (int r = 0; r < d; ++r) {
      const double jw = r == 0 ? w_.w[s] : -w_.w[s + r];
      for (int x = 0; x < nc; ++x) v[x] += g[static_cast<std::size_t>(r) * nc + x] * jw;
    }
    const double f = 1.0 / (w_.eta[c] * w_.eta[c]);
    const std::vector<double>& gjg = gjg_[c];
    for (int x = 0; x < nc; ++x)
      for (int y = 0; y < nc; ++y) {
        const std::size_t t = static_cast<std::size_t>(x) * nc + y;
        m[b][t] = f * (2.0 * v[x] * v[y] - gjg[t]);
      }
  }
  ++factorizations_;
  return kkt_.factor(m);
}

void ConicSolver::solveReduced(const std::vector<double>& ex, const std::vector<double>& ey,
                               const std::vector<double>& ez, const std::vector<double>& rs, Direction& d) {
  // lambda o (W dz + W^-1 ds) = rs  =>  ds = W (t - W dz), t = lambda \ rs;
  // G dx + ds = ez  =>  G dx - W^2 dz = ez - W t =: rzz;
  // dz = W^-2 (G dx - rzz); (P + G'W^-2 G) dx + A'dy = ex + G'W^-2 rzz.
  const std::vector<double> t = k_.divide(lambda_, rs);
  const std::vector<double> wt = w_.apply(t, false);
  std::vector<double> rzz(k_.size);
  for (int i = 0; i < k_.size; ++i) rzz[i] = ez[i] - wt[i];
  const std::vector<double> gw = gtTimes(w_.applyInverseSquare(rzz));
  std::vector<double> bx(p_.n);
  for (int j = 0; j < p_.n; ++j) bx[j] = ex[j] + gw[j];
  // Refinement against P + G'W^-2 G applied through the scaling itself, so
  // that dz below satisfies the dual equation to the accuracy of the refinement.
  auto op = [this](const std::vector<double>& v, std::vector<double>& out) {
    const std::vector<double> vx(v.begin(), v.begin() + p_.n), vy(v.begin() + p_.n, v.end());
    const std::vector<double> px = pTimes(vx), gwg = gtTimes(w_.applyInverseSquare(gTimes(vx)));
    const std::vector<double> aty = transTimes(p_.a, vy), ax = times(p_.a, vx);
    out.assign(v.size(), 0.0);
    for (int j = 0; j < p_.n; ++j) out[j] = px[j] + gwg[j] + aty[j];
    for (int i = 0; i < p_.a.rows; ++i) out[p_.n + i] = ax[i];
  };
  kkt_.solve(bx, ey, d.x, d.y, op);
  const std::vector<double> gdx = gTimes(d.x);
  std::vector<double> v(k_.size);
  for (int i = 0; i < k_.size; ++i) v[i] = gdx[i] - rzz[i];
  d.z = w_.applyInverseSquare(v);
  // ds from the linear equation G dx + ds = ez rather than from W (t - W dz):
  // W^2 grows ill-conditioned near the optimum, and the primal residual must
  // stay linear in the step.
  d.s.resize(k_.size);
  for (int i = 0; i < k_.size; ++i) d.s[i] = ez[i] - gdx[i];
}

void ConicSolver::direction(double eta, const std::vector<double>& rs, double rk, Direction& d) {
  std::vector<double> ex(p_.n), ey(p_.a.rows), ez(k_.size);
  for (int j = 0; j < p_.n; ++j) ex[j] = -eta * rx_[j];
  for (int i = 0; i < p_.a.rows; ++i) ey[i] = -eta * ry_[i];
  for (int i = 0; i < k_.size; ++i) ez[i] = -eta * rz_[i];
  solveReduced(ex, ey, ez, rs, d);
  // The tau row, linearised: dkappa + (q + 2 P x/tau)'dx + b'dy + h'dz
  // - (x'P x/tau^2) dtau = -eta rt, with tau dkappa + kappa dtau = rk. Its
  // coefficient of dtau is negative: -(d2x - x/tau)'P(d2x - x/tau)
  // - d2z'W^2 d2z - kappa/tau for the direction d2 of tauDir_.
  auto row = [this](const Direction& v) {
    double t = dot(p_.q, v.x) + dot(p_.b, v.y) + dot(p_.h, v.z);
    for (int j = 0; j < p_.n; ++j) t += 2.0 * px_[j] / tau_ * v.x[j];
    return t;
  };
  const double den = row(tauDir_) - kappa_ / tau_ - xpx_ / (tau_ * tau_);
  const double dtau = (-eta * rt_ - rk / tau_ - row(d)) / den;
  for (int j = 0; j < p_.n; ++j) d.x[j] += dtau * tauDir_.x[j];
  for (int i = 0; i < p_.a.rows; ++i) d.y[i] += dtau * tauDir_.y[i];
  for (int i = 0; i < k_.size; ++i) {
    d.z[i] += dtau * tauDir_.z[i];
    d.s[i] += dtau * tauDir_.s[i];
  }
  d.tau = dtau;
  d.kappa = (rk - kappa_ * dtau) / tau_;
}

double ConicSolver::maxStep(const Direction& d) const {
  double alpha = std::min(k_.maxStep(s_, d.s), k_.maxStep(z_, d.z));
  if (d.tau < 0.0) alpha = std::min(alpha, -tau_ / d.tau);
  if (d.kappa < 0.0) alpha = std::min(alpha, -kappa_ / d.kappa);
  return alpha;
}

double ConicSolver::centrality(double alpha, const Direction& d) const {
  std::vector<double> s(s_), z(z_);
  for (int i = 0; i < k_.size; ++i) {
    s[i] += alpha * d.s[i];
    z[i] += alpha * d.z[i];
  }
  const double tk = (tau_ + alpha * d.tau) * (kappa_ + alpha * d.kappa);
  const double mu = (dot(s, z) + tk) / (k_.degree() + 1);
  if (!(mu > 0.0)) return 0.0;
  double worst = tk;
  for (int i = 0; i < k_.orthant; ++i) worst = std::min(worst, s[i] * z[i]);
  for (std::size_t c = 0; c < k_.dim.size(); ++c) {
    const int b = k_.start[c];
    double s1 = 0.0, z1 = 0.0;
    for (int i = 1; i < k_.dim[c]; ++i) {
      s1 += s[b + i] * s[b + i];
      z1 += z[b + i] * z[b + i];
    }
    const double det = (s[b] * s[b] - s1) * (z[b] * z[b] - z1);
    worst = std::min(worst, det > 0.0 ? std::sqrt(det) : 0.0);
  }
  return worst / mu;
}

bool ConicSolver::start() {
  // Least-squares start (Vandenberghe 2010, section 5.3): two solves of the
  // KKT system with W = I, one factorisation. The primal one, min ||s|| with
  // A x = b and G x + s = h, gives x and s; the dual one, min ||z|| with
  // P x + A'y + G'z + q = 0, gives y and z. Both are then shifted into the
  // cone. (Taking s and z from one solve with both right-hand sides gives z
  // the size of the primal slacks: far bounds then shift every z by their
  // distance, and the steps stay short until the scales have settled.)
  x_.assign(p_.n, 0.0);
  y_.assign(p_.a.rows, 0.0);
  if (!factor(true)) return false;
  std::vector<double> yp, xd, mq(p_.n);
  kkt_.solve(gtTimes(p_.h), p_.b, x_, yp);
  s_ = gTimes(x_);
  for (int i = 0; i < k_.size; ++i) s_[i] = p_.h[i] - s_[i];
  for (int j = 0; j < p_.n; ++j) mq[j] = -p_.q[j];
  kkt_.solve(mq, std::vector<double>(p_.a.rows, 0.0), xd, y_);
  z_ = gTimes(xd);
  const double ap = k_.violation(s_), ad = k_.violation(z_);
  if (ap >= 0.0) k_.addIdentity(s_, 1.0 + ap);
  if (ad >= 0.0) k_.addIdentity(z_, 1.0 + ad);
  // tau = 1 keeps the point; kappa starts on the central path with the cone
  // pair (tau kappa = s'z / degree), which keeps tau from collapsing in the
  // first steps when s and z are far from unit size.
  tau_ = 1.0;
  kappa_ = std::max(1.0, dot(s_, z_) / std::max(1, k_.degree()));
  return true;
}
ConicStatus ConicSolver::checkStop(int it, double pobj) {
  if (ctx_.stop && ctx_.stop->load()) return ConicStatus::Interrupted;
  if (ctx_.timeLimit >= 0 &&
      std::chrono::duration<double>(std::chrono::steady_clock::now() - ctx_.start).count() > ctx_.timeLimit)
    return ConicStatus::TimeLimit;
  if (ctx_.progress && ctx_.progress(it, pobj)) return ConicStatus::Interrupted;
  if (it >= o_.maxIterations) return ConicStatus::IterationLimit;
  return ConicStatus::Optimal;  // here: no reason to stop
}

void ConicSolver::finish(ConicStatus st, ConicResult& out) const {
  out.status = st;
  auto scaled = [](const std::vector<double>& v, double f) {
    std::vector<double> w(v);
    for (double& e : w) e *= f;
    return w;
  };
  if (st == ConicStatus::PrimalInfeasible) {
    // Normalised to b'y + h'z = -1.
    const double r = -(dot(p_.b, y_) + dot(p_.h, z_));
    out.y = scaled(y_, 1.0 / r), out.z = scaled(z_, 1.0 / r);
    out.x.assign(p_.n, 0.0), out.s.assign(k_.size, 0.0);
  } else if (st == ConicStatus::DualInfeasible) {
    // Normalised to q'x = -1.
    const double r = -dot(p_.q, x_);
    out.x = scaled(x_, 1.0 / r), out.s = scaled(s_, 1.0 / r);
    out.y.assign(p_.a.rows, 0.0), out.z.assign(k_.size, 0.0);
  } else {
    out.x = scaled(x_, 1.0 / tau_), out.y = scaled(y_, 1.0 / tau_);
    out.z = scaled(z_, 1.0 / tau_), out.s = scaled(s_, 1.0 / tau_);
  }
}

ConicResult ConicSolver::run() {
  ConicResult out;
  if (!start()) return out;
  const int degree = std::max(1, k_.degree());
  const bool trace = ctx_.printLevel >= 1 && ctx_.log;
  if (trace) log("\n%s", "B  fact     iter      primal obj        dual obj     pinf     dinf      gap  tau/kap");
  int shortSteps = 0;
  double bestMerit = kInf;
  ConicResult best;
  // Residuals of the two certificates relative to their objective values
  // (+inf while the objective has the wrong sign): a Farkas pair (y, z) and
  // an improving ray x.
  auto farkasResidual = [this](const std::vector<double>& aty, const std::vector<double>& gtz) {
    const double ray = -(dot(p_.b, y_) + dot(p_.h, z_));
    if (!(ray > 0.0)) return kInf;
    double worst = 0.0;
    for (int j = 0; j < p_.n; ++j) worst = std::max(worst, std::fabs(aty[j] + gtz[j]));
    return worst / ray;
  };
  auto rayResidual = [this]() {
    const double ray = -dot(p_.q, x_);
    if (!(ray > 0.0)) return kInf;
    std::vector<double> gs = gTimes(x_);
    for (int i = 0; i < k_.size; ++i) gs[i] += s_[i];
    return std::max({normInf(px_), normInf(times(p_.a, x_)), normInf(gs)}) / ray;
  };
  double farkas = kInf, ray = kInf;
  for (int it = 0;; ++it) {
    // Residuals of the embedding.
    px_ = pTimes(x_);
    const std::vector<double> aty = transTimes(p_.a, y_), gtz = gtTimes(z_);
    rx_.assign(p_.n, 0.0);
    for (int j = 0; j < p_.n; ++j) rx_[j] = px_[j] + aty[j] + gtz[j] + p_.q[j] * tau_;
    ry_ = times(p_.a, x_);
    for (int i = 0; i < p_.a.rows; ++i) ry_[i] -= p_.b[i] * tau_;
    rz_ = gTimes(x_);
    for (int i = 0; i < k_.size; ++i) rz_[i] += s_[i] - p_.h[i] * tau_;
    xpx_ = dot(x_, px_);
    const double qx = dot(p_.q, x_), byhz = dot(p_.b, y_) + dot(p_.h, z_);
    rt_ = kappa_ + qx + byhz + xpx_ / tau_;
    // The point (x, y, z, s) / tau of the original problem.
    const double pobj = (0.5 * xpx_ / tau_ + qx) / tau_;
    const double dobj = (-0.5 * xpx_ / tau_ - byhz) / tau_;
    const double gap = dot(s_, z_) / (tau_ * tau_);
    out.primalInfeas = std::max(normInf(ry_) / (1.0 + bNorm_), normInf(rz_) / (1.0 + hNorm_)) / tau_;
    out.dualInfeas = normInf(rx_) / (1.0 + qNorm_) / tau_;
    // The complementarity gap s'z relative to the objective (the difference
    // of the objectives equals it up to the residuals, which are tested apart).
    out.relativeGap = gap / (1.0 + std::min(std::fabs(pobj), std::fabs(dobj)));
    out.primalObjective = pobj;
    out.dualObjective = dobj;
    out.iterations = it;
    if (trace)
      log("\nB%6d %8d %16.9e %16.9e %8.1e %8.1e %8.1e %8.1e", factorizations_, it, pobj, dobj, out.primalInfeas,
          out.dualInfeas, gap, tau_ / kappa_);
    if (!std::isfinite(xpx_) || !std::isfinite(qx) || !std::isfinite(byhz) || !std::isfinite(rt_)) {
      out.status = ConicStatus::Stalled;
      break;
    }
    // The merit of the fallback also asks the objectives to agree.
    const double objGap = std::fabs(pobj - dobj) / (1.0 + std::min(std::fabs(pobj), std::fabs(dobj)));
    const double merit = std::max({out.primalInfeas / std::max(o_.pfeasTol, kTinyTol),
                                   out.dualInfeas / std::max(o_.dfeasTol, kTinyTol),
                                   std::max(out.relativeGap, objGap) / std::max(o_.gapTol, kTinyTol)});
    if (merit < bestMerit) {
      bestMerit = merit;
      best = out;
      finish(ConicStatus::Optimal, best);
    } else if (bestMerit <= kNearOptimal && merit > kDivergence * bestMerit) {
      out.status = ConicStatus::Stalled;
      break;
    }
    if (out.primalInfeas <= o_.pfeasTol && out.dualInfeas <= o_.dfeasTol && out.relativeGap <= o_.gapTol) {
      out.status = ConicStatus::Optimal;
      break;
    }
    // Without an optimum tau falls behind kappa and the iterate approaches a
    // certificate.
    farkas = farkasResidual(aty, gtz);
    ray = rayResidual();
    if (farkas <= o_.infeasTol) {
      out.status = ConicStatus::PrimalInfeasible;
      break;
    }
    if (ray <= o_.infeasTol) {
      out.status = ConicStatus::DualInfeasible;
      break;
    }
    const ConicStatus st = checkStop(it, pobj);
    if (st != ConicStatus::Optimal) {
      out.status = st;
      break;
    }
    // Scaling, factorisation and the direction that moves tau alone.
    w_.compute(s_, z_);
    lambda_ = w_.apply(z_, false);
    if (!factor(false)) {
      out.status = ConicStatus::Stalled;
      break;
    }
    {
      std::vector<double> mq(p_.n);
      for (int j = 0; j < p_.n; ++j) mq[j] = -p_.q[j];
      solveReduced(mq, p_.b, p_.h, std::vector<double>(k_.size, 0.0), tauDir_);
    }
    // Predictor.
    const std::vector<double> ll = k_.product(lambda_, lambda_);
    std::vector<double> rs(k_.size);
    for (int i = 0; i < k_.size; ++i) rs[i] = -ll[i];
    Direction d;
    direction(1.0, rs, -tau_ * kappa_, d);
    const double aff = std::min(1.0, maxStep(d));
    const double mu = (dot(s_, z_) + tau_ * kappa_) / (degree + 1);
    const double sigma = std::pow(1.0 - aff, 3);
    // Corrector with Mehrotra's second-order terms (W^-1 ds_a) o (W dz_a) and
    // dtau_a dkappa_a.
    const std::vector<double> cross = k_.product(w_.apply(d.s, true), w_.apply(d.z, false));
    const double rk = -tau_ * kappa_ - d.tau * d.kappa + sigma * mu;
    std::vector<double> e(k_.size, 0.0);
    k_.addIdentity(e, 1.0);
    for (int i = 0; i < k_.size; ++i) rs[i] = -ll[i] - cross[i] + sigma * mu * e[i];
    direction(1.0 - sigma, rs, rk, d);
    double alpha = std::min(1.0, o_.stepFraction * maxStep(d));
    // Shorter steps until the iterate keeps to the neighbourhood of the
    // central path that QX_DPARAM_IPM_TOL_PATH sets.
    for (int b = 0; b < kMaxBacktracks && centrality(alpha, d) < o_.pathTol; ++b) alpha *= kBacktrack;
    shortSteps = alpha < kMinStep ? shortSteps + 1 : 0;
    if (shortSteps >= kMaxShortSteps) {
      out.status = ConicStatus::Stalled;
      break;
    }
    for (int j = 0; j < p_.n; ++j) x_[j] += alpha * d.x[j];
    for (int i = 0; i < p_.a.rows; ++i) y_[i] += alpha * d.y[i];
    for (int i = 0; i < k_.size; ++i) {
      s_[i] += alpha * d.s[i];
      z_[i] += alpha * d.z[i];
    }
    tau_ += alpha * d.tau;
    kappa_ += alpha * d.kappa;
  }
  if (out.status == ConicStatus::Optimal || out.status == ConicStatus::Interrupted ||
      out.status == ConicStatus::PrimalInfeasible || out.status == ConicStatus::DualInfeasible) {
    finish(out.status, out);
    return out;
  }
  // A run that stops short of every tolerance: a certificate within a
  // hundredfold of its tolerance, else the best point.
  const bool unsettled = out.status == ConicStatus::Stalled && bestMerit > kNearOptimal;
  if (unsettled && std::min(farkas, ray) <= kNearOptimal * o_.infeasTol) {
    finish(farkas <= ray ? ConicStatus::PrimalInfeasible : ConicStatus::DualInfeasible, out);
    out.reducedAccuracy = true;
    return out;
  }
  const ConicStatus why = out.status;
  const int iterations = out.iterations;
  out = best;
  out.iterations = iterations;
  out.status = bestMerit <= kNearOptimal ? ConicStatus::Optimal : why;
  out.reducedAccuracy = out.status == ConicStatus::Optimal;
  return out;
}

}  // namespace

ConicResult solveConic(const ConicProblem& prob, const ConicOptions& options, simplex::SolveContext& context) {
  const ScopedThreads threads(ipmThreadCount(options.threads));
  ConicSolver solver(prob, options, context);
  return solver.run();
}

}  // namespace torva::ipm
