// LU kernel: options, factorisation, singular bases, updates, solves and
// condition estimates, on small matrices and on bases of the Netlib models.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "simplex/lu.hpp"
#include "tests/support/basis_support.hpp"
#include "tests/support/mps_columns.hpp"

namespace {

using torva::LuKernel;
using torva::LuMatrix;
using torva::LuVector;
using torva::testsupport::ColumnMatrix;
using torva::testsupport::view;

// Relative residual bound the solves must meet on every basis.
constexpr double kResidualTol = 1e-9;

ColumnMatrix denseToColumns(int m, int n, const std::vector<double>& rowMajor) {
  ColumnMatrix a;
  a.numRows = m;
  a.numCols = n;
  a.begin.push_back(0);
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < m; ++i) {
      const double v = rowMajor[static_cast<size_t>(i) * n + j];
      if (v != 0.0) {
        a.index.push_back(i);
        a.value.push_back(v);
      }
    }
    a.begin.push_back(static_cast<int>(a.index.size()));
  }
  return a;
}

// y = B x (x by position, y by row) or y = B^T x (x by row, y by position).
std::vector<double> multiply(const ColumnMatrix& a, const std::vector<int>& basic, const std::vector<double>& x,
                             bool transposed) {
  const int m = a.numRows;
  std::vector<double> y(m, 0.0);
  for (int pos = 0; pos < m; ++pos) {
    const int var = basic[pos];
    if (var < a.numCols) {
      for (int p = a.begin[var]; p < a.begin[var + 1]; ++p) {
        if (transposed) {
          y[pos] += a.value[p] * x[a.index[p]];
        } else {
          y[a.index[p]] += a.value[p] * x[pos];
        }
      }
    } else if (transposed) {
      y[pos] += x[var - a.numCols];
    } else {
      y[var - a.numCols] += x[pos];
    }
  }
  return y;
}

double normInf(const std::vector<double>& v) {
  double n = 0.0;
  for (double d : v) n = std::max(n, std::fabs(d));
  return n;
}

// Infinity norm of B (transposed: of B^T).
double basisNormInf(const ColumnMatrix& a, const std::vector<int>& basic, bool transposed) {
  std::vector<double> ones(a.numRows, 1.0);
  const int m = a.numRows;
  std::vector<double> sums(m, 0.0);
  for (int pos = 0; pos < m; ++pos) {
    const int var = basic[pos];
    if (var < a.numCols) {
      for (int p = a.begin[var]; p < a.begin[var + 1]; ++p)
        sums[transposed ? pos : a.index[p]] += std::fabs(a.value[p]);
    } else {
      sums[transposed ? pos : var - a.numCols] += 1.0;
    }
  }
  return normInf(sums);
}

std::vector<double> toDense(const LuVector& v) {
  std::vector<double> d(v.dimension(), 0.0);
  for (int k = 0; k < v.count; ++k) d[v.index[k]] = v.array[v.index[k]];
  return d;
}

// Checks that the result's index lists exactly the nonzeros of its array.
void expectConsistent(const LuVector& v) {
  std::vector<char> listed(v.dimension(), 0);
  for (int k = 0; k < v.count; ++k) {
    ASSERT_FALSE(listed[v.index[k]]) << "index listed twice";
    listed[v.index[k]] = 1;
  }
  for (int i = 0; i < v.dimension(); ++i) {
    if (!listed[i]) {
      ASSERT_EQ(v.array[i], 0.0) << "unlisted nonzero at " << i;
    }
  }
}

// Normwise relative residual ||B x - b|| / (||B|| ||x|| + ||b||) of a solve.
double solveResidual(LuKernel& lu, const ColumnMatrix& a, const std::vector<int>& basic,
                     const std::vector<double>& rhs, bool transposed) {
  LuVector v(a.numRows);
  for (int i = 0; i < a.numRows; ++i)
    if (rhs[i] != 0.0) v.add(i, rhs[i]);
  const int rc = transposed ? lu.btran(v) : lu.ftran(v);
  EXPECT_EQ(rc, torva::kLuOk);
  expectConsistent(v);
  const std::vector<double> x = toDense(v);
  std::vector<double> r = multiply(a, basic, x, transposed);
  for (int i = 0; i < a.numRows; ++i) r[i] -= rhs[i];
  const double denom = basisNormInf(a, basic, transposed) * normInf(x) + normInf(rhs);
  return denom > 0.0 ? normInf(r) / denom : normInf(r);
}

// Right-hand sides for the residual checks: unit vectors, sparse random
// vectors, a column of the matrix and a dense vector.
std::vector<std::vector<double>> testVectors(const ColumnMatrix& a, std::mt19937& rng) {
  const int m = a.numRows;
  std::vector<std::vector<double>> out;
  std::uniform_int_distribution<int> row(0, m - 1);
  std::uniform_real_distribution<double> val(-1.0, 1.0);
  for (int t = 0; t < 2; ++t) {
    std::vector<double> e(m, 0.0);
    e[row(rng)] = 1.0;
    out.push_back(e);
  }
  std::vector<double> sparse(m, 0.0);
  for (int t = 0; t < 5; ++t) sparse[row(rng)] = val(rng);
  out.push_back(sparse);
  if (a.numCols > 0) {
    std::vector<double> col(m, 0.0);
    const int j = std::uniform_int_distribution<int>(0, a.numCols - 1)(rng);
    for (int p = a.begin[j]; p < a.begin[j + 1]; ++p) col[a.index[p]] = a.value[p];
    out.push_back(col);
  }
  std::vector<double> dense(m);
  for (double& d : dense) d = val(rng);
  out.push_back(dense);
  return out;
}

double worstResidual(LuKernel& lu, const ColumnMatrix& a, const std::vector<int>& basic, std::mt19937& rng) {
  double worst = 0.0;
  for (const auto& b : testVectors(a, rng)) {
    worst = std::max(worst, solveResidual(lu, a, basic, b, false));
    worst = std::max(worst, solveResidual(lu, a, basic, b, true));
  }
  return worst;
}

// ------------------------------------------------------------ options

TEST(LuOptions, DefaultsAndRules) {
  LuKernel lu(3);
  int iv = 0;
  double dv = 0.0;
  ASSERT_EQ(lu.getIntOption(1300, &iv), 0);
  EXPECT_EQ(iv, 4);
  ASSERT_EQ(lu.getIntOption(1301, &iv), 0);
  EXPECT_EQ(iv, 500);
  ASSERT_EQ(lu.getIntOption(1303, &iv), 0);
  EXPECT_EQ(iv, 1);
  ASSERT_EQ(lu.getDoubleOption(2402, &dv), 0);
  EXPECT_EQ(dv, 1e-8);
  ASSERT_EQ(lu.getDoubleOption(2403, &dv), 0);
  EXPECT_EQ(dv, 0.01);

  // Negative values select the defaults.
  const std::pair<int, double> doubleDefaults[] = {{2400, 2.22045e-16}, {2401, 2.22045e-16}, {2402, 1e-8},
                                                   {2403, 0.01},        {2404, 0.01},        {2405, 0.001},
                                                   {2406, 0.2},         {2407, 0.1}};
  for (auto [id, def] : doubleDefaults) {
    ASSERT_EQ(lu.setDoubleOption(id, 0.5), 0) << id;
    ASSERT_EQ(lu.getDoubleOption(id, &dv), 0);
    EXPECT_EQ(dv, 0.5) << id;
    ASSERT_EQ(lu.setDoubleOption(id, -3.0), 0) << id;
    ASSERT_EQ(lu.getDoubleOption(id, &dv), 0);
    EXPECT_EQ(dv, def) << id;
  }
  const std::pair<int, int> intDefaults[] = {{1300, 4}, {1301, 500}, {1303, 1}};
  for (auto [id, def] : intDefaults) {
    ASSERT_EQ(lu.setIntOption(id, id == 1303 ? 0 : 7), 0);
    ASSERT_EQ(lu.setIntOption(id, -1), 0);
    ASSERT_EQ(lu.getIntOption(id, &iv), 0);
    EXPECT_EQ(iv, def) << id;
  }

  // Number of candidates below 1 is rejected and leaves the value.
  ASSERT_EQ(lu.setIntOption(1300, 6), 0);
  EXPECT_EQ(lu.setIntOption(1300, 0), torva::kLuErrBadOptionValue);
  lu.getIntOption(1300, &iv);
  EXPECT_EQ(iv, 6);
  EXPECT_EQ(lu.setIntOption(1303, 2), torva::kLuErrBadOptionValue);

  // Print level below 1 becomes 0.
  lu.setIntOption(1302, -5);
  lu.getIntOption(1302, &iv);
  EXPECT_EQ(iv, 0);
  lu.setIntOption(1302, 2);
  lu.getIntOption(1302, &iv);
  EXPECT_EQ(iv, 2);

  // Identifiers outside the two ranges.
  for (int id : {0, 1299, 1309, 2399, 2408, 1400}) {
    EXPECT_EQ(lu.setIntOption(id, 1), torva::kLuErrBadOptionId) << id;
    EXPECT_EQ(lu.setDoubleOption(id, 1.0), torva::kLuErrBadOptionId) << id;
    EXPECT_EQ(lu.getIntOption(id, &iv), torva::kLuErrBadOptionId) << id;
    EXPECT_EQ(lu.getDoubleOption(id, &dv), torva::kLuErrBadOptionId) << id;
  }
  EXPECT_EQ(lu.setIntOption(1308, 1), 0);
  EXPECT_EQ(lu.setIntOption(1306, 1), 0);

  // A null kernel.
  EXPECT_EQ(torva::luSetIntOption(nullptr, 1300, 4), torva::kLuErrNullKernel);
  EXPECT_EQ(torva::luSetDoubleOption(nullptr, 2403, 0.1), torva::kLuErrNullKernel);
  EXPECT_EQ(torva::luGetIntOption(nullptr, 1300, &iv), torva::kLuErrNullKernel);
  EXPECT_EQ(torva::luGetDoubleOption(nullptr, 2403, &dv), torva::kLuErrNullKernel);
  EXPECT_EQ(torva::luSetDoubleOption(&lu, 2403, -1.0), 0);
  EXPECT_EQ(torva::luGetDoubleOption(&lu, 2403, &dv), 0);
  EXPECT_EQ(dv, 0.01);
}

TEST(LuOptions, DumpGoesToTheLogInOrder) {
  std::string text;
  LuKernel lu(2, [&](const char* line) { text += line; });
  lu.logOptions();
  EXPECT_EQ(text, "") << "print level 0 prints nothing";
  lu.setIntOption(1302, 1);
  lu.setDoubleOption(2403, 0.05);
  lu.logOptions();
  const std::string expected =
      "\nWorking LU options \n"
      "SLU_IPAR_PRINT_LEVEL : 1\n"
      "SLU_IPAR_MAX_UPDATES : 500\n"
      "SLU_IPAR_NUM_CANDITS : 4\n"
      "SLU_IPAR_USE_PIVCOL : 0\n"
      "SLU_IPAR_MEM_EXP : 3\n"
      "SLU_IPAR_UPDATE_TYPE : 1\n"
      "SLU_IPAR_ISDEBUG : 0\n"
      "SLU_DPAR_INI_RCOND : 0.01\n"
      "SLU_DPAR_EPS_NONZ : 2.22045e-16\n"
      "SLU_DPAR_EPS_DIAG : 2.22045e-16\n"
      "SLU_DPAR_EPS_PIVREL : 0.05\n"
      "SLU_DPAR_EPS_PIVABS : 1e-08\n"
      "SLU_DPAR_SPVTOL_UPDATE : 0.001\n"
      "SLU_DPAR_SPVTOL_FTRAN : 0.2\n"
      "SLU_DPAR_SPVTOL_BTRAN : 0.1\n";
  EXPECT_EQ(text, expected);
}

// ------------------------------------------------------------ small bases

TEST(LuFactor, SolvesAGeneralMatrixExactly) {
  // Needs a real bump: no singletons anywhere.
  const std::vector<double> dense = {4, 1, 0, 2,  //
                                     1, 3, 1, 0,  //
                                     0, 1, 5, 1,  //
                                     2, 0, 1, 6};
  const ColumnMatrix a = denseToColumns(4, 4, dense);
  const std::vector<int> basic = {2, 0, 3, 1};
  LuKernel lu(4);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
  EXPECT_EQ(lu.rank(), 4);
  std::mt19937 rng(1);
  EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14);
  // The known solution of B x = B (1,2,3,4).
  const std::vector<double> x0 = {1, 2, 3, 4};
  const std::vector<double> b = multiply(a, basic, x0, false);
  LuVector v(4);
  for (int i = 0; i < 4; ++i) v.add(i, b[i]);
  ASSERT_EQ(lu.ftran(v), torva::kLuOk);
  const auto x = toDense(v);
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(x[i], x0[i], 1e-13);
}

TEST(LuFactor, DenseRightHandSideIsIndexedByTheKernel) {
  const ColumnMatrix a = denseToColumns(3, 3, {2, 1, 0, 1, 3, 1, 0, 1, 4});
  const std::vector<int> basic = {0, 1, 2};
  LuKernel lu(3);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
  LuVector v(3);
  v.array = {1.0, 0.0, 2.0};
  v.count = -1;  // dense input
  ASSERT_EQ(lu.btran(v), torva::kLuOk);
  expectConsistent(v);
  const auto y = multiply(a, basic, toDense(v), true);
  EXPECT_NEAR(y[0], 1.0, 1e-14);
  EXPECT_NEAR(y[1], 0.0, 1e-14);
  EXPECT_NEAR(y[2], 2.0, 1e-14);
}

TEST(LuFactor, EmptyBasis) {
  ColumnMatrix a;
  a.begin.push_back(0);
  LuKernel lu(0);
  EXPECT_EQ(lu.factorize(view(a), std::vector<int>{}), torva::kLuOk);
  EXPECT_EQ(lu.rank(), 0);
  LuVector v(0);
  EXPECT_EQ(lu.ftran(v), torva::kLuOk);
  EXPECT_EQ(lu.btran(v), torva::kLuOk);
  EXPECT_EQ(lu.rcond(), 1.0);
}

TEST(LuFactor, RejectsBadInput) {
  const ColumnMatrix a = denseToColumns(2, 2, {1, 0, 0, 1});
  LuKernel lu(2);
  EXPECT_EQ(lu.factorize(view(a), std::vector<int>{0}), torva::kLuBadInput);
  EXPECT_EQ(lu.factorize(view(a), std::vector<int>{0, 4}), torva::kLuBadInput);
  EXPECT_EQ(lu.factorize(view(a), std::vector<int>{-1, 0}), torva::kLuBadInput);
  ColumnMatrix bad = a;
  bad.index[0] = 7;
  EXPECT_EQ(lu.factorize(view(bad), std::vector<int>{0, 1}), torva::kLuBadInput);
  EXPECT_FALSE(lu.valid());
  LuVector v(2);
  EXPECT_EQ(lu.ftran(v), torva::kLuNotFactored);
  EXPECT_EQ(lu.update(0, 1), torva::kLuNotFactored);
  ASSERT_EQ(lu.factorize(view(a), std::vector<int>{0, 1}), torva::kLuOk);
  LuVector wrong(3);
  EXPECT_EQ(lu.ftran(wrong), torva::kLuBadInput);
  LuVector badIndex(2);
  badIndex.count = 1;
  badIndex.index[0] = 9;
  EXPECT_EQ(lu.ftran(badIndex), torva::kLuBadInput);
  EXPECT_EQ(lu.btran(badIndex), torva::kLuBadInput);
  badIndex.count = 3;
  EXPECT_EQ(lu.btran(badIndex), torva::kLuBadInput);
  EXPECT_EQ(lu.update(2, 0), torva::kLuBadInput);
  EXPECT_EQ(lu.update(0, 4), torva::kLuBadInput);
}

// Checks a rank-deficient result: the repaired basis the factors hold
// solves accurately and refactorises with full rank.
void expectRepairedBasisWorks(LuKernel& lu, const ColumnMatrix& a) {
  std::mt19937 rng(3);
  const std::vector<int> repaired = lu.basic();
  EXPECT_LT(worstResidual(lu, a, repaired, rng), kResidualTol);
  LuKernel fresh(a.numRows);
  EXPECT_EQ(fresh.factorize(view(a), repaired), torva::kLuOk);
  EXPECT_EQ(fresh.rank(), a.numRows);
}

TEST(LuSingular, DuplicateColumns) {
  const ColumnMatrix a = denseToColumns(4, 3, {1, 2, 1,  //
                                               0, 1, 0,  //
                                               3, 0, 3,  //
                                               0, 1, 0});
  // Columns 0 and 2 are equal; slack of row 1 completes the basis.
  const std::vector<int> basic = {0, 1, 2, 3 + 1};
  LuKernel lu(4);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuSingular);
  EXPECT_EQ(lu.rank(), 3);
  ASSERT_EQ(lu.unpivotedPositions().size(), 1u);
  const int dep = lu.unpivotedPositions()[0];
  EXPECT_TRUE(dep == 0 || dep == 2) << dep;
  ASSERT_EQ(lu.unpivotedRows().size(), 1u);
  // Row 1 is covered by the slack and column 1 and row 3 by column 1 only
  // together with row 1, so the row left over is 0 or 2.
  const int row = lu.unpivotedRows()[0];
  EXPECT_TRUE(row == 0 || row == 2 || row == 3) << row;
  EXPECT_EQ(lu.basic()[dep], 3 + row);
  expectRepairedBasisWorks(lu, a);
}

TEST(LuSingular, ZeroRowIsTheRowWithoutPivot) {
  const ColumnMatrix a = denseToColumns(3, 3, {1, 2, 0,  //
                                               0, 0, 0,  //
                                               4, 1, 1});
  const std::vector<int> basic = {0, 1, 2};
  LuKernel lu(3);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuSingular);
  EXPECT_EQ(lu.rank(), 2);
  ASSERT_EQ(lu.unpivotedRows(), std::vector<int>{1});
  ASSERT_EQ(lu.unpivotedPositions().size(), 1u);
  expectRepairedBasisWorks(lu, a);
}

TEST(LuSingular, EmptyColumnAndNearlyDependentColumn) {
  // Column 1 is empty; column 3 is column 0 plus 1e-12 in row 2.
  const ColumnMatrix a = denseToColumns(4, 4, {1, 0, 0, 1,  //
                                               2, 0, 1, 2,  //
                                               0, 0, 3, 1e-12,  //
                                               1, 0, 0, 1});
  const std::vector<int> basic = {0, 1, 2, 3};
  LuKernel lu(4);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuSingular);
  EXPECT_EQ(lu.rank(), 2);
  const auto& deps = lu.unpivotedPositions();
  ASSERT_EQ(deps.size(), 2u);
  const auto has = [&](int p) { return std::find(deps.begin(), deps.end(), p) != deps.end(); };
  EXPECT_TRUE(has(1)) << "the empty column is dependent";
  EXPECT_TRUE(has(0) || has(3)) << "one of the two nearly equal columns is dependent";
  expectRepairedBasisWorks(lu, a);
  // With an absolute tolerance below the perturbation, only the empty column
  // is dependent.
  lu.setDoubleOption(torva::kLuDparEpsPivAbs, 1e-14);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuSingular);
  EXPECT_EQ(lu.rank(), 3);
  EXPECT_EQ(lu.unpivotedPositions(), std::vector<int>{1});
}

// Rank of a dense matrix by Gaussian elimination with complete pivoting;
// pivots below tol count as zero.
int denseRank(std::vector<double> a, int m, double tol) {
  int rank = 0;
  std::vector<char> rowUsed(m, 0), colUsed(m, 0);
  for (int step = 0; step < m; ++step) {
    int pi = -1, pj = -1;
    double best = tol;
    for (int i = 0; i < m; ++i)
      for (int j = 0; j < m; ++j)
        if (!rowUsed[i] && !colUsed[j] && std::fabs(a[i * m + j]) > best) {
          best = std::fabs(a[i * m + j]);
          pi = i;
          pj = j;
        }
    if (pi < 0) break;
    ++rank;
    rowUsed[pi] = colUsed[pj] = 1;
    for (int i = 0; i < m; ++i) {
      if (rowUsed[i]) continue;
      const double f = a[i * m + pj] / a[pi * m + pj];
      for (int j = 0; j < m; ++j) a[i * m + j] -= f * a[pi * m + j];
    }
  }
  return rank;
}

TEST(LuSingular, RandomBasesWithPlantedDependencies) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<double> val(-4.0, 4.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  int singular = 0;
  for (int trial = 0; trial < 1000; ++trial) {
    const int m = 4 + static_cast<int>(rng() % 27);
    std::vector<double> dense(static_cast<size_t>(m) * m, 0.0);  // row-major
    const double density = 0.1 + 0.4 * unit(rng);
    for (double& d : dense)
      if (unit(rng) < density) d = val(rng);
    // Plant dependencies: a copied column, a combination of two columns, a
    // zero row, an empty column (each with some probability).
    const auto col = [&](std::uint32_t j) { return static_cast<int>(j % static_cast<std::uint32_t>(m)); };
    if (unit(rng) < 0.3) {
      const int j = col(rng()), k = col(rng());
      for (int i = 0; i < m; ++i) dense[i * m + k] = dense[i * m + j];
    }
    if (unit(rng) < 0.3) {
      const int j = col(rng()), k = col(rng()), l = col(rng());
      const double a = val(rng), b = val(rng);
      for (int i = 0; i < m; ++i) dense[i * m + l] = a * dense[i * m + j] + b * dense[i * m + k];
    }
    if (unit(rng) < 0.2) {
      const int r = col(rng());
      for (int j = 0; j < m; ++j) dense[r * m + j] = 0.0;
    }
    if (unit(rng) < 0.2) {
      const int c = col(rng());
      for (int i = 0; i < m; ++i) dense[i * m + c] = 0.0;
    }
    const ColumnMatrix a = denseToColumns(m, m, dense);
    std::vector<int> basic(m);
    for (int k = 0; k < m; ++k) basic[k] = k;
    std::shuffle(basic.begin(), basic.end(), rng);
    LuKernel lu(m);
    const int rc = lu.factorize(view(a), basic);
    // Tolerance between the kernel's absolute pivot tolerance (1e-8) and the
    // rounding left by the planted combinations.
    const int expected = denseRank(dense, m, 1e-9);
    ASSERT_EQ(lu.rank(), expected) << "trial " << trial;
    EXPECT_EQ(rc, expected < m ? torva::kLuSingular : torva::kLuOk);
    EXPECT_EQ(lu.unpivotedRows().size(), static_cast<size_t>(m - expected));
    EXPECT_EQ(lu.unpivotedPositions().size(), static_cast<size_t>(m - expected));
    if (expected < m) {
      ++singular;
      expectRepairedBasisWorks(lu, a);
    } else {
      std::mt19937 r2(trial);
      EXPECT_LT(worstResidual(lu, a, basic, r2), kResidualTol) << "trial " << trial;
    }
  }
  EXPECT_GT(singular, 200);
}

TEST(LuUpdate, RandomSequencesUnderEveryOptionMix) {
  std::mt19937 rng(77);
  std::uniform_real_distribution<double> val(-3.0, 3.0);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 64; ++trial) {
    const int m = 5 + static_cast<int>(rng() % 36);
    const int n = 2 * m;
    std::vector<double> dense(static_cast<size_t>(m) * n, 0.0);
    for (double& d : dense)
      if (unit(rng) < 0.15) d = val(rng);
    const ColumnMatrix a = denseToColumns(m, n, dense);
    LuKernel lu(m);
    const int updateType = trial & 1;
    const bool hyper = (trial >> 1) & 1;
    const bool pivcol = (trial >> 2) & 1;
    lu.setIntOption(torva::kLuIparUpdateType, updateType);
    lu.setIntOption(torva::kLuIparUsePivcol, pivcol ? 1 : 0);
    lu.setIntOption(torva::kLuIparMaxUpdates, 7);
    for (int id : {torva::kLuDparSpvtolFtran, torva::kLuDparSpvtolBtran, torva::kLuDparSpvtolUpdate})
      lu.setDoubleOption(id, hyper ? 2.0 : 0.0);
    std::vector<int> basic(m);
    for (int k = 0; k < m; ++k) basic[k] = n + k;  // slack basis
    ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
    LuVector v(m);
    int updates = 0;
    for (int step = 0; step < 60; ++step) {
      const int enter = static_cast<int>(rng() % static_cast<std::uint32_t>(n + m));
      if (std::find(basic.begin(), basic.end(), enter) != basic.end()) continue;
      torva::testsupport::loadColumn(a, enter, v);
      ASSERT_EQ(lu.ftran(v, true), torva::kLuOk);
      double mx = 0.0;
      for (int k = 0; k < v.count; ++k) mx = std::max(mx, std::fabs(v.array[v.index[k]]));
      // A random leaving position among those with an acceptable pivot.
      std::vector<int> ok;
      for (int k = 0; k < v.count; ++k)
        if (std::fabs(v.array[v.index[k]]) >= 0.1 * mx && mx > 1e-6) ok.push_back(v.index[k]);
      v.clear();
      if (ok.empty()) continue;
      const int leave = ok[rng() % ok.size()];
      const int rc = lu.update(leave, enter);
      basic[leave] = enter;
      if (rc == torva::kLuOutOfSpace) {
        ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk) << trial;
      } else {
        ASSERT_EQ(rc, torva::kLuOk) << trial;
        ++updates;
      }
      ASSERT_EQ(lu.basic(), basic);
      std::mt19937 r2(step);
      ASSERT_LT(worstResidual(lu, a, basic, r2), kResidualTol) << "trial " << trial << " step " << step;
    }
    EXPECT_GT(updates, 0) << trial;
  }
}

// A sparse matrix of small integers (so that sums cancel exactly and the
// symbolic reach of a solve exceeds its result). Its first m columns have a
// nonzero diagonal and, with band > 0, a dominant one with their other
// entries within band rows of it (limiting the fill of large bases); the rest
// are random.
ColumnMatrix integerSparseMatrix(int m, int n, int perColumn, int band, std::mt19937& rng) {
  ColumnMatrix a;
  a.numRows = m;
  a.numCols = n;
  a.begin.push_back(0);
  const int vals[] = {-1, 1, 1, 2};
  constexpr double kDiagonal = 5.0;  // dominates a banded column: nonsingular
  for (int j = 0; j < n; ++j) {
    std::vector<int> rows;
    if (j < m) rows.push_back(j);
    while (static_cast<int>(rows.size()) < perColumn) {
      int i = static_cast<int>(rng() % static_cast<std::uint32_t>(m));
      if (j < m && band > 0) i = std::clamp(j + static_cast<int>(rng() % (2 * band + 1)) - band, 0, m - 1);
      if (std::find(rows.begin(), rows.end(), i) == rows.end()) rows.push_back(i);
    }
    std::sort(rows.begin(), rows.end());
    for (int i : rows) {
      a.index.push_back(i);
      a.value.push_back(i == j && band > 0 ? kDiagonal : vals[rng() % 4]);
    }
    a.begin.push_back(static_cast<int>(a.index.size()));
  }
  return a;
}

// The hypersparse solves take the pivots in the same order as the
// dense-indexed ones and skip the same zeros, so both give the same numbers
// to the last bit, also after long update sequences of either kind. The large
// case spans several summary words of the pending-pivot set.
TEST(LuHypersparse, SameResultsAsDenseAfterLongUpdateSequences) {
  struct Case {
    int m, perColumn, band, updates;
  };
  for (const Case c : {Case{150, 4, 0, 120}, Case{4500, 3, 20, 100}}) {
    for (int updateType : {0, 1}) {
      std::mt19937 rng(static_cast<std::uint32_t>(1000 + c.m + updateType));
      const int m = c.m, n = 2 * m;
      const ColumnMatrix a = integerSparseMatrix(m, n, c.perColumn, c.band, rng);
      LuKernel hyper(m), dense(m);
      for (LuKernel* lu : {&hyper, &dense}) {
        lu->setIntOption(torva::kLuIparUpdateType, updateType);
        lu->setIntOption(torva::kLuIparMaxUpdates, c.updates);
        lu->setIntOption(torva::kLuIparMemExp, 50);
      }
      for (int id : {torva::kLuDparSpvtolFtran, torva::kLuDparSpvtolBtran}) {
        hyper.setDoubleOption(id, 2.0);
        dense.setDoubleOption(id, 0.0);
      }
      std::vector<int> basic(m);
      for (int k = 0; k < m; ++k) basic[k] = k;  // the diagonal columns
      ASSERT_EQ(hyper.factorize(view(a), basic), torva::kLuOk);
      ASSERT_EQ(dense.factorize(view(a), basic), torva::kLuOk);
      LuVector v(m), w(m);
      const auto compareSolves = [&](int numRhs) {
        for (int t = 0; t < numRhs; ++t) {
          const int nnz = 1 + static_cast<int>(rng() % 6);
          std::vector<std::pair<int, double>> rhs;
          for (int k = 0; k < nnz; ++k)
            rhs.emplace_back(static_cast<int>(rng() % static_cast<std::uint32_t>(m)),
                             k == 0 ? 1.0 : static_cast<double>(static_cast<int>(rng() % 5) - 2) * 0.5);
          for (bool transposed : {false, true}) {
            v.clear();
            w.clear();
            for (const auto& [i, x] : rhs) {
              if (x == 0.0) continue;
              v.add(i, x);
              w.add(i, x);
            }
            v.prune(0.0);
            w.prune(0.0);
            ASSERT_EQ(transposed ? hyper.btran(v) : hyper.ftran(v), torva::kLuOk);
            ASSERT_EQ(transposed ? dense.btran(w) : dense.ftran(w), torva::kLuOk);
            expectConsistent(v);
            expectConsistent(w);
            ASSERT_EQ(v.count, w.count) << "transposed " << transposed;
            ASSERT_EQ(toDense(v), toDense(w)) << "transposed " << transposed;
          }
        }
      };
      compareSolves(10);
      int done = 0;
      for (int step = 0; step < 20 * c.updates && done < c.updates; ++step) {
        const int enter = static_cast<int>(rng() % static_cast<std::uint32_t>(n));
        if (std::find(basic.begin(), basic.end(), enter) != basic.end()) continue;
        torva::testsupport::loadColumn(a, enter, v);
        torva::testsupport::loadColumn(a, enter, w);
        ASSERT_EQ(hyper.ftran(v), torva::kLuOk);
        ASSERT_EQ(dense.ftran(w), torva::kLuOk);
        ASSERT_EQ(toDense(v), toDense(w));
        int leave = -1;
        double best = 0.0;
        for (int k = 0; k < v.count; ++k)
          if (std::fabs(v.array[v.index[k]]) > best) {
            best = std::fabs(v.array[v.index[k]]);
            leave = v.index[k];
          }
        v.clear();
        w.clear();
        if (leave < 0 || best < 1e-2) continue;
        const int rh = hyper.update(leave, enter);
        ASSERT_EQ(rh, dense.update(leave, enter));
        ASSERT_EQ(rh, torva::kLuOk) << "update " << done;
        basic[leave] = enter;
        if (++done % 25 == 0) compareSolves(4);
      }
      EXPECT_EQ(done, c.updates) << "m " << m << " type " << updateType;
      compareSolves(20);
      if (m <= 1000) {  // the residual check is quadratic in m
        std::mt19937 r2(3);
        EXPECT_LT(worstResidual(hyper, a, basic, r2), kResidualTol) << "m " << m << " type " << updateType;
      }
      EXPECT_GT(hyper.solveStats().ftranHyper, 0);
      EXPECT_GT(hyper.solveStats().btranHyper, 0);
      EXPECT_EQ(dense.solveStats().ftranHyper + dense.solveStats().btranHyper, 0);
    }
  }
}

TEST(LuUpdate, UpdateTypeChangesAtTheNextFactorisation) {
  const ColumnMatrix a = denseToColumns(3, 5, {1, 0, 2, 1, 0,  //
                                               1, 1, 0, 0, 1,  //
                                               0, 2, 1, 1, 1});
  LuKernel lu(3);
  std::vector<int> basic = {0, 1, 2};
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
  ASSERT_EQ(lu.update(0, 3), torva::kLuOk);  // Forrest-Tomlin
  basic[0] = 3;
  lu.setIntOption(torva::kLuIparUpdateType, 0);
  ASSERT_EQ(lu.update(1, 4), torva::kLuOk);  // still Forrest-Tomlin
  basic[1] = 4;
  std::mt19937 rng(4);
  EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
  ASSERT_EQ(lu.update(2, 0), torva::kLuOk);  // product form from here
  basic[2] = 0;
  EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14);
  EXPECT_GT(lu.nnzR(), 0);
}

TEST(LuCondition, DiagonalBasis) {
  const ColumnMatrix a = denseToColumns(3, 3, {2, 0, 0, 0, 1e-6, 0, 0, 0, 1});
  LuKernel lu(3);
  ASSERT_EQ(lu.factorize(view(a), std::vector<int>{0, 1, 2}), torva::kLuOk);
  // kappa_1 = 2 * 1e6 for this diagonal matrix, as for kappa_2 and kappa_4.
  EXPECT_NEAR(lu.rcond(), 0.5e-6, 1e-12);
  EXPECT_NEAR(lu.cond2est(), 2e6, 2e3);
  EXPECT_NEAR(lu.cond4est(), 2e6, 2e3);
  EXPECT_NEAR(lu.updateRcond(), 0.5e-6, 1e-12);
}

TEST(LuCondition, EstimatesTrackIllConditioning) {
  // B = [1 1; 1 1+d]: kappa grows like 4/d.
  for (double d : {1e-2, 1e-5, 1e-8}) {
    const ColumnMatrix a = denseToColumns(2, 2, {1, 1, 1, 1 + d});
    LuKernel lu(2);
    lu.setDoubleOption(torva::kLuDparEpsPivAbs, 1e-12);
    ASSERT_EQ(lu.factorize(view(a), std::vector<int>{0, 1}), torva::kLuOk);
    const double kappa = 4.0 / d;
    EXPECT_GT(1.0 / lu.rcond(), 0.3 * kappa) << d;
    EXPECT_LT(1.0 / lu.rcond(), 3.0 * kappa) << d;
    EXPECT_GT(lu.cond2est(), 0.3 * kappa) << d;
    EXPECT_LT(lu.cond2est(), 3.0 * kappa) << d;
  }
}

TEST(LuHash, DependsOnTheSetOnly) {
  const std::vector<int> a = {5, 1, 9, 3};
  const std::vector<int> b = {9, 3, 5, 1};
  const std::vector<int> c = {5, 1, 9, 4};
  EXPECT_EQ(LuKernel::basisHash(a), LuKernel::basisHash(b));
  EXPECT_NE(LuKernel::basisHash(a), LuKernel::basisHash(c));
}

TEST(LuUpdate, SingularUpdateAndOutOfSpaceLeaveFactorsIntact) {
  const ColumnMatrix a = denseToColumns(3, 4, {1, 0, 2, 1,  //
                                               1, 1, 0, 1,  //
                                               0, 2, 1, 0});
  for (int type : {0, 1}) {
    LuKernel lu(3);
    lu.setIntOption(torva::kLuIparUpdateType, type);
    lu.setIntOption(torva::kLuIparMaxUpdates, 2);
    std::vector<int> basic = {0, 1, 2};
    ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
    // Column 3 is a copy of column 0: putting it in place of column 1
    // would make the basis singular.
    EXPECT_EQ(lu.update(1, 3), torva::kLuSingularUpdate) << type;
    std::mt19937 rng(5);
    EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14) << type;
    // Replacing column 0 by its copy is fine; then the slack of row 2.
    ASSERT_EQ(lu.update(0, 3), torva::kLuOk) << type;
    basic[0] = 3;
    ASSERT_EQ(lu.update(2, 4 + 2), torva::kLuOk) << type;
    basic[2] = 6;
    EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14) << type;
    EXPECT_EQ(lu.update(1, 4 + 0), torva::kLuOutOfSpace) << type;
    EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14) << type;
    EXPECT_EQ(lu.basic(), basic);
  }
}

TEST(LuUpdate, NearlySingularUpdateShowsInTheConditionEstimates) {
  // Column 3 differs from column 0 by 1e-11 in row 2.
  const ColumnMatrix a = denseToColumns(3, 4, {1, 0, 2, 1,  //
                                               1, 1, 0, 1,  //
                                               0, 2, 1, 1e-11});
  for (int type : {0, 1}) {
    LuKernel lu(3);
    lu.setIntOption(torva::kLuIparUpdateType, type);
    std::vector<int> basic = {0, 1, 2};
    ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
    EXPECT_GT(lu.updateRcond(), 0.1) << type;
    const std::uint64_t before = lu.basisHash();
    ASSERT_EQ(lu.update(1, 3), torva::kLuOk) << type;
    basic[1] = 3;
    EXPECT_LT(lu.updateRcond(), 1e-9) << type;
    EXPECT_LT(lu.rcond(), 1e-9) << type;
    EXPECT_GT(lu.cond2est(), 1e9) << type;
    EXPECT_NE(lu.basisHash(), before);
    EXPECT_EQ(lu.basisHash(), LuKernel::basisHash(basic));
    // The solves still meet the residual bound of a backward-stable solve.
    std::mt19937 rng(2);
    EXPECT_LT(worstResidual(lu, a, basic, rng), kResidualTol) << type;
  }
}

TEST(LuFactor, ThresholdOptionIsUsedWhenGrowthIsModest) {
  const ColumnMatrix a = denseToColumns(3, 3, {2, 1, 0, 1, 3, 1, 0, 1, 4});
  LuKernel lu(3);
  lu.setDoubleOption(torva::kLuDparEpsPivRel, 0.3);
  ASSERT_EQ(lu.factorize(view(a), std::vector<int>{0, 1, 2}), torva::kLuOk);
  EXPECT_EQ(lu.pivotThresholdUsed(), 0.3);
  EXPECT_EQ(lu.growthRetries(), 0);
}

// ------------------------------------------------------------ Netlib bases

std::vector<std::string> netlibModels() {
  std::vector<std::string> out;
  const std::string dir = torva::testsupport::sharedDataDir() + "/netlib";
  if (!std::filesystem::is_directory(dir)) return out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string p = e.path().string();
    if (p.size() > 7 && p.substr(p.size() - 7) == ".mps.gz") out.push_back(p);
  }
  std::sort(out.begin(), out.end());
#ifdef __SANITIZE_ADDRESS__
  // Instrumented builds check memory use on every third model only, to keep
  // their run short; the release build runs them all.
  std::vector<std::string> some;
  for (size_t k = 0; k < out.size(); k += 3) some.push_back(out[k]);
  out.swap(some);
#endif
  return out;
}

// Replaces leaving positions by random entering columns, as a simplex would
// (the leaving position carries a large entry of the transformed column),
// checking the residuals after every refactorisation and every 50 updates.
struct SequenceResult {
  int updates = 0;
  int refactorisations = 0;
  int checks = 0;
  double worst = 0.0;
};

SequenceResult runUpdateSequence(const ColumnMatrix& a, std::vector<int> basic, int updateType, int numSteps,
                                 unsigned seed, bool usePivcol, double spvtolUpdate = -1.0) {
  const int m = a.numRows;
  SequenceResult res;
  LuKernel lu(m);
  lu.setIntOption(torva::kLuIparUpdateType, updateType);
  lu.setIntOption(torva::kLuIparMaxUpdates, 120);
  lu.setIntOption(torva::kLuIparUsePivcol, usePivcol ? 1 : 0);
  lu.setDoubleOption(torva::kLuDparSpvtolUpdate, spvtolUpdate);
  std::mt19937 rng(seed);
  EXPECT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
  res.worst = std::max(res.worst, worstResidual(lu, a, basic, rng));
  ++res.checks;
  std::vector<char> isBasic(a.numCols + m, 0);
  for (int v : basic) isBasic[v] = 1;
  std::uniform_int_distribution<int> anyVar(0, a.numCols + m - 1);
  LuVector v(m);
  int sinceCheck = 0;
  for (int step = 0; step < numSteps; ++step) {
    int enter = anyVar(rng);
    for (int tries = 0; tries < 50 && isBasic[enter]; ++tries) enter = anyVar(rng);
    if (isBasic[enter]) continue;
    torva::testsupport::loadColumn(a, enter, v);
    EXPECT_EQ(lu.ftran(v, true), torva::kLuOk);
    // Leaving: the largest |alpha| among a random half of the positions.
    int leave = -1;
    double best = 0.0;
    for (int k = 0; k < v.count; ++k) {
      const int pos = v.index[k];
      if ((rng() & 1) && std::fabs(v.array[pos]) > best) {
        best = std::fabs(v.array[pos]);
        leave = pos;
      }
    }
    v.clear();
    if (leave < 0 || best < 1e-2) continue;
    int rc = lu.update(leave, enter);
    isBasic[basic[leave]] = 0;
    basic[leave] = enter;
    isBasic[enter] = 1;
    if (rc == torva::kLuOutOfSpace) {
      EXPECT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
      ++res.refactorisations;
      res.worst = std::max(res.worst, worstResidual(lu, a, basic, rng));
      ++res.checks;
      sinceCheck = 0;
    } else {
      EXPECT_EQ(rc, torva::kLuOk);
      if (rc != torva::kLuOk) return res;
    }
    ++res.updates;
    if (++sinceCheck == 50) {
      EXPECT_EQ(lu.basic(), basic);
      EXPECT_EQ(lu.basisHash(), LuKernel::basisHash(basic));
      res.worst = std::max(res.worst, worstResidual(lu, a, basic, rng));
      ++res.checks;
      sinceCheck = 0;
    }
  }
  return res;
}

class NetlibBases : public ::testing::Test {
 protected:
  void SetUp() override {
    models_ = netlibModels();
    if (models_.empty()) GTEST_SKIP() << "Netlib models not found under " << torva::testsupport::sharedDataDir();
  }
  std::vector<std::string> models_;
};

TEST_F(NetlibBases, FactoriseAndSolveEveryModel) {
  int factored = 0;
  for (const auto& path : models_) {
    ColumnMatrix a;
    ASSERT_TRUE(torva::testsupport::readMpsColumns(path, a)) << path;
    const std::vector<int> basic = torva::testsupport::crashBasis(a, a.numRows, 17);
    LuKernel lu(a.numRows);
    ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk) << path;
    EXPECT_EQ(lu.rank(), a.numRows);
    std::mt19937 rng(7);
    EXPECT_LT(worstResidual(lu, a, basic, rng), kResidualTol) << path;
    const double rc = lu.rcond();
    EXPECT_GT(rc, 0.0) << path;
    EXPECT_LE(rc, 1.0) << path;
    ++factored;
  }
  EXPECT_EQ(factored, static_cast<int>(models_.size()));
}

TEST_F(NetlibBases, ForrestTomlinUpdateSequences) {
  for (const auto& path : models_) {
    ColumnMatrix a;
    ASSERT_TRUE(torva::testsupport::readMpsColumns(path, a)) << path;
    const std::vector<int> basic = torva::testsupport::crashBasis(a, a.numRows, 23);
    const SequenceResult r = runUpdateSequence(a, basic, 1, 300, 99, false);
    EXPECT_LT(r.worst, kResidualTol) << path;
    EXPECT_GT(r.updates, 0) << path;
    EXPECT_GE(r.checks, 2) << path;
  }
}

TEST_F(NetlibBases, ProductFormUpdateSequencesAndReusedColumns) {
  int n = 0;
  for (const auto& path : models_) {
    if (n++ % 3 != 0) continue;  // a third of the models keeps the run short
    ColumnMatrix a;
    ASSERT_TRUE(torva::testsupport::readMpsColumns(path, a)) << path;
    const std::vector<int> basic = torva::testsupport::crashBasis(a, a.numRows, 31);
    const SequenceResult pf = runUpdateSequence(a, basic, 0, 200, 5, true);
    EXPECT_LT(pf.worst, kResidualTol) << path;
    // Forrest-Tomlin with the sparse variant of the update everywhere.
    const SequenceResult ft = runUpdateSequence(a, basic, 1, 200, 5, true, 1.0);
    EXPECT_LT(ft.worst, kResidualTol) << path;
  }
}

TEST_F(NetlibBases, HypersparseAndDenseSolvesAgree) {
  for (const auto& path : models_) {
    ColumnMatrix a;
    ASSERT_TRUE(torva::testsupport::readMpsColumns(path, a)) << path;
    if (a.numRows < 500) continue;
    std::vector<int> basic = torva::testsupport::crashBasis(a, a.numRows, 41);
    const int m = a.numRows;
    LuKernel hyper(m), dense(m);
    for (int id : {torva::kLuDparSpvtolFtran, torva::kLuDparSpvtolBtran}) {
      hyper.setDoubleOption(id, 2.0);  // always below the threshold
      dense.setDoubleOption(id, 0.0);  // never
    }
    ASSERT_EQ(hyper.factorize(view(a), basic), torva::kLuOk);
    ASSERT_EQ(dense.factorize(view(a), basic), torva::kLuOk);
    // Some updates first, so that the row etas and new U columns take part.
    std::mt19937 rng(8);
    LuVector v(m), w(m);
    for (int step = 0, done = 0; step < 200 && done < 40; ++step) {
      const int enter = std::uniform_int_distribution<int>(0, a.numCols - 1)(rng);
      if (std::find(basic.begin(), basic.end(), enter) != basic.end()) continue;
      torva::testsupport::loadColumn(a, enter, v);
      hyper.ftran(v);
      int leave = -1;
      double best = 0.0;
      for (int k = 0; k < v.count; ++k)
        if (std::fabs(v.array[v.index[k]]) > best) {
          best = std::fabs(v.array[v.index[k]]);
          leave = v.index[k];
        }
      v.clear();
      if (leave < 0 || best < 1e-2) continue;
      ASSERT_EQ(hyper.update(leave, enter), torva::kLuOk);
      ASSERT_EQ(dense.update(leave, enter), torva::kLuOk);
      basic[leave] = enter;
      ++done;
    }
    for (int t = 0; t < 20; ++t) {
      const int i = std::uniform_int_distribution<int>(0, m - 1)(rng);
      for (bool transposed : {false, true}) {
        v.clear();
        w.clear();
        v.add(i, 1.0);
        w.add(i, 1.0);
        if (transposed) {
          hyper.btran(v);
          dense.btran(w);
        } else {
          hyper.ftran(v);
          dense.ftran(w);
        }
        expectConsistent(v);
        const auto x = toDense(v), y = toDense(w);
        // Same pivots in the same order, the same zeros skipped: equal to the bit.
        EXPECT_EQ(x, y) << path;
      }
    }
    EXPECT_GT(hyper.solveStats().ftranHyper, 0);
    EXPECT_EQ(dense.solveStats().ftranHyper, 0);
  }
}

TEST_F(NetlibBases, SingularBasesAreDiagnosed) {
  int tested = 0;
  for (const auto& path : models_) {
    ColumnMatrix a;
    ASSERT_TRUE(torva::testsupport::readMpsColumns(path, a)) << path;
    const int m = a.numRows;
    std::vector<int> basic = torva::testsupport::crashBasis(a, m, 53);
    // A duplicate: the matrix gains a copy of a basic structural column,
    // which replaces a slack of the basis.
    int structPos = -1, slackPos = -1;
    for (int pos = 0; pos < m; ++pos) {
      if (basic[pos] < a.numCols && structPos < 0) structPos = pos;
      if (basic[pos] >= a.numCols && slackPos < 0) slackPos = pos;
    }
    if (structPos < 0 || slackPos < 0) continue;
    ColumnMatrix b = a;
    const int j = basic[structPos];
    for (int p = a.begin[j]; p < a.begin[j + 1]; ++p) {
      b.index.push_back(a.index[p]);
      b.value.push_back(a.value[p]);
    }
    b.begin.push_back(static_cast<int>(b.index.size()));
    ++b.numCols;
    std::vector<int> dup(m);
    for (int pos = 0; pos < m; ++pos) dup[pos] = basic[pos] < a.numCols ? basic[pos] : basic[pos] + 1;
    dup[slackPos] = a.numCols;  // the copy
    LuKernel lu(m);
    ASSERT_EQ(lu.factorize(view(b), dup), torva::kLuSingular) << path;
    EXPECT_EQ(lu.rank(), m - 1) << path;
    ASSERT_EQ(lu.unpivotedPositions().size(), 1u) << path;
    const int dep = lu.unpivotedPositions()[0];
    EXPECT_TRUE(dep == structPos || dep == slackPos) << path;
    // The missing row is the slack's row unless the other copy was dropped.
    expectRepairedBasisWorks(lu, b);

    // A zero row: clear the row of the dropped slack in every column, so
    // that only the slack could have covered it.
    const int zeroRow = basic[slackPos] - a.numCols;
    ColumnMatrix c;
    c.numRows = m;
    c.numCols = a.numCols;
    c.begin.push_back(0);
    for (int col = 0; col < a.numCols; ++col) {
      for (int p = a.begin[col]; p < a.begin[col + 1]; ++p)
        if (a.index[p] != zeroRow) {
          c.index.push_back(a.index[p]);
          c.value.push_back(a.value[p]);
        }
      c.begin.push_back(static_cast<int>(c.index.size()));
    }
    std::vector<int> noSlack = basic;
    // Any nonbasic column (possibly touching zeroRow in a) replaces it.
    int other = -1;
    for (int col = 0; col < a.numCols && other < 0; ++col)
      if (std::find(basic.begin(), basic.end(), col) == basic.end() && c.begin[col + 1] > c.begin[col])
        other = col;
    if (other < 0) continue;
    noSlack[slackPos] = other;
    const int rc = lu.factorize(view(c), noSlack);
    ASSERT_EQ(rc, torva::kLuSingular) << path;
    // The rest of the basis is nonsingular without that row and slack.
    EXPECT_EQ(lu.rank(), m - 1) << path;
    EXPECT_EQ(lu.unpivotedRows(), std::vector<int>{zeroRow}) << path;
    EXPECT_EQ(lu.unpivotedPositions().size(), 1u) << path;
    expectRepairedBasisWorks(lu, c);
    ++tested;
  }
  EXPECT_GT(tested, 0);
}

}  // namespace
