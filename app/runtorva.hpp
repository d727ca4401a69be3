// runtorva: command-line driver of the TORVA API library. It is a host
// program like any other: it uses only the functions of the installed header.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "torva.h"

namespace runtorva {

// Exit status of the program; documented in --help.
enum Exit : int {
  kExitOk = 0,        // read (and solved, where asked) to any model status
  kExitLibrary = 1,   // the library failed otherwise (out of memory, ...)
  kExitUsage = 2,     // bad command line
  kExitFile = 3,      // a file cannot be opened, read or written
  kExitSyntax = 4,    // the model file holds a syntax error
  kExitParams = 5,    // the parameter file or a --set option is wrong
  kExitSolver = 6,    // the solver stopped with an error and no model status
};

struct Options {
  std::string model;          // MODEL
  int mpsFormat = -1;         // --mps-format; -1: free, then fixed
  std::string writeMps;       // --write (MPS, or by extension .ltx / .mpi)
  std::string writeSolma;     // --write-solma
  std::string report;         // --report
  bool writeFixed = false;    // --fixed
  std::string paramFile;      // -p (empty: torva.par when present)
  std::string writeParams;    // --write-params
  std::vector<std::pair<std::string, std::string>> settings;  // --set NAME=VALUE
  bool quiet = false;         // -q
  bool solve = true;          // --no-solve turns it off
  bool relax = false;         // --relax: integer columns become continuous
  int method = QX_METHOD_FREE;
  double timeLimit = -1.0;    // --time-limit; negative: none
  std::string writeSolution;  // --write-solution
  int threads = -1;           // --threads; -1: the parameter's value
};

// Parses argv into opts. Returns kExitOk, or the exit status to leave with
// (after printing help, the version or a usage message); done is set when
// the program should stop after the parse.
int parseOptions(int argc, char** argv, Options& opts, bool& done);

// Prints a message of runtorva's own on standard error, prefixed "runtorva: ".
void complain(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Text of a library error code.
std::string errorText(QXenv env, int code);

// Log function writing every line to standard output as it comes.
void printLog(QXmodel model, const char* text, void* userdata);
// Log function appending every line to the std::string at userdata.
void collectLog(QXmodel model, const char* text, void* userdata);

// Parameter files and --set: checks the file's lines against the parameter
// registry, then reads it into model (the library logs its own lines), and
// applies the --set options. Returns an Exit value.
int applyParameters(QXenv env, QXmodel model, const Options& opts);
// Writes the settings in force when --write-params asks; an Exit value.
int writeParameters(QXmodel model, const Options& opts);

// Reads opts.model into model (free MPS, then fixed, as opts says), with the
// parameters of paramModel. On failure prints why and where and returns the
// Exit value; on success the model is loaded and 0 is returned.
int readModel(QXenv env, QXmodel paramModel, const Options& opts, QXmodel& model);

// Solves model, printing the iteration log (unless quiet) and the summary;
// writes the solution file and the solution report when asked. Returns an
// Exit value.
int solveModel(QXenv env, QXmodel model, const Options& opts);
// The same for a model with integer variables, by the integer solver.
int solveMipModel(QXenv env, QXmodel model, const Options& opts);
// Interrupt handling shared by both: installs the Ctrl-C handler and the
// progress callback that reports it; restore() puts the old handler back.
void watchInterrupt(QXmodel model);
void restoreInterrupt();
// Writes the solution report when --report asks; an Exit value.
int writeReport(QXenv env, QXmodel model, const Options& opts);
// Names of the columns (rows when rows is set), generated where missing.
std::vector<std::string> names(QXmodel model, int count, bool rows);
// Writes the solution file: per column, then per row, a line with the name
// and the value of each vector given for the group (all as long as the
// group). Prints where it wrote; returns an Exit value.
int writeSolutionLines(QXmodel model, const std::string& path,
                       const std::vector<const std::vector<double>*>& columns,
                       const std::vector<const std::vector<double>*>& rows);

}  // namespace runtorva
