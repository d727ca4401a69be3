// Mehrotra's predictor-corrector (Mehrotra 1992) with Gondzio's multiple
// centrality correctors (Gondzio 1996) on the interior-point form of the
// LP. Bounds are kept as separate slack variables with their own residuals,
//   x - xl = l,  x + xu = u,  xl, xu >= 0,
// so the iterates need not satisfy the bounds until convergence.
//
// Infeasibility and unboundedness are recognised by a heuristic, not by a
// homogeneous embedding: when the dual (primal) iterates grow beyond every
// scale of the data while primal (dual) infeasibility persists, the run ends
// with PrimalInfeasible (DualInfeasible), and so does a run that makes no
// progress for long while far from every tolerance (the larger
// infeasibility names the verdict). The driver then runs the homogeneous
// embedding of the conic method for a certificate.
#include "simplex/ipm/ipm.hpp"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "simplex/ipm/ipm_problem.hpp"
#include "simplex/ipm/threads.hpp"
#include "simplex/vector_norms.hpp"

namespace torva::ipm {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// Relative duality gap that counts as optimal, matching the default
// feasibility tolerances of the simplex that takes over after crossover.
constexpr double kRelGapTol = 1e-8;
// Primal regularisation: added to Theta^-1 of every variable (proximal
// term, Altman and Gondzio 1999); free variables have no barrier term and
// rely on a larger one. Kept small: the proximal term leaves a dual
// residual of about kPrimalReg times the step, which stalls the dual side
// on variables that drift far along an unbounded optimal face (pilot).
constexpr double kPrimalReg = 1e-12;
constexpr double kFreeReg = 1e-8;
// Initial dual regularisation delta of the normal equations.
constexpr double kDualReg = 1e-10;
// Iterates whose norm exceeds this multiple of the data's scale are taken
// as diverging (infeasibility heuristic).
constexpr double kDivergence = 1e12;
// Stall: this many iterations in a row with both steps below kMinStep.
constexpr double kMinStep = 1e-8;
constexpr int kStallIterations = 5;
// Mehrotra's starting point shifts (Mehrotra 1992, section 7).
constexpr double kStartShift = 1.5;
constexpr double kStartFloor = 1e-2;
// Gondzio correctors: target box [beta_min mu, beta_max mu] of the
// complementarity products, enlarged trial step, and the acceptance factor
// of the step gain (Gondzio 1996).
constexpr double kBetaMin = 0.1;
constexpr double kBetaMax = 10.0;
constexpr double kStepEnlarge = 0.1;
constexpr double kCorrectorGain = 1.01;
// Mehrotra's centring exponent: sigma = (mu_aff / mu)^3.
constexpr double kSigmaPower = 3.0;
// Safeguard: when the shorter of the two steps of the last iteration fell
// below kShortStep, sigma is at least kSigmaAfterShortStep.
constexpr double kShortStep = 0.1;
constexpr double kSigmaAfterShortStep = 0.5;
// A point whose relative infeasibilities and gap all lie below this is
// close enough to the optimal face for crossover when the method cannot
// reach its tolerances; once the current point is worse than the best by
// the blow-up factor the run ends there (numerical breakdown near the end).
constexpr double kCrossoverReady = 1e-6;
constexpr double kBlowUp = 1e4;
// No progress: the best merit has not dropped below kProgress times itself
// for this many iterations (the iterates creep along the boundary); the run
// then ends with the best point if that is ready for crossover.
constexpr double kProgress = 0.9;
constexpr int kNoProgressIterations = 20;
// Far from crossover (best merit above kCrossoverReady), this many
// iterations without progress end the run as one without an optimum: an
// unbounded model's primal iterates can drift for hundreds of iterations
// below the divergence threshold (25fv47 with an improving ray added: 1000
// iterations; the embedding certifies it in 12).
constexpr int kNoProgressFar = 40;
// A step pair that leaves the neighbourhood of the central path set by
// QX_DPARAM_IPM_TOL_PATH is shortened by this factor, at most this many
// times (0.8^30 is about 1e-3).
constexpr double kBacktrack = 0.8;
constexpr int kMaxBacktracks = 30;

struct Point {
  std::vector<double> x, xl, xu, zl, zu, y;
};

struct Direction {
  std::vector<double> dx, dxl, dxu, dzl, dzu, dy;
};

class Solver {
 public:
  Solver(const IpmProblem& p, const IpmOptions& o, simplex::SolveContext& ctx)
      : p_(p), o_(o), ctx_(ctx), n_(p.vars()), m_(p.rows()), ne_(p.a, o.denseFactor) {
    for (int j = 0; j < n_; ++j) nc_ += p.hasLower[j] + p.hasUpper[j];
    bnorm_ = normInf(p.b);
    cnorm_ = normInf(p.c);
    for (int j = 0; j < n_; ++j) {
      if (p.hasLower[j]) unorm_ = std::max(unorm_, std::fabs(p.lower[j]));
      if (p.hasUpper[j]) unorm_ = std::max(unorm_, std::fabs(p.upper[j]));
    }
  }

  IpmStatus run(IpmResult& out);
  const Point& point() const { return pt_; }
  int denseColumns() const { return ne_.denseColumns(); }

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
  bool startingPoint();
  void residuals();
  double complementarity(const Point& q) const;
  bool factor();
  void direction(const std::vector<double>& rxl, const std::vector<double>& rxu, Direction& d);
  void stepLengths(const Direction& d, double& ap, double& ad) const;
  void correctors(Direction& d, double& ap, double& ad);
  void move(const Direction& d, double ap, double ad);
  // Smallest complementarity product over their average after the steps.
  double centrality(const Direction& d, double ap, double ad) const;
  void measures(IpmResult& out);

  const IpmProblem& p_;
  const IpmOptions& o_;
  simplex::SolveContext& ctx_;
  int n_, m_, nc_ = 0;
  double bnorm_ = 0.0, cnorm_ = 0.0, unorm_ = 0.0;
  NormalEquations ne_;
  Point pt_;
  std::vector<double> rb_, rc_, rl_, ru_, theta_;
  double mu_ = 0.0, delta_ = kDualReg;
  int factorizations_ = 0;
};

bool Solver::factor() {
  theta_.assign(n_, 0.0);
  for (int j = 0; j < n_; ++j) {
    double t = p_.hasLower[j] || p_.hasUpper[j] ? kPrimalReg : kFreeReg;
    if (p_.hasLower[j]) t += pt_.zl[j] / pt_.xl[j];
    if (p_.hasUpper[j]) t += pt_.zu[j] / pt_.xu[j];
    theta_[j] = 1.0 / t;
  }
  ++factorizations_;
  delta_ = kDualReg;
  return ne_.factor(theta_, delta_);
}

// Solves the Newton system for the current residuals and the
// complementarity right-hand sides rxl, rxu. With
//   Theta^-1 = Zl/Xl + Zu/Xu + rho,
//   f = rc - (rxl + Zl rl)/Xl + (rxu - Zu ru)/Xu,
// the bound rows and complementarity rows eliminate to
//   (A Theta A' + delta I) dy = rb + A Theta f,   dx = Theta (A' dy - f),
// and dxl = dx - rl, dxu = ru - dx, dzl = (rxl - Zl dxl)/Xl,
// dzu = (rxu - Zu dxu)/Xu.
void Solver::direction(const std::vector<double>& rxl, const std::vector<double>& rxu, Direction& d) {
  const CscMatrix& a = p_.a;
  std::vector<double> f(n_), rhs(rb_);
  for (int j = 0; j < n_; ++j) {
    double v = rc_[j];
    if (p_.hasLower[j]) v -= (rxl[j] + pt_.zl[j] * rl_[j]) / pt_.xl[j];
    if (p_.hasUpper[j]) v += (rxu[j] - pt_.zu[j] * ru_[j]) / pt_.xu[j];
    f[j] = v;
    const double t = theta_[j] * v;
    for (int q = a.start[j]; q < a.start[j + 1]; ++q) rhs[a.index[q]] += a.value[q] * t;
  }
  ne_.solve(rhs, d.dy);
  d.dx.assign(n_, 0.0);
  d.dxl.assign(n_, 0.0);
  d.dxu.assign(n_, 0.0);
  d.dzl.assign(n_, 0.0);
  d.dzu.assign(n_, 0.0);
  for (int j = 0; j < n_; ++j) {
    double aty = 0.0;
    for (int q = a.start[j]; q < a.start[j + 1]; ++q) aty += a.value[q] * d.dy[a.index[q]];
    const double dx = theta_[j] * (aty - f[j]);
    d.dx[j] = dx;
    if (p_.hasLower[j]) {
      d.dxl[j] = dx - rl_[j];
      d.dzl[j] = (rxl[j] - pt_.zl[j] * d.dxl[j]) / pt_.xl[j];
    }
    if (p_.hasUpper[j]) {
      d.dxu[j] = ru_[j] - dx;
      d.dzu[j] = (rxu[j] - pt_.zu[j] * d.dxu[j]) / pt_.xu[j];
    }
  }
}

void Solver::stepLengths(const Direction& d, double& ap, double& ad) const {
  ap = ad = 1.0;
  for (int j = 0; j < n_; ++j) {
    if (p_.hasLower[j]) {
      if (d.dxl[j] < 0.0) ap = std::min(ap, -pt_.xl[j] / d.dxl[j]);
      if (d.dzl[j] < 0.0) ad = std::min(ad, -pt_.zl[j] / d.dzl[j]);
    }
    if (p_.hasUpper[j]) {
      if (d.dxu[j] < 0.0) ap = std::min(ap, -pt_.xu[j] / d.dxu[j]);
      if (d.dzu[j] < 0.0) ad = std::min(ad, -pt_.zu[j] / d.dzu[j]);
    }
  }
}

double Solver::complementarity(const Point& q) const {
  double s = 0.0;
  for (int j = 0; j < n_; ++j) {
    if (p_.hasLower[j]) s += q.xl[j] * q.zl[j];
    if (p_.hasUpper[j]) s += q.xu[j] * q.zu[j];
  }
  return nc_ > 0 ? s / nc_ : 0.0;
}

void Solver::residuals() {
  const CscMatrix& a = p_.a;
  rb_ = p_.b;
  rc_.assign(n_, 0.0);
  rl_.assign(n_, 0.0);
  ru_.assign(n_, 0.0);
  for (int j = 0; j < n_; ++j) {
    double aty = 0.0;
    for (int q = a.start[j]; q < a.start[j + 1]; ++q) {
      rb_[a.index[q]] -= a.value[q] * pt_.x[j];
      aty += a.value[q] * pt_.y[a.index[q]];
    }
    rc_[j] = p_.c[j] - aty - pt_.zl[j] + pt_.zu[j];
    if (p_.hasLower[j]) rl_[j] = p_.lower[j] - pt_.x[j] + pt_.xl[j];
    if (p_.hasUpper[j]) ru_[j] = p_.upper[j] - pt_.x[j] - pt_.xu[j];
  }
  mu_ = complementarity(pt_);
}

// Mehrotra's starting point adapted to bounds: the least-norm solution of
// A x = b and the least-squares dual, then shifts that make the bound slacks
// and their duals positive and well centred.
bool Solver::startingPoint() {
  theta_.assign(n_, 1.0);
  delta_ = kDualReg;
  if (!ne_.factor(theta_, delta_)) return false;
  ++factorizations_;
  const CscMatrix& a = p_.a;
  std::vector<double> w, ac(m_, 0.0);
  ne_.solve(p_.b, w);
  pt_.x.assign(n_, 0.0);
  for (int j = 0; j < n_; ++j) {
    double t = 0.0;
    for (int q = a.start[j]; q < a.start[j + 1]; ++q) t += a.value[q] * w[a.index[q]];
    pt_.x[j] = t;
    for (int q = a.start[j]; q < a.start[j + 1]; ++q) ac[a.index[q]] += a.value[q] * p_.c[j];
  }
  ne_.solve(ac, pt_.y);
  pt_.xl.assign(n_, 0.0);
  pt_.xu.assign(n_, 0.0);
  pt_.zl.assign(n_, 0.0);
  pt_.zu.assign(n_, 0.0);
  double pmin = kInf, dmin = kInf;
  for (int j = 0; j < n_; ++j) {
    double aty = 0.0;
    for (int q = a.start[j]; q < a.start[j + 1]; ++q) aty += a.value[q] * pt_.y[a.index[q]];
    const double z = p_.c[j] - aty;
    if (p_.hasLower[j]) {
      pt_.xl[j] = pt_.x[j] - p_.lower[j];
      pt_.zl[j] = p_.hasUpper[j] ? std::max(z, 0.0) : z;
      pmin = std::min(pmin, pt_.xl[j]);
      dmin = std::min(dmin, pt_.zl[j]);
    }
    if (p_.hasUpper[j]) {
      pt_.xu[j] = p_.upper[j] - pt_.x[j];
      pt_.zu[j] = p_.hasLower[j] ? std::max(-z, 0.0) : -z;
      pmin = std::min(pmin, pt_.xu[j]);
      dmin = std::min(dmin, pt_.zu[j]);
    }
  }
  if (nc_ == 0) return true;
  const double dp = std::max(-kStartShift * pmin, 0.0), dd = std::max(-kStartShift * dmin, 0.0);
  double xz = 0.0, sx = 0.0, sz = 0.0;
  for (int j = 0; j < n_; ++j) {
    if (p_.hasLower[j]) {
      xz += (pt_.xl[j] + dp) * (pt_.zl[j] + dd);
      sx += pt_.xl[j] + dp;
      sz += pt_.zl[j] + dd;
    }
    if (p_.hasUpper[j]) {
      xz += (pt_.xu[j] + dp) * (pt_.zu[j] + dd);
      sx += pt_.xu[j] + dp;
      sz += pt_.zu[j] + dd;
    }
  }
  // A zero product (for example b = 0 and c = 0) still gets a positive start.
  const double sp = o_.primalSafe * (dp + (sz > 0 ? 0.5 * xz / sz : 0.0) + kStartFloor);
  const double sd = o_.dualSafe * (dd + (sx > 0 ? 0.5 * xz / sx : 0.0) + kStartFloor);
  for (int j = 0; j < n_; ++j) {
    if (p_.hasLower[j]) pt_.xl[j] += sp, pt_.zl[j] += sd;
    if (p_.hasUpper[j]) pt_.xu[j] += sp, pt_.zu[j] += sd;
  }
  return true;
}

// Gondzio's multiple centrality correctors: push the complementarity
// products of a trial point beyond the current step back into the box
// [beta_min mu_t, beta_max mu_t] and keep the corrected direction while it
// lengthens the step.
void Solver::correctors(Direction& d, double& ap, double& ad) {
  for (int k = 0; k < o_.maxCorrectors; ++k) {
    const double tp = std::min(1.0, ap * (1 + kStepEnlarge) + kStepEnlarge);
    const double td = std::min(1.0, ad * (1 + kStepEnlarge) + kStepEnlarge);
    Point trial;
    double prod = 0.0;
    std::vector<double> vl(n_, 0.0), vu(n_, 0.0);
    auto target = [&](double v, double muT) {
      if (v < kBetaMin * muT) return kBetaMin * muT - v;
      if (v > kBetaMax * muT) return std::max(kBetaMax * muT - v, -kBetaMax * muT);
      return 0.0;
    };
    for (int j = 0; j < n_; ++j) {
      if (p_.hasLower[j]) prod += (pt_.xl[j] + tp * d.dxl[j]) * (pt_.zl[j] + td * d.dzl[j]);
      if (p_.hasUpper[j]) prod += (pt_.xu[j] + tp * d.dxu[j]) * (pt_.zu[j] + td * d.dzu[j]);
    }
    const double muT = nc_ > 0 ? prod / nc_ : 0.0;
    if (!(muT > 0.0)) return;
    // The corrector's right-hand side: the current one (xz products of the
    // direction it solves) plus the centring term.
    std::vector<double> rxl(n_, 0.0), rxu(n_, 0.0);
    for (int j = 0; j < n_; ++j) {
      if (p_.hasLower[j]) {
        vl[j] = target((pt_.xl[j] + tp * d.dxl[j]) * (pt_.zl[j] + td * d.dzl[j]), muT);
        rxl[j] = pt_.zl[j] * d.dxl[j] + pt_.xl[j] * d.dzl[j] + vl[j];
      }
      if (p_.hasUpper[j]) {
        vu[j] = target((pt_.xu[j] + tp * d.dxu[j]) * (pt_.zu[j] + td * d.dzu[j]), muT);
        rxu[j] = pt_.zu[j] * d.dxu[j] + pt_.xu[j] * d.dzu[j] + vu[j];
      }
    }
    Direction c;
    direction(rxl, rxu, c);
    double cp, cd;
    stepLengths(c, cp, cd);
    if (cp + cd < kCorrectorGain * (ap + ad)) return;
    d = std::move(c);
    ap = cp;
    ad = cd;
  }
}

void Solver::move(const Direction& d, double ap, double ad) {
  for (int j = 0; j < n_; ++j) {
    pt_.x[j] += ap * d.dx[j];
    pt_.xl[j] += ap * d.dxl[j];
    pt_.xu[j] += ap * d.dxu[j];
    pt_.zl[j] += ad * d.dzl[j];
    pt_.zu[j] += ad * d.dzu[j];
  }
  for (int i = 0; i < m_; ++i) pt_.y[i] += ad * d.dy[i];
}

double Solver::centrality(const Direction& d, double ap, double ad) const {
  double sum = 0.0, worst = kInf;
  for (int j = 0; j < n_; ++j) {
    if (p_.hasLower[j]) {
      const double v = (pt_.xl[j] + ap * d.dxl[j]) * (pt_.zl[j] + ad * d.dzl[j]);
      sum += v;
      worst = std::min(worst, v);
    }
    if (p_.hasUpper[j]) {
      const double v = (pt_.xu[j] + ap * d.dxu[j]) * (pt_.zu[j] + ad * d.dzu[j]);
      sum += v;
      worst = std::min(worst, v);
    }
  }
  if (nc_ == 0 || !(sum > 0.0)) return kInf;
  return worst / (sum / nc_);
}

void Solver::measures(IpmResult& out) {
  double pobj = p_.fixedCost, dobj = p_.fixedCost;
  for (int j = 0; j < n_; ++j) {
    pobj += p_.c[j] * pt_.x[j];
    if (p_.hasLower[j]) dobj += p_.lower[j] * pt_.zl[j];
    if (p_.hasUpper[j]) dobj -= p_.upper[j] * pt_.zu[j];
  }
  for (int i = 0; i < m_; ++i) dobj += p_.b[i] * pt_.y[i];
  out.primalObjective = pobj;
  out.dualObjective = dobj;
  out.primalInfeas = std::max(normInf(rb_) / (1 + bnorm_), std::max(normInf(rl_), normInf(ru_)) / (1 + unorm_));
  out.dualInfeas = normInf(rc_) / (1 + cnorm_);
  out.relativeGap = std::fabs(pobj - dobj) / (1 + std::fabs(pobj));
}

IpmStatus Solver::run(IpmResult& out) {
  if (!startingPoint()) return IpmStatus::Stalled;
  const bool trace = ctx_.printLevel >= 1 && ctx_.log;
  if (trace)
    log("\n%s", "B  fact     iter      primal obj        dual obj     pinf     dinf       mu    delta");
  double mu0 = -1.0, bestMerit = kInf;
  int stalled = 0, sinceProgress = 0;
  double lastStep = 1.0;
  Point best;
  IpmResult bestMeasures;
  // Any exit without an optimum falls back on the best point when it is
  // close enough for crossover.
  auto finish = [&](IpmStatus s) {
    if (bestMerit > kCrossoverReady) return s;
    pt_ = best;
    out = bestMeasures;
    return IpmStatus::Imprecise;
  };
  for (int it = 0;; ++it) {
    residuals();
    if (mu0 < 0) mu0 = std::max(mu_, std::numeric_limits<double>::min());
    measures(out);
    out.iterations = it;
    if (trace)
      log("\nB%6d %8d %16.9e %16.9e %8.1e %8.1e %8.1e %8.1e", factorizations_, it, out.primalObjective,
          out.dualObjective, out.primalInfeas, out.dualInfeas, mu_, delta_);
    const bool feasible = out.primalInfeas <= o_.pfeasTol && out.dualInfeas <= o_.dfeasTol;
    // Optimal: feasible with a closed gap, or feasible with the
    // complementarity reduced as asked and the gap within what crossover
    // needs.
    const bool muReduced = mu_ <= o_.muRed * mu0 && out.relativeGap <= kCrossoverReady;
    if (feasible && (out.relativeGap <= kRelGapTol || muReduced)) return IpmStatus::Optimal;
    const double merit = std::max(out.relativeGap, std::max(out.primalInfeas, out.dualInfeas));
    if (merit < bestMerit) {
      if (merit < kProgress * bestMerit) sinceProgress = 0;
      bestMerit = merit;
      best = pt_;
      bestMeasures = out;
    } else if (bestMerit <= kCrossoverReady && merit > kBlowUp * bestMerit) {
      return finish(IpmStatus::Stalled);
    }
    if (++sinceProgress > kNoProgressIterations && bestMerit <= kCrossoverReady) return finish(IpmStatus::Stalled);
    if (sinceProgress > kNoProgressFar && bestMerit > kCrossoverReady)
      return out.primalInfeas > out.dualInfeas ? IpmStatus::PrimalInfeasible : IpmStatus::DualInfeasible;
    const double xnorm = std::max(normInf(pt_.x), std::max(normInf(pt_.xl), normInf(pt_.xu)));
    const double znorm = std::max(normInf(pt_.y), std::max(normInf(pt_.zl), normInf(pt_.zu)));
    if (znorm > kDivergence * (1 + cnorm_) && out.primalInfeas > o_.pfeasTol) return IpmStatus::PrimalInfeasible;
    if (xnorm > kDivergence * (1 + bnorm_ + unorm_) && out.dualInfeas > o_.dfeasTol)
      return IpmStatus::DualInfeasible;
    if (it >= o_.maxIterations) return finish(IpmStatus::IterationLimit);
    if (ctx_.stop && ctx_.stop->load()) return IpmStatus::Interrupted;
    if (ctx_.timeLimit >= 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - ctx_.start).count() > ctx_.timeLimit)
      return IpmStatus::TimeLimit;
    if (ctx_.progress && ctx_.progress(it, out.primalObjective)) return IpmStatus::Interrupted;
    if (!factor()) return finish(IpmStatus::Stalled);

    // Predictor (affine scaling) direction.
    std::vector<double> rxl(n_, 0.0), rxu(n_, 0.0);
    for (int j = 0; j < n_; ++j) {
      if (p_.hasLower[j]) rxl[j] = -pt_.xl[j] * pt_.zl[j];
      if (p_.hasUpper[j]) rxu[j] = -pt_.xu[j] * pt_.zu[j];
    }
    Direction aff;
    direction(rxl, rxu, aff);
    double ap, ad;
    stepLengths(aff, ap, ad);
    double muAff = 0.0;
    for (int j = 0; j < n_; ++j) {
      if (p_.hasLower[j]) muAff += (pt_.xl[j] + ap * aff.dxl[j]) * (pt_.zl[j] + ad * aff.dzl[j]);
      if (p_.hasUpper[j]) muAff += (pt_.xu[j] + ap * aff.dxu[j]) * (pt_.zu[j] + ad * aff.dzu[j]);
    }
    muAff = nc_ > 0 ? muAff / nc_ : 0.0;
    double sigma = mu_ > 0 ? std::min(1.0, std::pow(muAff / mu_, kSigmaPower)) : 0.0;
    // After short steps the iterates sit close to the boundary: centre more.
    if (lastStep < kShortStep) sigma = std::max(sigma, kSigmaAfterShortStep);
    // Corrector: centring plus the second-order term of the predictor.
    for (int j = 0; j < n_; ++j) {
      if (p_.hasLower[j]) rxl[j] = sigma * mu_ - pt_.xl[j] * pt_.zl[j] - aff.dxl[j] * aff.dzl[j];
      if (p_.hasUpper[j]) rxu[j] = sigma * mu_ - pt_.xu[j] * pt_.zu[j] - aff.dxu[j] * aff.dzu[j];
    }
    Direction d;
    direction(rxl, rxu, d);
    stepLengths(d, ap, ad);
    correctors(d, ap, ad);
    ap = std::min(1.0, o_.relStep * ap);
    ad = std::min(1.0, o_.relStep * ad);
    for (int b = 0; b < kMaxBacktracks && centrality(d, ap, ad) < o_.pathTol; ++b) {
      ap *= kBacktrack;
      ad *= kBacktrack;
    }
    stalled = (ap < kMinStep && ad < kMinStep) ? stalled + 1 : 0;
    lastStep = std::min(ap, ad);
    if (stalled >= kStallIterations) return finish(IpmStatus::Stalled);
    move(d, ap, ad);
  }
}

}  // namespace

IpmResult solveLp(const simplex::Lp& lp, const IpmOptions& options, simplex::SolveContext& context) {
  IpmResult out;
  const IpmProblem p = buildProblem(lp);
  const int n = lp.n, m = lp.m;
  if (p.boundsInconsistent) {
    out.status = IpmStatus::PrimalInfeasible;
    return out;
  }
  const ScopedThreads threads(ipmThreadCount(options.threads));
  Solver solver(p, options, context);
  out.status = solver.run(out);
  out.denseColumns = solver.denseColumns();
  // Back to the bounded form: fixed columns at their bound, slacks of
  // equality and free rows from b - A x, reduced costs c - [A I]' y.
  const Point& pt = solver.point();
  out.x.assign(n + m, 0.0);
  out.y.assign(m, 0.0);
  out.z.assign(n + m, 0.0);
  for (int j = 0; j < n; ++j)
    if (lp.lower[j] == lp.upper[j]) out.x[j] = lp.lower[j];
  for (int k = 0; k < p.vars() && !pt.x.empty(); ++k) out.x[p.varOf[k]] = pt.x[k];
  for (int r = 0; r < p.rows() && !pt.y.empty(); ++r) out.y[p.rowOf[r]] = pt.y[r];
  std::vector<double> ax(m, 0.0);
  for (int j = 0; j < n; ++j) {
    double aty = 0.0;
    for (int q = lp.colStart[j]; q < lp.colStart[j + 1]; ++q) {
      ax[lp.rowIndex[q]] += lp.colValue[q] * out.x[j];
      aty += lp.colValue[q] * out.y[lp.rowIndex[q]];
    }
    out.z[j] = lp.cost[j] - aty;
  }
  for (int i = 0; i < m; ++i) {
    if (lp.rowType[i] != 'L' && lp.rowType[i] != 'G') out.x[n + i] = lp.rhs[i] - ax[i];
    out.z[n + i] = -out.y[i];
  }
  return out;
}

}  // namespace torva::ipm
