// Hash table from exact name strings to integer values (usually the index of
// a row, column, cone or set). Every model file reader and every name lookup
// of a model uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

class NameTable {
 public:
  // Classic 32-bit ELF string hash.
  static std::uint32_t elfHash(std::string_view name) noexcept;
  // Bucket count for an expected number of names: the smallest prime of the
  // fixed list not below it (the largest prime when it exceeds them all).
  static std::size_t bucketCountFor(std::size_t expected) noexcept;

  explicit NameTable(std::size_t expected = 0);

  // Adds name -> value; false (and no change) when the name is present already.
  bool insert(std::string_view name, int value);
  // Value stored for name, or -1.
  int find(std::string_view name) const noexcept;

  std::size_t size() const noexcept { return nodes_.size(); }
  std::size_t bucketCount() const noexcept { return heads_.size(); }
  // Empties the table, keeping its bucket count.
  void clear() noexcept;

 private:
  struct Node {
    std::size_t offset;  // start of the name in pool_
    std::uint32_t length;
    int value;
    int next;  // next node of the chain, -1 at its end
  };
  std::string_view nameOf(const Node& node) const noexcept {
    return std::string_view(pool_.data() + node.offset, node.length);
  }

  std::vector<int> heads_;  // first node of each bucket, -1 when empty
  std::vector<Node> nodes_;
  std::string pool_;        // the names, back to back
};

}  // namespace torva
