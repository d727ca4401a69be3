// The concurrent integer solver through the C interface: MIPLIB models
// against their reference objectives with several threads, the shared best
// record as the log shows it, the host's per-thread strategies, the serial
// fallback, a stop asked by the host and the error paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "torva.h"

namespace {

constexpr double kObjTol = 1e-6;  // agreement with a reference objective (relative)

std::string dataDir() {
  if (const char* env = std::getenv("TORVA_SHARED_DATA"); env && *env) return std::string(env) + "/miplib3";
  return std::string(TORVA_SHARED_DATA) + "/miplib3";
}

double referenceObjective(const std::string& model) {
  std::ifstream in(dataDir() + "/objectives.tsv");
  std::string line, name;
  while (std::getline(in, line)) {
    std::istringstream ss(line);
    double rows, cols, ints, best;
    if (line[0] != '#' && ss >> name >> rows >> cols >> ints >> best && name == model) return best;
  }
  return NAN;
}

void collect(QXmodel, const char* text, void* data) { *static_cast<std::string*>(data) += text; }

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

struct Host {
  QXenv env = nullptr;
  QXmodel model = nullptr;
  std::string log;
  Host() {
    int rc = 0;
    env = QXcreateEnv(&rc);
    model = QXcreateModel(env, &rc);
    QXsetModelLogfunc(model, collect, &log);
    QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 1);
  }
  ~Host() {
    QXdeleteModel(&model);
    QXdeleteEnv(&env);
  }
  // A binary knapsack; its optimum is found by enumeration.
  double loadKnapsack() {
    const std::vector<double> value{5, 4, 3, 7, 6, 8}, weight{2, 3, 1, 4, 5, 6}, lo(6, 0.0), up(6, 1.0);
    const double cap = 12;
    std::vector<int> beg{0, 1, 2, 3, 4, 5, 6}, idx(6, 0);
    EXPECT_EQ(QXloadLPData(model, 1, 6, QX_MAX, 0.0, value.data(), &cap, "L", 6, beg.data(), nullptr,
                           weight.data(), idx.data(), lo.data(), up.data()), 0);
    EXPECT_EQ(QXloadVarType(model, "BBBBBB"), 0);
    double best = 0;
    for (int mask = 0; mask < 64; ++mask) {
      double v = 0, w = 0;
      for (int j = 0; j < 6; ++j)
        if (mask >> j & 1) v += value[j], w += weight[j];
      if (w <= cap) best = std::max(best, v);
    }
    return best;
  }
};

// ------------------------------------------------------------ MIPLIB models

struct MiplibCase {
  const char* model;
  int threads;
  bool viaModelWideCount;  // QX_IPARAM_NUM_THREADS instead of QX_IPARAM_MIP_NUM_THREADS
};
[[maybe_unused]] void PrintTo(const MiplibCase& c, std::ostream* os) { *os << c.model << " x" << c.threads; }

class ConcurrentMiplib : public ::testing::TestWithParam<MiplibCase> {};

TEST_P(ConcurrentMiplib, ReachesReferenceObjective) {
  const MiplibCase& tc = GetParam();
  const std::string path = dataDir() + "/" + tc.model + ".mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "model data not found: " << path;
  const double ref = referenceObjective(tc.model);
  if (std::isnan(ref)) GTEST_SKIP() << "no reference objective for " << tc.model;
  Host h;
  ASSERT_EQ(QXreadMPSFile(h.model, path.c_str(), 1), 0);
  QXsetModelIntParameter(h.model, QX_IPARAM_MULTITHREAD_MODE, 3);
  QXsetModelIntParameter(h.model, tc.viaModelWideCount ? QX_IPARAM_NUM_THREADS : QX_IPARAM_MIP_NUM_THREADS,
                         tc.threads);
  QXsetModelIntParameter(h.model, QX_IPARAM_IPM_NUM_THREADS, 2);
  QXsetModelDouParameter(h.model, QX_DPARAM_MIP_TIMLIM, 120);
  int status = 0;
  ASSERT_EQ(QXsolveMIP(h.model, &status), 0) << h.log;
  ASSERT_EQ(status, QX_STATUS_OPTIMAL);
  double obj = 0;
  int threads = 0, mipThreads = 0, ipmThreads = 0;
  ASSERT_EQ(QXgetInfo(h.model, QX_DINFO_MIP_OBJ, &obj), 0);
  EXPECT_NEAR(obj, ref, kObjTol * std::max(1.0, std::fabs(ref)));
  ASSERT_EQ(QXgetInfo(h.model, QX_IINFO_MIP_THREADS, &threads), 0);
  EXPECT_EQ(threads, tc.threads);
  // The thread counts the run changed read as the host set them.
  QXgetModelIntParameter(h.model, QX_IPARAM_MIP_NUM_THREADS, &mipThreads);
  QXgetModelIntParameter(h.model, QX_IPARAM_IPM_NUM_THREADS, &ipmThreads);
  EXPECT_EQ(mipThreads, tc.viaModelWideCount ? 1 : tc.threads);
  EXPECT_EQ(ipmThreads, 2);
  EXPECT_EQ(count(h.log, "\nConcurrent run started..\n"), 1);
  EXPECT_EQ(count(h.log, "\nThread-id:"), tc.threads);
  EXPECT_EQ(count(h.log, "\n\nConcurrent run terminated..\n"), 1);
  EXPECT_EQ(count(h.log, "\nConcurrent MIP workload: "), 1);
  // Every solution stored in the shared record beats the one before (all
  // three models minimise), and the last one is the optimum.
  std::vector<double> stored;
  const std::string tag = "Set new solution by thread #";
  for (std::size_t at = h.log.find(tag); at != std::string::npos; at = h.log.find(tag, at + 1))
    stored.push_back(std::atof(h.log.c_str() + h.log.find("objval:", at) + 7));
  ASSERT_FALSE(stored.empty()) << h.log;
  for (std::size_t k = 1; k < stored.size(); ++k) EXPECT_LT(stored[k], stored[k - 1]);
  EXPECT_NEAR(stored.back(), ref, 1e-4 * std::max(1.0, std::fabs(ref)));
}

INSTANTIATE_TEST_SUITE_P(Models, ConcurrentMiplib,
                         ::testing::Values(MiplibCase{"p0033", 2, false}, MiplibCase{"lseu", 2, false},
                                           MiplibCase{"flugpl", 3, true}));

// ------------------------------------------------------ strategies and paths

TEST(Concurrent, StrategyValues) {
  struct Case {
    int strategy, expected;
    bool warns;
  };
  for (const Case c : {Case{-1, 0, false}, Case{0, 0, true}, Case{1, 0, false}, Case{2, QXERR_NOT_SUPPORTED, false},
                       Case{3, QXERR_NOT_SUPPORTED, false}}) {
    Host h;
    const double best = h.loadKnapsack();
    QXsetModelIntParameter(h.model, QX_IPARAM_MIP_NUM_THREADS, 2);
    QXsetModelIntParameter(h.model, QX_IPARAM_MIP_CONCURRENT_STRATEGY, c.strategy);
    int status = 0;
    EXPECT_EQ(QXsolveMIPCC(h.model, &status), c.expected) << "strategy " << c.strategy;
    EXPECT_EQ(count(h.log, "\nWarning: Concurrent strategy-callbacks are not set."), c.warns ? 1 : 0);
    if (c.expected != 0) continue;
    EXPECT_EQ(status, QX_STATUS_OPTIMAL);
    double obj = 0;
    ASSERT_EQ(QXgetInfo(h.model, QX_DINFO_MIP_OBJ, &obj), 0);
    EXPECT_DOUBLE_EQ(obj, best) << "strategy " << c.strategy;
  }
}

TEST(Concurrent, OneThreadRunsTheSerialSearch) {
  Host h;
  const double best = h.loadKnapsack();
  int status = 0;
  ASSERT_EQ(QXsolveMIPCC(h.model, &status), 0);
  EXPECT_EQ(status, QX_STATUS_OPTIMAL);
  double obj = 0;
  ASSERT_EQ(QXgetInfo(h.model, QX_DINFO_MIP_OBJ, &obj), 0);
  EXPECT_DOUBLE_EQ(obj, best);
  EXPECT_EQ(count(h.log, "\nConcurrent threads is 1, switching to serial MIP solver."), 1);
  EXPECT_EQ(count(h.log, "Concurrent run started"), 0);
}

TEST(Concurrent, NullModelAndBadThread) {
  int status = 0;
  EXPECT_EQ(QXsolveMIPCC(nullptr, &status), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetMIPCCStrategy(nullptr, nullptr, 0, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  Host h;
  EXPECT_EQ(QXsetMIPCCStrategy(h.model, nullptr, -1, "x.par", nullptr), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(QXsolveMIPCC(h.model, &status), QXERR_MODEL_NOT_LOADED);
}

struct StrategyCalls {
  QXmodel host = nullptr;
  std::map<int, int> calls;
  std::set<QXmodel> copies;
};

int recordStrategy(QXmodel model, int thread, void* data) {
  auto& s = *static_cast<StrategyCalls*>(data);
  ++s.calls[thread];
  if (thread == 0) EXPECT_EQ(model, s.host);
  else s.copies.insert(model);
  // A strategy setting on the host's model lasts only for the run.
  QXsetModelIntParameter(model, QX_IPARAM_MIP_NODESELRULE, 1 + thread);
  return 0;
}

TEST(Concurrent, HostStrategyCalledOncePerThread) {
  Host h;
  const double best = h.loadKnapsack();
  StrategyCalls calls;
  calls.host = h.model;
  const std::string missing = std::string(std::getenv("TORVA_TEST_TMP") ? std::getenv("TORVA_TEST_TMP") : ".") +
                              "/no-such-dir/thread1.par";
  ASSERT_EQ(QXsetMIPCCStrategy(h.model, recordStrategy, 0, nullptr, &calls), 0);
  ASSERT_EQ(QXsetMIPCCStrategy(h.model, recordStrategy, 1, missing.c_str(), &calls), 0);
  ASSERT_EQ(QXsetMIPCCStrategy(h.model, recordStrategy, 2, nullptr, &calls), 0);
  QXsetModelIntParameter(h.model, QX_IPARAM_MIP_NUM_THREADS, 3);
  QXsetModelIntParameter(h.model, QX_IPARAM_MIP_CONCURRENT_STRATEGY, 0);
  int status = 0;
  ASSERT_EQ(QXsolveMIPCC(h.model, &status), 0) << h.log;
  EXPECT_EQ(status, QX_STATUS_OPTIMAL);
  EXPECT_EQ(calls.calls, (std::map<int, int>{{0, 1}, {1, 1}, {2, 1}}));
  EXPECT_EQ(calls.copies.size(), 2u);
  EXPECT_EQ(calls.copies.count(h.model), 0u);
  EXPECT_EQ(count(h.log, "\nFailed to read parameter file, error: "), 1);
  EXPECT_EQ(count(h.log, "Warning: Concurrent"), 0);
  int rule = 0;
  QXgetModelIntParameter(h.model, QX_IPARAM_MIP_NODESELRULE, &rule);
  EXPECT_EQ(rule, 4);
  double obj = 0;
  ASSERT_EQ(QXgetInfo(h.model, QX_DINFO_MIP_OBJ, &obj), 0);
  EXPECT_DOUBLE_EQ(obj, best);
  // Removing a thread's strategy leaves the others.
  calls.calls.clear();
  ASSERT_EQ(QXsetMIPCCStrategy(h.model, nullptr, 1, nullptr, nullptr), 0);
  ASSERT_EQ(QXsolveMIPCC(h.model, &status), 0);
  EXPECT_EQ(calls.calls, (std::map<int, int>{{0, 1}, {2, 1}}));
}

int stopAtOnce(QXmodel, int location, void* data) {
  static_cast<std::vector<int>*>(data)->push_back(location);
  return 1;
}

TEST(Concurrent, HostStopEndsEveryThread) {
  const std::string path = dataDir() + "/lseu.mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "model data not found: " << path;
  Host h;
  ASSERT_EQ(QXreadMPSFile(h.model, path.c_str(), 1), 0);
  std::vector<int> calls;
  QXsetCallback(h.model, stopAtOnce, &calls);
  QXsetModelIntParameter(h.model, QX_IPARAM_MIP_NUM_THREADS, 2);
  int status = 0;
  EXPECT_EQ(QXsolveMIPCC(h.model, &status), QXERR_USER_INTERRUPT) << h.log;
  // The stop, then one end report of the whole run.
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls.front(), QXLOC_MIP);
  EXPECT_EQ(std::count(calls.begin(), calls.end(), QXLOC_END_REPORT), 1);
  EXPECT_EQ(calls.back(), QXLOC_END_REPORT);
  EXPECT_EQ(count(h.log, "Received ctrl-break signal, status: "), 1);
  EXPECT_EQ(count(h.log, "\nThread-id:1, status: "), 1);
  EXPECT_NE(status, QX_STATUS_OPTIMAL);
}

}  // namespace
