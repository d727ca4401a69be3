#include "base/copy.hpp"

#include "nlp/load.hpp"

#include <algorithm>
#include <string>
#include <vector>

namespace torva {
namespace {

// Pointers to each name of a pool, for handing the pool to QXloadNameData.
std::vector<char*> namePointers(const NamePool& pool) {
  std::vector<char*> out(static_cast<std::size_t>(pool.count()));
  for (int i = 0; i < pool.count(); ++i) out[i] = const_cast<char*>(pool.at(i));
  return out;
}


}  // namespace

int replayModel(const Model& source, Model& target) {
  const ModelData& d = source.data;
  if (source.status == QX_STATUS_UNLOADED && d.empty()) {
    target.data.objSense = d.objSense;
    return 0;
  }

  // Linear data, compacted: the copy gets no spare space.
  {
    std::vector<int> beg(static_cast<std::size_t>(d.n) + 1);
    std::vector<int> rows(static_cast<std::size_t>(d.nnz));
    std::vector<double> vals(rows.size());
    std::vector<double> cost(d.cost), lower(d.lower), upper(d.upper);
    if (int rc = QXgetLPData(const_cast<Model*>(&source), nullptr, nullptr, nullptr, nullptr,
                             nullptr, beg.data(), nullptr, vals.data(), rows.data(), nullptr,
                             nullptr))
      return rc;
    // Capacity the host reserved on the source carries over.
    target.data.reserveRows = std::max(d.reserveRows, d.rowCapacity());
    target.data.reserveCols = std::max(d.reserveCols, d.colCapacity());
    target.data.reserveNnz = d.reserveNnz;
    target.data.reserveConNameChars = d.reserveConNameChars;
    target.data.reserveVarNameChars = d.reserveVarNameChars;
    if (int rc = QXloadLPData(&target, d.m, d.n, d.objSense, d.objConst, d.cost.data(),
                              d.rhs.data(), d.conType.data(), d.nnz, beg.data(), nullptr,
                              vals.data(), rows.data(), d.lower.data(), d.upper.data()))
      return rc;
  }
  if (!d.varType.empty())
    if (int rc = QXloadVarType(&target, d.varType.data())) return rc;
  if (!d.qc.empty()) {
    std::vector<int> rows(static_cast<std::size_t>(d.qc.nnz()));
    for (std::size_t g = 0; g < d.qc.rows.size(); ++g)
      for (int p = d.qc.beg[g]; p < d.qc.beg[g + 1]; ++p) rows[p] = d.qc.rows[g];
    if (int rc = QXloadQCData(&target, d.qc.nnz(), rows.data(), d.qc.col1.data(), d.qc.col2.data(),
                              d.qc.coef.data()))
      return rc;
  }
  // Replaying quadratic terms may clear the copy's convexity setting; the
  // copy keeps the source's setting, which a host may have set back.
  target.params.storeInt(QX_IPARAM_NLP_CONVEX, source.params.intValue(QX_IPARAM_NLP_CONVEX));
  if (!d.cones.empty())
    if (int rc = QXloadConeData(&target, d.cones.count(), d.cones.type.data(), d.cones.beg.data(),
                                d.cones.cols.data()))
      return rc;
  if (!d.startX.empty())
    if (int rc = QXloadVarStartPoint(&target, d.startX.data())) return rc;
  if (!d.mipStartX.empty())
    if (int rc = QXloadMIPVarStartPoint(&target, d.mipStartX.data())) return rc;
  if (!d.startPartVars.empty())
    if (int rc = QXloadVarStartPointPartial(&target, static_cast<int>(d.startPartVars.size()),
                                            d.startPartVars.data(), d.startPartX.data()))
      return rc;
  if (!d.mipStartPartVars.empty())
    if (int rc = QXloadMIPVarStartPointPartial(&target, static_cast<int>(d.mipStartPartVars.size()),
                                               d.mipStartPartVars.data(), d.mipStartPartX.data()))
      return rc;
  if (!d.sets.empty())
    if (int rc = QXloadSETSData(&target, d.sets.count(), d.sets.type.data(), d.sets.card.data(),
                                d.sets.beg.data(), d.sets.cols.data()))
      return rc;
  if (!d.scVars.empty()) {
    std::vector<double> up(d.scVars.size());
    for (std::size_t k = 0; k < d.scVars.size(); ++k) up[k] = d.upper[d.scVars[k]];
    if (int rc = QXloadSemiContData(&target, static_cast<int>(d.scVars.size()), d.scVars.data(),
                                    d.scLower.data(), up.data()))
      return rc;
  }
  {
    std::vector<char*> con = namePointers(d.conNames), var = namePointers(d.varNames),
                       cone = namePointers(d.coneNames);
    if (int rc = QXloadNameData(&target, d.title.c_str(), d.objName.c_str(), d.rhsName.c_str(),
                                d.rngName.c_str(), d.bndName.c_str(),
                                d.conNames.present() ? con.data() : nullptr,
                                d.varNames.present() ? var.data() : nullptr,
                                d.coneNames.present() ? cone.data() : nullptr))
      return rc;
  }
  // Data beyond the order above: priorities and the starting basis.
  if (!d.priority.empty())
    if (int rc = QXloadVarPriorities(&target, d.priority.data())) return rc;
  if (!d.basisCols.empty() || !d.basisRows.empty())
    if (int rc = QXloadBasis(&target, d.basisCols.data(), d.basisRows.data())) return rc;
  // Instruction list, string table and nonlinear structure.
  nlp::copyNlpData(source, target);
  return 0;
}

}  // namespace torva
