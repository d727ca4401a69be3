// TORVA text writer: the objective line by line, every row under its label,
// END, then the bound and type commands.
#include <cstdio>

#include "io/model_writers.hpp"
#include "io/text_scan.hpp"

namespace torva {
namespace {

constexpr double kInfinite = 1.0e30;

// The eleven characters a name may not contain become '_'.
std::string safeName(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '+' || c == '-' || c == '<' ||
        c == '>' || c == '=' || c == '!' || c == ')')
      c = '_';
  return out;
}

std::string generated(char prefix, int index) {
  char text[32];
  std::snprintf(text, sizeof text, "%c%07d", prefix, index);
  return text;
}

}  // namespace

int checkWritable(const ModelData& d) {
  if (d.objSense != QX_MIN && d.objSense != QX_MAX) return QXERR_BAD_OBJECTIVE_SENSE;
  for (char t : d.conType)
    if (t != 'L' && t != 'E' && t != 'G') return QXERR_BAD_CONSTRAINT_TYPE;
  return 0;
}

RowMatrix rowsOf(const ModelData& d) {
  RowMatrix r;
  r.beg.assign(static_cast<std::size_t>(d.m) + 1, 0);
  for (int j = 0; j < d.n; ++j)
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) ++r.beg[d.rowIdx[k] + 1];
  for (int i = 0; i < d.m; ++i) r.beg[i + 1] += r.beg[i];
  r.col.resize(static_cast<std::size_t>(r.beg[d.m]));
  r.value.resize(r.col.size());
  std::vector<int> next(r.beg.begin(), r.beg.end() - 1);
  for (int j = 0; j < d.n; ++j)
    for (int k = d.colBeg[j]; k < d.colBeg[j] + d.colLen[j]; ++k) {
      const int at = next[d.rowIdx[k]]++;
      r.col[at] = j;
      r.value[at] = d.value[k];
    }
  return r;
}

int writeTorvaText(const ModelData& d, double infinity, TextSink& out) {
  if (int rc = checkWritable(d)) return rc;
  std::vector<std::string> col(static_cast<std::size_t>(d.n));
  for (int j = 0; j < d.n; ++j) {
    const bool named = d.varNames.present() && j < d.varNames.count() && !d.varNames.view(j).empty();
    col[j] = named ? safeName(d.varNames.view(j)) : generated('C', j);
  }
  out.put(d.objSense == QX_MAX ? "MAXIMIZE\n" : "MINIMIZE\n");
  for (int j = 0; j < d.n; ++j)
    out.printf("   %s %s\n", formatFixed16(d.cost[j]).c_str(), col[j].c_str());
  if (d.objConst != 0.0) out.printf("   %s\n", formatFixed16(d.objConst).c_str());

  out.put("\nSUBJECT TO\n");
  const RowMatrix rows = rowsOf(d);
  for (int i = 0; i < d.m; ++i) {
    const bool named = d.conNames.present() && i < d.conNames.count() && !d.conNames.view(i).empty();
    out.printf("%s)\n", named ? safeName(d.conNames.view(i)).c_str() : generated('R', i).c_str());
    for (int k = rows.beg[i]; k < rows.beg[i + 1]; ++k)
      out.printf("   %s %s\n", formatFixed16(rows.value[k]).c_str(), col[rows.col[k]].c_str());
    const char t = d.conType[i];
    out.printf("   %c %s \n", t == 'L' ? '<' : t == 'E' ? '=' : '>', formatFixed16(d.rhs[i]).c_str());
  }
  out.put("\nEND\n");

  for (int j = 0; j < d.n; ++j) {
    const double lo = d.lower[j], up = d.upper[j];
    const bool loInfinite = lo <= -infinity;
    const bool upInfinite = up >= kInfinite;
    if (!loInfinite && lo != 0.0)
      out.printf("SLB   %8s %s\n", col[j].c_str(), formatFixed16(lo).c_str());
    else if (loInfinite && !upInfinite)
      out.printf("SLB   %8s %s\n", col[j].c_str(), formatFixed16(-kInfinite).c_str());
    else if (loInfinite)
      out.printf("FREE %8s\n", col[j].c_str());
    if (!upInfinite) out.printf("SUB   %s %s\n", col[j].c_str(), formatFixed16(up).c_str());
  }
  for (int j = 0; j < d.n; ++j) {
    const char t = d.typeOf(j);
    if (t != 'B' && t != 'I') continue;
    const bool binary = t == 'B' || (d.lower[j] == 0.0 && d.upper[j] == 1.0);
    out.printf(binary ? "INT  %8s\n" : "GIN  %8s\n", col[j].c_str());
  }
  return 0;
}

}  // namespace torva
