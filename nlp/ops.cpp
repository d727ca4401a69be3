// Local values, first and second partial derivatives of every operator.
//
// Elementary functions have closed forms, and so do (through second-order
// forward numbers, ops_exact.cpp) the laws with elementary distribution
// functions, the finance and queueing functions and the discrete laws in
// their parameters. The laws whose distribution functions are special
// functions of their shape parameters (beta, chi-square, F, gamma, Student
// t, stable) use the density for the partial of a cumulative function in
// its point and the reciprocal density at the quantile for an inverse.
// What has no closed form (the stable law in its index, the host's user
// functions, and any law whose formula disagrees with the distribution
// layer) gets its first partials from the model's difference rule
// (QX_DPARAM_NLP_PSTEP_FINITEDIFF, QX_IPARAM_NLP_DERIV_DIFFTYPE) and its
// second partials from central differences with the step below.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>


#include "base/callback.hpp"
#include "nlp/opcodes.hpp"
#include "nlp/ops_math.hpp"
#include "nlp/tape.hpp"
#include "stoc/distributions.hpp"
#include "torva.h"

namespace torva::nlp {
namespace {

constexpr double kLn10 = 2.302585092994046;
constexpr double kInvSqrt2Pi = 0.3989422804014327;
constexpr double kTwoOverSqrtPi = 1.1283791670955126;
constexpr double kDegPerRad = 57.29577951308232;
constexpr double kRadPerDeg = 0.017453292519943295;
// ln of the largest double: above it exp overflows.
constexpr double kExpOverflow = 709.782712893384;
constexpr double kMaxDouble = 1.7976931348623157e308;
// Step of second differences relative to max(1, |a|): eps^(1/4) balances
// truncation and rounding error (Nocedal and Wright, "Numerical
// Optimization", sec. 8.1).
constexpr double kStep2 = 1.220703125e-04;

inline int tri(int i, int l) { return i * (i + 1) / 2 + l; }

double phi(double z) { return kInvSqrt2Pi * std::exp(-0.5 * z * z); }
double Phi(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }
// Upper tail 1 - Phi(z), accurate where it is tiny.
double PhiUpper(double z) { return 0.5 * std::erfc(z / std::sqrt(2.0)); }

// Below this argument ln Phi(z) is taken from Mills' ratio: Phi(z) itself
// loses its relative accuracy as erfc underflows near z = -37.
constexpr double kMillsFrom = -5.0;
// Terms of Laplace's continued fraction of Mills' ratio
// R(t) = (1 - Phi(t)) / phi(t) = 1/(t + 1/(t + 2/(t + 3/(t + ...)))); for
// t >= 5 a hundred terms are exact to rounding (Abramowitz and Stegun 26.2.14).
constexpr int kMillsTerms = 100;
constexpr double kLnSqrt2Pi = 0.9189385332046728;

double millsRatio(double t) {
  double f = t;
  for (int k = kMillsTerms; k >= 1; --k) f = t + k / f;
  return 1.0 / f;
}

// ln Phi(z) and its slope phi(z)/Phi(z).
void lnPhi(double z, double& v, double& slope) {
  if (z > kMillsFrom) {
    const double p = Phi(z);
    v = z > 0 ? std::log1p(-PhiUpper(z)) : std::log(p);
    slope = phi(z) / p;
    return;
  }
  const double r = millsRatio(-z);
  v = -0.5 * z * z - kLnSqrt2Pi + std::log(r);
  slope = 1.0 / r;
}

// Inverse of the standard normal distribution through the layer's normal law.
double PhiInv(double p) {
  stoc::DistrParams prm{};
  prm[1] = 1.0;
  double q = 0.0;
  stoc::evalDistribution(QX_DIST_NORMAL, prm, nullptr, QX_DISTR_FUNC_ICDF, p, q);
  return q;
}

double roundDigits(int op, double a, double digits) {
  const double f = std::pow(10.0, std::trunc(digits));
  const double s = a * f;
  switch (op) {
    case EP_ROUND:
      return std::round(s) / f;
    case EP_ROUNDUP:
      return (s < 0 ? -std::ceil(-s) : std::ceil(s)) / f;
    default:  // EP_ROUNDDOWN, EP_TRUNC
      return std::trunc(s) / f;
  }
}

// A value that depends only on the bits of its argument, uniform in [0, 1)
// (SplitMix64 finaliser, Steele, Lea and Flood 2014).
double hashUniform(double a) {
  std::uint64_t z;
  std::memcpy(&z, &a, sizeof z);
  z += 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-53;
}

struct Local {
  double v = 0, d = 0, dd = 0;
  bool mark = false;
};

// Unary functions: value, first and second derivative.
Local unary(int op, double a, const EvalConstants& k) {
  Local r;
  switch (op) {
    case EP_POSATE: r = {a, 1, 0}; break;
    case EP_NEGATE: r = {-a, -1, 0}; break;
    case EP_PERCENT: r = {0.01 * a, 0.01, 0}; break;
    case EP_RADIANS: r = {a * kRadPerDeg, kRadPerDeg, 0}; break;
    case EP_DEGREES: r = {a * kDegPerRad, kDegPerRad, 0}; break;
    case EP_ABS: r = {std::fabs(a), a > 0 ? 1.0 : (a < 0 ? -1.0 : 0.0), 0}; break;
    case EP_SQR: r = {a * a, 2 * a, 2}; break;
    case EP_SQRT:
      if (a < 0) r = {k.large, k.large, 0, true};
      else if (a == 0) r = {0, k.large, 0};  // infinite slope at 0: the large value
      else {
        const double s = std::sqrt(a);
        r = {s, 0.5 / s, -0.25 / (a * s)};
      }
      break;
    case EP_LN:
    case EP_LOG: {
      const double scale = op == EP_LOG ? 1.0 / kLn10 : 1.0;
      if (a < 0) r = {k.large, k.large, 0, true};
      else if (a < k.lnThreshold) r = {k.lnNearZero * scale, scale / k.lnThreshold, 0, true};
      else r = {std::log(a) * scale, scale / a, -scale / (a * a)};
      break;
    }
    case EP_LNX:
    case EP_LOGX: {  // a ln(a) (a log10(a)), 0 at a = 0
      const double scale = op == EP_LOGX ? 1.0 / kLn10 : 1.0;
      if (a < 0) r = {k.large, k.large, 0, true};
      else if (a == 0) r = {0, -k.large, 0};
      else r = {a * std::log(a) * scale, (std::log(a) + 1) * scale, scale / a};
      break;
    }
    case EP_EXP:
      if (a > kExpOverflow) r = {kMaxDouble, kMaxDouble, kMaxDouble, true};
      else {
        const double e = std::exp(a);
        r = {e, e, e};
      }
      break;
    case EP_SIN: r = {std::sin(a), std::cos(a), -std::sin(a)}; break;
    case EP_COS: r = {std::cos(a), -std::sin(a), -std::cos(a)}; break;
    case EP_TAN: {
      const double t = std::tan(a), s = 1 + t * t;
      r = {t, s, 2 * t * s};
      break;
    }
    case EP_ATAN: {
      const double s = 1 + a * a;
      r = {std::atan(a), 1 / s, -2 * a / (s * s)};
      break;
    }
    case EP_ASIN:
    case EP_ACOS: {
      const double sign = op == EP_ASIN ? 1.0 : -1.0;
      if (std::fabs(a) > 1) r = {k.large, k.large, 0, true};
      else if (std::fabs(a) == 1) r = {op == EP_ASIN ? std::asin(a) : std::acos(a), sign * k.large, 0};
      else {
        const double s = 1 - a * a;
        r = {op == EP_ASIN ? std::asin(a) : std::acos(a), sign / std::sqrt(s), sign * a / (s * std::sqrt(s))};
      }
      break;
    }
    case EP_SINH: r = {std::sinh(a), std::cosh(a), std::sinh(a)}; break;
    case EP_COSH: r = {std::cosh(a), std::sinh(a), std::cosh(a)}; break;
    case EP_TANH: {
      const double t = std::tanh(a), s = 1 - t * t;
      r = {t, s, -2 * t * s};
      break;
    }
    case EP_ASINH: {
      const double s = 1 + a * a;
      r = {std::asinh(a), 1 / std::sqrt(s), -a / (s * std::sqrt(s))};
      break;
    }
    case EP_ACOSH:
      if (a < 1) r = {k.large, k.large, 0, true};
      else if (a == 1) r = {0, k.large, 0};
      else {
        const double s = a * a - 1;
        r = {std::acosh(a), 1 / std::sqrt(s), -a / (s * std::sqrt(s))};
      }
      break;
    case EP_ATANH:
      if (std::fabs(a) >= 1) r = {k.large, k.large, 0, true};
      else {
        const double s = 1 - a * a;
        r = {std::atanh(a), 1 / s, 2 * a / (s * s)};
      }
      break;
    case EP_PSN: r = {Phi(a), phi(a), -a * phi(a)}; break;
    case EP_PSL:  // standard normal linear loss E[max(Z - a, 0)]
      r = {phi(a) - a * (1 - Phi(a)), Phi(a) - 1, phi(a)};
      break;
    case EP_NORMDENS: r = {phi(a), -a * phi(a), (a * a - 1) * phi(a)}; break;
    case EP_PSN_UPPER: r = {PhiUpper(a), -phi(a), a * phi(a)}; break;
    case EP_PSN_LOG: {  // (ln Phi)'' = -m (a + m) with m = phi/Phi
      double v, m;
      lnPhi(a, v, m);
      r = {v, m, -m * (a + m)};
      break;
    }
    case EP_NORMSINV:
      if (!(a > 0 && a < 1)) r = {k.large, k.large, 0, true};
      else {
        const double z = PhiInv(a), f = phi(z);
        r = {z, 1 / f, z / (f * f)};
      }
      break;
    case EP_ERF: {
      const double d = kTwoOverSqrtPi * std::exp(-a * a);
      r = {std::erf(a), d, -2 * a * d};
      break;
    }
    case EP_LGM:
      if (a <= 0 && a == std::floor(a)) r = {k.large, k.large, 0, true};
      else r = {std::lgamma(a), digammaOf(a), trigammaOf(a)};
      break;
    // Piecewise constant: derivative 0.
    case EP_NOT: r.v = a == 0 ? 1 : 0; break;
    case EP_SIGN: r.v = a > 0 ? 1 : (a < 0 ? -1 : 0); break;
    case EP_FLOOR:
    case EP_INT: r.v = std::floor(a); break;
    case EP_RAND: r.v = hashUniform(a); break;
    default: break;
  }
  return r;
}

bool truthy(double a) { return a != 0.0; }

// Binary functions with closed-form partials; d1[2], d2 packed [aa, ab, bb].
bool binary(int op, double a, double b, const EvalConstants& k, double& v, double* d1, double* d2,
            bool& mark) {
  double da = 0, db = 0, haa = 0, hab = 0, hbb = 0;
  switch (op) {
    case EP_PLUS: v = a + b; da = 1; db = 1; break;
    case EP_MINUS: v = a - b; da = 1; db = -1; break;
    case EP_MULTIPLY: v = a * b; da = b; db = a; hab = 1; break;
    case EP_DIVIDE:
      if (std::fabs(b) < k.zeroTol) {
        const bool same = a == 0 || (a > 0) == (b >= 0);
        v = (same ? 1.0 : -1.0) * k.large;
        mark = true;
        da = (same ? 1.0 : -1.0) * k.large;
      } else {
        v = a / b;
        da = 1 / b;
        db = -v / b;
        hab = -1 / (b * b);
        hbb = 2 * v / (b * b);
      }
      break;
    case EP_POWER: {
      v = std::pow(a, b);
      if (!std::isfinite(v) && std::isfinite(a) && std::isfinite(b)) {
        v = k.large;
        mark = true;
        break;
      }
      da = b == 0 ? 0 : b * std::pow(a, b - 1);
      haa = (b == 0 || b == 1) ? 0 : b * (b - 1) * std::pow(a, b - 2);
      if (a > 0) {
        const double l = std::log(a);
        db = v * l;
        hab = std::pow(a, b - 1) * (1 + b * l);
        hbb = v * l * l;
      }
      break;
    }
    case EP_ATAN2: {  // angle of the point (b, a)
      v = std::atan2(a, b);
      const double r2 = a * a + b * b;
      if (r2 == 0) break;
      da = b / r2;
      db = -a / r2;
      haa = -2 * a * b / (r2 * r2);
      hab = (a * a - b * b) / (r2 * r2);
      hbb = 2 * a * b / (r2 * r2);
      break;
    }
    case EP_MOD:
    case EP_WRAP:
      if (std::fabs(b) < k.zeroTol) {
        v = k.large;
        mark = true;
      } else {
        const double q = op == EP_MOD ? std::trunc(a / b) : std::floor(a / b);
        v = a - b * q;
        da = 1;
        db = -q;
      }
      break;
    case EP_LOGB:
      if (a <= 0 || b <= 0 || b == 1) {
        v = k.large;
        mark = true;
      } else {
        const double la = std::log(a), lb = std::log(b);
        v = la / lb;
        da = 1 / (a * lb);
        db = -la / (b * lb * lb);
        haa = -1 / (a * a * lb);
        hab = -1 / (a * b * lb * lb);
        hbb = la * (lb + 2) / (b * b * lb * lb * lb);
      }
      break;
    case EP_PSN_RANGE:  // probability of [a, b]; from the upper tails when both are positive
      v = (a > 0 && b > 0) ? PhiUpper(a) - PhiUpper(b) : Phi(b) - Phi(a);
      da = -phi(a);
      db = phi(b);
      haa = a * phi(a);
      hbb = -b * phi(b);
      break;
    case EP_EQUAL: v = a == b; break;
    case EP_NOT_EQUAL: v = a != b; break;
    case EP_LTOREQ: v = a <= b; break;
    case EP_GTOREQ: v = a >= b; break;
    case EP_LTHAN: v = a < b; break;
    case EP_GTHAN: v = a > b; break;
    case EP_AND: v = truthy(a) && truthy(b); break;
    case EP_OR: v = truthy(a) || truthy(b); break;
    case EP_ROUND:
    case EP_ROUNDUP:
    case EP_ROUNDDOWN:
    case EP_TRUNC: v = roundDigits(op, a, b); break;
    default:
      return false;
  }
  if (d1) {
    d1[0] = da;
    d1[1] = db;
  }
  if (d2) {
    d2[0] = haa;
    d2[1] = hab;
    d2[2] = hbb;
  }
  return true;
}

// Scalar function of a node for difference quotients.
template <class F>
void differences(F f, double* a, int n, double v, double* d1, double* d2, const bool* fixedArg,
                 const DiffRule& rule) {
  const bool central = rule.type != QX_DERIV_FORWARD_DIFFERENCE && rule.type != QX_DERIV_BACKWARD_DIFFERENCE;
  if (d1)
    for (int i = 0; i < n; ++i) {
      if (fixedArg[i]) {
        d1[i] = 0;
        continue;
      }
      const double ai = a[i], h = rule.h;
      double up = v, dn = v;
      if (rule.type != QX_DERIV_BACKWARD_DIFFERENCE) {
        a[i] = ai + h;
        up = f(a);
      }
      if (rule.type != QX_DERIV_FORWARD_DIFFERENCE) {
        a[i] = ai - h;
        dn = f(a);
      }
      a[i] = ai;
      d1[i] = (std::isfinite(up) && std::isfinite(dn)) ? (up - dn) / (central ? 2 * h : h) : 0.0;
    }
  if (d2)
    for (int i = 0; i < n; ++i)
      for (int l = 0; l <= i; ++l) {
        double& out = d2[tri(i, l)];
        out = 0;
        if (fixedArg[i] || fixedArg[l]) continue;
        const double ai = a[i], al = a[l];
        const double hi = kStep2 * std::max(1.0, std::fabs(ai)), hl = kStep2 * std::max(1.0, std::fabs(al));
        if (i == l) {
          a[i] = ai + hi;
          const double up = f(a);
          a[i] = ai - hi;
          const double dn = f(a);
          a[i] = ai;
          out = (up - 2 * v + dn) / (hi * hi);
        } else {
          double s[4];
          const int sg[4][2] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
          for (int q = 0; q < 4; ++q) {
            a[i] = ai + sg[q][0] * hi;
            a[l] = al + sg[q][1] * hl;
            s[q] = f(a);
          }
          a[i] = ai;
          a[l] = al;
          out = (s[0] - s[1] - s[2] + s[3]) / (4 * hi * hl);
        }
        if (!std::isfinite(out)) out = 0;
      }
}

int specialEval(const Node& node, const double* args, const EvalConstants& k, double& v, double* d1,
                double* d2, bool& mark, const QXmodelRec* model) {
  double a[4];
  const int n = node.nArgs;
  std::copy(args, args + n, a);
  if (!specialValue(node.op, a, n, v)) {
    v = k.large;
    mark = true;
    if (d1) std::fill(d1, d1 + n, 0.0);
    if (d2) std::fill(d2, d2 + tri(n - 1, n - 1) + 1, 0.0);
    return 0;
  }
  int type = 0, func = 0;
  bool discrete = false;
  const bool prob = probabilityOp(node.op, type, func, discrete);
  bool fixedArg[4] = {prob && discrete, false, false, false};
  if ((d1 || d2) && exactPartials(node.op, a, n, v, d1, d2)) return 0;
  auto f = [&](const double* p) {
    double out;
    return specialValue(node.op, p, n, out) ? out : NAN;
  };
  differences(f, a, n, v, d1, d2, fixedArg, differenceRule(model));
  // Exact partials in the point of a continuous law's cumulative function
  // (its density) and of its inverse (reciprocal density at the quantile).
  if (prob && !discrete && d1 && (func == QX_DISTR_FUNC_CDF || func == QX_DISTR_FUNC_ICDF)) {
    stoc::DistrParams p{};
    for (int i = 1; i < n; ++i) p[static_cast<std::size_t>(i - 1)] = a[i];
    if (type == QX_DIST_SYM_STABLE) {
      p[1] = 0.0;
      p[2] = 1.0;
    }
    double dens = 0;
    const double at = func == QX_DISTR_FUNC_CDF ? a[0] : v;
    if (stoc::evalDistribution(type, p, nullptr, QX_DISTR_FUNC_PDF, at, dens) == 0 && dens > 0)
      d1[0] = func == QX_DISTR_FUNC_CDF ? dens : 1.0 / dens;
  }
  return 0;
}

// Functions of a host routine: value through the model's user function,
// partials by differences.
int userEval(const Node& node, const double* args, QXmodelRec* model, double& v, double* d1, double* d2) {
  if (!model) return QXERR_USER_FUNCTION_NOT_SET;
  std::vector<double> a(args, args + node.nArgs);
  if (int rc = userFunctionByHost(*model, a, &v)) return rc;
  if (!d1 && !d2) return 0;
  int failure = 0;
  auto f = [&](const double* p) {
    double out = 0;
    if (int rc = userFunctionByHost(*model, std::span<const double>(p, a.size()), &out)) failure = rc;
    return out;
  };
  std::unique_ptr<bool[]> fixedArg(new bool[a.size()]());
  differences(f, a.data(), node.nArgs, v, d1, d2, fixedArg.get(), differenceRule(model));
  return failure;
}

bool matches(const CompiledModel& cm, int argNode, double value, int keyNode, double key) {
  const auto& nodes = cm.nodes();
  const bool s1 = nodes[static_cast<std::size_t>(argNode)].op == kNodeStr;
  const bool s2 = nodes[static_cast<std::size_t>(keyNode)].op == kNodeStr;
  if (s1 != s2) return false;
  if (!s1) return value == key;
  return cm.strings()[static_cast<std::size_t>(nodes[static_cast<std::size_t>(argNode)].aux)] ==
         cm.strings()[static_cast<std::size_t>(nodes[static_cast<std::size_t>(keyNode)].aux)];
}

// N-ary operators: sums, extremes, logic, lookups.
void naryEval(const CompiledModel& cm, const Node& node, const double* a, double& v, double* d1, bool& mark,
              const EvalConstants& k) {
  const int n = node.nArgs;
  if (d1) std::fill(d1, d1 + n, 0.0);
  switch (node.op) {
    case EP_SUM:
    case EP_AVG: {
      const double w = node.op == EP_AVG ? 1.0 / n : 1.0;
      double s = 0;
      for (int i = 0; i < n; ++i) s += a[i];
      v = s * w;
      if (d1) std::fill(d1, d1 + n, w);
      return;
    }
    case EP_MIN:
    case EP_MAX: {
      int best = 0;
      for (int i = 1; i < n; ++i)
        if (node.op == EP_MIN ? a[i] < a[best] : a[i] > a[best]) best = i;
      v = a[best];
      if (d1) d1[best] = 1;
      return;
    }
    case EP_VAND:
    case EP_VOR: {
      bool r = node.op == EP_VAND;
      for (int i = 0; i < n; ++i) r = node.op == EP_VAND ? (r && truthy(a[i])) : (r || truthy(a[i]));
      v = r;
      return;
    }
    case EP_MULTINV: {  // first index whose running sum of a[1..] reaches a[0]
      double s = 0;
      v = n - 2;
      for (int i = 1; i < n; ++i) {
        s += a[i];
        if (s >= a[0]) {
          v = i - 1;
          break;
        }
      }
      return;
    }
    case EP_MLTNMINV: {  // quantile of the categorical law with weights a[1..] at probability a[0]
      double total = 0;
      for (int i = 1; i < n; ++i) total += a[i];
      bool valid = n >= 2 && a[0] >= 0 && a[0] <= 1 && total > 0;
      for (int i = 1; i < n && valid; ++i) valid = a[i] >= 0;
      if (!valid) {
        v = k.large;
        mark = true;
        return;
      }
      double s = 0;
      v = n - 2;
      for (int i = 1; i < n; ++i) {
        s += a[i];
        if (s >= a[0] * total) {
          v = i - 1;
          break;
        }
      }
      return;
    }
    case EP_SUMIF: {
      const int m = node.aux;
      const int* args = cm.args().data() + node.argBeg;
      v = 0;
      for (int i = 1; i <= m; ++i)
        if (matches(cm, args[i], a[i], args[0], a[0])) {
          v += a[m + i];
          if (d1) d1[m + i] = 1;
        }
      return;
    }
    default: {  // EP_VLOOKUP: exact (c = 0) or the last key not above (c = 1)
      const int m = node.aux;
      const int* args = cm.args().data() + node.argBeg;
      int hit = -1;
      for (int i = 1; i <= m && hit < 0; ++i)
        if (matches(cm, args[i], a[i], args[0], a[0])) hit = i;
      if (hit < 0 && node.c == 1.0) {
        const bool str = cm.nodes()[static_cast<std::size_t>(args[0])].op == kNodeStr;
        for (int i = 1; i <= m && !str; ++i)
          if (a[i] <= a[0]) hit = i;
      }
      if (hit < 0) {
        v = k.large;
        mark = true;
        return;
      }
      v = a[m + hit];
      if (d1) d1[m + hit] = 1;
      return;
    }
  }
}

}  // namespace

DerivKind derivKind(int op) noexcept {
  switch (op) {
    case kNodeVar:
    case kNodeConst:
    case kNodeStr:
    case EP_NOT: case EP_SIGN: case EP_FLOOR: case EP_INT: case EP_RAND:
    case EP_EQUAL: case EP_NOT_EQUAL: case EP_LTOREQ: case EP_GTOREQ: case EP_LTHAN: case EP_GTHAN:
    case EP_AND: case EP_OR: case EP_ROUND: case EP_ROUNDUP: case EP_ROUNDDOWN: case EP_TRUNC:
    case EP_VAND: case EP_VOR: case EP_MULTINV: case EP_MLTNMINV:
      return DerivKind::Zero;
    case EP_PLUS: case EP_MINUS: case EP_NEGATE: case EP_POSATE: case EP_PERCENT: case EP_RADIANS:
    case EP_DEGREES: case EP_SUM: case EP_AVG: case EP_MIN: case EP_MAX: case EP_IF: case EP_SUMIF:
    case EP_VLOOKUP: case EP_ABS: case EP_MOD: case EP_WRAP:
      return DerivKind::Linear;
    default:
      return DerivKind::Curved;
  }
}

bool edgeLive(const Node& node, int i) noexcept {
  switch (derivKind(node.op)) {
    case DerivKind::Zero:
      return false;
    case DerivKind::Linear:
      if (node.op == EP_IF) return i > 0;
      if (node.op == EP_SUMIF || node.op == EP_VLOOKUP) return i > node.aux;
      return true;
    default: {
      int type, func;
      bool discrete;
      // A discrete law's point only selects terms, and its quantile is a
      // whole number, constant between jumps in every argument.
      if (probabilityOp(node.op, type, func, discrete) && discrete && (i == 0 || func == QX_DISTR_FUNC_ICDF))
        return false;
      return true;
    }
  }
}

bool secondLive(const Node& node, int i, int l) noexcept {
  if (node.op == EP_MULTIPLY) return i != l;
  if (node.op == EP_PSN_RANGE) return i == l;
  if (node.op == EP_DIVIDE) return i == 1;
  return true;
}

int localEval(const CompiledModel& cm, const Node& node, const double* a, double& v, double* d1, double* d2,
              bool& mark, QXmodelRec* model) {
  const EvalConstants& k = cm.list().constants;
  const int op = node.op;
  if (node.d2Beg < 0) d2 = nullptr;
  if (node.nArgs == 1 && opInfo(op).kind == OpKind::Fixed && !isSpecial(op)) {
    const Local r = unary(op, a[0], k);
    v = r.v;
    // An overflowing exponential is marked only where derivatives are formed.
    mark = r.mark && (op != EP_EXP || d1 != nullptr);
    if (d1) d1[0] = r.d;
    if (d2) d2[0] = r.dd;
    return 0;
  }
  if (op == EP_IF) {
    v = truthy(a[0]) ? a[1] : a[2];
    if (d1) {
      d1[0] = 0;
      d1[1] = truthy(a[0]) ? 1 : 0;
      d1[2] = truthy(a[0]) ? 0 : 1;
    }
    return 0;
  }
  if (op == EP_USER) return userEval(node, a, model, v, d1, d2);
  if (isSpecial(op)) return specialEval(node, a, k, v, d1, d2, mark, model);
  if (node.nArgs == 2 && binary(op, a[0], a[1], k, v, d1, d2, mark)) return 0;
  naryEval(cm, node, a, v, d1, mark, k);
  return 0;
}

}  // namespace torva::nlp
