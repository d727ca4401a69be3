// Exported MPS functions: reading a file into a model through the model
// store's internal loads, and writing a model read straight from the store.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "base/api.hpp"
#include "base/load.hpp"
#include "base/model.hpp"
#include "base/log.hpp"
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

// Pointers to the names of a list, for the char** arguments of the loads.
std::vector<char*> namePointers(std::vector<std::string>& names) {
  std::vector<char*> out(names.size());
  for (std::size_t k = 0; k < names.size(); ++k) out[k] = names[k].data();
  return out;
}

}  // namespace

int loadMpsData(Model& model, MpsData& d) {
  // The parsed arrays move into the store; nothing is copied on the way.
  LinearCore core;
  core.m = d.m;
  core.n = d.n;
  core.objSense = d.objSense;
  core.objConst = d.objConst;
  core.nnz = static_cast<int>(d.coef.size());
  core.cost = std::move(d.cost);
  core.rhs = std::move(d.rhs);
  core.conType.assign(d.conTypes.begin(), d.conTypes.end());
  core.colBeg = std::move(d.colBeg);
  core.rowIdx = std::move(d.rowIdx);
  core.value = std::move(d.coef);
  core.lower = std::move(d.lower);
  core.upper = std::move(d.upper);
  if (int rc = loadLinearCore(model, std::move(core))) return rc;
  if (!d.varTypes.empty())
    if (int rc = loadVarType(model, d.varTypes.c_str())) return rc;
  if (!d.scVars.empty())
    if (int rc = loadSemiContData(model, static_cast<int>(d.scVars.size()), d.scVars.data(),
                                  d.scLower.data(), d.scUpper.data()))
      return rc;
  if (d.numSets() > 0)
    if (int rc = loadSETSData(model, d.numSets(), d.setTypes.data(), d.setCard.data(),
                              d.setBeg.data(), d.setCols.data()))
      return rc;
  if (d.numCones() > 0)
    if (int rc = loadConeData(model, d.numCones(), d.coneTypes.data(), d.coneBeg.data(),
                              d.coneCols.data()))
      return rc;
  if (d.numQc() > 0)
    if (int rc = loadQCData(model, d.numQc(), d.qcRow.data(), d.qcCol1.data(), d.qcCol2.data(),
                            d.qcCoef.data()))
      return rc;
  // Names last: the cone names need the cones.
  std::vector<char*> rows = namePointers(d.rowNames);
  std::vector<char*> cols = namePointers(d.colNames);
  std::vector<char*> cones = namePointers(d.coneNames);
  return loadNameData(model, d.title.c_str(), d.objName.empty() ? nullptr : d.objName.c_str(),
                      d.rhsName.empty() ? nullptr : d.rhsName.c_str(),
                      d.rngName.empty() ? nullptr : d.rngName.c_str(),
                      d.bndName.empty() ? nullptr : d.bndName.c_str(),
                      d.m > 0 ? rows.data() : nullptr, d.n > 0 ? cols.data() : nullptr,
                      cones.empty() ? nullptr : cones.data());
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
  const int level = options.printLevel;
  if (rc) {
    if (result.error == QXERR_BAD_MPS_FILE) {
      model.errorLine = result.errorLine;
      model.errorLineText = result.errorText;
    }
    logAt(model, level, kReaderSummaryLevel, "\nMPS Reader: Last line processed: %s",
          result.errorText.c_str());
    const char* text = model.env ? model.env->messages.text(rc) : nullptr;
    logAt(model, level, kReaderSummaryLevel, "\nMPS Reader: %s", text ? text : "");
    return rc;
  }
  logAt(model, level, kReaderSummaryLevel, "\nMPS Reader: Completed successfully... (%.2f secs)\n",
        seconds());
  logLine(model, "\nProcessed %d lines in MPS format (%.2f secs).", result.lines, seconds());
  return 0;
}

}  // namespace

int collectMpsData(Model& model, MpsData& d) {
  if (model.status == QX_STATUS_UNLOADED) return QXERR_INFO_NOT_AVAILABLE;
  const ModelData& md = model.data;
  LinearCore core = readLinearCore(model);
  d.m = core.m;
  d.n = core.n;
  d.objSense = core.objSense;
  d.objConst = core.objConst;
  d.cost = std::move(core.cost);
  d.rhs = std::move(core.rhs);
  d.conTypes.assign(core.conType.begin(), core.conType.end());
  d.colBeg = std::move(core.colBeg);
  d.rowIdx = std::move(core.rowIdx);
  d.coef = std::move(core.value);
  d.lower = std::move(core.lower);
  d.upper = std::move(core.upper);
  d.varTypes.clear();
  if (std::any_of(md.varType.begin(), md.varType.end(), [](char t) { return t != 'C'; }))
    d.varTypes.assign(md.varType.begin(), md.varType.end());

  d.title = md.title;
  d.objName = md.objName;
  d.rhsName = md.rhsName;
  d.rngName = md.rngName;
  d.bndName = md.bndName;
  // Lists of names only when names of that kind were loaded.
  auto names = [](const NamePool& pool, int count, std::vector<std::string>& out) {
    out.clear();
    if (count <= 0 || !pool.present()) return;
    out.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count && i < pool.count(); ++i) out[i] = pool.at(i);
  };
  names(md.conNames, md.m, d.rowNames);
  names(md.varNames, md.n, d.colNames);
  names(md.coneNames, md.cones.count(), d.coneNames);

  d.scVars = md.scVars;
  d.scLower = md.scLower;
  d.scUpper.resize(md.scVars.size());
  for (std::size_t k = 0; k < md.scVars.size(); ++k) d.scUpper[k] = md.upper[md.scVars[k]];
  const ColumnGroups& sets = md.sets;
  d.setTypes.assign(sets.type.begin(), sets.type.end());
  d.setCard = sets.card;
  d.setBeg = sets.empty() ? std::vector<int>{} : sets.beg;
  d.setCols = sets.cols;
  const ColumnGroups& cones = md.cones;
  d.coneTypes.assign(cones.type.begin(), cones.type.end());
  d.coneBeg = cones.empty() ? std::vector<int>{} : cones.beg;
  d.coneCols = cones.cols;
  const QuadraticData& q = md.qc;
  d.qcRow.assign(static_cast<std::size_t>(q.nnz()), 0);
  for (std::size_t g = 0; g < q.rows.size(); ++g)
    std::fill(d.qcRow.begin() + q.beg[g], d.qcRow.begin() + q.beg[g + 1], q.rows[g]);
  d.qcCol1 = q.col1;
  d.qcCol2 = q.col2;
  d.qcCoef = q.coef;
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
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::readMpsFile(*model, filename, format, 0, 0); });
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
