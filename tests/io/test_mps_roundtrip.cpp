// Every shared test model is read, written in both forms, read back and
// compared field by field with the first reading.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mps_test_util.hpp"
#include "torva.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> sharedModels() {
  std::vector<fs::path> files;
  for (const char* set : {"netlib", "miplib3"}) {
    fs::path dir = fs::path(mpstest::sharedDataDir()) / set;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir))
      if (entry.path().string().ends_with(".mps.gz")) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

torva::MpsReadResult readFile(const std::string& path, int format, torva::MpsData& data) {
  auto source = torva::openFileSource(path);
  EXPECT_TRUE(source) << path;
  torva::MpsReadOptions o;
  o.format = format;
  return torva::readMps(*source, o, data);
}

TEST(MpsRoundTrip, SharedModelsRoundTripExactly) {
  auto files = sharedModels();
  if (files.empty()) GTEST_SKIP() << "shared model data not found under " << mpstest::sharedDataDir();
  EXPECT_GE(files.size(), 120u);
  const std::string dir = mpstest::tempDir();
  for (const auto& file : files) {
    torva::MpsData first;
    auto r = readFile(file.string(), torva::kMpsFixed, first);
    ASSERT_EQ(r.error, 0) << file << " line " << r.errorLine << ": " << r.errorText;
    EXPECT_GT(first.n, 0) << file;
    for (bool fixed : {true, false}) {
      std::string out = dir + "/roundtrip_" + file.stem().stem().string() + (fixed ? ".fixed.mps" : ".free.mps.gz");
      torva::MpsWriteOptions w;
      w.fixed = fixed;
      ASSERT_EQ(torva::writeMpsFile(first, w, out), 0) << out;
      torva::MpsData again;
      auto r2 = readFile(out, fixed ? torva::kMpsFixed : torva::kMpsFree, again);
      ASSERT_EQ(r2.error, 0) << out << " line " << r2.errorLine << ": " << r2.errorText;
      if (fixed) {
        mpstest::expectSameData(first, again, out);
      } else {
        // Free format writes blanks inside names as underscores.
        torva::MpsData expected = first;
        for (auto* names : {&expected.rowNames, &expected.colNames})
          for (auto& name : *names) std::replace(name.begin(), name.end(), ' ', '_');
        std::replace(expected.objName.begin(), expected.objName.end(), ' ', '_');
        std::replace(expected.title.begin(), expected.title.end(), ' ', '_');
        mpstest::expectSameData(expected, again, out);
      }
      fs::remove(out);
    }
  }
}

TEST(MpsRoundTrip, FreeAndFixedReadingsAgreeOnSharedModels) {
  auto files = sharedModels();
  if (files.empty()) GTEST_SKIP() << "shared model data not found under " << mpstest::sharedDataDir();
  for (const auto& file : files) {
    torva::MpsData fixed, free;
    ASSERT_EQ(readFile(file.string(), torva::kMpsFixed, fixed).error, 0) << file;
    auto r = readFile(file.string(), torva::kMpsFree, free);
    // Names with blanks cannot be read in free format; all others agree.
    if (r.error) continue;
    mpstest::expectSameData(fixed, free, file.string());
  }
}

TEST(MpsRoundTrip, GzipErrorsAreReported) {
  const std::string dir = mpstest::tempDir();
  // A gzip stream cut in the middle.
  std::string bytes;
  {
    std::string path = dir + "/whole.mps.gz";
    torva::MpsData d;
    d.m = 1;
    d.n = 2000;
    d.cost.assign(2000, 1.0);
    d.rhs = {1};
    d.conTypes = "L";
    for (int j = 0; j <= 2000; ++j) d.colBeg.push_back(j);
    d.rowIdx.assign(2000, 0);
    d.coef.assign(2000, 0.5);
    d.lower.assign(2000, 0.0);
    d.upper.assign(2000, 1e30);
    ASSERT_EQ(torva::writeMpsFile(d, torva::MpsWriteOptions{}, path), 0);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_TRUE(f);
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, got);
    std::fclose(f);
    torva::MpsData back;
    EXPECT_EQ(readFile(path, torva::kMpsFixed, back).error, 0);
    EXPECT_EQ(back.n, 2000);
    fs::remove(path);
  }
  std::string cut = dir + "/cut.mps.gz";
  {
    std::FILE* f = std::fopen(cut.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size() / 2, f);
    std::fclose(f);
  }
  torva::MpsData d;
  EXPECT_EQ(readFile(cut, torva::kMpsFixed, d).error, QXERR_ZLIB_LOAD);
  // Corrupt bytes after a valid gzip header.
  std::string corrupt = dir + "/corrupt.mps.gz";
  {
    std::string broken = bytes;
    for (std::size_t k = 20; k < broken.size(); k += 7) broken[k] = static_cast<char>(broken[k] ^ 0x5a);
    std::FILE* f = std::fopen(corrupt.c_str(), "wb");
    std::fwrite(broken.data(), 1, broken.size(), f);
    std::fclose(f);
  }
  EXPECT_EQ(readFile(corrupt, torva::kMpsFixed, d).error, QXERR_ZLIB_LOAD);
  fs::remove(cut);
  fs::remove(corrupt);
  EXPECT_EQ(torva::openFileSource(dir + "/does-not-exist.mps"), nullptr);
}

}  // namespace
