// LU kernel: options, factorisation, singular bases, updates and their
// stability test, solves (hypersparse, dense-indexed, several at once),
// extension by cut rows, copies and condition estimates, on small matrices
// and on bases of the Netlib models.
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
using torva::LuVector;
using torva::testsupport::ColumnMatrix;
using torva::testsupport::loadColumn;
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

// y = B x (x by position, y by row) or y = B^T x, and the infinity norm of B
// (of B^T) in norm.
std::vector<double> multiply(const ColumnMatrix& a, const std::vector<int>& basic, const std::vector<double>& x,
                             bool transposed, double* norm = nullptr) {
  const int m = a.numRows;
  std::vector<double> y(m, 0.0), sums(m, 0.0);
  const auto add = [&](int row, int pos, double v) {
    (transposed ? y[pos] : y[row]) += v * (transposed ? x[row] : x[pos]);
    sums[transposed ? pos : row] += std::fabs(v);
  };
  for (int pos = 0; pos < m; ++pos) {
    const int var = basic[pos];
    if (var >= a.numCols) {
      add(var - a.numCols, pos, 1.0);
      continue;
    }
    for (int p = a.begin[var]; p < a.begin[var + 1]; ++p) add(a.index[p], pos, a.value[p]);
  }
  if (norm) *norm = *std::max_element(sums.begin(), sums.end());
  return y;
}

double normInf(const std::vector<double>& v) {
  double n = 0.0;
  for (double d : v) n = std::max(n, std::fabs(d));
  return n;
}

std::vector<double> toDense(const LuVector& v) {
  std::vector<double> d(v.dimension(), 0.0);
  for (int k = 0; k < v.count; ++k) d[v.index[k]] = v.array[v.index[k]];
  return d;
}

LuVector fromDense(const std::vector<double>& d) {
  LuVector v(static_cast<int>(d.size()));
  for (int i = 0; i < v.dimension(); ++i)
    if (d[i] != 0.0) v.add(i, d[i]);
  return v;
}

// Checks that the result's index lists exactly the nonzeros of its array.
void expectConsistent(const LuVector& v) {
  std::vector<char> listed(v.dimension(), 0);
  for (int k = 0; k < v.count; ++k) {
    ASSERT_FALSE(listed[v.index[k]]) << "index listed twice";
    listed[v.index[k]] = 1;
  }
  for (int i = 0; i < v.dimension(); ++i)
    if (!listed[i]) {
      ASSERT_EQ(v.array[i], 0.0) << "unlisted nonzero at " << i;
    }
}

// Worst normwise relative residual ||B x - b|| / (||B|| ||x|| + ||b||) of
// FTRAN and BTRAN over unit, sparse random, matrix-column and dense vectors.
double worstResidual(LuKernel& lu, const ColumnMatrix& a, const std::vector<int>& basic, std::mt19937& rng) {
  const int m = a.numRows;
  std::uniform_int_distribution<int> row(0, m - 1);
  std::uniform_real_distribution<double> val(-1.0, 1.0);
  std::vector<std::vector<double>> rhs(4, std::vector<double>(m, 0.0));
  rhs[0][row(rng)] = 1.0;
  for (int t = 0; t < 5; ++t) rhs[1][row(rng)] = val(rng);
  const int j = std::uniform_int_distribution<int>(0, a.numCols - 1)(rng);
  for (int p = a.begin[j]; p < a.begin[j + 1]; ++p) rhs[2][a.index[p]] = a.value[p];
  for (double& d : rhs[3]) d = val(rng);
  double worst = 0.0;
  for (const auto& b : rhs) {
    for (bool transposed : {false, true}) {
      LuVector v = fromDense(b);
      EXPECT_EQ(transposed ? lu.btran(v) : lu.ftran(v), torva::kLuOk);
      expectConsistent(v);
      const std::vector<double> x = toDense(v);
      double normB = 0.0;
      std::vector<double> r = multiply(a, basic, x, transposed, &normB);
      for (int i = 0; i < m; ++i) r[i] -= b[i];
      worst = std::max(worst, normInf(r) / (normB * normInf(x) + normInf(b)));
    }
  }
  return worst;
}

// The position of the largest entry of FTRAN(column enter), with that entry.
std::pair<int, double> largestEntry(LuKernel& lu, const ColumnMatrix& a, int enter, LuVector& v) {
  loadColumn(a, enter, v);
  EXPECT_EQ(lu.ftran(v, true), torva::kLuOk);
  std::pair<int, double> best{-1, 0.0};
  for (int k = 0; k < v.count; ++k)
    if (std::fabs(v.array[v.index[k]]) > std::fabs(best.second)) best = {v.index[k], v.array[v.index[k]]};
  v.clear();
  return best;
}

// ------------------------------------------------------------ options

TEST(LuOptions, DefaultsRangesAndNullKernel) {
  LuKernel lu(3);
  double dv = 0.0;
  int iv = 0;
  // Negative values select the defaults; 1300 below 1 is rejected.
  ASSERT_EQ(lu.setDoubleOption(2403, 0.5), 0);
  ASSERT_EQ(lu.setDoubleOption(2403, -1.0), 0);
  lu.getDoubleOption(2403, &dv);
  EXPECT_EQ(dv, 0.01);
  ASSERT_EQ(lu.setIntOption(1300, 7), 0);
  ASSERT_EQ(lu.setIntOption(1300, -1), 0);
  lu.getIntOption(1300, &iv);
  EXPECT_EQ(iv, 4);
  EXPECT_EQ(lu.setIntOption(1300, 0), torva::kLuErrBadOptionValue);
  ASSERT_EQ(lu.setIntOption(torva::kLuIparUpdateType, 0), 0);  // the product form is not the default
  lu.getIntOption(torva::kLuIparUpdateType, &iv);
  EXPECT_EQ(iv, 0);
  for (int id : {1299, 1309, 2399, 2408}) EXPECT_EQ(lu.setIntOption(id, 1), torva::kLuErrBadOptionId) << id;
  EXPECT_EQ(torva::luSetIntOption(nullptr, 1300, 4), torva::kLuErrNullKernel);
}

TEST(LuOptions, DumpGoesToTheLogInOrder) {
  std::string text;
  LuKernel lu(2, [&](const char* line) { text += line; });
  lu.logOptions();
  EXPECT_EQ(text, "") << "print level 0 prints nothing";
  lu.setIntOption(1302, 1);
  lu.setDoubleOption(2403, 0.05);
  lu.logOptions();
  EXPECT_EQ(text,
            "\nWorking LU options \nSLU_IPAR_PRINT_LEVEL : 1\nSLU_IPAR_MAX_UPDATES : 500\n"
            "SLU_IPAR_NUM_CANDITS : 4\nSLU_IPAR_USE_PIVCOL : 0\nSLU_IPAR_MEM_EXP : 3\nSLU_IPAR_UPDATE_TYPE : 1\n"
            "SLU_IPAR_ISDEBUG : 0\nSLU_DPAR_INI_RCOND : 0.01\nSLU_DPAR_EPS_NONZ : 2.22045e-16\n"
            "SLU_DPAR_EPS_DIAG : 2.22045e-16\nSLU_DPAR_EPS_PIVREL : 0.05\nSLU_DPAR_EPS_PIVABS : 1e-08\n"
            "SLU_DPAR_SPVTOL_UPDATE : 0.001\nSLU_DPAR_SPVTOL_FTRAN : 0.2\nSLU_DPAR_SPVTOL_BTRAN : 0.1\n");
}

// The basis hash is FNV-1a over the bytes of the sorted indices: the same
// for any order of the same indices (repeats counted), whether the indices
// are dense in their range or spread far apart.
TEST(LuHash, SortedFnvForAnyOrderAndSpread) {
  const auto reference = [](std::vector<int> v) {
    std::sort(v.begin(), v.end());
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (int x : v)
      for (int b = 0; b < 4; ++b) h = (h ^ ((static_cast<std::uint32_t>(x) >> (8 * b)) & 0xffU)) * 0x100000001b3ULL;
    return h;
  };
  const std::vector<std::vector<int>> cases = {
      {}, {7}, {5, 1, 4, 2, 3}, {3, 3, 1}, {1, 3}, {2000000000, 0, 17}, {-5, 12, -1, 0}, {9, 0, 40, 8, 1, 100000}};
  for (const auto& c : cases) {
    std::vector<int> r(c.rbegin(), c.rend());
    EXPECT_EQ(LuKernel::basisHash(c), reference(c)) << ::testing::PrintToString(c);
    EXPECT_EQ(LuKernel::basisHash(r), LuKernel::basisHash(c)) << ::testing::PrintToString(c);
  }
  EXPECT_NE(LuKernel::basisHash(std::vector<int>{3, 3, 1}), LuKernel::basisHash(std::vector<int>{3, 1}));
}

// ------------------------------------------------------------ factorisation

TEST(LuFactor, BadInputAndEmptyBasis) {
  const ColumnMatrix a = denseToColumns(2, 2, {1, 0, 0, 1});
  LuKernel lu(2);
  for (const std::vector<int>& basic : {std::vector<int>{0}, {0, 4}, {-1, 0}})
    EXPECT_EQ(lu.factorize(view(a), basic), torva::kLuBadInput);
  ColumnMatrix bad = a;
  bad.index[0] = 7;
  EXPECT_EQ(lu.factorize(view(bad), std::vector<int>{0, 1}), torva::kLuBadInput);
  LuVector v(2);
  EXPECT_EQ(lu.ftran(v), torva::kLuNotFactored);
  EXPECT_EQ(lu.update(0, 1), torva::kLuNotFactored);
  EXPECT_EQ(lu.extend(view(a)), torva::kLuNotFactored);
  ASSERT_EQ(lu.factorize(view(a), std::vector<int>{0, 1}), torva::kLuOk);
  LuVector wrong(3);
  EXPECT_EQ(lu.ftran(wrong), torva::kLuBadInput);
  EXPECT_EQ(lu.ftranMany(std::span<LuVector>(&wrong, 1)), torva::kLuBadInput);
  EXPECT_EQ(lu.update(2, 0), torva::kLuBadInput);
  EXPECT_EQ(lu.update(0, 1, std::nan("")), torva::kLuBadInput);
  ColumnMatrix fewer = denseToColumns(1, 2, {1, 1});
  EXPECT_EQ(lu.extend(view(fewer)), torva::kLuBadInput);
  // A dense right-hand side (count -1) is indexed by the kernel.
  LuVector dense(2);
  dense.array = {3.0, 0.0};
  dense.count = -1;
  ASSERT_EQ(lu.btran(dense), torva::kLuOk);
  EXPECT_EQ(toDense(dense), (std::vector<double>{3.0, 0.0}));

  ColumnMatrix empty;
  empty.begin.push_back(0);
  LuKernel none(0);
  EXPECT_EQ(none.factorize(view(empty), std::vector<int>{}), torva::kLuOk);
  LuVector zero(0);
  EXPECT_EQ(none.ftran(zero), torva::kLuOk);
  EXPECT_EQ(none.rcond(), 1.0);
}

// Checks a rank-deficient result: the repaired basis the factors hold
// solves accurately and refactorises with full rank.
void expectRepairedBasisWorks(LuKernel& lu, const ColumnMatrix& a) {
  std::mt19937 rng(3);
  const std::vector<int> repaired = lu.basic();
  EXPECT_LT(worstResidual(lu, a, repaired, rng), kResidualTol);
  LuKernel fresh(a.numRows);
  double pivAbs = 0.0;
  lu.getDoubleOption(torva::kLuDparEpsPivAbs, &pivAbs);
  fresh.setDoubleOption(torva::kLuDparEpsPivAbs, pivAbs);
  EXPECT_EQ(fresh.factorize(view(a), repaired), torva::kLuOk);
}

// Small singular and nearly singular bases: the expected rank and the
// positions that may be declared dependent (those of the dependent set).
TEST(LuSingular, DependentSetsOfSmallBases) {
  // Hilbert matrix of order 6 (condition 1.5e7).
  std::vector<double> hilbert(36);
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) hilbert[i * 6 + j] = 1.0 / (i + j + 1);
  const auto scaled = [](std::vector<double> d, double s) {
    for (double& x : d) x *= s;
    return d;
  };
  // Columns 0 and 1 general, column 2 = 1e8 * (column 0 + column 1), column 3
  // unrelated and of small entries (which an absolute test alone drops).
  const std::vector<double> bigDependent = {1, 2, 3e8, 1e-9, 0, 1, 1e8, 0, 2, 0, 2e8, 2e-9, 1, 1, 2e8, 0};
  struct Case {
    const char* name;
    int m;
    std::vector<double> dense;
    double pivAbs;  // the absolute tolerance option (negative: default)
    int rank;
    std::vector<int> dependentSet;
  };
  const Case cases[] = {
      {"duplicate columns", 4, {1, 2, 1, 0, 0, 1, 0, 1, 3, 0, 3, 0, 0, 1, 0, 0}, -1, 3, {0, 2}},
      {"zero row", 3, {1, 2, 0, 0, 0, 0, 4, 1, 1}, -1, 2, {0, 1, 2}},
      {"empty and nearly equal columns", 4, {1, 0, 0, 1, 2, 0, 1, 2, 0, 0, 3, 1e-12, 1, 0, 0, 1}, -1, 2, {0, 1, 3}},
      {"nearly equal, tiny absolute tolerance", 4, {1, 0, 0, 1, 2, 0, 1, 2, 0, 0, 3, 1e-12, 1, 0, 0, 1}, 1e-14, 3,
       {1}},
      {"Hilbert", 6, hilbert, -1, 6, {}},
      {"Hilbert scaled by 1e-9", 6, scaled(hilbert, 1e-9), -1, 6, {}},
      {"dependent column scaled by 1e8", 4, bigDependent, -1, 3, {0, 1, 2}},
  };
  for (const Case& c : cases) {
    const ColumnMatrix a = denseToColumns(c.m, c.m, c.dense);
    std::vector<int> basic(c.m);
    for (int k = 0; k < c.m; ++k) basic[k] = k;
    LuKernel lu(c.m);
    lu.setDoubleOption(torva::kLuDparEpsPivAbs, c.pivAbs);
    const int rc = lu.factorize(view(a), basic);
    EXPECT_EQ(lu.rank(), c.rank) << c.name;
    EXPECT_EQ(rc, c.rank < c.m ? torva::kLuSingular : torva::kLuOk) << c.name;
    for (int pos : lu.unpivotedPositions())
      EXPECT_NE(std::find(c.dependentSet.begin(), c.dependentSet.end(), pos), c.dependentSet.end())
          << c.name << ": position " << pos << " is not in the dependent set";
    if (c.rank < c.m) {
      SCOPED_TRACE(c.name);
      expectRepairedBasisWorks(lu, a);
    }
  }
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
    // Plant a copied column, a combination of two columns, a zero row, an
    // empty column (each with some probability).
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
    if (unit(rng) < 0.2) std::fill_n(dense.begin() + col(rng()) * m, m, 0.0);
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

// ------------------------------------------------------------ updates

// A refused update (singular, unstable against the caller's pivot, out of
// space) leaves the factors solving the old basis.
TEST(LuUpdate, RefusedUpdatesLeaveFactorsIntact) {
  const ColumnMatrix a = denseToColumns(3, 4, {1, 0, 2, 1, 1, 1, 0, 1, 0, 2, 1, 0});
  for (int type : {0, 1}) {
    LuKernel lu(3);
    lu.setIntOption(torva::kLuIparUpdateType, type);
    lu.setIntOption(torva::kLuIparMaxUpdates, 2);
    std::vector<int> basic = {0, 1, 2};
    ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
    std::mt19937 rng(5);
    // Column 3 copies column 0: in place of column 1 the basis is singular.
    EXPECT_EQ(lu.update(1, 3), torva::kLuSingularUpdate) << type;
    EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14) << type;
    // In place of column 0 its pivot is 1; a pivot off by 1e-4 is refused.
    EXPECT_EQ(lu.update(0, 3, 1.0001), torva::kLuUnstableUpdate) << type;
    EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14) << type;
    EXPECT_EQ(lu.numUpdates(), 0);
    ASSERT_EQ(lu.update(0, 3, 1.0), torva::kLuOk) << type;
    basic[0] = 3;
    ASSERT_EQ(lu.update(2, 4 + 2), torva::kLuOk) << type;
    basic[2] = 6;
    EXPECT_EQ(lu.update(1, 4 + 0), torva::kLuOutOfSpace) << type;
    EXPECT_LT(worstResidual(lu, a, basic, rng), 1e-14) << type;
    EXPECT_EQ(lu.basic(), basic);
  }
}

TEST(LuUpdate, ConditionEstimatesFollowTheBasis) {
  // Column 3 differs from column 0 by 1e-11 in row 2: bringing it in for
  // column 1 makes the basis nearly singular.
  const ColumnMatrix a = denseToColumns(3, 4, {1, 0, 2, 1, 1, 1, 0, 1, 0, 2, 1, 1e-11});
  for (int type : {0, 1}) {
    LuKernel lu(3);
    lu.setIntOption(torva::kLuIparUpdateType, type);
    std::vector<int> basic = {0, 1, 2};
    ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
    EXPECT_GT(lu.updateRcond(), 0.1) << type;
    ASSERT_EQ(lu.update(1, 3), torva::kLuOk) << type;
    basic[1] = 3;
    EXPECT_LT(lu.updateRcond(), 1e-9) << type;
    EXPECT_LT(lu.rcond(), 1e-9) << type;
    EXPECT_GT(lu.cond2est(), 1e9) << type;
    EXPECT_EQ(lu.basisHash(), LuKernel::basisHash(basic));
    std::mt19937 rng(2);
    EXPECT_LT(worstResidual(lu, a, basic, rng), kResidualTol) << type;
  }
  // Well-conditioned updates keep the estimate near the true rcond (0.5 and
  // 0.125 for the two bases alternated here), however many are made.
  const ColumnMatrix d = denseToColumns(3, 4, {2, 0, 0, 0, 0, 1, 0, 0.5, 0, 0, 1, 1});
  for (int type : {0, 1}) {
    LuKernel lu(3);
    lu.setIntOption(torva::kLuIparUpdateType, type);
    lu.setIntOption(torva::kLuIparMemExp, 100);  // room for the 20 updates of a 3 x 3 basis
    ASSERT_EQ(lu.factorize(view(d), std::vector<int>{0, 1, 2}), torva::kLuOk);
    for (int k = 0; k < 20; ++k) ASSERT_EQ(lu.update(1, k % 2 ? 1 : 3), torva::kLuOk);
    EXPECT_GT(lu.updateRcond(), 0.05) << type;
    EXPECT_NEAR(lu.rcond(), 0.5, 1e-12) << type;
    // diag(2, 1, 1): every p-norm condition number is 2; the power
    // estimates converge to it on so small a basis.
    EXPECT_NEAR(lu.cond2est(), 2.0, 1e-6) << type;
    EXPECT_NEAR(lu.cond4est(), 2.0, 1e-6) << type;
  }
}

// ------------------------------------------------------------ solves

// A sparse matrix of small integers (so that sums cancel exactly). Its first
// m columns have a dominant diagonal with their other entries within band
// rows of it (limiting fill); the rest are random.
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
      if (j < m) i = std::clamp(j + static_cast<int>(rng() % (2 * band + 1)) - band, 0, m - 1);
      if (std::find(rows.begin(), rows.end(), i) == rows.end()) rows.push_back(i);
    }
    std::sort(rows.begin(), rows.end());
    for (int i : rows) {
      a.index.push_back(i);
      a.value.push_back(i == j ? kDiagonal : vals[rng() % 4]);
    }
    a.begin.push_back(static_cast<int>(a.index.size()));
  }
  return a;
}

// Hypersparse solves (row etas through their per-row lists included), the
// dense-indexed ones and the multi-vector pass all take the same pivots in the same order, so they agree to the last bit after
// long update sequences of either kind. The large case spans several summary
// words of the pending-pivot set.
TEST(LuSolve, AllVariantsAgreeToTheBitAfterLongUpdateSequences) {
  for (const auto& [m, updates] : {std::pair{150, 120}, std::pair{4500, 100}}) {
    for (int updateType : {0, 1}) {
      std::mt19937 rng(static_cast<std::uint32_t>(1000 + m + updateType));
      const ColumnMatrix a = integerSparseMatrix(m, 2 * m, 3, m > 1000 ? 20 : m, rng);
      LuKernel hyper(m), dense(m);
      for (LuKernel* lu : {&hyper, &dense}) {
        lu->setIntOption(torva::kLuIparUpdateType, updateType);
        lu->setIntOption(torva::kLuIparMaxUpdates, updates);
        lu->setIntOption(torva::kLuIparMemExp, 50);
      }
      for (int id : {torva::kLuDparSpvtolFtran, torva::kLuDparSpvtolBtran}) {
        hyper.setDoubleOption(id, 2.0);
        dense.setDoubleOption(id, 0.0);
      }
      std::vector<int> basic(m);
      for (int k = 0; k < m; ++k) basic[k] = k;
      ASSERT_EQ(hyper.factorize(view(a), basic), torva::kLuOk);
      ASSERT_EQ(dense.factorize(view(a), basic), torva::kLuOk);
      const auto compareSolves = [&](int numRhs) {
        for (bool transposed : {false, true}) {
          std::vector<LuVector> many;
          std::vector<std::vector<double>> singles;
          for (int t = 0; t < numRhs; ++t) {
            LuVector v(m);
            for (int k = 0, nnz = 1 + static_cast<int>(rng() % 6); k < nnz; ++k)
              v.add(static_cast<int>(rng() % static_cast<std::uint32_t>(m)), 1.0 + static_cast<int>(rng() % 3));
            LuVector w = v;
            many.push_back(v);
            ASSERT_EQ(transposed ? hyper.btran(v) : hyper.ftran(v), torva::kLuOk);
            ASSERT_EQ(transposed ? dense.btran(w) : dense.ftran(w), torva::kLuOk);
            expectConsistent(v);
            ASSERT_EQ(toDense(v), toDense(w)) << "transposed " << transposed;
            singles.push_back(toDense(v));
          }
          for (LuKernel* lu : {&hyper, &dense}) {
            std::vector<LuVector> copy = many;
            ASSERT_EQ(transposed ? lu->btranMany(copy) : lu->ftranMany(copy), torva::kLuOk);
            for (int t = 0; t < numRhs; ++t) ASSERT_EQ(toDense(copy[t]), singles[t]) << "several at once";
          }
        }
      };
      compareSolves(10);
      LuVector v(m);
      int done = 0;
      for (int step = 0; step < 20 * updates && done < updates; ++step) {
        const int enter = static_cast<int>(rng() % static_cast<std::uint32_t>(2 * m));
        if (std::find(basic.begin(), basic.end(), enter) != basic.end()) continue;
        const auto [leave, pivot] = largestEntry(hyper, a, enter, v);
        if (leave < 0 || std::fabs(pivot) < 1e-2) continue;
        ASSERT_EQ(hyper.update(leave, enter, pivot), torva::kLuOk) << "update " << done;
        ASSERT_EQ(dense.update(leave, enter), torva::kLuOk);
        basic[leave] = enter;
        ++done;
        if (done % 25 == 0) compareSolves(4);
      }
      EXPECT_EQ(done, updates) << "m " << m << " type " << updateType;
      if (m <= 1000) {  // the residual check is quadratic in m
        std::mt19937 r2(3);
        EXPECT_LT(worstResidual(hyper, a, basic, r2), kResidualTol) << "m " << m << " type " << updateType;
      }
      EXPECT_GT(hyper.solveStats().ftranHyper, 0);
      EXPECT_EQ(dense.solveStats().ftranHyper + dense.solveStats().btranHyper, 0);
    }
  }
}

// With the default thresholds the choice follows the predicted result
// density, per solve kind: on a basis whose inverse is dense (a full lower
// triangle), sparse columns are solved dense-indexed once their results are
// known to fill in, while unit rows whose results stay sparse go hypersparse.
TEST(LuSolve, SwitchFollowsThePredictedResultDensity) {
  const int m = 400;
  std::vector<double> dense(static_cast<size_t>(m) * (m + 1), 0.0);
  for (int j = 0; j < m; ++j) {
    dense[static_cast<size_t>(j) * (m + 1) + j] = 1.0;  // diagonal
    if (j + 1 < m) dense[static_cast<size_t>(j + 1) * (m + 1) + j] = -1.0;  // subdiagonal: B^-1 lower full
  }
  const ColumnMatrix a = denseToColumns(m, m + 1, dense);
  std::vector<int> basic(m);
  for (int k = 0; k < m; ++k) basic[k] = k;
  LuKernel lu(m);
  ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
  LuVector v(m);
  for (int t = 0; t < 40; ++t) {
    v.clear();
    v.add(t % 10, 1.0);  // FTRAN of e_i fills rows i..m-1
    ASSERT_EQ(lu.ftran(v), torva::kLuOk);
  }
  EXPECT_GT(lu.predictedDensity(torva::LuSolveKind::kColumn, false), 0.9);
  EXPECT_LE(lu.solveStats().ftranHyper, 1) << "only the first, unpredicted, solve goes hypersparse";
  for (int t = 0; t < 40; ++t) {
    v.clear();
    v.add(t % 10, 1.0);  // BTRAN of e_i fills rows 0..i only
    ASSERT_EQ(lu.btran(v), torva::kLuOk);
    v.clear();
    v.add(m - 1 - t % 10, 1.0);  // steepest-edge kind: a FTRAN whose result stays sparse
    ASSERT_EQ(lu.ftran(v, torva::LuSolveKind::kSteepestEdge), torva::kLuOk);
  }
  EXPECT_LT(lu.predictedDensity(torva::LuSolveKind::kRow, true), 0.05);
  EXPECT_EQ(lu.solveStats().btranHyper, 40);
  EXPECT_GE(lu.solveStats().ftranHyper, 40);
}

// ------------------------------------------------------------ extension and copies

// Cut rows added to a factorised (and updated) basis, their slacks basic,
// then more updates and columns: residuals as for a fresh factorisation.
TEST(LuExtend, CutRowsAndColumnsWithoutRefactorising) {
  for (int updateType : {0, 1}) {
    std::mt19937 rng(static_cast<std::uint32_t>(61 + updateType));
    const int m = 60, n = 120, cuts = 7, newCols = 5;
    ColumnMatrix a = integerSparseMatrix(m, n, 4, m, rng);
    std::vector<int> basic(m);
    for (int k = 0; k < m; ++k) basic[k] = k;
    LuKernel lu(m);
    lu.setIntOption(torva::kLuIparUpdateType, updateType);
    lu.setIntOption(torva::kLuIparMemExp, 50);
    ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk);
    LuVector v(m);
    for (int done = 0; done < 15;) {
      const int enter = m + static_cast<int>(rng() % static_cast<std::uint32_t>(n - m));
      if (std::find(basic.begin(), basic.end(), enter) != basic.end()) continue;
      const auto [leave, pivot] = largestEntry(lu, a, enter, v);
      if (std::fabs(pivot) < 1e-2) continue;
      ASSERT_EQ(lu.update(leave, enter), torva::kLuOk);
      basic[leave] = enter;
      ++done;
    }
    const LuKernel before = lu;  // snapshot of the unextended factors
    // The grown matrix: every old column gains entries in the cut rows, and
    // new columns follow; the kernel keeps reading the old one until extend.
    ColumnMatrix b;
    b.numRows = m + cuts;
    b.numCols = n + newCols;
    b.begin.push_back(0);
    for (int j = 0; j < b.numCols; ++j) {
      if (j < n)
        for (int p = a.begin[j]; p < a.begin[j + 1]; ++p) {
          b.index.push_back(a.index[p]);
          b.value.push_back(a.value[p]);
        }
      for (int i = m; i < m + cuts; ++i)
        if (rng() % 3 == 0) {
          b.index.push_back(i);
          b.value.push_back(static_cast<int>(rng() % 7) - 3.0);
        }
      b.begin.push_back(static_cast<int>(b.index.size()));
    }
    ASSERT_EQ(lu.extend(view(b)), torva::kLuOk);
    for (int& var : basic)
      if (var >= n) var += newCols;
    for (int i = m; i < m + cuts; ++i) basic.push_back(b.numCols + i);
    ASSERT_EQ(lu.dimension(), m + cuts);
    ASSERT_EQ(lu.basic(), basic);
    std::mt19937 r2(9);
    EXPECT_LT(worstResidual(lu, b, basic, r2), kResidualTol) << updateType;
    // Updates continue on the extended factors, new columns and cut slacks
    // leaving included.
    LuVector w(m + cuts);
    for (int done = 0, step = 0; done < 20 && step < 500; ++step) {
      const int enter = static_cast<int>(rng() % static_cast<std::uint32_t>(b.numCols));
      if (std::find(basic.begin(), basic.end(), enter) != basic.end()) continue;
      const auto [leave, pivot] = largestEntry(lu, b, enter, w);
      if (std::fabs(pivot) < 1e-2) continue;
      ASSERT_EQ(lu.update(leave, enter, pivot), torva::kLuOk);
      basic[leave] = enter;
      ++done;
    }
    EXPECT_LT(worstResidual(lu, b, basic, r2), kResidualTol) << updateType;
    // The snapshot still solves the basis it was taken from.
    LuKernel old = before;
    std::vector<int> oldBasic = old.basic();
    EXPECT_LT(worstResidual(old, a, oldBasic, r2), kResidualTol) << updateType;
  }
}

// ------------------------------------------------------------ Netlib bases

std::vector<std::string> netlibModels() {
  std::vector<std::string> out;
  const std::string dir = torva::testsupport::sharedDataDir() + "/netlib";
  if (!std::filesystem::is_directory(dir)) return out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) {
    const std::string p = e.path().string();
    if (p.ends_with(".mps.gz")) out.push_back(p);
  }
  std::sort(out.begin(), out.end());
#ifdef __SANITIZE_ADDRESS__
  // Instrumented builds check every third model only, to keep their run short.
  std::vector<std::string> some;
  for (size_t k = 0; k < out.size(); k += 3) some.push_back(out[k]);
  out.swap(some);
#endif
  return out;
}

class NetlibBases : public ::testing::Test {
 protected:
  void SetUp() override {
    models_ = netlibModels();
    if (models_.empty()) GTEST_SKIP() << "Netlib models not found under " << torva::testsupport::sharedDataDir();
  }
  std::vector<std::string> models_;
};

// On a crash basis of every model: (1) leaving positions are replaced by
// random entering columns as a simplex would (the leaving position carries a
// large entry of the transformed column, whose value is passed as the pivot:
// sound updates are never refused), refactorising when the update file is
// full, with residual checks every 50 updates; Forrest-Tomlin on every model,
// product form on a third of them, both reusing the FTRAN's column. (2) A
// copy of a basic column, scaled by 1e8, replaces a slack: rank m - 1, and
// the dependent position is one of the two copies.
TEST_F(NetlibBases, UpdateSequencesAndDuplicateColumns) {
  int n = 0;
  for (const auto& path : models_) {
    ColumnMatrix a;
    ASSERT_TRUE(torva::testsupport::readMpsColumns(path, a)) << path;
    const int m = a.numRows;
    const std::vector<int> start = torva::testsupport::crashBasis(a, m, 23);
    for (int type : {1, 0}) {
      if (type == 0 && n % 3 != 0) continue;
      std::vector<int> basic = start;
      LuKernel lu(m);
      lu.setIntOption(torva::kLuIparUpdateType, type);
      lu.setIntOption(torva::kLuIparMaxUpdates, 120);
      lu.setIntOption(torva::kLuIparUsePivcol, 1);
      ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk) << path;
      std::mt19937 rng(99);
      double worst = worstResidual(lu, a, basic, rng);
      LuVector v(m);
      int updates = 0;
      for (int step = 0; step < 300; ++step) {
        const int enter = std::uniform_int_distribution<int>(0, a.numCols + m - 1)(rng);
        if (std::find(basic.begin(), basic.end(), enter) != basic.end()) continue;
        const auto [leave, pivot] = largestEntry(lu, a, enter, v);
        if (leave < 0 || std::fabs(pivot) < 1e-2) continue;
        const int rc = lu.update(leave, enter, pivot);
        basic[leave] = enter;
        if (rc == torva::kLuOutOfSpace) {
          ASSERT_EQ(lu.factorize(view(a), basic), torva::kLuOk) << path;
        } else {
          ASSERT_EQ(rc, torva::kLuOk) << path << " update " << updates;
        }
        if (++updates % 50 == 0) worst = std::max(worst, worstResidual(lu, a, basic, rng));
      }
      EXPECT_LT(worst, kResidualTol) << path << " type " << type;
      EXPECT_EQ(lu.basisHash(), LuKernel::basisHash(basic));
    }
    ++n;
    const auto structPos = std::find_if(start.begin(), start.end(), [&](int var) { return var < a.numCols; });
    const auto slackPos = std::find_if(start.begin(), start.end(), [&](int var) { return var >= a.numCols; });
    if (structPos == start.end() || slackPos == start.end()) continue;
    ColumnMatrix b = a;
    for (int p = a.begin[*structPos]; p < a.begin[*structPos + 1]; ++p) {
      b.index.push_back(a.index[p]);
      b.value.push_back(a.value[p] * 1e8);
    }
    b.begin.push_back(static_cast<int>(b.index.size()));
    ++b.numCols;
    std::vector<int> dup = start;
    for (int& var : dup) var += var >= a.numCols;  // slacks move up by the new column
    dup[slackPos - start.begin()] = a.numCols;
    LuKernel lu(m);
    ASSERT_EQ(lu.factorize(view(b), dup), torva::kLuSingular) << path;
    ASSERT_EQ(lu.unpivotedPositions().size(), 1u) << path;
    const int dep = lu.unpivotedPositions()[0];
    EXPECT_TRUE(dep == structPos - start.begin() || dep == slackPos - start.begin()) << path;
    expectRepairedBasisWorks(lu, b);
  }
}

}  // namespace
