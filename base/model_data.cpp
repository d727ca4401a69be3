#include "base/model_data.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace torva {

// ---------------------------------------------------------------- NamePool

std::string_view NamePool::view(int i) const noexcept {
  const char* s = at(i);
  const std::size_t end = (i + 1 < count()) ? offset_[i + 1] : chars_.size();
  return std::string_view(s, end - offset_[i] - 1);
}

void NamePool::clear() noexcept {
  chars_.clear();
  offset_.clear();
  present_ = false;
}

void NamePool::assign(char** names, int count) {
  std::size_t total = 0;
  for (int i = 0; i < count; ++i) total += (names[i] ? std::strlen(names[i]) : 0) + 1;
  std::vector<char> chars;
  chars.reserve(std::max(total, chars_.capacity()));
  std::vector<std::size_t> offset;
  offset.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    offset.push_back(chars.size());
    if (names[i]) chars.insert(chars.end(), names[i], names[i] + std::strlen(names[i]));
    chars.push_back('\0');
  }
  chars_.swap(chars);
  offset_.swap(offset);
  present_ = true;
}

void NamePool::append(std::string_view name) {
  offset_.push_back(chars_.size());
  chars_.insert(chars_.end(), name.begin(), name.end());
  chars_.push_back('\0');
  present_ = true;
}

void NamePool::presentWithEmpty(int count) {
  clear();
  for (int i = 0; i < count; ++i) append({});
  present_ = true;
}

void NamePool::padTo(int count) {
  if (!present_) return;
  while (this->count() < count) append({});
}

void NamePool::compact(const std::vector<char>& keep) {
  if (!present_) return;
  std::size_t out = 0;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < offset_.size(); ++i) {
    const std::size_t begin = offset_[i];
    const std::size_t end = (i + 1 < offset_.size()) ? offset_[i + 1] : chars_.size();
    if (!keep[i]) continue;
    std::memmove(chars_.data() + out, chars_.data() + begin, end - begin);
    offset_[kept++] = out;
    out += end - begin;
  }
  offset_.resize(kept);
  chars_.resize(out);
}

// ---------------------------------------------------------- QuadraticData

int QuadraticData::find(int row) const noexcept {
  // rows is sorted (objective -1 first), so a binary search finds it.
  auto it = std::lower_bound(rows.begin(), rows.end(), row);
  return (it != rows.end() && *it == row) ? static_cast<int>(it - rows.begin()) : -1;
}

// -------------------------------------------------------------- ModelData

int ModelData::lookup(const NamePool& pool, std::unique_ptr<NameTable>& table,
                      std::string_view name) {
  if (!table) {
    auto built = std::make_unique<NameTable>(static_cast<std::size_t>(pool.count()));
    for (int i = 0; i < pool.count(); ++i) {
      std::string_view s = pool.view(i);
      if (!s.empty()) built->insert(s, i);  // the first of equal names wins
    }
    table = std::move(built);
  }
  return table->find(name);
}

namespace {

// Keeps the five largest (count, index) pairs, larger counts first and the
// lower index first among equal counts.
void keepDensest(std::array<int, 5>& idx, std::array<int, 5>& cnt, int& used, int index, int count) {
  int pos = used;
  while (pos > 0 && cnt[pos - 1] < count) --pos;
  if (pos >= 5) return;
  const int last = std::min(used, 4);
  for (int k = last; k > pos; --k) {
    idx[k] = idx[k - 1];
    cnt[k] = cnt[k - 1];
  }
  idx[pos] = index;
  cnt[pos] = count;
  if (used < 5) ++used;
}

}  // namespace

const BaseStats& ModelData::stats() const {
  if (statsValid_) return stats_;
  BaseStats s;
  for (int i = 0; i < m; ++i) {
    switch (conType[i]) {
      case 'L': ++s.le; break;
      case 'G': ++s.ge; break;
      case 'E': ++s.eq; break;
      default: ++s.rn; break;
    }
  }
  for (int j = 0; j < n; ++j) {
    const bool hasLo = lower[j] > -kInfinity;
    const bool hasUp = upper[j] < kInfinity;
    if (hasLo && hasUp) {
      ++s.bx;
      if (lower[j] == upper[j]) ++s.fixedCols;
    } else if (hasLo) {
      ++s.lb;
    } else if (hasUp) {
      ++s.ub;
    } else {
      ++s.fr;
    }
  }
  std::vector<int> rowCount(static_cast<std::size_t>(m), 0);
  double minAbs = 0.0, maxAbs = 0.0;
  int colUsed = 0;
  for (int j = 0; j < n; ++j) {
    const int len = colLen[j];
    if (len == 1) ++s.cols1;
    if (len == 2) ++s.cols2;
    keepDensest(s.denseCol, s.denseColNnz, colUsed, j, len);
    for (int k = colBeg[j], e = colBeg[j] + len; k < e; ++k) {
      ++rowCount[rowIdx[k]];
      const double a = std::fabs(value[k]);
      if (a == 0.0) continue;
      if (s.minCoefCol < 0 || a < minAbs) {
        minAbs = a;
        s.minCoef = value[k];
        s.minCoefRow = rowIdx[k];
        s.minCoefCol = j;
      }
      if (s.maxCoefCol < 0 || a > maxAbs) {
        maxAbs = a;
        s.maxCoef = value[k];
        s.maxCoefRow = rowIdx[k];
        s.maxCoefCol = j;
      }
    }
  }
  int rowUsed = 0;
  for (int i = 0; i < m; ++i) {
    const int c = rowCount[i];
    if (c == 0) ++s.emptyRows;
    if (c == 1) ++s.rows1;
    if (c == 2) ++s.rows2;
    keepDensest(s.denseRow, s.denseRowNnz, rowUsed, i, c);
  }
  s.denseCount = std::min(rowUsed, colUsed);
  s.nnz = nnz;
  s.density = (m > 0 && n > 0) ? 100.0 * nnz / (static_cast<double>(m) * n) : 0.0;
  stats_ = s;
  statsValid_ = true;
  return stats_;
}

const IntegerStats& ModelData::integerStats() const {
  if (intStatsValid_) return intStats_;
  IntegerStats s;
  if (!varType.empty()) {
    // Rows that hold a binary (bit 1) or general integer (bit 2) variable.
    std::vector<unsigned char> mark(static_cast<std::size_t>(m), 0);
    for (int j = 0; j < n; ++j) {
      unsigned char bit = 0;
      if (varType[j] == 'B') {
        ++s.binaries;
        bit = 1;
      } else if (varType[j] == 'I') {
        ++s.integers;
        bit = 2;
      }
      if (!bit) continue;
      for (int k = colBeg[j], e = colBeg[j] + colLen[j]; k < e; ++k) mark[rowIdx[k]] |= bit;
    }
    for (int i = 0; i < m; ++i) {
      if (mark[i] & 1) ++s.binaryRows;
      if (mark[i] & 2) ++s.integerRows;
    }
  }
  intStats_ = s;
  intStatsValid_ = true;
  return intStats_;
}

}  // namespace torva
