// The problem data an MPS file carries, held in the array forms of the model
// store. The reader parses a file into this form and then moves it into a
// model; the writer fills it from a model's store and then writes it.
#pragma once

#include <string>
#include <vector>

namespace torva {

struct MpsData {
  // Single names; empty when absent.
  std::string title;
  std::string objName;
  std::string rhsName;
  std::string rngName;
  std::string bndName;

  // Linear core (moved into the model store as a LinearCore).
  int m = 0;
  int n = 0;
  int objSense = 1;  // 1 minimise, -1 maximise
  double objConst = 0.0;
  std::vector<double> cost;    // n
  std::vector<double> rhs;     // m
  std::string conTypes;        // m characters: E, L, G, N (R for a ranged row)
  std::vector<double> ranges;  // m when conTypes holds R rows, else empty
  std::vector<int> colBeg;     // n + 1
  std::vector<int> rowIdx;     // colBeg[n]
  std::vector<double> coef;    // colBeg[n]
  std::vector<double> lower;   // n
  std::vector<double> upper;   // n

  // Variable types: n characters C, B or I; empty when all are continuous.
  std::string varTypes;

  // Names of rows, columns and cones; empty vectors when absent.
  std::vector<std::string> rowNames;
  std::vector<std::string> colNames;
  std::vector<std::string> coneNames;

  // Semi-continuous variables: index, lower level and upper bound.
  std::vector<int> scVars;
  std::vector<double> scLower;
  std::vector<double> scUpper;

  // Special ordered sets: type byte (1, 2, 3 or 4), cardinality number,
  // begin of each set's members (count + 1 entries) and the members.
  std::string setTypes;
  std::vector<int> setCard;
  std::vector<int> setBeg;
  std::vector<int> setCols;

  // Cones: type character (Q or R), begin of each cone's members (count + 1
  // entries) and the members.
  std::string coneTypes;
  std::vector<int> coneBeg;
  std::vector<int> coneCols;

  // Quadratic terms: row (-1 for the objective), two columns and the value.
  std::vector<int> qcRow;
  std::vector<int> qcCol1;
  std::vector<int> qcCol2;
  std::vector<double> qcCoef;

  int numSets() const noexcept { return static_cast<int>(setTypes.size()); }
  int numCones() const noexcept { return static_cast<int>(coneTypes.size()); }
  int numQc() const noexcept { return static_cast<int>(qcRow.size()); }
};

}  // namespace torva
