// The optimise driver on the paths that need no simplex iteration:
// validation, thread routes, saved parameters, trivial models, the record
// and its information items, the statistics report, the resident work area
// hooks, and the explicit-dual rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/model.hpp"
#include "base/model_fixture.hpp"
#include "simplex/driver.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;

using torva_test::LogLines;

using Driver = ModelFixture;

TEST_F(Driver, NullModelAndUnloadedModel) {
  int status = 77;
  EXPECT_EQ(QXoptimize(nullptr, 0, &status), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(status, 77);
  EXPECT_EQ(QXoptimize(model, 0, &status), QXERR_MODEL_NOT_LOADED);
  EXPECT_EQ(status, 77);
}

// Every combination that must be refused before anything is touched: the
// error comes back, no record exists afterwards and the thread parameters
// read back as the host set them.
TEST_F(Driver, UnsupportedCombinationsTouchNothing) {
  ASSERT_EQ(loadSmall(), 0);
  struct Case {
    int threads, mode, decomposition, method;
  } cases[] = {
      {2, 4, 2, 0},   // total decomposition, threads, mode 4
      {2, 2, 1, 0},   // mode 2 lets only the barrier run threaded
      {2, 2, 1, 2},
      {2, 4, 1, 3},   // threaded barrier in mode 4
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.threads << " " << c.mode << " " << c.decomposition << " " << c.method);
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NUM_THREADS, c.threads), 0);
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_MULTITHREAD_MODE, c.mode), 0);
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_DECOMPOSITION_TYPE, c.decomposition), 0);
    int status = 77;
    EXPECT_EQ(QXoptimize(model, c.method, &status), QXERR_NOT_SUPPORTED);
    EXPECT_EQ(status, 77);
    int v = 0;
    EXPECT_EQ(QXgetInfo(model, QX_IINFO_MODEL_STATUS, &v), QXERR_INFO_NOT_AVAILABLE);
    QXgetModelIntParameter(model, QX_IPARAM_MULTITHREAD_MODE, &v);
    EXPECT_EQ(v, c.mode);
  }
}

TEST_F(Driver, QuadraticModelWithNonlinearMethodIsNotSupported) {
  ASSERT_EQ(loadSmall(), 0);
  const int rows[] = {-1}, c1[] = {0}, c2[] = {0};
  const double q[] = {1.0};
  ASSERT_EQ(QXloadQCData(model, 1, rows, c1, c2, q), 0);
  EXPECT_EQ(QXoptimize(model, QX_METHOD_NLP, nullptr), QXERR_NOT_SUPPORTED);
}

// QXoptimizeQP hands a MILP to the integer solver: same result as QXsolveMIP.
TEST_F(Driver, OptimizeQpSolvesMilpByBranchAndBound) {
  QXmodel other = newModel();
  for (QXmodel m : {model, other}) {
    ASSERT_EQ(loadSmall(m), 0);
    ASSERT_EQ(QXloadVarType(m, "IICC"), 0);
  }
  LogLines log;
  ASSERT_EQ(QXsetModelLogfunc(model, LogLines::sink, &log), 0);
  int status = 0, otherStatus = 0;
  ASSERT_EQ(QXoptimizeQP(model, &status), 0);
  ASSERT_EQ(QXsolveMIP(other, &otherStatus), 0);
  EXPECT_TRUE(log.has("Solving MILP..."));
  EXPECT_EQ(status, otherStatus);
  double obj = 0.0, otherObj = 1.0;
  EXPECT_EQ(QXgetInfo(model, QX_DINFO_MIP_OBJ, &obj), 0);
  EXPECT_EQ(QXgetInfo(other, QX_DINFO_MIP_OBJ, &otherObj), 0);
  EXPECT_EQ(obj, otherObj);
}

TEST(DriverThreads, Routes) {
  using torva::driver::ThreadRoute;
  torva::driver::ModelClass lp, qp;
  qp.quadratic = true;
  struct Case {
    bool quad;
    int threads, ipm, mode, decomposition, method;
    int error;
    ThreadRoute route;
    int ipmSet, modeSet;
  } cases[] = {
      {false, 1, 1, -1, 1, 0, 0, ThreadRoute::Serial, -1, -2},
      {false, 2, 1, -1, 1, 0, 0, ThreadRoute::Concurrent, -1, -2},
      {false, 1, 2, -1, 1, 2, 0, ThreadRoute::Concurrent, -1, -2},
      {false, 2, 1, 2, 1, 3, 0, ThreadRoute::Serial, 2, -2},
      {false, 2, 3, 2, 1, 3, 0, ThreadRoute::Serial, 3, -2},
      {false, 2, 1, 2, 1, 1, QXERR_NOT_SUPPORTED, ThreadRoute::Serial, -1, -2},
      {false, 2, 1, 4, 1, 3, QXERR_NOT_SUPPORTED, ThreadRoute::Serial, -1, -2},
      {false, 2, 1, 1, 1, 3, 0, ThreadRoute::Serial, -1, -2},
      {false, 2, 1, -1, 2, 0, 0, ThreadRoute::Serial, -1, 2},
      {false, 2, 1, 2, 2, 0, 0, ThreadRoute::Serial, -1, -2},
      {false, 2, 1, 1, 2, 0, QXERR_NOT_SUPPORTED, ThreadRoute::Serial, -1, -2},
      {false, 1, 1, 4, 2, 0, 0, ThreadRoute::Serial, -1, -2},
      {true, 1, 1, -1, 2, 0, QXERR_NOT_SUPPORTED, ThreadRoute::Serial, -1, -2},
      {true, 2, 1, 4, 1, 0, 0, ThreadRoute::Concurrent, -1, -2},
      {true, 3, 1, 1, 1, 0, 0, ThreadRoute::Serial, 3, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.quad << " t" << c.threads << " i" << c.ipm << " m" << c.mode
                                    << " d" << c.decomposition << " method " << c.method);
    torva::DriverOptions o;
    o.numThreads = c.threads;
    o.ipmThreads = c.ipm;
    o.multiThreadMode = c.mode;
    o.decompositionType = c.decomposition;
    const auto td = torva::driver::decideThreads(c.quad ? qp : lp, o, c.method);
    EXPECT_EQ(td.error, c.error);
    if (c.error) continue;
    EXPECT_EQ(td.route, c.route);
    EXPECT_EQ(td.ipmThreads, c.ipmSet);
    EXPECT_EQ(td.multiThreadMode, c.modeSet);
  }
}

// A model without columns: feasible and infeasible right-hand sides.
TEST_F(Driver, ModelWithoutColumns) {
  const double b[] = {0.0, -1.0, 1.0};
  const int beg[] = {0};
  ASSERT_EQ(QXloadLPData(model, 3, 0, QX_MIN, 2.5, nullptr, b, "EGL", 0, beg, nullptr, nullptr, nullptr,
                         nullptr, nullptr),
            0);
  int status = 0;
  ASSERT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  int iter = -1, pst = 0;
  double obj = 0;
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_SIM_ITER, &iter), 0);
  EXPECT_EQ(iter, 0);
  EXPECT_EQ(QXgetInfo(model, QX_DINFO_POBJ, &obj), 0);
  EXPECT_DOUBLE_EQ(obj, 2.5);
  std::vector<int> rs(3, -9);
  ASSERT_EQ(QXgetBasis(model, nullptr, rs.data()), 0);
  for (int s : rs) EXPECT_GE(s, 0);
  std::vector<double> slack(3, -9);
  ASSERT_EQ(QXgetSlacks(model, slack.data()), 0);
  EXPECT_EQ(slack, std::vector<double>(3, 0.0));

  const int row[] = {1};
  const double g[] = {1e-3};  // 0 >= 1e-3 is violated beyond the tolerance
  ASSERT_EQ(QXmodifyRHS(model, 1, row, g), 0);
  ASSERT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_INFEASIBLE);
  QXgetInfo(model, QX_IINFO_PRIMAL_STATUS, &pst);
  EXPECT_EQ(pst, QX_STATUS_INFEASIBLE);
  QXgetInfo(model, QX_IINFO_DUAL_STATUS, &pst);
  EXPECT_EQ(pst, QX_STATUS_UNBOUNDED);
}

// A model without rows: every column at the bound its cost prefers.
TEST_F(Driver, ModelWithoutRows) {
  const double c[] = {1, -1, 0, 0, 0};
  const double lo[] = {-2, -1e30, -1e30, -3, -5};
  const double up[] = {4, 6, 1e30, 1, 2};
  const int beg[] = {0, 0, 0, 0, 0, 0};
  ASSERT_EQ(QXloadLPData(model, 0, 5, QX_MIN, 0.0, c, nullptr, nullptr, 0, beg, nullptr, nullptr, nullptr,
                         lo, up),
            0);
  int status = 0;
  ASSERT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  std::vector<double> x(5);
  std::vector<int> cs(5);
  ASSERT_EQ(QXgetPrimalSolution(model, x.data()), 0);
  ASSERT_EQ(QXgetBasis(model, cs.data(), nullptr), 0);
  // Zero-cost columns take the bound of smaller magnitude (the upper one on
  // a tie or when it is smaller).
  const std::vector<double> wantX = {-2, 6, 0, 1, 2};
  const std::vector<int> wantS = {QX_BASTYPE_ATLO, QX_BASTYPE_ATUP, QX_BASTYPE_FNUL, QX_BASTYPE_ATUP,
                                  QX_BASTYPE_ATUP};
  EXPECT_EQ(x, wantX);
  EXPECT_EQ(cs, wantS);
  double obj = 0;
  QXgetInfo(model, QX_DINFO_POBJ, &obj);
  EXPECT_DOUBLE_EQ(obj, -8.0);

  // Maximising makes column 0 want +4 and column 1 want -inf: unbounded.
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, QX_MAX), 0);
  ASSERT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_UNBOUNDED);
  int dst = 0;
  QXgetInfo(model, QX_IINFO_DUAL_STATUS, &dst);
  EXPECT_EQ(dst, QX_STATUS_INFEASIBLE);
}

int stopAtOnce(QXmodel, int, void*) { return 1; }

TEST_F(Driver, InterruptOfTrivialSolve) {
  const double c[] = {1};
  const double lo[] = {0}, up[] = {1};
  const int beg[] = {0, 0};
  ASSERT_EQ(QXloadLPData(model, 0, 1, QX_MIN, 0.0, c, nullptr, nullptr, 0, beg, nullptr, nullptr, nullptr,
                         lo, up),
            0);
  ASSERT_EQ(QXsetCallback(model, stopAtOnce, nullptr), 0);
  EXPECT_EQ(QXoptimize(model, 0, nullptr), QXERR_USER_INTERRUPT);
  int err = 0;
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_ERR_OPTIM, &err), 0);
  EXPECT_EQ(err, QXERR_USER_INTERRUPT);
}

// Presolve switched off by bit 8192 for one call; the level reads back.
TEST_F(Driver, PresolveOffBitIsRestored) {
  const double b[] = {0.0};
  const int beg[] = {0};
  ASSERT_EQ(QXloadLPData(model, 1, 0, QX_MIN, 0.0, nullptr, b, "E", 0, beg, nullptr, nullptr, nullptr,
                         nullptr, nullptr),
            0);
  const int level = 126 | 8192;
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRELEVEL, level), 0);
  ASSERT_EQ(QXoptimize(model, 0, nullptr), 0);
  int v = 0;
  QXgetModelIntParameter(model, QX_IPARAM_LP_PRELEVEL, &v);
  EXPECT_EQ(v, level);
  EXPECT_TRUE(model->presolveForcedOff);
}

TEST_F(Driver, InformationItemsAndReport) {
  int v = 0;
  const double b[] = {0.0};
  const int beg[] = {0};
  ASSERT_EQ(QXloadLPData(model, 1, 0, QX_MIN, 1.0, nullptr, b, "L", 0, beg, nullptr, nullptr, nullptr,
                         nullptr, nullptr),
            0);
  for (int item : {QX_IINFO_ERR_OPTIM, QX_IINFO_NUM_RDCONS, QX_IINFO_SIM_ITER})
    EXPECT_EQ(QXgetInfo(model, item, &v), QXERR_INFO_NOT_AVAILABLE) << item;
  LogLines log;
  ASSERT_EQ(QXsetModelLogfunc(model, LogLines::sink, &log), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 1), 0);
  ASSERT_EQ(QXoptimize(model, 0, nullptr), 0);
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_NUM_RDCONS, &v), 0);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_ERR_OPTIM, &v), 0);
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(log.has("\nUsed Method        = 0 "));
  EXPECT_TRUE(log.has("\nPrimal Objective   = 1 "));
  EXPECT_TRUE(log.has("\nBasic solution is optimal.\n"));
  EXPECT_TRUE(log.has("\nRefactors (ok,stb) = 0 (0.00,0.00) "));
}

// A work area that records what the store tells it.
struct FakeWork : torva::WorkArea {
  bool accept = true;
  int calls = 0;
  bool absorbColumnBounds(int, double, double) override { return ++calls, accept; }
  bool absorbCost(int, double) override { return ++calls, accept; }
  bool absorbRow(int, char, double) override { return ++calls, accept; }
  int rows() const override { return 3; }
  int cols() const override { return 4; }
};

TEST_F(Driver, WorkAreaAbsorbsValueChangesAndDropsOnStructure) {
  ASSERT_EQ(loadSmall(), 0);
  auto fake = std::make_unique<FakeWork>();
  FakeWork* w = fake.get();
  model->workArea = std::move(fake);
  const int j[] = {0, 1};
  const double v[] = {3.0, 5.0};
  const char types[] = {'G'};
  ASSERT_EQ(QXmodifyUpperBounds(model, 2, j, v), 0);
  ASSERT_EQ(QXmodifyLowerBounds(model, 1, j, v), 0);
  ASSERT_EQ(QXmodifyObjective(model, 2, j, v), 0);
  ASSERT_EQ(QXmodifyRHS(model, 2, j, v), 0);
  ASSERT_EQ(QXmodifyConstraintType(model, 1, j, types), 0);
  ASSERT_EQ(model->workArea.get(), w);
  EXPECT_EQ(w->calls, 8);
  w->accept = false;  // a change it cannot take drops it
  ASSERT_EQ(QXmodifyRHS(model, 1, j, v), 0);
  EXPECT_EQ(model->workArea, nullptr);

  model->workArea = std::make_unique<FakeWork>();
  const double coef[] = {9.0};
  ASSERT_EQ(QXmodifyAj(model, 1, 1, j, coef), 0);  // a matrix change
  EXPECT_EQ(model->workArea, nullptr);
}

// The automatic rule turns models with m > 3n and m >= 2501 into their dual;
// 2500 rows never, unless forced; the barrier never.
TEST_F(Driver, ExplicitDualRule) {
  auto tall = [&](int m, int n) {
    std::vector<double> c(n, 1.0), b(m, 1.0), lo(n, 0.0), up(n, 1e30), val;
    std::vector<int> beg{0}, rows;
    for (int j = 0; j < n; ++j) {
      for (int i = j; i < m; i += n) {
        rows.push_back(i);
        val.push_back(1.0);
      }
      beg.push_back(static_cast<int>(rows.size()));
    }
    QXmodel t = QXcreateModel(env, nullptr);
    EXPECT_EQ(QXloadLPData(t, m, n, QX_MIN, 0, c.data(), b.data(), std::string(m, 'G').c_str(),
                           beg.back(), beg.data(), nullptr, val.data(), rows.data(), lo.data(), up.data()),
              0);
    return t;
  };
  QXmodel big = tall(2501, 100), edge = tall(2500, 100), square = tall(2600, 2600);
  torva::DriverOptions o;
  EXPECT_TRUE(torva::driver::decideExplicitDual(*big, o, 0));
  EXPECT_FALSE(torva::driver::decideExplicitDual(*edge, o, 0));
  EXPECT_FALSE(torva::driver::decideExplicitDual(*square, o, 2));
  EXPECT_FALSE(torva::driver::decideExplicitDual(*big, o, 3));
  o.probToSolve = 2;
  EXPECT_TRUE(torva::driver::decideExplicitDual(*edge, o, 1));
  EXPECT_FALSE(torva::driver::decideExplicitDual(*edge, o, 3));
  o.probToSolve = 1;
  EXPECT_FALSE(torva::driver::decideExplicitDual(*big, o, 0));
}

}  // namespace

namespace {

// The ladder's verdict on the results a run can end with.
TEST_F(Driver, RecoveryVerdicts) {
  ASSERT_EQ(loadSmall(), 0);
  LogLines log;
  ASSERT_EQ(QXsetModelLogfunc(model, LogLines::sink, &log), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 1), 0);
  torva::ParamSaver saver(model->params);
  torva::driver::Call call{*model, 0, torva::DriverOptions::read(model->params), saver,
                           torva::driver::Clock::now(), {}, {}};
  struct Case {
    bool scaled;
    int err, outcome;
    double iterations, pp, dd, rcond;
    bool feasiblePoint;
    int code;
    const char* message;
  } cases[] = {
      {true, 2019, 1, 0, 0, 0, 1, false, 6, "\nWarning: initial basis singular,\nWarning: crashing a new basis..."},
      {false, 2019, 1, 5, 0, 0, 1, false, 2, "\nWarning: optimizing model using another method..."},
      {false, 0, 2, 5, 1e-5, 0, 1, false, 3, "\nWarning: solution to the original model is not primal feasible (ppfeas=1.000000e-05)"},
      {false, 0, 2, 5, 1e-5, 0, 1e-12, false, 0, "\nWarning: accepting primal infeasibility"},
      {false, 0, 2, 5, 0, 1e-5, 1, false, 4, "\nWarning: reoptimizing model..."},
      {true, 2019, 1, 5, 0, 0, 1, false, 1, "\nWarning: numerical instability,\nWarning: optimizing unscaled model..."},
      {true, 0, 2, 5, 1e-5, 0, 1, false, 3, "\nWarning: descaled solution is not primal feasible"},
      {true, 0, 2, 5, 0, 1e-5, 1, false, 4, "\nWarning: descaled solution is not dual feasible"},
      {true, 0, 10, 5, 0, 1e-5, 1, false, 7, "\nWarning: descaled cutoff solution is not dual feasible"},
      {true, 0, 3, 5, 1.0, 0, 1, true, 5, "\nWarning: descaled solution is primal feasible"},
      {true, 0, 3, 5, 1.0, 0, 1, false, 0, nullptr},
      {true, 0, 2, 5, 1e-8, 1e-8, 1, false, 0, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "accept");
    log.clear();
    torva::simplex::SimplexResult r;
    r.outcome = c.outcome;
    r.iterations = c.iterations;
    r.primalInfeas = c.pp;
    r.dualInfeas = c.dd;
    r.rcond = c.rcond;
    // x = (0, 3, -1.5, 2) satisfies every row and bound of the model.
    if (c.feasiblePoint) r.x = {0.0, 3.0, -1.5, 2.0};
    EXPECT_EQ(torva::driver::recoveryVerdict(call, call.model.data, c.scaled, c.err, r), c.code);
    if (c.message) { EXPECT_TRUE(log.has(c.message)); }
  }
}

}  // namespace
