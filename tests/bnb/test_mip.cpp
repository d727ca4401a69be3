// The integer solver through the C interface: MIPLIB models against their
// reference objectives, small models against a brute-force enumeration, every
// node order and branching direction, limits, callbacks and error paths.
// Every returned point is checked for integrality and feasibility.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "torva.h"

namespace {

constexpr double kObjTol = 1e-6;   // agreement with a reference objective (relative)
constexpr double kIntTol = 1e-6;   // QX_DPARAM_MIP_INTTOL default
constexpr double kFeasTol = 1e-6;  // row and bound violation accepted (relative to 1 + |rhs|)

std::string dataDir() {
  if (const char* env = std::getenv("TORVA_SHARED_DATA"); env && *env) return std::string(env) + "/miplib3";
  return std::string(TORVA_SHARED_DATA) + "/miplib3";
}

std::map<std::string, double> referenceObjectives() {
  std::map<std::string, double> out;
  std::ifstream in(dataDir() + "/objectives.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ss(line);
    std::string name;
    double rows, cols, ints, best;
    if (ss >> name >> rows >> cols >> ints >> best) out[name] = best;
  }
  return out;
}

struct Env {
  QXenv env = nullptr;
  QXmodel model = nullptr;
  Env() {
    int rc = 0;
    env = QXcreateEnv(&rc);
    model = QXcreateModel(env, &rc);
  }
  // With a small model loaded and the given print level.
  explicit Env(const struct Small& s, int printLevel = 0);
  ~Env() {
    QXdeleteModel(&model);
    QXdeleteEnv(&env);
  }
};

// Checks the stored MIP point against the model: integrality, bounds, rows,
// and that its objective is the reported one.
void expectValidPoint(QXmodel model) {
  int m = 0, n = 0, nnz = 0, sense = 1;
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_CONS, &m), 0);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_VARS, &n), 0);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_NONZ, &nnz), 0);
  std::vector<double> c(n), b(m), lo(n), up(n), val(nnz), x(n);
  std::vector<int> beg(n + 1), idx(nnz);
  std::string types(m + 1, '\0'), vtypes(n + 1, '\0');
  double constant = 0.0, obj = 0.0;
  ASSERT_EQ(QXgetLPData(model, &sense, &constant, c.data(), b.data(), types.data(), beg.data(), nullptr,
                        val.data(), idx.data(), lo.data(), up.data()), 0);
  ASSERT_EQ(QXgetVarType(model, vtypes.data()), 0);
  ASSERT_EQ(QXgetMIPSolution(model, &obj, x.data()), 0);
  std::vector<double> act(m, 0.0);
  double value = constant;
  for (int j = 0; j < n; ++j) {
    value += c[j] * x[j];
    EXPECT_GE(x[j], lo[j] - kFeasTol * (1 + std::fabs(lo[j]))) << "column " << j;
    EXPECT_LE(x[j], up[j] + kFeasTol * (1 + std::fabs(up[j]))) << "column " << j;
    if (vtypes[j] == 'B' || vtypes[j] == 'I') {
      EXPECT_NEAR(x[j], std::round(x[j]), kIntTol) << "column " << j;
    }
    for (int k = beg[j]; k < beg[j + 1]; ++k) act[idx[k]] += val[k] * x[j];
  }
  for (int i = 0; i < m; ++i) {
    const double t = kFeasTol * (1 + std::fabs(b[i]));
    if (types[i] == 'L' || types[i] == 'E') {
      EXPECT_LE(act[i], b[i] + t) << "row " << i;
    }
    if (types[i] == 'G' || types[i] == 'E') {
      EXPECT_GE(act[i], b[i] - t) << "row " << i;
    }
  }
  EXPECT_NEAR(value, obj, kObjTol * (1 + std::fabs(obj)));
}

// ----------------------------------------------------------- MIPLIB models

struct MiplibCase {
  const char* model;
  int nodeRule;  // QX_IPARAM_MIP_NODESELRULE
};
[[maybe_unused]] void PrintTo(const MiplibCase& c, std::ostream* os) { *os << c.model << " rule " << c.nodeRule; }

class Miplib : public ::testing::TestWithParam<MiplibCase> {};

#if defined(__SANITIZE_ADDRESS__)
// Instrumented builds run ten to twenty times slower: the larger searches
// would hit the time limit, so only the smallest models run there.
constexpr bool kSmallModelsOnly = true;
#else
constexpr bool kSmallModelsOnly = false;
#endif

TEST_P(Miplib, ReachesReferenceObjective) {
  const MiplibCase& tc = GetParam();
  if (kSmallModelsOnly && std::string(tc.model) != "p0033" && std::string(tc.model) != "flugpl")
    GTEST_SKIP() << tc.model << " is left to the uninstrumented build";
  const std::string path = dataDir() + "/" + tc.model + ".mps.gz";
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "model data not found: " << path;
  const auto refs = referenceObjectives();
  ASSERT_TRUE(refs.count(tc.model)) << "no reference objective for " << tc.model;
  Env e;
  ASSERT_EQ(QXreadMPSFile(e.model, path.c_str(), 1), 0);
  QXsetModelIntParameter(e.model, QX_IPARAM_MIP_PRINTLEVEL, 0);
  QXsetModelIntParameter(e.model, QX_IPARAM_MIP_NODESELRULE, tc.nodeRule);
  QXsetModelDouParameter(e.model, QX_DPARAM_MIP_TIMLIM, 60);
  int status = 0;
  ASSERT_EQ(QXsolveMIP(e.model, &status), 0);
  ASSERT_EQ(status, QX_STATUS_OPTIMAL);
  double obj = 0, bound = 0;
  ASSERT_EQ(QXgetInfo(e.model, QX_DINFO_MIP_OBJ, &obj), 0);
  ASSERT_EQ(QXgetInfo(e.model, QX_DINFO_MIP_BESTBOUND, &bound), 0);
  const double ref = refs.at(tc.model);
  EXPECT_NEAR(obj, ref, kObjTol * std::max(1.0, std::fabs(ref)));
  EXPECT_NEAR(bound, obj, kObjTol * std::max(1.0, std::fabs(ref)));
  expectValidPoint(e.model);
}

INSTANTIATE_TEST_SUITE_P(Models, Miplib,
                         ::testing::Values(MiplibCase{"p0033", 4}, MiplibCase{"lseu", 4}, MiplibCase{"mod008", 4},
                                           MiplibCase{"p0201", 4}, MiplibCase{"stein27", 4},
                                           MiplibCase{"p0548", 4}, MiplibCase{"p2756", 4},
                                           MiplibCase{"flugpl", 4}, MiplibCase{"p0033", 0}, MiplibCase{"p0033", 1},
                                           MiplibCase{"p0033", 2}, MiplibCase{"p0033", 3}, MiplibCase{"p0033", 5},
                                           MiplibCase{"p0033", 6}, MiplibCase{"p0033", 7}));

// ------------------------------------------------------ small own models

// A dense model: rows of coefficients, row types and rhs, costs, bounds and
// column types.
struct Small {
  const char* name;
  int sense;
  std::vector<std::vector<double>> a;
  std::string rowTypes;
  std::vector<double> rhs, cost, lo, up;
  std::string colTypes;
};
[[maybe_unused]] void PrintTo(const Small& s, std::ostream* os) { *os << s.name; }

void load(QXmodel model, const Small& s) {
  const int m = static_cast<int>(s.a.size()), n = static_cast<int>(s.cost.size());
  std::vector<int> beg{0}, idx;
  std::vector<double> val;
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < m; ++i)
      if (s.a[i][j] != 0) idx.push_back(i), val.push_back(s.a[i][j]);
    beg.push_back(static_cast<int>(idx.size()));
  }
  ASSERT_EQ(QXloadLPData(model, m, n, s.sense, 0.0, s.cost.data(), s.rhs.data(), s.rowTypes.c_str(),
                         static_cast<int>(val.size()), beg.data(), nullptr, val.data(), idx.data(), s.lo.data(),
                         s.up.data()), 0);
  ASSERT_EQ(QXloadVarType(model, s.colTypes.c_str()), 0);
}

Env::Env(const Small& s, int printLevel) : Env() {
  load(model, s);
  QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, printLevel);
}

// Brute force over every integer point of the box (all columns integer):
// the optimum in the model's sense, or NaN when no point is feasible;
// values, when given, receives the objective of every feasible point.
double enumerate(const Small& s, std::vector<double>* values = nullptr) {
  const int n = static_cast<int>(s.cost.size());
  std::vector<double> x(s.lo);
  double best = NAN;
  for (;;) {
    bool ok = true;
    for (std::size_t i = 0; i < s.a.size() && ok; ++i) {
      double act = 0;
      for (int j = 0; j < n; ++j) act += s.a[i][j] * x[j];
      const char t = s.rowTypes[i];
      ok = (t != 'L' || act <= s.rhs[i] + 1e-9) && (t != 'G' || act >= s.rhs[i] - 1e-9) &&
           (t != 'E' || std::fabs(act - s.rhs[i]) <= 1e-9);
    }
    if (ok) {
      double v = 0;
      for (int j = 0; j < n; ++j) v += s.cost[j] * x[j];
      if (values) values->push_back(v);
      if (std::isnan(best) || s.sense * v < s.sense * best) best = v;
    }
    int j = 0;
    while (j < n && ++x[j] > s.up[j]) x[j] = s.lo[j], ++j;
    if (j == n) return best;
  }
}

const std::vector<Small>& smallModels() {
  static const std::vector<Small> models = {
      {"knapsack", QX_MAX, {{2, 3, 1, 4, 5, 3}}, "L", {9}, {5, 4, 3, 7, 8, 4}, {0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1},
       "BBBBBB"},
      {"set_cover", QX_MIN,
       {{1, 1, 0, 0, 0, 1, 0}, {0, 1, 1, 0, 0, 0, 1}, {1, 0, 1, 1, 0, 0, 0}, {0, 0, 0, 1, 1, 1, 0}, {0, 1, 0, 0, 1, 0, 1}},
       "GGGGG", {1, 1, 1, 1, 1}, {3, 2, 4, 3, 2, 1, 3}, {0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1}, "BBBBBBB"},
      {"negative_bounds", QX_MIN, {{3, 2, -1}, {1, -4, 2}, {2, 1, 1}}, "LGE", {7.5, -9.5, 1}, {-2, -3, 1},
       {-6, -5, -7}, {4, 6, 3}, "III"},
      {"equalities", QX_MAX, {{2, 3, 5, 7}, {1, 1, 1, 1}}, "EE", {31, 7}, {3, 5, 6, 9}, {0, 0, 0, 0},
       {10, 10, 10, 10}, "IIII"},
      {"integer_infeasible", QX_MIN, {{2, 2}}, "E", {1}, {1, 1}, {-5, -5}, {5, 5}, "II"},
      // Two knapsacks sharing no row: the tree splits into two parts.
      {"two_knapsacks", QX_MAX, {{2, 3, 1, 4, 5, 3, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 5, 7, 4, 9, 6, 8}}, "LL",
       {9, 17}, {5, 4, 3, 7, 8, 4, 8, 11, 6, 14, 9, 12}, std::vector<double>(12, 0), std::vector<double>(12, 1),
       "BBBBBBBBBBBB"},
  };
  return models;
}

class SmallModel : public ::testing::TestWithParam<Small> {};

TEST_P(SmallModel, MatchesEnumeration) {
  const Small& s = GetParam();
  const double expected = enumerate(s);
  constexpr int kRules[] = {4, 1, 2, 5, 7};  // every heap order
  for (int run = 0; run < 15; ++run) {
    const int dir = run % 3, rule = kRules[run / 3];
    SCOPED_TRACE("node rule " + std::to_string(rule));
    Env e(s);
    QXsetModelIntParameter(e.model, QX_IPARAM_MIP_BRANCHDIR, dir);
    QXsetModelIntParameter(e.model, QX_IPARAM_MIP_NODESELRULE, rule);
    int status = 0;
    ASSERT_EQ(QXsolveMIP(e.model, &status), 0) << "direction " << dir;
    if (std::isnan(expected)) {
      EXPECT_EQ(status, QX_STATUS_INFEASIBLE);
      EXPECT_NE(QXgetMIPPrimalSolution(e.model, nullptr), 0);
      continue;
    }
    ASSERT_EQ(status, QX_STATUS_OPTIMAL) << "direction " << dir;
    double obj = 0;
    ASSERT_EQ(QXgetInfo(e.model, QX_DINFO_MIP_OBJ, &obj), 0);
    EXPECT_NEAR(obj, expected, 1e-7 * (1 + std::fabs(expected))) << "direction " << dir;
    expectValidPoint(e.model);
  }
}

INSTANTIATE_TEST_SUITE_P(Own, SmallModel, ::testing::ValuesIn(smallModels()),
                         [](const auto& info) { return std::string(info.param.name); });

// Outcomes worked out by hand: edge cases of the search, then
// semi-continuous variables and sets, each moving the optimum away from the
// one without the structure.
TEST(MipStatus, HandWorkedOutcomes) {
  struct Case {
    Small lp;
    int branchLimit;
    int status;
    double objective;
    std::vector<int> scVars = {};
    std::vector<double> scLower = {}, scUpper = {};
    char setType = 0;  // 0 none
    int card = 0;
  };
  const Case cases[] = {
      // A large value halfway between integers is fractional: x = 100000.5
      // must be branched on (optimum x = 100001, y = 0).
      {{"large-half", QX_MIN, {{1, 1}}, "G", {100000.5}, {1, 10}, {0, 0}, {1e30, 1e30}, "IC"}, -1, QX_STATUS_OPTIMAL,
       100001.0},
      // Without integers the root settles the run, branch limit 0 or not.
      {{"no-integers", QX_MIN, {{1, 1}}, "G", {2.5}, {1, 2}, {0, 0}, {10, 10}, "CC"}, 0, QX_STATUS_OPTIMAL, 2.5},
      // The relaxation decides: x - y <= 0.5 lets -x - y fall without end;
      // x + y >= 3 and x + y <= 1 exclude every point.
      {{"unbounded", QX_MIN, {{1, -1}}, "L", {0.5}, {-1, -1}, {0, 0}, {1e30, 1e30}, "II"}, -1, QX_STATUS_UNBOUNDED, 0},
      {{"infeasible", QX_MIN, {{1, 1}, {1, 1}}, "GL", {3, 1}, {1, 1}, {0, 0}, {1, 1}, "BB"}, -1, QX_STATUS_INFEASIBLE,
       0},
      {{"semicontinuous", QX_MIN, {{1, 1}}, "G", {1}, {3, 1}, {0, 0}, {10, 4}, "CC"}, -1, QX_STATUS_OPTIMAL, 2.0, {1},
       {2}, {4}},
      {{"sos1", QX_MAX, {{1, 1, 1}}, "L", {2}, {1, 2, 3}, {0, 0, 0}, {1, 1, 1}, "CCC"}, -1, QX_STATUS_OPTIMAL, 3.0, {},
       {}, {}, '1'},
      {{"sos2", QX_MAX, {{1, 1, 1, 1}}, "L", {2}, {3, 1, 1, 3}, {0, 0, 0, 0}, {1, 1, 1, 1}, "CCCC"}, -1,
       QX_STATUS_OPTIMAL, 4.0, {}, {}, {}, '2'},
      {{"cardinality", QX_MAX, {{1, 1, 1, 1}}, "L", {3}, {3, 1, 1, 3}, {0, 0, 0, 0}, {1, 1, 1, 1}, "CCCC"}, -1,
       QX_STATUS_OPTIMAL, 6.0, {}, {}, {}, '4', 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lp.name);
    Env e(c.lp);
    QXsetModelIntParameter(e.model, QX_IPARAM_MIP_BRANCH_LIMIT, c.branchLimit);
    if (!c.scVars.empty()) {
      ASSERT_EQ(QXloadSemiContData(e.model, static_cast<int>(c.scVars.size()), c.scVars.data(), c.scLower.data(),
                                   c.scUpper.data()), 0);
    }
    const int n = static_cast<int>(c.lp.cost.size());
    if (c.setType) {
      std::vector<int> beg{0, n}, cols;
      for (int j = 0; j < n; ++j) cols.push_back(j);
      const char type[2] = {c.setType, 0};
      ASSERT_EQ(QXloadSETSData(e.model, 1, type, &c.card, beg.data(), cols.data()), 0);
    }
    int status = 0;
    ASSERT_EQ(QXsolveMIP(e.model, &status), 0);
    EXPECT_EQ(status, c.status);
    if (c.status != QX_STATUS_OPTIMAL) continue;
    double obj = 0;
    std::vector<double> x(static_cast<std::size_t>(n));
    ASSERT_EQ(QXgetMIPSolution(e.model, &obj, x.data()), 0);
    EXPECT_NEAR(obj, c.objective, 1e-6);
    for (std::size_t k = 0; k < c.scVars.size(); ++k) {
      const double v = x[c.scVars[k]];
      EXPECT_TRUE(std::fabs(v) <= 1e-6 || (v >= c.scLower[k] - 1e-6 && v <= c.scUpper[k] + 1e-6)) << v;
    }
    int nonzero = 0, first = -1, last = -1;
    for (std::size_t j = 0; j < x.size(); ++j)
      if (std::fabs(x[j]) > 1e-6) ++nonzero, last = static_cast<int>(j), first = first < 0 ? last : first;
    if (c.setType == '1') {
      EXPECT_LE(nonzero, 1);
    } else if (c.setType == '2') {
      EXPECT_TRUE(nonzero <= 1 || (nonzero == 2 && last == first + 1));
    } else if (c.setType == '4') {
      EXPECT_LE(nonzero, c.card);
    }
  }
}

// ------------------------------------------------------- limits and stops

// Without cuts lseu needs thousands of branches (its first incumbents come
// after a few hundred): the limits stop it early.
class LimitedLseu : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dataDir() + "/lseu.mps.gz";
    if (!std::filesystem::exists(path_)) GTEST_SKIP() << "model data not found: " << path_;
    ASSERT_EQ(QXreadMPSFile(e_.model, path_.c_str(), 1), 0);
    QXsetModelIntParameter(e_.model, QX_IPARAM_MIP_PRINTLEVEL, 0);
    QXsetModelIntParameter(e_.model, QX_IPARAM_MIP_CUTLEVEL_TOP, 0);
  }
  // A stopped run with an incumbent reports status 5, a valid point and a
  // bound on the right side of it (the optimum lies between the two).
  void expectStoppedFeasible(int status) {
    ASSERT_EQ(status, QX_STATUS_FEASIBLE);
    double obj = 0, bound = 0;
    ASSERT_EQ(QXgetInfo(e_.model, QX_DINFO_MIP_OBJ, &obj), 0);
    ASSERT_EQ(QXgetInfo(e_.model, QX_DINFO_MIP_BESTBOUND, &bound), 0);
    EXPECT_GE(obj, 1120 - 1e-6);  // the optimum of lseu (minimisation)
    EXPECT_LE(bound, 1120 + 1e-6);
    expectValidPoint(e_.model);
  }
  std::string path_;
  Env e_;
};

void appendLog(QXmodel, const char* text, void* log) { static_cast<std::string*>(log)->append(text); }
int countProgress(QXmodel, int, void* data) {
  ++*static_cast<int*>(data);
  return 0;
}

// With a callback frequency of 0 the host hears of every node, not only of
// the once-a-second log rows.
TEST_F(LimitedLseu, BranchLimitKeepsIncumbent) {
  QXsetModelIntParameter(e_.model, QX_IPARAM_MIP_BRANCH_LIMIT, 1000);
  QXsetModelDouParameter(e_.model, QX_DPARAM_CALLBACKFREQ, 0.0);
  int calls = 0;
  ASSERT_EQ(QXsetCallback(e_.model, countProgress, &calls), 0);
  std::string log;  // the pool of fixing cells grows on the way
  QXsetModelLogfunc(e_.model, appendLog, &log);
  QXsetModelIntParameter(e_.model, QX_IPARAM_MIP_PRINTLEVEL, 2);
  int status = 0;
  EXPECT_EQ(QXsolveMIP(e_.model, &status), QXERR_BRANCH_LIMIT);
  expectStoppedFeasible(status);
  EXPECT_GE(calls, 1000);  // one at least for each branch
  EXPECT_NE(log.find("\nIncrease bin node pool size from =1024 to 2048 \n\n"), std::string::npos);
}

// The best bounds stay inside the box and hold the optimum. A start point
// (full, or the integers only) becomes the incumbent before the first branch:
// with a branch limit of 0 the run keeps it; without one the limit stops the
// run after the root, whose bound stands.
TEST_F(LimitedLseu, BestBoundsAndBranchLimitZero) {
  int n = 0;
  QXgetInfo(e_.model, QX_IINFO_NUM_VARS, &n);
  std::vector<double> lo(n), up(n);
  ASSERT_EQ(QXgetBestBounds(e_.model, lo.data(), up.data()), 0);
  for (int j = 0; j < n; ++j) {
    EXPECT_GE(lo[j], 0.0);
    EXPECT_LE(up[j], 1.0);
    EXPECT_LE(lo[j], up[j]);
  }
  int status = 0;
  ASSERT_EQ(QXsolveMIP(e_.model, &status), 0);
  std::vector<double> x(n);
  ASSERT_EQ(QXgetMIPPrimalSolution(e_.model, x.data()), 0);
  std::vector<int> vars(n), values(n);
  for (int j = 0; j < n; ++j) {
    EXPECT_TRUE(x[j] >= lo[j] - kIntTol && x[j] <= up[j] + kIntTol) << j;
    vars[j] = j, values[j] = static_cast<int>(std::lround(x[j]));
  }
  for (int start : {0, 1, 2}) {  // none, full, integers only
    Env other;
    ASSERT_EQ(QXreadMPSFile(other.model, path_.c_str(), 1), 0);
    QXsetModelIntParameter(other.model, QX_IPARAM_MIP_PRINTLEVEL, 0);
    QXsetModelIntParameter(other.model, QX_IPARAM_MIP_BRANCH_LIMIT, 0);
    if (start == 1) {
      ASSERT_EQ(QXloadMIPVarStartPoint(other.model, x.data()), 0);
    } else if (start == 2) {
      ASSERT_EQ(QXloadMIPVarStartPointPartial(other.model, n, vars.data(), values.data()), 0);
    }
    EXPECT_EQ(QXsolveMIP(other.model, &status), QXERR_BRANCH_LIMIT) << start;
    int branches = -1;
    double obj = 0, bound = -1e30;
    ASSERT_EQ(QXgetInfo(other.model, QX_IINFO_MIP_BRANCHCOUNT, &branches), 0);
    ASSERT_EQ(QXgetInfo(other.model, QX_DINFO_MIP_BESTBOUND, &bound), 0);
    EXPECT_EQ(branches, 0) << start;
    EXPECT_GT(bound, 800.0) << start;  // the relaxation of lseu is about 834.68
    EXPECT_LE(bound, 1120 + 1e-6) << start;
    if (start == 0) continue;
    EXPECT_EQ(status, QX_STATUS_FEASIBLE) << start;
    ASSERT_EQ(QXgetInfo(other.model, QX_DINFO_MIP_OBJ, &obj), 0);
    EXPECT_NEAR(obj, 1120, 1e-6) << start;
  }
}

TEST_F(LimitedLseu, IterationLimitKeepsIncumbent) {
  QXsetModelDouParameter(e_.model, QX_DPARAM_MIP_ITRLIM, 5000);
  int status = 0;
  EXPECT_EQ(QXsolveMIP(e_.model, &status), QXERR_ITER_LIMIT);
  int iterations = 0;
  ASSERT_EQ(QXgetInfo(e_.model, QX_IINFO_MIP_SIM_ITER, &iterations), 0);
  EXPECT_GE(iterations, 5000);
  expectStoppedFeasible(status);
}

// Stops at the first incumbent after reading every item the integer
// callback answers; counts the items it refused.
int stopAtFirst(QXmodel model, void* data, double, const double*) {
  auto* seen = static_cast<int*>(data);
  ++seen[0];
  const int items[] = {QX_DINFO_PINFEAS, QX_IINFO_MIP_STATUS, QX_DINFO_MIP_OBJ, QX_DINFO_MIP_BESTBOUND,
                       QX_IINFO_MIP_SIM_ITER, QX_IINFO_MIP_BAR_ITER, QX_IINFO_MIP_NLP_ITER,
                       QX_IINFO_MIP_BRANCHCOUNT, QX_IINFO_MIP_NEWIPSOL, QX_IINFO_MIP_LPCOUNT,
                       QX_IINFO_MIP_ACTIVENODES, QX_IINFO_MIP_LTYPE, QX_IINFO_MIP_AOPTTIMETOSTOP,
                       QX_IINFO_MIP_NUM_TOTAL_CUTS, QX_IINFO_MIP_SOLSTATUS_LAST_BRANCH,
                       QX_DINFO_MIP_SOLOBJVAL_LAST_BRANCH};
  double value[2] = {};  // room for a double or an int
  for (int item : items)
    if (QXgetMIPCallbackInfo(model, item, value) != 0) ++seen[1];
  return 1;
}

TEST_F(LimitedLseu, MipCallbackStops) {
  int seen[2] = {0, 0};  // calls, refused items
  ASSERT_EQ(QXsetMIPCallback(e_.model, stopAtFirst, seen), 0);
  int status = 0;
  EXPECT_EQ(QXsolveMIP(e_.model, &status), QXERR_USER_INTERRUPT);
  EXPECT_EQ(seen[0], 1);
  EXPECT_EQ(seen[1], 0);
  expectStoppedFeasible(status);
}

// The functions on a result: the rounded point, the duals with the integers
// fixed (reduced costs of the continuous column consistent with its duals),
// and the solve that writes the solution report.
TEST(MipResults, RoundDualAndReport) {
  // max 2x + 3y + z, x + y + z <= 3.5, x - y >= -1.5, x, y integer in [0, 3],
  // z continuous in [0, 1]: optimum x = 1, y = 2 with z = 0.5, 8.5.
  const Small s{"mixed", QX_MAX, {{1, 1, 1}, {1, -1, 0}}, "LG", {3.5, -1.5}, {2, 3, 1}, {0, 0, 0}, {3, 3, 1}, "IIC"};
  Env e(s);
  const double point[3] = {1.4, 1.6, 0.25};
  double rounded[3], obj = 0, inf = 0;
  int status = 0;
  ASSERT_EQ(QXgetRoundMIPsolution(e.model, point, rounded, &obj, &inf, &status), 0);
  EXPECT_EQ(std::vector<double>(rounded, rounded + 3), (std::vector<double>{1, 2, 0.25}));
  EXPECT_NEAR(obj, 2 + 6 + 0.25, 1e-12);
  EXPECT_EQ(status, QX_STATUS_FEASIBLE);
  const char* tmp = std::getenv("TORVA_TEST_TMP");
  const std::filesystem::path report =
      std::filesystem::path(tmp ? tmp : ::testing::TempDir()) / "mip_report.sol";
  ASSERT_EQ(QXbnbSolve(e.model, report.c_str()), 0);
  EXPECT_GT(std::filesystem::file_size(report), 0u);
  std::filesystem::remove(report);
  double x[3], y[2], d[3];
  ASSERT_EQ(QXgetDualMIPsolution(e.model, x, y, d, nullptr, nullptr), 0);
  EXPECT_NEAR(x[2], 0.5, 1e-9);
  // z is basic between its bounds: its reduced cost is 0 = 1 - y0.
  EXPECT_NEAR(d[2], 0.0, 1e-9);
  EXPECT_NEAR(y[0], 1.0, 1e-9);
}

// The k best solutions of binary models are the k best points of the
// enumeration, each feasible (checked by the preparatory stages as a start
// point); general integers are refused.
TEST(MipResults, KBestSolutionsMatchEnumeration) {
  constexpr int kBest = 4;
  for (const Small& s : smallModels()) {
    Env e(s);
    const int n = static_cast<int>(s.cost.size());
    std::vector<double> x(kBest * n), obj(kBest);
    int found = -1;
    if (s.colTypes.find('I') != std::string::npos) {
      EXPECT_EQ(QXgetKBestMIPSols(e.model, kBest, x.data(), obj.data(), &found), QXERR_NOT_SUPPORTED) << s.name;
      continue;
    }
    std::vector<double> values;
    enumerate(s, &values);
    std::sort(values.begin(), values.end(), [&](double a, double b) { return s.sense * a < s.sense * b; });
    ASSERT_EQ(QXgetKBestMIPSols(e.model, kBest, x.data(), obj.data(), &found), 0) << s.name;
    ASSERT_EQ(found, std::min<int>(kBest, static_cast<int>(values.size()))) << s.name;
    // The next-best list grown in two steps hands out the same sequence.
    int added = 0, more = 0;
    ASSERT_EQ(QXsolveNextBestMIPsols(e.model, 1, &added), 0);
    ASSERT_EQ(QXsolveNextBestMIPsols(e.model, kBest - 1, &more), 0);
    ASSERT_EQ(added + more, found) << s.name;
    for (int k = 0; k < found; ++k) {
      double next = 0;
      ASSERT_EQ(QXgetNextBestMIPSol(e.model, &next, nullptr), 0);
      EXPECT_NEAR(next, obj[k], 1e-9 * (1 + std::fabs(next))) << s.name << " solution " << k;
    }
    EXPECT_EQ(QXgetNextBestMIPSol(e.model, nullptr, nullptr), QXERR_INFO_NOT_AVAILABLE);
    for (int k = 0; k < found; ++k) {
      EXPECT_NEAR(obj[k], values[k], 1e-7 * (1 + std::fabs(values[k]))) << s.name << " solution " << k;
      Env check(s);
      ASSERT_EQ(QXloadMIPVarStartPoint(check.model, x.data() + k * n), 0);
      int status = 0;
      ASSERT_EQ(QXPreAlgMIP(check.model, &status), 0);
      EXPECT_EQ(status, QX_STATUS_FEASIBLE) << s.name << " solution " << k;
    }
  }
}

int supplyObjective(QXmodel, void* value, double* objective, double*) {
  *objective = *static_cast<double*>(value);
  return 1;
}

// Outcomes that depend on run settings: the all-integer tolerance, a
// supplied objective better than any solution (status 5 with it), the
// workload line, a semi-continuous model with a start point and variable
// statistics, and the heuristic without objective proving infeasibility.
// Every run reports one thread with the whole load.
TEST(MipResults, RunOutcomes) {
  struct Case {
    Small lp;
    int intZeroTol, threads, printLevel, dropObj;
    bool supply;
    int status;
    double objective;
    std::vector<const char*> logged;
    double cutoff = 1e30;
  };
  const Small knapsack = smallModels()[0];  // optimum 16
  const Small sc{"sc", QX_MIN, {{1, 1}}, "G", {1}, {3, 1}, {0, 0}, {10, 1e30}, "CC"};
  const Case cases[] = {
      {{"tiny", QX_MIN, {{2000000}}, "G", {1}, {1}, {0}, {10}, "I"}, 1, 1, 0, 0, false, QX_STATUS_OPTIMAL, 1.0, {}},
      {knapsack, 0, 1, 0, 0, true, QX_STATUS_FEASIBLE, 17.0, {}},
      {knapsack, 0, 2, 1, 0, false, QX_STATUS_OPTIMAL, 16.0, {"\n\nParallel MIP workload: ", " secs |100%|"}},
      {sc, 0, 1, 3, 0, false, QX_STATUS_OPTIMAL, 2.0,
       {"(startpoint)", "\n Semicont vars             :1\n", "\n bigM vars             :1\n"}},
      // A feasible start that the cutoff rules out is still logged as feasible.
      {sc, 0, 1, 1, 0, false, QX_STATUS_INFEASIBLE, NAN, {"(startpoint)"}, 1.5},
      {smallModels()[4], 0, 1, 1, 1, false, QX_STATUS_INFEASIBLE, NAN, {"\nProblem found infeasible in without OBJ heu.\n"}},
      {smallModels()[5], 0, 1, 5, 0, false, QX_STATUS_OPTIMAL, enumerate(smallModels()[5]),
       {"\nIndependent tree is being used...\n", "\n tree=0 nnum=", "\n tree=1 nnum="}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lp.name);
    Env e(c.lp, c.printLevel);
    std::string log;
    QXsetModelLogfunc(e.model, appendLog, &log);
    QXsetModelIntParameter(e.model, QX_IPARAM_MIP_USE_INT_ZERO_TOL, c.intZeroTol);
    QXsetModelIntParameter(e.model, QX_IPARAM_MIP_NUM_THREADS, c.threads);
    QXsetModelIntParameter(e.model, QX_IPARAM_MIP_HEU_DROP_OBJ, c.dropObj);
    if (c.cutoff < 1e30) {
      QXsetModelIntParameter(e.model, QX_IPARAM_MIP_USECUTOFFOBJ, 1);
      QXsetModelDouParameter(e.model, QX_DPARAM_MIP_CUTOFFOBJ, c.cutoff);
    }
    QXsetModelDouParameter(e.model, QX_DPARAM_CALLBACKFREQ, 0.0);
    double supplied = c.objective;
    if (c.supply) QXsetMIPCallbackInsMIPObj(e.model, supplyObjective, &supplied);
    if (c.lp.name == sc.name) {
      const int var = 1;
      const double lower = 2, upper = 1e30, start[2] = {0, 2};
      ASSERT_EQ(QXloadSemiContData(e.model, 1, &var, &lower, &upper), 0);
      ASSERT_EQ(QXloadMIPVarStartPoint(e.model, start), 0);
    }
    int status = 0, threads = 0;
    ASSERT_EQ(QXsolveMIP(e.model, &status), 0);
    EXPECT_EQ(status, c.status);
    double obj = 0, bound = 0;
    ASSERT_EQ(QXgetInfo(e.model, QX_DINFO_MIP_OBJ, &obj), 0);
    ASSERT_EQ(QXgetInfo(e.model, QX_DINFO_MIP_BESTBOUND, &bound), 0);
    if (!std::isnan(c.objective)) {
      EXPECT_NEAR(obj, c.objective, 1e-9);
      EXPECT_NEAR(bound, c.objective, 1e-9);
    }
    for (const char* text : c.logged) EXPECT_NE(log.find(text), std::string::npos) << text << " in " << log;
    char load[64] = {};
    ASSERT_EQ(QXgetInfo(e.model, QX_IINFO_MIP_THREADS, &threads), 0);
    ASSERT_EQ(QXgetInfo(e.model, QX_SINFO_MIP_THREAD_LOAD, load), 0);
    EXPECT_EQ(threads, 1);
    EXPECT_STREQ(load, "|100%|");
  }
}

// Convex quadratic and conic mixed-integer models through QXoptimizeQP,
// against every integer point in 0..5 with the continuous part solved by hand
// (NaN: infeasible). Terms (a, b, q) of row r add 1/2 q x_a x_b, twice when a != b.
TEST(MipConic, QuadraticAndConeModelsMatchEnumeration) {
  struct Case {
    Small lp;
    std::vector<int> qr, q1, q2, cone, ints;  // cone: one 'Q' cone of three columns, or none
    std::vector<double> qv;
    double (*value)(const std::vector<double>&);
    const char* route;
  };
  const Case cases[] = {
      // max 5 x1 + 3 x2 + z - x1^2 - x1 x2 - x2^2 - z^2, 2 x1 + 3 x2 + z <= 7.5, x <= 4, z >= 0.
      {{"miqp max", QX_MAX, {{2, 3, 1}}, "L", {7.5}, {5, 3, 1}, {0, 0, 0}, {4, 4, 1e30}, "IIC"},
       {-1, -1, -1, -1}, {0, 0, 1, 2}, {0, 1, 1, 2}, {}, {0, 1}, {-2, -1, -2, -2}, [](const std::vector<double>& x) {
         const double z = std::min(0.5, 7.5 - 2 * x[0] - 3 * x[1]);
         return z < 0 || x[0] > 4 || x[1] > 4 ? NAN : 5 * x[0] + 3 * x[1] + z - x[0] * x[0] - x[0] * x[1] - x[1] * x[1] - z * z; }, "MIQP"},
      // min -x1 - 2 x2 with x1^2 + x2^2 <= 10.5 (a quadratic row).
      {{"miqcp", QX_MIN, {{0, 0}}, "L", {10.5}, {-1, -2}, {0, 0}, {5, 5}, "II"}, {0, 0}, {0, 1}, {0, 1}, {}, {0, 1},
       {2, 2}, [](const std::vector<double>& x) { return x[0] * x[0] + x[1] * x[1] > 10.5 ? NAN : -x[0] - 2 * x[1]; }, "MIQP"},
      // min t, t >= ||y||, y = x - (2.6, 1.3), x1 + x2 >= 5.
      {{"misocp", QX_MIN, {{0, 1, 0, -1, 0}, {0, 0, 1, 0, -1}, {0, 0, 0, 1, 1}}, "EEG", {-2.6, -1.3, 5},
        {1, 0, 0, 0, 0}, {0, -1e30, -1e30, 0, 0}, {1e30, 1e30, 1e30, 5, 5}, "CCCII"}, {}, {}, {}, {0, 1, 2}, {3, 4},
       {}, [](const std::vector<double>& x) { return x[3] + x[4] < 5 ? NAN : std::hypot(x[3] - 2.6, x[4] - 1.3); },
       "MICONIC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lp.name);
    double best = NAN;
    std::vector<double> x(c.lp.lo.size(), 0.0);
    for (int code = 0; code < 216; ++code) {
      for (std::size_t k = 0, rest = code; k < c.ints.size(); ++k, rest /= 6) x[c.ints[k]] = rest % 6;
      const double v = c.value(x);
      if (!std::isnan(v) && (std::isnan(best) || c.lp.sense * v < c.lp.sense * best)) best = v;
    }
    std::string log;
    Env e(c.lp, 3);
    QXsetModelLogfunc(e.model, appendLog, &log);
    if (!c.qv.empty()) {
      ASSERT_EQ(QXloadQCData(e.model, static_cast<int>(c.qv.size()), c.qr.data(), c.q1.data(), c.q2.data(), c.qv.data()), 0);
    }
    const int coneBeg[2] = {0, 3};
    if (!c.cone.empty()) {
      ASSERT_EQ(QXloadConeData(e.model, 1, "Q", coneBeg, c.cone.data()), 0);
    }
    int status = 0, topOpt = -1, nlpRows = -1;
    double obj = 0;
    ASSERT_EQ(QXoptimizeQP(e.model, &status), 0);
    ASSERT_EQ(status, QX_STATUS_OPTIMAL);
    for (const char* text : {c.route, "\n-------------------------END    OPTIMIZATION (FIXED INTEGERS)-----"})
      EXPECT_NE(log.find(text), std::string::npos) << text;
    QXgetModelIntParameter(e.model, QX_IPARAM_MIP_TOPOPT, &topOpt);
    QXgetInfo(e.model, QX_IINFO_MIP_NLP_CONS, &nlpRows);
    EXPECT_EQ(topOpt, 0);  // set for the solve only
    EXPECT_EQ(nlpRows, c.qr.empty() || c.qr[0] < 0 ? 0 : 1);
    ASSERT_EQ(QXgetMIPSolution(e.model, &obj, x.data()), 0);
    EXPECT_NEAR(obj, best, 1e-6 * (1 + std::fabs(best)));
    for (int j : c.ints) EXPECT_EQ(x[j], std::round(x[j]));
    EXPECT_NEAR(c.value(x), best, 1e-6 * (1 + std::fabs(best)));
  }
}

// ------------------------------------------------------------- error paths

TEST(MipErrors, NullAndUnloaded) {
  int status = -7;
  EXPECT_EQ(QXsolveMIP(nullptr, &status), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(status, -7);
  EXPECT_EQ(QXsolveMIPSerial(nullptr, &status), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetBestBounds(nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetKBestMIPSols(nullptr, 1, nullptr, nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXPreAlgMIP(nullptr, &status), QXERR_ILLEGAL_NULL_POINTER);
  Env e;
  EXPECT_EQ(QXsolveMIP(e.model, &status), QXERR_MODEL_NOT_LOADED);
  EXPECT_EQ(QXgetBestBounds(e.model, nullptr, nullptr), 0);
  EXPECT_EQ(QXPreAlgMIP(e.model, &status), QXERR_MODEL_NOT_LOADED);
  EXPECT_NE(QXgetMIPSlacks(e.model, nullptr), 0);
}

}  // namespace
