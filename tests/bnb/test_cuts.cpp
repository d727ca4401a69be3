// Cuts against known optima: a few rounds of separation at the root of
// MIPLIB models, each round's cuts appended and the relaxation re-solved;
// every cut generated (before and after cleaning) must hold at the model's
// optimal point found without cuts, and the bound must never pass the
// optimum.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "bnb/cuts.hpp"
#include "bnb/relax.hpp"
#include "torva.h"

namespace {

using namespace torva::bnb;

// A cut may miss the optimum by the LP feasibility of the point (1e-6 on
// rows of coefficients up to about 1e3 in these models).
constexpr double kCutTol = 1e-5;
constexpr int kRounds = 4;

std::string modelPath(const char* name) {
  const char* env = std::getenv("TORVA_SHARED_DATA");
  return std::string(env && *env ? env : TORVA_SHARED_DATA) + "/miplib3/" + name + ".mps.gz";
}

struct Case {
  const char* model;
  int families;  // cut-level bits to separate
};

class CutValidity : public ::testing::TestWithParam<Case> {};

TEST_P(CutValidity, OptimumSatisfiesEveryCut) {
  const Case& tc = GetParam();
  const std::string path = modelPath(tc.model);
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "model data not found: " << path;
  int rc = 0;
  QXenv env = QXcreateEnv(&rc);
  QXmodel model = QXcreateModel(env, &rc);
  ASSERT_EQ(QXreadMPSFile(model, path.c_str(), 1), 0);
  QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 0);
  QXsetModelIntParameter(model, QX_IPARAM_MIP_CUTLEVEL_TOP, 0);
  int status = 0;
  ASSERT_EQ(QXsolveMIP(model, &status), 0);
  ASSERT_EQ(status, QX_STATUS_OPTIMAL);
  const torva::ModelData& d = model->data;
  std::vector<double> opt(static_cast<std::size_t>(d.n));
  ASSERT_EQ(QXgetMIPPrimalSolution(model, opt.data()), 0);
  double optObj = 0;
  ASSERT_EQ(QXgetInfo(model, QX_DINFO_MIP_OBJ, &optObj), 0);

  std::vector<char> isInt(static_cast<std::size_t>(d.n), 0);
  std::vector<double> lo = d.lower, up = d.upper;
  for (int j = 0; j < d.n; ++j) {
    const char t = d.typeOf(j);
    if (t != 'B' && t != 'I') continue;
    isInt[static_cast<std::size_t>(j)] = 1;
    if (t == 'B') lo[static_cast<std::size_t>(j)] = std::max(lo[static_cast<std::size_t>(j)], 0.0),
                  up[static_cast<std::size_t>(j)] = std::min(up[static_cast<std::size_t>(j)], 1.0);
  }
  const double sense = d.objSense == QX_MAX ? -1.0 : 1.0;
  Relaxation relax(*model, sense);
  const RowMatrix rows(d);
  RelaxResult r;
  relax.solve(lo, up, nullptr, QX_METHOD_DSIMPLEX, 1e30, -1.0, -1.0, r);
  ASSERT_EQ(r.status, RelaxStatus::Optimal);
  int total = 0;
  for (int round = 0; round < kRounds; ++round) {
    const SeparationInput in{relax.data(), d.m, isInt, r.x, r.colStatus, r.rowStatus, lo, up};
    std::vector<Cut> cuts;
    if (tc.families & kCutBitGomory) separateGomory(in, 200, cuts);
    if (tc.families & kCutBitCover) separateCovers(in, rows, cuts);
    if (tc.families & kCutBitMir) separateMir(in, rows, cuts);
    std::vector<Cut> kept;
    for (Cut c : cuts) {
      const double scale = 1.0 + std::fabs(c.rhs);
      EXPECT_LE(cutViolation(c, opt), kCutTol * scale) << tc.model << " family " << c.family << " round " << round;
      if (!cleanCut(c, lo, up)) continue;
      EXPECT_LE(cutViolation(c, opt), kCutTol * (1.0 + std::fabs(c.rhs))) << tc.model << " cleaned, family " << c.family;
      kept.push_back(std::move(c));
    }
    kept = selectCuts(std::move(kept), r.x, 1e-4, 100);
    if (kept.empty()) break;
    total += static_cast<int>(kept.size());
    std::vector<std::vector<int>> idx;
    std::vector<std::vector<double>> val;
    std::vector<double> rhs;
    for (const Cut& c : kept) idx.push_back(c.idx), val.push_back(c.val), rhs.push_back(c.rhs);
    relax.appendRows(idx, val, rhs);
    std::vector<int> rowSt = r.rowStatus;
    rowSt.resize(static_cast<std::size_t>(relax.data().m), 0);
    const PackedBasis warm(r.colStatus, rowSt);
    const double before = r.objective;
    relax.solve(lo, up, &warm, QX_METHOD_DSIMPLEX, 1e30, -1.0, -1.0, r);
    ASSERT_EQ(r.status, RelaxStatus::Optimal);
    EXPECT_GE(r.objective, before - 1e-6 * (1.0 + std::fabs(before)));  // cuts only tighten
    EXPECT_LE(r.objective, sense * optObj + 1e-6 * (1.0 + std::fabs(optObj)));
  }
  EXPECT_GT(total, 0) << "no cut separated on " << tc.model;
  QXdeleteModel(&model);
  QXdeleteEnv(&env);
}

INSTANTIATE_TEST_SUITE_P(Models, CutValidity,
                         ::testing::Values(Case{"p0033", kCutBitGomory | kCutBitCover | kCutBitMir},
                                           Case{"lseu", kCutBitGomory}, Case{"lseu", kCutBitCover | kCutBitMir},
                                           Case{"flugpl", kCutBitGomory | kCutBitMir},
                                           Case{"egout", kCutBitGomory | kCutBitMir},
                                           Case{"mod008", kCutBitGomory | kCutBitCover | kCutBitMir},
                                           Case{"stein27", kCutBitGomory}),
                         [](const auto& info) {
                           return std::string(info.param.model) + "_" + std::to_string(info.param.families);
                         });

// The cut-type table at print level 5 follows the root and tree masks, the
// statistics list exactly the families that added cuts, and the root loop's
// counters reach the information items.
TEST(CutLog, TableAndStatisticsFollowTheCounters) {
  const std::string path = modelPath("p0033");
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "model data not found: " << path;
  for (int top : {0, 57342}) {
    int rc = 0;
    QXenv env = QXcreateEnv(&rc);
    QXmodel model = QXcreateModel(env, &rc);
    ASSERT_EQ(QXreadMPSFile(model, path.c_str(), 1), 0);
    std::string log;
    QXsetModelLogfunc(model, [](QXmodel, const char* text, void* user) { *static_cast<std::string*>(user) += text; },
                      &log);
    QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 5);
    QXsetModelIntParameter(model, QX_IPARAM_MIP_CUTLEVEL_TOP, top);
    int status = 0;
    ASSERT_EQ(QXsolveMIP(model, &status), 0);
    const std::string gomoryRow = top ? "\nQX_MIP_GOMORY_CUTS          Enabled  Enabled      256"
                                      : "\nQX_MIP_GOMORY_CUTS         Disabled  Enabled      256";
    EXPECT_NE(log.find(gomoryRow), std::string::npos) << top;
    int gomory = 0, cover = 0;
    QXgetInfo(model, QX_IINFO_MIP_GOMORY_CUTS, &gomory);
    QXgetInfo(model, QX_IINFO_MIP_KNAPSUR_COVER_CUTS, &cover);
    // The counters add up, and only the root cut levels separate here.
    int all = 0, sum = 0, item = 0;
    QXgetInfo(model, QX_IINFO_MIP_NUM_TOTAL_CUTS, &all);
    for (int k = QX_IINFO_MIP_GUB_COVER_CUTS; k <= QX_IINFO_MIP_CONTRA_CUTS; ++k) sum += QXgetInfo(model, k, &item) == 0 ? item : 0;
    EXPECT_LE(sum, all);  // mixed-integer rounding has no item of its own
    EXPECT_EQ(all > 0, top != 0) << top;
    EXPECT_EQ(log.find("\n Gomory cuts added          :") != std::string::npos, gomory > 0) << top;
    EXPECT_EQ(log.find("\n Cover cuts added           :") != std::string::npos, cover > 0) << top;
    QXdeleteModel(&model);
    QXdeleteEnv(&env);
  }
}

}  // namespace
