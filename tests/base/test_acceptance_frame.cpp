// Acceptance checks of the API frame written against the public C interface
// only, the way a host program sees the library: signatures, environment and
// model life cycle, error messages, parameters and their documentation
// tables, and the library information items. The lists below are samples of
// the documented values (odd spellings, boundary values, ends of the tables),
// written out independently of the library's registry; the whole tables are
// checked through invariants.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <regex>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "torva.h"
#include "base/model_fixture.hpp"

namespace {

struct NamedId {
  int macro;  // value of the header macro
  const char* name;
  int id;     // documented identifier
};
struct FullRow {
  int id;
  bool isInt;
  bool modelOnly;
  double lo, hi, def;
};
struct GaRow {
  int id;
  bool isInt;
  double lo, hi, def;
};

// ---- identifier and macro name of sampled parameters (in table order) ----
const NamedId kParamNames[] = {
    {QX_IPARAM_VER_MAJOR, "QX_IPARAM_VER_MAJOR", 990},
    {QX_IPARAM_VER_NUMBER, "QX_IPARAM_VER_NUMBER", 999},
    {QX_IPARAM_PROB_TO_SOLVE, "QX_IPARAM_PROB_TO_SOLVE", 1034},
    {QX_IPARAM_STRING_LENLMT, "QX_IPARAM_STRING_LENLMT", 1042},
    {QX_IPARAM_FIND_BLOCK, "QX_IPARAM_FIND_BLOCK", 1050},
    {QX_DPARAM_SOLVER_PERT_FEASTOL, "QX_DPARAM_SOLVER_PERT_FEASTOL", 1262},
    {QX_IPARAM_IIS_NUM_THREADS, "QX_IPARAM_IIS_NUM_THREADS", 1563},
    {QX_IPARAM_NLP_ITRLMT, "QX_IPARAM_NLP_ITRLMT", 2513},
    {QX_IPARAM_NLP_MAXSUP, "QX_IPARAM_NLP_MAXSUP", 2529},
    {QX_IPARAM_NLP_MSW_PREPMODE, "QX_IPARAM_NLP_MSW_PREPMODE", 2545},
    {QX_DPARAM_IPM_BASIS_TOL_S, "QX_DPARAM_IPM_BASIS_TOL_S", 3159},
    {QX_DPARAM_LP_MAX_PIVTOL, "QX_DPARAM_LP_MAX_PIVTOL", 4065},
    {QX_IPARAM_LP_SPRINT_SUB, "QX_IPARAM_LP_SPRINT_SUB", 4081},
    {QX_DPARAM_LU_INI_RCOND, "QX_DPARAM_LU_INI_RCOND", 4904},
    {QX_DPARAM_MIP_ADDCUTPER_TREE, "QX_DPARAM_MIP_ADDCUTPER_TREE", 5312},
    {QX_IPARAM_MIP_REOPT, "QX_IPARAM_MIP_REOPT", 5328},
    {QX_IPARAM_MIP_AGGCUTLIM_TREE, "QX_IPARAM_MIP_AGGCUTLIM_TREE", 5344},
    {QX_DPARAM_MIP_TIMLIM, "QX_DPARAM_MIP_TIMLIM", 5370},
    {QX_DPARAM_MIP_ITRLIM_IPM, "QX_DPARAM_MIP_ITRLIM_IPM", 5386},
    {QX_IPARAM_MIP_CONCURRENT_STRATEGY, "QX_IPARAM_MIP_CONCURRENT_STRATEGY", 5402},
    {QX_DPARAM_GOP_RELOPTTOL, "QX_DPARAM_GOP_RELOPTTOL", 6400},
    {QX_IPARAM_GOP_PRINTLEVEL, "QX_IPARAM_GOP_PRINTLEVEL", 6416},
    {QX_DPARAM_GOP_ITRLIM_IPM, "QX_DPARAM_GOP_ITRLIM_IPM", 6432},
    {QX_IPARAM_STOC_ITER_LIM, "QX_IPARAM_STOC_ITER_LIM", 6606},
    {QX_IPARAM_STOC_ALD_OUTER_ITER_LIM, "QX_IPARAM_STOC_ALD_OUTER_ITER_LIM", 6623},
    {QX_SPARAM_STOC_FMT_NODE_NAME, "QX_SPARAM_STOC_FMT_NODE_NAME", 6630},
    {QX_SPARAM_STOC_FMT_SCENARIO_NAME, "QX_SPARAM_STOC_FMT_SCENARIO_NAME", 6631},
    {QX_IPARAM_STOC_SBD_OBJCUTFLAG, "QX_IPARAM_STOC_SBD_OBJCUTFLAG", 6639},
    {QX_IPARAM_SAMP_NCM_ITERLIM, "QX_IPARAM_SAMP_NCM_ITERLIM", 7706},
    {QX_IPARAM_BNP_BRANCH_LIMIT, "QX_IPARAM_BNP_BRANCH_LIMIT", 8022},
    {QX_IPARAM_GA_CMUTAT_METHOD, "QX_IPARAM_GA_CMUTAT_METHOD", 8515},
    {QX_IPARAM_GA_SSPACE, "QX_IPARAM_GA_SSPACE", 8527},
};
// Rows stated in full: type, level, reported range, default.
const FullRow kFullRows[] = {
    {QX_IPARAM_OBJSENSE, true, true, -1, 1, 1},
    {QX_DPARAM_CALLBACKFREQ, false, false, 0, 1e30, 0.5},
    {QX_DPARAM_OBJPRINTMUL, false, true, -1e30, 1e30, 1.0},
    {QX_IPARAM_CHECK_FOR_ERRORS, true, false, -1, 2147483647, 0},
    {QX_IPARAM_ALLOW_CNTRLBREAK, true, false, 0, 1, 1},
    {QX_IPARAM_LP_SCALE, true, false, 0, 3, -1},
    {QX_IPARAM_LP_ITRLMT, true, false, -1, 2147483647, 2147483647},
    {QX_IPARAM_SPLEX_PPRICING, true, false, -1, 3, -1},
    {QX_IPARAM_SPLEX_REFACFRQ, true, false, 0, 2147483647, 200},
    {QX_IPARAM_BARRIER_SOLVER, true, false, 4, 7, 4},
    {QX_IPARAM_LP_PRINTLEVEL, true, false, 0, 2147483647, 0},
    {QX_IPARAM_SPLEX_DPRICING, true, false, -1, 5, -1},
    {QX_IPARAM_STRING_LENLMT, true, true, 1, 256, 20},
    {QX_IPARAM_USE_NAMEDATA, true, true, 0, 2147483647, 1},
    {QX_IPARAM_NUM_THREADS, true, false, 0, 2147483647, 1},
    {QX_IPARAM_SOLPOOL_LIM, true, false, 1, 2147483647, 20},
    {QX_IPARAM_SOLVER_IUSOL, true, false, 0, 1, 0},
    {QX_IPARAM_SOLVER_TIMLMT, true, false, -1, 2147483647, -1},
    {QX_DPARAM_SOLVER_CUTOFFVAL, false, false, -1e30, 1e30, -1e30},
    {QX_DPARAM_SOLVER_FEASTOL, false, false, 1e-16, 1e-4, 1e-7},
    {QX_DPARAM_SOLVER_OPTTOL, false, false, 1e-16, 1e-4, 1e-7},
    {QX_DPARAM_SOLVER_TIMLMT, false, false, -1, 1e30, -1},
    {QX_DPARAM_SOLVER_PERT_FEASTOL, false, false, 1e-16, 1e-4, 1e-12},
    {QX_IPARAM_NLP_SOLVER, true, false, 4, 10, 7},
    {QX_IPARAM_NLP_PRINTLEVEL, true, false, 0, 2147483647, 1},
    {QX_DPARAM_NLP_FEASTOL, false, false, 1e-32, 0.999999999, 1e-6},
    {QX_DPARAM_NLP_REDGTOL, false, false, 1e-32, 0.999999999, 1e-7},
    {QX_IPARAM_NLP_ITRLMT, true, false, -1, 2147483647, 2147483647},
    {QX_IPARAM_MIP_TIMLIM, true, false, -1, 2147483647, -1},
    {QX_DPARAM_MIP_INTTOL, false, false, 1e-32, 0.49999999999999, 1e-6},
    {QX_DPARAM_MIP_RELINTTOL, false, false, 1e-32, 0.4999999999, 8e-6},
    {QX_DPARAM_MIP_RELOPTTOL, false, false, 1e-32, 0.999999999, 1e-6},
    {QX_DPARAM_MIP_PEROPTTOL, false, false, 1e-32, 1, 1e-5},
    {QX_IPARAM_MIP_PRINTLEVEL, true, false, 0, 2147483647, 2},
    {QX_DPARAM_MIP_CUTOFFOBJ, false, false, -1e30, 1e30, 1e30},
    {QX_IPARAM_MIP_SOLVERTYPE, true, false, 0, 3, 0},
    {QX_DPARAM_GOP_RELOPTTOL, false, false, 0, 1, 1e-5},
    {QX_IPARAM_GOP_TIMLIM, true, false, -1, 2147483647, -1},
    {QX_IPARAM_GOP_PRINTLEVEL, true, false, 0, 2147483647, 1},
    {QX_IPARAM_GOP_BRANCH_LIMIT, true, false, -1, 2147483647, 2147483647},
};
// Descriptor-driven records: identifier, name, minimum, maximum, default.
const GaRow kGaRows[] = {
    {QX_DPARAM_GA_CXOVER_PROB, false, 0, 1, 0.8},
    {QX_DPARAM_GA_XOVER_SPREAD, false, 0, 2147483647, 10},
    {QX_DPARAM_GA_IXOVER_PROB, false, 0, 1, 0.8},
    {QX_DPARAM_GA_CMUTAT_PROB, false, 0, 1, 0.05},
    {QX_DPARAM_GA_MUTAT_SPREAD, false, 0, 2147483647, 20},
    {QX_DPARAM_GA_IMUTAT_PROB, false, 0, 1, 0.1},
    {QX_DPARAM_GA_TOL_ZERO, false, 2.220446049250313e-16, 1, 1e-14},
    {QX_DPARAM_GA_TOL_PFEAS, false, 2.220446049250313e-16, 1, 1e-7},
    {QX_DPARAM_GA_INF, false, 1e10, 1e30, 1e15},
    {QX_DPARAM_GA_INFBND, false, 1e-6, 1e12, 1e8},
    {QX_DPARAM_GA_BLXA, false, 0, DBL_MAX, 5},
    {QX_DPARAM_GA_BLXB, false, 0, DBL_MAX, 5},
    {QX_IPARAM_GA_CXOVER_METHOD, true, -1, 2147483647, -1},
    {QX_IPARAM_GA_IXOVER_METHOD, true, -1, 2147483647, -1},
    {QX_IPARAM_GA_CMUTAT_METHOD, true, -1, 2147483647, -1},
    {QX_IPARAM_GA_IMUTAT_METHOD, true, -1, 2147483647, -1},
    {QX_IPARAM_GA_SEED, true, 1, 2147483647, 1031},
    {QX_IPARAM_GA_NGEN, true, 1, 2147483647, 500},
    {QX_IPARAM_GA_POPSIZE, true, 1, 2147483647, 200},
    {QX_IPARAM_GA_FILEOUT, true, 1, 2147483647, 0},
    {QX_IPARAM_GA_PRINTLEVEL, true, 1, 2147483647, 1},
    {QX_IPARAM_GA_INJECT_OPT, true, 0, 1, 0},
    {QX_IPARAM_GA_NUM_THREADS, true, 1, 2147483647, 1},
    {QX_IPARAM_GA_OBJDIR, true, -1, 1, 1},
    {QX_DPARAM_GA_OBJSTOP, false, -1e30, 1e30, 1e30},
    {QX_DPARAM_GA_MIGRATE_PROB, false, 0, 1, 0},
    {QX_IPARAM_GA_SSPACE, true, 0, 4, 0.},
};

// Identifiers that exist but are never settable (version numbers, the
// library's infinity) and those whose setting is not supported.
const std::set<int> kReadOnly = {990, 991, 992, 993, 999, 4071};
const std::set<int> kNotSupported = {1563, 6435, 6436};
// Parameters held on models only.
const std::set<int> kModelOnly = {1022, 1024, 1038, 1042, 1043};

struct Frame : torva_test::ModelFixture {
  // Every parameter identifier, in table order, found through the public
  // keyword search ("QX_" is part of every macro name).
  std::vector<int> allParamIds() {
    std::vector<int> ids;
    int index = 0, id = 0;
    while (QXsearchParamHasKeyword(env, "QX_", &index, &id) == 0 && id >= 0) {
      ids.push_back(id);
      ++index;
    }
    return ids;
  }
  // 4 for int, 8 for double or string, from the macro name.
  int sizeOf(int id) {
    char name[256];
    EXPECT_EQ(QXgetParamMacroName(env, id, name), 0);
    int type = 0, found = 0;
    EXPECT_EQ(QXgetParamMacroID(env, name, &type, &found), 0) << name;
    return type;
  }
  static bool isString(int id) { return id == 6630 || id == 6631; }
};

// ------------------------------------------------------------------ signatures

// Each function of the frame has the documented argument order and types, so
// that a C host compiles against the header and passes its arguments right.
TEST(FrameSignatures, DeclaredWithTheDocumentedTypes) {
  using std::is_same_v;
  static_assert(is_same_v<decltype(&QXcreateEnv), QXenv (*)(int*)>);
  static_assert(is_same_v<decltype(&QXdeleteEnv), int (*)(QXenv*)>);
  static_assert(is_same_v<decltype(&QXcreateModel), QXmodel (*)(QXenv, int*)>);
  static_assert(is_same_v<decltype(&QXdeleteModel), int (*)(QXmodel*)>);
  static_assert(is_same_v<decltype(&QXcopyModel), QXmodel (*)(QXmodel, int*)>);
  static_assert(is_same_v<decltype(&QXgetModelEnv), int (*)(QXmodel, QXenv*)>);
  static_assert(is_same_v<decltype(&QXgetEnvModelCount), int (*)(QXenv, int*)>);
  static_assert(is_same_v<decltype(&QXgetEnvModelList), int (*)(QXenv, QXmodel*)>);
  static_assert(is_same_v<decltype(&QXsetEnvLogfunc),
                          int (*)(QXenv, void (*)(QXenv, const char*, void*), void*)>);
  static_assert(is_same_v<decltype(&QXsetModelLogfunc),
                          int (*)(QXmodel, void (*)(QXmodel, const char*, void*), void*)>);
  static_assert(std::is_invocable_r_v<int, decltype(&QXsetEnvExitFunc), QXenv, std::nullptr_t,
                                      void*>);
  static_assert(is_same_v<decltype(&QXfreeSolverMemory), void (*)(QXmodel)>);
  static_assert(is_same_v<decltype(&QXfreeSolutionMemory), void (*)(QXmodel)>);
  static_assert(is_same_v<decltype(&QXfreeMIPSolutionMemory), void (*)(QXmodel)>);
  static_assert(is_same_v<decltype(&QXfreeGOPSolutionMemory), void (*)(QXmodel)>);
  static_assert(is_same_v<decltype(&QXfreeNLPSolverMemory), void (*)(QXmodel)>);
  static_assert(is_same_v<decltype(&QXfreeHashMemory), void (*)(QXmodel)>);
  static_assert(is_same_v<decltype(&QXfreeNameData), int (*)(QXmodel)>);

  static_assert(is_same_v<decltype(&QXgetErrorMessage), int (*)(QXenv, int, char*)>);
  static_assert(is_same_v<decltype(&QXgetFileError), int (*)(QXmodel, int*, char*)>);
  static_assert(is_same_v<decltype(&QXgetErrorRowIndex), int (*)(QXmodel, int*)>);

  static_assert(is_same_v<decltype(&QXsetModelIntParameter), int (*)(QXmodel, int, int)>);
  static_assert(is_same_v<decltype(&QXsetModelDouParameter), int (*)(QXmodel, int, double)>);
  static_assert(is_same_v<decltype(&QXgetModelIntParameter), int (*)(QXmodel, int, int*)>);
  static_assert(is_same_v<decltype(&QXgetModelDouParameter), int (*)(QXmodel, int, double*)>);
  static_assert(is_same_v<decltype(&QXsetModelParameter), int (*)(QXmodel, int, void*)>);
  static_assert(is_same_v<decltype(&QXgetModelParameter), int (*)(QXmodel, int, void*)>);
  static_assert(is_same_v<decltype(&QXsetEnvIntParameter), int (*)(QXenv, int, int)>);
  static_assert(is_same_v<decltype(&QXsetEnvDouParameter), int (*)(QXenv, int, double)>);
  static_assert(is_same_v<decltype(&QXgetEnvIntParameter), int (*)(QXenv, int, int*)>);
  static_assert(is_same_v<decltype(&QXgetEnvDouParameter), int (*)(QXenv, int, double*)>);
  static_assert(is_same_v<decltype(&QXsetEnvParameter), int (*)(QXenv, int, void*)>);
  static_assert(is_same_v<decltype(&QXgetEnvParameter), int (*)(QXenv, int, void*)>);
  static_assert(is_same_v<decltype(&QXgetIntParameterRange), int (*)(QXmodel, int, int*, int*)>);
  static_assert(
      is_same_v<decltype(&QXgetDouParameterRange), int (*)(QXmodel, int, double*, double*)>);
  static_assert(is_same_v<decltype(&QXcopyParam), int (*)(QXmodel, QXmodel, int)>);
  static_assert(is_same_v<decltype(&QXcopyGAParam), int (*)(QXmodel, QXmodel)>);
  static_assert(is_same_v<decltype(&QXgetParamCount), int (*)(QXenv, int)>);
  static_assert(is_same_v<decltype(&QXgetParamMacroName), int (*)(QXenv, int, char*)>);
  static_assert(is_same_v<decltype(&QXgetParamShortDesc), int (*)(QXenv, int, char*)>);
  static_assert(is_same_v<decltype(&QXgetParamLongDesc), int (*)(QXenv, int, char*)>);
  static_assert(
      is_same_v<decltype(&QXgetParamMacroID), int (*)(QXenv, const char*, int*, int*)>);
  static_assert(
      is_same_v<decltype(&QXsearchParamHasKeyword), int (*)(QXenv, const char*, int*, int*)>);
  // The pointer variants fit a host's char* as well as its const char*.
  char* (*macroPtr)(QXenv, int) = &QXgetParamMacroNamePtr;
  char* (*shortPtr)(QXenv, int) = &QXgetParamShortDescPtr;
  char* (*longPtr)(QXenv, int) = &QXgetParamLongDescPtr;
  EXPECT_NE(macroPtr, nullptr);
  EXPECT_NE(shortPtr, nullptr);
  EXPECT_NE(longPtr, nullptr);

  static_assert(is_same_v<decltype(&QXgetVersionInfo), int (*)(char*, char*)>);
  static_assert(is_same_v<decltype(&QXgetInfo), int (*)(QXmodel, int, void*)>);
}

// ------------------------------------------------------------------ life cycle

TEST_F(Frame, EnvironmentsKeepSeparateModelListsAndValues) {
  int err = -1;
  QXenv other = QXcreateEnv(&err);
  ASSERT_NE(other, nullptr);
  QXmodel m2 = QXcreateModel(other, &err);
  ASSERT_EQ(err, 0);
  int count = -1;
  ASSERT_EQ(QXgetEnvModelCount(other, &count), 0);
  EXPECT_EQ(count, 1);
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 1);
  QXenv owner = nullptr;
  ASSERT_EQ(QXgetModelEnv(m2, &owner), 0);
  EXPECT_EQ(owner, other);
  ASSERT_EQ(QXsetEnvIntParameter(other, QX_IPARAM_MIP_PRINTLEVEL, 5), 0);
  int v = -1;
  ASSERT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_MIP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 2);
  EXPECT_EQ(QXdeleteEnv(&other), 0);
  EXPECT_EQ(other, nullptr);
  // The first environment and its model are untouched.
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, 1), 0);
}

TEST_F(Frame, ModelListOfAnEmptyEnvironmentWritesNothing) {
  ASSERT_EQ(QXdeleteModel(&model), 0);
  int count = -1;
  ASSERT_EQ(QXgetEnvModelCount(env, &count), 0);
  EXPECT_EQ(count, 0);
  QXmodel sentinel = reinterpret_cast<QXmodel>(&count);
  EXPECT_EQ(QXgetEnvModelList(env, &sentinel), 0);
  EXPECT_EQ(sentinel, reinterpret_cast<QXmodel>(&count));
}

TEST_F(Frame, CopyOfAnEmptyModelTakesAllItsParameterValues) {
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, QX_MAX), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_STRING_LENLMT, 40), 0);
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_GOP_RELOPTTOL, 0.25), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_SAMP_NCM_ITERLIM, 7), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_POPSIZE, 33), 0);
  char fmt[] = "SCEN%d";
  ASSERT_EQ(QXsetModelParameter(model, QX_SPARAM_STOC_FMT_SCENARIO_NAME, fmt), 0);
  QXmodel b = newModel();
  int err = -1;
  QXmodel copy = QXcopyModel(model, &err);
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(err, 0);
  // Appended at the tail of the environment's list.
  std::vector<QXmodel> list(3);
  ASSERT_EQ(QXgetEnvModelList(env, list.data()), 0);
  EXPECT_EQ(list, (std::vector<QXmodel>{model, b, copy}));
  int v = 0;
  double d = 0;
  ASSERT_EQ(QXgetModelIntParameter(copy, QX_IPARAM_OBJSENSE, &v), 0);
  EXPECT_EQ(v, QX_MAX);
  ASSERT_EQ(QXgetModelIntParameter(copy, QX_IPARAM_STRING_LENLMT, &v), 0);
  EXPECT_EQ(v, 40);
  ASSERT_EQ(QXgetModelDouParameter(copy, QX_DPARAM_GOP_RELOPTTOL, &d), 0);
  EXPECT_EQ(d, 0.25);
  ASSERT_EQ(QXgetModelIntParameter(copy, QX_IPARAM_SAMP_NCM_ITERLIM, &v), 0);
  EXPECT_EQ(v, 7);
  ASSERT_EQ(QXgetModelIntParameter(copy, QX_IPARAM_GA_POPSIZE, &v), 0);
  EXPECT_EQ(v, 33);
  char out[256] = "";
  ASSERT_EQ(QXgetModelParameter(copy, QX_SPARAM_STOC_FMT_SCENARIO_NAME, out), 0);
  EXPECT_STREQ(out, "SCEN%d");
  // The copy is independent of its source afterwards.
  ASSERT_EQ(QXsetModelIntParameter(copy, QX_IPARAM_GA_POPSIZE, 44), 0);
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_GA_POPSIZE, &v), 0);
  EXPECT_EQ(v, 33);
}

TEST_F(Frame, CopyOfALoadedModelHoldsTheSameData) {
  // max 2x + 3y  s.t.  x + y <= 4,  x - y >= -1,  0 <= x <= 3, y integer
  const double c[] = {2, 3}, b[] = {4, -1}, lo[] = {0, 0}, up[] = {3, 10};
  const char types[] = {'L', 'G'};
  const int beg[] = {0, 2, 4}, rows[] = {0, 1, 0, 1};
  const double vals[] = {1, 1, 1, -1};
  ASSERT_EQ(QXloadLPData(model, 2, 2, QX_MAX, 1.5, c, b, types, 4, beg, nullptr, vals, rows, lo,
                         up),
            0);
  ASSERT_EQ(QXloadVarType(model, "CI"), 0);
  char x[] = "x", y[] = "y", r0[] = "cap", r1[] = "link";
  char* vn[] = {x, y};
  char* cn[] = {r0, r1};
  ASSERT_EQ(QXloadNameData(model, "tiny", "obj", nullptr, nullptr, nullptr, cn, vn, nullptr), 0);
  int err = -1;
  QXmodel copy = QXcopyModel(model, &err);
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(err, 0);
  int sense = 0, abeg[3], arows[4];
  double k = 0, cc[2], bb[2], av[4], l2[2], u2[2];
  char ct[2];
  ASSERT_EQ(QXgetLPData(copy, &sense, &k, cc, bb, ct, abeg, nullptr, av, arows, l2, u2), 0);
  EXPECT_EQ(sense, QX_MAX);
  EXPECT_EQ(k, 1.5);
  EXPECT_EQ(std::vector<double>(cc, cc + 2), std::vector<double>(c, c + 2));
  EXPECT_EQ(std::vector<double>(bb, bb + 2), std::vector<double>(b, b + 2));
  EXPECT_EQ(std::string(ct, 2), "LG");
  EXPECT_EQ(std::vector<int>(abeg, abeg + 3), std::vector<int>(beg, beg + 3));
  EXPECT_EQ(std::vector<int>(arows, arows + 4), std::vector<int>(rows, rows + 4));
  EXPECT_EQ(std::vector<double>(av, av + 4), std::vector<double>(vals, vals + 4));
  EXPECT_EQ(std::vector<double>(u2, u2 + 2), std::vector<double>(up, up + 2));
  char vt[2];
  ASSERT_EQ(QXgetVarType(copy, vt), 0);
  EXPECT_EQ(std::string(vt, 2), "CI");
  int j = -1;
  ASSERT_EQ(QXgetVariableIndex(copy, "y", &j), 0);
  EXPECT_EQ(j, 1);
  int n = 0;
  ASSERT_EQ(QXgetInfo(copy, QX_IINFO_NUM_VARS, &n), 0);
  EXPECT_EQ(n, 2);
  // Loading into the copy again is refused: it holds data.
  EXPECT_EQ(QXloadLPData(copy, 2, 2, QX_MAX, 0, c, b, types, 4, beg, nullptr, vals, rows, lo, up),
            QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(Frame, ReleaseFunctionsTouchOnlyTheirPart) {
  const double c[] = {1, 1}, b[] = {1}, lo[] = {0, 0}, up[] = {1, 1};
  const int beg[] = {0, 1, 2}, rows[] = {0, 0};
  const double vals[] = {1, 1};
  ASSERT_EQ(QXloadLPData(model, 1, 2, QX_MIN, 0, c, b, "L", 2, beg, nullptr, vals, rows, lo, up),
            0);
  char x[] = "alpha", y[] = "beta";
  char* vn[] = {x, y};
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, vn,
                           nullptr),
            0);
  int j = -1;
  ASSERT_EQ(QXgetVariableIndex(model, "beta", &j), 0);
  EXPECT_EQ(j, 1);
  // The lookup tables are rebuilt after they were released.
  QXfreeHashMemory(model);
  j = -1;
  ASSERT_EQ(QXgetVariableIndex(model, "beta", &j), 0);
  EXPECT_EQ(j, 1);
  // Releasing solver memory and solutions leaves the data.
  QXfreeSolverMemory(model);
  QXfreeSolutionMemory(model);
  QXfreeMIPSolutionMemory(model);
  QXfreeGOPSolutionMemory(model);
  QXfreeNLPSolverMemory(model);
  int n = 0;
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_VARS, &n), 0);
  EXPECT_EQ(n, 2);
  // Releasing the names removes them and nothing else.
  ASSERT_EQ(QXfreeNameData(model), 0);
  EXPECT_EQ(QXgetVariableIndex(model, "beta", &j), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(j, -1);
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_NUM_VARS, &n), 0);
  EXPECT_EQ(n, 2);
  double u = 0;
  ASSERT_EQ(QXgetUpperBoundj(model, 1, &u), 0);
  EXPECT_EQ(u, 1);
}

// ------------------------------------------------------------------ messages

TEST(FrameMessages, EveryTextFitsTheDocumentedBuffer) {
  std::size_t longest = 0;
  int withText = 0;
  for (int code = 2001; code < 2598; ++code) {
    char buf[140];
    ASSERT_EQ(QXgetErrorMessage(nullptr, code, buf), 0) << code;
    longest = std::max(longest, std::strlen(buf));
    if (buf[0]) ++withText;
  }
  EXPECT_EQ(longest, 139u);
  EXPECT_EQ(withText, 196);
  // Null buffer: nothing to write into.
  EXPECT_EQ(QXgetErrorMessage(nullptr, 2001, nullptr), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(Frame, MessagesAgreeWithAndWithoutEnvironment) {
  for (int code : {-1, 0, 1, 2000, 2001, 2015, 2042, 2356, 2383, 2394, 2576, 2577, 2597, 2598}) {
    char a[140], b[140];
    std::memset(a, 'x', sizeof a);
    std::memset(b, 'y', sizeof b);
    EXPECT_EQ(QXgetErrorMessage(env, code, a), QXgetErrorMessage(nullptr, code, b)) << code;
    EXPECT_STREQ(a, b) << code;
  }
  char buf[140];
  EXPECT_EQ(QXgetErrorMessage(env, 2597, buf), 0);
  EXPECT_STREQ(buf, "Trying to read past the end of file.");
  EXPECT_EQ(QXgetErrorMessage(env, 2594, buf), 0);
  EXPECT_STREQ(buf, "Could not solve the current sub-problem.");
  EXPECT_EQ(QXgetErrorMessage(env, 2316, buf), 0);
  EXPECT_STREQ(buf, "Number of stochastic parameters found in Core file do notmatch to that of Time file.");
  EXPECT_EQ(QXgetErrorMessage(env, 2045, buf), 0);
  EXPECT_STREQ(buf, "The specified basis status for  a constraint's slack//surplus is invalid.");
}

TEST_F(Frame, FailureDetailQueriesAcceptNullOutputs) {
  EXPECT_EQ(QXgetFileError(model, nullptr, nullptr), 0);
  char text[8] = "junk";
  EXPECT_EQ(QXgetFileError(model, nullptr, text), 0);
  EXPECT_STREQ(text, "");
  int line = 7;
  EXPECT_EQ(QXgetFileError(nullptr, &line, nullptr), 0);
  EXPECT_EQ(line, 0);
  int row = -5;
  EXPECT_EQ(QXgetErrorRowIndex(nullptr, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetErrorRowIndex(model, &row), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(row, -5);
}

// ------------------------------------------------------------------ parameter names

TEST_F(Frame, EveryDocumentedNameAndIdentifier) {
  EXPECT_EQ(QXgetParamCount(env, 0), 429);
  EXPECT_EQ(QXgetParamCount(env, 1), 429);
  EXPECT_EQ(QXgetParamCount(env, -7), 429);
  for (const NamedId& p : kParamNames) {
    EXPECT_EQ(p.macro, p.id) << p.name;
    char name[256] = "";
    ASSERT_EQ(QXgetParamMacroName(env, p.id, name), 0) << p.id;
    EXPECT_STREQ(name, p.name);
    const char* ptr = QXgetParamMacroNamePtr(env, p.id);
    ASSERT_NE(ptr, nullptr) << p.name;
    EXPECT_STREQ(ptr, p.name);
    int type = 0, id = 0;
    ASSERT_EQ(QXgetParamMacroID(env, p.name, &type, &id), 0) << p.name;
    EXPECT_EQ(id, p.id);
    EXPECT_EQ(type, std::strncmp(p.name, "QX_IPARAM_", 10) == 0 ? 4 : 8) << p.name;
    EXPECT_NE(QXgetParamShortDescPtr(env, p.id), nullptr) << p.name;
    EXPECT_NE(QXgetParamLongDescPtr(env, p.id), nullptr) << p.name;
  }
  // The keyword walk over the long table meets every identifier once, in
  // increasing order; every one has a macro name that leads back to it, with
  // the type its prefix names, and both descriptions.
  std::vector<int> walked = allParamIds();
  ASSERT_EQ(walked.size(), 429u);
  for (std::size_t k = 0; k < walked.size(); ++k) {
    if (k > 0) { EXPECT_LT(walked[k - 1], walked[k]); }
    char name[256] = "";
    ASSERT_EQ(QXgetParamMacroName(env, walked[k], name), 0) << walked[k];
    int type = 0, id = 0;
    ASSERT_EQ(QXgetParamMacroID(env, name, &type, &id), 0) << name;
    EXPECT_EQ(id, walked[k]);
    EXPECT_EQ(type, std::strncmp(name, "QX_IPARAM_", 10) == 0 ? 4 : 8) << name;
    EXPECT_NE(QXgetParamShortDescPtr(env, id), nullptr) << name;
    EXPECT_NE(QXgetParamLongDescPtr(env, id), nullptr) << name;
  }
  for (const NamedId& p : kParamNames)
    EXPECT_TRUE(std::binary_search(walked.begin(), walked.end(), p.id)) << p.name;
}

TEST_F(Frame, KeywordSearchResetsTheIdentifierFirst) {
  int index = 429, id = 1234;
  EXPECT_EQ(QXsearchParamHasKeyword(env, "1030", &index, &id), QXERR_INDEX_OUT_OF_RANGE);
  EXPECT_EQ(id, -1);
  index = 0;
  id = 1234;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "NO_SUCH_WORD", &index, &id), 0);
  EXPECT_EQ(id, -1);
  EXPECT_EQ(index, 429);
  // A numeric keyword finds the row of that identifier from the start row on.
  index = -3;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "8527", &index, &id), 0);
  EXPECT_EQ(id, 8527);
  EXPECT_EQ(index, 428);
  index = 0;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "990", &index, &id), 0);
  EXPECT_EQ(id, 990);
  EXPECT_EQ(index, 0);
  // Text keywords are case-sensitive substrings of the macro name.
  index = 0;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "ver_major", &index, &id), 0);
  EXPECT_EQ(id, -1);
  index = 0;
  ASSERT_EQ(QXsearchParamHasKeyword(env, "VER_MAJOR", &index, &id), 0);
  EXPECT_EQ(id, 990);
  EXPECT_EQ(QXsearchParamHasKeyword(env, "MIP", nullptr, &id), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsearchParamHasKeyword(env, "MIP", &index, nullptr), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(Frame, DocumentationTextsOfGeneticAndStringRows) {
  char buf[1024];
  ASSERT_EQ(QXgetParamMacroName(env, 8527, buf), 0);
  EXPECT_STREQ(buf, "QX_IPARAM_GA_SSPACE");
  ASSERT_EQ(QXgetParamMacroName(env, 6631, buf), 0);
  EXPECT_STREQ(buf, "QX_SPARAM_STOC_FMT_SCENARIO_NAME");
  ASSERT_EQ(QXgetParamLongDesc(env, 6630, buf), 0);
  EXPECT_GT(std::strlen(buf), 0u);
  int type = 0, id = 0;
  ASSERT_EQ(QXgetParamMacroID(env, "QX_SPARAM_STOC_FMT_NODE_NAME", &type, &id), 0);
  EXPECT_EQ(type, 8);
  EXPECT_EQ(id, 6630);
  // Null environment: 2010 for the copying forms, null for the pointers.
  EXPECT_EQ(QXgetParamShortDesc(nullptr, 1030, buf), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetParamLongDesc(nullptr, 1030, buf), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetParamShortDescPtr(nullptr, 1030), nullptr);
}

// ------------------------------------------------------------------ defaults and ranges

TEST_F(Frame, FullyStatedRowsTypeLevelRangeAndDefault) {
  ASSERT_EQ(sizeof(kFullRows) / sizeof(kFullRows[0]), 40u);
  for (const FullRow& r : kFullRows) {
    EXPECT_EQ(sizeOf(r.id), r.isInt ? 4 : 8) << r.id;
    if (r.isInt) {
      int lo = 99, hi = 99, m = 99, e = 99;
      ASSERT_EQ(QXgetIntParameterRange(model, r.id, &lo, &hi), 0) << r.id;
      EXPECT_EQ(lo, r.lo) << r.id;
      EXPECT_EQ(hi, r.hi) << r.id;
      ASSERT_EQ(QXgetModelIntParameter(model, r.id, &m), 0) << r.id;
      EXPECT_EQ(m, r.def) << r.id;
      const int rc = QXgetEnvIntParameter(env, r.id, &e);
      if (r.modelOnly) {
        EXPECT_EQ(rc, QXERR_INFO_NOT_AVAILABLE) << r.id;
        EXPECT_EQ(QXsetEnvIntParameter(env, r.id, m), QXERR_UNABLE_TO_SET_PARAM) << r.id;
      } else {
        EXPECT_EQ(rc, 0) << r.id;
        EXPECT_EQ(e, r.def) << r.id;
      }
    } else {
      double lo = 99, hi = 99, m = 99, e = 99;
      ASSERT_EQ(QXgetDouParameterRange(model, r.id, &lo, &hi), 0) << r.id;
      EXPECT_EQ(lo, r.lo) << r.id;
      EXPECT_EQ(hi, r.hi) << r.id;
      ASSERT_EQ(QXgetModelDouParameter(model, r.id, &m), 0) << r.id;
      EXPECT_EQ(m, r.def) << r.id;
      const int rc = QXgetEnvDouParameter(env, r.id, &e);
      if (r.modelOnly) {
        EXPECT_EQ(rc, QXERR_INFO_NOT_AVAILABLE) << r.id;
        EXPECT_EQ(QXsetEnvDouParameter(env, r.id, m), QXERR_UNABLE_TO_SET_PARAM) << r.id;
      } else {
        EXPECT_EQ(rc, 0) << r.id;
        EXPECT_EQ(e, r.def) << r.id;
      }
    }
  }
}

TEST_F(Frame, VersionParametersAreReadOnlyEverywhere) {
  const int expected[][2] = {{990, 10}, {991, 0}, {992, 2438}, {993, 85}};
  for (const auto& [id, value] : expected) {
    int m = -1, e = -1, info = -1;
    ASSERT_EQ(QXgetModelIntParameter(model, id, &m), 0);
    ASSERT_EQ(QXgetEnvIntParameter(env, id, &e), 0);
    ASSERT_EQ(QXgetInfo(nullptr, id, &info), 0);
    EXPECT_EQ(m, value);
    EXPECT_EQ(e, value);
    EXPECT_EQ(info, value);
  }
  for (int id : {990, 991, 992, 993, 999}) {
    int current = 0;
    ASSERT_EQ(QXgetModelIntParameter(model, id, &current), 0);
    EXPECT_EQ(QXsetModelIntParameter(model, id, current), QXERR_UNABLE_TO_SET_PARAM) << id;
    EXPECT_EQ(QXsetEnvIntParameter(env, id, current), QXERR_UNABLE_TO_SET_PARAM) << id;
    EXPECT_EQ(QXsetModelParameter(model, id, &current), QXERR_UNABLE_TO_SET_PARAM) << id;
  }
}

TEST_F(Frame, UnsupportedSettingsOnBothLevels) {
  for (int id : kNotSupported) {
    if (sizeOf(id) == 4) {
      int v = -1;
      ASSERT_EQ(QXgetModelIntParameter(model, id, &v), 0);
      EXPECT_EQ(QXsetModelIntParameter(model, id, v), QXERR_NOT_SUPPORTED) << id;
      EXPECT_EQ(QXsetEnvIntParameter(env, id, v), QXERR_NOT_SUPPORTED) << id;
    } else {
      double v = -1;
      ASSERT_EQ(QXgetModelDouParameter(model, id, &v), 0);
      EXPECT_EQ(QXsetModelDouParameter(model, id, v), QXERR_NOT_SUPPORTED) << id;
      EXPECT_EQ(QXsetEnvDouParameter(env, id, v), QXERR_NOT_SUPPORTED) << id;
    }
  }
}

// A value the range query reports as allowed is accepted by the setters of
// every level that holds the parameter, and reads back unchanged.
TEST_F(Frame, EveryReportedRangeEndIsAccepted) {
  int checked = 0;
  for (int id : allParamIds()) {
    if (kReadOnly.count(id) || kNotSupported.count(id) || isString(id)) continue;
    const bool onEnv = !kModelOnly.count(id);
    if (sizeOf(id) == 4) {
      int lo = 0, hi = 0, def = 0;
      ASSERT_EQ(QXgetIntParameterRange(model, id, &lo, &hi), 0) << id;
      ASSERT_EQ(QXgetModelIntParameter(model, id, &def), 0) << id;
      for (int v : {lo, hi, def}) {
        int back = v == 0 ? 1 : 0;  // anything but v
        EXPECT_EQ(QXsetModelIntParameter(model, id, v), 0) << id << " = " << v;
        ASSERT_EQ(QXgetModelIntParameter(model, id, &back), 0);
        EXPECT_EQ(back, v) << id;
        if (onEnv) {
          EXPECT_EQ(QXsetEnvIntParameter(env, id, v), 0) << id << " = " << v;
          ASSERT_EQ(QXgetEnvIntParameter(env, id, &back), 0);
          EXPECT_EQ(back, v) << id;
        }
      }
    } else {
      double lo = 0, hi = 0, def = 0;
      ASSERT_EQ(QXgetDouParameterRange(model, id, &lo, &hi), 0) << id;
      ASSERT_EQ(QXgetModelDouParameter(model, id, &def), 0) << id;
      for (double v : {lo, hi, def}) {
        double back = 0;
        EXPECT_EQ(QXsetModelDouParameter(model, id, v), 0) << id << " = " << v;
        ASSERT_EQ(QXgetModelDouParameter(model, id, &back), 0);
        EXPECT_EQ(back, v) << id;
        if (onEnv) {
          EXPECT_EQ(QXsetEnvDouParameter(env, id, v), 0) << id << " = " << v;
          ASSERT_EQ(QXgetEnvDouParameter(env, id, &back), 0);
          EXPECT_EQ(back, v) << id;
        }
      }
    }
    ++checked;
  }
  EXPECT_EQ(checked, 429 - 6 - 3 - 2);
}

// Every value set on the environment reaches the models created afterwards
// and no model created before.
TEST_F(Frame, EnvironmentValuesReachLaterModelsOnly) {
  std::vector<int> ids;
  for (int id : allParamIds()) {
    if (kReadOnly.count(id) || kNotSupported.count(id) || kModelOnly.count(id)) continue;
    ids.push_back(id);
  }
  auto changed = [](double lo, double hi, double def) { return def == hi ? lo : hi; };
  std::vector<double> want(ids.size());
  for (std::size_t k = 0; k < ids.size(); ++k) {
    const int id = ids[k];
    if (isString(id)) {
      char fmt[] = "N%03d";
      ASSERT_EQ(QXsetEnvParameter(env, id, fmt), 0);
    } else if (sizeOf(id) == 4) {
      int lo = 0, hi = 0, def = 0;
      ASSERT_EQ(QXgetIntParameterRange(model, id, &lo, &hi), 0);
      ASSERT_EQ(QXgetEnvIntParameter(env, id, &def), 0);
      want[k] = changed(lo, hi, def);
      ASSERT_EQ(QXsetEnvIntParameter(env, id, static_cast<int>(want[k])), 0) << id;
    } else {
      double lo = 0, hi = 0, def = 0;
      ASSERT_EQ(QXgetDouParameterRange(model, id, &lo, &hi), 0);
      ASSERT_EQ(QXgetEnvDouParameter(env, id, &def), 0);
      want[k] = changed(lo, hi, def);
      ASSERT_EQ(QXsetEnvDouParameter(env, id, want[k]), 0) << id;
    }
  }
  QXmodel later = newModel();
  for (std::size_t k = 0; k < ids.size(); ++k) {
    const int id = ids[k];
    if (isString(id)) {
      char out[256] = "", before[256] = "x";
      ASSERT_EQ(QXgetModelParameter(later, id, out), 0);
      EXPECT_STREQ(out, "N%03d");
      ASSERT_EQ(QXgetModelParameter(model, id, before), 0);
      EXPECT_STREQ(before, "");
    } else if (sizeOf(id) == 4) {
      int v = 0, old = 0;
      ASSERT_EQ(QXgetModelIntParameter(later, id, &v), 0);
      EXPECT_EQ(v, want[k]) << id;
      ASSERT_EQ(QXgetModelIntParameter(model, id, &old), 0);
      EXPECT_NE(old, want[k]) << id;
    } else {
      double v = 0, old = 0;
      ASSERT_EQ(QXgetModelDouParameter(later, id, &v), 0);
      EXPECT_EQ(v, want[k]) << id;
      ASSERT_EQ(QXgetModelDouParameter(model, id, &old), 0);
      EXPECT_NE(old, want[k]) << id;
    }
  }
}

TEST_F(Frame, RangeQueriesZeroTheirOutputsOnEveryFailure) {
  int lo = 5, hi = 5;
  EXPECT_EQ(QXgetIntParameterRange(model, 12345, &lo, &hi), QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 0);
  double dlo = 5, dhi = 5;
  EXPECT_EQ(QXgetDouParameterRange(model, QX_IPARAM_LP_ITRLMT, &dlo, &dhi),
            QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(dlo, 0);
  EXPECT_EQ(dhi, 0);
  dlo = dhi = 5;
  EXPECT_EQ(QXgetDouParameterRange(nullptr, QX_DPARAM_SOLVER_FEASTOL, &dlo, &dhi),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(dlo, 0);
  EXPECT_EQ(dhi, 0);
  EXPECT_EQ(QXgetDouParameterRange(model, QX_DPARAM_SOLVER_FEASTOL, nullptr, nullptr), 0);
}

// ------------------------------------------------------------------ set rules

TEST_F(Frame, ObjectiveSenseThroughEveryModelSetter) {
  int bad = 0;
  EXPECT_EQ(QXsetModelParameter(model, QX_IPARAM_OBJSENSE, &bad), QXERR_BAD_OBJECTIVE_SENSE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, -2), QXERR_BAD_OBJECTIVE_SENSE);
  int sense = 0;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, QX_MIN);
  int max = QX_MAX;
  ASSERT_EQ(QXsetModelParameter(model, QX_IPARAM_OBJSENSE, &max), 0);
  ASSERT_EQ(QXgetModelParameter(model, QX_IPARAM_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, QX_MAX);
  // A model loaded afterwards takes the sense of its load.
  const double c[] = {1}, lo[] = {0}, up[] = {1};
  const int beg[] = {0, 0};
  ASSERT_EQ(QXloadLPData(model, 0, 1, QX_MIN, 0, c, nullptr, nullptr, 0, beg, nullptr, nullptr,
                         nullptr, lo, up),
            0);
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, QX_MIN);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, QX_MAX), 0);
  int info = 0;
  ASSERT_EQ(QXgetInfo(model, QX_IINFO_OBJSENSE, &info), 0);
  EXPECT_EQ(info, QX_MAX);
}

TEST_F(Frame, RejectedValuesLeaveTheOldOne) {
  ASSERT_EQ(QXsetEnvDouParameter(env, QX_DPARAM_MIP_INTTOL, 1e-5), 0);
  EXPECT_EQ(QXsetEnvDouParameter(env, QX_DPARAM_MIP_INTTOL, 0.6), QXERR_PARAMETER_OUT_OF_RANGE);
  double d = 0;
  ASSERT_EQ(QXgetEnvDouParameter(env, QX_DPARAM_MIP_INTTOL, &d), 0);
  EXPECT_EQ(d, 1e-5);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_SOLVER, 9), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_SOLVER, 100), QXERR_PARAMETER_OUT_OF_RANGE);
  int v = 0;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_NLP_SOLVER, &v), 0);
  EXPECT_EQ(v, 9);
  // A tolerance below 1e-16 breaks the solvers.
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_OPTTOL, 1e-17),
            QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetEnvDouParameter(env, QX_DPARAM_SOLVER_PERT_FEASTOL, -1.0),
            QXERR_PARAMETER_OUT_OF_RANGE);
  // Print levels and counts are never negative.
  EXPECT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_MIP_PRINTLEVEL, -1), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_NUM_THREADS, -1), QXERR_PARAMETER_OUT_OF_RANGE);
  ASSERT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_NUM_THREADS, &v), 0);
  EXPECT_EQ(v, 1);
}

// The factorisation reads a negative LU option as "use the default", so the
// setters pass negative values; the reported ranges stay as documented.
TEST_F(Frame, NegativeLuOptionsSelectTheDefault) {
  for (int id : {QX_IPARAM_LU_MAX_UPDATES, QX_IPARAM_LU_UPDATE_TYPE}) {
    EXPECT_EQ(QXsetModelIntParameter(model, id, -1), 0) << id;
    EXPECT_EQ(QXsetEnvIntParameter(env, id, -1), 0) << id;
    int lo = -5, hi = -5;
    ASSERT_EQ(QXgetIntParameterRange(model, id, &lo, &hi), 0);
    EXPECT_EQ(lo, 0) << id;
  }
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LU_UPDATE_TYPE, 2),
            QXERR_PARAMETER_OUT_OF_RANGE);
  for (int id = QX_DPARAM_LU_EPS_DIAG; id <= QX_DPARAM_LU_SPVTOL_BTRAN; ++id) {
    EXPECT_EQ(QXsetModelDouParameter(model, id, -1.0), 0) << id;
    double v = 0;
    ASSERT_EQ(QXgetModelDouParameter(model, id, &v), 0);
    EXPECT_EQ(v, -1.0);
    EXPECT_EQ(QXsetEnvDouParameter(env, id, 2.0), QXERR_PARAMETER_OUT_OF_RANGE) << id;
    double lo = -5, hi = -5;
    ASSERT_EQ(QXgetDouParameterRange(model, id, &lo, &hi), 0);
    EXPECT_EQ(lo, 0) << id;
  }
}

TEST_F(Frame, GeneticRecordsAsDocumented) {
  ASSERT_EQ(sizeof(kGaRows) / sizeof(kGaRows[0]), 27u);
  for (const GaRow& r : kGaRows) {
    EXPECT_EQ(sizeOf(r.id), r.isInt ? 4 : 8) << r.id;
    if (r.isInt) {
      int lo = 0, hi = 0, v = -99;
      ASSERT_EQ(QXgetIntParameterRange(model, r.id, &lo, &hi), 0) << r.id;
      EXPECT_EQ(lo, r.lo) << r.id;
      EXPECT_EQ(hi, r.hi) << r.id;
      ASSERT_EQ(QXgetEnvIntParameter(env, r.id, &v), 0);
      EXPECT_EQ(v, r.def) << r.id;
      EXPECT_EQ(QXsetEnvIntParameter(env, r.id, static_cast<int>(r.def)), 0) << r.id;
      if (r.lo > -2147483647.0) {
        EXPECT_EQ(QXsetModelIntParameter(model, r.id, static_cast<int>(r.lo) - 1),
                  r.lo - 1 == r.def ? 0 : QXERR_PARAMETER_OUT_OF_RANGE)
            << r.id;
      }
      if (r.hi < 2147483647.0) {
        EXPECT_EQ(QXsetModelIntParameter(model, r.id, static_cast<int>(r.hi) + 1),
                  QXERR_PARAMETER_OUT_OF_RANGE)
            << r.id;
      }
      // The double forms refuse an int record.
      EXPECT_EQ(QXsetEnvDouParameter(env, r.id, r.def), QXERR_UNABLE_TO_SET_PARAM) << r.id;
    } else {
      double lo = 0, hi = 0, v = -99;
      ASSERT_EQ(QXgetDouParameterRange(model, r.id, &lo, &hi), 0) << r.id;
      EXPECT_EQ(lo, r.lo) << r.id;
      EXPECT_EQ(hi, r.hi) << r.id;
      ASSERT_EQ(QXgetEnvDouParameter(env, r.id, &v), 0);
      EXPECT_EQ(v, r.def) << r.id;
      EXPECT_EQ(QXsetModelDouParameter(model, r.id, r.def), 0) << r.id;
      const double below = r.lo == 0 ? -1e-3 : r.lo - std::fabs(r.lo) * 0.5;
      EXPECT_EQ(QXsetModelDouParameter(model, r.id, below), QXERR_PARAMETER_OUT_OF_RANGE) << r.id;
      if (r.hi < DBL_MAX) {
        EXPECT_EQ(QXsetModelDouParameter(model, r.id, r.hi * 2 + 1), QXERR_PARAMETER_OUT_OF_RANGE)
            << r.id;
      }
      EXPECT_EQ(QXsetEnvIntParameter(env, r.id, 0), QXERR_UNABLE_TO_SET_PARAM) << r.id;
    }
  }
  // Int records read through the int getter; the double getter refuses them.
  double d = 0;
  EXPECT_EQ(QXgetModelDouParameter(model, QX_IPARAM_GA_NGEN, &d), QXERR_UNABLE_TO_SET_PARAM);
  int i = 0;
  EXPECT_EQ(QXgetModelIntParameter(model, QX_DPARAM_GA_INF, &i), QXERR_UNABLE_TO_SET_PARAM);
  // Untyped access follows the record's type.
  double prob = 0.3;
  ASSERT_EQ(QXsetModelParameter(model, QX_DPARAM_GA_MIGRATE_PROB, &prob), 0);
  double back = 0;
  ASSERT_EQ(QXgetModelParameter(model, QX_DPARAM_GA_MIGRATE_PROB, &back), 0);
  EXPECT_EQ(back, 0.3);
  int gens = 77;
  ASSERT_EQ(QXsetEnvParameter(env, QX_IPARAM_GA_NGEN, &gens), 0);
  int gb = 0;
  ASSERT_EQ(QXgetEnvParameter(env, QX_IPARAM_GA_NGEN, &gb), 0);
  EXPECT_EQ(gb, 77);
}

TEST_F(Frame, CopyParamModesCoverEveryGroup) {
  // One setting from each group of values.
  const int ints[] = {QX_IPARAM_LP_PRINTLEVEL, QX_IPARAM_MIP_PRINTLEVEL, QX_IPARAM_NLP_PRINTLEVEL,
                      QX_IPARAM_GOP_PRINTLEVEL, QX_IPARAM_IIS_PRINT_LEVEL,
                      QX_IPARAM_STOC_PRINT_LEVEL, QX_IPARAM_SAMP_NCM_ITERLIM,
                      QX_IPARAM_BNP_PRINT_LEVEL};
  for (int id : ints) ASSERT_EQ(QXsetModelIntParameter(model, id, 6), 0) << id;
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_IPM_TOL_PATH, 0.25), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_SEED, 5), 0);
  QXmodel target = newModel();
  int v = 0;
  for (int mode : {1, 2, 11, 13, 100}) {
    ASSERT_EQ(QXcopyParam(model, target, mode), 0) << mode;
    for (int id : ints) {
      ASSERT_EQ(QXgetModelIntParameter(target, id, &v), 0);
      EXPECT_NE(v, 6) << "mode " << mode << " copied " << id;
    }
  }
  ASSERT_EQ(QXcopyParam(model, target, -4), 0);
  for (int id : ints) {
    ASSERT_EQ(QXgetModelIntParameter(target, id, &v), 0);
    EXPECT_EQ(v, 6) << id;
  }
  double d = 0;
  ASSERT_EQ(QXgetModelDouParameter(target, QX_DPARAM_IPM_TOL_PATH, &d), 0);
  EXPECT_EQ(d, 0.25);
  ASSERT_EQ(QXgetModelIntParameter(target, QX_IPARAM_GA_SEED, &v), 0);
  EXPECT_EQ(v, 1031);
  ASSERT_EQ(QXcopyParam(model, target, 12), 0);
  ASSERT_EQ(QXgetModelIntParameter(target, QX_IPARAM_GA_SEED, &v), 0);
  EXPECT_EQ(v, 5);
  EXPECT_EQ(QXcopyParam(model, nullptr, 0), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXcopyGAParam(nullptr, target), QXERR_ILLEGAL_NULL_POINTER);
}

// ------------------------------------------------------------------ version and information

TEST_F(Frame, LibraryItemsAnswerWithOrWithoutAModel) {
  char version[32], built[64];
  ASSERT_EQ(QXgetVersionInfo(version, built), 0);
  EXPECT_TRUE(std::regex_match(version, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]{3}")))
      << version;
  EXPECT_STREQ(version, "10.0.2438.085");
  EXPECT_NE(std::string(built).find("20"), std::string::npos) << built;
  EXPECT_EQ(QXgetVersionInfo(nullptr, nullptr), 0);
  // An unloaded model answers the library items too.
  const int items[][2] = {{QX_IINFO_VER_MAJOR, 10},
                          {QX_IINFO_VER_MINOR, 0},
                          {QX_IINFO_VER_BUILD, 2438},
                          {QX_IINFO_VER_REVISION, 85}};
  for (const auto& [item, value] : items) {
    int k = -1;
    ASSERT_EQ(QXgetInfo(model, item, &k), 0) << item;
    EXPECT_EQ(k, value);
  }
  char platform[64] = "", platformNull[64] = "x";
  ASSERT_EQ(QXgetInfo(model, 11237, platform), 0);
  ASSERT_EQ(QXgetInfo(nullptr, 11237, platformNull), 0);
  EXPECT_STREQ(platform, platformNull);
  EXPECT_GT(std::strlen(platform), 0u);
  // Only the library items answer without a model.
  int k = 0;
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_OBJSENSE, &k), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_MIP_STATUS, &k), QXERR_ILLEGAL_NULL_POINTER);
  // A null result skips the output; the code is the one the item gives.
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_VER_BUILD, nullptr), 0);
  EXPECT_EQ(QXgetInfo(nullptr, QX_IINFO_NUM_VARS, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  // A model that cannot answer an item now.
  EXPECT_EQ(QXgetInfo(model, QX_IINFO_MIP_STATUS, &k), QXERR_INFO_NOT_AVAILABLE);
}

}  // namespace
