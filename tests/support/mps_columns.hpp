// TEST AND BENCHMARK SUPPORT ONLY -- not part of the library.
//
// The constraint matrix of a (gzipped) MPS file in column-major form, for the
// LU kernel's tests and benchmark, read by the library's MPS reader in fixed
// format (names may hold blanks); the objective and other free rows are
// dropped.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "io/mps_reader.hpp"
#include "io/text_io.hpp"

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

// Reads path (gzip or plain); returns false if it cannot be read.
inline bool readMpsColumns(const std::string& path, ColumnMatrix& out) {
  const auto source = openFileSource(path);
  MpsData d;
  MpsReadOptions options;
  options.format = kMpsFixed;
  if (!source || readMps(*source, options, d).error != 0) return false;
  out = ColumnMatrix{d.m, d.n, d.colBeg, d.rowIdx, d.coef};
  return out.numRows > 0;
}

}  // namespace torva::testsupport
