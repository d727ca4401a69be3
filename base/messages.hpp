// The table of error-message texts an environment builds at creation.
#pragma once

#include <cstddef>
#include <memory>

namespace torva {

// Texts are stored back to back, zero-terminated, in one pool; index[code]
// is the offset of a code's text or -1 when the code has none.
class MessageTable {
 public:
  static constexpr int kIndexSize = 2599;        // codes 0..2598
  static constexpr std::size_t kGrowStep = 10000;  // initial size and growth step of the pool

  // Builds the table from the compiled-in texts; returns 0 or QXERR_OUT_OF_MEMORY.
  int build() noexcept;
  // Text of code, or null when the code has none or lies outside the index.
  const char* text(int code) const noexcept;

  std::size_t used() const noexcept { return used_; }
  std::size_t capacity() const noexcept { return capacity_; }

 private:
  int append(int code, const char* text) noexcept;

  std::unique_ptr<char[]> pool_;
  std::unique_ptr<int[]> index_;
  std::size_t used_ = 0;
  std::size_t capacity_ = 0;
};

// Longest message text plus its terminator: the size a caller's buffer needs.
constexpr int kMessageBufferSize = 140;

}  // namespace torva
