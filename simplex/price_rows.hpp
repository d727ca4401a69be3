// Row-wise copy of the constraint matrix for forming pivot rows, with the
// basic columns marked in place.
#pragma once

#include <cstdint>
#include <vector>

#include "simplex/lp.hpp"

namespace torva::simplex {

// The entries of the working matrix by rows, each column index stored as j
// while column j is nonbasic and as ~j (negative) while it is basic, so that a
// row-wise product skips the basic columns on the entry it reads anyway
// instead of looking up every column's basis position (a scattered read per
// entry, about a quarter of the product's time). Within a row the columns
// are in increasing order (as in the working matrix's own row copy), so a
// pivot row lists its columns in the same order as a product over that copy.
// The row starts are the working matrix's (lp.rowStart).
//
// The marks follow the basis: sync brings them into line with the positions
// of all variables (rewriting the columns whose mark differs), markColumn
// changes one column's entries (found through the map from column-wise to
// row-wise entries).
class PriceRows {
 public:
  // Whether the copy belongs to the matrix with this stamp and its marks
  // describe the current basis.
  bool current(std::uint64_t lpStamp) const { return inSync_ && stamp_ == lpStamp; }
  // Rebuilds the copy for the matrix of lp when its stamp changed, and marks
  // every column j < lp.n with pos[j] >= 0 as basic.
  void sync(const Lp& lp, std::uint64_t lpStamp, const std::vector<int>& pos);
  // The marks no longer describe the basis (positions changed wholesale).
  void invalidate() { inSync_ = false; }
  // Marks structural column j (j < n of the matrix) basic or nonbasic; no-op
  // while the marks are out of sync.
  void markColumn(const Lp& lp, int j, bool basic);

  const int* columns() const { return col_.data(); }
  const double* values() const { return val_.data(); }

 private:
  std::vector<int> col_;      // per row-wise entry: j, or ~j while basic
  std::vector<double> val_;   // per row-wise entry: the coefficient
  std::vector<int> rowPos_;   // per column-wise entry: its row-wise entry
  std::vector<char> marked_;  // per column: its entries hold ~j
  void setMark(const Lp& lp, int j, char basic);
  std::uint64_t stamp_ = 0;
  bool built_ = false;
  bool inSync_ = false;
};

}  // namespace torva::simplex
