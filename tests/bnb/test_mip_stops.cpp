// How a run ends and what it stores: the stops of the stop test (objective
// threshold, the later relative tolerance, the optimality tolerance), node
// incumbents held with exact integers, the size line of the presolve stage,
// and bounds of semi-continuous variables with a negative lower level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "torva.h"

namespace {

struct MipRun {
  QXenv env = nullptr;
  QXmodel model = nullptr;
  std::vector<std::string> lines;  // one entry per call of the log function
  MipRun() {
    int rc = 0;
    env = QXcreateEnv(&rc);
    model = QXcreateModel(env, &rc);
  }
  ~MipRun() {
    QXdeleteModel(&model);
    QXdeleteEnv(&env);
  }
  void collectLog(int printLevel) {
    QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, printLevel);
    QXsetModelLogfunc(model, [](QXmodel, const char* text, void* self) { static_cast<MipRun*>(self)->lines.push_back(text); },
                      this);
  }
  bool logged(const std::string& text) const {
    for (const std::string& l : lines)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }
  // A dense model of two columns: rows, row types, rhs, costs, bounds, types.
  void load(int sense, const std::vector<std::vector<double>>& a, const char* rowTypes, std::vector<double> rhs,
            std::vector<double> cost, std::vector<double> lo, std::vector<double> up, const char* colTypes) {
    const int m = static_cast<int>(a.size()), n = static_cast<int>(cost.size());
    std::vector<int> beg{0}, idx;
    std::vector<double> val;
    for (int j = 0; j < n; ++j) {
      for (int i = 0; i < m; ++i)
        if (a[i][j] != 0) idx.push_back(i), val.push_back(a[i][j]);
      beg.push_back(static_cast<int>(idx.size()));
    }
    ASSERT_EQ(QXloadLPData(model, m, n, sense, 0.0, cost.data(), rhs.data(), rowTypes, static_cast<int>(val.size()),
                           beg.data(), nullptr, val.data(), idx.data(), lo.data(), up.data()), 0);
    ASSERT_EQ(QXloadVarType(model, colTypes), 0);
  }
};

// lseu without cuts needs thousands of branches; its optimum is 1120.
TEST(MipStops, EndStatusBoundAndMessage) {
  const std::string path = std::string(TORVA_SHARED_DATA) + "/miplib3/lseu.mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "model data not found: " << path;
  struct Case {
    const char* name;
    int param;
    double value;
    int status;
    bool boundIsObjective;  // else strictly below the incumbent
    bool message;           // "User optimality tolerance satisfied."
  };
  const Case cases[] = {
      // Any incumbent reaches a threshold of 1e5: the first one ends the run.
      {"threshold", QX_DPARAM_MIP_OBJ_THRESHOLD, 1e5, QX_STATUS_FEASIBLE, false, false},
      // After 0 seconds a gap below 0.9 is enough: optimal with the bound of the tree.
      {"later tolerance", QX_DPARAM_MIP_AOPTTIMLIM, 0.0, QX_STATUS_OPTIMAL, false, false},
      {"optimality tolerance", QX_DPARAM_MIP_RELOPTTOL, 0.05, QX_STATUS_OPTIMAL, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MipRun r;
    ASSERT_EQ(QXreadMPSFile(r.model, path.c_str(), 1), 0);
    r.collectLog(1);
    QXsetModelIntParameter(r.model, QX_IPARAM_MIP_CUTLEVEL_TOP, 0);
    QXsetModelDouParameter(r.model, QX_DPARAM_MIP_PEROPTTOL, 0.9);
    ASSERT_EQ(QXsetModelDouParameter(r.model, c.param, c.value), 0);
    int status = 0, reported = 0;
    ASSERT_EQ(QXsolveMIP(r.model, &status), 0);
    EXPECT_EQ(status, c.status);
    ASSERT_EQ(QXgetMIPSolutionStatus(r.model, &reported), 0);
    EXPECT_EQ(reported, c.status);
    double obj = 0, bound = 0;
    ASSERT_EQ(QXgetInfo(r.model, QX_DINFO_MIP_OBJ, &obj), 0);
    ASSERT_EQ(QXgetInfo(r.model, QX_DINFO_MIP_BESTBOUND, &bound), 0);
    EXPECT_GE(obj, 1120 - 1e-6);
    EXPECT_LE(bound, 1120 + 1e-6);
    if (c.boundIsObjective) {
      EXPECT_EQ(bound, obj);
    } else {
      EXPECT_LT(bound, obj - 1.0);
    }
    int exact = 0;
    for (const std::string& l : r.lines) exact += l == "User optimality tolerance satisfied.";
    EXPECT_EQ(exact, c.message ? 1 : 0);
    EXPECT_EQ(r.logged("User optimality"), c.message);
  }
}

// max 10 x + y with x integer, y continuous in [0, 10], x - y = 1.05 and
// x + y <= rhs. With an integrality tolerance of 0.1 the root optimum
// (x = (1.05 + rhs) / 2) counts as integral. At rhs 3.05 (x = 2.05) the
// rounded x = 2 needs y = 0.95; at rhs 2.85 (x = 1.95) x = 2 needs
// y = 0.95 > 0.85 and no exact integer x is feasible: the node's own point,
// integral within the tolerance, is kept rather than its subtree lost.
TEST(MipIncumbents, NodeSolutionsHoldExactIntegers) {
  struct Case {
    double rhs, x, y;
  };
  const Case cases[] = {{3.05, 2.0, 0.95}, {2.85, 1.95, 0.9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rhs);
    MipRun r;
    r.load(QX_MAX, {{1, -1}, {1, 1}}, "EL", {1.05, c.rhs}, {10, 1}, {0, 0}, {10, 10}, "IC");
    QXsetModelIntParameter(r.model, QX_IPARAM_MIP_PRINTLEVEL, 0);
    ASSERT_EQ(QXsetModelDouParameter(r.model, QX_DPARAM_MIP_INTTOL, 0.1), 0);
    int status = 0;
    ASSERT_EQ(QXsolveMIP(r.model, &status), 0);
    EXPECT_EQ(status, QX_STATUS_OPTIMAL);
    double x[2] = {}, obj = 0;
    ASSERT_EQ(QXgetMIPSolution(r.model, &obj, x), 0);
    if (c.x == std::round(c.x)) {
      EXPECT_EQ(x[0], c.x);
    }
    EXPECT_NEAR(x[0], c.x, 1e-9);
    EXPECT_NEAR(x[1], c.y, 1e-9);
    EXPECT_NEAR(obj, 10 * x[0] + x[1], 1e-9);
  }
}

// The size line comes with and without presolve; the presolve outcome only
// when presolve runs.
TEST(MipLog, SizeLineWithEveryPresolveLevel) {
  for (int level : {0, 3070}) {
    SCOPED_TRACE(level);
    MipRun r;
    r.load(QX_MIN, {{1, 1}}, "G", {1.5}, {1, 2}, {0, 0}, {4, 4}, "IC");
    r.collectLog(1);
    QXsetModelIntParameter(r.model, QX_IPARAM_MIP_PRELEVEL, level);
    int status = 0;
    ASSERT_EQ(QXsolveMIP(r.model, &status), 0);
    char size[128];
    std::snprintf(size, sizeof size, "\nOri. size (m, n, nz,  nip): %6d, %6d, %8d,  %6u\n", 1, 2, 2, 1u);
    EXPECT_EQ(std::count(r.lines.begin(), r.lines.end(), std::string(size)), 1);
    EXPECT_EQ(r.logged("Model not changed.\n"), level != 0);
  }
}

// A semi-continuous x is 0 or in [l, u]; y in [-10, 10] with y - x <= 1.
// Its stored bounds are [0, u], or [l, u] when u < 0 ([0, u] would be
// empty); its best bounds are the hull [min(0, l), max(0, u)] (and
// y <= hull + 1); max x reaches max(0, u). The
// start (x, x + 1) is feasible at x = l and at 0, not between 0 and l < 0.
TEST(MipSemiContinuous, HullWithNegativeLowerLevel) {
  struct Case {
    double l, u, lo, up, yUp, best, start;
    bool startFeasible;
  };
  const Case cases[] = {{-4, 6, -4, 6, 7, 6, -4, true}, {-5, -2, -5, 0, 1, 0, -5, true},
                        {-5, -2, -5, 0, 1, 0, -1, false}, {-5, -2, -5, 0, 1, 0, 0, true},
                        {2, 6, 0, 6, 7, 6, 1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.l) + " " + std::to_string(c.u) + " " + std::to_string(c.start));
    MipRun r;
    r.load(QX_MAX, {{-1, 1}}, "L", {1}, {1, 0}, {0, -10}, {10, 10}, "CC");
    r.collectLog(1);
    const int var = 0;
    ASSERT_EQ(QXloadSemiContData(r.model, 1, &var, &c.l, &c.u), 0);
    double stored[2] = {};
    ASSERT_EQ(QXgetLowerBoundj(r.model, 0, &stored[0]), 0);
    ASSERT_EQ(QXgetUpperBoundj(r.model, 0, &stored[1]), 0);
    EXPECT_EQ(stored[0], c.u < 0 ? c.l : 0.0);
    EXPECT_EQ(stored[1], c.u);
    const double start[2] = {c.start, c.start + 1};
    ASSERT_EQ(QXloadMIPVarStartPoint(r.model, start), 0);
    int preStatus = 0;
    ASSERT_EQ(QXPreAlgMIP(r.model, &preStatus), 0);
    EXPECT_EQ(preStatus, c.startFeasible ? QX_STATUS_FEASIBLE : QX_STATUS_UNKNOWN);
    double lo[2] = {}, up[2] = {};
    ASSERT_EQ(QXgetBestBounds(r.model, lo, up), 0);
    EXPECT_EQ(lo[0], c.lo);
    EXPECT_EQ(up[0], c.up);
    EXPECT_NEAR(up[1], c.yUp, 1e-9);
    int status = 0;
    ASSERT_EQ(QXsolveMIP(r.model, &status), 0);
    EXPECT_EQ(status, QX_STATUS_OPTIMAL);
    double obj = 0;
    ASSERT_EQ(QXgetInfo(r.model, QX_DINFO_MIP_OBJ, &obj), 0);
    EXPECT_NEAR(obj, c.best, 1e-9);
    EXPECT_EQ(r.logged("(startpoint)"), c.startFeasible);
    EXPECT_EQ(r.logged("\nInfeasibility of solution        : 0.0e+00"), c.startFeasible);
    EXPECT_EQ(r.logged("Startpoint info (not feasible):"), !c.startFeasible);
  }
}

}  // namespace
