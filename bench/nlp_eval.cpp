// Instruction-list evaluation benchmark: a generated model with 100000
// variables and 100000 nonlinear rows of mixed operators (products, sin,
// cos, exp, ln, sqrt, division, powers, tanh, atan) and a separable
// quadratic objective. Times the function values of all rows, the full
// Jacobian (reverse mode), and the Hessians of all rows (adjoints and
// sparse gradients summed over the nodes with curvature), and the same function values and Jacobian written by hand in
// C++ in the same run.
//
//   bench_nlp_eval [n] [repeats]     (defaults 100000 and 5)
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/model.hpp"
#include "nlp/evaluate.hpp"
#include "torva.h"

namespace {

using Clock = std::chrono::steady_clock;
using Code = std::vector<int>;

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

// Numbers table: 0 -> 1.0, 1 -> 0.1, 2 -> 2.0, 3 -> 3.0.
enum { kOne = 0, kTenth = 1, kTwo = 2, kThree = 3 };

void var(Code& c, int j) { c.insert(c.end(), {EP_PUSH_VAR, j}); }
void num(Code& c, int k) { c.insert(c.end(), {EP_PUSH_NUM, k}); }

// Row i, by kind i % 5, over variables a = i, b = i+1, c = i+2, d = i+3 (mod n):
//   0: x_a x_b + sin(x_c)
//   1: exp(0.1 x_a) - x_b^2 + ln(x_d^2 + 1)
//   2: x_a / (1 + x_b^2) + sqrt(x_c^2 + 1)
//   3: (x_a - x_d)^3 + cos(x_b) x_c
//   4: tanh(x_a + 2 x_b) + atan(x_c)
Code rowCode(int i, int n) {
  const int a = i % n, b = (i + 1) % n, c = (i + 2) % n, d = (i + 3) % n;
  Code k;
  switch (i % 5) {
    case 0:
      var(k, a), var(k, b), k.push_back(EP_MULTIPLY), var(k, c), k.push_back(EP_SIN), k.push_back(EP_PLUS);
      break;
    case 1:
      num(k, kTenth), var(k, a), k.push_back(EP_MULTIPLY), k.push_back(EP_EXP), var(k, b), k.push_back(EP_SQR);
      k.push_back(EP_MINUS), var(k, d), k.push_back(EP_SQR), num(k, kOne), k.push_back(EP_PLUS);
      k.push_back(EP_LN), k.push_back(EP_PLUS);
      break;
    case 2:
      var(k, a), num(k, kOne), var(k, b), k.push_back(EP_SQR), k.push_back(EP_PLUS), k.push_back(EP_DIVIDE);
      var(k, c), k.push_back(EP_SQR), num(k, kOne), k.push_back(EP_PLUS), k.push_back(EP_SQRT), k.push_back(EP_PLUS);
      break;
    case 3:
      var(k, a), var(k, d), k.push_back(EP_MINUS), num(k, kThree), k.push_back(EP_POWER);
      var(k, b), k.push_back(EP_COS), var(k, c), k.push_back(EP_MULTIPLY), k.push_back(EP_PLUS);
      break;
    default:
      var(k, a), num(k, kTwo), var(k, b), k.push_back(EP_MULTIPLY), k.push_back(EP_PLUS), k.push_back(EP_TANH);
      var(k, c), k.push_back(EP_ATAN), k.push_back(EP_PLUS);
      break;
  }
  return k;
}

// The same functions and their gradients, written by hand.
double handRow(int i, int n, const double* x, double* g, int* idx) {
  const int a = i % n, b = (i + 1) % n, c = (i + 2) % n, d = (i + 3) % n;
  const double xa = x[a], xb = x[b], xc = x[c], xd = x[d];
  switch (i % 5) {
    case 0:
      if (g) idx[0] = a, g[0] = xb, idx[1] = b, g[1] = xa, idx[2] = c, g[2] = std::cos(xc);
      return xa * xb + std::sin(xc);
    case 1: {
      const double e = std::exp(0.1 * xa), q = xd * xd + 1;
      if (g) idx[0] = a, g[0] = 0.1 * e, idx[1] = b, g[1] = -2 * xb, idx[2] = d, g[2] = 2 * xd / q;
      return e - xb * xb + std::log(q);
    }
    case 2: {
      const double den = 1 + xb * xb, s = std::sqrt(xc * xc + 1);
      if (g) idx[0] = a, g[0] = 1 / den, idx[1] = b, g[1] = -xa * 2 * xb / (den * den), idx[2] = c, g[2] = xc / s;
      return xa / den + s;
    }
    case 3: {
      const double t = xa - xd;
      if (g) idx[0] = a, g[0] = 3 * t * t, idx[1] = d, g[1] = -3 * t * t, idx[2] = b, g[2] = -std::sin(xb) * xc;
      if (g) idx[3] = c, g[3] = std::cos(xb);
      return t * t * t + std::cos(xb) * xc;
    }
    default: {
      const double th = std::tanh(xa + 2 * xb), s = 1 - th * th;
      if (g) idx[0] = a, g[0] = s, idx[1] = b, g[1] = 2 * s, idx[2] = c, g[2] = 1 / (1 + xc * xc);
      return th + std::atan(xc);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int repeats = argc > 2 ? std::atoi(argv[2]) : 5;
  const int m = n;
  // Objective: sum (x_j - 1)^2.
  Code code, beg, len;
  for (int j = 0; j < n; ++j) {
    var(code, j), num(code, kOne), code.push_back(EP_MINUS), code.push_back(EP_SQR);
    if (j > 0) code.push_back(EP_PLUS);
  }
  beg.push_back(0);
  len.push_back(static_cast<int>(code.size()));
  for (int i = 0; i < m; ++i) {
    const Code r = rowCode(i, n);
    beg.push_back(static_cast<int>(code.size()));
    len.push_back(static_cast<int>(r.size()));
    code.insert(code.end(), r.begin(), r.end());
  }
  const double numbers[] = {1.0, 0.1, 2.0, 3.0};
  const std::string types(static_cast<std::size_t>(m), 'E');
  int err = 0;
  QXenv env = QXcreateEnv(&err);
  QXmodel model = QXcreateModel(env, &err);
  int sense = QX_MIN;
  auto t0 = Clock::now();
  if (int rc = QXloadInstruct(model, m, 1, n, 4, &sense, types.c_str(), nullptr, code.data(),
                              static_cast<int>(code.size()), nullptr, numbers, nullptr, beg.data(), len.data(),
                              beg.data() + 1, len.data() + 1, nullptr, nullptr)) {
    std::printf("load failed: %d\n", rc);
    return 1;
  }
  const double loadTime = since(t0);
  torva::nlp::EvalContext ctx;
  t0 = Clock::now();
  torva::nlp::prepare(*model, ctx, false);
  const double compileTime = since(t0);

  std::vector<double> x(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) x[static_cast<std::size_t>(j)] = 0.5 + 0.4 * std::sin(0.37 * j);

  // Function values of all rows.
  double fsum = 0;
  t0 = Clock::now();
  for (int rep = 0; rep < repeats; ++rep)
    for (int r = 0; r <= m; ++r) {
      double v;
      bool mark;
      torva::nlp::evaluateRow(ctx, r, x.data(), v, nullptr, mark);
      fsum += v;
    }
  const double fTime = since(t0) / repeats;

  // Full Jacobian (objective row first), reverse mode.
  std::vector<int> start, index, i1, i2;
  std::vector<double> jac, hess;
  t0 = Clock::now();
  for (int rep = 0; rep < repeats; ++rep) torva::nlp::jacobian(ctx, x.data(), start, index, &jac);
  const double jTime = since(t0) / repeats;

  // Hessians of all rows (pattern built by the first call, timed apart).
  t0 = Clock::now();
  torva::nlp::hessian(ctx, x.data(), start, i1, i2, nullptr);
  const double patternTime = since(t0);
  t0 = Clock::now();
  for (int rep = 0; rep < repeats; ++rep) torva::nlp::hessian(ctx, x.data(), start, i1, i2, &hess);
  const double hTime = since(t0) / repeats;

  // Hand-written C++: the same values and gradients.
  std::vector<double> g(4);
  std::vector<int> idx(4);
  std::vector<double> handJac;
  handJac.reserve(jac.size());
  double hsum = 0;
  t0 = Clock::now();
  for (int rep = 0; rep < repeats; ++rep) {
    double obj = 0;
    for (int j = 0; j < n; ++j) obj += (x[static_cast<std::size_t>(j)] - 1) * (x[static_cast<std::size_t>(j)] - 1);
    hsum += obj;
    for (int i = 0; i < m; ++i) hsum += handRow(i, n, x.data(), nullptr, nullptr);
  }
  const double hfTime = since(t0) / repeats;
  t0 = Clock::now();
  for (int rep = 0; rep < repeats; ++rep) {
    handJac.clear();
    for (int j = 0; j < n; ++j) handJac.push_back(2 * (x[static_cast<std::size_t>(j)] - 1));
    for (int i = 0; i < m; ++i) {
      handRow(i, n, x.data(), g.data(), idx.data());
      handJac.insert(handJac.end(), g.begin(), g.begin() + (i % 5 == 3 ? 4 : 3));
    }
  }
  const double hjTime = since(t0) / repeats;

  // The two evaluations must agree: sums of values and Jacobian entries.
  double js = 0, hjs = 0;
  for (double v : jac) js += v;
  for (double v : handJac) hjs += v;
  std::printf("model: %d variables, %d rows, %zu code words; load %.3f s, compile %.3f s\n", n, m, code.size(),
              loadTime, compileTime);
  std::printf("check: value sums %.12g / %.12g, Jacobian sums %.12g / %.12g (%zu entries)\n", fsum / repeats,
              hsum / repeats, js, hjs, jac.size());
  std::printf("%-34s %10s %12s %12s\n", "evaluation (all rows)", "seconds", "evals/s", "vs hand");
  std::printf("%-34s %10.4f %12.2f %12.2f\n", "function values", fTime, 1 / fTime, fTime / hfTime);
  std::printf("%-34s %10.4f %12.2f %12.2f\n", "Jacobian (reverse mode)", jTime, 1 / jTime, jTime / hjTime);
  std::printf("%-34s %10.4f %12.2f %12s\n", "Hessians (curvature accumulation)", hTime, 1 / hTime, "-");
  std::printf("%-34s %10.4f\n", "Hessian pattern (once)", patternTime);
  std::printf("%-34s %10.4f %12.2f\n", "hand-written function values", hfTime, 1 / hfTime);
  std::printf("%-34s %10.4f %12.2f\n", "hand-written Jacobian", hjTime, 1 / hjTime);
  std::printf("ratio Jacobian / function time: %.2f (hand-written %.2f); Hessian entries %zu\n", jTime / fTime,
              hjTime / hfTime, hess.size());
  QXdeleteEnv(&env);
  return 0;
}
