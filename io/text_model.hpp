// The model an algebraic reader collects: columns by name in order of first
// appearance, rows with their terms, bounds and types. It becomes MpsData
// (the array forms of the loads) when reading is done.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/mps_data.hpp"
#include "io/name_table.hpp"

namespace torva {

class TextModel {
 public:
  TextModel();

  int objSense = 1;
  double objConst = 0.0;
  std::string title;
  bool hasTitle = false;

  // Index of the named column, created continuous in [0, 1e30] when new.
  int column(std::string_view name);
  // Index of the named column, or -1.
  int findColumn(std::string_view name) const noexcept { return colTable_.find(name); }
  int numColumns() const noexcept { return static_cast<int>(colNames_.size()); }

  void addCost(int col, double value) { cost_[static_cast<std::size_t>(col)] += value; }
  // Starts a new row; name empty gives "R%07d" with the row's index.
  void beginRow(std::string_view name);
  // Adds a term to the row begun last; repeated columns are summed.
  void addTerm(int col, double value);
  // Ends the row begun last with its type (L, E, G) and right-hand side.
  void endRow(char type, double rhs);
  int numRows() const noexcept { return static_cast<int>(rowType_.size()); }

  void setLower(int col, double v) { lower_[static_cast<std::size_t>(col)] = v; }
  void setUpper(int col, double v) { upper_[static_cast<std::size_t>(col)] = v; }
  void setType(int col, char t) { type_[static_cast<std::size_t>(col)] = t; }

  // The collected model; zero terms give no matrix entry.
  void toMpsData(MpsData& d) const;

 private:
  NameTable colTable_;
  std::vector<std::string> colNames_, rowNames_;
  std::vector<double> cost_, lower_, upper_;
  std::string type_;
  std::string rowType_;
  std::vector<double> rhs_;
  // Terms of all rows back to back, in row order.
  std::vector<int> termRow_, termCol_;
  std::vector<double> termVal_;
  // Per column: the last row that used it and the position of that term.
  std::vector<int> lastRow_, lastPos_;
};

}  // namespace torva
