// MPS reader on text held in memory: sections, formats, bounds, markers,
// ranges, quadratic and cone sections, and the error reports.
#include <gtest/gtest.h>

#include <string>

#include "mps_test_util.hpp"
#include "torva.h"

namespace {

using mpstest::parse;
using torva::kMpsFixed;
using torva::kMpsFixedCompat;
using torva::kMpsFree;
using torva::kMpsFreeCompat;

const char* const kSmall =
    "NAME          SMALL\n"
    "ROWS\n"
    " N  COST\n"
    " L  LIM1\n"
    " G  LIM2\n"
    " E  MYEQN\n"
    "COLUMNS\n"
    "    X1        COST                1.   LIM1                1.\n"
    "    X1        LIM2                1.\n"
    "    X2        COST                2.   LIM1                1.\n"
    "    X2        MYEQN              -1.\n"
    "    X3        COST               -1.   MYEQN               1.\n"
    "RHS\n"
    "    RHS       LIM1                4.   LIM2                1.\n"
    "    RHS       MYEQN               7.\n"
    "BOUNDS\n"
    " UP BND       X1                  4.\n"
    " LO BND       X2                 -1.\n"
    " UP BND       X2                  1.\n"
    "ENDATA\n";

TEST(MpsReader, ReadsASmallModelInBothFormats) {
  for (int format : {kMpsFixed, kMpsFree}) {
    auto p = parse(kSmall, format);
    ASSERT_EQ(p.result.error, 0) << format << " line " << p.result.errorLine << ": " << p.result.errorText;
    const auto& d = p.data;
    EXPECT_EQ(d.title, "SMALL");
    EXPECT_EQ(d.objName, "COST");
    EXPECT_EQ(d.rhsName, "RHS");
    EXPECT_EQ(d.bndName, "BND");
    EXPECT_EQ(d.m, 3);
    EXPECT_EQ(d.n, 3);
    EXPECT_EQ(d.objSense, 1);
    EXPECT_EQ(d.conTypes, "LGE");
    EXPECT_EQ(d.cost, (std::vector<double>{1, 2, -1}));
    EXPECT_EQ(d.rhs, (std::vector<double>{4, 1, 7}));
    EXPECT_EQ(d.colBeg, (std::vector<int>{0, 2, 4, 5}));
    EXPECT_EQ(d.rowIdx, (std::vector<int>{0, 1, 0, 2, 2}));
    EXPECT_EQ(d.coef, (std::vector<double>{1, 1, 1, -1, 1}));
    EXPECT_EQ(d.lower, (std::vector<double>{0, -1, 0}));
    EXPECT_EQ(d.upper, (std::vector<double>{4, 1, 1e30}));
    EXPECT_TRUE(d.varTypes.empty());
    EXPECT_EQ(d.rowNames, (std::vector<std::string>{"LIM1", "LIM2", "MYEQN"}));
    EXPECT_EQ(d.colNames, (std::vector<std::string>{"X1", "X2", "X3"}));
    EXPECT_EQ(p.result.lines, 20);
  }
}

TEST(MpsReader, ObjectiveSense) {
  const std::string body =
      "ROWS\n N  obj\n L  c1\nCOLUMNS\n    x  obj  1  c1  1\nRHS\nENDATA\n";
  auto minimise = parse("NAME t\n" + body, kMpsFree);
  ASSERT_EQ(minimise.result.error, 0);
  EXPECT_EQ(minimise.data.objSense, 1);
  auto maximise = parse("NAME t\nOBJSENSE\n    MAX\n" + body, kMpsFree);
  ASSERT_EQ(maximise.result.error, 0);
  EXPECT_EQ(maximise.data.objSense, -1);
  auto explicitMin = parse("NAME t\nOBJSENSE\n    MIN\nROWS\n N  obj\nCOLUMNS\nENDATA\n", kMpsFixed);
  ASSERT_EQ(explicitMin.result.error, 0);
  EXPECT_EQ(explicitMin.data.objSense, 1);
  // ROWS before a sense is given, and an unknown sense word.
  EXPECT_EQ(parse("NAME t\nOBJSENSE\n" + body, kMpsFree).result.error, QXERR_BAD_MPS_FILE);
  EXPECT_EQ(parse("NAME t\nOBJSENSE\n    UP\n" + body, kMpsFree).result.error, QXERR_BAD_MPS_FILE);
}

const char* const kTwoObjectives =
    "NAME t\nROWS\n N  obj\n N  other\n L  c1\nCOLUMNS\n"
    "    x  obj  1  other  5\n    x  c1  1\n    y  other  2  c1  1\n"
    "RHS\n    rhs  c1  4  other  3\nENDATA\n";

TEST(MpsReader, SecondFreeRowDroppedKeptOrChosen) {
  auto dropped = parse(kTwoObjectives, kMpsFree);
  ASSERT_EQ(dropped.result.error, 0);
  EXPECT_EQ(dropped.data.m, 1);
  EXPECT_EQ(dropped.data.cost, (std::vector<double>{1, 0}));
  EXPECT_EQ(dropped.data.rowIdx, (std::vector<int>{0, 0}));
  EXPECT_EQ(dropped.data.objName, "obj");

  auto kept = parse(kTwoObjectives, kMpsFree, 0, true);
  ASSERT_EQ(kept.result.error, 0);
  EXPECT_EQ(kept.data.m, 2);
  EXPECT_EQ(kept.data.conTypes, "NL");
  EXPECT_EQ(kept.data.rowNames, (std::vector<std::string>{"other", "c1"}));
  EXPECT_EQ(kept.data.rhs, (std::vector<double>{3, 4}));
  EXPECT_EQ(kept.data.colBeg, (std::vector<int>{0, 2, 4}));

  auto second = parse(kTwoObjectives, kMpsFree, 1);
  ASSERT_EQ(second.result.error, 0);
  EXPECT_EQ(second.data.objName, "other");
  EXPECT_EQ(second.data.cost, (std::vector<double>{5, 2}));
  EXPECT_EQ(second.data.m, 1);
}

TEST(MpsReader, RhsOnObjectiveIsMinusConstantAndWarns) {
  auto p = parse("NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n    x  obj  1  c1  1\n"
                 "RHS\n    rhs  obj  5\nENDATA\n",
                 kMpsFree, 0, false, 1);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.objConst, -5.0);
  ASSERT_FALSE(p.log.empty());
  EXPECT_NE(p.log.back().find("MPS Warning: Objective function has a constant term of -5\n"),
            std::string::npos);
}

TEST(MpsReader, RangesBecomeSlackColumns) {
  auto p = parse("NAME t\nROWS\n N  obj\n L  lrow\n G  grow\n E  epos\n E  eneg\n E  ezero\n"
                 "COLUMNS\n    x  obj  1  lrow  1\n    x  grow  1  epos  1\n    x  eneg  1  ezero  1\n"
                 "RHS\n    rhs  lrow  10  grow  1\n"
                 "RANGES\n    rng  lrow  4  grow  -3\n    rng  epos  2  eneg  -5\n    rng  ezero  0\n"
                 "ENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  const auto& d = p.data;
  EXPECT_EQ(d.conTypes, "EEEEE");
  ASSERT_EQ(d.n, 5);
  EXPECT_EQ(d.colNames, (std::vector<std::string>{"x", "slk00000", "slk00001", "slk00002", "slk00003"}));
  EXPECT_EQ(d.colBeg, (std::vector<int>{0, 5, 6, 7, 8, 9}));
  // Slack rows and coefficients: L +1, G -1, E with R > 0 -1, E with R < 0 +1.
  EXPECT_EQ(std::vector<int>(d.rowIdx.begin() + 5, d.rowIdx.end()), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(std::vector<double>(d.coef.begin() + 5, d.coef.end()), (std::vector<double>{1, -1, -1, 1}));
  EXPECT_EQ(d.lower, (std::vector<double>{0, 0, 0, 0, 0}));
  EXPECT_EQ(d.upper, (std::vector<double>{1e30, 4, 3, 2, 5}));
  EXPECT_EQ(d.cost, (std::vector<double>{1, 0, 0, 0, 0}));
  EXPECT_EQ(d.rngName, "rng");
}

TEST(MpsReader, MarkerIntegersByCompatibilityMode) {
  const char* text =
      "NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n"
      "    M1  'MARKER'  'INTORG'\n    x  obj  1  c1  1\n    y  c1  1\n    M2  'MARKER'  'INTEND'\n"
      "    z  c1  1\nRHS\nBOUNDS\n UP bnd y 5\nENDATA\n";
  auto compat = parse(text, kMpsFreeCompat);
  ASSERT_EQ(compat.result.error, 0);
  EXPECT_EQ(compat.data.varTypes, "BIC");
  EXPECT_EQ(compat.data.upper, (std::vector<double>{1, 5, 1e30}));
  auto plain = parse(text, kMpsFree);
  ASSERT_EQ(plain.result.error, 0);
  EXPECT_EQ(plain.data.varTypes, "IIC");
  EXPECT_EQ(plain.data.upper, (std::vector<double>{1e30, 5, 1e30}));
}

TEST(MpsReader, BoundTypes) {
  auto p = parse("NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n"
                 "    a  c1  1\n    b  c1  1\n    c  c1  1\n    d  c1  1\n    e  c1  1\n"
                 "    f  c1  1\n    g  c1  1\n    h  c1  1\n    i  c1  1\n    j  c1  1\n"
                 "RHS\nBOUNDS\n"
                 " UI bnd a 2.5\n LI bnd b 2.5\n FX bnd c 3\n FR bnd d\n MI bnd e\n"
                 " PL bnd f\n BV bnd g\n UP bnd h 1e29\n UP bnd i -2\n LO bnd j -4\n"
                 " UP other j 9\n UP bnd newcol 6\n"
                 "ENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0) << p.result.errorLine << ": " << p.result.errorText;
  const auto& d = p.data;
  ASSERT_EQ(d.n, 11);
  EXPECT_EQ(d.upper[0], 3.0);
  EXPECT_EQ(d.lower[1], 2.0);
  EXPECT_EQ(d.lower[2], 3.0);
  EXPECT_EQ(d.upper[2], 3.0);
  EXPECT_EQ(d.lower[3], -1e30);
  EXPECT_EQ(d.upper[3], 1e30);
  EXPECT_EQ(d.lower[4], -1e30);
  EXPECT_EQ(d.upper[5], 1e30);
  EXPECT_EQ(d.lower[6], 0.0);
  EXPECT_EQ(d.upper[6], 1.0);
  EXPECT_EQ(d.upper[7], 1e30);
  EXPECT_EQ(d.upper[8], -2.0);
  EXPECT_EQ(d.lower[8], 0.0);  // a negative UP leaves the lower bound as it is
  EXPECT_EQ(d.lower[9], -4.0);
  EXPECT_EQ(d.upper[9], 1e30);  // unknown type and other vector ignored
  EXPECT_EQ(d.colNames[10], "newcol");
  EXPECT_EQ(d.upper[10], 6.0);
  EXPECT_EQ(d.colBeg[11], d.colBeg[10]);
  EXPECT_EQ(d.varTypes, "IIC" "CCCBCCCC");
}

TEST(MpsReader, UnknownBoundTypeIgnoredInFixedFormat) {
  auto p = parse("NAME          T\nROWS\n N  OBJ\nCOLUMNS\n    X         OBJ                 1.\n"
                 "RHS\nBOUNDS\n XX BND       X                   7.\n UP BND       X                   3.\n"
                 "ENDATA\n",
                 kMpsFixed);
  ASSERT_EQ(p.result.error, 0) << p.result.errorLine;
  EXPECT_EQ(p.data.upper, (std::vector<double>{3}));
  EXPECT_EQ(p.data.bndName, "BND");
}

TEST(MpsReader, IntegralBoundsAreNotRounded) {
  auto p = parse("NAME t\nROWS\n N  obj\nCOLUMNS\n    a  obj  1\n    b  obj  1\nRHS\nBOUNDS\n"
                 " UI bnd a 3\n LI bnd b -2\nENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.upper[0], 3.0);
  EXPECT_EQ(p.data.lower[1], -2.0);
}

TEST(MpsReader, SemiContinuous) {
  auto p = parse("NAME t\nROWS\n N  obj\nCOLUMNS\n    a  obj  1\n    b  obj  1\n    c  obj  1\n"
                 "RHS\nBOUNDS\n SC bnd a 5\n SC bnd b 0.5\n LO bnd b 0.25\n SC bnd c 0\nENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.scVars, (std::vector<int>{0, 1}));
  EXPECT_EQ(p.data.scLower, (std::vector<double>{1.0, 0.25}));
  EXPECT_EQ(p.data.scUpper, (std::vector<double>{5.0, 0.5}));
  EXPECT_EQ(p.data.upper[2], 0.0);
  // SC 0 after an SC line fixes the column at zero and ends its
  // semi-continuity; bounds lines are then accepted again.
  auto zero = parse("NAME t\nROWS\n N  obj\nCOLUMNS\n    a  obj  1\nRHS\nBOUNDS\n SC bnd a 0.5\n"
                    " SC bnd a 0\n LO bnd a 0.25\nENDATA\n",
                    kMpsFree);
  ASSERT_EQ(zero.result.error, 0);
  EXPECT_TRUE(zero.data.scVars.empty());
  // LI on a semi-continuous column sets its level, as LO does.
  auto li = parse("NAME t\nROWS\n N  obj\nCOLUMNS\n    a  obj  1\nRHS\nBOUNDS\n SC bnd a 9\n"
                  " LI bnd a 2.5\nENDATA\n",
                  kMpsFree);
  ASSERT_EQ(li.result.error, 0);
  EXPECT_EQ(li.data.scLower, (std::vector<double>{2}));
  EXPECT_EQ(li.data.lower, (std::vector<double>{0}));
  EXPECT_EQ(li.data.varTypes, "I");
  EXPECT_EQ(zero.data.lower, (std::vector<double>{0.25}));
  EXPECT_EQ(zero.data.upper, (std::vector<double>{0}));
  const std::string head = "NAME t\nROWS\n N  obj\nCOLUMNS\n    a  obj  1\nRHS\nBOUNDS\n SC bnd a 5\n";
  for (const char* bad : {" UP bnd a 3\n", " FX bnd a 3\n", " FR bnd a\n", " MI bnd a\n",
                          " PL bnd a\n", " BV bnd a\n", " UI bnd a 2\n", " LO bnd a -1\n"}) {
    auto q = parse(head + bad + "ENDATA\n", kMpsFree);
    EXPECT_EQ(q.result.error, QXERR_BAD_MPS_FILE) << bad;
    EXPECT_EQ(q.result.errorLine, 9) << bad;
  }
  EXPECT_EQ(parse("NAME t\nROWS\n N  obj\nCOLUMNS\n    a  obj  1\nRHS\nBOUNDS\n SC bnd a -1\nENDATA\n",
                  kMpsFree)
                .result.error,
            QXERR_BAD_MPS_FILE);
}

TEST(MpsReader, SetMarkers) {
  const std::string text =
      "NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n"
      " S1 SOS1  'MARKER'  'SOSORG'\n    x  c1  1\n    y  c1  1\n    SOS1  'MARKER'  'SOSEND'\n"
      " S2 SOS2  'MARKER'  'SOSORG'\n    u  c1  1\n    v  c1  1\n    w  c1  1\n    SOS2  'MARKER'  'SOSEND'\n"
      "    SOS3  'MARKER'  'SOSORG'\n    z  c1  1\n    SOS3  'MARKER'  'SOSEND'\n"
      "    q  c1  1\nRHS\nENDATA\n";
  auto p = parse(text, kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.setTypes, std::string("\x01\x02\x03", 3));
  EXPECT_EQ(p.data.setBeg, (std::vector<int>{0, 2, 5, 6}));
  EXPECT_EQ(p.data.setCols, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  auto compat = parse(text, kMpsFreeCompat);
  ASSERT_EQ(compat.result.error, 0);
  EXPECT_EQ(compat.data.setTypes, std::string("\x01\x02\x01", 3));
  auto card = parse("NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n CA S  'MARKER'  'SOSORG'\n"
                    "    x  c1  1\nRHS\nENDATA\n",
                    kMpsFree);
  EXPECT_EQ(card.result.error, QXERR_BAD_MPS_FILE);
  EXPECT_EQ(card.result.errorLine, 6);
  EXPECT_EQ(card.result.errorText, " CA S  'MARKER'  'SOSORG'");
}

TEST(MpsReader, QuadraticSections) {
  auto p = parse("NAME t\nROWS\n N  obj\n N  gone\n L  c1\nCOLUMNS\n    x  c1  1\n    y  c1  1\n"
                 "RHS\nQUADOBJ\n    x  y  2\n    x  x  1\nQSECTION  c1\n    y  z  3\n"
                 "QSECTION  gone\n    x  x  9\nENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  const auto& d = p.data;
  EXPECT_EQ(d.n, 3);  // z created
  EXPECT_EQ(d.qcRow, (std::vector<int>{-1, -1, 0}));
  EXPECT_EQ(d.qcCol1, (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(d.qcCol2, (std::vector<int>{0, 0, 1}));
  EXPECT_EQ(d.qcCoef, (std::vector<double>{2, 1, 3}));
  const std::string head = "NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n    x  c1  1\nRHS\n";
  EXPECT_EQ(parse(head + "QSECTION\n    x  x  1\nENDATA\n", kMpsFree).result.error, QXERR_BAD_MPS_FILE);
  EXPECT_EQ(parse(head + "QSECTION  nope\n    x  x  1\nENDATA\n", kMpsFree).result.error,
            QXERR_BAD_MPS_FILE);
  EXPECT_EQ(parse(head + "QSECTION  obj\n    x  x  1\nQUADOBJ\nENDATA\n", kMpsFree).result.error,
            QXERR_BAD_MPS_FILE);
  EXPECT_EQ(parse(head + "QSECTION  obj\n    x  x  1\nBOUNDS\n UP b x 1\nENDATA\n", kMpsFree).result.error, 0);
}

TEST(MpsReader, ConeSections) {
  const std::string head = "NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n    x  c1  1\n    y  c1  1\nRHS\n";
  auto p = parse(head + "CSECTION  k1  0  QUAD\n    x\n    y\nCSECTION  k2  0  RQUAD\n    u\n    v\n    w\nENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.coneTypes, "QR");
  EXPECT_EQ(p.data.coneNames, (std::vector<std::string>{"k1", "k2"}));
  EXPECT_EQ(p.data.coneBeg, (std::vector<int>{0, 2, 5}));
  EXPECT_EQ(p.data.coneCols, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(p.data.n, 5);
  EXPECT_EQ(p.data.upper[4], 1e30);
  // Wrong field count, unknown type, duplicate name, too few members, and a
  // column in two cones.
  for (const char* bad : {"CSECTION  k1  QUAD\n    x\nENDATA\n", "CSECTION  k1  0  CONE\n    x\nENDATA\n",
                          "CSECTION  k1  0  QUAD\n    x\nCSECTION  k1  0  QUAD\n    y\nENDATA\n",
                          "CSECTION  k1  0  QUAD\nENDATA\n", "CSECTION  k1  0  RQUAD\n    x\nENDATA\n",
                          "CSECTION  k1  0  QUAD\n    x\nCSECTION  k2  0  QUAD\n    x\nENDATA\n"}) {
    auto q = parse(head + bad, kMpsFree, 0, false, 0);
    EXPECT_EQ(q.result.error, QXERR_BAD_MPS_FILE) << bad;
  }
  auto twice = parse(head + "CSECTION  k1  0  QUAD\n    x\nCSECTION  k2  0  QUAD\n    x\nENDATA\n", kMpsFree);
  ASSERT_FALSE(twice.log.empty());
  EXPECT_EQ(twice.log.back(), "\nMPS Reader: Invalid cone mark.");
}

TEST(MpsReader, FixedFormatValuesMustBeRightAligned) {
  const std::string head = "NAME          T\nROWS\n N  OBJ\n L  C1\nCOLUMNS\n";
  const std::string tail = "RHS\nENDATA\n";
  auto right = parse(head + "    X         C1                 1.5\n" + tail, kMpsFixed);
  ASSERT_EQ(right.result.error, 0);
  EXPECT_EQ(right.data.coef, (std::vector<double>{1.5}));
  auto left = parse(head + "    X         C1        1.5     \n" + tail, kMpsFixed);
  EXPECT_EQ(left.result.error, QXERR_BAD_MPS_FILE);
  EXPECT_EQ(left.result.errorLine, 6);
  // A short line is padded with blanks, so a value ending early is rejected too.
  auto shortLine = parse(head + "    X         C1        1.5\n" + tail, kMpsFixed);
  EXPECT_EQ(shortLine.result.error, QXERR_BAD_MPS_FILE);
}

TEST(MpsReader, FixedFormatNamesMayHoldBlanks) {
  auto p = parse("NAME          BLANKS   some remark\n"
                 "ROWS\n N  THE OBJ\n L  ROW ONE\n"
                 "COLUMNS\n    COL A     THE OBJ             1.   ROW ONE             2.\n"
                 "RHS\n    RHS 1     ROW ONE             3.\nENDATA\n",
                 kMpsFixed);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.title, "BLANKS");
  EXPECT_EQ(p.data.objName, "THE OBJ");
  EXPECT_EQ(p.data.rowNames, (std::vector<std::string>{"ROW ONE"}));
  EXPECT_EQ(p.data.colNames, (std::vector<std::string>{"COL A"}));
  EXPECT_EQ(p.data.rhs, (std::vector<double>{3}));
  EXPECT_EQ(p.data.rhsName, "RHS 1");
}

TEST(MpsReader, FreeFormatComments) {
  auto p = parse("NAME t\n* comment line\nROWS\n N  obj $ trailing comment\n L  c1\n\n   \n"
                 "COLUMNS\n    x  obj  1  c1  2 ! another comment\n\tx2\tc1\t1e1\nRHS\n"
                 "    c1  4.5D0\nENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.coef, (std::vector<double>{2, 10}));
  EXPECT_EQ(p.data.rhs, (std::vector<double>{4.5}));
  EXPECT_EQ(p.data.rhsName, "");
}

// Values are converted by strtod, which stops at a Fortran exponent letter
// and at a dangling exponent.
TEST(MpsReader, ValuesReadAsStrtodReadsThem) {
  auto p = parse("NAME          T\nROWS\n N  OBJ\n L  C1\nCOLUMNS\n"
                 "    X         C1               2.5d1   OBJ                 1e\n"
                 "RHS\n    RHS       C1             -1.5D+2\nENDATA\n",
                 kMpsFixed);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.coef, (std::vector<double>{2.5}));
  EXPECT_EQ(p.data.cost, (std::vector<double>{1}));
  EXPECT_EQ(p.data.rhs, (std::vector<double>{-1.5}));
}

TEST(MpsReader, CarriageReturnsAreBlanks) {
  auto p = parse("NAME          T\r\nROWS\r\n N  OBJ\r\n L  C1\r\nCOLUMNS\r\n"
                 "    X         C1                 1.5\r\nRHS\r\nENDATA\r\n",
                 kMpsFixed);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.rowNames[0], "C1");
}

TEST(MpsReader, DuplicateEntriesKeepTheFirst) {
  auto p = parse("NAME t\nROWS\n N  obj\n L  c1\n L  c2\nCOLUMNS\n    x  c1  1  c2  2\n    x  c1  7\n"
                 "RHS\nENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.rowIdx, (std::vector<int>{0, 1}));
  EXPECT_EQ(p.data.coef, (std::vector<double>{1, 2}));
}

TEST(MpsReader, EmptyRhsSectionMayBeLeftOut) {
  auto p = parse("NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n    x  c1  1\nBOUNDS\n UP b x 2\nENDATA\n",
                 kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  EXPECT_EQ(p.data.upper[0], 2.0);
}

struct BadCase {
  const char* what;
  std::string text;
  int format;
  int line;
};

TEST(MpsReader, MalformedInputIsError2003WithTheLine) {
  const std::string rows = "NAME t\nROWS\n N  obj\n L  c1\n";
  const BadCase cases[] = {
      {"missing NAME", "ROWS\n N  obj\nENDATA\n", kMpsFree, 1},
      {"data before NAME", " N  obj\n", kMpsFree, 1},
      {"COLUMNS before ROWS", "NAME t\nCOLUMNS\n", kMpsFree, 2},
      {"unknown section", rows + "FOO\n", kMpsFree, 5},
      {"missing ENDATA", rows + "COLUMNS\n    x  c1  1\nRHS\n", kMpsFree, 7},
      {"truncated file", rows + "COLUMNS\n    x  c1", kMpsFree, 6},
      {"split column", rows + "COLUMNS\n    x  c1  1\n    y  c1  1\n    x  obj  1\nRHS\nENDATA\n", kMpsFree, 8},
      {"duplicate row", rows + " G  c1\nCOLUMNS\nENDATA\n", kMpsFree, 5},
      {"duplicate objective name", rows + " E  obj\nCOLUMNS\nENDATA\n", kMpsFree, 5},
      {"bad row type", rows + " X  c2\nCOLUMNS\nENDATA\n", kMpsFree, 5},
      {"row line with three fields", rows + " L  c2 c3\nCOLUMNS\nENDATA\n", kMpsFree, 5},
      {"unknown row", rows + "COLUMNS\n    x  c9  1\nRHS\nENDATA\n", kMpsFree, 6},
      {"missing value", rows + "COLUMNS\n    x  c1\nRHS\nENDATA\n", kMpsFree, 6},
      {"bad number", rows + "COLUMNS\n    x  c1  1.2.3x\nRHS\nENDATA\n", kMpsFree, 6},
      {"overflow", rows + "COLUMNS\n    x  c1  1e999\nRHS\nENDATA\n", kMpsFree, 6},
      {"sign only", rows + "COLUMNS\n    x  c1  -\nRHS\nENDATA\n", kMpsFree, 6},
      {"second pair half", rows + "COLUMNS\n    x  c1  1  obj\nRHS\nENDATA\n", kMpsFixed, 6},
      {"unknown rhs row", rows + "COLUMNS\n    x  c1  1\nRHS\n    rhs  c9  1\nENDATA\n", kMpsFree, 8},
      {"range on objective", rows + "COLUMNS\n    x  c1  1\nRHS\nRANGES\n    r  obj  1\nENDATA\n", kMpsFree, 9},
      {"bad bound type (free)", rows + "COLUMNS\n    x  c1  1\nRHS\nBOUNDS\n XX b x 1\nENDATA\n", kMpsFree, 9},
      {"bound without column", rows + "COLUMNS\n    x  c1  1\nRHS\nBOUNDS\n UP\nENDATA\n", kMpsFree, 9},
      {"RHS twice", rows + "COLUMNS\n    x  c1  1\nRHS\nRHS\nENDATA\n", kMpsFree, 8},
      {"data after ENDATA", rows + "COLUMNS\n    x  c1  1\nRHS\nENDATA\n    x  c1  1\n", kMpsFree, 9},
      {"marker without word", rows + "COLUMNS\n    M  'MARKER'\nRHS\nENDATA\n", kMpsFixed, 6},
      {"set of type 2 with one member",
       rows + "COLUMNS\n S2 s  'MARKER'  'SOSORG'\n    x  c1  1\n    s  'MARKER'  'SOSEND'\nRHS\nENDATA\n",
       kMpsFree, 10},
  };
  for (const auto& c : cases) {
    auto p = parse(c.text, c.format, 0, false, 5);
    EXPECT_EQ(p.result.error, QXERR_BAD_MPS_FILE) << c.what;
    EXPECT_EQ(p.result.errorLine, c.line) << c.what;
  }
}

TEST(MpsReader, MissingEndataIsLogged) {
  auto p = parse("NAME t\nROWS\n N  obj\nCOLUMNS\n", kMpsFree, 0, false, 5);
  EXPECT_EQ(p.result.error, QXERR_BAD_MPS_FILE);
  ASSERT_FALSE(p.log.empty());
  EXPECT_EQ(p.log.back(), "\nMPS Reader: Unexpected end of file. ENDATA section missing.");
  auto quiet = parse("NAME t\nROWS\n N  obj\nCOLUMNS\n", kMpsFree, 0, false, 4);
  EXPECT_TRUE(quiet.log.empty());
}

TEST(MpsReader, OverlongLinesAreRejected) {
  std::string longName(300, 'a');
  auto p = parse("NAME t\nROWS\n N  obj\n L  " + longName + "\nCOLUMNS\nENDATA\n", kMpsFree);
  EXPECT_EQ(p.result.error, QXERR_BAD_MPS_FILE);
  EXPECT_EQ(p.result.errorLine, 4);
  EXPECT_EQ(p.result.errorText.size(), 255u);
  // A line longer than a whole read block.
  std::string huge(torva::LineReader::kBlockSize * 2 + 17, 'b');
  auto q = parse("NAME t\nROWS\n N  " + huge + "\nCOLUMNS\nENDATA\n", kMpsFree);
  EXPECT_EQ(q.result.error, QXERR_BAD_MPS_FILE);
  EXPECT_EQ(q.result.errorLine, 3);
  // Comment lines may be as long as they like.
  auto r = parse("NAME t\n*" + huge + "\nROWS\n N  obj\nCOLUMNS\nENDATA\n", kMpsFree);
  EXPECT_EQ(r.result.error, 0);
}

TEST(MpsReader, BinaryGarbageNeverCrashes) {
  std::string garbage;
  unsigned state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    garbage.push_back(static_cast<char>(state >> 16));
  }
  for (int format = 0; format < 4; ++format) {
    auto p = parse(garbage, format);
    EXPECT_EQ(p.result.error, QXERR_BAD_MPS_FILE);
    EXPECT_GE(p.result.errorLine, 1);
    auto q = parse("NAME t\nROWS\n" + garbage, format);
    EXPECT_EQ(q.result.error, QXERR_BAD_MPS_FILE);
  }
}

TEST(MpsReader, LinesStraddlingBlocksAreReadWhole) {
  // Enough columns that lines cross the 256 KB block boundaries.
  std::string text = "NAME t\nROWS\n N  obj\n L  c1\nCOLUMNS\n";
  const int columns = 30000;
  for (int j = 0; j < columns; ++j)
    text += "    column" + std::to_string(j) + "  c1  " + std::to_string(j % 97) + ".5\n";
  text += "RHS\nENDATA\n";
  ASSERT_GT(text.size(), 2 * torva::LineReader::kBlockSize);
  auto p = parse(text, kMpsFree);
  ASSERT_EQ(p.result.error, 0);
  ASSERT_EQ(p.data.n, columns);
  for (int j = 0; j < columns; ++j) {
    ASSERT_EQ(p.data.colNames[static_cast<std::size_t>(j)], "column" + std::to_string(j));
    ASSERT_EQ(p.data.coef[static_cast<std::size_t>(j)], j % 97 + 0.5);
  }
}

TEST(MpsReader, LogLinesAtTheirLevels) {
  auto p = parse(kSmall, kMpsFixed, 0, false, 10);
  ASSERT_EQ(p.result.error, 0);
  ASSERT_GE(p.log.size(), 5u);
  EXPECT_EQ(p.log[0].rfind("\nReading ", 0), 0u);
  EXPECT_NE(p.log[0].find("in MPS format (formatted)"), std::string::npos);
  EXPECT_EQ(p.log[1].rfind("\nMPS Reader: Initial pass completed in ", 0), 0u);
  EXPECT_EQ(p.log[2], "\nMPS Reader: Found 4 rows, 3 columns, 8 nonzs");
  EXPECT_EQ(p.log[3], "\nMPS Reader:");
  EXPECT_EQ(p.log[4], "\nline0000003:N COST     ");
  auto quiet = parse(kSmall, kMpsFree, 0, false, 4);
  EXPECT_TRUE(quiet.log.empty());
}

}  // namespace
