// TEST AND BENCHMARK SUPPORT ONLY -- not part of the library.
//
// A minimal reader of the ROWS and COLUMNS sections of (gzipped) MPS files
// into a column-major matrix, for the LU kernel's tests and benchmark. It
// ignores RHS, RANGES and BOUNDS, drops the objective (N) rows and skips
// integer markers. Names are whitespace-separated tokens, which covers the
// Netlib and MIPLIB files. To be replaced by the library's MPS reader.
#pragma once

#include <zlib.h>

#include <cstdlib>
#include <sstream>
#include <utility>
#include <string>
#include <unordered_map>
#include <vector>

namespace torva::testsupport {

// The shared model folder: the environment variable TORVA_SHARED_DATA when
// set (for checkouts outside the usual tree), else the configured folder.
inline std::string sharedDataDir() {
  if (const char* env = std::getenv("TORVA_SHARED_DATA"); env && *env) return env;
#ifdef TORVA_SHARED_DATA
  return TORVA_SHARED_DATA;
#else
  return "";
#endif
}

struct ColumnMatrix {
  int numRows = 0;
  int numCols = 0;
  std::vector<int> begin;  // numCols + 1
  std::vector<int> index;
  std::vector<double> value;
};

namespace detail {
inline std::string field(const std::string& line, size_t from, size_t len) {
  if (from >= line.size()) return "";
  std::string f = line.substr(from, len);
  while (!f.empty() && (f.back() == ' ' || f.back() == '\t')) f.pop_back();
  size_t b = 0;
  while (b < f.size() && f[b] == ' ') ++b;
  return f.substr(b);
}
inline bool number(const std::string& text, double& v) {
  if (text.empty()) return false;
  char* end = nullptr;
  v = std::strtod(text.c_str(), &end);
  while (end && *end == ' ') ++end;
  return end && *end == '\0';
}
}  // namespace detail

// Reads path (gzip or plain); returns false if it cannot be read. Lines are
// read in the fixed columns of the format (names may hold blanks); a line
// whose value fields do not parse there is read as blank-separated tokens.
inline bool readMpsColumns(const std::string& path, ColumnMatrix& out) {
  gzFile f = gzopen(path.c_str(), "rb");
  if (!f) return false;
  std::unordered_map<std::string, int> rowIndex;  // -1 for objective rows
  std::string section, lastCol;
  out = ColumnMatrix{};
  out.begin.push_back(0);
  char buf[4096];
  const auto addEntry = [&](const std::string& row, double v) {
    auto it = rowIndex.find(row);
    if (it == rowIndex.end() || it->second < 0 || v == 0.0) return;
    out.index.push_back(it->second);
    out.value.push_back(v);
  };
  while (gzgets(f, buf, sizeof buf)) {
    std::string line(buf);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.empty() || line[0] == '*') continue;
    if (line[0] != ' ' && line[0] != '\t') {
      std::istringstream in(line);
      in >> section;
      continue;
    }
    if (section == "ROWS") {
      std::string type = detail::field(line, 1, 2), name = detail::field(line, 4, 8);
      if (line.size() > 12 || type.empty()) {  // not fixed: tokens
        std::istringstream in(line);
        in >> type >> name;
      }
      rowIndex[name] = (type == "N" || type == "n") ? -1 : out.numRows++;
    } else if (section == "COLUMNS") {
      if (line.find("'MARKER'") != std::string::npos) continue;
      std::string col = detail::field(line, 4, 8);
      std::string r1 = detail::field(line, 14, 8), r2 = detail::field(line, 39, 8);
      double v1 = 0.0, v2 = 0.0;
      bool fixed = detail::number(detail::field(line, 24, 12), v1) && rowIndex.count(r1);
      if (fixed && !r2.empty()) fixed = detail::number(detail::field(line, 49, 12), v2) && rowIndex.count(r2);
      if (fixed && line.size() > 61) fixed = false;
      std::vector<std::pair<std::string, double>> entries;
      if (fixed) {
        entries.emplace_back(r1, v1);
        if (!r2.empty()) entries.emplace_back(r2, v2);
      } else {
        std::istringstream in(line);
        in >> col;
        std::string row;
        double v;
        while (in >> row >> v) entries.emplace_back(row, v);
      }
      if (col != lastCol) {
        if (!lastCol.empty()) out.begin.push_back(static_cast<int>(out.index.size()));
        lastCol = col;
        ++out.numCols;
      }
      for (const auto& [row, v] : entries) addEntry(row, v);
    }
  }
  gzclose(f);
  if (!lastCol.empty()) out.begin.push_back(static_cast<int>(out.index.size()));
  return out.numRows > 0;
}

}  // namespace torva::testsupport
