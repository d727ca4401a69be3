#include "base/copy.hpp"

#include "nlp/load.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "base/load.hpp"

namespace torva {
namespace {

// Pointers to each name of a pool, for handing the pool to the name load.
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

  // Capacity the host reserved on the source carries over; the matrix is
  // copied packed, so the copy gets no spare space inside its columns.
  target.data.reserveRows = std::max(d.reserveRows, d.rowCapacity());
  target.data.reserveCols = std::max(d.reserveCols, d.colCapacity());
  target.data.reserveNnz = d.reserveNnz;
  target.data.reserveConNameChars = d.reserveConNameChars;
  target.data.reserveVarNameChars = d.reserveVarNameChars;
  if (int rc = loadLinearCore(target, readLinearCore(source))) return rc;
  if (!d.varType.empty())
    if (int rc = loadVarType(target, d.varType.data())) return rc;
  if (!d.qc.empty()) {
    std::vector<int> rows(static_cast<std::size_t>(d.qc.nnz()));
    for (std::size_t g = 0; g < d.qc.rows.size(); ++g)
      for (int p = d.qc.beg[g]; p < d.qc.beg[g + 1]; ++p) rows[p] = d.qc.rows[g];
    if (int rc = loadQCData(target, d.qc.nnz(), rows.data(), d.qc.col1.data(), d.qc.col2.data(),
                            d.qc.coef.data()))
      return rc;
  }
  // Loading quadratic terms may clear the copy's convexity setting; the copy
  // keeps the source's setting, which a host may have set back.
  target.params.storeInt(QX_IPARAM_NLP_CONVEX, source.params.intValue(QX_IPARAM_NLP_CONVEX));
  if (!d.cones.empty())
    if (int rc = loadConeData(target, d.cones.count(), d.cones.type.data(), d.cones.beg.data(),
                              d.cones.cols.data()))
      return rc;
  ModelData& t = target.data;
  t.startX = d.startX;
  t.mipStartX = d.mipStartX;
  t.startPartVars = d.startPartVars;
  t.startPartX = d.startPartX;
  t.mipStartPartVars = d.mipStartPartVars;
  t.mipStartPartX = d.mipStartPartX;
  if (!d.sets.empty())
    if (int rc = loadSETSData(target, d.sets.count(), d.sets.type.data(), d.sets.card.data(),
                              d.sets.beg.data(), d.sets.cols.data()))
      return rc;
  if (!d.scVars.empty()) {
    std::vector<double> up(d.scVars.size());
    for (std::size_t k = 0; k < d.scVars.size(); ++k) up[k] = d.upper[d.scVars[k]];
    if (int rc = loadSemiContData(target, static_cast<int>(d.scVars.size()), d.scVars.data(),
                                  d.scLower.data(), up.data()))
      return rc;
  }
  {
    std::vector<char*> con = namePointers(d.conNames), var = namePointers(d.varNames),
                       cone = namePointers(d.coneNames);
    if (int rc = loadNameData(target, d.title.c_str(), d.objName.c_str(), d.rhsName.c_str(),
                              d.rngName.c_str(), d.bndName.c_str(),
                              d.conNames.present() ? con.data() : nullptr,
                              d.varNames.present() ? var.data() : nullptr,
                              d.coneNames.present() ? cone.data() : nullptr))
      return rc;
  }
  // Data beyond the order above: priorities and the starting basis.
  if (!d.priority.empty())
    if (int rc = loadVarPriorities(target, d.priority.data())) return rc;
  if (!d.basisCols.empty() || !d.basisRows.empty())
    if (int rc = loadBasis(target, d.basisCols.data(), d.basisRows.data())) return rc;
  // Instruction list, string table and nonlinear structure.
  nlp::copyNlpData(source, target);
  return 0;
}

}  // namespace torva
