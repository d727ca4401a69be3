// Shared test models read in both formats, and gzip input errors. (The
// write-and-read-back of every shared model is in test_mps_api.cpp.)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "mps_test_util.hpp"
#include "torva.h"

namespace {

namespace fs = std::filesystem;

torva::MpsReadResult readFile(const std::string& path, int format, torva::MpsData& data) {
  auto source = torva::openFileSource(path);
  EXPECT_TRUE(source) << path;
  torva::MpsReadOptions o;
  o.format = format;
  return torva::readMps(*source, o, data);
}

TEST(MpsRoundTrip, FreeAndFixedReadingsAgreeOnSharedModels) {
  auto files = mpstest::sharedModels();
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

// A real model cut at many points is always a clean 2003 with the last line.
TEST(MpsRoundTrip, TruncatedSharedModelsAreErrors) {
  const fs::path file = fs::path(mpstest::sharedDataDir()) / "netlib" / "afiro.mps.gz";
  if (!fs::exists(file)) GTEST_SKIP() << "shared model data not found under " << mpstest::sharedDataDir();
  auto source = torva::openFileSource(file.string());
  ASSERT_TRUE(source);
  std::string text;
  char buf[4096];
  long got;
  while ((got = source->read(buf, sizeof buf)) > 0) text.append(buf, static_cast<std::size_t>(got));
  const std::size_t end = text.find("ENDATA");
  ASSERT_NE(end, std::string::npos);
  int lines = 0;
  for (std::size_t cut = 0; cut < end; cut += 97) {
    auto p = mpstest::parse(std::string_view(text).substr(0, cut), torva::kMpsFixed);
    EXPECT_EQ(p.result.error, QXERR_BAD_MPS_FILE) << cut;
    EXPECT_GE(p.result.errorLine, cut > 0 ? 1 : 0) << cut;
    ++lines;
  }
  EXPECT_GT(lines, 20);
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
    // Compressed input is known by its magic bytes, not by its name.
    const std::string plainName = dir + "/whole-compressed.mps";
    fs::rename(path, plainName);
    torva::MpsData again;
    EXPECT_EQ(readFile(plainName, torva::kMpsFixed, again).error, 0);
    EXPECT_EQ(again.n, 2000);
    fs::remove(plainName);
  }
  std::string cut = dir + "/cut.mps.gz";
  {
    std::FILE* f = std::fopen(cut.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size() / 2, f);
    std::fclose(f);
  }
  // A damaged stream is a bad file, reported at the line it broke off in.
  torva::MpsData d;
  const torva::MpsReadResult cutResult = readFile(cut, torva::kMpsFixed, d);
  EXPECT_EQ(cutResult.error, QXERR_BAD_MPS_FILE);
  EXPECT_GT(cutResult.errorLine, 100);
  // Corrupt bytes after a valid gzip header.
  std::string corrupt = dir + "/corrupt.mps.gz";
  {
    std::string broken = bytes;
    for (std::size_t k = 20; k < broken.size(); k += 7) broken[k] = static_cast<char>(broken[k] ^ 0x5a);
    std::FILE* f = std::fopen(corrupt.c_str(), "wb");
    std::fwrite(broken.data(), 1, broken.size(), f);
    std::fclose(f);
  }
  EXPECT_EQ(readFile(corrupt, torva::kMpsFixed, d).error, QXERR_BAD_MPS_FILE);
  fs::remove(cut);
  fs::remove(corrupt);
  EXPECT_EQ(torva::openFileSource(dir + "/does-not-exist.mps"), nullptr);
}

}  // namespace
