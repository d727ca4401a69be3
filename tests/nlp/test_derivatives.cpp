// Derivatives of every differentiable operator: reverse, forward and
// second-order automatic differentiation against central differences of a
// long double reference, at points away from kinks; domain edges and
// sparsity patterns.
#include <cmath>
#include <functional>

#include <boost/math/special_functions/digamma.hpp>
#include <boost/math/special_functions/trigamma.hpp>

#include "nlp/ops_math.hpp"
#include "nlp_fixture.hpp"

namespace torva_test {
namespace {

using LD = long double;
using Ref = std::function<LD(const LD*)>;

struct OpCase {
  const char* name;
  int op;
  int arity;
  Ref f;
  std::vector<double> x;
};

LD Phi(LD z) { return 0.5L * std::erfc(-z / std::sqrt(2.0L)); }
LD phi(LD z) { return std::exp(-0.5L * z * z) / std::sqrt(2.0L * 3.14159265358979323846L); }

std::vector<OpCase> elementary() {
  return {
      {"plus", EP_PLUS, 2, [](const LD* a) { return a[0] + a[1]; }, {0.3, -1.7}},
      {"minus", EP_MINUS, 2, [](const LD* a) { return a[0] - a[1]; }, {0.3, -1.7}},
      {"multiply", EP_MULTIPLY, 2, [](const LD* a) { return a[0] * a[1]; }, {0.3, -1.7}},
      {"divide", EP_DIVIDE, 2, [](const LD* a) { return a[0] / a[1]; }, {0.3, -1.7}},
      {"power", EP_POWER, 2, [](const LD* a) { return std::pow(a[0], a[1]); }, {1.3, 2.4}},
      {"atan2", EP_ATAN2, 2, [](const LD* a) { return std::atan2(a[0], a[1]); }, {0.7, -1.2}},
      {"logb", EP_LOGB, 2, [](const LD* a) { return std::log(a[0]) / std::log(a[1]); }, {3.5, 2.2}},
      {"mod", EP_MOD, 2, [](const LD* a) { return std::fmod(a[0], a[1]); }, {7.3, 2.1}},
      {"negate", EP_NEGATE, 1, [](const LD* a) { return -a[0]; }, {0.4}},
      {"percent", EP_PERCENT, 1, [](const LD* a) { return a[0] / 100; }, {0.4}},
      {"abs", EP_ABS, 1, [](const LD* a) { return std::fabs(a[0]); }, {-0.4}},
      {"sqr", EP_SQR, 1, [](const LD* a) { return a[0] * a[0]; }, {-0.4}},
      {"sqrt", EP_SQRT, 1, [](const LD* a) { return std::sqrt(a[0]); }, {2.5}},
      {"ln", EP_LN, 1, [](const LD* a) { return std::log(a[0]); }, {2.5}},
      {"log", EP_LOG, 1, [](const LD* a) { return std::log10(a[0]); }, {2.5}},
      {"lnx", EP_LNX, 1, [](const LD* a) { return a[0] * std::log(a[0]); }, {2.5}},
      {"logx", EP_LOGX, 1, [](const LD* a) { return a[0] * std::log10(a[0]); }, {2.5}},
      {"exp", EP_EXP, 1, [](const LD* a) { return std::exp(a[0]); }, {1.1}},
      {"sin", EP_SIN, 1, [](const LD* a) { return std::sin(a[0]); }, {1.1}},
      {"cos", EP_COS, 1, [](const LD* a) { return std::cos(a[0]); }, {1.1}},
      {"tan", EP_TAN, 1, [](const LD* a) { return std::tan(a[0]); }, {1.1}},
      {"asin", EP_ASIN, 1, [](const LD* a) { return std::asin(a[0]); }, {0.3}},
      {"acos", EP_ACOS, 1, [](const LD* a) { return std::acos(a[0]); }, {0.3}},
      {"atan", EP_ATAN, 1, [](const LD* a) { return std::atan(a[0]); }, {0.3}},
      {"sinh", EP_SINH, 1, [](const LD* a) { return std::sinh(a[0]); }, {0.3}},
      {"cosh", EP_COSH, 1, [](const LD* a) { return std::cosh(a[0]); }, {0.3}},
      {"tanh", EP_TANH, 1, [](const LD* a) { return std::tanh(a[0]); }, {0.3}},
      {"asinh", EP_ASINH, 1, [](const LD* a) { return std::asinh(a[0]); }, {0.3}},
      {"acosh", EP_ACOSH, 1, [](const LD* a) { return std::acosh(a[0]); }, {1.3}},
      {"atanh", EP_ATANH, 1, [](const LD* a) { return std::atanh(a[0]); }, {0.3}},
      {"radians", EP_RADIANS, 1, [](const LD* a) { return a[0] * 3.14159265358979323846L / 180; }, {30}},
      {"degrees", EP_DEGREES, 1, [](const LD* a) { return a[0] * 180 / 3.14159265358979323846L; }, {0.5}},
      {"erf", EP_ERF, 1, [](const LD* a) { return std::erf(a[0]); }, {0.5}},
      {"psn", EP_PSN, 1, [](const LD* a) { return Phi(a[0]); }, {0.5}},
      {"psl", EP_PSL, 1, [](const LD* a) { return phi(a[0]) - a[0] * (1 - Phi(a[0])); }, {0.5}},
      {"normdens", EP_NORMDENS, 1, [](const LD* a) { return phi(a[0]); }, {0.5}},
      {"lgm", EP_LGM, 1, [](const LD* a) { return std::lgamma(a[0]); }, {3.7}},
  };
}

struct DerivTest : NlpFixture {
  // Runs check with op(x0, ..., x{n-1}) loaded as the objective of a model
  // of its own.
  void withOperator(int op, int n, const std::function<void()>& check) {
    QXmodel m = QXcreateModel(env, nullptr);
    Code code;
    for (int i = 0; i < n; ++i) code.insert(code.end(), {EP_PUSH_VAR, i});
    code.push_back(op);
    ASSERT_EQ(load(m, n, {code}, {}), 0) << op;
    std::swap(m, model);
    check();
    std::swap(m, model);
    QXdeleteModel(&m);
  }
  // The gradient of the objective at x in both sweeps, and its Hessian unless
  // !second, against central differences of f with steps h1 and h2, to tol1
  // and tol2 relative to max(1, |d|); bit i of held: argument i has partial 0.
  void expectPartials(const std::vector<double>& x, const Ref& f, LD h1, double tol1, LD h2, double tol2,
                      unsigned held, bool second, const std::string& what) {
    const std::size_t n = x.size();
    auto at = [&](std::size_t i, LD di, std::size_t l, LD dl) {
      std::vector<LD> p(x.begin(), x.end());
      p[i] += di;
      p[l] += dl;
      return f(p.data());
    };
    for (int mode : {2, 1}) {
      QXsetModelIntParameter(model, QX_IPARAM_NLP_AUTODERIV, mode);
      const std::vector<double> g = gradient(-1, x);
      for (std::size_t i = 0; i < n; ++i) {
        const double ref = held >> i & 1 ? 0.0 : static_cast<double>((at(i, h1, i, 0) - at(i, -h1, i, 0)) / (2 * h1));
        EXPECT_NEAR(g[i], ref, tol1 * std::max(1.0, std::fabs(ref))) << what << " arg " << i << " mode " << mode;
      }
    }
    if (!second) return;
    const std::vector<double> h = hessian(x);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t l = 0; l <= i; ++l) {
        const double ref = (held >> i & 1) || (held >> l & 1)
                               ? 0.0
                               : static_cast<double>((at(i, h2, l, h2) - at(i, h2, l, -h2) - at(i, -h2, l, h2) +
                                                      at(i, -h2, l, -h2)) / (4 * h2 * h2));
        EXPECT_NEAR(h[i * n + l], ref, tol2 * std::max(1.0, std::fabs(ref))) << what << " d2 " << i << l;
      }
  }
};

TEST_F(DerivTest, ElementaryOperatorsAgainstLongDoubleDifferences) {
  // Central differences of the long double reference: first derivative with
  // step 1e-7 (truncation ~1e-14, rounding ~1e-12), second with 1e-4
  // (truncation ~1e-8). Tolerances: 1e-8 and 1e-6 relative to max(1, |d|).
  for (const OpCase& c : elementary())
    withOperator(c.op, c.arity, [&] {
      const LD a[2] = {c.x[0], c.arity > 1 ? c.x[1] : 0};
      EXPECT_NEAR(value(-1, c.x), static_cast<double>(c.f(a)), 1e-14 * std::max(1.0L, std::fabs(c.f(a)))) << c.name;
      expectPartials(c.x, c.f, 1e-7L, 1e-8, 1e-4L, 1e-6, 0, true, c.name);
    });
}

TEST_F(DerivTest, ProbabilityAndNamedFunctionsAgainstDifferences) {
  // Partials of the probability, finance and queueing operators against
  // central differences of the evaluated values (which come from the
  // distribution layer and the value formulas, not from the derivative
  // code). With steps 1e-5 and 1e-4 the quotients are good to about 1e-9
  // and 1e-7; exact partials must agree to 1e-7 (first) and 1e-5 (second).
  // The partials of the symmetric stable law in its index are difference
  // quotients themselves and are held to 1e-5, first order only.
  struct Prob {
    int op;
    std::vector<double> x;  // point first (a probability for inverses), then the parameters
    bool exact;
    unsigned held = 0;  // bit i: argument i has partial 0 (no difference taken)
  };
  const std::vector<Prob> cases = {
      {EP_NRM, {0.4, 0.1, 2}, true},        {EP_NORMINV, {0.3, 1, 2}, true},   {EP_NRMDENS, {0.4, 0.1, 2}, true},
      {EP_NORMCDF, {-0.4, 0.3, 1.5}, true}, {EP_NRMINV, {0.8, 1, 0.5}, true},  {EP_NORMPDF, {0.4, 0.1, 2}, true},
      {EP_PCC, {0.5, 0, 2}, true},          {EP_PCCINV, {0.3, 1, 2}, true},    {EP_CCDENS, {0.5, 0.2, 2}, true},
      {EP_LGT, {0.4, 0.1, 2}, true},        {EP_LGTINV, {0.7, 0.1, 2}, true},  {EP_LGTDENS, {0.4, 0.1, 2}, true},
      {EP_PLA, {0.4, 0.1, 2}, true},        {EP_PLAINV, {0.3, 0.1, 2}, true},  {EP_LADENS, {-0.4, 0.1, 2}, true},
      {EP_PGU, {0.4, 0, 1.3}, true},        {EP_PGUINV, {0.6, 0, 1.3}, true},  {EP_GUDENS, {0.4, 0.2, 1.3}, true},
      {EP_UNIFM, {0.3, 0, 2}, true},        {EP_UNIFMINV, {0.3, -1, 2}, true}, {EP_UNIFDENS, {0.3, 0, 2}, true},
      {EP_EXPN, {1.5, 2}, true},            {EP_EXPOINV, {0.3, 2}, true},      {EP_EXPDENS, {1.5, 2}, true},
      {EP_PWB, {1.1, 2, 1.5}, true},        {EP_PWBINV, {0.4, 2, 1.5}, true},  {EP_WBDENS, {1.1, 2, 1.5}, true},
      {EP_PPT, {2.5, 1, 3}, true},          {EP_PPTINV, {0.4, 1, 3}, true},    {EP_PTDENS, {2.5, 1, 3}, true},
      {EP_LGNM, {1.4, 0.1, 0.5}, true},     {EP_LGNMINV, {0.4, 0.1, 0.5}, true}, {EP_LGNMDENS, {1.4, 0.1, 0.5}, true},
      {EP_TRIAN, {0.4, 0, 0.5, 2}, true},   {EP_TRIAN, {1.2, 0, 0.5, 2}, true}, {EP_TRIANINV, {0.7, 0, 0.5, 2}, true},
      {EP_TRIADENS, {1.2, 0, 0.5, 2}, true}, {EP_PSN_UPPER, {0.7}, true},      {EP_PSN_LOG, {-1.3}, true},
      {EP_PSN_LOG, {-8.5}, true},           {EP_PSN_RANGE, {-0.3, 1.1}, true}, {EP_PSN_RANGE, {0.6, 2.1}, true},
      {EP_NORMSINV, {0.3}, true},           {EP_FPA, {0.05, 10}, true},        {EP_FPA, {0.0, 10}, true},
      {EP_FPL, {0.05, 10}, true},           {EP_PEL, {3.0, 4.5}, true},        {EP_PEB, {3.0, 4.5}, true},
      {EP_PPL, {2.5, 3.5}, true},           {EP_PBNO, {12.5, 0.3, 4.5}, true},
      // Discrete laws: the point (and a whole-number count) only selects terms.
      {EP_PPS, {3.5, 2.5}, true, 1},        {EP_PSDENS, {3, 2.5}, true, 1},    {EP_PPSINV, {0.4, 2.5}, true, 3},
      {EP_PBN, {4.5, 10, 0.3}, true, 3},    {EP_BNDENS, {4, 10, 0.3}, true, 3}, {EP_PGE, {3.5, 0.3}, true, 1},
      {EP_GEDENS, {3, 0.3}, true, 1},       {EP_NGBN, {4.5, 2.5, 0.4}, true, 1}, {EP_NGBNDENS, {4, 2.5, 0.4}, true, 1},
      {EP_PLG, {3.5, 0.6}, true, 1},        {EP_LGDENS, {3, 0.6}, true, 1},    {EP_PBB, {4.5, 10, 2, 3}, true, 3},
      {EP_BBDENS, {4, 10, 2, 3}, true, 3},
      {EP_PBT, {0.3, 2, 3}, true},          {EP_PBTINV, {0.4, 2, 3}, true},    {EP_BTDENS, {0.3, 2, 3}, true},
      {EP_PBT, {0.8, 2.5, 1.5}, true},      {EP_PCX, {2.5, 3}, true},          {EP_PCXINV, {0.6, 3}, true},
      {EP_CXDENS, {2.5, 3}, true},          {EP_PFD, {1.2, 4, 7}, true},       {EP_PFDINV, {0.3, 4, 7}, true},
      {EP_FDENS, {1.2, 4, 7}, true},        {EP_PGA, {2.2, 2, 1.5}, true},     {EP_PGAINV, {0.7, 2, 1.5}, true},
      {EP_GADENS, {2.2, 2, 1.5}, true},     {EP_PTD, {0.7, 5}, true},          {EP_PTD, {-1.3, 2.5}, true},
      {EP_PTD, {0.0, 5}, true},             {EP_PTDINV, {0.8, 5}, true},       {EP_TDENS, {0.7, 5}, true},
      {EP_PSS, {0.4, 1.5}, false},          {EP_SSDENS, {0.4, 1.5}, false},
  };
  for (const Prob& c : cases)
    withOperator(c.op, static_cast<int>(c.x.size()), [&] {
      int mark = 0;
      value(-1, c.x, &mark);
      EXPECT_EQ(mark, 0) << c.op;
      const Ref f = [&](const LD* p) { return static_cast<LD>(value(-1, std::vector<double>(p, p + c.x.size()))); };
      expectPartials(c.x, f, 1e-5L, c.exact ? 1e-7 : 1e-5, 1e-4L, 1e-5, c.held, c.exact, std::to_string(c.op));
    });
}

TEST_F(DerivTest, NormalTailFunctionsAgainstClosedForms) {
  // ln Phi(z) far in the lower tail: -z^2/2 - ln(-z sqrt(2 pi)) - 1/z^2 + ...
  // (Abramowitz and Stegun 26.2.12); the slope phi/Phi to -z - 1/z + 2/z^3 - 10/z^5 + ...
  ASSERT_EQ(load(2, {{EP_PUSH_VAR, 0, EP_PSN_LOG}, {EP_PUSH_VAR, 0, EP_PSN_UPPER},
                     {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PSN_RANGE}, {EP_PUSH_VAR, 0, EP_VPUSH_NUM, 3, 0, 1, 2, EP_MLTNMINV, 4},
                     {EP_PUSH_NUM, 3, EP_PUSH_VAR, 1, EP_PUSH_VAR, 0, EP_PBNO}},
                 {0.5, 1.0, 0.5, 12.5}),
            0);
  const double z = -60;
  const double asym = -0.5 * z * z - std::log(-z * std::sqrt(2 * M_PI)) - 1 / (z * z) + 2.5 / std::pow(z, 4);
  EXPECT_NEAR(value(-1, {z, 0}), asym, 1e-11 * std::fabs(asym));
  EXPECT_NEAR(gradient(-1, {z, 0})[0], -z - 1 / z + 2 / std::pow(z, 3) - 10 / std::pow(z, 5), 1e-10);
  EXPECT_NEAR(value(0, {9, 0}), 1.1285884059538408e-19, 1e-31);  // 1 - Phi(9)
  EXPECT_NEAR(value(1, {8, 9}), 6.220960574271785e-16 - 1.1285884059538408e-19, 1e-27);
  // Categorical quantile with weights 0.5, 1, 0.5 (normalised to 1/4, 1/2, 1/4).
  EXPECT_EQ(value(2, {0.2, 0}), 0);
  EXPECT_EQ(value(2, {0.5, 0}), 1);
  EXPECT_EQ(value(2, {0.9, 0}), 2);
  int mark = 0;
  EXPECT_EQ(value(2, {1.5, 0}, &mark), 1e30);
  EXPECT_EQ(mark, 1);
  // The binomial loss far above its trials sums no more than the trials' terms.
  const std::vector<double> g = gradient(3, {1e15, 0.3});
  EXPECT_TRUE(std::isfinite(g[0]) && std::isfinite(g[1]));
}

TEST_F(DerivTest, DomainEdgesAndSubstitutes) {
  ASSERT_EQ(load(2, {{EP_PUSH_VAR, 0, EP_SQRT},
                     {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_DIVIDE},
                     {EP_PUSH_VAR, 0, EP_LN},
                     {EP_PUSH_VAR, 0, EP_ASIN},
                     {EP_PUSH_VAR, 0, EP_EXP},
                     {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MOD}}),
            0);
  // Row, point, value and mark (-1: not asked for).
  const struct {
    int row;
    std::vector<double> x;
    double value;
    int mark;
  } edges[] = {{-1, {4, 0}, 2.0, 0},   {-1, {-1, 0}, 1e30, 1},        {0, {1, 0}, 1e30, 1},
               {0, {-1, 0}, -1e30, -1}, {0, {0, 0}, 1e30, -1},          {0, {-1, -0.0}, -1e30, -1},
               {1, {-2, 0}, 1e30, 1},  {1, {1e-40, 0}, std::log(1e-30), 1}, {2, {1.5, 0}, 1e30, 1},
               {3, {710, 0}, 1.7976931348623157e308, 0},  // marked only when derivatives are formed
               {4, {3, 0}, 1e30, 1}};
  int mark = -1;
  for (const auto& e : edges) {
    EXPECT_DOUBLE_EQ(value(e.row, e.x, e.mark < 0 ? nullptr : &mark), e.value) << e.row << " at " << e.x[0];
    if (e.mark >= 0) {
      EXPECT_EQ(mark, e.mark) << e.row << " at " << e.x[0];
    }
  }
  EXPECT_DOUBLE_EQ(gradient(-1, {4, 0})[0], 0.25);
  double v = 0, g[2];
  const double big[] = {710, 0};
  ASSERT_EQ(QXexecuteInstruct(model, 3, QX_EVAL_GRADIENT, big, &v, g, &mark), 0);
  EXPECT_EQ(mark, 1);
}

TEST_F(DerivTest, SparsityIsStructural) {
  // Rows: x0*x1; 3*x2 + sin(x0); floor(x1) + x2^2; if(x0 > 0, x1^2, x2).
  ASSERT_EQ(load(3, {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MULTIPLY},
                     {EP_PUSH_NUM, 0, EP_PUSH_VAR, 2, EP_MULTIPLY, EP_PUSH_VAR, 0, EP_SIN, EP_PLUS},
                     {EP_PUSH_VAR, 1, EP_FLOOR, EP_PUSH_VAR, 2, EP_SQR, EP_PLUS},
                     {EP_PUSH_VAR, 0, EP_PUSH_NUM, 1, EP_GTHAN, EP_PUSH_VAR, 1, EP_SQR, EP_PUSH_VAR, 2, EP_IF}},
                 {3.0, 0.0}),
            0);
  int nnz = 0, objNnz = 0, start[5], index[16];
  double val[16];
  const double x[] = {0.5, 2.0, -1.0};
  ASSERT_EQ(QXgetJac(model, &nnz, &objNnz, start, index, val, x), 0);
  EXPECT_EQ(objNnz, 2);
  EXPECT_EQ(std::vector<int>(start, start + 5), (std::vector<int>{0, 2, 4, 5, 7}));
  EXPECT_EQ(std::vector<int>(index, index + nnz), (std::vector<int>{0, 1, 0, 2, 2, 1, 2}));
  EXPECT_DOUBLE_EQ(val[2], std::cos(0.5));
  EXPECT_DOUBLE_EQ(val[5], 4.0);  // branch taken: d(x1^2) = 2 x1
  EXPECT_DOUBLE_EQ(val[6], 0.0);
  int hn = 0, hs[6], i1[8], i2[8];
  double hv[8];
  ASSERT_EQ(QXgetHess(model, &hn, hs, i1, i2, hv, x), 0);
  EXPECT_EQ(std::vector<int>(hs, hs + 5), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(std::vector<int>(i1, i1 + hn), (std::vector<int>{1, 0, 2, 1}));
  EXPECT_EQ(std::vector<int>(i2, i2 + hn), (std::vector<int>{0, 0, 2, 1}));
  EXPECT_DOUBLE_EQ(hv[0], 1.0);
  EXPECT_DOUBLE_EQ(hv[1], -std::sin(0.5));
  EXPECT_DOUBLE_EQ(hv[2], 2.0);
  EXPECT_DOUBLE_EQ(hv[3], 2.0);
}

TEST_F(DerivTest, AggregatesLoweredExactly) {
  // stdev(x0, x1, x2) and npv(r, x1, x2) against closed forms.
  ASSERT_EQ(load(3, {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PUSH_VAR, 2, EP_STDEV, 3},
                     {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PUSH_VAR, 2, EP_NPV, 3},
                     {EP_VPUSH_VAR, 2, 0, 1, EP_VPUSH_VAR, 2, 2, 1, EP_SUMPROD, 2, 2}}),
            0);
  const std::vector<double> x = {0.1, 2.0, 5.0};
  const double mean = 7.1 / 3;
  const double var = ((0.1 - mean) * (0.1 - mean) + (2 - mean) * (2 - mean) + (5 - mean) * (5 - mean)) / 2;
  EXPECT_NEAR(value(-1, x), std::sqrt(var), 1e-14);
  const std::vector<double> g = gradient(-1, x);
  EXPECT_NEAR(g[0], (0.1 - mean) / (2 * std::sqrt(var)), 1e-14);
  EXPECT_NEAR(value(0, x), 2.0 / 1.1 + 5.0 / (1.1 * 1.1), 1e-14);
  EXPECT_NEAR(value(1, x), 0.1 * 5.0 + 2.0 * 2.0, 1e-14);
  EXPECT_EQ(gradient(1, x), (std::vector<double>{5.0, 4.0, 0.1}));
}

}  // namespace
}  // namespace torva_test

// Digamma and trigamma of negative arguments through the reflection
// formulas: equal to the library's own values where those are safe, and
// finite far out, where the integer part of x exceeds an int (a fuzzing
// find: the direct evaluation converted it to int).
TEST(GammaPartials, NegativeArgumentsByReflection) {
  for (double x : {-0.5, -2.5, -7.3, -40.75}) {
    EXPECT_NEAR(torva::nlp::digammaOf(x), boost::math::digamma(x), 1e-9 * (1 + std::fabs(boost::math::digamma(x)))) << x;
    EXPECT_NEAR(torva::nlp::trigammaOf(x), boost::math::trigamma(x), 1e-9 * (1 + std::fabs(boost::math::trigamma(x)))) << x;
  }
  const double far = -2.57732e10 + 0.25;
  EXPECT_TRUE(std::isfinite(torva::nlp::digammaOf(far)));
  EXPECT_TRUE(std::isfinite(torva::nlp::trigammaOf(far)));
  EXPECT_NEAR(torva::nlp::trigammaOf(far), 2 * M_PI * M_PI, 1e-3);  // pi^2 / sin^2(pi/4) dominates
  // Next to the pole at 0 the values overflow to infinities, without throwing.
  EXPECT_TRUE(std::isinf(torva::nlp::digammaOf(1e-310)));
  EXPECT_TRUE(std::isinf(torva::nlp::trigammaOf(1e-310)));
}
