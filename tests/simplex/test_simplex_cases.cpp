// Simplex behaviour beyond the Netlib optima: certificates of infeasible and
// unbounded models, limits, interrupt and cutoff, warm starts after bound
// changes against cold solves, given bases, pricing modes, FTRAN/BTRAN.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <random>

#include "tests/simplex/simplex_check.hpp"

namespace {

using namespace torva::simplex;
using torva::testsupport::LoadedModel;

constexpr double kInf = 1e30;
constexpr double kObjTol = 1e-6;

int solveWith(const LoadedModel& lm, SimplexWork& w, Method method, StartBasis start, SimplexResult& r,
              SimplexOptions opt = {}, SolveContext ctx = {}) {
  return w.solve(lm.data(), method, start, opt, ctx, r);
}

bool readNetlib(LoadedModel& lm, const std::string& name) {
  const std::string path = torva::testsupport::netlibDir() + "/" + name + ".mps.gz";
  return std::filesystem::exists(path) && lm.read(path);
}

double relErr(double a, double b) { return std::fabs(a - b) / std::max(1.0, std::fabs(b)); }

// x1 + x2 >= 3 and x1 + x2 <= 1 (boxed, free and bounded columns mixed in
// through a third column that appears in both rows).
void loadInfeasible(LoadedModel& lm) {
  ASSERT_TRUE(lm.load(2, 3, 1, {1, 1, 0}, {3, 1}, "GL", {0, 2, 4, 6}, {0, 1, 0, 1, 0, 1}, {1, 1, 1, 1, 1, -1},
                      {0, 0, 0}, {kInf, 10, 0.5}));
}

// min -x1 - x3 with x1 - x2 <= 1, x2 - x3 <= 2, x >= 0: x1 and x3 grow with x2.
void loadUnbounded(LoadedModel& lm) {
  ASSERT_TRUE(lm.load(2, 3, 1, {-1, 0, -1}, {1, 2}, "LL", {0, 1, 3, 4}, {0, 0, 1, 1}, {1, -1, 1, -1},
                      {0, 0, 0}, {kInf, kInf, kInf}));
}

class Certificates : public ::testing::TestWithParam<Method> {};

TEST_P(Certificates, InfeasibleModelGivesFarkasRay) {
  LoadedModel lm;
  loadInfeasible(lm);
  SimplexWork w(lm.data());
  SimplexResult r;
  ASSERT_EQ(solveWith(lm, w, GetParam(), StartBasis::Crash, r), 0);
  ASSERT_EQ(r.outcome, kInfeasible);
  torva::testsupport::checkFarkas(lm.data(), r.farkasY);
}

TEST_P(Certificates, UnboundedModelGivesImprovingRay) {
  LoadedModel lm;
  loadUnbounded(lm);
  SimplexWork w(lm.data());
  SimplexResult r;
  ASSERT_EQ(solveWith(lm, w, GetParam(), StartBasis::Crash, r), 0);
  ASSERT_EQ(r.outcome, kUnbounded);
  torva::testsupport::checkRay(lm.data(), r.primalRay);
}

TEST_P(Certificates, InfeasibleNetlibVariant) {
  // afiro with the first column's lower bound pushed beyond what its rows
  // allow.
  LoadedModel lm;
  if (!readNetlib(lm, "afiro")) GTEST_SKIP() << "Netlib data not found";
  lm.model->data.lower[0] = 1e4;
  // The primal also with devex from the start, so that phase 1 runs on its
  // kept duals and devex weights up to the proof.
  for (const int pricing : {-1, 1}) {
    if (pricing != -1 && GetParam() != Method::Primal) continue;
    SimplexOptions opt;
    opt.primalPricing = pricing;
    SimplexWork w(lm.data());
    SimplexResult r;
    ASSERT_EQ(solveWith(lm, w, GetParam(), StartBasis::Crash, r, opt), 0);
    ASSERT_EQ(r.outcome, kInfeasible) << "pricing " << pricing;
    torva::testsupport::checkFarkas(lm.data(), r.farkasY);
  }
}

INSTANTIATE_TEST_SUITE_P(Methods, Certificates, ::testing::Values(Method::Primal, Method::Dual),
                         [](const auto& info) { return info.param == Method::Primal ? "primal" : "dual"; });

// The primal shifts bounds in its ratio test and perturbs those of its
// start basis; all of it must be gone at the end. An infeasibility of 1e-6
// (ten times reps, far below the start perturbation) is still proven, and a
// degenerate set-partitioning relaxation ends at its reference on the true
// bounds.
TEST(PrimalShifts, TinyInfeasibilityIsProvenAfterTheShiftsGo) {
  // x1 + x2 = 1, x1 - x2 = 0, x1 <= 0.5 - 1e-6.
  LoadedModel lm;
  ASSERT_TRUE(lm.load(3, 2, 1, {1, 1}, {1, 0, 0.5 - 1e-6}, "EEL", {0, 3, 5}, {0, 1, 2, 0, 1}, {1, 1, 1, 1, -1},
                      {0, 0}, {kInf, kInf}));
  SimplexWork w(lm.data());
  SimplexResult r;
  ASSERT_EQ(solveWith(lm, w, Method::Primal, StartBasis::Crash, r), 0);
  ASSERT_EQ(r.outcome, kInfeasible);
  torva::testsupport::checkFarkas(lm.data(), r.farkasY);
}

TEST(PrimalShifts, DegenerateRelaxationEndsOnTheTrueBounds) {
  const std::string path = std::string(TORVA_SHARED_DATA) + "/miplib3/air03.mps.gz";
  LoadedModel lm;
  if (!std::filesystem::exists(path) || !lm.read(path)) GTEST_SKIP() << "MIPLIB data not found at " << path;
  SimplexWork w(lm.data());
  SimplexResult r;
  ASSERT_EQ(solveWith(lm, w, Method::Primal, StartBasis::Crash, r), 0);
  ASSERT_EQ(r.outcome, kOptimal);
  EXPECT_LE(relErr(r.objective, 338864.25), kObjTol);
  torva::testsupport::checkOptimal(lm.data(), r);
}

// A limit ends the primal with its shifts gone: the nonbasic columns sit on
// their true bounds.
TEST(PrimalShifts, IterationLimitLeavesNonbasicsOnTheTrueBounds) {
  LoadedModel lm;
  if (!readNetlib(lm, "degen3")) GTEST_SKIP() << "Netlib data not found";
  const torva::ModelData& md = lm.data();
  for (const double limit : {50.0, 400.0, 1500.0}) {
    SolveContext ctx;
    ctx.iterationLimit = limit;
    SimplexWork w(md);
    SimplexResult r;
    ASSERT_EQ(solveWith(lm, w, Method::Primal, StartBasis::Crash, r, {}, ctx), 0);
    ASSERT_EQ(r.outcome, kIterationLimit);
    for (int j = 0; j < md.n; ++j) {
      if (r.colStatus[j] >= 0) continue;
      const double lo = md.lower[j], up = md.upper[j];
      const bool onBound = (lo > -kInf && std::fabs(r.x[j] - lo) <= 1e-12 * (1.0 + std::fabs(lo))) ||
                           (up < kInf && std::fabs(r.x[j] - up) <= 1e-12 * (1.0 + std::fabs(up)));
      EXPECT_TRUE(onBound || (lo <= -kInf && up >= kInf && r.x[j] == 0.0))
          << "column " << j << " at " << r.x[j] << " bounds [" << lo << ", " << up << "], limit " << limit;
    }
  }
}

TEST(SimplexLimits, IterationTimeInterruptAndCutoff) {
  LoadedModel lm;
  if (!readNetlib(lm, "sc205")) GTEST_SKIP() << "Netlib data not found";
  for (Method method : {Method::Primal, Method::Dual}) {
    SimplexResult r;
    SolveContext ctx;
    ctx.iterationLimit = 5;
    SimplexWork w1(lm.data());
    ASSERT_EQ(solveWith(lm, w1, method, StartBasis::Crash, r, {}, ctx), 0);
    EXPECT_EQ(r.outcome, kIterationLimit);
    EXPECT_EQ(r.iterations, 5.0);

    ctx = {};
    ctx.timeLimit = 0.0;
    SimplexWork w2(lm.data());
    ASSERT_EQ(solveWith(lm, w2, method, StartBasis::Crash, r, {}, ctx), 0);
    EXPECT_EQ(r.outcome, kTimeLimit);

    std::atomic<bool> stop{true};
    ctx = {};
    ctx.stop = &stop;
    SimplexWork w3(lm.data());
    ASSERT_EQ(solveWith(lm, w3, method, StartBasis::Crash, r, {}, ctx), 0);
    EXPECT_EQ(r.outcome, kInterrupted);

    ctx = {};
    int calls = 0;
    ctx.progressInterval = 0.0;
    ctx.progress = [&calls](double, double) { return ++calls == 3; };
    SimplexWork w4(lm.data());
    ASSERT_EQ(solveWith(lm, w4, method, StartBasis::Crash, r, {}, ctx), 0);
    EXPECT_EQ(r.outcome, kInterrupted);
    EXPECT_EQ(calls, 3);
  }
  // Cutoff below the optimum (-52.202) of a minimisation stops the dual.
  SimplexOptions opt;
  opt.useCutoff = 1;
  opt.cutoff = -60.0;
  SimplexWork w(lm.data());
  SimplexResult r;
  std::string logged;
  SolveContext ctx;
  ctx.printLevel = 1;
  ctx.log = [&logged](const std::string& s) { logged += s; };
  ASSERT_EQ(solveWith(lm, w, Method::Dual, StartBasis::Crash, r, opt, ctx), 0);
  EXPECT_EQ(r.outcome, kCutoff);
  EXPECT_NE(logged.find("\nWarning: stopping at cutoff obj="), std::string::npos);
  EXPECT_GT(r.objective, -60.0);
}

// The branch-and-bound pattern: 200 random bound changes, each reoptimised
// warm by the dual from the resident basis and compared with a cold primal
// solve of the same data.
TEST(SimplexWarmStart, TwoHundredBoundChangesAgreeWithColdSolves) {
  LoadedModel lm;
  if (!readNetlib(lm, "scagr7")) GTEST_SKIP() << "Netlib data not found";
  torva::ModelData& data = lm.model->data;
  const std::vector<double> lo0 = data.lower, up0 = data.upper;
  SimplexWork warm(lm.data());
  SimplexResult r;
  ASSERT_EQ(solveWith(lm, warm, Method::Dual, StartBasis::Crash, r), 0);
  ASSERT_EQ(r.outcome, kOptimal);
  std::mt19937 rng(12345);
  double warmIters = 0.0, coldIters = 0.0;
  int optimal = 0, infeasible = 0;
  for (int step = 0; step < 200; ++step) {
    const int j = std::uniform_int_distribution<int>(0, data.n - 1)(rng);
    if (step % 10 == 9) {
      data.lower = lo0;  // backtrack, as a search does
      data.upper = up0;
    } else if (!r.x.empty() && rng() % 2 == 0) {
      data.upper[j] = std::max(data.lower[j], std::floor(r.x[j] * 0.9));
    } else if (!r.x.empty()) {
      data.lower[j] = std::min(data.upper[j], std::ceil(r.x[j] * 1.1 + 0.5));
    }
    SimplexResult wr, cr;
    ASSERT_EQ(solveWith(lm, warm, Method::Dual, StartBasis::Resident, wr), 0) << "step " << step;
    EXPECT_TRUE(wr.reoptimized);
    SimplexWork cold(lm.data());
    ASSERT_EQ(solveWith(lm, cold, Method::Primal, StartBasis::Crash, cr), 0);
    ASSERT_EQ(wr.outcome, cr.outcome) << "step " << step;
    if (cr.outcome == kOptimal) {
      ++optimal;
      EXPECT_LE(relErr(wr.objective, cr.objective), kObjTol) << "step " << step;
      torva::testsupport::checkOptimal(lm.data(), wr);
      r = wr;
    } else {
      ++infeasible;
      EXPECT_EQ(cr.outcome, kInfeasible);
      data.lower = lo0;
      data.upper = up0;
    }
    warmIters += wr.iterations;
    coldIters += cr.iterations;
  }
  EXPECT_GT(optimal, 100);
  EXPECT_LT(warmIters, coldIters / 2) << "warm starts should save most iterations";
  RecordProperty("warm_iterations", std::to_string(warmIters));
  RecordProperty("cold_iterations", std::to_string(coldIters));
}

TEST(SimplexBasis, GivenOptimalBasisNeedsNoIterationsAndInvalidOneFallsBack) {
  LoadedModel lm;
  if (!readNetlib(lm, "adlittle")) GTEST_SKIP() << "Netlib data not found";
  SimplexWork w(lm.data());
  SimplexResult r;
  ASSERT_EQ(solveWith(lm, w, Method::Dual, StartBasis::Crash, r), 0);
  ASSERT_EQ(r.outcome, kOptimal);
  SimplexWork again(lm.data());
  again.setBasis(r.colStatus, r.rowStatus);
  SimplexResult r2;
  ASSERT_EQ(solveWith(lm, again, Method::Primal, StartBasis::Given, r2), 0);
  EXPECT_EQ(r2.outcome, kOptimal);
  EXPECT_EQ(r2.iterations, 0.0);
  EXPECT_LE(relErr(r2.objective, r.objective), kObjTol);

  // One basic entry too few: the slack basis is used, with the warnings.
  std::vector<int> cols = r.colStatus;
  for (int& s : cols)
    if (s >= 0) {
      s = -1;
      break;
    }
  SimplexWork bad(lm.data());
  bad.setBasis(cols, r.rowStatus);
  std::string logged;
  SolveContext ctx;
  ctx.printLevel = 1;
  ctx.log = [&logged](const std::string& s) { logged += s; };
  SimplexResult r3;
  ASSERT_EQ(solveWith(lm, bad, Method::Dual, StartBasis::Given, r3, {}, ctx), 0);
  EXPECT_EQ(r3.outcome, kOptimal);
  EXPECT_NE(logged.find("\nWARNING: dsetbas purging invalid initial basis, k2="), std::string::npos);
  EXPECT_NE(logged.find("\nWARNING: and reverting back to identity matrix"), std::string::npos);
}

struct PricingCase {
  const char* model;
  Method method;
  int pricing;
};

class PricingModes : public ::testing::TestWithParam<PricingCase> {};

TEST_P(PricingModes, ReachTheOptimum) {
  const PricingCase& c = GetParam();
  LoadedModel lm;
  if (!readNetlib(lm, c.model)) GTEST_SKIP() << "Netlib data not found";
  SimplexOptions opt;
  (c.method == Method::Dual ? opt.dualPricing : opt.primalPricing) = c.pricing;
  SimplexWork w(lm.data());
  SimplexResult r;
  ASSERT_EQ(solveWith(lm, w, c.method, StartBasis::Crash, r, opt), 0);
  ASSERT_EQ(r.outcome, kOptimal);
  EXPECT_LE(relErr(r.objective, torva::testsupport::netlibObjectives().at(c.model)), kObjTol);
  torva::testsupport::checkOptimal(lm.data(), r);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PricingModes,
    ::testing::Values(PricingCase{"bandm", Method::Dual, 0}, PricingCase{"bandm", Method::Dual, 3},
                      PricingCase{"bandm", Method::Dual, 4}, PricingCase{"e226", Method::Dual, 0},
                      PricingCase{"e226", Method::Dual, 3}, PricingCase{"bandm", Method::Primal, 0},
                      PricingCase{"e226", Method::Primal, 1}, PricingCase{"degen2", Method::Primal, 1}),
    [](const auto& info) {
      return std::string(info.param.model) + (info.param.method == Method::Dual ? "_dual_" : "_primal_") +
             std::to_string(info.param.pricing);
    });

}  // namespace
