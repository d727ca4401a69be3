// LP presolve and postsolve: Netlib models reduced, the reduced LP solved,
// the solution mapped back and checked on the full model (feasibility,
// d = c - A'y, signs, basis), the postsolved basis used as a warm start, a
// few presolve bits alone, and the pipeline's warm reoptimisation after a
// presolved solve.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <tuple>

#include "base/model_fixture.hpp"
#include "simplex/presolve/lp_presolver.hpp"
#include "simplex/presolve/reduce_state.hpp"
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
  for (const auto& [name, obj] : netlibObjectives())
    if (torva::testsupport::sweptInThisBuild(name)) out.push_back({name, kDefaultLevel});
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

using torva_test::LogLines;

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

// Collects the LP log of lm at print level 1.
void collectLog(LoadedModel& lm, LogLines& log) {
  ASSERT_EQ(QXsetModelLogfunc(lm.model, LogLines::sink, &log), 0);
  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_LP_PRINTLEVEL, 1), 0);
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
  collectLog(lm, log);
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

// The run on the presolved LP ends with the presolving exit line. Stopped by
// the iteration limit, the solve leaves the postsolved basis of the full
// model resident: the next call reoptimises from it (no second presolved
// run) and reaches the optimum.
TEST(PresolveLimit, StoppedSolveResumesWarm) {
  const std::string path = netlibDir() + "/scagr25.mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  LoadedModel lm;
  ASSERT_TRUE(lm.read(path));
  LogLines log;
  collectLog(lm, log);
  int noLimit = 0;
  ASSERT_EQ(QXgetModelIntParameter(lm.model, QX_IPARAM_LP_ITRLMT, &noLimit), 0);
  constexpr int kLimit = 20;
  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_LP_ITRLMT, kLimit), 0);
  int status = 0;
  QXoptimize(lm.model, 0, &status);
  EXPECT_EQ(status, QX_STATUS_LOADED);
  const std::string presolvedExit = "Exit status=6, (#pivots=" + std::to_string(kLimit) + ")\n\n";
  EXPECT_EQ(log.count(presolvedExit), 1) << log.text;

  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_LP_ITRLMT, noLimit), 0);
  log = LogLines{};
  ASSERT_EQ(QXoptimize(lm.model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  EXPECT_NE(log.text.find("\nReopt exit status="), std::string::npos) << log.text;
  EXPECT_EQ(log.text.find("Exit status="), std::string::npos) << "presolved again: " << log.text;
  const double expected = netlibObjectives().at("scagr25");
  EXPECT_NEAR(infoDou(lm.model, QX_DINFO_POBJ), expected, kObjectiveTol * std::fabs(expected));
}

// A basis the host loads is a warm start: presolve stays out of the way and
// the optimal basis of an earlier solve needs no iteration.
TEST(PresolveWarm, LoadedBasisSkipsPresolve) {
  const std::string path = netlibDir() + "/afiro.mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  LoadedModel first, second;
  ASSERT_TRUE(first.read(path));
  ASSERT_TRUE(second.read(path));
  int status = 0;
  ASSERT_EQ(QXoptimize(first.model, 0, &status), 0);
  const int m = first.data().m, n = first.data().n;
  std::vector<int> cs(n), rs(m);
  ASSERT_EQ(QXgetBasis(first.model, cs.data(), rs.data()), 0);
  ASSERT_EQ(QXloadBasis(second.model, cs.data(), rs.data()), 0);
  ASSERT_EQ(QXoptimize(second.model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  EXPECT_EQ(infoInt(second.model, QX_IINFO_NUM_RDCONS), m);
  EXPECT_EQ(infoInt(second.model, QX_IINFO_SIM_ITER), 0);
}

// Verdicts on small models: an activity bound out of reach of a row (found
// by presolve), and a column without rows whose cost runs to an infinite
// bound. That column makes the model unbounded only once no rows are left
// that could still prove it infeasible: with rows left the simplex judges,
// and an infeasible row elsewhere wins. A verdict of presolve leaves no LP
// (sizes 0); an LP the simplex solved reports its size.
struct VerdictCase {
  const char* name;
  int sense;
  std::vector<double> cost, lower, upper, rhs;
  int expectedStatus;
  bool byPresolve;
};
class PresolveVerdict : public ::testing::TestWithParam<VerdictCase> {};
TEST_P(PresolveVerdict, FinalStatus) {
  const VerdictCase& c = GetParam();
  // Row 0: x0 + x1 >= rhs0; row 1: x0 - x1 <= rhs1; column 2 has no entry.
  LoadedModel lm;
  ASSERT_TRUE(lm.load(2, 3, c.sense, c.cost, c.rhs, "GL", {0, 2, 4, 4}, {0, 1, 0, 1}, {1.0, 1.0, 1.0, -1.0},
                      c.lower, c.upper));
  int status = 0;
  ASSERT_EQ(QXoptimize(lm.model, 0, &status), 0);
  EXPECT_EQ(status, c.expectedStatus);
  if (c.byPresolve) {
    EXPECT_EQ(infoInt(lm.model, QX_IINFO_SIM_ITER), 0);
    for (int item : {QX_IINFO_NUM_RDCONS, QX_IINFO_NUM_RDVARS, QX_IINFO_NUM_RDNONZ, QX_IINFO_NUM_RDINT})
      EXPECT_EQ(infoInt(lm.model, item), 0) << item;
  }
  ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_LP_PRELEVEL, 0), 0);
  ASSERT_EQ(QXoptimize(lm.model, 0, &status), 0);
  EXPECT_EQ(status, c.expectedStatus) << "without presolve";
  EXPECT_EQ(infoInt(lm.model, QX_IINFO_NUM_RDCONS), 2);
  EXPECT_EQ(infoInt(lm.model, QX_IINFO_NUM_RDVARS), 3);
  EXPECT_EQ(infoInt(lm.model, QX_IINFO_NUM_RDNONZ), 4);
}
const double kInfBound = 1e30;
INSTANTIATE_TEST_SUITE_P(
    Small, PresolveVerdict,
    ::testing::Values(
        VerdictCase{"rowOutOfReach", QX_MIN, {1, 1, 0}, {0, 0, 0}, {1, 1, 1}, {3, 5}, QX_STATUS_INFEASIBLE, true},
        // Both rows are redundant over the bounds: nothing is left but column 2.
        VerdictCase{"costToInfinity", QX_MAX, {1, 1, 1}, {0, 0, 0}, {5, 5, kInfBound}, {0, 5}, QX_STATUS_UNBOUNDED,
                    true},
        // Rows stay: the simplex finds the ray.
        VerdictCase{"costToInfinityRowsLeft", QX_MAX, {1, 1, 1}, {0, 0, 0}, {5, 5, kInfBound}, {3, 1},
                    QX_STATUS_UNBOUNDED, false},
        VerdictCase{"infeasibleBesideUnboundedColumn", QX_MAX, {1, 1, 1}, {0, 0, 0}, {1, 1, kInfBound}, {3, 5},
                    QX_STATUS_INFEASIBLE, true},
        // Infeasible only in combination: x0 + x1 >= 8 and x0 - x1 <= -4 ask for x1 >= 6 > 5.
        VerdictCase{"hiddenInfeasibleBesideUnboundedColumn", QX_MIN, {1, 1, -1}, {0, 0, 0}, {5, 5, kInfBound},
                    {8, -4}, QX_STATUS_INFEASIBLE, false}),
    [](const auto& info) { return std::string(info.param.name); });

// The presolve infeasibility margin follows a loose feasibility tolerance:
// a singleton row 5e-6 beyond the column's bound is infeasible at the
// default tolerance and feasible at 1e-5, before and after presolve alike.
TEST(PresolveTolerance, MarginFollowsFeasibilityTolerance) {
  for (const double tol : {1e-7, 1e-5}) {
    for (const int level : {0, kDefaultLevel}) {
      // x0 + x1 <= 4, x0 >= 1 + 5e-6 with x0 <= 1.
      LoadedModel lm;
      ASSERT_TRUE(lm.load(2, 2, QX_MIN, {1, 1}, {4, 1 + 5e-6}, "LG", {0, 2, 3}, {0, 1, 0}, {1.0, 1.0, 1.0}, {0, 0},
                          {1, 3}));
      ASSERT_EQ(QXsetModelDouParameter(lm.model, QX_DPARAM_SOLVER_FEASTOL, tol), 0);
      ASSERT_EQ(QXsetModelIntParameter(lm.model, QX_IPARAM_LP_PRELEVEL, level), 0);
      int status = 0;
      QXoptimize(lm.model, 0, &status);
      EXPECT_EQ(status, tol > 1e-6 ? QX_STATUS_BASIC_OPTIMAL : QX_STATUS_INFEASIBLE) << tol << " level " << level;
    }
  }
}

// ---- the passes pass over rows and columns that did not change since they
// last found nothing; looking at everything again must give the very same
// reductions, step by step, and the same reduced problem.
void expectSameReductions(const ModelData& d) {
  torva::presolve::Problem remembered(d), everything(d);
  everything.rememberSeen = false;
  std::vector<torva::presolve::Step> stepsR, stepsE;
  EXPECT_EQ(torva::presolve::reduce(remembered, kDefaultLevel, stepsR),
            torva::presolve::reduce(everything, kDefaultLevel, stepsE));
  ASSERT_EQ(stepsR.size(), stepsE.size());
  EXPECT_GT(stepsR.size(), 0u);
  for (std::size_t k = 0; k < stepsR.size(); ++k) {
    const auto &r = stepsR[k], &e = stepsE[k];
    ASSERT_TRUE(r.kind == e.kind && r.row == e.row && r.col == e.col && r.col2 == e.col2 && r.v1 == e.v1) << "step " << k;
  }
  EXPECT_EQ(remembered.rowOn, everything.rowOn);
  EXPECT_EQ(remembered.colOn, everything.colOn);
  EXPECT_EQ(remembered.lo, everything.lo);
  EXPECT_EQ(remembered.up, everything.up);
  EXPECT_EQ(remembered.rl, everything.rl);
  EXPECT_EQ(remembered.ru, everything.ru);
  EXPECT_EQ(remembered.cost, everything.cost);
}
class PresolveRemembered : public ::testing::TestWithParam<const char*> {};
TEST_P(PresolveRemembered, SameReductionsAsLookingAtEverything) {
  const std::string path = netlibDir() + "/" + GetParam() + ".mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  LoadedModel lm;
  ASSERT_TRUE(lm.read(path));
  expectSameReductions(lm.data());
}
// Models where the passes interleave most (several stages, substitutions,
// slack singletons, dual bounds, parallel columns).
INSTANTIATE_TEST_SUITE_P(Netlib, PresolveRemembered,
                         ::testing::Values("greenbea", "d2q06c", "pilot", "80bau3b", "maros-r7", "sierra", "scfxm2"),
                         [](const auto& info) { return testName(Case{info.param, 0}, false); });

// ---- small models, each built to need one reduction, at three row scales
// (tiny and huge coefficients must not make presolve lose the optimum).

struct SmallLp {
  const char* name;
  int bit;
  std::vector<std::vector<double>> rows;  // dense A
  std::string types;
  std::vector<double> rhs, cost, lower, upper;
};

const double kFree = 1e30;
const SmallLp kSmall[] = {
    // 2 x0 <= 3 is a singleton row; the optimum rests on the bound it gives.
    {"singletonRow", 2, {{1, 1, 1}, {2, 0, 0}, {0, 0, 0}}, "LLG", {4, 3, -1}, {-2, -1, 0}, {0, 0, 0}, {10, 10, 10}},
    // x2 is fixed at 2; column 3 is empty with a cost that prefers its upper bound.
    {"fixedAndEmpty", 4, {{1, 1, 1, 0}, {1, -1, 2, 0}}, "LG", {8, 1}, {-1, -2, 1, -1}, {0, 0, 2, 0}, {5, 5, 2, 3}},
    // x0 + x1 >= 20 with both at most 10 forces both up; x0 + x2 <= 100 is redundant.
    {"forcingRow", 8, {{1, 1, 0}, {1, 0, 1}, {0, 1, -1}}, "GLG", {20, 100, 2}, {1, 1, 1}, {0, 0, 0}, {10, 10, 10}},
    // x0 + x1 <= 4 implies x0, x1 <= 4, which make x0 - x1 <= 5 redundant (their own bounds do not).
    {"impliedBounds", 8, {{1, 1}, {1, -1}, {1, 2}}, "LLG", {4, 5, 1}, {-2, -1}, {0, 0}, {10, 10}},
    // x0 + x1 <= 10 goes only through chains of rows: x0 <= x2 and x1 <= x3 with x2 + x3 <= 4.
    {"chainedBounds", 8, {{1, 1, 0, 0}, {1, 0, -1, 0}, {0, 0, 1, 1}, {0, 1, 0, -1}}, "LLLL", {10, 0, 4, 0},
     {-1, -1, 0, 0}, {0, 0, 0, 0}, {10, 10, 10, 10}},
    // 2 x0 + 2 x1 <= 30 is parallel to x0 + x1 <= 10 and looser.
    {"parallelRows", 8, {{1, 1}, {2, 2}, {1, -1}}, "LLG", {10, 30, -2}, {-1, -2}, {0, 0}, {100, 100}},
    // x2 is free and only in the equation; x3 only in a <= row whose dual its cost fixes.
    {"colSingleton", 16, {{1, 1, 1, 0}, {1, -1, 0, 1}, {1, 2, 0, 0}}, "ELL", {6, 2, 8}, {-1, -1, 2, -1},
     {0, 0, -kFree, 0}, {10, 10, kFree, 10}},
    // x2 has a cost >= 0 and only relieves its <= rows when it falls: it sits at its lower bound.
    {"dominatedCol", 32, {{1, 1, 1}, {1, -1, 2}}, "LL", {10, 4}, {-1, -2, 3}, {0, 0, 1}, {10, 10, 5}},
    // x3 is free, so y1 = 1 and x2's reduced cost 1 - y1 - y2 is never negative: x2 goes to 0. x0's own dual
    // row would give y0 = 0 and make it look weakly dominated too, but the optimum needs x0 = 2.
    {"weaklyDominatedCol", 32, {{1, 1, 0, 0}, {0, 0, 1, 1}, {0, -1, 1, 0}}, "GEL", {2, 1, 3}, {0, 1, 1, 1},
     {0, 0, 0, -kFree}, {kFree, 0.5, 5, kFree}},
    // x1 is dominated only over the box that x0's dual row shapes (y0 <= 1); x0, weakly dominated only through
    // that row of its own, stays.
    {"dominatedThroughKeptCol", 32, {{1, 1, 1}, {0, 1, 1}}, "GL", {4, 5}, {1, 2, 0.5}, {0, 0, 0}, {kFree, 10, 3}},
    // x0 - 2 x1 = 1 substitutes x0 by x1 into the other rows.
    {"doubleton", 64, {{1, -2, 0}, {1, 1, 1}, {3, 0, -1}}, "ELG", {1, 10, 2}, {-1, -1, 1}, {0, 0, 0}, {9, 9, 9}},
    // x2 only in the equation, at least 0 but not above what the row allows: the equation becomes x0 + x1 <= 6,
    // which the optimum leaves slack (x2 basic).
    {"slackSingleton", 16, {{1, 1, 1}, {1, -1, 0}}, "EL", {6, 2}, {1, -2, -1}, {0, 0, 0}, {10, 4, kFree}},
    // Column 1 is twice column 0 with twice its cost: one column x0 + 2 x1 in [0, 7] stands for both.
    {"parallelCols", 32, {{1, 2, 1}, {1, 2, -1}, {1, 2, 3}}, "LGL", {10, 1, 14}, {-1, -2, -1}, {0, 0, 0}, {3, 2, 10}},
    // Columns 1 and 3 are opposite with zero costs: their merged column is free.
    {"oppositeCols", 32, {{0, 2, 2, -1, 2, 0, 2}, {2, 2, -1, -1, 0, 2, 0}, {2, 2, 2, -1, 2, 2, -1}}, "LGE", {3, 4, 0},
     {0, 0, 2, 0, 2, 4, 3}, {0, 0, 0, 0, 0, 0, 0}, {kFree, kFree, kFree, kFree, kFree, kFree, kFree}},
    // x2 in [-100, 100] is implied free by the equation x0 + x1 + 2 x2 = 8 and substituted into both other rows.
    {"substitution", 64, {{1, 1, 2}, {1, -1, 1}, {0, 1, 1}}, "ELG", {8, 3, 1}, {-1, -2, 1}, {0, 0, -100},
     {10, 10, 100}},
    // x0 in [0, 100] is implied free only through two rows: rows without x0 give x1 <= 4 and x2 <= 5, so the
    // equation keeps x0 = 10 - x1 - x2 >= 1.
    {"chainedImpliedFree", 64, {{1, 1, 1, 0, 0}, {0, 1, 0, 1, 0}, {0, 0, 1, 0, 1}, {1, 0, 0, -1, 0}}, "ELLG",
     {10, 4, 5, -50}, {1, -1, -2, 0.5, 0}, {0, 0, 0, 0, 0}, {100, 100, 100, 100, 100}},
};

class PresolveSmall : public ::testing::TestWithParam<std::tuple<int, double>> {};
TEST_P(PresolveSmall, ReductionAloneKeepsTheOptimum) {
  const SmallLp& c = kSmall[std::get<0>(GetParam())];
  const double scale = std::get<1>(GetParam());
  const int m = static_cast<int>(c.rows.size()), n = static_cast<int>(c.cost.size());
  std::vector<int> beg{0}, idx;
  std::vector<double> val, rhs(c.rhs);
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < m; ++i)
      if (c.rows[i][j] != 0) idx.push_back(i), val.push_back(c.rows[i][j] * scale);
    beg.push_back(static_cast<int>(idx.size()));
  }
  for (double& b : rhs) b *= scale;
  LoadedModel lm;
  ASSERT_TRUE(lm.load(m, n, QX_MIN, c.cost, rhs, c.types, beg, idx, val, c.lower, c.upper));
  const ModelData& d = lm.data();
  SolveContext ctx;
  SimplexResult direct;
  SimplexWork plain(d);
  ASSERT_EQ(plain.solve(d, Method::Primal, StartBasis::Crash, SimplexOptions{}, ctx, direct), 0);
  ASSERT_EQ(direct.outcome, torva::simplex::kOptimal);

  auto pre = torva::makeLpPresolver();
  ModelData reduced;
  ASSERT_EQ(pre->presolve(d, c.bit, reduced), LpPresolver::Verdict::Reduced) << c.name;
  EXPECT_LT(reduced.m + reduced.n, d.m + d.n);
  SimplexResult r;
  if (reduced.m > 0 || reduced.n > 0) {
    SimplexWork work(reduced);
    ASSERT_EQ(work.solve(reduced, Method::Primal, StartBasis::Crash, SimplexOptions{}, ctx, r), 0);
    ASSERT_EQ(r.outcome, torva::simplex::kOptimal);
  }
  pre->postsolve(d, r);
  EXPECT_NEAR(r.objective, direct.objective, 1e-9 * (1 + std::fabs(direct.objective))) << c.name;
  torva::testsupport::checkOptimal(d, r);
  checkBasis(d, r);
}
INSTANTIATE_TEST_SUITE_P(Models, PresolveSmall,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kSmall))),
                                            ::testing::Values(1.0, 1e-7, 1e7)),
                         [](const auto& info) {
                           const double s = std::get<1>(info.param);
                           return std::string(kSmall[std::get<0>(info.param)].name) +
                                  (s < 1 ? "_tiny" : s > 1 ? "_huge" : "");
                         });

// ---- a slack singleton is folded into its equation only when the costs it
// moves leave the slack basis as dual feasible as before: x2 (cost 5, at
// least 0) is the only column of the equation x0 + x1 + x2 = 6 besides x0
// (cost 1) and x1 (cost 2). Folding it gives x0 the cost -4; without an
// upper bound on x0 that start would need a dual phase 1, so x2 stays.
TEST(PresolveSlackSingleton, StaysWhenFoldingBreaksDualFeasibilityOfTheSlackBasis) {
  struct Case {
    double upper0;
    LpPresolver::Verdict verdict;
  };
  for (const Case& c : {Case{kFree, LpPresolver::Verdict::Unchanged}, Case{10, LpPresolver::Verdict::Reduced}}) {
    LoadedModel lm;
    ASSERT_TRUE(lm.load(2, 3, QX_MIN, {1, 2, 5}, {6, 2}, "EL", {0, 2, 4, 5}, {0, 1, 0, 1, 0}, {1, 1, 1, -1, 1},
                        {0, 0, 0}, {c.upper0, 10, kFree}));
    const ModelData& d = lm.data();
    ModelData reduced;
    auto pre = torva::makeLpPresolver();
    EXPECT_EQ(pre->presolve(d, 16, reduced), c.verdict) << "upper bound of x0: " << c.upper0;
  }
}

}  // namespace
