// Second-order forward numbers over up to four arguments: a value with its
// gradient and the packed lower triangle of its Hessian, propagated exactly
// by the chain rule through every arithmetic operation (forward mode of
// Griewank and Walther, "Evaluating Derivatives", 2008, ch. 13, truncated at
// degree two). The evaluator uses them for the local partials of functions
// that are compositions of elementary ones (probability laws with closed
// forms, finance and queueing functions).
#pragma once

#include <array>
#include <cmath>

namespace torva::nlp {

inline constexpr int kDualArgs = 4;
inline constexpr int kDualTri = kDualArgs * (kDualArgs + 1) / 2;

// Packed index of the second partial (i, l), i >= l.
constexpr int dualTri(int i, int l) { return i * (i + 1) / 2 + l; }

struct D2 {
  double v = 0.0;
  std::array<double, kDualArgs> g{};
  std::array<double, kDualTri> h{};
};

inline D2 constD2(double v) {
  D2 r;
  r.v = v;
  return r;
}
inline D2 varD2(double v, int i) {
  D2 r;
  r.v = v;
  r.g[static_cast<std::size_t>(i)] = 1.0;
  return r;
}

// f(u) from f(u.v), f'(u.v) and f''(u.v).
inline D2 chain(const D2& u, double f, double f1, double f2) {
  D2 r;
  r.v = f;
  for (int i = 0; i < kDualArgs; ++i) {
    r.g[static_cast<std::size_t>(i)] = f1 * u.g[static_cast<std::size_t>(i)];
    for (int l = 0; l <= i; ++l)
      r.h[static_cast<std::size_t>(dualTri(i, l))] =
          f1 * u.h[static_cast<std::size_t>(dualTri(i, l))] +
          f2 * u.g[static_cast<std::size_t>(i)] * u.g[static_cast<std::size_t>(l)];
  }
  return r;
}

inline D2 operator+(const D2& a, const D2& b) {
  D2 r;
  r.v = a.v + b.v;
  for (std::size_t i = 0; i < r.g.size(); ++i) r.g[i] = a.g[i] + b.g[i];
  for (std::size_t k = 0; k < r.h.size(); ++k) r.h[k] = a.h[k] + b.h[k];
  return r;
}
inline D2 operator-(const D2& a) { return chain(a, -a.v, -1.0, 0.0); }
inline D2 operator-(const D2& a, const D2& b) { return a + (-b); }
inline D2 operator*(const D2& a, const D2& b) {
  D2 r;
  r.v = a.v * b.v;
  for (int i = 0; i < kDualArgs; ++i) {
    const std::size_t ui = static_cast<std::size_t>(i);
    r.g[ui] = a.g[ui] * b.v + a.v * b.g[ui];
    for (int l = 0; l <= i; ++l) {
      const std::size_t ul = static_cast<std::size_t>(l), k = static_cast<std::size_t>(dualTri(i, l));
      r.h[k] = a.h[k] * b.v + a.v * b.h[k] + a.g[ui] * b.g[ul] + a.g[ul] * b.g[ui];
    }
  }
  return r;
}
inline D2 recip(const D2& b) { return chain(b, 1.0 / b.v, -1.0 / (b.v * b.v), 2.0 / (b.v * b.v * b.v)); }
inline D2 operator/(const D2& a, const D2& b) { return a * recip(b); }
inline D2 operator+(const D2& a, double c) { return a + constD2(c); }
inline D2 operator+(double c, const D2& a) { return a + constD2(c); }
inline D2 operator-(const D2& a, double c) { return a - constD2(c); }
inline D2 operator-(double c, const D2& a) { return constD2(c) - a; }
inline D2 operator*(const D2& a, double c) { return chain(a, a.v * c, c, 0.0); }
inline D2 operator*(double c, const D2& a) { return a * c; }
inline D2 operator/(const D2& a, double c) { return a * (1.0 / c); }
inline D2 operator/(double c, const D2& a) { return recip(a) * c; }

inline D2 exp(const D2& u) {
  const double e = std::exp(u.v);
  return chain(u, e, e, e);
}
inline D2 log(const D2& u) { return chain(u, std::log(u.v), 1.0 / u.v, -1.0 / (u.v * u.v)); }
inline D2 log1p(const D2& u) {
  const double s = 1.0 + u.v;
  return chain(u, std::log1p(u.v), 1.0 / s, -1.0 / (s * s));
}
inline D2 sqrt(const D2& u) {
  const double s = std::sqrt(u.v);
  return chain(u, s, 0.5 / s, -0.25 / (s * u.v));
}
inline D2 pow(const D2& u, double p) {
  return chain(u, std::pow(u.v, p), p * std::pow(u.v, p - 1), p * (p - 1) * std::pow(u.v, p - 2));
}
// u^w for u > 0.
inline D2 pow(const D2& u, const D2& w) { return exp(w * log(u)); }
inline D2 atan(const D2& u) {
  const double s = 1.0 + u.v * u.v;
  return chain(u, std::atan(u.v), 1.0 / s, -2.0 * u.v / (s * s));
}
inline D2 tan(const D2& u) {
  const double t = std::tan(u.v), s = 1.0 + t * t;
  return chain(u, t, s, 2.0 * t * s);
}
inline D2 fabs(const D2& u) { return u.v < 0 ? -u : u; }

}  // namespace torva::nlp
