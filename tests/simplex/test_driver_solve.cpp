// The optimise driver end to end through the simplex: every outcome of the
// outcome table on a real model, warm reoptimisation, the explicit dual,
// decomposition, the concurrent runner, the postsolve check, restored
// parameters, the resident basis solves, and Netlib models with every
// method and thread setting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "simplex/driver.hpp"
#include "simplex/presolve_hook.hpp"
#include "base/model_fixture.hpp"
#include "torva.h"

namespace {

std::string netlibDir() {
  const char* dir = std::getenv("TORVA_SHARED_DATA");
  return std::string(dir ? dir : TORVA_SHARED_DATA) + "/netlib";
}

std::map<std::string, double> netlibObjectives() {
  std::map<std::string, double> out;
  std::ifstream in(netlibDir() + "/objectives.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    std::string name;
    double obj = 0;
    if (f >> name >> obj) out[name] = obj;
  }
  return out;
}

using torva_test::LogLines;

// The parameters the driver changes for itself; each must read back as the
// host left it after every path.
const int kWatchedInts[] = {QX_IPARAM_LP_SCALE, QX_IPARAM_SOLVER_RESTART, QX_IPARAM_LP_PRELEVEL,
                            QX_IPARAM_IPM_NUM_THREADS, QX_IPARAM_MULTITHREAD_MODE, QX_IPARAM_NUM_THREADS,
                            QX_IPARAM_PROB_TO_SOLVE, QX_IPARAM_SOLVER_IUSOL, QX_IPARAM_DECOMPOSITION_TYPE};

struct Solve : ::testing::Test {
  QXenv env = nullptr;
  QXmodel model = nullptr;
  LogLines log;
  std::vector<int> watched;
  double watchedCutoff = 0;

  void SetUp() override {
    int err = 0;
    env = QXcreateEnv(&err);
    ASSERT_EQ(err, 0);
    model = QXcreateModel(env, &err);
    ASSERT_EQ(err, 0);
  }
  void TearDown() override { QXdeleteEnv(&env); }

  bool readNetlib(const std::string& name, QXmodel target = nullptr) {
    const std::string path = netlibDir() + "/" + name + ".mps.gz";
    if (!std::ifstream(path)) return false;
    return QXreadMPSFile(target ? target : model, path.c_str(), 0) == 0;
  }
  void captureLog(int printLevel = 1) {
    ASSERT_EQ(QXsetModelLogfunc(model, LogLines::sink, &log), 0);
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, printLevel), 0);
  }
  void rememberParams() {
    watched.clear();
    for (int id : kWatchedInts) {
      int v = 0;
      QXgetModelIntParameter(model, id, &v);
      watched.push_back(v);
    }
    QXgetModelDouParameter(model, QX_DPARAM_SOLVER_CUTOFFVAL, &watchedCutoff);
  }
  void expectParamsRestored() {
    for (std::size_t k = 0; k < watched.size(); ++k) {
      int v = 0;
      QXgetModelIntParameter(model, kWatchedInts[k], &v);
      EXPECT_EQ(v, watched[k]) << "parameter " << kWatchedInts[k];
    }
    double c = 0;
    QXgetModelDouParameter(model, QX_DPARAM_SOLVER_CUTOFFVAL, &c);
    EXPECT_EQ(c, watchedCutoff);
  }
  int info(int item) {
    int v = -1;
    EXPECT_EQ(QXgetInfo(model, item, &v), 0) << item;
    return v;
  }
  double dinfo(int item) {
    double v = 0;
    EXPECT_EQ(QXgetInfo(model, item, &v), 0) << item;
    return v;
  }
};

#define NEED_NETLIB(name)                                                   \
  if (!readNetlib(name)) GTEST_SKIP() << "netlib model " << name << " not found under " << netlibDir()

double relErr(double a, double b) { return std::fabs(a - b) / std::max(1.0, std::fabs(b)); }

TEST_F(Solve, OptimalThenWarmAfterBoundChange) {
  NEED_NETLIB("sc205");
  const double want = netlibObjectives()["sc205"];
  rememberParams();
  int status = 0;
  ASSERT_EQ(QXoptimize(model, QX_METHOD_FREE, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  EXPECT_EQ(info(QX_IINFO_METHOD), QX_METHOD_PSIMPLEX);  // fresh: primal
  EXPECT_LT(relErr(dinfo(QX_DINFO_POBJ), want), 1e-6);
  EXPECT_LT(relErr(dinfo(QX_DINFO_DOBJ), want), 1e-6);
  expectParamsRestored();

  // Tighten the upper bound of a column that is positive at the optimum.
  int n = 0;
  QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  std::vector<double> x(n);
  ASSERT_EQ(QXgetPrimalSolution(model, x.data()), 0);
  int j = 0;
  for (int k = 0; k < n; ++k)
    if (x[k] > x[j]) j = k;
  const double up = x[j] / 2;
  ASSERT_EQ(QXmodifyUpperBounds(model, 1, &j, &up), 0);
  ASSERT_NE(model->workArea, nullptr);  // the change was absorbed
  // Kernel options set now act on the kept kernel; profiling times it.
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_LU_EPS_PIVREL, 0.5), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LU_PRINT_LEVEL, 1), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_PROFILER_LEVEL, 256), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRTFG, 1), 0);
  captureLog();
  ASSERT_EQ(QXoptimize(model, QX_METHOD_FREE, &status), 0);
  const int warmIters = info(QX_IINFO_SIM_ITER);
  const double warmObj = dinfo(QX_DINFO_POBJ);
  EXPECT_EQ(info(QX_IINFO_METHOD), QX_METHOD_DSIMPLEX);  // reoptimisation: dual
  EXPECT_TRUE(log.has("SLU_DPAR_EPS_PIVREL : 0.5\n"));
  EXPECT_TRUE(log.has("\nfactor time (s)     = "));
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRTFG, 0), 0);

  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_RESTART, 1), 0);
  rememberParams();
  ASSERT_EQ(QXoptimize(model, QX_METHOD_FREE, &status), 0);
  expectParamsRestored();
  EXPECT_LT(warmIters, info(QX_IINFO_SIM_ITER));
  EXPECT_LT(relErr(warmObj, dinfo(QX_DINFO_POBJ)), 1e-9);
}

TEST_F(Solve, IterationLimitZero) {
  NEED_NETLIB("sc50a");
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_ITRLMT, 0), 0);
  rememberParams();
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 0, &status), QXERR_ITER_LIMIT);
  EXPECT_EQ(status, QX_STATUS_LOADED);
  expectParamsRestored();
}

TEST_F(Solve, TinyTimeLimitOnLargeModel) {
  NEED_NETLIB("pilot87");
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_TIMLMT, 0.05), 0);
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 2, &status), QXERR_TIME_LIMIT);
  EXPECT_EQ(status, QX_STATUS_LOADED);
}

// What the host's progress callback reads while the simplex runs.
struct SeenProgress {
  int calls = 0, lastIter = -1, iterFalls = 0;
  double lastObj = 0;
};

int readProgress(QXmodel m, int location, void* data) {
  auto* seen = static_cast<SeenProgress*>(data);
  int iter = -1;
  double obj = 0;
  if (QXgetCallbackInfo(m, location, QX_IINFO_CUR_ITER, &iter) != 0) return 1;
  if (QXgetCallbackInfo(m, location, QX_DINFO_CUR_OBJ, &obj) != 0) return 1;
  if (iter < seen->lastIter) ++seen->iterFalls;
  seen->lastIter = iter;
  seen->lastObj = obj;
  return ++seen->calls >= 5;
}

// Serial and concurrent: in a concurrent run the first copy reports on the
// host's behalf, and the host's stop ends every copy without a solution.
TEST_F(Solve, ProgressCallbackSeesIterationsAndObjective) {
  NEED_NETLIB("pilot87");
  for (int threads : {1, 2}) {
    SCOPED_TRACE(threads);
    SeenProgress seen;
    ASSERT_EQ(QXsetCallback(model, readProgress, &seen), 0);
    ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_CALLBACKFREQ, 0.0), 0);
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NUM_THREADS, threads), 0);
    rememberParams();
    int status = 0;
    EXPECT_EQ(QXoptimize(model, 2, &status), QXERR_USER_INTERRUPT);
    EXPECT_EQ(status, QX_STATUS_LOADED);
    EXPECT_EQ(info(QX_IINFO_DUAL_STATUS), QX_STATUS_LOADED);
    double x = 0;
    EXPECT_EQ(QXgetPrimalSolution(model, &x), QXERR_INFO_NOT_AVAILABLE);  // not copied
    expectParamsRestored();
    ASSERT_EQ(seen.calls, 5);
    EXPECT_GT(seen.lastIter, 0);
    EXPECT_EQ(seen.iterFalls, 0);
    EXPECT_NE(seen.lastObj, 0.0);
    EXPECT_LT(std::fabs(seen.lastObj), 1e30);
  }
}

TEST_F(Solve, CutoffEndsDualSimplex) {
  NEED_NETLIB("afiro");
  // The optimum is -464.75; a minimisation whose dual objective passes -500
  // can stop at the cutoff.
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_USECUTOFFVAL, 1), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_CUTOFFVAL, -500.0), 0);
  rememberParams();
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 2, &status), 0);
  EXPECT_EQ(status, QX_STATUS_CUTOFF);
  expectParamsRestored();
  // Presolved, solved by the dual and confirmed by the primal; then interrupted.
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_USECUTOFFVAL, 0), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_RESTART, 1), 0);
  EXPECT_EQ(QXoptimize(model, 2, &status), 0);
  EXPECT_EQ(info(QX_IINFO_METHOD), QX_METHOD_DSIMPLEX);
  ASSERT_EQ(QXsetCallback(model, [](QXmodel, int, void*) { return 1; }, nullptr), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_CALLBACKFREQ, 0.0), 0);
  EXPECT_EQ(QXoptimize(model, 2, &status), QXERR_USER_INTERRUPT);
  std::vector<double> x(static_cast<std::size_t>(info(QX_IINFO_NUM_VARS)));
  EXPECT_EQ(QXgetPrimalSolution(model, x.data()), QXERR_INFO_NOT_AVAILABLE);
}

// Infeasible rows (x0 >= 1, x0 <= 0) and a free column with a falling cost:
// infeasible and dual infeasible at once.
void loadInfeasibleAndUnbounded(QXmodel m) {
  const double c[] = {0, -1}, b[] = {1, 0}, lo[] = {0, -1e30}, up[] = {1e30, 1e30};
  const int beg[] = {0, 2, 2}, rows[] = {0, 1};
  const double v[] = {1, 1};
  ASSERT_EQ(QXloadLPData(m, 2, 2, QX_MIN, 0, c, b, "GL", 2, beg, nullptr, v, rows, lo, up), 0);
}

// Without a definite answer the dual may stop at "infeasible or unbounded";
// QX_IPARAM_SOLVER_IUSOL asks for the re-solve that separates the two.
TEST_F(Solve, DefiniteAnswerReSolve) {
  loadInfeasibleAndUnbounded(model);
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 2, &status), 0);
  EXPECT_TRUE(status == QX_STATUS_INFEASIBLE || status == QX_STATUS_INFORUNB) << status;
  captureLog();
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_IUSOL, 1), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_RESTART, 1), 0);
  rememberParams();
  EXPECT_EQ(QXoptimize(model, 2, &status), 0);
  EXPECT_EQ(status, QX_STATUS_INFEASIBLE);
  expectParamsRestored();
}

// The dual solved in place of the primal (when to do so is decided in
// test_driver.cpp): the primal's optimum with a full basis, its parameters
// as the host left them.
TEST_F(Solve, ExplicitDualForcedOnNetlib) {
  NEED_NETLIB("adlittle");
  captureLog(0);  // messages need a log function only
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_PROB_TO_SOLVE, 2), 0);
  int m = 0, n = 0;
  QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
  QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  rememberParams();
  int status = 0;
  for (int method : {0, 1, 2}) {
    SCOPED_TRACE(method);
    ASSERT_EQ(QXoptimize(model, method, &status), 0);
    EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
    EXPECT_LT(relErr(dinfo(QX_DINFO_POBJ), netlibObjectives()["adlittle"]), 1e-6);
    expectParamsRestored();
    std::vector<int> cs(n), rs(m);
    ASSERT_EQ(QXgetBasis(model, cs.data(), rs.data()), 0);
    EXPECT_EQ(std::count_if(cs.begin(), cs.end(), [](int s) { return s >= 0; }) +
                  std::count_if(rs.begin(), rs.end(), [](int s) { return s >= 0; }),
              m);
  }
  EXPECT_TRUE(log.has("\nConstructing the explicit dual model..."));
  EXPECT_TRUE(log.has("\n\nConstructing a primal basis from the explicit dual...\n"));
  // The second and third solves start from a resident primal basis.
  EXPECT_TRUE(log.has("\nComputed a dual basis from the primal basis...\n"));
  // The host's progress callback reaches the dual's solve and stops it there.
  ASSERT_EQ(QXsetCallback(model, [](QXmodel, int, void*) { return 1; }, nullptr), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_RESTART, 1), 0);
  EXPECT_EQ(QXoptimize(model, 0, &status), QXERR_USER_INTERRUPT);
}

// A model held as an instruction list (afiro written and read back as MPI)
// has no solver yet: the call refuses it before touching the record.
TEST_F(Solve, InstructionListModelIsRefused) {
  QXmodel lp = QXcreateModel(env, nullptr);
  if (!readNetlib("afiro", lp)) GTEST_SKIP() << "afiro not found";
  const char* tmp = std::getenv("TORVA_TEST_TMP");
  const std::string path =
      (tmp ? std::string(tmp) : std::filesystem::temp_directory_path().string()) + "/driver_afiro.mpi";
  ASSERT_EQ(QXwriteMPIFile(lp, path.c_str()), 0);
  QXmodel nl = QXcreateModel(env, nullptr);
  ASSERT_EQ(QXreadMPIFile(nl, path.c_str()), 0);
  int status = -1;
  EXPECT_EQ(QXoptimize(nl, QX_METHOD_FREE, &status), QXERR_NOT_SUPPORTED);
  // A simplex method or an unknown nonlinear solver is refused first.
  EXPECT_EQ(QXoptimize(nl, QX_METHOD_DSIMPLEX, &status), QXERR_BAD_SOLVER_TYPE);
  ASSERT_EQ(QXsetModelIntParameter(nl, QX_IPARAM_NLP_SOLVER, 6), 0);
  EXPECT_EQ(QXoptimize(nl, QX_METHOD_NLP, &status), QXERR_BAD_SOLVER_TYPE);
  EXPECT_EQ(status, -1);
  double obj = 0;
  EXPECT_EQ(QXgetInfo(nl, QX_DINFO_POBJ, &obj), QXERR_INFO_NOT_AVAILABLE);
  QXdeleteModel(&nl);
  QXdeleteModel(&lp);
}

// Three copies of afiro side by side: three blocks, three times the optimum.
TEST_F(Solve, TotalDecomposition) {
  QXmodel one = QXcreateModel(env, nullptr);
  if (!readNetlib("afiro", one)) GTEST_SKIP() << "afiro not found";
  int m = 0, n = 0, nnz = 0, sense = 0;
  QXgetInfo(one, QX_IINFO_NUM_CONS, &m);
  QXgetInfo(one, QX_IINFO_NUM_VARS, &n);
  QXgetInfo(one, QX_IINFO_NUM_NONZ, &nnz);
  double k0 = 0;
  std::vector<double> c(n), b(m), lo(n), up(n), v(nnz);
  std::vector<int> beg(n + 1), idx(nnz);
  std::vector<char> t(m);
  ASSERT_EQ(QXgetLPData(one, &sense, &k0, c.data(), b.data(), t.data(), beg.data(), nullptr, v.data(),
                        idx.data(), lo.data(), up.data()),
            0);
  const int copies = 3;
  std::vector<double> C, B, L, U, V;
  std::vector<int> Beg{0}, Idx;
  std::string T;
  for (int k = 0; k < copies; ++k) {
    C.insert(C.end(), c.begin(), c.end());
    L.insert(L.end(), lo.begin(), lo.end());
    U.insert(U.end(), up.begin(), up.end());
    B.insert(B.end(), b.begin(), b.end());
    T.append(t.begin(), t.end());
    for (int j = 0; j < n; ++j) {
      for (int p = beg[j]; p < beg[j + 1]; ++p) {
        Idx.push_back(idx[p] + k * m);
        V.push_back(v[p]);
      }
      Beg.push_back(static_cast<int>(Idx.size()));
    }
  }
  ASSERT_EQ(QXloadLPData(model, copies * m, copies * n, sense, 0, C.data(), B.data(), T.c_str(),
                         Beg.back(), Beg.data(), nullptr, V.data(), Idx.data(), L.data(), U.data()),
            0);
  captureLog(0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_DECOMPOSITION_TYPE, 2), 0);
  rememberParams();
  int status = 0;
  ASSERT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  EXPECT_TRUE(log.has("\nLP has been decomposed into 3 independent blocks..\n"));
  EXPECT_TRUE(log.has("Completed solving block 2, status:2"));
  EXPECT_TRUE(log.has("\nReoptimizing the original LP with consolidated basis."));
  EXPECT_LT(relErr(dinfo(QX_DINFO_POBJ), copies * netlibObjectives()["afiro"]), 1e-6);
  expectParamsRestored();

  // afiro alone is one block.
  log.clear();
  ASSERT_EQ(QXsetModelLogfunc(one, LogLines::sink, &log), 0);
  ASSERT_EQ(QXsetModelIntParameter(one, QX_IPARAM_DECOMPOSITION_TYPE, 2), 0);
  ASSERT_EQ(QXoptimize(one, 0, &status), 0);
  EXPECT_TRUE(log.has("\nWARNING: model is not totally decomposable"));
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
}

TEST_F(Solve, ConcurrentTwoThreadsMatchesOne) {
  NEED_NETLIB("share2b");
  captureLog(0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NUM_THREADS, 2), 0);
  rememberParams();
  int status = 0;
  ASSERT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  EXPECT_TRUE(log.has("\nConcurrent run started..\n"));
  EXPECT_TRUE(log.has("\nThread-id:1, status: "));
  expectParamsRestored();
  const double two = dinfo(QX_DINFO_POBJ);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NUM_THREADS, 1), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_RESTART, 1), 0);
  ASSERT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_LT(relErr(two, dinfo(QX_DINFO_POBJ)), 1e-9);
}

// A presolver that wrongly fixes column 0 at its lower bound: the postsolve
// check finds the dual violation and the original model is reoptimised.
struct FixFirstColumn : torva::LpPresolver {
  Verdict presolve(const torva::ModelData& d, int, torva::ModelData& r) override {
    r.m = d.m; r.n = d.n; r.nnz = d.nnz; r.objSense = d.objSense; r.objConst = d.objConst;
    r.cost = d.cost; r.rhs = d.rhs; r.conType = d.conType; r.colBeg = d.colBeg; r.colLen = d.colLen;
    r.rowIdx = d.rowIdx; r.value = d.value; r.lower = d.lower; r.upper = d.upper;
    r.upper[0] = r.lower[0];
    return Verdict::Reduced;
  }
  void postsolve(const torva::ModelData&, torva::simplex::SimplexResult&) override {}
};

TEST_F(Solve, PostsolveCheckReoptimises) {
  NEED_NETLIB("afiro");
  torva::setLpPresolverFactory([]() -> std::unique_ptr<torva::LpPresolver> {
    return std::make_unique<FixFirstColumn>();
  });
  captureLog();
  int status = 0;
  const int rc = QXoptimize(model, 0, &status);
  torva::setLpPresolverFactory(nullptr);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  EXPECT_TRUE(log.has("\nWarning: Postsolve leads to"));
  EXPECT_TRUE(log.has("\nPerforming postsolve reoptimization ..."));
  EXPECT_LT(relErr(dinfo(QX_DINFO_POBJ), netlibObjectives()["afiro"]), 1e-6);
}

// The recovery ladder walked with scripted simplex results: what each run
// saw (start, scaling, warm start) and the messages of the passes.
struct ScriptedRun {
  int err, outcome;
  double iterations, dualInfeas;
  int settled = 0;  // model status left by a switch loop that gave up
};
struct SeenRun {
  torva::simplex::StartBasis start;
  int scaleOption, scaleParam, restartParam;
};

struct Ladder : Solve {
  std::vector<ScriptedRun> script;
  std::vector<SeenRun> seen;
  void SetUp() override {
    Solve::SetUp();
    const double c[] = {1, 2}, b[] = {1}, lo[] = {0, 0}, up[] = {5, 5};
    const int beg[] = {0, 1, 2}, rows[] = {0, 0};
    const double v[] = {1, 1};
    ASSERT_EQ(QXloadLPData(model, 1, 2, QX_MIN, 0, c, b, "G", 2, beg, nullptr, v, rows, lo, up), 0);
    torva::driver::setSimplexRunHook([this](QXmodelRec& m, torva::simplex::StartBasis start,
                                            const torva::simplex::SimplexOptions& o,
                                            torva::simplex::SimplexResult& r) {
      seen.push_back({start, o.scale, m.params.intValue(QX_IPARAM_LP_SCALE),
                      m.params.intValue(QX_IPARAM_SOLVER_RESTART)});
      const ScriptedRun& s = script[std::min(seen.size(), script.size()) - 1];
      r.outcome = s.outcome;
      r.iterations = s.iterations;
      r.dualInfeas = s.dualInfeas;
      r.settledStatus = s.settled;
      r.x = {1, 0};
      r.slack = {0};
      r.y = {1};
      r.d = {0, 1};
      r.colStatus = {0, QX_BASTYPE_ATLO};
      r.rowStatus = {QX_BASTYPE_ATUP};
      r.objective = 1;
      return s.err;
    });
    captureLog();
  }
  void TearDown() override {
    torva::driver::setSimplexRunHook(nullptr);
    Solve::TearDown();
  }
};

TEST_F(Ladder, SingularStartCrashesANewBasis) {
  script = {{2019, 1, 0, 0}, {0, 2, 3, 0}};
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 0, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1].start, torva::simplex::StartBasis::Crash);
  EXPECT_EQ(seen[1].restartParam, 1);
  EXPECT_TRUE(log.has("\nWarning: initial basis singular,\nWarning: crashing a new basis..."));
}

TEST_F(Ladder, DualInfeasibleDescaledSolutionWalksEveryPass) {
  script = {{0, 2, 9, 1e-3}};  // every run ends with the same dual violation
  rememberParams();
  int status = 0;
  // No pass gives a good verdict: the last run's status stands, with 2019.
  EXPECT_EQ(QXoptimize(model, 0, &status), QXERR_NUMERIC_INSTABILITY);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  expectParamsRestored();
  ASSERT_EQ(seen.size(), 5u);  // the first run and passes 0 to 3
  EXPECT_EQ(seen[0].scaleOption, -1);  // the host's scaling
  const int scale[] = {0, 1, 1, 0};
  const bool warm[] = {true, true, false, false};
  for (int p = 0; p < 4; ++p) {
    SCOPED_TRACE(p);
    EXPECT_EQ(seen[p + 1].scaleOption, scale[p]);
    EXPECT_EQ(seen[p + 1].scaleParam, scale[p]);
    EXPECT_EQ(seen[p + 1].restartParam, warm[p] ? 0 : 1);
    EXPECT_EQ(seen[p + 1].start, warm[p] ? torva::simplex::StartBasis::Given : torva::simplex::StartBasis::Crash);
  }
  for (const char* m : {"\nWarning: descaled solution is not dual feasible (ddfeas=1.000000e-03)",
                        "\nWarning: scaling off, warm-start on", "\nWarning: scaling on, warm-start on",
                        "\nWarning: scaling on, warm-start off", "\nWarning: scaling off, warm-start off",
                        "\nWarning: solution to the original model is not dual feasible"})
    EXPECT_TRUE(log.has(m)) << m;
}

TEST_F(Ladder, DefiniteAnswerSeparatesInfeasibleFromUnbounded) {
  script = {{0, 4, 3, 0}, {0, 3, 2, 0}};
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 2, &status), 0);
  EXPECT_EQ(status, QX_STATUS_INFORUNB);
  ASSERT_EQ(seen.size(), 1u);
  double x = 0;
  EXPECT_EQ(QXgetPrimalSolution(model, &x), QXERR_INFO_NOT_AVAILABLE);  // primal status 6

  seen.clear();
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SOLVER_IUSOL, 1), 0);
  EXPECT_EQ(QXoptimize(model, 2, &status), 0);
  EXPECT_EQ(status, QX_STATUS_INFEASIBLE);
  // The re-solve starts from a new basis (the scripted point satisfies the
  // rows, so the ladder's verdict also asks for an unscaled pass).
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[1].start, torva::simplex::StartBasis::Crash);
  EXPECT_TRUE(log.has("\nEnforcing reoptimization ..."));
}

// A switch loop that gives up on every pass of the ladder leaves its status.
TEST_F(Ladder, SwitchLoopThatGivesUpLeavesItsStatus) {
  script = {{QXERR_NUMERIC_INSTABILITY, 1, 5, 0, QX_STATUS_LOADED}};
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 0, &status), QXERR_NUMERIC_INSTABILITY);
  EXPECT_EQ(status, QX_STATUS_LOADED);
}

// The explicit dual's run gives no basis of the dual's size: the primal is
// then solved from a cold start, not from the basis the host loaded.
TEST_F(Ladder, ExplicitDualWithoutBasisSolvesThePrimalCold) {
  script = {{0, 2, 1, 0}};
  const int cs[] = {0, QX_BASTYPE_ATLO}, rs[] = {QX_BASTYPE_ATUP};
  ASSERT_EQ(QXloadBasis(model, cs, rs), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_PROB_TO_SOLVE, 2), 0);
  EXPECT_EQ(QXoptimize(model, 0, nullptr), 0);
  EXPECT_EQ(seen.back().start, torva::simplex::StartBasis::Crash);
  EXPECT_TRUE(log.has("\nWarning: warm start is not available for primal problem."));
}

TEST_F(Ladder, UnexpectedOutcomeIsAnInternalError) {
  for (int err : {0, QXERR_NUMERIC_INSTABILITY}) {
    script = {{err, 7, 1, 0}};
    int status = 0;
    EXPECT_EQ(QXoptimize(model, 0, &status), QXERR_INTERNAL_ERROR);
    EXPECT_EQ(status, QX_STATUS_UNKNOWN);
    EXPECT_TRUE(log.has("\nWarning: Unexpected LP status 7 in "));
  }
}

// A loaded basis with two equal columns basic is singular; the solve still
// ends optimal.
TEST_F(Solve, SingularLoadedBasis) {
  const double c[] = {1, 1, 1}, b[] = {2, 3}, lo[] = {0, 0, 0}, up[] = {10, 10, 10};
  const int beg[] = {0, 2, 4, 6}, rows[] = {0, 1, 0, 1, 0, 1};
  const double v[] = {1, 1, 1, 1, 1, 2};
  ASSERT_EQ(QXloadLPData(model, 2, 3, QX_MIN, 0, c, b, "GG", 6, beg, nullptr, v, rows, lo, up), 0);
  const int cs[] = {0, 1, QX_BASTYPE_ATLO}, rs[] = {QX_BASTYPE_ATLO, QX_BASTYPE_ATLO};
  ASSERT_EQ(QXloadBasis(model, cs, rs), 0);
  captureLog();
  rememberParams();
  int status = 0;
  EXPECT_EQ(QXoptimize(model, 1, &status), 0);
  EXPECT_EQ(status, QX_STATUS_BASIC_OPTIMAL);
  EXPECT_NEAR(dinfo(QX_DINFO_POBJ), 2.0, 1e-9);
  expectParamsRestored();
}

// The resident factorisation: FTRAN of a basic column a_j is a unit vector
// e_k, and BTRAN of e_k has inner product 1 with a_j; after a solve with the
// objective carried as a row (polished) as well.
TEST_F(Solve, FtranAndBtranOfBasicColumns) {
  NEED_NETLIB("afiro");
  for (const int objRow : {0, 1048576}) {
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_OPRFREE, 33 | objRow), 0);
    ASSERT_EQ(QXoptimize(model, 0, nullptr), 0);
    int m = 0, n = 0;
    QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
    QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
    std::vector<int> cs(n), rs(m), xi(m);
    std::vector<double> xv(m);
    ASSERT_EQ(QXgetBasis(model, cs.data(), rs.data()), 0);
    int checked = 0;
    for (int j = 0; j < n; ++j) {
      if (cs[j] < 0) continue;
      int nnz = 0;
      char type;
      double cost, lo, up;
      QXgetLPVariableDataj(model, j, &type, &cost, &lo, &up, &nnz, nullptr, nullptr);
      std::vector<int> ri(nnz);
      std::vector<double> rv(nnz);
      QXgetLPVariableDataj(model, j, &type, &cost, &lo, &up, &nnz, ri.data(), rv.data());
      int xn = 0, ones = 0, k = -1;
      ASSERT_EQ(QXdoFTRAN(model, &nnz, ri.data(), rv.data(), &xn, xi.data(), xv.data()), 0);
      double rest = 0;
      for (int t = 0; t < xn; ++t) {
        if (std::fabs(xv[t] - 1.0) < 1e-9) ++ones, k = xi[t];
        else rest = std::max(rest, std::fabs(xv[t]));
      }
      EXPECT_EQ(ones, 1) << j;
      EXPECT_LT(rest, 1e-9) << j;
      int one = 1;
      double e = 1.0, dot = 0.0;
      ASSERT_EQ(QXdoBTRAN(model, &one, &k, &e, &xn, xi.data(), xv.data()), 0);
      for (int t = 0; t < xn; ++t)
        for (int p = 0; p < nnz; ++p)
          if (ri[p] == xi[t]) dot += xv[t] * rv[p];
      EXPECT_NEAR(dot, 1.0, 1e-9) << j;
      ++checked;
    }
    EXPECT_GT(checked, 0) << objRow;
  }
  int one = 1, bad = 27, xn = 0;  // afiro has 27 rows
  std::vector<int> xi(27);
  std::vector<double> xv(27);
  double val = 1;
  EXPECT_EQ(QXdoBTRAN(model, &one, &bad, &val, &xn, xi.data(), xv.data()), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXdoFTRAN(nullptr, &one, &bad, &val, &xn, xi.data(), xv.data()), QXERR_ILLEGAL_NULL_POINTER);
}

}  // namespace
