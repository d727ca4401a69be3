// The barrier method (method 3) through QXoptimize: Netlib models to the
// published optimum with crossover (basic statuses, residual checks) and
// without it (interior solution), and models without an optimum.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "simplex/ipm/conic.hpp"
#include "simplex/ipm/ipm.hpp"
#include "simplex/lp.hpp"
#include "tests/simplex/simplex_check.hpp"

namespace {

using torva::testsupport::LoadedModel;
namespace ipm = torva::ipm;
namespace simplex = torva::simplex;

// Agreement with objectives.tsv (10 significant digits published).
constexpr double kObjectiveTol = 1e-6;
constexpr double kInf = 1e30;

struct Case {
  const char* model;
  bool crossover;
};
[[maybe_unused]] void PrintTo(const Case& c, std::ostream* os) {
  *os << c.model << (c.crossover ? " crossover" : " interior");
}

// Ranges, free rows, negative upper bounds, objective constants, degenerate
// and dual-degenerate optima.
const char* const kModels[] = {"afiro", "adlittle", "blend",  "boeing2", "kb2",    "share2b",
                               "agg",   "stocfor1", "scagr7", "e226",    "sctap1"};

std::vector<Case> cases() {
  std::vector<Case> out;
  for (const char* m : kModels)
    for (bool x : {true, false}) out.push_back({m, x});
  return out;
}

class BarrierNetlib : public ::testing::TestWithParam<Case> {};

TEST_P(BarrierNetlib, SolvesToPublishedOptimum) {
  const Case& c = GetParam();
  const std::string path = torva::testsupport::netlibDir() + "/" + c.model + ".mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  LoadedModel lm;
  ASSERT_TRUE(lm.read(path));
  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_SOLVER_IPMSOL, c.crossover ? 0 : 1), 0);
  int status = 0;
  ASSERT_EQ(QXoptimize(lm.model, QX_METHOD_BARRIER, &status), 0);
  EXPECT_EQ(status, c.crossover ? QX_STATUS_BASIC_OPTIMAL : QX_STATUS_OPTIMAL);
  int method = 0, barIter = 0;
  double obj = 0.0;
  QXgetInfo(lm.model, QX_IINFO_METHOD, &method);
  QXgetInfo(lm.model, QX_IINFO_BAR_ITER, &barIter);
  QXgetInfo(lm.model, QX_DINFO_POBJ, &obj);
  EXPECT_EQ(method, QX_METHOD_BARRIER);
  EXPECT_GT(barIter, 0);
  const double expected = torva::testsupport::netlibObjectives().at(c.model);
  EXPECT_LE(std::fabs(obj - expected) / std::max(1.0, std::fabs(expected)), kObjectiveTol)
      << "objective " << obj << " expected " << expected;
  if (c.crossover) {
    // The basic solution checked against the model alone.
    const torva::LpSolution& rec = *lm.model->lpSolution;
    torva::simplex::SimplexResult r;
    r.x = rec.x;
    r.y = rec.y;
    r.d = rec.d;
    torva::testsupport::checkOptimal(lm.data(), r);
    int basic = 0;
    for (int s : rec.colStatus) basic += s >= 0;
    for (int s : rec.rowStatus) basic += s >= 0;
    EXPECT_EQ(basic, lm.data().m);
  } else {
    // The interior solution: its dual objective closes the gap.
    double dobj = 0.0;
    QXgetInfo(lm.model, QX_DINFO_DOBJ, &dobj);
    EXPECT_LE(std::fabs(dobj - expected) / std::max(1.0, std::fabs(expected)), kObjectiveTol)
        << "dual objective " << dobj << " expected " << expected;
  }
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  return std::string(info.param.model) + (info.param.crossover ? "_crossover" : "_interior");
}
INSTANTIATE_TEST_SUITE_P(Netlib, BarrierNetlib, ::testing::ValuesIn(cases()), caseName);

// The push moves each superbasic the way its reduced cost lowers the
// objective: min -x1 - 2 x2, x1 + x2 <= 1, 0 <= x <= 1, from (0.5, 0.4),
// slack 0.1, x1 preferred as basic. To the nearer bounds it ends at (1, 0);
// the optimum (0, 1) has x1 off its upper bound, x2 off its lower, slack 0.
TEST(BarrierCrossover, PushFollowsReducedCosts) {
  simplex::Lp lp;
  lp.m = 1, lp.n = 2, lp.colStart = {0, 1, 2}, lp.rowIndex = {0, 0}, lp.colValue = {1, 1};
  lp.lower = {0, 0, 0}, lp.upper = {1, 1, INFINITY}, lp.cost = {-1, -2, 0}, lp.rhs = {1};
  ipm::IpmResult r;
  r.x = {0.5, 0.4, 0.1}, r.y = {0}, r.z = {0, 0, 0};
  std::vector<int> cols, rows;
  ipm::CrossoverStats st;
  ASSERT_TRUE(ipm::crossoverBasis(lp, r, ipm::CrossoverOptions{}, cols, rows, st));
  EXPECT_TRUE(cols.at(0) != -2 && cols.at(1) != -1 && rows.at(0) == -1)
      << cols[0] << " " << cols[1] << " " << rows[0];
}

// Small models without an optimum end with a certificate from the
// homogeneous embedding, with or without crossover asked for.
struct NoOptimum {
  const char* name;
  int m, n;
  std::vector<double> c, b;
  const char* types;
  std::vector<int> beg, idx;
  std::vector<double> val, lo, up;
  int status;
};

TEST(BarrierNoOptimum, InfeasibleAndUnbounded) {
  const NoOptimum cases[] = {
      // x1 + x2 >= 3 and x1 + x2 + x3 <= 1 with a boxed third column.
      {"infeasible", 2, 3, {1, 1, 0}, {3, 1}, "GL", {0, 2, 4, 6}, {0, 1, 0, 1, 0, 1}, {1, 1, 1, 1, 1, -1},
       {0, 0, 0}, {kInf, 10, 0.5}, QX_STATUS_INFEASIBLE},
      // min -x1 - x3 with x1 - x2 <= 1, x2 - x3 <= 2, x >= 0.
      {"unbounded", 2, 3, {-1, 0, -1}, {1, 2}, "LL", {0, 1, 3, 4}, {0, 0, 1, 1}, {1, -1, 1, -1},
       {0, 0, 0}, {kInf, kInf, kInf}, QX_STATUS_UNBOUNDED},
  };
  for (const NoOptimum& c : cases) {
    for (int ipmsol : {0, 1}) {
      SCOPED_TRACE(testing::Message() << c.name << " ipmsol " << ipmsol);
      LoadedModel lm;
      ASSERT_TRUE(lm.load(c.m, c.n, 1, c.c, c.b, c.types, c.beg, c.idx, c.val, c.lo, c.up));
      ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_SOLVER_IPMSOL, ipmsol), 0);
      ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_SOLVER_IUSOL, 1), 0);
      int status = 0;
      EXPECT_EQ(QXoptimize(lm.model, QX_METHOD_BARRIER, &status), 0);
      EXPECT_EQ(status, c.status);
      // The ray improves by >= 1 (boxed bound terms netted): d = -A'y, b'y + l'd+ + u'd-; or A x, x, -c'x.
      const torva::LpSolution& rec = *lm.model->lpSolution;
      const bool farkas = c.status == QX_STATUS_INFEASIBLE;
      std::vector<double> ax(c.m, 0.0), aty(c.n, 0.0);
      double value = 0.0;
      for (int j = 0; j < c.n; ++j) {
        for (int q = c.beg[j]; q < c.beg[j + 1]; ++q)
          aty[j] += c.val[q] * rec.y[c.idx[q]], ax[c.idx[q]] += c.val[q] * rec.x[j];
        const double v = farkas ? rec.d[j] : rec.x[j];
        if (farkas) {
          EXPECT_NEAR(aty[j] + v, 0.0, kObjectiveTol);
        }
        if (std::fabs(v) > kObjectiveTol && (v > 0 ? c.lo[j] > -kInf : c.up[j] < kInf))
          value += farkas ? (v > 0 ? c.lo[j] : c.up[j]) * v : -c.c[j] * v;
        else if (std::fabs(v) > kObjectiveTol) ADD_FAILURE() << "column " << j << " leaves its bound";
      }
      for (int i = 0; i < c.m; ++i) {
        EXPECT_LE((c.types[i] == 'G' ? -1 : 1) * (farkas ? rec.y[i] : ax[i]), kObjectiveTol) << "row " << i;
        value += farkas ? c.b[i] * rec.y[i] : 0.0;
      }
      EXPECT_GE(value, 1.0 - kObjectiveTol);
    }
  }
}

// Convex QPs and second-order cone programs with known optima, solved by the
// interior-point method through QXoptimize and QXoptimizeQP; models it must
// refuse. Quadratic terms (a, b, q) mean 1/2 q x_a x_b, counted for (b, a)
// too when a != b.
struct ConicCase {
  const char* name;
  int m, n, sense;
  std::vector<double> c, b;
  const char* types;
  std::vector<int> beg, idx;
  std::vector<double> val, lo, up;
  std::vector<int> q1, q2;  // quadratic terms, of the objective unless qr gives rows
  std::vector<double> qv;
  const char* coneTypes;    // cones, or nullptr
  std::vector<int> coneBeg, coneCols;
  double objective;         // optimum, or NaN when error is expected
  int error;                // of QXoptimize (QXoptimizeQP when method < 0)
  int method;
  std::vector<int> qr;      // rows of the quadratic terms, when not the objective
  int threads = 1;          // above 1: the concurrent runner (thread mode 4)
};

TEST(BarrierConic, KnownOptimaAndRefusals) {
  const double nan = std::nan("");
  const ConicCase cases[] = {
      // Hock-Schittkowski 21 without its constant -100: x = (2, 0).
      {"hs21", 1, 2, 1, {0, 0}, {10}, "G", {0, 1, 2}, {0, 0}, {10, -1}, {2, -50}, {50, 50},
       {0, 1}, {0, 1}, {0.02, 2}, nullptr, {}, {}, 0.04, 0, QX_METHOD_BARRIER, {}},
      {"hs21 concurrent", 1, 2, 1, {0, 0}, {10}, "G", {0, 1, 2}, {0, 0}, {10, -1}, {2, -50}, {50, 50},
       {0, 1}, {0, 1}, {0.02, 2}, nullptr, {}, {}, 0.04, 0, QX_METHOD_FREE, {}, 2},
      // Hock-Schittkowski 35 without its constant 9: 1/9 - 9, through QXoptimizeQP.
      {"hs35", 1, 3, 1, {-8, -6, -4}, {3}, "L", {0, 1, 2, 3}, {0, 0, 0}, {1, 1, 2}, {0, 0, 0},
       {kInf, kInf, kInf}, {0, 1, 2, 1, 2}, {0, 1, 2, 0, 0}, {4, 4, 2, 2, 2}, nullptr, {}, {},
       1.0 / 9.0 - 9.0, 0, -1, {}},
      // Portfolio: max x1 + 2 x2 - x1^2 - x2^2 with x1 + x2 = 1: x = (1/4, 3/4).
      {"portfolio", 1, 2, -1, {1, 2}, {1}, "E", {0, 1, 2}, {0, 0}, {1, 1}, {0, 0}, {kInf, kInf},
       {0, 1}, {0, 1}, {-2, -2}, nullptr, {}, {}, 1.125, 0, QX_METHOD_FREE, {}},
      // Projection of (3, 4) on x1 + x2 <= 1: min t, (t, x - p) in a cone.
      {"projection", 3, 5, 1, {1, 0, 0, 0, 0}, {-3, -4, 1}, "EEL", {0, 0, 1, 2, 4, 6},
       {0, 1, 0, 2, 1, 2}, {1, 1, -1, 1, -1, 1}, {0, -kInf, -kInf, -kInf, -kInf},
       {kInf, kInf, kInf, kInf, kInf}, {}, {}, {}, "Q", {0, 3}, {0, 1, 2}, 6.0 / std::sqrt(2.0), 0,
       QX_METHOD_BARRIER, {}},
      // Markowitz-style: max x1 + 2 x2, x1 + x2 = 1, ||x|| <= t with t fixed at 0.8.
      {"markowitz", 1, 3, -1, {1, 2, 0}, {1}, "E", {0, 1, 2, 2}, {0, 0}, {1, 1}, {0, 0, 0.8},
       {kInf, kInf, 0.8}, {}, {}, {}, "Q", {0, 3}, {2, 0, 1}, 1.5 + std::sqrt(1.12) / 4.0, 0, -1, {}},
      // Rotated cone: min x0 with 2 x0 x1 >= x2^2, x1 fixed at 1, x2 >= 3.
      {"rotated", 1, 3, 1, {1, 0, 0}, {3}, "G", {0, 0, 0, 1}, {0}, {1}, {0, 1, -kInf}, {kInf, 1, kInf},
       {}, {}, {}, "R", {0, 3}, {0, 1, 2}, 4.5, 0, QX_METHOD_FREE, {}},
      // Quadratic rows as cones: min -x1 - x2 with x1^2 + x2^2 <= 1 ...
      {"qc disc", 1, 2, 1, {-1, -1}, {1}, "L", {0, 0, 0}, {}, {}, {-kInf, -kInf}, {kInf, kInf}, {0, 1},
       {0, 1}, {2, 2}, nullptr, {}, {}, -std::sqrt(2.0), 0, -1, {0, 0}},
      // ... and min x3 with x3 - x1^2 - x2^2 >= 0, x1 + x2 = 2: x = (1, 1, 2).
      {"qc epigraph", 2, 3, 1, {0, 0, 1}, {0, 2}, "GE", {0, 1, 2, 3}, {1, 1, 0}, {1, 1, 1},
       {-kInf, -kInf, -kInf}, {kInf, kInf, kInf}, {0, 1}, {0, 1}, {-2, -2}, nullptr, {}, {}, 2.0, 0,
       QX_METHOD_BARRIER, {0, 0}},
      // An equality with quadratic terms is not convex.
      {"qc equality", 1, 2, 1, {1, 1}, {1}, "E", {0, 0, 0}, {}, {}, {-kInf, -kInf}, {kInf, kInf}, {0},
       {0}, {2}, nullptr, {}, {}, nan, QXERR_NOT_CONVEX, -1, {0}},
      // Not convex: min x1^2 - x2^2.
      {"nonconvex", 1, 2, 1, {0, 0}, {1}, "L", {0, 1, 2}, {0, 0}, {1, 1}, {-1, -1}, {1, 1}, {0, 1},
       {0, 1}, {2, -2}, nullptr, {}, {}, nan, QXERR_NOT_CONVEX, QX_METHOD_BARRIER, {}},
      // The simplex methods do not take cones.
      {"cone primal", 1, 2, 1, {1, 0}, {1}, "G", {0, 0, 1}, {0}, {1}, {0, -kInf}, {kInf, kInf}, {}, {},
       {}, "Q", {0, 2}, {0, 1}, nan, QXERR_BAD_SOLVER_TYPE, QX_METHOD_PSIMPLEX, {}},
  };
  for (const ConicCase& c : cases) {
    SCOPED_TRACE(c.name);
    LoadedModel lm;
    ASSERT_TRUE(lm.load(c.m, c.n, c.sense, c.c, c.b, c.types, c.beg, c.idx, c.val, c.lo, c.up));
    std::vector<int> rows = c.qr;
    rows.resize(c.qv.size(), -1);
    if (!c.qv.empty()) {
      ASSERT_EQ(QXloadQCData(lm.model, static_cast<int>(c.qv.size()), rows.data(), c.q1.data(), c.q2.data(),
                             c.qv.data()), 0);
    }
    if (c.coneTypes) {
      ASSERT_EQ(QXloadConeData(lm.model, static_cast<int>(c.coneBeg.size()) - 1, c.coneTypes, c.coneBeg.data(),
                               c.coneCols.data()), 0);
    }
    QXsetModelIntParameter(lm.model, QX_IPARAM_NUM_THREADS, c.threads);
    QXsetModelIntParameter(lm.model, QX_IPARAM_MULTITHREAD_MODE, 4);
    int status = 0;
    const int rc = c.method < 0 ? QXoptimizeQP(lm.model, &status) : QXoptimize(lm.model, c.method, &status);
    ASSERT_EQ(rc, c.error);
    if (c.error == QXERR_NOT_CONVEX && c.method >= 0) {
      EXPECT_EQ(status, QX_STATUS_NUMERICAL_ERROR);
    }
    if (c.error) continue;
    EXPECT_EQ(status, QX_STATUS_OPTIMAL);
    double pobj = 0.0, dobj = 0.0;
    int method = 0, iters = 0;
    QXgetInfo(lm.model, QX_DINFO_POBJ, &pobj);
    QXgetInfo(lm.model, QX_DINFO_DOBJ, &dobj);
    QXgetInfo(lm.model, QX_IINFO_METHOD, &method);
    QXgetInfo(lm.model, QX_IINFO_BAR_ITER, &iters);
    EXPECT_NEAR(pobj, c.objective, kObjectiveTol * (1.0 + std::fabs(c.objective)));
    EXPECT_NEAR(dobj, c.objective, kObjectiveTol * (1.0 + std::fabs(c.objective)));
    EXPECT_EQ(method, c.coneTypes ? QX_METHOD_NLP : QX_METHOD_BARRIER);
    int ipmStatus = 0;
    double ipmObj = 0.0;
    EXPECT_EQ(QXgetInfo(lm.model, QX_IINFO_IPM_STATUS, &ipmStatus), 0);
    EXPECT_EQ(QXgetInfo(lm.model, QX_DINFO_IPM_POBJ, &ipmObj), 0);
    EXPECT_EQ(ipmStatus, QX_STATUS_OPTIMAL);
    EXPECT_EQ(ipmObj, pobj);
    EXPECT_GT(iters, 0);
    // The primal point against the rows and bounds, the objective recomputed from it.
    std::vector<double> x(c.n);
    ASSERT_EQ(QXgetPrimalSolution(lm.model, x.data()), 0);
    double obj = 0.0;
    for (int j = 0; j < c.n; ++j) {
      EXPECT_GE(x[j], c.lo[j] - 1e-7);
      EXPECT_LE(x[j], c.up[j] + 1e-7);
      obj += c.c[j] * x[j];
    }
    for (std::size_t k = 0; k < c.qv.size() && c.qr.empty(); ++k)
      obj += 0.5 * c.qv[k] * x[c.q1[k]] * x[c.q2[k]] * (c.q1[k] == c.q2[k] ? 1.0 : 2.0);
    EXPECT_NEAR(obj, c.objective, kObjectiveTol * (1.0 + std::fabs(c.objective)));
    for (int i = 0; i < c.m; ++i) {
      double ax = 0.0;
      for (int j = 0; j < c.n; ++j)
        for (int p = c.beg[j]; p < c.beg[j + 1]; ++p) ax += c.idx[p] == i ? c.val[p] * x[j] : 0.0;
      for (std::size_t k = 0; k < c.qr.size(); ++k)
        if (c.qr[k] == i) ax += 0.5 * c.qv[k] * x[c.q1[k]] * x[c.q2[k]] * (c.q1[k] == c.q2[k] ? 1.0 : 2.0);
      if (c.types[i] != 'G') {
        EXPECT_LE(ax, c.b[i] + 1e-7);
      }
      if (c.types[i] != 'L') {
        EXPECT_GE(ax, c.b[i] - 1e-7);
      }
    }
  }
}

// Quadratic and conic models without an optimum: the interior-point iterates
// diverge along a certificate.
TEST(BarrierConic, InfeasibleAndUnbounded) {
  const double nan = std::nan("");
  const ConicCase cases[] = {
      // x1 + x2 >= 3 and x1 + x2 <= 1, min x1^2 + x2^2.
      {"qp infeasible", 2, 2, 1, {0, 0}, {3, 1}, "GL", {0, 2, 4}, {0, 1, 0, 1}, {1, 1, 1, 1}, {0, 0},
       {kInf, kInf}, {0, 1}, {0, 1}, {2, 2}, nullptr, {}, {}, nan, QX_STATUS_INFEASIBLE, QX_METHOD_BARRIER, {}},
      // min -x1 + x2^2 with x1 - x3 <= 1, x >= 0: the ray (1, 0, 1).
      {"qp unbounded", 1, 3, 1, {-1, 0, 0}, {1}, "L", {0, 1, 1, 2}, {0, 0}, {1, -1}, {0, 0, 0},
       {kInf, kInf, kInf}, {1}, {1}, {2}, nullptr, {}, {}, nan, QX_STATUS_UNBOUNDED, QX_METHOD_BARRIER, {}},
      // min -t with ||x|| <= t and x1 <= 5: the ray (1, 0) in (t, x1).
      {"socp unbounded", 1, 2, 1, {-1, 0}, {5}, "L", {0, 0, 1}, {0}, {1}, {0, -kInf}, {kInf, kInf}, {}, {},
       {}, "Q", {0, 2}, {0, 1}, nan, QX_STATUS_UNBOUNDED, QX_METHOD_FREE, {}},
      // min t with ||x|| <= t, t <= 1 and x1 >= 2.
      {"socp infeasible", 1, 3, 1, {1, 0, 0}, {2}, "G", {0, 0, 1, 1}, {0}, {1}, {0, -kInf, -kInf}, {1, kInf, kInf},
       {}, {}, {}, "Q", {0, 3}, {0, 1, 2}, nan, QX_STATUS_INFEASIBLE, QX_METHOD_BARRIER, {}},
  };
  for (const ConicCase& c : cases) {
    SCOPED_TRACE(c.name);
    LoadedModel lm;
    ASSERT_TRUE(lm.load(c.m, c.n, c.sense, c.c, c.b, c.types, c.beg, c.idx, c.val, c.lo, c.up));
    std::vector<int> rows(c.qv.size(), -1);
    if (!c.qv.empty()) {
      ASSERT_EQ(QXloadQCData(lm.model, static_cast<int>(c.qv.size()), rows.data(), c.q1.data(), c.q2.data(),
                             c.qv.data()), 0);
    }
    if (c.coneTypes) {
      ASSERT_EQ(QXloadConeData(lm.model, 1, c.coneTypes, c.coneBeg.data(), c.coneCols.data()), 0);
    }
    int status = 0, ipmStatus = 0;
    ASSERT_EQ(QXoptimize(lm.model, c.method, &status), 0);
    EXPECT_EQ(status, c.error);  // the expected model status
    EXPECT_EQ(QXgetInfo(lm.model, QX_IINFO_IPM_STATUS, &ipmStatus), 0);
    EXPECT_EQ(ipmStatus, c.error);
  }
}

// The certificates of the homogeneous embedding, checked on the kernel's
// problem form: min 1/2 x'Px + q'x, A x = b, G x + s = h, s in K (dense
// row-major matrices here; P symmetric).
ipm::CscMatrix csc(int rows, int cols, const std::vector<double>& dense, bool upper = false) {
  ipm::CscMatrix m{rows, cols, {0}, {}, {}};
  for (int j = 0; j < cols; ++j, m.start.push_back(static_cast<int>(m.index.size())))
    for (int i = 0; i < (upper ? j + 1 : rows); ++i)
      if (dense[i * cols + j] != 0.0) m.index.push_back(i), m.value.push_back(dense[i * cols + j]);
  return m;
}

TEST(ConicKernel, CertificatesOfInfeasibilityAndUnboundedness) {
  struct Kernel {
    const char* name;
    int n, me, orthant;
    std::vector<int> cones;
    std::vector<double> q, p, a, b, g, h;
    ipm::ConicStatus status;
    double infeasTol = ipm::ConicOptions{}.infeasTol, stepFraction = ipm::ConicOptions{}.stepFraction;
    bool reduced = false;
  } cases[] = {
      {"qp rows", 2, 0, 4, {}, {0, 0}, {2, 0, 0, 2}, {}, {}, {-1, -1, 1, 1, -1, 0, 0, -1}, {-3, 1, 0, 0},
       ipm::ConicStatus::PrimalInfeasible},
      {"qp equality", 2, 1, 2, {}, {0, 0}, {2, 0, 0, 0}, {1, 1}, {-1}, {-1, 0, 0, -1}, {0, 0},
       ipm::ConicStatus::PrimalInfeasible},
      {"socp", 3, 0, 2, {3}, {1, 0, 0}, std::vector<double>(9, 0.0), {}, {},
       {1, 0, 0, 0, -1, 0, -1, 0, 0, 0, -1, 0, 0, 0, -1}, {1, -2, 0, 0, 0}, ipm::ConicStatus::PrimalInfeasible},
      {"qp ray", 3, 0, 4, {}, {-1, 0, 0}, {0, 0, 0, 0, 2, 0, 0, 0, 0}, {}, {},
       {1, 0, -1, -1, 0, 0, 0, -1, 0, 0, 0, -1}, {1, 0, 0, 0}, ipm::ConicStatus::DualInfeasible},
      {"socp ray", 2, 0, 1, {2}, {-1, 0}, {0, 0, 0, 0}, {}, {}, {0, 1, -1, 0, 0, -1}, {5, 0, 0},
       ipm::ConicStatus::DualInfeasible},
      // x <= 0 and x >= 5 held at its start (residual 1/10) by tiny steps: stalls near a certificate.
      {"stalled", 1, 0, 2, {}, {1}, {0}, {}, {}, {1, -1}, {0, -5}, ipm::ConicStatus::PrimalInfeasible, 2e-3, 1e-12,
       true},
  };
  for (const Kernel& c : cases) {
    SCOPED_TRACE(c.name);
    const double kCertTol = std::max(1e-8, 100 * c.infeasTol);  // a hundredfold the tolerance
    ipm::ConicProblem p;
    const int mk = static_cast<int>(c.h.size());
    p.n = c.n, p.q = c.q, p.b = c.b, p.h = c.h, p.orthant = c.orthant, p.coneDims = c.cones;
    p.p = csc(c.n, c.n, c.p, true), p.a = csc(c.me, c.n, c.a), p.g = csc(mk, c.n, c.g);
    simplex::SolveContext ctx;
    const ipm::ConicResult r = ipm::solveConic(p, {.infeasTol = c.infeasTol, .stepFraction = c.stepFraction}, ctx);
    ASSERT_EQ(r.status, c.status);
    EXPECT_EQ(r.reducedAccuracy, c.reduced);
    // The cone part: orthant rows nonnegative, each cone's head above its tail.
    const std::vector<double>& k = r.status == ipm::ConicStatus::PrimalInfeasible ? r.z : r.s;
    for (int i = 0; i < c.orthant; ++i) EXPECT_GE(k[i], -kCertTol);
    double tail = 0.0;
    for (int i = c.orthant + 1; i < mk; ++i) tail += k[i] * k[i];
    if (!c.cones.empty()) {
      EXPECT_GE(k[c.orthant] + kCertTol, std::sqrt(tail));
    }
    double objective = 0.0, residual = 0.0;
    for (int j = 0; j < c.n; ++j) {
      double v = 0.0;  // A'y + G'z, or P x
      if (r.status == ipm::ConicStatus::PrimalInfeasible) {
        for (int i = 0; i < c.me; ++i) v += c.a[i * c.n + j] * r.y[i];
        for (int i = 0; i < mk; ++i) v += c.g[i * c.n + j] * r.z[i];
      } else {
        for (int i = 0; i < c.n; ++i) v += c.p[j * c.n + i] * r.x[i];
        objective += c.q[j] * r.x[j];
      }
      residual = std::max(residual, std::fabs(v));
    }
    for (int i = 0; i < mk; ++i) {
      double v = r.s[i];  // G x + s
      for (int j = 0; j < c.n; ++j) v += c.g[i * c.n + j] * r.x[j];
      residual = std::max(residual, std::fabs(v));
      if (r.status == ipm::ConicStatus::PrimalInfeasible) objective += c.h[i] * r.z[i];
    }
    for (int i = 0; i < c.me; ++i) objective += c.b[i] * r.y[i];
    EXPECT_NEAR(objective, -1.0, kCertTol);
    EXPECT_LE(residual, kCertTol);
  }
}

}  // namespace
