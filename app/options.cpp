// Command-line options of runtorva.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/runtorva.hpp"

namespace runtorva {

void complain(const char* format, ...) {
  std::fflush(stdout);
  std::fputs("runtorva: ", stderr);
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fputc('\n', stderr);
}

std::string errorText(QXenv env, int code) {
  char message[512] = "";
  QXgetErrorMessage(env, code, message);
  return "error " + std::to_string(code) + ": " + message;
}

void printLog(QXmodel, const char* text, void*) { std::fputs(text, stdout); }

void collectLog(QXmodel, const char* text, void* userdata) {
  static_cast<std::string*>(userdata)->append(text);
}

namespace {

void printVersion() {
  char version[64] = "";
  char built[64] = "";
  QXgetVersionInfo(version, built);
  std::printf("runtorva (TORVA API) %s, built %s\n", version, built);
}

void printHelp() {
  std::printf(
      "Usage: runtorva [options] [MODEL]\n"
      "\n"
      "Reads an optimisation model, prints its statistics and solves it: a linear\n"
      "program with the simplex method, a model with integer variables by branch\n"
      "and bound. The log runs while it solves; a summary follows, ending with\n"
      "the model status, objective value and solve time (for a MIP also the best\n"
      "bound, the gap and the number of nodes).\n"
      "\n"
      "MODEL is an MPS file (free or fixed format), an LP-format file (.lp), a\n"
      "TORVA text file (.ltx) or an instruction-list file (.mpi), optionally\n"
      "gzip-compressed; without a known extension the content decides.\n"
      "\n"
      "Options:\n"
      "  -h, --help           show this help and exit\n"
      "  -v, --version        show the library version and exit\n"
      "  -q                   print no iteration log\n"
      "  --method M           primal, dual, barrier or free (default free: the library\n"
      "                       decides); barrier is the interior-point method with\n"
      "                       crossover to a basic solution\n"
      "  --time-limit S       stop the solve after S seconds\n"
      "  --threads N          threads of the integer solver\n"
      "  --no-solve           read (and write) the model without solving it\n"
      "  --relax              make integer and binary columns continuous before\n"
      "                       solving (the LP relaxation of a MIP)\n"
      "  --write-solution F   write the solution to F: one line per column\n"
      "                       (name, value, reduced cost), then per row\n"
      "                       (name, slack, dual); after a MIP: name and value\n"
      "                       per column, name and slack per row\n"
      "  --mps-format N       read MODEL as MPS format N (0 free, 1 fixed, 2 free and\n"
      "                       3 fixed in compatibility mode); default: free, and\n"
      "                       fixed when the file does not read as free\n"
      "  --write OUT          write the model read to OUT: TORVA text when OUT ends\n"
      "                       in .ltx, an instruction list when it ends in .mpi,\n"
      "                       else MPS (.gz compresses)\n"
      "  --fixed              write an MPS OUT in fixed format (default free)\n"
      "  --write-solma OUT    write the model as SOLMA modelling-language text\n"
      "  --report FILE        write the solution report to FILE after the solve\n"
      "  -p FILE              read parameter settings from FILE instead of torva.par\n"
      "  --set NAME=VALUE     set a parameter; NAME as in the header\n"
      "                       (QX_IPARAM_LP_PRINTLEVEL) or in lower case without\n"
      "                       QX_ and the type prefix (lp_printlevel)\n"
      "  --write-params FILE  write the parameter settings in force to FILE\n"
      "\n"
      "The parameter file torva.par in the working directory is read when it\n"
      "exists. Its setting lines must name known parameters with values of\n"
      "their type; runtorva stops on any other line.\n"
      "\n"
      "Exit status:\n"
      "  0  the model was read and, where asked, solved to a model status\n"
      "     (limits, infeasibility and unboundedness included)\n"
      "  1  the library failed otherwise (for example out of memory)\n"
      "  2  usage error on the command line\n"
      "  3  a file cannot be opened, read or written\n"
      "  4  the model file holds a syntax error\n"
      "  5  the parameter file or a --set option is wrong\n"
      "  6  the solver stopped with an error\n");
}

bool parseMethod(const std::string& text, int& method) {
  if (text == "primal") method = QX_METHOD_PSIMPLEX;
  else if (text == "dual") method = QX_METHOD_DSIMPLEX;
  else if (text == "free") method = QX_METHOD_FREE;
  else if (text == "barrier") method = QX_METHOD_BARRIER;
  else return false;
  return true;
}

bool parseSeconds(const std::string& text, double& seconds) {
  char* end = nullptr;
  seconds = std::strtod(text.c_str(), &end);
  return !text.empty() && end && *end == '\0' && seconds >= 0.0;
}

// What an option takes as its argument, for the "needs" message; null for
// options without one.
const char* argumentOf(const std::string& option) {
  if (option == "--write" || option == "--write-solution" || option == "-p" ||
      option == "--write-params" || option == "--write-solma" || option == "--report")
    return "a file name";
  if (option == "--set") return "NAME=VALUE";
  if (option == "--method") return "primal, dual, barrier or free";
  if (option == "--time-limit") return "a number of seconds";
  if (option == "--threads") return "a number of threads";
  if (option == "--mps-format") return "0, 1, 2 or 3";
  return nullptr;
}

// Applies option with its argument value; false (after a message) when the
// value is not acceptable.
bool takeArgument(const std::string& option, const std::string& value, Options& opts) {
  if (option == "--write") opts.writeMps = value;
  else if (option == "--write-solution") opts.writeSolution = value;
  else if (option == "--write-solma") opts.writeSolma = value;
  else if (option == "--report") opts.report = value;
  else if (option == "-p") opts.paramFile = value;
  else if (option == "--write-params") opts.writeParams = value;
  else if (option == "--set") {
    const std::size_t eq = value.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == value.size()) {
      complain("--set takes NAME=VALUE, not '%s'", value.c_str());
      return false;
    }
    opts.settings.emplace_back(value.substr(0, eq), value.substr(eq + 1));
  } else if (option == "--method") {
    if (!parseMethod(value, opts.method)) {
      complain("--method takes primal, dual, barrier or free, not '%s'", value.c_str());
      return false;
    }
  } else if (option == "--time-limit") {
    if (!parseSeconds(value, opts.timeLimit)) {
      complain("--time-limit takes a number of seconds, not '%s'", value.c_str());
      return false;
    }
  } else if (option == "--threads") {
    char* end = nullptr;
    const long t = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || !end || *end != '\0' || t < 1 || t > 1024) {
      complain("--threads takes a number of threads, not '%s'", value.c_str());
      return false;
    }
    opts.threads = static_cast<int>(t);
  } else if (option == "--mps-format") {
    if (value.size() != 1 || value[0] < '0' || value[0] > '3') {
      complain("--mps-format takes 0, 1, 2 or 3, not '%s'", value.c_str());
      return false;
    }
    opts.mpsFormat = value[0] - '0';
  }
  return true;
}

}  // namespace

int parseOptions(int argc, char** argv, Options& opts, bool& done) {
  done = false;
  bool anything = false;
  for (int k = 1; k < argc; ++k) {
    const std::string a = argv[k];
    anything = true;
    if (a == "--help" || a == "-h") {
      printHelp();
      done = true;
      return kExitOk;
    }
    if (a == "--version" || a == "-v") {
      printVersion();
      done = true;
      return kExitOk;
    }
    if (const char* what = argumentOf(a)) {
      if (k + 1 >= argc) {
        complain("%s needs %s", a.c_str(), what);
        done = true;
        return kExitUsage;
      }
      if (!takeArgument(a, argv[++k], opts)) {
        done = true;
        return kExitUsage;
      }
    } else if (a == "--fixed") {
      opts.writeFixed = true;
    } else if (a == "-q") {
      opts.quiet = true;
    } else if (a == "--relax") {
      opts.relax = true;
    } else if (a == "--no-solve") {
      opts.solve = false;
    } else if (!a.empty() && a[0] == '-') {
      complain("unknown option %s; see runtorva --help", a.c_str());
      done = true;
      return kExitUsage;
    } else if (opts.model.empty()) {
      opts.model = a;
    } else {
      complain("a second model file %s; runtorva reads one model", a.c_str());
      done = true;
      return kExitUsage;
    }
  }
  if (!anything) {
    printHelp();
    done = true;
    return kExitUsage;
  }
  return kExitOk;
}

}  // namespace runtorva
