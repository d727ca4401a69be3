// The explicit dual: its construction, its MPS round trip through our
// reader, the basis mappings, and the block split of the decomposer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/model.hpp"
#include "base/model_fixture.hpp"
#include "simplex/decompose.hpp"
#include "simplex/dual_model.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;
using DualModel = ModelFixture;

std::string tempFile(const char* name) {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return std::string(dir ? dir : "/tmp") + "/" + name;
}

struct Lp {
  int m = 0, n = 0, sense = 0;
  double objConst = 0;
  std::vector<double> c, b, lo, up, val;
  std::vector<char> types;
  std::vector<int> beg, rows;
  explicit Lp(QXmodel model) {
    int nnz = 0;
    QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
    QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
    QXgetInfo(model, QX_IINFO_NUM_NONZ, &nnz);
    c.resize(n);
    lo.resize(n);
    up.resize(n);
    b.resize(m);
    types.resize(m);
    beg.resize(n + 1);
    rows.resize(nnz);
    val.resize(nnz);
    EXPECT_EQ(QXgetLPData(model, &sense, &objConst, c.data(), b.data(), types.data(), beg.data(), nullptr,
                          val.data(), rows.data(), lo.data(), up.data()),
              0);
  }
};

TEST_F(DualModel, ShapeNamesAndBounds) {
  ASSERT_EQ(loadSmall(), 0);
  QXmodel dual = QXcreateModel(env, nullptr);
  ASSERT_EQ(QXgetDualModel(model, dual), 0);
  const Lp d(dual);
  // One row per primal column; columns: 3 rows, lower bounds of x0, x1, x3,
  // upper bounds of x0, x3.
  ASSERT_EQ(d.m, 4);
  ASSERT_EQ(d.n, 8);
  EXPECT_EQ(d.sense, QX_MAX);
  EXPECT_EQ(std::string(d.types.begin(), d.types.end()), "EEEE");
  EXPECT_EQ(d.b, (std::vector<double>{1, 2, 3, 4}));
  EXPECT_EQ(d.c, (std::vector<double>{10, 2, 5, 0, -1, 2, -4, -2}));
  EXPECT_EQ(d.lo, (std::vector<double>{-1e30, 0, -1e30, 0, 0, 0, 0, 0}));
  EXPECT_EQ(d.up, (std::vector<double>{0, 1e30, 1e30, 1e30, 1e30, 1e30, 1e30, 1e30}));
  const char* want[] = {"X0000000", "X0000001", "X0000002", "YL_C0000000",
                        "YL_C0000001", "YL_C0000003", "YU_C0000000", "YU_C0000003"};
  char name[64];
  for (int j = 0; j < 8; ++j) {
    ASSERT_EQ(QXgetVariableNamej(dual, j, name), 0);
    EXPECT_STREQ(name, want[j]);
  }
  // The transposed matrix: dual column 0 (row 0) holds 1, 2, 1 in rows 0, 1, 3.
  EXPECT_EQ(std::vector<int>(d.rows.begin(), d.rows.begin() + d.beg[1]), (std::vector<int>{0, 1, 3}));

  EXPECT_EQ(QXgetDualModel(model, dual), QXERR_MODEL_ALREADY_LOADED);
  QXmodel empty = QXcreateModel(env, nullptr);
  EXPECT_EQ(QXgetDualModel(empty, dual), QXERR_INFO_NOT_AVAILABLE);
  EXPECT_EQ(QXgetDualModel(nullptr, dual), QXERR_ILLEGAL_NULL_POINTER);
}

// Written as MPS and read back, the dual is the model QXgetDualModel builds
// (objective negated and minimised for objsense 1).
TEST_F(DualModel, MpsRoundTrip) {
  ASSERT_EQ(loadSmall(), 0);
  QXmodel dual = QXcreateModel(env, nullptr);
  ASSERT_EQ(QXgetDualModel(model, dual), 0);
  const Lp want(dual);
  // Free format: the generated dual names are longer than the 8 characters
  // of a fixed-format name field.
  for (int format : {0}) {
    for (int sense : {QX_MIN, QX_MAX}) {
      SCOPED_TRACE(testing::Message() << "format " << format << " sense " << sense);
      const std::string path = tempFile("dual_roundtrip.mps");
      ASSERT_EQ(QXwriteDualMPSFile(model, path.c_str(), format, sense), 0);
      QXmodel back = QXcreateModel(env, nullptr);
      ASSERT_EQ(QXreadMPSFile(back, path.c_str(), format), 0);
      const Lp got(back);
      EXPECT_EQ(got.m, want.m);
      EXPECT_EQ(got.n, want.n);
      EXPECT_EQ(got.b, want.b);
      EXPECT_EQ(got.lo, want.lo);
      EXPECT_EQ(got.up, want.up);
      EXPECT_EQ(got.beg, want.beg);
      EXPECT_EQ(got.rows, want.rows);
      EXPECT_EQ(got.val, want.val);
      // Both forms have the same optimum: min -f = -(max f). A maximisation
      // is written with the objective flipped (the writer's default style).
      std::vector<double> negated(want.c);
      for (double& v : negated) v = -v;
      EXPECT_EQ(got.c, negated);
      char name[64];
      ASSERT_EQ(QXgetVariableNamej(back, 3, name), 0);
      EXPECT_STREQ(name, "YL_C0000000");
      QXdeleteModel(&back);
    }
  }
  EXPECT_EQ(QXwriteDualMPSFile(model, tempFile("bad.mps").c_str(), 0, 0), QXERR_BAD_OBJECTIVE_SENSE);
}

// A basis of the primal maps to a dual basis with n basic columns and back.
TEST_F(DualModel, BasisMappingRoundTrip) {
  ASSERT_EQ(loadSmall(), 0);
  const torva::ModelData& d = model->data;
  // Rows 0 and 2 tight, row 1 basic; x0 at its upper bound, x3 at its lower
  // bound, x1 and x2 basic: 2 basic of 3 rows... plus x1, x2 = 3 basic.
  const std::vector<int> cols = {QX_BASTYPE_ATUP, 0, 1, QX_BASTYPE_ATLO};
  const std::vector<int> rows = {QX_BASTYPE_ATUP, 2, QX_BASTYPE_ATLO};
  std::vector<int> dc, dr;
  ASSERT_EQ(torva::dualBasisFromPrimal(d, cols, rows, dc, dr), 0);
  int basic = 0;
  for (int s : dc) basic += s >= 0;
  EXPECT_EQ(basic, d.n);
  std::vector<int> pc, pr;
  ASSERT_EQ(torva::primalBasisFromDual(d, dc, pc, pr), 0);
  for (int j = 0; j < d.n; ++j) EXPECT_EQ(pc[j] >= 0, cols[j] >= 0) << j;
  EXPECT_EQ(pc[0], QX_BASTYPE_ATUP);
  EXPECT_EQ(pc[3], QX_BASTYPE_ATLO);
  for (int i = 0; i < d.m; ++i) EXPECT_EQ(pr[i] >= 0, rows[i] >= 0) << i;
  // A free column off the basis has no dual column to make basic.
  const std::vector<int> bad = {QX_BASTYPE_ATUP, 0, QX_BASTYPE_FNUL, QX_BASTYPE_ATLO};
  EXPECT_EQ(torva::dualBasisFromPrimal(d, bad, rows, dc, dr), QXERR_BASIS_INVALID);
}

TEST(Decompose, BlockDiagonalSplit) {
  // Rows {0, 2} with columns {0, 2}, row 1 with column 1, row 3 empty,
  // column 3 empty.
  torva::ModelData d;
  d.m = 4;
  d.n = 4;
  d.colBeg = {0, 2, 3, 5, 5};
  d.colLen = {2, 1, 2, 0};
  d.rowIdx = {0, 2, 1, 2, 0};
  d.value = {1, 1, 1, 1, 1};
  d.nnz = 5;
  d.rhs = {1, 2, 3, 4};
  d.conType = {'L', 'G', 'E', 'L'};
  d.cost = {1, 2, 3, 4};
  d.lower = {0, 0, 0, 0};
  d.upper = {1, 1, 1, 1};
  const torva::BlockSplit s = torva::splitBlocks(d);
  EXPECT_EQ(s.count, 4);
  EXPECT_EQ(s.rowBlock, (std::vector<int>{0, 1, 0, 2}));
  EXPECT_EQ(s.colBlock, (std::vector<int>{0, 1, 0, 3}));
  torva::ModelData block;
  std::vector<int> rows, cols;
  torva::extractBlock(d, s, 0, block, rows, cols);
  EXPECT_EQ(rows, (std::vector<int>{0, 2}));
  EXPECT_EQ(cols, (std::vector<int>{0, 2}));
  EXPECT_EQ(block.rowIdx, (std::vector<int>{0, 1, 1, 0}));
  EXPECT_EQ(block.rhs, (std::vector<double>{1, 3}));
}

}  // namespace
