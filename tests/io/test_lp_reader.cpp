// LP text reader: files in other tools' conventions, bound forms, section
// keywords, malformed input.
#include <string>

#include "text_test_util.hpp"

namespace {

using texttest::Env;

// Written the way other modelling tools write LP files: a comment header,
// labels, rows over several lines, signs at line ends, every bound form.
constexpr const char* kToolStyle =
    "\\ Problem name: tool_style\n"
    "\\ written by some other tool\n"
    "Maximize\n"
    " obj: 3 x1 + 2 x2\n"
    "    - - x3 + 0 x4 + 1.5e+00 x(5)\n"
    "Subject To\n"
    " c1: x1 + x2 +\n"
    "     x3 <= 4\n"
    " c2: x1 - x2 >= -2   \\ trailing comment\n"
    " -x1 + 3x3 = 1\n"
    " c4:\n"
    "  2 x2 + x4\n"
    "  =>\n"
    "  -inf\n"
    " c5: x1 + 0 x3 >= 0\n"
    "Bounds\n"
    " -inf <= x1 <= 10\n"
    " x2 free\n"
    " 2 <= x3\n"
    " x3 <= 5\n"
    " x4 = 3\n"
    " -1 <= x(5) <= +infinity\n"
    " 7 >= x2\n"
    " ghost <= 4\n"
    "General\n"
    " x3\n"
    "Binaries\n"
    " x4 ghost\n"
    "SOS\n"
    " s1: S1:: x1:1 x2:2\n"
    "End\n"
    "this line is never read: +-*/ <<\n";

TEST(LpRead, OtherToolConventions) {
  Env e;
  ASSERT_EQ(texttest::readLp(e, kToolStyle), 0);
  const auto& d = e.data();
  ASSERT_EQ(d.m, 5);
  ASSERT_EQ(d.n, 5);
  EXPECT_EQ(d.objSense, QX_MAX);
  const int x1 = texttest::col(e, "x1"), x2 = texttest::col(e, "x2"), x3 = texttest::col(e, "x3"),
            x4 = texttest::col(e, "x4"), x5 = texttest::col(e, "x(5)");
  ASSERT_GE(x5, 0);
  EXPECT_EQ(d.cost[x3], 1.0);  // "- -" folds to a plus
  EXPECT_EQ(d.cost[x5], 1.5);
  EXPECT_EQ(std::string(d.conType.begin(), d.conType.end()), "LGEGG");
  EXPECT_EQ(texttest::row(e, "R0000002"), 2);
  EXPECT_EQ(texttest::row(e, "c4"), 3);
  EXPECT_EQ(d.rhs[1], -2.0);
  EXPECT_EQ(d.rhs[3], -1e30);
  EXPECT_EQ(texttest::entry(e, 0, x3), 1.0);
  EXPECT_EQ(texttest::entry(e, 2, x3), 3.0);
  EXPECT_EQ(texttest::entry(e, 3, x4), 1.0);
  EXPECT_EQ(d.colLen[x3], 2);  // the zero coefficient in c5 adds no entry
  EXPECT_EQ(d.lower[x1], -1e30);
  EXPECT_EQ(d.upper[x1], 10.0);
  EXPECT_EQ(d.lower[x2], -1e30);
  EXPECT_EQ(d.upper[x2], 7.0);
  EXPECT_EQ(d.lower[x3], 2.0);
  EXPECT_EQ(d.upper[x3], 5.0);
  EXPECT_EQ(d.varType[x3], 'I');
  EXPECT_EQ(d.lower[x5], -1.0);
  EXPECT_EQ(d.upper[x5], 1e30);
  // Binaries after bounds: x4 = 3 becomes [0, 1].
  EXPECT_EQ(d.varType[x4], 'B');
  EXPECT_EQ(d.lower[x4], 0.0);
  EXPECT_EQ(d.upper[x4], 1.0);
  EXPECT_TRUE(e.logged("\nBounds: Ignoring unknown variable at line 24."));
  EXPECT_TRUE(e.logged("\nBinaries: Ignoring unknown variable at line 28."));
  EXPECT_TRUE(e.logged("\nSOS: Ignoring unknown tags at line 30. "));
  EXPECT_TRUE(e.logged("\nProcessed 31 lines in LP format."));
}

TEST(LpRead, SenseKeywords) {
  struct Case {
    const char* head;
    int rc;
  };
  const Case cases[] = {{"MIN", 0},           {"Min", 0},      {"minim", 0},  {"minimize", 0},
                        {"MAXIMIZE", 0},      {"minimise", QXERR_ERROR_IN_INPUT},
                        {"minimum", QXERR_ERROR_IN_INPUT}, {"obj: x", QXERR_ERROR_IN_INPUT}};
  for (const Case& c : cases) {
    Env e;
    const std::string text = std::string(c.head) + "\n x + y\nsuch  that\n x + y >= 1\nend\n";
    EXPECT_EQ(texttest::readLp(e, text), c.rc) << c.head;
  }
}

TEST(LpRead, MissingEndStillLoads) {
  Env e;
  ASSERT_EQ(texttest::readLp(e, "min x\ns.t.\nx >= 1\nbounds\nx <= 3\n"), 0);
  EXPECT_TRUE(e.logged("\nMissing token 'END'"));
  EXPECT_EQ(e.data().upper[0], 3.0);
}

TEST(LpRead, MalformedInputGivesCodeAndLine) {
  struct Case {
    const char* text;
    int code;
    int line;
  };
  const std::string longLine = "min\n" + std::string(1025, 'x') + "\n";
  const Case cases[] = {
      {"min x\nst\nx + y >= z\nend\n", QXERR_ERROR_IN_INPUT, 3},
      {"min x\nst\n2 3 x >= 1\nend\n", QXERR_ERROR_IN_INPUT, 3},
      {"min x\nst\nx >= 1\nbounds\nx <= inf\nend\n", QXERR_ERROR_IN_INPUT, 5},
      {"min x\nst\nc1: x + y\nbounds\nx <= 1\nend\n", QXERR_ERROR_IN_INPUT, 4},
      {"min x >= 2\nend\n", QXERR_ERROR_IN_INPUT, 1},
      {longLine.c_str(), QXERR_BAD_MPS_FILE, 2},
  };
  for (const Case& c : cases) {
    Env e;
    EXPECT_EQ(texttest::readLp(e, c.text), c.code) << c.text;
    texttest::expectErrorAt(e, c.line, c.text);
  }
  Env e;
  EXPECT_EQ(QXreadLPStream(e.model, "min x", 0), QXERR_BAD_MPS_FILE);
  EXPECT_TRUE(e.logged("\nLP stream is too short."));
  EXPECT_EQ(QXreadLPFile(e.model, "/nonexistent/model.lp"), QXERR_CANNOT_OPEN_FILE);
}

}  // namespace
