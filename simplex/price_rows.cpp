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
        val_[q] = lp.colValue[p];
      }
    stamp_ = lpStamp;
    built_ = true;
  }
  for (int j = 0; j < n; ++j) {
    const int v = pos[j] >= 0 ? ~j : j;
    for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) col_[rowPos_[p]] = v;
  }
  inSync_ = true;
}

void PriceRows::markColumn(const Lp& lp, int j, bool basic) {
  if (!inSync_ || j >= lp.n) return;
  const int v = basic ? ~j : j;
  for (int p = lp.colStart[j]; p < lp.colStart[j + 1]; ++p) col_[rowPos_[p]] = v;
}

}  // namespace torva::simplex
