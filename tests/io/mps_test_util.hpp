// Helpers shared by the MPS tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "io/mps_data.hpp"
#include "io/mps_reader.hpp"
#include "io/mps_writer.hpp"
#include "io/text_io.hpp"

namespace mpstest {

struct Parsed {
  torva::MpsReadResult result;
  torva::MpsData data;
  std::vector<std::string> log;
};

inline Parsed parse(std::string_view text, int format, int objectiveOrdinal = 0,
                    bool keepFreeRows = false, int printLevel = 0) {
  Parsed p;
  auto source = torva::memorySource(text);
  torva::MpsReadOptions o;
  o.format = format;
  o.objectiveOrdinal = objectiveOrdinal;
  o.keepFreeRows = keepFreeRows;
  o.printLevel = printLevel;
  o.log = [&p](const std::string& line) { p.log.push_back(line); };
  p.result = torva::readMps(*source, o, p.data);
  return p;
}

inline std::string write(const torva::MpsData& d, bool fixed, int style = torva::kMpsMaxFlip) {
  std::string out;
  torva::TextSink sink(&out);
  torva::MpsWriteOptions o;
  o.fixed = fixed;
  o.objWriteStyle = style;
  EXPECT_EQ(torva::writeMps(d, o, sink), 0);
  sink.close();
  return out;
}

// Folder of the shared model sets; the environment variable
// TORVA_SHARED_DATA overrides the built-in path (useful in worktrees).
inline std::string sharedDataDir() {
  const char* dir = std::getenv("TORVA_SHARED_DATA");
  return dir ? dir : TORVA_SHARED_DATA;
}

// The gzipped models of the shared Netlib and MIPLIB sets, sorted; empty
// when the folder is absent.
inline std::vector<std::filesystem::path> sharedModels() {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  for (const char* set : {"netlib", "miplib3"}) {
    fs::path dir = fs::path(sharedDataDir()) / set;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.path().string().ends_with(".mps.gz")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

inline std::string tempDir() {
  const char* dir = std::getenv("TORVA_TEST_TMP");
  return dir ? dir : "/tmp";
}

// Field-by-field comparison of two readings.
inline void expectSameData(const torva::MpsData& a, const torva::MpsData& b, const std::string& what) {
  SCOPED_TRACE(what);
  EXPECT_EQ(a.title.empty() ? "NO_TITLE" : a.title, b.title.empty() ? "NO_TITLE" : b.title);
  EXPECT_EQ(a.objName.empty() ? "OBJ" : a.objName, b.objName.empty() ? "OBJ" : b.objName);
  EXPECT_EQ(a.m, b.m);
  EXPECT_EQ(a.n, b.n);
  EXPECT_EQ(a.objSense, b.objSense);
  EXPECT_EQ(a.objConst, b.objConst);
  EXPECT_EQ(a.cost, b.cost);
  EXPECT_EQ(a.rhs, b.rhs);
  EXPECT_EQ(a.conTypes, b.conTypes);
  EXPECT_EQ(a.colBeg, b.colBeg);
  EXPECT_EQ(a.rowIdx, b.rowIdx);
  EXPECT_EQ(a.coef, b.coef);
  EXPECT_EQ(a.lower, b.lower);
  EXPECT_EQ(a.upper, b.upper);
  EXPECT_EQ(a.varTypes, b.varTypes);
  EXPECT_EQ(a.rowNames, b.rowNames);
  EXPECT_EQ(a.colNames, b.colNames);
  EXPECT_EQ(a.coneNames, b.coneNames);
  EXPECT_EQ(a.scVars, b.scVars);
  EXPECT_EQ(a.scLower, b.scLower);
  EXPECT_EQ(a.scUpper, b.scUpper);
  EXPECT_EQ(a.setTypes, b.setTypes);
  EXPECT_EQ(a.setBeg, b.setBeg);
  EXPECT_EQ(a.setCols, b.setCols);
  EXPECT_EQ(a.coneTypes, b.coneTypes);
  EXPECT_EQ(a.coneBeg, b.coneBeg);
  EXPECT_EQ(a.coneCols, b.coneCols);
  EXPECT_EQ(a.qcRow, b.qcRow);
  EXPECT_EQ(a.qcCol1, b.qcCol1);
  EXPECT_EQ(a.qcCol2, b.qcCol2);
  EXPECT_EQ(a.qcCoef, b.qcCoef);
}

}  // namespace mpstest
