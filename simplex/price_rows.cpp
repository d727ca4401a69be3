// Row-wise copy of the constraint matrix with the basic columns marked.
#include "simplex/price_rows.hpp"

namespace torva::simplex {

void PriceRows::sync(const Lp& lp, std::uint64_t lpStamp, const std::vector<int>& pos) {
  const int m = lp.m, n = lp.n;
  const auto nnz = static_cast<std::size_t>(lp.nnz());
  if (!built_ || stamp_ != lpStamp) {
    // Columns in order, each row filled left to right (the order of the
    // working matrix's own row copy), remembering where each column-wise
    // entry went.
    rowPos_.resize(nnz);
    col_.resize(nnz);
    val_.resize(nnz);
    std::vector<int> next(lp.rowStart.begin(), lp.rowStart.begin() + m);
    for (int j = 0; j < n; ++j)
      for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) {
        const int q = next[lp.rowIndex[p]]++;
        rowPos_[p] = q;
        col_[q] = j;
        val_[q] = lp.colValue[p];
      }
    marked_.assign(static_cast<std::size_t>(n), 0);
    stamp_ = lpStamp;
    built_ = true;
  }
  // Only the columns whose mark differs from their position are rewritten
  // (a factorisation or a node of a search changes few of them).
  for (int j = 0; j < n; ++j) {
    const char basic = pos[j] >= 0 ? 1 : 0;
    if (basic != marked_[j]) setMark(lp, j, basic);
  }
  inSync_ = true;
}

void PriceRows::setMark(const Lp& lp, int j, char basic) {
  marked_[j] = basic;
  const int v = basic ? ~j : j;
  for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) col_[rowPos_[p]] = v;
}

void PriceRows::markColumn(const Lp& lp, int j, bool basic) {
  if (!inSync_ || j >= lp.n) return;
  setMark(lp, j, basic ? 1 : 0);
}

}  // namespace torva::simplex
