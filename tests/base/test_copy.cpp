// QXcopyModel replays every kind of loaded data; the copy reads back the same.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "base/model.hpp"
#include "model_fixture.hpp"
#include "torva.h"

namespace {

using torva_test::ModelFixture;
using torva_test::NameList;

// Everything a host can read about a model, gathered through the queries.
struct Snapshot {
  int sense = 0;
  double constant = 0;
  std::vector<double> c, b, lo, up, vals;
  std::string conTypes, varTypes;
  std::vector<int> beg, len, rows;
  std::vector<double> scLo, scUp;
  std::vector<int> scVars;
  std::vector<int> qcRows, qc1, qc2;
  std::vector<double> qcCoef;
  std::string coneTypes;
  std::vector<int> coneBeg, coneCols;
  std::string setTypes;
  std::vector<int> setCard, setBeg, setCols;
  std::vector<std::string> conNames, varNames, coneNames;
  std::string title, obj, rhs, rng, bnd;
  std::vector<double> start, mipStart, partX;
  std::vector<int> partVars, mipPartVars, mipPartX;
  std::vector<int> priority, basisCols, basisRows;

  bool operator==(const Snapshot&) const = default;
};

std::vector<std::string> names(int count, int kind, QXmodel model) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) {
    char buf[256] = {};
    int rc = kind == 0   ? QXgetConstraintNamei(model, i, buf)
             : kind == 1 ? QXgetVariableNamej(model, i, buf)
                         : QXgetConeNamei(model, i, buf);
    out.push_back(rc == 0 ? buf : "<none>");
  }
  return out;
}

Snapshot snapshot(QXmodel model) {
  Snapshot s;
  int n = 0, m = 0, nc = 0, nnz = 0, qnz = 0, cnz = 0;
  EXPECT_EQ(QXgetDimensions(model, &n, &m, &nc, &nnz, &qnz, &cnz, nullptr, nullptr, nullptr, nullptr,
                            nullptr),
            0);
  s.c.resize(n);
  s.b.resize(m);
  s.lo.resize(n);
  s.up.resize(n);
  s.conTypes.assign(m, '?');
  s.varTypes.assign(n, '?');
  s.beg.resize(n + 1);
  s.len.resize(n);
  s.rows.resize(nnz);
  s.vals.resize(nnz);
  EXPECT_EQ(QXgetLPData(model, &s.sense, &s.constant, s.c.data(), s.b.data(), s.conTypes.data(),
                        s.beg.data(), s.len.data(), s.vals.data(), s.rows.data(), s.lo.data(),
                        s.up.data()),
            0);
  EXPECT_EQ(QXgetVarType(model, s.varTypes.data()), 0);
  int count = 0;
  QXgetSemiContData(model, &count, nullptr, nullptr, nullptr);
  s.scVars.resize(count);
  s.scLo.resize(count);
  s.scUp.resize(count);
  QXgetSemiContData(model, &count, s.scVars.data(), s.scLo.data(), s.scUp.data());
  s.qcRows.resize(qnz);
  s.qc1.resize(qnz);
  s.qc2.resize(qnz);
  s.qcCoef.resize(qnz);
  QXgetQCData(model, &qnz, s.qcRows.data(), s.qc1.data(), s.qc2.data(), s.qcCoef.data());
  s.coneTypes.assign(nc, '?');
  s.coneBeg.resize(nc + 1);
  s.coneCols.resize(cnz);
  QXgetConeData(model, &nc, s.coneTypes.data(), s.coneBeg.data(), s.coneCols.data());
  int ns = 0, total = 0;
  QXgetSETSData(model, &ns, &total, nullptr, nullptr, nullptr, nullptr);
  s.setTypes.assign(ns, '?');
  s.setCard.resize(ns);
  s.setBeg.resize(ns + 1);
  s.setCols.resize(total);
  QXgetSETSData(model, &ns, &total, s.setTypes.data(), s.setCard.data(), s.setBeg.data(),
                s.setCols.data());
  s.conNames = names(m, 0, model);
  s.varNames = names(n, 1, model);
  s.coneNames = names(nc, 2, model);
  char t[5][64];
  QXgetNameData(model, t[0], t[1], t[2], t[3], t[4], nullptr, nullptr, nullptr);
  s.title = t[0];
  s.obj = t[1];
  s.rhs = t[2];
  s.rng = t[3];
  s.bnd = t[4];
  s.start.resize(n);
  if (QXgetVarStartPoint(model, s.start.data()) != 0) s.start.clear();
  s.mipStart.resize(n);
  if (QXgetMIPVarStartPoint(model, s.mipStart.data()) != 0) s.mipStart.clear();
  QXgetVarStartPointPartial(model, &count, nullptr, nullptr);
  s.partVars.resize(count);
  s.partX.resize(count);
  QXgetVarStartPointPartial(model, &count, s.partVars.data(), s.partX.data());
  QXgetMIPVarStartPointPartial(model, &count, nullptr, nullptr);
  s.mipPartVars.resize(count);
  s.mipPartX.resize(count);
  QXgetMIPVarStartPointPartial(model, &count, s.mipPartVars.data(), s.mipPartX.data());
  s.priority = model->data.priority;
  s.basisCols = model->data.basisCols;
  s.basisRows = model->data.basisRows;
  return s;
}

TEST_F(ModelFixture, CopyOfAFullyLoadedModelReadsBackIdentical) {
  ASSERT_EQ(loadSmall(), 0);
  ASSERT_EQ(QXloadVarType(model, "BCCI"), 0);
  const int qr[] = {-1, 1, -1};
  const int qa[] = {0, 1, 2};
  const double qv[] = {1.5, -2, 3};
  ASSERT_EQ(QXloadQCData(model, 3, qr, qa, qa, qv), 0);
  const double start[] = {1, 0, 0, 2};
  ASSERT_EQ(QXloadVarStartPoint(model, start), 0);
  ASSERT_EQ(QXloadMIPVarStartPoint(model, start), 0);
  const int pv[] = {2};
  const double px[] = {0.25};
  const int ipx[] = {1};
  ASSERT_EQ(QXloadVarStartPointPartial(model, 1, pv, px), 0);
  ASSERT_EQ(QXloadMIPVarStartPointPartial(model, 1, pv, ipx), 0);
  const char st[] = {1, 4};
  const int card[] = {0, 1};
  const int sb[] = {0, 2, 4};
  const int sc[] = {0, 1, 1, 2};
  ASSERT_EQ(QXloadSETSData(model, 2, st, card, sb, sc), 0);
  const int scv[] = {1};
  const double scl[] = {0.5}, scu[] = {9};
  ASSERT_EQ(QXloadSemiContData(model, 1, scv, scl, scu), 0);
  NameList rows({"r0", "r1", "r2"});
  NameList cols({"a", "b", "c", "d"});
  ASSERT_EQ(QXloadNameData(model, "T", "OBJ", "RHS", "RNG", "BND", rows.data(), cols.data(), nullptr),
            0);
  const int prio[] = {5, 0, 1, 2};
  ASSERT_EQ(QXloadVarPriorities(model, prio), 0);
  const int bc[] = {-1, -1, -3, -2};
  const int br[] = {0, 1, 2};
  ASSERT_EQ(QXloadBasis(model, bc, br), 0);

  int err = -1;
  QXmodel copy = QXcopyModel(model, &err);
  ASSERT_EQ(err, 0);
  ASSERT_NE(copy, nullptr);
  const Snapshot a = snapshot(model), b = snapshot(copy);
  EXPECT_EQ(a.varTypes, "BCCI");
  EXPECT_EQ(a.qcCoef.size(), 3u);
  EXPECT_EQ(a.setCols.size(), 4u);
  EXPECT_TRUE(a == b);
  EXPECT_EQ(copy->status, QX_STATUS_LOADED);
  EXPECT_EQ(QXdeleteModel(&copy), 0);
}

TEST_F(ModelFixture, CopyOfAConicModelAfterChangesReadsBackIdentical) {
  ASSERT_EQ(loadSmall(), 0);
  const int cb[] = {0, 2, 3};
  const int cc[] = {0, 1, 3};
  ASSERT_EQ(QXloadConeData(model, 2, "RQ", cb, cc), 0);
  NameList cones({"k0", "k1"});
  ASSERT_EQ(QXloadNameData(model, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           cones.data()),
            0);
  // Changes that leave spare space and renumber.
  const int spaces[] = {3, 3, 3, 3};
  ASSERT_EQ(QXaddEmptySpacesAcolumns(model, spaces), 0);
  const int r[] = {1};
  const double v[] = {8};
  ASSERT_EQ(QXmodifyAj(model, 3, 1, r, v), 0);
  const int del[] = {0};
  ASSERT_EQ(QXdeleteConstraints(model, 1, del), 0);
  const int rowbeg[] = {0, 2};
  const int ac[] = {0, 2};
  const double av[] = {1, 1};
  ASSERT_EQ(QXaddConstraints(model, 1, "G", nullptr, rowbeg, av, ac, nullptr), 0);

  int err = -1;
  QXmodel copy = QXcopyModel(model, &err);
  ASSERT_EQ(err, 0);
  const Snapshot a = snapshot(model), b = snapshot(copy);
  EXPECT_EQ(a.coneNames, (std::vector<std::string>{"k0", "k1"}));
  EXPECT_TRUE(a == b);
  // The copy is independent of its source.
  const int j[] = {0};
  const double nv[] = {42};
  ASSERT_EQ(QXmodifyObjective(copy, 1, j, nv), 0);
  EXPECT_NE(snapshot(model).c[0], 42.0);
}

}  // namespace

namespace {

// A copy shares nothing mutable with its source: name lookups (whose tables
// are built lazily on first use), statistics and callback timing state of the
// two models are exercised from two threads at once, each on its own model.
TEST_F(ModelFixture, CopyAndSourceServeTwoThreadsAtOnce) {
  ASSERT_EQ(loadSmall(), 0);
  NameList cons({"r0", "r1", "r2"}), vars({"x0", "x1", "x2", "x3"});
  ASSERT_EQ(QXloadNameData(model, "t", nullptr, nullptr, nullptr, nullptr, cons.data(), vars.data(),
                           nullptr),
            0);
  int err = -1;
  QXmodel copy = QXcopyModel(model, &err);
  ASSERT_EQ(err, 0);
  auto work = [](QXmodel m, int* wrong) {
    for (int round = 0; round < 2000; ++round) {
      const std::string name = "x" + std::to_string(round % 4);
      int index = -1, nnz = -1;
      if (QXgetVariableIndex(m, name.c_str(), &index) != 0 || index != round % 4) ++*wrong;
      if (round % 100 == 0) QXfreeHashMemory(m);  // tables rebuilt on the next lookup
      if (QXgetInfo(m, QX_IINFO_NUM_NONZ, &nnz) != 0 || nnz != 8) ++*wrong;
    }
  };
  int wrongSource = 0, wrongCopy = 0;
  std::thread a(work, model, &wrongSource), b(work, copy, &wrongCopy);
  a.join();
  b.join();
  EXPECT_EQ(wrongSource, 0);
  EXPECT_EQ(wrongCopy, 0);
  EXPECT_EQ(QXdeleteModel(&copy), 0);
}

}  // namespace
