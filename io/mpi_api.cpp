// QXreadMPIFile and QXwriteMPIFile: an MPI file into an empty model through
// the instruction-list loader, and a model's instruction list to a file.
#include <chrono>
#include <cstdio>

#include "base/api.hpp"
#include "base/load.hpp"
#include "base/model_log.hpp"
#include "io/mpi_format.hpp"
#include "nlp/load.hpp"
#include "torva.h"

namespace torva {
namespace {

std::vector<char*> pointers(std::vector<std::string>& names) {
  std::vector<char*> out;
  for (auto& s : names) out.push_back(s.data());
  return out;
}

int loadMpiData(Model& model, MpiData& d) {
  nlp::InstructArgs a;
  a.nObjs = d.nObjs;
  a.nCons = static_cast<int>(d.conType.size());
  a.nVars = static_cast<int>(d.varNames.size());
  a.nNumbers = static_cast<int>(d.numbers.size());
  a.objSense = &d.objSense;
  a.conType = d.conType.data();
  a.varType = d.varType.data();
  a.code = d.code.data();
  a.codeSize = static_cast<int>(d.code.size());
  a.numbers = d.numbers.data();
  a.varStart = d.hasStart ? d.start.data() : nullptr;
  std::vector<int> objBeg(1, 0), objLen(1, 0);
  if (!d.beg.empty()) {
    objBeg[0] = d.beg[0];
    objLen[0] = d.len[0];
  }
  a.objBeg = objBeg.data();
  a.objLength = objLen.data();
  a.conBeg = d.beg.size() > 1 ? d.beg.data() + d.nObjs : nullptr;
  a.conLength = d.len.size() > 1 ? d.len.data() + d.nObjs : nullptr;
  a.lower = d.lower.data();
  a.upper = d.upper.data();
  if (int rc = nlp::loadInstruct(model, a)) return rc;
  nlp::NlpData& nd = nlp::nlpData(model);
  for (std::size_t r = 0; r < d.property.size() && r < nd.list->property.size(); ++r)
    nd.list->property[r] = d.property[r];
  nd.strings = d.strings;
  nd.list->stocNames = d.sparNames;
  nd.invalidate();
  std::vector<char*> con = pointers(d.rowNames), var = pointers(d.varNames);
  return loadNameData(model, d.title.c_str(), nullptr, nullptr, nullptr, nullptr, con.data(), var.data(), nullptr);
}

int readMpiFile(Model& model, const char* filename) {
  const auto start = std::chrono::steady_clock::now();
  if (!model.data.empty()) return QXERR_MODEL_ALREADY_LOADED;
  model.errorLine = 0;
  model.errorLineText.reset();
  logLine(model, "\nReading %s in MPI format", filename);
  auto source = openFileSource(filename);
  if (!source) return QXERR_CANNOT_OPEN_FILE;
  MpiData data;
  const MpiReadResult result = readMpi(*source, data);
  source.reset();
  if (result.error) {
    model.errorLine = result.errorLine;
    model.errorLineText = result.errorText;
    logLine(model, "\n\nError in line %d: %s\n", result.errorLine, result.errorText.c_str());
    model.status = QX_STATUS_UNLOADED;
    return result.error;
  }
  logLine(model, "Parsed %d numeric instructions\n", static_cast<int>(data.numbers.size()));
  if (int rc = loadMpiData(model, data)) {
    if (rc != QXERR_MODEL_ALREADY_LOADED) {
      if (model.nlp) model.nlp->list.reset();
      model.data = ModelData{};
      model.status = QX_STATUS_UNLOADED;
    }
    return rc;
  }
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  logLine(model, "\nProcessed %d instructions in MPI format (%.2f secs).\n", data.instructions, secs);
  return 0;
}

// Name of item i of a pool, or the generated name when the pool has none.
std::string nameOr(const NamePool& pool, int i, const char* format, int number) {
  if (pool.present() && i < pool.count() && pool.view(i).size() > 0) return std::string(pool.view(i));
  char buf[32];
  std::snprintf(buf, sizeof buf, format, number);
  return buf;
}

int writeMpiFile(Model& model, const char* filename) {
  std::unique_ptr<nlp::InstructionList> holder;
  const nlp::InstructionList* l = nlp::listOrConverted(model, holder);
  if (!l) return QXERR_MODEL_NOT_LOADED;
  const ModelData& md = model.data;
  static const std::vector<std::string> kNoStrings;
  MpiWriteData d;
  d.title = md.title;
  d.objSense = l->objSense;
  d.nCons = l->nCons;
  d.nVars = l->nVars;
  d.code = &l->code;
  d.beg = &l->beg;
  d.len = &l->len;
  d.numbers = &l->numbers;
  d.strings = model.nlp ? &model.nlp->strings : &kNoStrings;
  d.sparNames = &l->stocNames;
  d.lower = l->lower;
  d.upper = l->upper;
  d.start = l->start;
  d.varType = l->varType;
  // Semi-continuous variables: type S with the lower level in the lower column.
  for (std::size_t k = 0; k < md.scVars.size(); ++k) {
    const auto j = static_cast<std::size_t>(md.scVars[k]);
    if (j < d.varType.size()) {
      d.varType[j] = 'S';
      d.lower[j] = md.scLower[k];
    }
  }
  for (int j = 0; j < l->nVars; ++j) {
    const char t = d.varType[static_cast<std::size_t>(j)];
    const char* format = t == 'B' ? "B%07d" : (t == 'I' ? "I%07d" : "C%07d");
    d.varNames.push_back(nameOr(md.varNames, j, format, j));
  }
  for (int i = 0; i < l->nCons; ++i) d.rowNames.push_back(nameOr(md.conNames, i, "R%07d", i));
  d.conType = l->conType;
  for (int r = 0; r < l->rows(); ++r) {
    int p = l->property[static_cast<std::size_t>(r)];
    if (p == QX_CONPROP_UNKNOWN && !l->info.empty()) {
      const int cls = l->info[static_cast<std::size_t>(r)].cls;
      p = cls == nlp::kConstant ? QX_CONPROP_CONST : (cls == nlp::kLinear ? QX_CONPROP_LINEAR : p);
    }
    d.classWord.emplace_back(classWord(p));
  }
  TextSink sink(filename);
  if (!sink.ok()) return QXERR_CANNOT_OPEN_FILE;
  writeMpi(d, sink);
  return sink.close() ? 0 : QXERR_CANNOT_OPEN_FILE;
}

}  // namespace
}  // namespace torva

extern "C" {

QXAPI int QXreadMPIFile(QXmodel model, const char* filename) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::readMpiFile(*model, filename); });
}

QXAPI int QXwriteMPIFile(QXmodel model, const char* filename) {
  if (!model || !filename) return QXERR_ILLEGAL_NULL_POINTER;
  return torva::guarded([&] { return torva::writeMpiFile(*model, filename); });
}

}  // extern "C"
