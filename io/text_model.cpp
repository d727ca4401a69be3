#include "io/text_model.hpp"

#include <cstdio>

namespace torva {
namespace {

// Initial capacity for names and coefficients; the vectors grow as needed.
constexpr std::size_t kInitialCapacity = 10000;
// Bounds of a new column.
constexpr double kDefaultLower = 0.0;
constexpr double kDefaultUpper = 1.0e30;

}  // namespace

TextModel::TextModel() : colTable_(kInitialCapacity) {
  colNames_.reserve(kInitialCapacity);
  termCol_.reserve(kInitialCapacity);
  termVal_.reserve(kInitialCapacity);
}

int TextModel::column(std::string_view name) {
  int j = colTable_.find(name);
  if (j >= 0) return j;
  j = numColumns();
  colTable_.insert(name, j);
  colNames_.emplace_back(name);
  cost_.push_back(0.0);
  lower_.push_back(kDefaultLower);
  upper_.push_back(kDefaultUpper);
  type_.push_back('C');
  lastRow_.push_back(-1);
  lastPos_.push_back(-1);
  return j;
}

void TextModel::beginRow(std::string_view name) {
  if (name.empty()) {
    char generated[32];
    std::snprintf(generated, sizeof generated, "R%07d", numRows());
    rowNames_.emplace_back(generated);
  } else {
    rowNames_.emplace_back(name);
  }
  rowType_.push_back('?');
  rhs_.push_back(0.0);
}

void TextModel::addTerm(int col, double value) {
  const int row = numRows() - 1;
  const auto j = static_cast<std::size_t>(col);
  if (lastRow_[j] == row) {
    termVal_[static_cast<std::size_t>(lastPos_[j])] += value;
    return;
  }
  lastRow_[j] = row;
  lastPos_[j] = static_cast<int>(termCol_.size());
  termRow_.push_back(row);
  termCol_.push_back(col);
  termVal_.push_back(value);
}

void TextModel::endRow(char type, double rhs) {
  rowType_.back() = type;
  rhs_.back() = rhs;
}

void TextModel::toMpsData(MpsData& d) const {
  d = MpsData{};
  d.title = title;
  d.m = numRows();
  d.n = numColumns();
  d.objSense = objSense;
  d.objConst = objConst;
  d.cost = cost_;
  d.rhs = rhs_;
  d.conTypes = rowType_;
  d.lower = lower_;
  d.upper = upper_;
  if (type_.find_first_not_of('C') != std::string::npos) d.varTypes = type_;
  d.rowNames = rowNames_;
  d.colNames = colNames_;
  // Column-major matrix by counting the nonzero terms of each column; rows
  // come in increasing order within a column since terms are in row order.
  d.colBeg.assign(static_cast<std::size_t>(d.n) + 1, 0);
  for (std::size_t k = 0; k < termCol_.size(); ++k)
    if (termVal_[k] != 0.0) ++d.colBeg[static_cast<std::size_t>(termCol_[k]) + 1];
  for (int j = 0; j < d.n; ++j) d.colBeg[j + 1] += d.colBeg[j];
  d.rowIdx.resize(static_cast<std::size_t>(d.colBeg[d.n]));
  d.coef.resize(d.rowIdx.size());
  std::vector<int> next(d.colBeg.begin(), d.colBeg.end() - 1);
  for (std::size_t k = 0; k < termCol_.size(); ++k) {
    if (termVal_[k] == 0.0) continue;
    const auto at = static_cast<std::size_t>(next[static_cast<std::size_t>(termCol_[k])]++);
    d.rowIdx[at] = termRow_[k];
    d.coef[at] = termVal_[k];
  }
}

}  // namespace torva
