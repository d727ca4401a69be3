// TORVA text format: reading edge cases, exact bytes written, malformed
// input, and the round trip of every shared Netlib model.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>

#include "mps_test_util.hpp"
#include "text_test_util.hpp"

namespace {

using texttest::Env;

TEST(TorvaRead, RelationsLabelsCommandsAndComments) {
  Env e;
  const std::string text =
      "title  my model  ! comment\n"
      "max 3 x - y + 2.5e1 z\n"
      "  + 4\n"
      "st\n"
      "c1) x + y >= 2 ! ignored: x + y <= 1000\n"
      "x + y => 2\n"
      "a b  lab ) 2 x - - y =< 7\n"
      "-x + 3 y = 1\n"
      "END\n"
      "INT y\n"
      "GIN z\n"
      "FREE x\n"
      "SLB z -3\nSUB z 8\n"
      "SLB nosuch 1\n";
  ASSERT_EQ(texttest::readTorva(e, text), 0);
  const auto& d = e.data();
  ASSERT_EQ(d.m, 4);
  ASSERT_EQ(d.n, 3);
  EXPECT_EQ(d.title, "my model");
  EXPECT_EQ(d.objSense, QX_MAX);
  EXPECT_EQ(d.objConst, 4.0);
  const int x = texttest::col(e, "x"), y = texttest::col(e, "y"), z = texttest::col(e, "z");
  EXPECT_EQ(d.cost[x], 3.0);
  EXPECT_EQ(d.cost[y], -1.0);
  EXPECT_EQ(d.cost[z], 25.0);
  EXPECT_EQ(texttest::row(e, "c1"), 0);
  EXPECT_EQ(texttest::row(e, "R0000001"), 1);
  EXPECT_EQ(texttest::row(e, "lab"), 2);
  EXPECT_EQ(std::string(d.conType.begin(), d.conType.end()), "GGLE");
  EXPECT_EQ(d.rhs[0], 2.0);
  EXPECT_EQ(d.rhs[1], 2.0);
  EXPECT_EQ(texttest::entry(e, 2, y), 1.0);  // "- -y": the signs fold
  EXPECT_EQ(texttest::entry(e, 3, x), -1.0);
  EXPECT_EQ(d.varType[y], 'B');
  EXPECT_EQ(d.lower[y], 0.0);
  EXPECT_EQ(d.upper[y], 1.0);
  EXPECT_EQ(d.varType[z], 'I');
  EXPECT_EQ(d.lower[z], -3.0);
  EXPECT_EQ(d.upper[z], 8.0);
  EXPECT_EQ(d.lower[x], -1e30);
  EXPECT_EQ(d.upper[x], 1e30);
  EXPECT_TRUE(e.logged("\nSLB: Ignoring unknown variable at line 15."));
}

TEST(TorvaRead, StreamTitleAndMissingEnd) {
  Env e;
  const std::string text = "min x\ns.t.\nx >= 1\n";
  ASSERT_EQ(texttest::readTorva(e, text), 0);
  char expected[64];
  std::snprintf(expected, sizeof expected, "stream_%p", static_cast<const void*>(text.data()));
  EXPECT_EQ(e.data().title, expected);
  EXPECT_TRUE(e.logged("\nMissing token 'END'"));
  EXPECT_EQ(e.model->status, QX_STATUS_LOADED);
}

struct BadInput {
  const char* text;
  int code;
  int line;
};

TEST(TorvaRead, MalformedInputGivesCodeAndLineAndLoadsNothing) {
  const std::string longLine = "min " + std::string(1021, 'x') + "\n";  // 1025 characters
  const std::string fits = "min " + std::string(1020, 'x') + "\nEND\n";  // exactly 1024
  const BadInput cases[] = {
      {"maximum x\n", QXERR_ERROR_IN_INPUT, 1},
      {"min x\nst\nx + y >= z\nEND\n", QXERR_ERROR_IN_INPUT, 3},
      {"min x\nst\nx >= 1\nEND\nSLB x\n", QXERR_ERROR_IN_INPUT, 5},
      {"min x\nst\nx >= 1\nEND\nBOGUS x\n", QXERR_ERROR_IN_INPUT, 5},
      {"min x >= 3\n", QXERR_ERROR_IN_INPUT, 1},
      {"min x\nst\nx + >= 1\n", QXERR_ERROR_IN_INPUT, 3},
      {longLine.c_str(), QXERR_BAD_MPS_FILE, 1},
  };
  for (const BadInput& c : cases) {
    Env e;
    EXPECT_EQ(texttest::readTorva(e, c.text), c.code) << c.text;
    texttest::expectErrorAt(e, c.line, c.text);
    EXPECT_EQ(e.model->status, QX_STATUS_UNLOADED);
  }
  Env ok;
  EXPECT_EQ(texttest::readTorva(ok, fits), 0);
  EXPECT_EQ(ok.data().n, 1);
}

TEST(TorvaRead, Preconditions) {
  Env e;
  EXPECT_EQ(QXreadTORVAFile(nullptr, "x.ltx"), QXERR_ILLEGAL_NULL_POINTER);
  EXPECT_EQ(QXreadTORVAStream(e.model, "min x", 0), QXERR_BAD_MPS_FILE);
  EXPECT_TRUE(e.logged("\nLTX stream is too short."));
  EXPECT_EQ(QXreadTORVAFile(e.model, "/nonexistent/model.ltx"), QXERR_CANNOT_OPEN_FILE);
  ASSERT_EQ(texttest::readTorva(e, "min x\nEND\n"), 0);
  EXPECT_EQ(texttest::readTorva(e, "min x\nEND\n"), QXERR_MODEL_ALREADY_LOADED);
  Env empty;
  EXPECT_EQ(QXwriteTORVAFile(empty.model, texttest::tempPath("none.ltx").c_str()),
            QXERR_INFO_NOT_AVAILABLE);
}

TEST(TorvaWrite, ExactBytes) {
  Env e;
  // Columns: x [0, 1e30], "y-1" free, z [-1e30, 3], w integer [2, 9],
  // b binary; rows: c1 (named), one unnamed empty row.
  const double cost[] = {1, 0, -0.5, 3, 1e-3};
  const double rhs[] = {4, -2};
  const int beg[] = {0, 1, 2, 2, 3, 3};
  const int idx[] = {0, 0, 0};
  const double val[] = {1, -2, 1.25};
  const double lo[] = {0, -1e30, -1e30, 2, 0};
  const double up[] = {1e30, 1e30, 3, 9, 1};
  ASSERT_EQ(QXloadLPData(e.model, 2, 5, QX_MAX, 7, cost, rhs, "LG", 3, beg, nullptr, val, idx, lo, up), 0);
  ASSERT_EQ(QXloadVarType(e.model, "CCCIB"), 0);
  char c1[] = "c1", r2[] = "";
  char* rows[] = {c1, r2};
  char n0[] = "x", n1[] = "y-1", n2[] = "z", n3[] = "w", n4[] = "b";
  char* cols[] = {n0, n1, n2, n3, n4};
  ASSERT_EQ(QXloadNameData(e.model, "t", nullptr, nullptr, nullptr, nullptr, rows, cols, nullptr), 0);
  const std::string path = texttest::tempPath("exact.ltx");
  ASSERT_EQ(QXwriteTORVAFile(e.model, path.c_str()), 0);
  EXPECT_EQ(texttest::slurp(path),
            "MAXIMIZE\n"
            "   +1. x\n   +0. y_1\n   -0.5 z\n   +3. w\n   +0.001 b\n   +7.\n"
            "\nSUBJECT TO\n"
            "c1)\n   +1. x\n   -2. y_1\n   +1.25 w\n   < +4. \n"
            "R0000001)\n   > -2. \n"
            "\nEND\n"
            "FREE      y_1\n"
            "SLB          z -1000000000000000019884624838656.\n"
            "SUB   z +3.\n"
            "SLB          w +2.\nSUB   w +9.\n"
            "SUB   b +1.\n"
            "GIN         w\n"
            "INT         b\n");
  // And it reads back to the same model.
  Env back;
  ASSERT_EQ(QXreadTORVAFile(back.model, path.c_str()), 0);
  const auto& a = e.data();
  const auto& b = back.data();
  EXPECT_EQ(b.lower, a.lower);
  EXPECT_EQ(b.upper, a.upper);
  EXPECT_EQ(b.cost, a.cost);
  EXPECT_EQ(b.rhs, a.rhs);
  EXPECT_EQ(b.varType, a.varType);
  EXPECT_EQ(b.objConst, 7.0);
  EXPECT_EQ(b.nnz, 3);
  std::remove(path.c_str());
}

TEST(TorvaWrite, DualOfSmallLp) {
  // min x + 2y, x + y >= 1, x - y <= 3, x in [0, 4], y >= 0:
  // dual max u + 3v - 4w with u >= 0, v <= 0, w >= 0 and slack columns of
  // the zero lower bounds: u + v + l0 - w = 1, u - v + l1 = 2.
  Env e;
  const double cost[] = {1, 2}, rhs[] = {1, 3}, val[] = {1, 1, 1, -1};
  const int beg[] = {0, 2, 4}, idx[] = {0, 1, 0, 1};
  const double lo[] = {0, 0}, up[] = {4, 1e30};
  ASSERT_EQ(QXloadLPData(e.model, 2, 2, QX_MIN, 0, cost, rhs, "GL", 4, beg, nullptr, val, idx, lo, up), 0);
  const std::string path = texttest::tempPath("dual.ltx");
  EXPECT_EQ(QXwriteDualTORVAFile(e.model, path.c_str(), 0), QXERR_BAD_OBJECTIVE_SENSE);
  ASSERT_EQ(QXwriteDualTORVAFile(e.model, path.c_str(), QX_MAX), 0);
  EXPECT_EQ(texttest::slurp(path),
            "MAXIMIZE\n   +1. X0000000\n   +3. X0000001\n   +0. YL_C0000000\n   +0. YL_C0000001\n"
            "   -4. YU_C0000000\n"
            "\nSUBJECT TO\n"
            "C0000000)\n   +1. X0000000\n   +1. X0000001\n   +1. YL_C0000000\n   -1. YU_C0000000\n"
            "   = +1. \n"
            "C0000001)\n   +1. X0000000\n   -1. X0000001\n   +1. YL_C0000001\n   = +2. \n"
            "\nEND\n"
            "SLB   X0000001 -1000000000000000019884624838656.\nSUB   X0000001 +0.\n");
  std::remove(path.c_str());
}

// Every Netlib model: MPS -> TORVA text -> model, compared field by field.
TEST(TorvaRoundTrip, EveryNetlibModel) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(mpstest::sharedDataDir()) / "netlib";
  if (!fs::is_directory(dir)) GTEST_SKIP() << "Netlib models not found under " << dir;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().string().ends_with(".mps.gz")) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());
  // "%+.16f" keeps every digit to 1e-16: the absolute error is at most half
  // of that, plus the relative rounding of the reading (2^-53).
  auto close = [](double a, double b) { return std::fabs(a - b) <= 1e-16 + 2.3e-16 * std::fabs(a); };
  const std::string path = texttest::tempPath("netlib.ltx");
  int compared = 0, withMergedNames = 0;
  for (const auto& file : files) {
    Env src, back;
    ASSERT_EQ(QXreadMPSFile(src.model, file.c_str(), 1), 0) << file;
    ASSERT_EQ(QXwriteTORVAFile(src.model, path.c_str()), 0) << file;
    ASSERT_EQ(QXreadTORVAFile(back.model, path.c_str()), 0) << file;
    const auto& a = src.data();
    const auto& b = back.data();
    ASSERT_EQ(a.m, b.m) << file;
    // Names that differ only in the replaced characters become one column.
    std::vector<std::string> mapped(static_cast<std::size_t>(a.n));
    std::map<std::string, int> uses;
    for (int j = 0; j < a.n; ++j) {
      mapped[j] = std::string(a.varNames.view(j));
      for (char& c : mapped[j])
        if (std::strchr(" \t\n\r+-<>=!)", c)) c = '_';
      ++uses[mapped[j]];
    }
    ASSERT_EQ(static_cast<int>(uses.size()), b.n) << file;
    EXPECT_EQ(a.objSense, b.objSense);
    EXPECT_TRUE(close(a.objConst, b.objConst)) << file;
    std::vector<int> map(static_cast<std::size_t>(a.n), -1);
    for (int j = 0; j < a.n; ++j) {
      if (uses[mapped[j]] > 1) continue;
      const std::string& name = mapped[j];
      map[j] = b.findVariable(name);
      ASSERT_GE(map[j], 0) << file << " column " << name;
      EXPECT_TRUE(close(a.cost[j], b.cost[map[j]])) << file << " " << name;
      EXPECT_EQ(a.lower[j], b.lower[map[j]]) << file << " " << name;
      EXPECT_EQ(a.upper[j], b.upper[map[j]]) << file << " " << name;
      EXPECT_EQ(a.typeOf(j), b.typeOf(map[j])) << file << " " << name;
    }
    for (int i = 0; i < a.m; ++i) {
      EXPECT_EQ(a.conType[i], b.conType[i]) << file;
      EXPECT_TRUE(close(a.rhs[i], b.rhs[i])) << file << " row " << i;
    }
    int nonzeros = 0, merged = 0;
    for (int j = 0; j < a.n; ++j)
      for (int k = a.colBeg[j]; k < a.colBeg[j] + a.colLen[j]; ++k) {
        if (map[j] < 0) {
          ++merged;
          continue;
        }
        const double got = texttest::entry(back, a.rowIdx[k], map[j]);
        EXPECT_TRUE(close(a.value[k], got)) << file << " entry " << a.rowIdx[k] << "," << j;
        if (got != 0.0) ++nonzeros;
      }
    if (merged == 0) {
      EXPECT_EQ(nonzeros, b.nnz) << file;
    }
    ++compared;
    if (static_cast<int>(uses.size()) < a.n) ++withMergedNames;
  }
  // Every model is compared; names merged by the substitution are reported.
  EXPECT_EQ(compared, static_cast<int>(files.size()));
  std::printf("[ round trip ] %d Netlib models, %d with names merged by '_'\n", compared,
              withMergedNames);
  std::remove(path.c_str());
}

}  // namespace
