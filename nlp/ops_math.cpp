// Probability functions (through the distribution layer of stoc/, which
// uses Boost.Math where it has the law), queueing and finance functions.
#include "nlp/ops_math.hpp"

#include <array>
#include <cmath>
#include <vector>

#include <boost/math/special_functions/digamma.hpp>
#include <boost/math/special_functions/trigamma.hpp>

#include "stoc/distributions.hpp"
#include "torva.h"

namespace torva::nlp {
namespace {

struct ProbRow {
  int op, type, func;
};

constexpr int kCdf = QX_DISTR_FUNC_CDF, kInv = QX_DISTR_FUNC_ICDF, kPdf = QX_DISTR_FUNC_PDF;

// Argument order of every probability op: the point (a probability for the
// inverses), then the parameters of the law in the order of the
// distribution layer.
constexpr ProbRow kProb[] = {
    {EP_PBT, 801, kCdf},      {EP_PBTINV, 801, kInv},   {EP_BTDENS, 801, kPdf},
    {EP_PBN, 701, kCdf},      {EP_PBNINV, 701, kInv},   {EP_BNDENS, 701, kPdf},
    {EP_PCC, 802, kCdf},      {EP_PCCINV, 802, kInv},   {EP_CCDENS, 802, kPdf},
    {EP_PCX, 803, kCdf},      {EP_PCXINV, 803, kInv},   {EP_CXDENS, 803, kPdf},
    {EP_EXPN, 804, kCdf},     {EP_EXPNINV, 804, kInv},  {EP_EXPDENS, 804, kPdf},
    {EP_EXPOINV, 804, kInv},  {EP_PFD, 805, kCdf},      {EP_PFDINV, 805, kInv},
    {EP_FDENS, 805, kPdf},    {EP_PGA, 806, kCdf},      {EP_PGAINV, 806, kInv},
    {EP_GADENS, 806, kPdf},   {EP_PGE, 705, kCdf},      {EP_PGEINV, 705, kInv},
    {EP_GEDENS, 705, kPdf},   {EP_PGU, 807, kCdf},      {EP_PGUINV, 807, kInv},
    {EP_GUDENS, 807, kPdf},   {EP_PHG, 708, kCdf},      {EP_PHGINV, 708, kInv},
    {EP_HGDENS, 708, kPdf},   {EP_PBB, 819, kCdf},      {EP_PBBINV, 819, kInv},
    {EP_BBDENS, 819, kPdf},   {EP_PLA, 808, kCdf},      {EP_PLAINV, 808, kInv},
    {EP_LADENS, 808, kPdf},   {EP_PLG, 707, kCdf},      {EP_PLGINV, 707, kInv},
    {EP_LGDENS, 707, kPdf},   {EP_LGT, 810, kCdf},      {EP_LGTINV, 810, kInv},
    {EP_LGTDENS, 810, kPdf},  {EP_LGNM, 809, kCdf},     {EP_LGNMINV, 809, kInv},
    {EP_LGNMDENS, 809, kPdf}, {EP_NGBN, 704, kCdf},     {EP_NGBNINV, 704, kInv},
    {EP_NGBNDENS, 704, kPdf}, {EP_PPT, 812, kCdf},      {EP_PPTINV, 812, kInv},
    {EP_PTDENS, 812, kPdf},   {EP_PPS, 706, kCdf},      {EP_PPSINV, 706, kInv},
    {EP_PSDENS, 706, kPdf},   {EP_PTD, 814, kCdf},      {EP_PTDINV, 814, kInv},
    {EP_TDENS, 814, kPdf},    {EP_PSS, 820, kCdf},      {EP_SSINV, 820, kInv},
    {EP_SSDENS, 820, kPdf},   {EP_TRIAN, 815, kCdf},    {EP_TRIANINV, 815, kInv},
    {EP_TRIAINV, 815, kInv},  {EP_TRIADENS, 815, kPdf}, {EP_UNIFM, 816, kCdf},
    {EP_UNIFMINV, 816, kInv}, {EP_UNIFINV, 816, kInv},  {EP_UNIFDENS, 816, kPdf},
    {EP_PWB, 817, kCdf},      {EP_PWBINV, 817, kInv},   {EP_WBDENS, 817, kPdf},
    {EP_NRM, 811, kCdf},      {EP_NORMCDF, 811, kCdf},  {EP_NRMINV, 811, kInv},
    {EP_NORMINV, 811, kInv},  {EP_NRMDENS, 811, kPdf},  {EP_NORMPDF, 811, kPdf},
};

const ProbRow* findProb(int op) noexcept {
  for (const ProbRow& r : kProb)
    if (r.op == op) return &r;
  return nullptr;
}

bool probValue(const ProbRow& r, const double* a, int nArgs, double& v) {
  stoc::DistrParams p{};
  for (int i = 1; i < nArgs && i <= stoc::kMaxDistrParams; ++i) p[static_cast<std::size_t>(i - 1)] = a[i];
  // The symmetric stable functions take the index only: location 0, scale 1.
  if (r.type == QX_DIST_SYM_STABLE) {
    p[1] = 0.0;
    p[2] = 1.0;
  }
  return stoc::evalDistribution(r.type, p, nullptr, r.func, a[0], v) == 0 && std::isfinite(v);
}

// Erlang's loss formula B(c, A) for c servers and offered load A, by the
// stable recursion B(k) = A B(k-1) / (k + A B(k-1)); a fractional c
// interpolates linearly between its neighbours so that the function is
// continuous in c.
double erlangB(double load, int servers) {
  double b = 1.0;
  for (int k = 1; k <= servers; ++k) b = load * b / (k + load * b);
  return b;
}

double erlangC(double load, int servers) {
  if (load >= servers) return 1.0;
  const double b = erlangB(load, servers);
  return servers * b / (servers - load * (1.0 - b));
}

template <class F>
bool interpolated(double c, F f, double& v) {
  constexpr double kMaxServers = 1e6;  // keeps the recursions bounded
  if (!(c >= 0) || c > kMaxServers) return false;
  const double lo = std::floor(c), t = c - lo;
  v = f(static_cast<int>(lo));
  if (t > 0) v = (1.0 - t) * v + t * f(static_cast<int>(lo) + 1);
  return std::isfinite(v);
}

// Expected shortfall E[max(X - x, 0)] of a law on 0..n given by its
// probabilities (finite sum below x).
double linearLoss(double mean, double x, const std::vector<double>& pmf) {
  double below = 0.0;
  for (std::size_t k = 0; k < pmf.size() && static_cast<double>(k) < x; ++k)
    below += (x - static_cast<double>(k)) * pmf[k];
  return mean - x + below;
}

constexpr double kMaxLossTerms = 1e6;  // bound on the summation length

bool poissonLoss(double lambda, double x, double& v) {
  if (!(lambda > 0) || !std::isfinite(x) || x > kMaxLossTerms) return false;
  std::vector<double> pmf;
  double p = std::exp(-lambda);
  for (int k = 0; k < x; ++k) {
    pmf.push_back(p);
    p *= lambda / (k + 1);
  }
  v = x <= 0 ? lambda - x : linearLoss(lambda, x, pmf);
  return std::isfinite(v);
}

bool binomialLoss(double n, double p, double x, double& v) {
  if (!(n >= 0) || n > kMaxLossTerms || !(p >= 0 && p <= 1) || !std::isfinite(x)) return false;
  const int trials = static_cast<int>(std::floor(n));
  std::vector<double> pmf;
  for (int k = 0; k <= trials && k < x; ++k) {
    const double logc = std::lgamma(trials + 1.0) - std::lgamma(k + 1.0) - std::lgamma(trials - k + 1.0);
    pmf.push_back(std::exp(logc + k * std::log(p) + (trials - k) * std::log1p(-p)));
  }
  v = linearLoss(trials * p, x, pmf);
  return std::isfinite(v);
}

// Finite-source queue M/M/s//N: expected number waiting with load per
// source L, s servers and N sources.
bool finiteSourceQueue(double load, double servers, double sources, double& v) {
  if (!(load >= 0) || !(servers >= 1) || servers > kMaxLossTerms || !(sources >= 0) || sources > kMaxLossTerms)
    return false;
  const int s = static_cast<int>(std::floor(servers)), n = static_cast<int>(std::floor(sources));
  std::vector<double> logw(static_cast<std::size_t>(n) + 1);
  double top = -INFINITY;
  for (int k = 0; k <= n; ++k) {
    double lw = std::lgamma(n + 1.0) - std::lgamma(n - k + 1.0) + (load > 0 ? k * std::log(load) : (k ? -INFINITY : 0));
    lw -= k <= s ? std::lgamma(k + 1.0) : std::lgamma(s + 1.0) + (k - s) * std::log(double(s));
    logw[static_cast<std::size_t>(k)] = lw;
    top = std::max(top, lw);
  }
  double total = 0.0, waiting = 0.0;
  for (int k = 0; k <= n; ++k) {
    const double w = std::exp(logw[static_cast<std::size_t>(k)] - top);
    total += w;
    if (k > s) waiting += (k - s) * w;
  }
  v = waiting / total;
  return std::isfinite(v);
}

}  // namespace

bool probabilityOp(int op, int& type, int& func, bool& discrete) noexcept {
  const ProbRow* r = findProb(op);
  if (!r) return false;
  type = r->type;
  func = r->func;
  // Codes below 800 are discrete laws, and so is the beta-binomial (819).
  discrete = r->type < 800 || r->type == QX_DIST_BETA_BINOMIAL;
  return true;
}

namespace {

bool specialByTable(int op) noexcept {
  switch (op) {
    case EP_FPA:
    case EP_FPL:
    case EP_PEL:
    case EP_PEB:
    case EP_PPL:
    case EP_PBNO:
    case EP_PFS:
      return true;
    default:
      return findProb(op) != nullptr;
  }
}

}  // namespace

bool isSpecial(int op) noexcept {
  // One flag per opcode, built once: the evaluator asks for every node.
  static const auto flags = [] {
    std::array<bool, EP_STDEV + 1> f{};
    for (int c = 0; c <= EP_STDEV; ++c) f[static_cast<std::size_t>(c)] = specialByTable(c);
    return f;
  }();
  return op >= 0 && op <= EP_STDEV && flags[static_cast<std::size_t>(op)];
}

bool specialValue(int op, const double* a, int nArgs, double& v) {
  if (const ProbRow* r = findProb(op)) return probValue(*r, a, nArgs, v);
  switch (op) {
    case EP_FPA:  // present value of an annuity of 1 per period: rate a[0], a[1] periods
      v = a[0] == 0.0 ? a[1] : (1.0 - std::pow(1.0 + a[0], -a[1])) / a[0];
      return std::isfinite(v) && a[0] > -1.0;
    case EP_FPL:  // present value of 1 paid after a[1] periods
      v = std::pow(1.0 + a[0], -a[1]);
      return std::isfinite(v) && a[0] > -1.0;
    case EP_PEL:  // Erlang loss probability: load a[0], a[1] servers
      return a[0] >= 0 && interpolated(a[1], [&](int c) { return erlangB(a[0], c); }, v);
    case EP_PEB:  // Erlang C: probability that an arrival waits
      return a[0] >= 0 && interpolated(a[1], [&](int c) { return erlangC(a[0], c); }, v);
    case EP_PPL:  // Poisson linear loss: mean a[0], level a[1]
      return poissonLoss(a[0], a[1], v);
    case EP_PBNO:  // binomial linear loss: trials a[0], probability a[1], level a[2]
      return binomialLoss(a[0], a[1], a[2], v);
    case EP_PFS:  // finite-source queue: load a[0], servers a[1], sources a[2]
      return finiteSourceQueue(a[0], a[1], a[2], v);
    default:
      return false;
  }
}

// Poles and overflows (arguments near 0 or a negative integer) give
// infinities instead of exceptions; the evaluator marks them like any other
// out-of-range value.
using QuietGamma = boost::math::policies::policy<
    boost::math::policies::overflow_error<boost::math::policies::ignore_error>,
    boost::math::policies::pole_error<boost::math::policies::ignore_error>,
    boost::math::policies::domain_error<boost::math::policies::ignore_error>,
    boost::math::policies::evaluation_error<boost::math::policies::ignore_error>>;

// psi(x) = psi(1 - x) - pi cot(pi x) and psi1(x) = -psi1(1 - x) + pi^2 / sin^2(pi x)
// for x < 0; cot and sin^2 have period 1 in x, so they are taken at
// r = x - nearest integer, in [-1/2, 1/2].
double digammaOf(double x) {
  if (x > 0) return boost::math::digamma(x, QuietGamma());
  const double r = x - std::nearbyint(x);
  return boost::math::digamma(1 - x, QuietGamma()) - M_PI / std::tan(M_PI * r);
}

double trigammaOf(double x) {
  if (x > 0) return boost::math::trigamma(x, QuietGamma());
  const double r = x - std::nearbyint(x);
  const double s = std::sin(M_PI * r);
  return -boost::math::trigamma(1 - x, QuietGamma()) + M_PI * M_PI / (s * s);
}

}  // namespace torva::nlp
