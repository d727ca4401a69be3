// Load calls on an instruction-list model, the nonlinear counts of
// QXgetInfo, and the values and names of stochastic parameters.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "nlp_fixture.hpp"

namespace torva_test {
namespace {

using ModelCallsTest = NlpFixture;

TEST_F(ModelCallsTest, LoadCallsReachTheList) {
  // min x0 x1 + x2 s.t. x0 + x2 = 0.
  ASSERT_EQ(load(3, {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MULTIPLY, EP_PUSH_VAR, 2, EP_PLUS},
                     {EP_PUSH_VAR, 0, EP_PUSH_VAR, 2, EP_PLUS}}),
            0);
  ASSERT_EQ(QXloadVarType(model, "CIB"), 0);
  char types[4] = {};
  ASSERT_EQ(QXgetInstruct(model, nullptr, nullptr, types, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr),
            0);
  EXPECT_STREQ(types, "CIB");
  // The Jacobian without a point is taken at the start point.
  const double start[] = {2, 3, 0};
  ASSERT_EQ(QXloadVarStartPoint(model, start), 0);
  int start2[4], index[8];
  double value[8];
  ASSERT_EQ(QXgetJac(model, nullptr, nullptr, start2, index, value, nullptr), 0);
  EXPECT_EQ(value[0], 3);  // d/dx0 = x1
  EXPECT_EQ(value[1], 2);  // d/dx1 = x0
  const int sc = 0;
  const double scLo = 1, scUp = 4;
  EXPECT_EQ(QXloadSemiContData(model, 1, &sc, &scLo, &scUp), 0);
  // Quadratic and conic data cannot join an instruction list.
  const int r = 0, c = 1;
  const double q = 1;
  EXPECT_EQ(QXloadQCData(model, 1, &r, &c, &c, &q), QXERR_MODEL_ALREADY_LOADED);
  const int beg[] = {0, 2}, cols[] = {0, 1};
  EXPECT_EQ(QXloadConeData(model, 1, "Q", beg, cols), QXERR_MODEL_ALREADY_LOADED);
}

TEST_F(ModelCallsTest, NonlinearCountsAndStochasticValues) {
  ASSERT_EQ(load(4,
                 {{EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_MULTIPLY, EP_PUSH_NUM, 0, EP_PUSH_VAR, 2, EP_MULTIPLY, EP_PLUS},
                  {EP_PUSH_VAR, 2, EP_PUSH_NUM, 1, EP_DIVIDE, EP_PUSH_VAR, 3, EP_EXP, EP_PLUS},
                  {EP_PUSH_VAR, 0, EP_PUSH_SPAR, 1, EP_PUSH_VAR, 1, EP_MULTIPLY, EP_PLUS},
                  {EP_PUSH_VAR, 0, EP_PUSH_VAR, 1, EP_PUSH_VAR, 2, EP_IF}},
                 {3.0, 2.0}),
            0);
  // x0 x1 + 3 x2 | x2 / 2 + exp(x3) | x0 + s1 x1 | if(x0, x1, x2)
  const struct {
    int item, expected;
  } items[] = {{QX_IINFO_NUM_NLPOBJ_NONZ, 2}, {QX_IINFO_NUM_NLP_NONZ, 4}, {QX_IINFO_NUM_NLP_CONS, 2},
               {QX_IINFO_NUM_NLP_VARS, 4},    {QX_IINFO_NUM_SPARS, 2}};
  for (const auto& it : items) {
    int v = -1;
    EXPECT_EQ(QXgetInfo(model, it.item, &v), 0);
    EXPECT_EQ(v, it.expected) << it.item;
  }
  const std::vector<double> x = {1, 2, 3, 4};
  EXPECT_EQ(value(1, x), 1);  // parameters are 0 until set
  const double s[] = {5, 7};
  ASSERT_EQ(QXsetStocParValues(model, 2, s), 0);
  EXPECT_EQ(value(1, x), 1 + 7 * 2);
  EXPECT_EQ(gradient(1, x)[1], 7);
  int n = 0;
  double back[2];
  ASSERT_EQ(QXgetStocParValues(model, &n, back), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(back[1], 7);
  const double three[] = {1, 2, 3};
  EXPECT_EQ(QXsetStocParValues(model, 3, three), QXERR_INDEX_OUT_OF_RANGE);
}

TEST_F(ModelCallsTest, StochasticParametersByNameInMpiFiles) {
  const std::string in = tmpPath("spar.mpi"), out = tmpPath("spar_out.mpi");
  std::ofstream(in) << "BEGINMODEL t\nVARIABLES\n x 0 1 5 C\nOBJECTIVES\n OBJ MINIMIZE\n"
                       "    EP_PUSH_SPAR demand\n    EP_PUSH_VAR x\n    EP_MULTIPLY\n"
                       "    EP_PUSH_SPAR SP000001\n    EP_PLUS\nENDMODEL\n";
  ASSERT_EQ(QXreadMPIFile(model, in.c_str()), 0);
  int n = 0;
  ASSERT_EQ(QXgetStocParValues(model, &n, nullptr), 0);
  EXPECT_EQ(n, 3);  // SP000001 is parameter 1, demand the next one
  const double s[] = {0, 10, 4};
  ASSERT_EQ(QXsetStocParValues(model, 3, s), 0);
  EXPECT_EQ(value(-1, {2}), 4 * 2 + 10);
  ASSERT_EQ(QXwriteMPIFile(model, out.c_str()), 0);
  std::stringstream text;
  text << std::ifstream(out).rdbuf();
  EXPECT_NE(text.str().find("EP_PUSH_SPAR demand"), std::string::npos);
  EXPECT_NE(text.str().find("EP_PUSH_SPAR SP000001"), std::string::npos);
  std::remove(in.c_str());
  std::remove(out.c_str());
}

int cube(QXmodel, int nargs, const double* args, void*, double* result) {
  *result = nargs == 1 ? args[0] * args[0] * args[0] : 0;
  return 0;
}

TEST_F(ModelCallsTest, UserFunctionPartialsFollowTheDifferenceRule) {
  // d/dx0 of x0^3 x1 at (1, 2) with step h: 2 (3 + 3h + h^2) forward,
  // 2 (3 - 3h + h^2) backward, 2 (3 + h^2) central, whether the reverse sweep
  // takes the host's partial as the rule gives it or the whole row is
  // differenced; d/dx1 is 1 either way (x0 is restored before x1 moves).
  ASSERT_EQ(load(2, {{EP_PUSH_VAR, 0, EP_USER, 1, EP_PUSH_VAR, 1, EP_MULTIPLY}}), 0);
  ASSERT_EQ(QXsetUsercalc(model, cube, nullptr), 0);
  const double h = 1e-3;
  ASSERT_EQ(QXsetModelDouParameter(model, QX_DPARAM_NLP_PSTEP_FINITEDIFF, h), 0);
  const struct {
    int type;
    double slope;
  } rules[] = {{QX_DERIV_FORWARD_DIFFERENCE, 3 + 3 * h + h * h},
               {QX_DERIV_BACKWARD_DIFFERENCE, 3 - 3 * h + h * h},
               {QX_DERIV_CENTER_DIFFERENCE, 3 + h * h},
               {QX_DERIV_FREE, 3 + h * h}};
  for (int autoDeriv : {2, 0}) {
    ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_AUTODERIV, autoDeriv), 0);
    for (const auto& r : rules) {
      ASSERT_EQ(QXsetModelIntParameter(model, QX_IPARAM_NLP_DERIV_DIFFTYPE, r.type), 0);
      const std::vector<double> g = gradient(-1, {1.0, 2.0});
      EXPECT_NEAR(g[0], 2 * r.slope, 1e-9) << r.type << " sweep " << autoDeriv;
      EXPECT_NEAR(g[1], 1.0, 1e-9) << r.type << " sweep " << autoDeriv;
    }
  }
}

}  // namespace
}  // namespace torva_test
