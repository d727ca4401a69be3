// Every Netlib LP of the shared data solved by the primal, the dual and the
// free method; objective against the published optimum and the returned
// vectors checked against the model.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "tests/simplex/simplex_check.hpp"

namespace {

using torva::simplex::Method;
using torva::simplex::SimplexOptions;
using torva::simplex::SimplexResult;
using torva::simplex::SimplexWork;
using torva::simplex::SolveContext;
using torva::simplex::StartBasis;

// Agreement with objectives.tsv (the published optima carry 10 digits).
constexpr double kObjectiveTol = 1e-6;

struct Case {
  std::string model;
  Method method;
  bool reusePivcol = false;  // the update takes the entering column's partial FTRAN
};

const char* methodName(Method m) {
  return m == Method::Primal ? "primal" : m == Method::Dual ? "dual" : "free";
}

// gtest prints a parameter through PrintTo; without it the case shows as bytes.
[[maybe_unused]] void PrintTo(const Case& c, std::ostream* os) { *os << c.model << " " << methodName(c.method); }

std::vector<Case> netlibCases() {
  std::vector<Case> out;
  const auto objectives = torva::testsupport::netlibObjectives();
  for (const auto& [name, obj] : objectives) {
    if (!torva::testsupport::sweptInThisBuild(name)) continue;
    for (Method m : {Method::Primal, Method::Dual, Method::Free}) out.push_back({name, m});
  }
  return out;
}

class NetlibSweep : public ::testing::TestWithParam<Case> {};

TEST_P(NetlibSweep, SolvesToPublishedOptimum) {
  const Case& c = GetParam();
  const std::string path = torva::testsupport::netlibDir() + "/" + c.model + ".mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "Netlib data not found at " << path;
  torva::testsupport::LoadedModel lm;
  ASSERT_TRUE(lm.read(path));
  const double expected = torva::testsupport::netlibObjectives().at(c.model);
  SimplexWork work(lm.data());
  SolveContext ctx;
  if (std::getenv("TORVA_TEST_SIMPLEX_LOG")) {
    // Developer aid: the solver's log on standard error.
    ctx.printLevel = 1;
    ctx.traceMask = 1;
    ctx.log = [](const std::string& s) { std::fputs(s.c_str(), stderr); };
  }
  SimplexOptions opt;
  opt.luUsePivcol = c.reusePivcol ? 1 : 0;
  SimplexResult r;
  ASSERT_EQ(work.solve(lm.data(), c.method, StartBasis::Crash, opt, ctx, r), 0);
  ASSERT_EQ(r.outcome, torva::simplex::kOptimal);
  EXPECT_LE(std::fabs(r.objective - expected) / std::max(1.0, std::fabs(expected)), kObjectiveTol)
      << "objective " << r.objective << " expected " << expected << " iterations " << r.iterations;
  torva::testsupport::checkOptimal(lm.data(), r);
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
  std::string s = info.param.model;
  for (char& ch : s)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return s + "_" + methodName(info.param.method) + (info.param.reusePivcol ? "_pivcol" : "");
}

// A few models whose bases are updated often, with the update reusing the
// simplex's own FTRAN of the entering column.
std::vector<Case> pivcolCases() {
  std::vector<Case> out;
  for (const char* name : {"boeing2", "25fv47", "degen3", "fit2d"}) {
    if (!torva::testsupport::sweptInThisBuild(name)) continue;
    for (Method m : {Method::Primal, Method::Dual}) out.push_back({name, m, true});
  }
  return out;
}

INSTANTIATE_TEST_SUITE_P(Netlib, NetlibSweep, ::testing::ValuesIn(netlibCases()), caseName);
INSTANTIATE_TEST_SUITE_P(ReusedPivotColumn, NetlibSweep, ::testing::ValuesIn(pivcolCases()), caseName);

}  // namespace
