// runtorva: command-line driver of the TORVA API library.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "torva.h"

namespace {

void printVersion() {
  char version[64];
  char built[64];
  QXgetVersionInfo(version, built);
  std::printf("runtorva (TORVA API) %s, built %s\n", version, built);
}

void printHelp() {
  std::printf(
      "Usage: runtorva [options] [MODEL]\n"
      "\n"
      "Reads, solves and reports optimisation models with the TORVA API library.\n"
      "\n"
      "Options:\n"
      "  --help       show this help and exit\n"
      "  --version    show the library version and exit\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    printHelp();
    return 1;
  }
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      printHelp();
      return 0;
    }
    if (a == "--version" || a == "-v") {
      printVersion();
      return 0;
    }
  }
  std::fprintf(stderr, "runtorva: unknown arguments; see runtorva --help\n");
  return 2;
}
