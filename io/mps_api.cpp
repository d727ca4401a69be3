// Exported MPS functions: reading a file into a model through the load
// functions, and writing a model read through the queries.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "base/api.hpp"
#include "base/model.hpp"
#include "base/model_log.hpp"
#include "io/mps_data.hpp"
#include "io/mps_model.hpp"
#include "io/mps_reader.hpp"
#include "io/mps_writer.hpp"
#include "io/text_io.hpp"
#include "torva.h"

namespace torva {
namespace {

// Print level at which the reader's summary lines are written.
constexpr int kReaderSummaryLevel = 5;

// The print level of the model file functions: the larger of the LP and MIP
// print levels.
int fileIoPrintLevel(const Model& model) {
  return std::max(model.params.intValue(QX_IPARAM_LP_PRINTLEVEL),
                  model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL));
}

// Pointers to the names of a list, for the char** arguments of the loads.
std::vector<char*> namePointers(std::vector<std::string>& names) {
  std::vector<char*> out(names.size());
  for (std::size_t k = 0; k < names.size(); ++k) out[k] = names[k].data();
  return out;
}

}  // namespace

int loadMpsData(Model& model, MpsData& d) {
  if (int rc = QXloadLPData(&model, d.m, d.n, d.objSense, d.objConst, d.cost.data(), d.rhs.data(),
                            d.conTypes.data(), static_cast<int>(d.coef.size()), d.colBeg.data(),
                            nullptr, d.coef.data(), d.rowIdx.data(), d.lower.data(), d.upper.data()))
    return rc;
  if (!d.varTypes.empty())
    if (int rc = QXloadVarType(&model, d.varTypes.c_str())) return rc;
  if (!d.scVars.empty())
    if (int rc = QXloadSemiContData(&model, static_cast<int>(d.scVars.size()), d.scVars.data(),
                                    d.scLower.data(), d.scUpper.data()))
      return rc;
  if (d.numSets() > 0)
    if (int rc = QXloadSETSData(&model, d.numSets(), d.setTypes.data(), d.setCard.data(),
                                d.setBeg.data(), d.setCols.data()))
      return rc;
  if (d.numCones() > 0)
    if (int rc = QXloadConeData(&model, d.numCones(), d.coneTypes.data(), d.coneBeg.data(),
                                d.coneCols.data()))
      return rc;
  if (d.numQc() > 0)
    if (int rc = QXloadQCData(&model, d.numQc(), d.qcRow.data(), d.qcCol1.data(), d.qcCol2.data(),
                              d.qcCoef.data()))
      return rc;
  // Names last: the cone names need the cones.
  std::vector<char*> rows = namePointers(d.rowNames);
  std::vector<char*> cols = namePointers(d.colNames);
  std::vector<char*> cones = namePointers(d.coneNames);
  if (int rc = QXloadNameData(&model, d.title.c_str(), d.objName.empty() ? nullptr : d.objName.c_str(),
                              d.rhsName.empty() ? nullptr : d.rhsName.c_str(),
                              d.rngName.empty() ? nullptr : d.rngName.c_str(),
                              d.bndName.empty() ? nullptr : d.bndName.c_str(),
                              d.m > 0 ? rows.data() : nullptr, d.n > 0 ? cols.data() : nullptr,
                              cones.empty() ? nullptr : cones.data()))
    return rc;
  return 0;
}

namespace {

int readMpsFile(Model& model, const char* filename, int format, int objectiveOrdinal,
                int keepFreeRows) {
  const auto start = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  if (model.data.m > 0 || model.data.n > 0) return QXERR_MODEL_ALREADY_LOADED;
  model.errorLine = 0;
  model.errorLineText.reset();
  auto source = openFileSource(filename);
  if (!source) return QXERR_CANNOT_OPEN_FILE;

  MpsReadOptions options;
  options.format = format == kMpsFixed || format == kMpsFreeCompat || format == kMpsFixedCompat
                       ? format
                       : kMpsFree;
  options.objectiveOrdinal = objectiveOrdinal;
  options.keepFreeRows = keepFreeRows != 0;
  options.printLevel = fileIoPrintLevel(model);
  options.infinity = std::min(model.params.douValue(QX_DPARAM_LP_INFINITY), QX_INFINITY);
  options.fileName = filename;
  if (model.logFunc)
    options.log = [&model](const std::string& line) { logLine(model, "%s", line.c_str()); };

  MpsData data;
  MpsReadResult result = readMps(*source, options, data);
  source.reset();
  int rc = result.error;
  if (rc == 0) rc = loadMpsData(model, data);
  const bool summary = model.logFunc && options.printLevel >= kReaderSummaryLevel;
  if (rc) {
    if (result.error == QXERR_BAD_MPS_FILE) {
      model.errorLine = result.errorLine;
      model.errorLineText = result.errorText;
    }
    if (summary) {
      logLine(model, "\nMPS Reader: Last line processed: %s", result.errorText.c_str());
      const char* text = model.env ? model.env->messages.text(rc) : nullptr;
      logLine(model, "\nMPS Reader: %s", text ? text : "");
    }
    return rc;
  }
  if (summary) logLine(model, "\nMPS Reader: Completed successfully... (%.2f secs)\n", seconds());
  logLine(model, "\nProcessed %d lines in MPS format (%.2f secs).", result.lines, seconds());
  return 0;
}

}  // namespace

int collectMpsData(Model& model, MpsData& d) {
  int n = 0, m = 0, nCones = 0, nnz = 0, nQc = 0, nConeNz = 0, varLen = 0, conLen = 0, coneLen = 0;
  if (int rc = QXgetDimensions(&model, &n, &m, &nCones, &nnz, &nQc, &nConeNz, nullptr, nullptr,
                               &varLen, &conLen, &coneLen))
    return rc;
  d.m = m;
  d.n = n;
  d.cost.resize(static_cast<std::size_t>(n));
  d.rhs.resize(static_cast<std::size_t>(m));
  d.conTypes.assign(static_cast<std::size_t>(m), 'L');
  d.colBeg.resize(static_cast<std::size_t>(n) + 1);
  d.rowIdx.resize(static_cast<std::size_t>(nnz));
  d.coef.resize(static_cast<std::size_t>(nnz));
  d.lower.resize(static_cast<std::size_t>(n));
  d.upper.resize(static_cast<std::size_t>(n));
  std::vector<int> lengths(static_cast<std::size_t>(n));
  if (int rc = QXgetLPData(&model, &d.objSense, &d.objConst, d.cost.data(), d.rhs.data(),
                           d.conTypes.data(), d.colBeg.data(), lengths.data(), d.coef.data(),
                           d.rowIdx.data(), d.lower.data(), d.upper.data()))
    return rc;

  d.varTypes.assign(static_cast<std::size_t>(n), 'C');
  if (int rc = QXgetVarType(&model, d.varTypes.data())) return rc;
  if (d.varTypes.find_first_not_of('C') == std::string::npos) d.varTypes.clear();

  // Single names: buffers sized from the stored names.
  const ModelData& md = model.data;
  auto single = [](const std::string& stored) { return std::vector<char>(stored.size() + 1, '\0'); };
  std::vector<char> title = single(md.title), obj = single(md.objName), rhs = single(md.rhsName),
                    rng = single(md.rngName), bnd = single(md.bndName);
  if (int rc = QXgetNameData(&model, title.data(), obj.data(), rhs.data(), rng.data(), bnd.data(),
                             nullptr, nullptr, nullptr))
    return rc;
  d.title = title.data();
  d.objName = obj.data();
  d.rhsName = rhs.data();
  d.rngName = rng.data();
  d.bndName = bnd.data();
  // Lists: one name at a time; the total length bounds every single name.
  std::vector<char> buffer(static_cast<std::size_t>(std::max({varLen, conLen, coneLen, 1})) + 1);
  if (m > 0 && QXgetConstraintNamei(&model, 0, buffer.data()) == 0) {
    d.rowNames.resize(static_cast<std::size_t>(m));
    for (int i = 0; i < m; ++i) {
      if (int rc = QXgetConstraintNamei(&model, i, buffer.data())) return rc;
      d.rowNames[static_cast<std::size_t>(i)] = buffer.data();
    }
  }
  if (n > 0 && QXgetVariableNamej(&model, 0, buffer.data()) == 0) {
    d.colNames.resize(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
      if (int rc = QXgetVariableNamej(&model, j, buffer.data())) return rc;
      d.colNames[static_cast<std::size_t>(j)] = buffer.data();
    }
  }
  if (nCones > 0 && QXgetConeNamei(&model, 0, buffer.data()) == 0) {
    d.coneNames.resize(static_cast<std::size_t>(nCones));
    for (int k = 0; k < nCones; ++k) {
      if (int rc = QXgetConeNamei(&model, k, buffer.data())) return rc;
      d.coneNames[static_cast<std::size_t>(k)] = buffer.data();
    }
  }

  int nSc = 0;
  if (QXgetSemiContData(&model, &nSc, nullptr, nullptr, nullptr) == 0 && nSc > 0) {
    d.scVars.resize(static_cast<std::size_t>(nSc));
    d.scLower.resize(static_cast<std::size_t>(nSc));
    d.scUpper.resize(static_cast<std::size_t>(nSc));
    if (int rc = QXgetSemiContData(&model, &nSc, d.scVars.data(), d.scLower.data(), d.scUpper.data()))
      return rc;
  }
  int nSets = 0, nSetNz = 0;
  if (QXgetSETSData(&model, &nSets, &nSetNz, nullptr, nullptr, nullptr, nullptr) == 0 && nSets > 0) {
    d.setTypes.assign(static_cast<std::size_t>(nSets), '\0');
    d.setCard.resize(static_cast<std::size_t>(nSets));
    d.setBeg.resize(static_cast<std::size_t>(nSets) + 1);
    d.setCols.resize(static_cast<std::size_t>(nSetNz));
    if (int rc = QXgetSETSData(&model, &nSets, &nSetNz, d.setTypes.data(), d.setCard.data(),
                               d.setBeg.data(), d.setCols.data()))
      return rc;
  }
  if (nCones > 0) {
    d.coneTypes.assign(static_cast<std::size_t>(nCones), 'Q');
    d.coneBeg.resize(static_cast<std::size_t>(nCones) + 1);
    d.coneCols.resize(static_cast<std::size_t>(nConeNz));
    if (int rc = QXgetConeData(&model, &nCones, d.coneTypes.data(), d.coneBeg.data(), d.coneCols.data()))
      return rc;
  }
  if (nQc > 0) {
    d.qcRow.resize(static_cast<std::size_t>(nQc));
    d.qcCol1.resize(static_cast<std::size_t>(nQc));
    d.qcCol2.resize(static_cast<std::size_t>(nQc));
    d.qcCoef.resize(static_cast<std::size_t>(nQc));
    if (int rc = QXgetQCData(&model, &nQc, d.qcRow.data(), d.qcCol1.data(), d.qcCol2.data(),
                             d.qcCoef.data()))
      return rc;
  }
  return 0;
}

}  // namespace torva

extern "C" {

QXAPI int QXreadMPSFileFR(QXmodel model, const char* filename, int format, int objectiveOrdinal,
                          int keepFreeRows) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded(
      [&] { return torva::readMpsFile(*model, filename, format, objectiveOrdinal, keepFreeRows); });
}

QXAPI int QXreadMPSFile(QXmodel model, const char* filename, int format) {
  return QXreadMPSFileFR(model, filename, format, 0, 0);
}

QXAPI int QXwriteMPSFile(QXmodel model, const char* filename, int format) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    if (model->status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
    torva::MpsData data;
    if (int rc = torva::collectMpsData(*model, data)) return rc;
    torva::MpsWriteOptions options;
    options.fixed = !(format == torva::kMpsFree || format == torva::kMpsFreeCompat);
    options.objWriteStyle = model->params.intValue(QX_IPARAM_MPS_OBJ_WRITESTYLE);
    if (model->logFunc)
      options.log = [model](const std::string& line) { torva::logLine(*model, "%s", line.c_str()); };
    return torva::writeMpsFile(data, options, filename);
  });
}

}  // extern "C"
