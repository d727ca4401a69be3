// MPS reading throughput against glpsol --check reading the same files in
// the same run.
//   bench_mps_read [MEGABYTES]   (size of the generated model, default 100)
// Two workloads: a generated fixed-format model of about MEGABYTES MB and the
// Netlib set (decompressed first, so both readers parse plain text). Each
// figure is the best of a few repetitions; glpsol's process start-up, measured
// on a one-row model, is subtracted per call so that only its reading counts.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>
#include <zlib.h>

#include "torva.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRepetitions = 3;

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Writes a fixed-format MPS model of about megabytes MB.
void generate(const std::string& path, double megabytes) {
  const long target = static_cast<long>(megabytes * 1e6);
  const int perColumn = 5;
  // Three lines of about 62 bytes per column (objective + five entries).
  const int n = static_cast<int>(target / (3 * 62));
  const int m = std::max(1000, n / 6);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror(path.c_str());
    std::exit(1);
  }
  std::fprintf(f, "NAME          GENBIG\nROWS\n N  COST\n");
  for (int i = 0; i < m; ++i) std::fprintf(f, " %c  R%07d\n", "LGE"[i % 3], i);
  std::fprintf(f, "COLUMNS\n");
  unsigned state = 20261205u;
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (int j = 0; j < n; ++j) {
    int rows[perColumn + 1];
    double vals[perColumn + 1];
    rows[0] = -1;
    vals[0] = static_cast<double>(next() % 2000) / 100.0 - 10.0;
    for (int k = 1; k <= perColumn; ++k) {
      rows[k] = static_cast<int>((static_cast<long>(j) * 7 + k * 104729 + next() % 97) % m);
      vals[k] = static_cast<double>(next() % 100000) / 1000.0 - 50.0;
    }
    for (int k = 0; k <= perColumn; k += 2) {
      char r1[16], r2[16];
      if (rows[k] < 0) std::snprintf(r1, sizeof r1, "COST");
      else std::snprintf(r1, sizeof r1, "R%07d", rows[k]);
      std::snprintf(r2, sizeof r2, "R%07d", rows[k + 1]);
      std::fprintf(f, "    C%07d  %-8s  %12.3f   %-8s  %12.3f\n", j, r1, vals[k], r2, vals[k + 1]);
    }
  }
  std::fprintf(f, "RHS\n");
  for (int i = 0; i < m; i += 2) std::fprintf(f, "    RHS       R%07d  %12.2f\n", i, 1.0 + i % 50);
  std::fprintf(f, "BOUNDS\n");
  for (int j = 0; j < n; j += 3) std::fprintf(f, " UP BND       C%07d  %12.1f\n", j, 10.0 + j % 7);
  std::fprintf(f, "ENDATA\n");
  std::fclose(f);
}

// Seconds for QXreadMPSFile on path (best of the repetitions).
double timeOurs(const std::string& path, int format) {
  double best = 1e300;
  for (int r = 0; r < kRepetitions; ++r) {
    int rc = 0;
    QXenv env = QXcreateEnv(&rc);
    QXmodel model = QXcreateModel(env, &rc);
    double t0 = now();
    rc = QXreadMPSFile(model, path.c_str(), format);
    double t = now() - t0;
    if (rc) {
      std::fprintf(stderr, "QXreadMPSFile(%s) failed: %d\n", path.c_str(), rc);
      std::exit(1);
    }
    QXdeleteEnv(&env);
    best = std::min(best, t);
  }
  return best;
}

// Seconds for glpsol --check on path (best of the repetitions).
double timeGlpsol(const std::string& path) {
  double best = 1e300;
  const std::string command = "glpsol --check --mps '" + path + "' > /dev/null 2>&1";
  for (int r = 0; r < kRepetitions; ++r) {
    double t0 = now();
    int rc = std::system(command.c_str());
    double t = now() - t0;
    if (rc != 0) {
      std::fprintf(stderr, "glpsol failed on %s\n", path.c_str());
      std::exit(1);
    }
    best = std::min(best, t);
  }
  return best;
}

void gunzip(const std::string& from, const std::string& to) {
  gzFile in = gzopen(from.c_str(), "rb");
  std::FILE* out = std::fopen(to.c_str(), "wb");
  if (!in || !out) {
    std::fprintf(stderr, "cannot decompress %s\n", from.c_str());
    std::exit(1);
  }
  char buffer[1 << 16];
  int got;
  while ((got = gzread(in, buffer, sizeof buffer)) > 0) std::fwrite(buffer, 1, static_cast<std::size_t>(got), out);
  gzclose(in);
  std::fclose(out);
}

}  // namespace

int main(int argc, char** argv) {
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 100.0;
  if (std::system("glpsol --version > /dev/null 2>&1") != 0) {
    std::fprintf(stderr, "glpsol (glpk-utils) is needed as the peer\n");
    return 1;
  }
  const fs::path dir = fs::temp_directory_path() / ("torva_bench_mps_" + std::to_string(::getpid()));
  fs::create_directories(dir);

  // glpsol's start-up: a one-row model.
  const std::string tiny = (dir / "tiny.mps").string();
  std::ofstream(tiny) << "NAME          TINY\nROWS\n N  COST\n L  R1\nCOLUMNS\n"
                         "    X         COST                 1   R1                   1\n"
                         "RHS\n    RHS       R1                   1\nENDATA\n";
  const double startup = timeGlpsol(tiny);

  const std::string big = (dir / "generated.mps").string();
  generate(big, megabytes);
  const double bigMb = static_cast<double>(fs::file_size(big)) / 1e6;
  const double oursBig = timeOurs(big, 1);
  const double peerBig = timeGlpsol(big) - startup;
  std::printf("generated model: %.1f MB\n", bigMb);
  std::printf("  TORVA  QXreadMPSFile : %7.3f s  %7.1f MB/s\n", oursBig, bigMb / oursBig);
  std::printf("  glpsol --check       : %7.3f s  %7.1f MB/s\n", peerBig, bigMb / peerBig);
  std::printf("  ratio (TORVA speed / glpsol speed): %.2f\n", peerBig / oursBig);
  fs::remove(big);

  // The environment variable TORVA_SHARED_DATA overrides the built-in path.
  const char* shared = std::getenv("TORVA_SHARED_DATA");
  const fs::path netlib = fs::path(shared ? shared : TORVA_SHARED_DATA) / "netlib";
  if (fs::is_directory(netlib)) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(netlib))
      if (e.path().string().ends_with(".mps.gz")) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    double bytes = 0, ours = 0, peer = 0, peerRaw = 0;
    for (const auto& f : files) {
      const std::string plain = (dir / f.stem()).string();
      gunzip(f.string(), plain);
      bytes += static_cast<double>(fs::file_size(plain));
      ours += timeOurs(plain, 1);
      double g = timeGlpsol(plain);
      peerRaw += g;
      peer += std::max(g - startup, 1e-6);
      fs::remove(plain);
    }
    const double mb = bytes / 1e6;
    std::printf("netlib: %zu files, %.1f MB\n", files.size(), mb);
    std::printf("  TORVA  QXreadMPSFile : %7.3f s  %7.1f MB/s\n", ours, mb / ours);
    std::printf("  glpsol --check       : %7.3f s  %7.1f MB/s (%.3f s with process start-up)\n", peer,
                mb / peer, peerRaw);
    std::printf("  ratio (TORVA speed / glpsol speed): %.2f\n", peer / ours);
  } else {
    std::printf("netlib: skipped, %s not found\n", netlib.c_str());
  }
  std::printf("glpsol start-up subtracted per call: %.4f s\n", startup);
  fs::remove_all(dir);
  return 0;
}
