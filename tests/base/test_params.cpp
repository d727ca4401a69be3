// Parameter registry, storage and get/set on both levels.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "base/env.hpp"
#include "base/model.hpp"
#include "base/param_access.hpp"
#include "torva.h"
#include "base/model_fixture.hpp"

namespace {

using torva::kParamCount;
using torva::kParamTable;
using torva::ParamType;

using ParamFixture = torva_test::ModelFixture;

// ------------------------------------------------------------- registry

TEST(ParamRegistry, EveryNameResolvesToItsIdentifierAndSize) {
  std::set<int> ids;
  for (const auto& d : kParamTable) {
    const torva::ParamDef* byName = torva::findParamByName(d.name);
    ASSERT_NE(byName, nullptr) << d.name;
    EXPECT_EQ(byName->id, d.id);
    EXPECT_TRUE(ids.insert(d.id).second) << "duplicate id " << d.id;
    int size = torva::paramValueSize(d);
    if (std::strncmp(d.name, "QX_IPARAM_", 10) == 0) EXPECT_EQ(size, 4) << d.name;
    else EXPECT_EQ(size, 8) << d.name;
  }
  EXPECT_EQ(torva::findParamByName("QX_IPARAM_LP_PRINTLEVELX"), nullptr);
  EXPECT_EQ(torva::findParamByName("qx_iparam_lp_printlevel"), nullptr);
  EXPECT_EQ(torva::findParam(1028), nullptr);
  EXPECT_EQ(torva::findParam(-1), nullptr);
  EXPECT_EQ(torva::findParam(100000), nullptr);
}

TEST(ParamRegistry, DefaultsLieInsideReportedRanges) {
  for (const auto& d : kParamTable) {
    if (d.type == ParamType::Str) continue;
    double lo = 0, hi = 0;
    torva::paramRange(d, &lo, &hi);
    // Stated exceptions: the scaling default -1 lies outside the reported
    // 0..3, and a genetic-algorithm default below its minimum.
    if (d.id == QX_IPARAM_LP_SCALE || d.id == QX_IPARAM_GA_FILEOUT) continue;
    EXPECT_LE(lo, d.def) << d.name;
    EXPECT_GE(hi, d.def) << d.name;
  }
}

// ------------------------------------------------------------- defaults

TEST_F(ParamFixture, EveryDefaultReadsBackOnBothLevels) {
  for (const auto& d : kParamTable) {
    bool onEnv = (d.scope & torva::kScopeEnv) != 0;
    if (d.type == ParamType::Int) {
      int e = -12345, m = -12345;
      EXPECT_EQ(QXgetModelIntParameter(model, d.id, &m), 0) << d.name;
      EXPECT_EQ(m, static_cast<int>(d.def)) << d.name;
      if (onEnv) {
        EXPECT_EQ(QXgetEnvIntParameter(env, d.id, &e), 0) << d.name;
        EXPECT_EQ(e, static_cast<int>(d.def)) << d.name;
      } else {
        EXPECT_EQ(QXgetEnvIntParameter(env, d.id, &e), QXERR_INFO_NOT_AVAILABLE) << d.name;
      }
    } else if (d.type == ParamType::Dou) {
      double e = -12345, m = -12345;
      EXPECT_EQ(QXgetModelDouParameter(model, d.id, &m), 0) << d.name;
      EXPECT_EQ(m, d.def) << d.name;
      if (onEnv) {
        EXPECT_EQ(QXgetEnvDouParameter(env, d.id, &e), 0) << d.name;
        EXPECT_EQ(e, d.def) << d.name;
      } else {
        EXPECT_EQ(QXgetEnvDouParameter(env, d.id, &e), QXERR_INFO_NOT_AVAILABLE) << d.name;
      }
    }
  }
}

// A sample of stated defaults, written out independently of the registry:
// the odd values and bit masks where a slip in the table is likely.
TEST_F(ParamFixture, StatedDefaultsSpotCheck) {
  struct IntCase { int id; int value; };
  const IntCase ints[] = {
      {QX_IPARAM_LP_SCALE, -1},          {QX_IPARAM_LP_ITRLMT, 2147483647},
      {QX_IPARAM_LP_PRELEVEL, 126},      {QX_IPARAM_MIP_PRELEVEL, 3070},
      {QX_IPARAM_MIP_CUTLEVEL_TOP, 57342}, {QX_IPARAM_MIP_CUTLEVEL_TREE, 53246},
      {QX_IPARAM_NLP_XSMODE, 197152},    {QX_IPARAM_NLP_MSW_RG_SEED, 1019},
      {QX_IPARAM_VER_BUILD, 2438},       {QX_IPARAM_GA_POPSIZE, 200},
  };
  for (const auto& c : ints) {
    int v = -999;
    EXPECT_EQ(QXgetModelIntParameter(model, c.id, &v), 0) << c.id;
    EXPECT_EQ(v, c.value) << c.id;
  }
  struct DouCase { int id; double value; };
  const DouCase dous[] = {
      {QX_DPARAM_SOLVER_CUTOFFVAL, -1e30}, {QX_DPARAM_MIP_RELINTTOL, 8e-6},
      {QX_DPARAM_NLP_PSTEP_FINITEDIFF, 5e-7}, {QX_DPARAM_LP_AIJ_ZEROTOL, 2.22045e-16},
      {QX_DPARAM_IPM_TOL_REL_STEP, 0.9999}, {QX_DPARAM_MIP_PSEUDOCOST_WEIGT, 6.25},
      {QX_DPARAM_GA_TOL_ZERO, 1e-14},
  };
  for (const auto& c : dous) {
    double v = -999;
    EXPECT_EQ(QXgetModelDouParameter(model, c.id, &v), 0) << c.id;
    EXPECT_EQ(v, c.value) << c.id;
  }
}

// ------------------------------------------------------------- ranges

// Explicit rows, the default rule of a type without one (ints 0 to
// INT_MAX, doubles -1 to 1e30) and descriptor-driven rows.
TEST_F(ParamFixture, RangesReportExplicitRowsAndTheDefaultRule) {
  struct Case { int id; double lo, hi; };
  const Case ints[] = {{QX_IPARAM_LP_SCALE, 0, 3},         {QX_IPARAM_OBJSENSE, -1, 1},
                       {QX_IPARAM_STRING_LENLMT, 1, 256},  {QX_IPARAM_NLP_SOLVER, 4, 10},
                       {QX_IPARAM_COPY_MODE, 0, 2147483647}};
  for (const Case& c : ints) {
    int lo = 1, hi = 1;
    ASSERT_EQ(QXgetIntParameterRange(model, c.id, &lo, &hi), 0) << c.id;
    EXPECT_EQ(lo, c.lo) << c.id;
    EXPECT_EQ(hi, c.hi) << c.id;
  }
  const Case dous[] = {{QX_DPARAM_SOLVER_FEASTOL, 1e-16, 1e-4},  {QX_DPARAM_MIP_INTTOL, 1e-32, 0.49999999999999},
                       {QX_DPARAM_MIP_RELINTTOL, 1e-32, 0.4999999999}, {QX_DPARAM_CALLBACKFREQ, 0, 1e30},
                       {QX_DPARAM_MIP_PARA_INIT_NODE, -1, 1e30},   {QX_DPARAM_GA_INF, 1e10, 1e30}};
  for (const Case& c : dous) {
    double lo = 1, hi = 1;
    ASSERT_EQ(QXgetDouParameterRange(model, c.id, &lo, &hi), 0) << c.id;
    EXPECT_EQ(lo, c.lo) << c.id;
    EXPECT_EQ(hi, c.hi) << c.id;
  }
}

TEST_F(ParamFixture, RangeQueriesCheckTheirArguments) {
  int lo = 7, hi = 7;
  EXPECT_EQ(QXgetIntParameterRange(nullptr, QX_IPARAM_LP_SCALE, &lo, &hi),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(lo, 0);  // zeroed first
  EXPECT_EQ(hi, 0);
  EXPECT_EQ(QXgetIntParameterRange(model, 1028, &lo, &hi), QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXgetIntParameterRange(model, QX_DPARAM_SOLVER_FEASTOL, &lo, &hi),
            QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXgetIntParameterRange(model, QX_IPARAM_LP_SCALE, nullptr, &hi), 0);
  EXPECT_EQ(hi, 3);
  EXPECT_EQ(QXgetIntParameterRange(model, QX_IPARAM_LP_SCALE, &lo, nullptr), 0);
  EXPECT_EQ(lo, 0);
  double dlo = 7;
  EXPECT_EQ(QXgetDouParameterRange(model, QX_IPARAM_LP_SCALE, &dlo, nullptr),
            QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(dlo, 0);
}

// ------------------------------------------------------------- set and get rules

TEST_F(ParamFixture, FeasibilityToleranceIsValidated) {
  double v = 0;
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, 1e-20),
            QXERR_PARAMETER_OUT_OF_RANGE);
  ASSERT_EQ(QXgetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, &v), 0);
  EXPECT_EQ(v, 1e-7);
  // Outside the reported range but harmless: stored.
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, 1e-3), 0);
  ASSERT_EQ(QXgetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, &v), 0);
  EXPECT_EQ(v, 1e-3);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_SOLVER_FEASTOL, std::nan("")),
            QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetEnvDouParameter(env, QX_DPARAM_SOLVER_FEASTOL, 0.0),
            QXERR_PARAMETER_OUT_OF_RANGE);
}

TEST_F(ParamFixture, ObjectiveSenseAcceptsOnlyMinAndMax) {
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, 0), QXERR_BAD_OBJECTIVE_SENSE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, 2), QXERR_BAD_OBJECTIVE_SENSE);
  // Pretend an optimiser left a solution on a loaded model.
  model->status = 1;
  model->lpSolution.emplace();
  model->mipSolution.emplace();
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, QX_MAX), 0);
  EXPECT_EQ(model->data.objSense, QX_MAX);
  EXPECT_FALSE(model->lpSolution.has_value());
  EXPECT_FALSE(model->mipSolution.has_value());
  EXPECT_EQ(model->status, QX_STATUS_LOADED);
  int sense = 0;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, -1);
  // Setting the same sense again keeps a solution.
  model->lpSolution.emplace();
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_OBJSENSE, QX_MAX), 0);
  EXPECT_TRUE(model->lpSolution.has_value());
  // The sense is a model parameter only.
  EXPECT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_OBJSENSE, -1), QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_OBJSENSE, &sense), QXERR_INFO_NOT_AVAILABLE);
}

TEST_F(ParamFixture, ObjectiveSenseReadsTheModelData) {
  model->data.objSense = QX_MAX;  // as a load of a maximisation model leaves it
  int sense = 0;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_OBJSENSE, &sense), 0);
  EXPECT_EQ(sense, QX_MAX);
}

TEST_F(ParamFixture, ReadOnlyAndUnsupportedParameters) {
  EXPECT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_VER_MAJOR, 3), QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_VER_NUMBER, 3), QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_LP_INFINITY, 1e20),
            QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_IIS_NUM_THREADS, 2), QXERR_NOT_SUPPORTED);
  EXPECT_EQ(QXsetEnvDouParameter(env, QX_DPARAM_GOP_PEROPTTOL, 0.1), QXERR_NOT_SUPPORTED);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_GOP_AOPTTIMLIM, 10), QXERR_NOT_SUPPORTED);
  int v = 0;
  EXPECT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_VER_BUILD, &v), 0);
  EXPECT_EQ(v, QX_VERSION_BUILD);
}

TEST_F(ParamFixture, UnknownIdentifiersAndWrongTypes) {
  int i = 0;
  double d = 0;
  EXPECT_EQ(QXsetModelIntParameter(model, 1028, 1), QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXsetEnvDouParameter(env, 99999, 1), QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXgetModelIntParameter(model, -4, &i), QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXgetEnvDouParameter(env, 8528, &d), QXERR_INVALID_PARAMETER_ID);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_DPARAM_SOLVER_FEASTOL, 1), QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_IPARAM_LP_PRINTLEVEL, 1), QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXgetModelIntParameter(model, QX_DPARAM_SOLVER_FEASTOL, &i), QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXgetModelDouParameter(model, QX_IPARAM_GA_SEED, &d), QXERR_UNABLE_TO_SET_PARAM);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_SPARAM_STOC_FMT_NODE_NAME, 1),
            QXERR_UNABLE_TO_SET_PARAM);
}

TEST_F(ParamFixture, NullArgumentsGive2010) {
  int i = 0;
  double d = 0;
  EXPECT_EQ(QXsetModelIntParameter(nullptr, QX_IPARAM_LP_PRINTLEVEL, 1), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetModelDouParameter(nullptr, QX_DPARAM_SOLVER_FEASTOL, 1e-6),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetModelDouParameter(nullptr, QX_DPARAM_SOLVER_FEASTOL, &d),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetEnvIntParameter(nullptr, QX_IPARAM_LP_PRINTLEVEL, 1), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_LP_PRINTLEVEL, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetEnvDouParameter(nullptr, QX_DPARAM_SOLVER_FEASTOL, &d),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetModelParameter(model, QX_IPARAM_LP_PRINTLEVEL, nullptr),
            QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXgetEnvParameter(env, QX_IPARAM_LP_PRINTLEVEL, nullptr), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXsetEnvParameter(nullptr, QX_IPARAM_LP_PRINTLEVEL, &i), QXERR_ILLEGAL_NULL_POINTER);
}

TEST_F(ParamFixture, SetterRulesAcceptWhatSolversTolerate) {
  // LP_SCALE reports 0..3 but the setter also accepts -1.
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_SCALE, -1), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_SCALE, 3), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_SCALE, 4), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_SCALE, -2), QXERR_PARAMETER_OUT_OF_RANGE);
  // Levels and counts: not below their minimum, no upper test.
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, -1),
            QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_ITRLMT, -1), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_LP_ITRLMT, -2), QXERR_PARAMETER_OUT_OF_RANGE);
  // Method codes stay inside their list.
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_SOLVER, 11), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_SOLVER, 3), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_SOLVER, 9), 0);
  // Values the solvers themselves reject at run time pass the setter.
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_MIP_PREHEU_LEVEL, 4), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_MIP_CONCURRENT_STRATEGY, 2), 0);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_CALLBACKFREQ, -1.0), 0);
  // Half-integral tolerance.
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_MIP_INTTOL, 0.5), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_MIP_INTTOL, 1e-9), 0);
  // Rejected values leave the old one.
  int v = 0;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_LP_SCALE, &v), 0);
  EXPECT_EQ(v, 3);
}

TEST_F(ParamFixture, ModelOnlyParametersAreRefusedOnTheEnvironment) {
  EXPECT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_STRING_LENLMT, 30), QXERR_UNABLE_TO_SET_PARAM);
  int v = 0;
  EXPECT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_STRING_LENLMT, &v), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_STRING_LENLMT, 30), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_STRING_LENLMT, 257),
            QXERR_PARAMETER_OUT_OF_RANGE);
  double d = 0;
  EXPECT_EQ(QXgetEnvDouParameter(env, QX_DPARAM_OBJPRINTMUL, &d), QXERR_INFO_NOT_AVAILABLE);
}

TEST_F(ParamFixture, MipCutoffMarksThatACutoffWasGiven) {
  EXPECT_FALSE(model->params.mipCutoffGiven);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_MIP_CUTOFFOBJ, 42.0), 0);
  EXPECT_TRUE(model->params.mipCutoffGiven);
  EXPECT_EQ(model->params.douValue(QX_DPARAM_MIP_CUTOFFOBJ), 42.0);
}

TEST_F(ParamFixture, UntypedSetAndGetFollowTheParameterType) {
  int i = 3;
  double d = 2.5e-6;
  ASSERT_EQ(QXsetModelParameter(model, QX_IPARAM_LP_PRINTLEVEL, &i), 0);
  ASSERT_EQ(QXsetEnvParameter(env, QX_DPARAM_MIP_INTTOL, &d), 0);
  int iout = 0;
  double dout = 0;
  ASSERT_EQ(QXgetModelParameter(model, QX_IPARAM_LP_PRINTLEVEL, &iout), 0);
  EXPECT_EQ(iout, 3);
  ASSERT_EQ(QXgetEnvParameter(env, QX_DPARAM_MIP_INTTOL, &dout), 0);
  EXPECT_EQ(dout, 2.5e-6);
  EXPECT_EQ(QXgetModelParameter(model, 1028, &iout), QXERR_INVALID_PARAMETER_ID);
  // String parameters of the stochastic group.
  char name[] = "NODE_%d";
  ASSERT_EQ(QXsetModelParameter(model, QX_SPARAM_STOC_FMT_NODE_NAME, name), 0);
  char out[256] = "x";
  ASSERT_EQ(QXgetModelParameter(model, QX_SPARAM_STOC_FMT_NODE_NAME, out), 0);
  EXPECT_STREQ(out, "NODE_%d");
  ASSERT_EQ(QXgetModelParameter(model, QX_SPARAM_STOC_FMT_SCENARIO_NAME, out), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(model->params.strValue(QX_SPARAM_STOC_FMT_NODE_NAME), "NODE_%d");
  std::string tooLong(300, 'a');
  EXPECT_EQ(QXsetEnvParameter(env, QX_SPARAM_STOC_FMT_SCENARIO_NAME, tooLong.data()),
            QXERR_PARAMETER_OUT_OF_RANGE);
}

// ------------------------------------------------------------- levels

TEST_F(ParamFixture, ModelsStartFromTheEnvironmentAtCreation) {
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_LP_PRINTLEVEL, 2), 0);
  ASSERT_EQ(QXsetEnvDouParameter(env, QX_DPARAM_MIP_RELOPTTOL, 1e-4), 0);
  ASSERT_EQ(QXsetEnvIntParameter(env, QX_IPARAM_GA_POPSIZE, 50), 0);
  int err = 0;
  QXmodel later = QXcreateModel(env, &err);
  ASSERT_EQ(err, 0);
  int v = -1;
  double d = 0;
  ASSERT_EQ(QXgetModelIntParameter(later, QX_IPARAM_LP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 2);
  ASSERT_EQ(QXgetModelDouParameter(later, QX_DPARAM_MIP_RELOPTTOL, &d), 0);
  EXPECT_EQ(d, 1e-4);
  ASSERT_EQ(QXgetModelIntParameter(later, QX_IPARAM_GA_POPSIZE, &v), 0);
  EXPECT_EQ(v, 50);
  // The model created before the change keeps the defaults.
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_LP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 0);
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_GA_POPSIZE, &v), 0);
  EXPECT_EQ(v, 200);
  // Model changes never reach the environment.
  ASSERT_EQ(QXsetModelIntParameter(later, QX_IPARAM_LP_PRINTLEVEL, 5), 0);
  ASSERT_EQ(QXgetEnvIntParameter(env, QX_IPARAM_LP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 2);
  // A copied model takes the source's values.
  QXmodel copy = QXcopyModel(later, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(QXgetModelIntParameter(copy, QX_IPARAM_LP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 5);
}

// ------------------------------------------------------------- genetic algorithm

TEST_F(ParamFixture, GeneticAlgorithmRecordsFollowTheirDescriptors) {
  // The default is accepted even below the minimum.
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_FILEOUT, 0), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_FILEOUT, -1), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_FILEOUT, 3), 0);
  EXPECT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_SSPACE, 5), QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_GA_CXOVER_PROB, 1.5),
            QXERR_PARAMETER_OUT_OF_RANGE);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_DPARAM_GA_CXOVER_PROB, 0.25), 0);
  EXPECT_EQ(QXsetModelDouParameter(model, QX_IPARAM_GA_SEED, 5.0), QXERR_UNABLE_TO_SET_PARAM);
  double d = 0;
  ASSERT_EQ(QXgetModelDouParameter(model, QX_DPARAM_GA_CXOVER_PROB, &d), 0);
  EXPECT_EQ(d, 0.25);
  // Ints are stored as doubles and truncated toward zero when read.
  int idx = torva::gaParamIndex(QX_IPARAM_GA_OBJDIR);
  ASSERT_GE(idx, 0);
  model->params.ga[idx] = -0.7;
  int v = 5;
  ASSERT_EQ(QXgetModelIntParameter(model, QX_IPARAM_GA_OBJDIR, &v), 0);
  EXPECT_EQ(v, 0);
  model->params.ga[torva::gaParamIndex(QX_IPARAM_GA_NGEN)] = 7.9;
  EXPECT_EQ(model->params.intValue(QX_IPARAM_GA_NGEN), 7);
}

TEST_F(ParamFixture, CopyParamCopiesTheChosenGroup) {
  int err = 0;
  QXmodel target = QXcreateModel(env, &err);
  ASSERT_EQ(err, 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_MIP_PRINTLEVEL, 4), 0);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_NGEN, 9), 0);
  int v = 0;
  // Modes other than <1 and 12 do nothing.
  EXPECT_EQ(QXcopyParam(model, target, 5), 0);
  ASSERT_EQ(QXgetModelIntParameter(target, QX_IPARAM_MIP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 2);
  EXPECT_EQ(QXcopyParam(model, target, 0), 0);
  ASSERT_EQ(QXgetModelIntParameter(target, QX_IPARAM_MIP_PRINTLEVEL, &v), 0);
  EXPECT_EQ(v, 4);
  ASSERT_EQ(QXgetModelIntParameter(target, QX_IPARAM_GA_NGEN, &v), 0);
  EXPECT_EQ(v, 500);
  EXPECT_EQ(QXcopyParam(model, target, 12), 0);
  ASSERT_EQ(QXgetModelIntParameter(target, QX_IPARAM_GA_NGEN, &v), 0);
  EXPECT_EQ(v, 9);
  ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_GA_NGEN, 11), 0);
  EXPECT_EQ(QXcopyGAParam(model, target), 0);
  ASSERT_EQ(QXgetModelIntParameter(target, QX_IPARAM_GA_NGEN, &v), 0);
  EXPECT_EQ(v, 11);
  EXPECT_EQ(QXcopyParam(nullptr, target, 0), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXcopyGAParam(model, nullptr), QXERR_ILLEGAL_NULL_POINTER);
}

TEST(ParamSetAccessors, TypedReadsAndWritesForSolvers) {
  torva::ParamSet ps;
  EXPECT_EQ(ps.intValue(QX_IPARAM_MIP_PRINTLEVEL), 2);
  EXPECT_EQ(ps.douValue(QX_DPARAM_CALLBACKFREQ), 0.5);
  ps.storeInt(QX_IPARAM_LP_PRELEVEL, 0);
  EXPECT_EQ(ps.intValue(QX_IPARAM_LP_PRELEVEL), 0);
  ps.storeDou(QX_DPARAM_SOLVER_FEASTOL, 1e-9);
  EXPECT_EQ(ps.douValue(QX_DPARAM_SOLVER_FEASTOL), 1e-9);
  // Conversions between the two kinds.
  EXPECT_EQ(ps.douValue(QX_IPARAM_MIP_PRINTLEVEL), 2.0);
  EXPECT_EQ(ps.intValue(QX_DPARAM_LP_BNDINF), 2147483647);
  EXPECT_EQ(ps.intValue(QX_DPARAM_MIP_AOPTTIMLIM), 100);
  // Unknown identifiers read 0 and writes to them are ignored.
  ps.storeInt(1028, 5);
  EXPECT_EQ(ps.intValue(1028), 0);
  EXPECT_EQ(ps.strValue(QX_IPARAM_LP_PRELEVEL), "");
}

}  // namespace
