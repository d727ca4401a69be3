// SOLMA writer: the model as a SOLMA "model:" block with bracketed labels,
// "@FREE"/"@BND" bound calls and "@BIN"/"@GIN" type calls.
#include <algorithm>
#include <cstdio>

#include "io/model_writers.hpp"

namespace torva {
namespace {

// Names are cut to this many characters.
constexpr std::size_t kSolmaNameLength = 9;
// Bounds beyond these magnitudes are written at them.
constexpr double kSolmaBoundLimit = 1.0e20;

std::string solmaName(const ModelData& d, int j) {
  if (d.varNames.present() && j < d.varNames.count() && !d.varNames.view(j).empty()) {
    std::string name(d.varNames.view(j).substr(0, kSolmaNameLength));
    std::replace(name.begin(), name.end(), ' ', '_');
    return name;
  }
  char text[32];
  std::snprintf(text, sizeof text, "C%07d", j);
  return text;
}

// "0.5 * ( ... )" around the stored terms of one row (-1: the objective).
void writeQuadratic(const ModelData& d, int row, const std::vector<std::string>& names,
                    TextSink& out) {
  const int at = d.qc.find(row);
  if (at < 0) return;
  out.printf("   %+f * %s\n", 0.5, "(");
  for (int k = d.qc.beg[at]; k < d.qc.beg[at + 1]; ++k) {
    const int a = d.qc.col1[k], b = d.qc.col2[k];
    const double coef = a == b ? d.qc.coef[k] : 2.0 * d.qc.coef[k];
    out.printf("   %+f * %s *%s\n", coef, names[a].c_str(), names[b].c_str());
  }
  out.printf("  %s ", ")");
}

}  // namespace

int writeSolma(const ModelData& d, double infinity, TextSink& out) {
  if (int rc = checkWritable(d)) return rc;
  std::vector<std::string> names(static_cast<std::size_t>(d.n));
  for (int j = 0; j < d.n; ++j) names[j] = solmaName(d, j);

  out.put("model:\n");
  out.put(d.objSense == QX_MAX ? "[OBJ] max=\n" : "[OBJ] min=\n");
  for (int j = 0; j < d.n; ++j)
    if (d.cost[j] != 0.0) out.printf("   %+f * %s\n", d.cost[j], names[j].c_str());
  if (d.objConst != 0.0) out.printf("%+f\n", d.objConst);
  writeQuadratic(d, -1, names, out);
  out.put(";\n");

  const RowMatrix rows = rowsOf(d);
  for (int i = 0; i < d.m; ++i) {
    if (d.conNames.present() && i < d.conNames.count() && !d.conNames.view(i).empty())
      out.printf("[%s]\n", d.conNames.at(i));
    else
      out.printf("[R%07d]\n", i);
    for (int k = rows.beg[i]; k < rows.beg[i + 1]; ++k)
      out.printf("   %+f * %s\n", rows.value[k], names[rows.col[k]].c_str());
    if (rows.beg[i] == rows.beg[i + 1] && d.qc.find(i) < 0) out.put("   0");
    writeQuadratic(d, i, names, out);
    const char t = d.conType[i];
    out.printf("   %c %f;\n", t == 'L' ? '<' : t == 'E' ? '=' : '>', d.rhs[i]);
  }

  for (int j = 0; j < d.n; ++j) {
    const double lo = d.lower[j], up = d.upper[j];
    if (lo <= -infinity && up >= infinity) {
      out.printf("@FREE (%8s);\n", names[j].c_str());
    } else if (!(lo == 0.0 && up >= infinity)) {
      out.printf("@BND  (%f,%8s,%f);\n", std::max(lo, -kSolmaBoundLimit), names[j].c_str(),
                 std::min(up, kSolmaBoundLimit));
    }
  }
  for (int j = 0; j < d.n; ++j) {
    const char t = d.typeOf(j);
    if (t != 'B' && t != 'I') continue;
    const bool binary = t == 'B' || (d.lower[j] == 0.0 && d.upper[j] == 1.0);
    out.printf(binary ? "@BIN (%8s);\n" : "@GIN (%8s);\n", names[j].c_str());
  }
  out.put("\nend\n");
  return 0;
}

}  // namespace torva
