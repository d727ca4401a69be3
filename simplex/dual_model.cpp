#include "simplex/dual_model.hpp"

#include <cstdio>

#include "base/load.hpp"

namespace torva {
namespace {

bool finite(double v) { return v > -kInfinity && v < kInfinity; }

// The name of column j: its own, or the generated C%07d.
std::string columnName(const ModelData& d, int j) {
  if (d.varNames.present() && j < d.varNames.count() && !d.varNames.view(j).empty())
    return std::string(d.varNames.view(j));
  char buf[32];
  std::snprintf(buf, sizeof buf, "C%07d", j);
  return buf;
}

}  // namespace

DualLayout::DualLayout(const ModelData& d)
    : rowCol(static_cast<std::size_t>(d.m), -1),
      lowerCol(static_cast<std::size_t>(d.n), -1),
      upperCol(static_cast<std::size_t>(d.n), -1) {
  for (int i = 0; i < d.m; ++i)
    if (d.conType[i] != 'N') rowCol[i] = cols++;
  for (int j = 0; j < d.n; ++j)
    if (finite(d.lower[j])) lowerCol[j] = cols++;
  for (int j = 0; j < d.n; ++j)
    if (finite(d.upper[j])) upperCol[j] = cols++;
}

int buildDualModel(const Model& primal, Model& dual) {
  const ModelData& d = primal.data;
  if (primal.status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  if (dual.status != QX_STATUS_UNLOADED || !dual.data.empty()) return QXERR_MODEL_ALREADY_LOADED;
  if (d.hasQuadratic() || d.hasCones()) return QXERR_NOT_SUPPORTED;
  const DualLayout lay(d);
  const int nd = lay.cols, md = d.n;
  const double sense = d.objSense;

  // Transpose the matrix: the dual column of row i holds row i of A.
  std::vector<int> beg(static_cast<std::size_t>(nd) + 1, 0);
  for (int j = 0; j < d.n; ++j)
    for (int p = d.colBeg[j], e = p + d.colLen[j]; p < e; ++p)
      if (lay.rowCol[d.rowIdx[p]] >= 0) ++beg[lay.rowCol[d.rowIdx[p]] + 1];
  for (int j = 0; j < d.n; ++j) {
    if (lay.lowerCol[j] >= 0) beg[lay.lowerCol[j] + 1] = 1;
    if (lay.upperCol[j] >= 0) beg[lay.upperCol[j] + 1] = 1;
  }
  for (int k = 0; k < nd; ++k) beg[k + 1] += beg[k];
  std::vector<int> rows(static_cast<std::size_t>(beg[nd]));
  std::vector<double> vals(rows.size());
  std::vector<int> fill(beg.begin(), beg.end() - 1);
  for (int j = 0; j < d.n; ++j) {
    for (int p = d.colBeg[j], e = p + d.colLen[j]; p < e; ++p) {
      const int c = lay.rowCol[d.rowIdx[p]];
      if (c < 0) continue;
      rows[fill[c]] = j;
      vals[fill[c]++] = d.value[p];
    }
    if (lay.lowerCol[j] >= 0) {
      rows[fill[lay.lowerCol[j]]] = j;
      vals[fill[lay.lowerCol[j]]++] = 1.0;
    }
    if (lay.upperCol[j] >= 0) {
      rows[fill[lay.upperCol[j]]] = j;
      vals[fill[lay.upperCol[j]]++] = -1.0;
    }
  }

  std::vector<double> cost(static_cast<std::size_t>(nd)), lo(cost.size()), up(cost.size());
  std::vector<std::string> names(cost.size());
  char buf[32];
  for (int i = 0; i < d.m; ++i) {
    const int c = lay.rowCol[i];
    if (c < 0) continue;
    cost[c] = d.rhs[i];
    lo[c] = d.conType[i] == 'G' ? 0.0 : -kInfinity;
    up[c] = d.conType[i] == 'L' ? 0.0 : kInfinity;
    std::snprintf(buf, sizeof buf, "X%07d", i);
    names[c] = buf;
  }
  for (int j = 0; j < d.n; ++j) {
    const std::string col = columnName(d, j);
    if (int c = lay.lowerCol[j]; c >= 0) {
      cost[c] = d.lower[j];
      lo[c] = 0.0;
      up[c] = kInfinity;
      names[c] = "YL_" + col;
    }
    if (int c = lay.upperCol[j]; c >= 0) {
      cost[c] = -d.upper[j];
      lo[c] = 0.0;
      up[c] = kInfinity;
      names[c] = "YU_" + col;
    }
  }
  std::vector<double> rhs(static_cast<std::size_t>(md));
  for (int j = 0; j < d.n; ++j) rhs[j] = sense * d.cost[j];
  std::vector<char> types(static_cast<std::size_t>(md), 'E');
  if (int rc = loadLPData(dual, md, nd, QX_MAX, sense * d.objConst, cost.data(), rhs.data(),
                          types.data(), beg[nd], beg.data(), nullptr, vals.data(), rows.data(),
                          lo.data(), up.data()))
    return rc;

  std::vector<std::string> rowNames(static_cast<std::size_t>(md));
  for (int j = 0; j < d.n; ++j) rowNames[j] = columnName(d, j);
  std::vector<char*> rp(rowNames.size()), cp(names.size());
  for (std::size_t k = 0; k < rp.size(); ++k) rp[k] = rowNames[k].data();
  for (std::size_t k = 0; k < cp.size(); ++k) cp[k] = names[k].data();
  return loadNameData(dual, d.title.empty() ? nullptr : d.title.c_str(),
                      d.objName.empty() ? nullptr : d.objName.c_str(), nullptr, nullptr, nullptr,
                      md > 0 ? rp.data() : nullptr, nd > 0 ? cp.data() : nullptr, nullptr);
}

int dualBasisFromPrimal(const ModelData& d, const std::vector<int>& colStatus,
                        const std::vector<int>& rowStatus, std::vector<int>& dualCols,
                        std::vector<int>& dualRows) {
  if (colStatus.size() != static_cast<std::size_t>(d.n) ||
      rowStatus.size() != static_cast<std::size_t>(d.m))
    return QXERR_BASIS_INVALID;
  const DualLayout lay(d);
  // Complementarity: a tight primal row has a basic dual, a column at a
  // bound has the dual of that bound basic; every other dual column sits at
  // zero, which is its bound (or a free value for equality rows).
  dualCols.assign(static_cast<std::size_t>(lay.cols), QX_BASTYPE_ATLO);
  dualRows.assign(static_cast<std::size_t>(d.n), QX_BASTYPE_ATLO);
  int basic = 0;
  for (int i = 0; i < d.m; ++i) {
    const int c = lay.rowCol[i];
    if (c < 0) {
      if (rowStatus[i] < 0) return QXERR_BASIS_INVALID;
      continue;
    }
    if (rowStatus[i] < 0) {
      dualCols[c] = basic++;
    } else {
      dualCols[c] = d.conType[i] == 'L' ? QX_BASTYPE_ATUP
                    : d.conType[i] == 'G' ? QX_BASTYPE_ATLO
                                          : QX_BASTYPE_FNUL;
    }
  }
  for (int j = 0; j < d.n; ++j) {
    const int st = colStatus[j];
    if (st >= 0) continue;
    const int c = st == QX_BASTYPE_ATUP ? lay.upperCol[j] : st == QX_BASTYPE_ATLO ? lay.lowerCol[j] : -1;
    if (c < 0) return QXERR_BASIS_INVALID;
    dualCols[c] = basic++;
  }
  return basic == d.n ? 0 : QXERR_BASIS_INVALID;
}

int primalBasisFromDual(const ModelData& d, const std::vector<int>& dualCols,
                        std::vector<int>& colStatus, std::vector<int>& rowStatus) {
  const DualLayout lay(d);
  if (dualCols.size() != static_cast<std::size_t>(lay.cols)) return QXERR_BASIS_INVALID;
  colStatus.assign(static_cast<std::size_t>(d.n), 0);
  rowStatus.assign(static_cast<std::size_t>(d.m), 0);
  int basic = 0;
  for (int i = 0; i < d.m; ++i) {
    const int c = lay.rowCol[i];
    if (c >= 0 && dualCols[c] >= 0) {
      // The row is tight: its slack b - a x is zero, the lower end of an
      // 'L' row's slack range [0, inf) and the upper end of a 'G' row's
      // (-inf, 0].
      rowStatus[i] = d.conType[i] == 'G' ? QX_BASTYPE_ATUP : QX_BASTYPE_ATLO;
    } else {
      rowStatus[i] = basic++;
    }
  }
  for (int j = 0; j < d.n; ++j) {
    const int cl = lay.lowerCol[j], cu = lay.upperCol[j];
    if (cl >= 0 && dualCols[cl] >= 0) colStatus[j] = QX_BASTYPE_ATLO;
    else if (cu >= 0 && dualCols[cu] >= 0) colStatus[j] = QX_BASTYPE_ATUP;
    else colStatus[j] = basic++;
  }
  return basic == d.m ? 0 : QXERR_BASIS_INVALID;
}

}  // namespace torva
