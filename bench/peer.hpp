// Pieces the benchmarks share: reading a Netlib file the way the suite does
// (free MPS first, then fixed), the reference objectives, and running CLP on
// the same file in the same run.
#pragma once

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "torva.h"

namespace bench {

// The Netlib folder of the shared data.
inline std::string netlibDir() { return std::string(TORVA_SHARED_DATA) + "/netlib"; }

// Name and reference objective of every model in objectives.tsv.
inline std::vector<std::pair<std::string, double>> netlibReference() {
  std::vector<std::pair<std::string, double>> out;
  std::ifstream tsv(netlibDir() + "/objectives.tsv");
  std::string line;
  while (std::getline(tsv, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    std::string name;
    double obj = 0;
    ls >> name >> obj;
    out.push_back({name, obj});
  }
  return out;
}

// A new model read from path as free MPS, else as fixed MPS; null when
// neither reads.
inline QXmodel readModel(QXenv env, const std::string& path) {
  int err = 0;
  QXmodel m = QXcreateModel(env, &err);
  if (QXreadMPSFile(m, path.c_str(), 0) == 0) return m;
  QXdeleteModel(&m);
  m = QXcreateModel(env, &err);
  if (QXreadMPSFile(m, path.c_str(), 1) == 0) return m;
  QXdeleteModel(&m);
  return nullptr;
}

// The gzipped file unpacked under /tmp for the peer (which reads plain
// files); removed when the object goes.
class Unpacked {
 public:
  Unpacked(const std::string& gz, const std::string& tag) : path_("/tmp/bench_" + tag + ".mps") {
    std::system(("zcat " + gz + " > " + path_).c_str());
  }
  ~Unpacked() { std::remove(path_.c_str()); }
  Unpacked(const Unpacked&) = delete;
  Unpacked& operator=(const Unpacked&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

struct PeerRun {
  long iterations = -1;
  double seconds = -1;
  double objective = NAN;  // of an "Optimal objective X" line
};

// Runs `clp FILE ARGS` and reads the iteration count of its "... - N
// iterations" line, the objective when that line says optimal, and the wall
// time.
inline PeerRun runClp(const std::string& file, const std::string& args) {
  const std::string cmd = "clp " + file + " " + args + " 2>&1";
  PeerRun out;
  const auto t0 = std::chrono::steady_clock::now();
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char line[4096];
  while (std::fgets(line, sizeof line, p)) {
    std::string s(line);
    const auto k = s.find(" iterations");
    if (s.find("objective") != std::string::npos && k != std::string::npos) {
      const auto o = s.find("Optimal objective ");
      if (o != std::string::npos) out.objective = std::atof(s.c_str() + o + 18);
      const auto dash = s.rfind("- ", k);
      if (dash != std::string::npos) out.iterations = std::atol(s.c_str() + dash + 2);
    }
  }
  pclose(p);
  out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return out;
}

}  // namespace bench
