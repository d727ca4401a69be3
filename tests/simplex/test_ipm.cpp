// The barrier method (method 3) through QXoptimize: Netlib models to the
// published optimum with crossover (basic statuses, residual checks) and
// without it (interior solution), and models without an optimum.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "tests/simplex/simplex_check.hpp"

namespace {

using torva::testsupport::LoadedModel;

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

// Small models without an optimum: the barrier's verdict is settled by the
// simplex after it, with or without crossover asked for.
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
    }
  }
}

}  // namespace
