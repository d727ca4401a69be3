// The dual of a linear program, for writing it as a model file.
//
// The primal is first read as a minimisation  min s*c'x + s*c0  (s = 1 for a
// minimisation, -1 for a maximisation) subject to a_i x {<=,=,>=} b_i and
// l <= x <= u. Its dual is
//   max  b'y + sum_j l_j w_j - sum_j u_j v_j + s*c0
//   s.t. A_j'y + w_j - v_j = s*c_j   for every column j,
//        y_i <= 0 (L rows), y_i >= 0 (G rows), y_i free (E rows), w, v >= 0,
// with w_j only for a finite lower bound and v_j only for a finite upper
// bound. A zero lower bound needs no w_j: its row becomes A_j'y - v_j <= s*c_j.
#include "io/model_writers.hpp"

namespace torva {
namespace {

constexpr double kInfinite = 1.0e30;

struct DualBuilder {
  ModelData& out;
  void addColumn(double cost, double lower, double upper, const std::vector<int>& rows,
                 const std::vector<double>& values) {
    out.cost.push_back(cost);
    out.lower.push_back(lower);
    out.upper.push_back(upper);
    out.colLen.push_back(static_cast<int>(rows.size()));
    out.rowIdx.insert(out.rowIdx.end(), rows.begin(), rows.end());
    out.value.insert(out.value.end(), values.begin(), values.end());
    out.colBeg.push_back(static_cast<int>(out.rowIdx.size()));
    ++out.n;
  }
};

}  // namespace

void buildDual(const ModelData& d, int objSense, ModelData& dual) {
  dual = ModelData{};
  const double s = d.objSense == QX_MAX ? -1.0 : 1.0;
  const RowMatrix rows = rowsOf(d);
  // One dual row per primal column.
  dual.m = d.n;
  dual.rhs.resize(static_cast<std::size_t>(d.n));
  dual.conType.assign(static_cast<std::size_t>(d.n), 'E');
  for (int j = 0; j < d.n; ++j) {
    dual.rhs[j] = s * d.cost[j];
    if (d.lower[j] == 0.0) dual.conType[j] = 'L';
  }
  DualBuilder b{dual};
  std::vector<int> idx;
  std::vector<double> val;
  for (int i = 0; i < d.m; ++i) {
    const char t = d.conType[i];
    if (t == 'N') continue;
    idx.assign(rows.col.begin() + rows.beg[i], rows.col.begin() + rows.beg[i + 1]);
    val.assign(rows.value.begin() + rows.beg[i], rows.value.begin() + rows.beg[i + 1]);
    b.addColumn(d.rhs[i], t == 'G' ? 0.0 : -kInfinite, t == 'L' ? 0.0 : kInfinite, idx, val);
  }
  for (int j = 0; j < d.n; ++j) {
    if (d.lower[j] > -kInfinite && d.lower[j] != 0.0)
      b.addColumn(d.lower[j], 0.0, kInfinite, {j}, {1.0});
    if (d.upper[j] < kInfinite) b.addColumn(-d.upper[j], 0.0, kInfinite, {j}, {-1.0});
  }
  dual.nnz = static_cast<int>(dual.rowIdx.size());
  dual.objConst = s * d.objConst;
  dual.objSense = QX_MAX;
  if (objSense == QX_MIN) {
    // Written as the minimisation of the negated objective.
    for (double& c : dual.cost) c = -c;
    dual.objConst = -dual.objConst;
    dual.objSense = QX_MIN;
  }
}

}  // namespace torva
