// MPI instruction-list files: the parsed form of a file, its reader and its
// writer. The reader only parses (it does not touch a model), so the fuzzer
// can drive it alone; io/mpi_api.cpp loads the result into a model.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "io/text_io.hpp"

namespace torva {

struct MpiData {
  std::string title;
  std::vector<std::string> varNames;
  std::vector<double> lower, start, upper;
  std::vector<char> varType;
  bool hasStart = false;

  int nObjs = 0;
  int objSense = 1;
  // Rows with the objective first: code segment, name, type, class word.
  std::vector<int> beg, len;
  std::vector<std::string> rowNames;  // constraints only
  std::vector<char> conType;
  std::vector<int> property;          // QX_CONPROP_* per row, objective first
  std::vector<int> code;
  std::vector<double> numbers;
  std::vector<std::string> strings;
  std::map<int, std::string> sparNames;  // stochastic parameters given by name
  int instructions = 0;               // instruction lines read
};

struct MpiReadResult {
  int error = 0;
  int errorLine = 0;
  std::string errorText;
};

// Parses an MPI file. Syntax errors give QXERR_BAD_MPI_FILE with the line;
// declared counts that disagree with the file give QXERR_INSTRUCT_BAD_COUNT.
MpiReadResult readMpi(ByteSource& source, MpiData& data);

// Everything the writer needs of a model.
struct MpiWriteData {
  std::string title;
  int objSense = 1;
  int nCons = 0, nVars = 0;
  const std::vector<int>* code = nullptr;
  const std::vector<int>* beg = nullptr;  // rows with the objective first
  const std::vector<int>* len = nullptr;
  const std::vector<double>* numbers = nullptr;
  const std::vector<std::string>* strings = nullptr;
  const std::map<int, std::string>* sparNames = nullptr;  // may be null; absent: SP%06d
  std::vector<std::string> varNames, rowNames;  // complete (generated where absent)
  std::vector<double> lower, start, upper;      // start empty when the model has none
  std::vector<char> varType;                    // 'S' for semi-continuous
  std::vector<char> conType;
  std::vector<std::string> classWord;           // per row, objective first
};

void writeMpi(const MpiWriteData& d, TextSink& sink);

// Class words of the rows as files carry them, by QX_CONPROP_* value ("" for
// QX_CONPROP_UNKNOWN); -1 for words that are not class words.
const char* classWord(int property);
int propertyOfWord(const std::string& word);

}  // namespace torva
