// Exported functions of the algebraic model files (TORVA text, LP text),
// the SOLMA writer and the solution report.
#include <algorithm>
#include <chrono>
#include <memory>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "base/api.hpp"
#include "base/load.hpp"
#include "base/model.hpp"
#include "base/model_log.hpp"
#include "io/model_writers.hpp"
#include "io/mps_model.hpp"
#include "io/mps_reader.hpp"
#include "io/mps_writer.hpp"
#include "simplex/dual_model.hpp"
#include "simplex/options.hpp"
#include "simplex/presolve/lp_presolver.hpp"
#include "simplex/presolve_hook.hpp"
#include "io/solution_report.hpp"
#include "io/text_io.hpp"
#include "io/text_reader.hpp"
#include "torva.h"

namespace torva {
namespace {

// Print level above which the readers and writers log.
constexpr int kFileMessageLevel = 1;

int fileIoPrintLevel(const Model& model) {
  return std::max(model.params.intValue(QX_IPARAM_LP_PRINTLEVEL),
                  model.params.intValue(QX_IPARAM_MIP_PRINTLEVEL));
}

bool fileLog(const Model& model) {
  return model.logFunc && fileIoPrintLevel(model) > kFileMessageLevel;
}

// Loads what a reader collected into the empty model in one step; on any
// failure the model is left unloaded with nothing in it.
int loadTextData(Model& model, MpsData& d) {
  std::vector<char*> rows(d.rowNames.size()), cols(d.colNames.size());
  for (std::size_t k = 0; k < rows.size(); ++k) rows[k] = d.rowNames[k].data();
  for (std::size_t k = 0; k < cols.size(); ++k) cols[k] = d.colNames[k].data();
  int rc = loadLPData(model, d.m, d.n, d.objSense, d.objConst, d.cost.data(), d.rhs.data(),
                      d.conTypes.data(), static_cast<int>(d.coef.size()), d.colBeg.data(), nullptr,
                      d.coef.data(), d.rowIdx.data(), d.lower.data(), d.upper.data());
  if (rc == 0 && !d.varTypes.empty()) rc = loadVarType(model, d.varTypes.c_str());
  if (rc == 0)
    rc = loadNameData(model, d.title.c_str(), nullptr, nullptr, nullptr, nullptr,
                      d.m > 0 ? rows.data() : nullptr, d.n > 0 ? cols.data() : nullptr, nullptr);
  if (rc) {
    model.data = ModelData{};
    model.status = QX_STATUS_UNLOADED;
  }
  return rc;
}

enum class Format { Torva, Lp };

// Reads a model from source; label is the file name or stream text for the
// messages, streamTitle the title given to a model read from memory.
int readText(Model& model, ByteSource& source, Format format, const std::string& streamTitle) {
  const auto start = std::chrono::steady_clock::now();
  TextReadOptions options;
  options.printLevel = fileIoPrintLevel(model);
  if (model.logFunc)
    options.log = [&model](const std::string& line) { logLine(model, "%s", line.c_str()); };
  MpsData data;
  const TextReadResult result = format == Format::Torva ? readTorvaText(source, options, data)
                                                        : readLpText(source, options, data);
  if (result.error) {
    if (result.error == QXERR_ERROR_IN_INPUT || result.error == QXERR_BAD_MPS_FILE) {
      char text[64];
      std::snprintf(text, sizeof text, "Error at line %d.", result.errorLine);
      model.errorLine = result.errorLine;
      model.errorLineText = text;
    }
    return result.error;
  }
  if (data.title.empty()) data.title = streamTitle;
  if (int rc = loadTextData(model, data)) return rc;
  if (fileLog(model)) {
    const double secs =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (format == Format::Torva)
      logLine(model, "\nProcessed %d lines in TORVA format (%.2f secs).\n", result.lines, secs);
    else
      logLine(model, "\nProcessed %d lines in LP format.", result.lines);
  }
  return 0;
}

int checkEmpty(Model& model) {
  if (model.data.m > 0 || model.data.n > 0) return QXERR_MODEL_ALREADY_LOADED;
  model.errorLine = 0;
  model.errorLineText.reset();
  return 0;
}

int readTextFile(Model& model, const char* filename, Format format) {
  if (int rc = checkEmpty(model)) return rc;
  if (format == Format::Torva && fileLog(model))
    logLine(model, "\nReading %s in TORVA format", filename);
  auto source = openFileSource(filename);
  if (!source) return QXERR_CANNOT_OPEN_FILE;
  return readText(model, *source, format, std::string());
}

int readTextStream(Model& model, const char* text, int length, Format format) {
  if (int rc = checkEmpty(model)) return rc;
  if (format == Format::Torva && fileLog(model))
    logLine(model, "\nReading from stream at 0x%p in TORVA format", static_cast<const void*>(text));
  if (length < 1 || !text) {
    if (fileLog(model))
      logLine(model, format == Format::Torva ? "\nLTX stream is too short." : "\nLP stream is too short.");
    return QXERR_BAD_MPS_FILE;
  }
  char title[64];
  std::snprintf(title, sizeof title, "stream_%p", static_cast<const void*>(text));
  auto source = memorySource(std::string_view(text, static_cast<std::size_t>(length)));
  return readText(model, *source, format, title);
}

double envInfinity(const Model& model) {
  return model.env ? model.env->params.douValue(QX_DPARAM_LP_INFINITY) : kInfinity;
}

template <class WriteBody>
int writeModelFile(Model& model, const char* filename, WriteBody body) {
  if (model.status == QX_STATUS_UNLOADED || model.data.empty()) return QXERR_INFO_NOT_AVAILABLE;
  TextSink sink{std::string(filename)};
  if (!sink.ok()) return QXERR_CANNOT_OPEN_FILE;
  const int rc = body(sink);
  if (!sink.close() && rc == 0) return QXERR_CANNOT_OPEN_FILE;
  return rc;
}

// The file name with its extension (what follows the last '.' of the last
// path component) replaced by ext, or ext appended when there is none.
std::string withExtension(const std::string& name, const char* ext) {
  const std::size_t slash = name.find_last_of('/');
  const std::size_t dot = name.rfind('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExt ? name.substr(0, dot) : name) + ext;
}

// The presolved form of the model under its presolve level, as a model of
// the same environment, or null when the model is written as it is:
// presolve off (level 0 or bit 8192), data that the LP reductions do not
// cover (semi-continuous columns, sets, quadratic, conic or nonlinear
// data), or a presolve that changes nothing or settles the model on its own
// (infeasible or unbounded). A model with integer columns gets only the
// reductions that keep its integer solutions, and keeps its types.
std::unique_ptr<Model> reducedModel(const Model& model) {
  const ModelData& d = model.data;
  int level = model.params.intValue(QX_IPARAM_LP_PRELEVEL);
  if (level <= 0 || (level & kPresolveOffBit)) return nullptr;
  if (d.hasSemiCont() || d.hasSets() || d.hasQuadratic() || d.hasCones() || model.nlp) return nullptr;
  PresolveOptions options;
  options.feasTol = model.params.douValue(QX_DPARAM_SOLVER_FEASTOL);
  if (d.hasIntegers()) {
    level = mipValidLevel(level);
    options.keepIntegers = true;
    if (level == 0) return nullptr;
  }
  ModelData presolved;
  auto presolver = lpPresolverFactory()();
  presolver->setOptions(options);
  if (presolver->presolve(d, level, presolved) != LpPresolver::Verdict::Reduced) return nullptr;
  auto reduced = std::make_unique<Model>(model.env);
  reduced->params = model.params;
  reduced->data = std::move(presolved);
  reduced->status = QX_STATUS_LOADED;
  return reduced;
}

int writeReduced(Model& model, const char* filename, int format) {
  if (model.status == QX_STATUS_UNLOADED || model.data.empty()) return QXERR_INFO_NOT_AVAILABLE;
  std::unique_ptr<Model> presolved = reducedModel(model);
  Model& reduced = presolved ? *presolved : model;
  const std::string mpsName = withExtension(filename, ".mps");
  logLine(model, "\nExporting reduced model as %s", mpsName.c_str());
  MpsData data;
  int rc = collectMpsData(reduced, data);
  if (rc == 0) {
    MpsWriteOptions options;
    options.fixed = !(format == kMpsFree || format == kMpsFreeCompat);
    options.objWriteStyle = model.params.intValue(QX_IPARAM_MPS_OBJ_WRITESTYLE);
    rc = writeMpsFile(data, options, mpsName.c_str());
  }
  if (rc) {
    logLine(model, "\nFailed to export reduced model in MPS format");
    return rc;
  }
  // A reduced model may be empty (presolve removed everything): its file
  // holds the objective constant alone.
  const std::string textName = withExtension(filename, ".ltx");
  TextSink sink{textName};
  rc = sink.ok() ? writeTorvaText(reduced.data, envInfinity(model), sink) : QXERR_CANNOT_OPEN_FILE;
  if (!sink.close() && rc == 0) rc = QXERR_CANNOT_OPEN_FILE;
  if (rc) logLine(model, "\nFailed to export reduced model in TORVA format");
  return rc;
}

}  // namespace
}  // namespace torva

extern "C" {

QXAPI int QXwriteReducedMPSFile(QXmodel model, const char* filename, int format) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::writeReduced(*model, filename, format); });
}

QXAPI int QXreadTORVAFile(QXmodel model, const char* filename) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  // Bit 0x400 of QX_IPARAM_COPY_MODE asks for the grammar-driven reader; one
  // line reader serves both entry points, so the bit changes nothing.
  return torva::guarded([&] { return torva::readTextFile(*model, filename, torva::Format::Torva); });
}

QXAPI int QXreadTORVAFileX(QXmodel model, const char* filename) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::readTextFile(*model, filename, torva::Format::Torva); });
}

QXAPI int QXreadTORVAStream(QXmodel model, const char* text, int length) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded(
      [&] { return torva::readTextStream(*model, text, length, torva::Format::Torva); });
}

QXAPI int QXreadLPFile(QXmodel model, const char* filename) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::readTextFile(*model, filename, torva::Format::Lp); });
}

QXAPI int QXreadLPStream(QXmodel model, const char* text, int length) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::readTextStream(*model, text, length, torva::Format::Lp); });
}

QXAPI int QXwriteTORVAFile(QXmodel model, const char* filename) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    return torva::writeModelFile(*model, filename, [&](torva::TextSink& sink) {
      return torva::writeTorvaText(model->data, torva::envInfinity(*model), sink);
    });
  });
}

QXAPI int QXwriteDualTORVAFile(QXmodel model, const char* filename, int objsense) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    if (model->status == QX_STATUS_UNLOADED || model->data.empty()) return QXERR_INFO_NOT_AVAILABLE;
    if (objsense != QX_MIN && objsense != QX_MAX) return QXERR_BAD_OBJECTIVE_SENSE;
    if (int rc = torva::checkWritable(model->data)) return rc;
    // The temporary dual model is private to this call.
    auto dual = std::make_unique<torva::Model>(model->env);
    if (int rc = torva::buildDualModel(*model, *dual)) return rc;
    torva::ModelData& d = dual->data;
    if (objsense == QX_MIN) {
      // Written as the minimisation of the negated dual objective.
      for (double& c : d.cost) c = -c;
      d.objConst = -d.objConst;
      d.objSense = QX_MIN;
    }
    return torva::writeModelFile(*model, filename, [&](torva::TextSink& sink) {
      return torva::writeTorvaText(d, torva::envInfinity(*model), sink);
    });
  });
}

QXAPI int QXwriteSOLMAFile(QXmodel model, const char* filename) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] {
    return torva::writeModelFile(*model, filename, [&](torva::TextSink& sink) {
      return torva::writeSolma(model->data, torva::envInfinity(*model), sink);
    });
  });
}

QXAPI int QXwriteSolution(QXmodel model, const char* filename) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::writeSolutionReportByStyle(*model, filename); });
}

QXAPI int QXwriteSolutionOfType(QXmodel model, const char* filename, int type) {
  if (!model) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::writeSolutionReport(*model, filename, type); });
}

}  // extern "C"
