// LP presolve and postsolve: Netlib models reduced, the reduced LP solved,
// the solution mapped back and checked on the full model (feasibility,
// d = c - A'y, signs, basis), the postsolved basis used as a warm start, a
// few presolve bits alone, and the pipeline's warm reoptimisation after a
// presolved solve.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>

#include "simplex/presolve/lp_presolver.hpp"
#include "tests/simplex/simplex_check.hpp"

namespace {

using torva::LpPresolver;
using torva::ModelData;
using torva::simplex::Method;
using torva::simplex::SimplexOptions;
using torva::simplex::SimplexResult;
using torva::simplex::SimplexWork;
using torva::simplex::SolveContext;
using torva::simplex::StartBasis;
using torva::testsupport::LoadedModel;
using torva::testsupport::netlibDir;
using torva::testsupport::netlibObjectives;

constexpr double kObjectiveTol = 1e-6;  // the published optima carry 10 digits
constexpr int kDefaultLevel = 126;

struct Case {
  std::string model;
  int level;
};
[[maybe_unused]] void PrintTo(const Case& c, std::ostream* os) { *os << c.model << " level " << c.level; }
// gtest names allow letters, digits and underscores only.
std::string testName(const Case& c, bool withLevel) {
  std::string s = c.model;
  for (char& ch : s)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return withLevel ? s + "_" + std::to_string(c.level) : s;
}

// Basis consistency of a postsolved result: one basic per row, every
// nonbasic column on the bound its status names.
void checkBasis(const ModelData& d, const SimplexResult& r) {
  int basics = 0;
  for (int s : r.colStatus) basics += s >= 0;
  for (int s : r.rowStatus) basics += s >= 0;
  EXPECT_EQ(basics, d.m);
  for (int j = 0; j < d.n; ++j) {
    const double tol = torva::testsupport::kPrimalCheckTol;
    if (r.colStatus[j] == QX_BASTYPE_ATLO) { EXPECT_NEAR(r.x[j], d.lower[j], tol * (1 + std::fabs(d.lower[j]))) << j; }
    if (r.colStatus[j] == QX_BASTYPE_ATUP) { EXPECT_NEAR(r.x[j], d.upper[j], tol * (1 + std::fabs(d.upper[j]))) << j; }
    EXPECT_NE(r.colStatus[j], QX_BASTYPE_SBAS) << j << " x " << r.x[j] << " in [" << d.lower[j] << ", " << d.upper[j] << "] d " << r.d[j];
  }
}

// Presolves, solves the reduced LP, postsolves, checks the full-model
// solution and warm-starts the full model from the postsolved basis.
void presolveAndCheck(const std::string& name, int level) {
  const std::string path = netlibDir() + "/" + name + ".mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  LoadedModel lm;
  ASSERT_TRUE(lm.read(path));
  const ModelData& d = lm.data();
  const double expected = netlibObjectives().at(name);
  auto pre = torva::makeLpPresolver();
  ModelData reduced;
  const LpPresolver::Verdict v = pre->presolve(d, level, reduced);
  ASSERT_TRUE(v == LpPresolver::Verdict::Reduced || v == LpPresolver::Verdict::Unchanged);
  if (v == LpPresolver::Verdict::Unchanged) return;
  EXPECT_LE(reduced.m, d.m);
  EXPECT_LE(reduced.n, d.n);
  SimplexResult r;
  SolveContext ctx;
  if (reduced.m > 0 || reduced.n > 0) {
    SimplexWork work(reduced);
    ASSERT_EQ(work.solve(reduced, Method::Dual, StartBasis::Crash, SimplexOptions{}, ctx, r), 0);
    ASSERT_EQ(r.outcome, torva::simplex::kOptimal);
  }
  const double reducedObj = r.objective;
  pre->postsolve(d, r);
  EXPECT_NEAR(r.objective, reducedObj, 1e-9 * (1 + std::fabs(reducedObj)));
  EXPECT_LE(std::fabs(r.objective - expected) / std::max(1.0, std::fabs(expected)), kObjectiveTol)
      << "objective " << r.objective << " expected " << expected;
  torva::testsupport::checkOptimal(d, r);
  checkBasis(d, r);

  // The postsolved basis is optimal for the full model up to the solver's
  // tolerances: a warm start needs at most a handful of iterations.
  if (std::getenv("TORVA_TEST_SIMPLEX_LOG")) {
    // Developer aid: the warm start's log on standard error.
    ctx.printLevel = 1;
    ctx.traceMask = 1;
    ctx.log = [](const std::string& s) { std::fputs(s.c_str(), stderr); };
  }
  SimplexWork full(d);
  full.setBasis(r.colStatus, r.rowStatus);
  SimplexResult warm;
  ASSERT_EQ(full.solve(d, Method::Primal, StartBasis::Given, SimplexOptions{}, ctx, warm), 0);
  EXPECT_EQ(warm.outcome, torva::simplex::kOptimal);
  EXPECT_LE(warm.iterations, 10 + d.m / 100) << "warm start from the postsolved basis";
  EXPECT_LE(std::fabs(warm.objective - expected) / std::max(1.0, std::fabs(expected)), kObjectiveTol);
}

class PresolveNetlib : public ::testing::TestWithParam<Case> {};
TEST_P(PresolveNetlib, PostsolvedSolutionIsOptimalForFullModel) {
  presolveAndCheck(GetParam().model, GetParam().level);
}

std::vector<Case> allNetlib() {
  std::vector<Case> out;
  for (const auto& [name, obj] : netlibObjectives()) out.push_back({name, kDefaultLevel});
  return out;
}
INSTANTIATE_TEST_SUITE_P(Default, PresolveNetlib, ::testing::ValuesIn(allNetlib()),
                         [](const auto& info) { return testName(info.param, false); });

// Each reduction bit alone on models that need it.
std::vector<Case> bitsAlone() {
  std::vector<Case> out;
  for (const char* name : {"afiro", "sc105", "scagr7", "boeing2", "ship04s", "bore3d"})
    for (int bit : {2, 4, 8, 16, 32, 64}) out.push_back({name, bit});
  return out;
}
INSTANTIATE_TEST_SUITE_P(Bits, PresolveNetlib, ::testing::ValuesIn(bitsAlone()),
                         [](const auto& info) { return testName(info.param, true); });

// ---- the pipeline: QXoptimize with the default presolve level

struct LogLines {
  std::string text;
  static void sink(QXmodel, const char* line, void* data) { static_cast<LogLines*>(data)->text += line; }
};

int infoInt(QXmodel m, int item) {
  int v = -1;
  EXPECT_EQ(QXgetInfo(m, item, &v), 0);
  return v;
}
double infoDou(QXmodel m, int item) {
  double v = 0;
  EXPECT_EQ(QXgetInfo(m, item, &v), 0);
  return v;
}

class PresolvePipeline : public ::testing::TestWithParam<std::string> {};

// A presolved solve passes the postsolve check without the fallback
// reoptimisation; after a bound change the next call starts warm from the
// postsolved basis and agrees with a cold solve without presolve.
TEST_P(PresolvePipeline, WarmReoptimisationAfterBoundChange) {
  const std::string path = netlibDir() + "/" + GetParam() + ".mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  LoadedModel lm;
  ASSERT_TRUE(lm.read(path));
  LogLines log;
  ASSERT_EQ(QXsetModelLogfunc(lm.model, LogLines::sink, &log), 0);
  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_LP_PRINTLEVEL, 1), 0);
  int status = 0;
  ASSERT_EQ(QXoptimize(lm.model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  const double expected = netlibObjectives().at(GetParam());
  EXPECT_LE(std::fabs(infoDou(lm.model, QX_DINFO_POBJ) - expected) / std::max(1.0, std::fabs(expected)),
            kObjectiveTol);
  EXPECT_LT(infoInt(lm.model, QX_IINFO_NUM_RDCONS), lm.data().m);
  EXPECT_EQ(log.text.find("Performing postsolve reoptimization"), std::string::npos);

  // Halve the distance of the first basic column above its lower bound.
  const ModelData& d = lm.data();
  std::vector<double> x(d.n);
  std::vector<int> cs(d.n), rs(d.m);
  ASSERT_EQ(QXgetPrimalSolution(lm.model, x.data()), 0);
  ASSERT_EQ(QXgetBasis(lm.model, cs.data(), rs.data()), 0);
  int j = 0;
  while (j < d.n && !(cs[j] >= 0 && d.lower[j] > -1e30 && x[j] > d.lower[j] + 1e-3)) ++j;
  ASSERT_LT(j, d.n);
  const double ub = 0.5 * (x[j] + d.lower[j]);
  ASSERT_EQ(QXmodifyUpperBounds(lm.model, 1, &j, &ub), 0);
  int warmStatus = 0;
  ASSERT_EQ(QXoptimize(lm.model, 0, &warmStatus), 0);
  const int warmIters = infoInt(lm.model, QX_IINFO_SIM_ITER);
  const double warmObj = infoDou(lm.model, QX_DINFO_POBJ);

  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_LP_PRELEVEL, 0), 0);
  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_SOLVER_RESTART, 1), 0);
  int coldStatus = 0;
  ASSERT_EQ(QXoptimize(lm.model, 0, &coldStatus), 0);
  EXPECT_EQ(warmStatus, coldStatus);
  EXPECT_LT(warmIters, infoInt(lm.model, QX_IINFO_SIM_ITER)) << "warm start not taken";
  if (coldStatus == QX_STATUS_BASIC_OPTIMAL) {
    EXPECT_NEAR(warmObj, infoDou(lm.model, QX_DINFO_POBJ), 1e-7 * (1 + std::fabs(warmObj)));
  }
}
INSTANTIATE_TEST_SUITE_P(Netlib, PresolvePipeline,
                         ::testing::Values("afiro", "sc205", "ship04s", "boeing1", "scfxm1", "bnl1"));

// Verdicts of presolve itself: an activity bound out of reach of a row, and
// a column without rows whose cost runs to an infinite bound.
struct VerdictCase {
  const char* name;
  int sense;
  std::vector<double> cost, lower, upper;
  int expectedStatus;
};
class PresolveVerdict : public ::testing::TestWithParam<VerdictCase> {};
TEST_P(PresolveVerdict, StatusWithoutSimplex) {
  const VerdictCase& c = GetParam();
  // One row x0 + x1 >= 3; column 2 has no entry.
  LoadedModel lm;
  ASSERT_TRUE(lm.load(1, 3, c.sense, c.cost, {3.0}, "G", {0, 1, 2, 2}, {0, 0}, {1.0, 1.0}, c.lower, c.upper));
  int status = 0;
  ASSERT_EQ(QXoptimize(lm.model, 0, &status), 0);
  EXPECT_EQ(status, c.expectedStatus);
  EXPECT_EQ(infoInt(lm.model, QX_IINFO_SIM_ITER), 0);
}
INSTANTIATE_TEST_SUITE_P(
    Small, PresolveVerdict,
    ::testing::Values(VerdictCase{"rowOutOfReach", QX_MIN, {1, 1, 0}, {0, 0, 0}, {1, 1, 1}, QX_STATUS_INFEASIBLE},
                      VerdictCase{"costToInfinity", QX_MAX, {1, 1, 1}, {0, 0, 0}, {5, 5, 1e30}, QX_STATUS_UNBOUNDED}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
