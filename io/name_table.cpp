#include "io/name_table.hpp"

#include <algorithm>
#include <array>

namespace torva {
namespace {

// Bucket counts: primes spaced so that chains stay short from a few names up
// to ten million.
constexpr std::array<std::size_t, 41> kBucketPrimes = {
    29,      229,     883,     1671,    2791,    4801,    8629,    15289,   25303,
    34843,   65269,   99709,   129403,  147673,  166669,  201403,  222163,  242729,
    261431,  303491,  320237,  402761,  501131,  602309,  701507,  800999,  900551,
    1000619, 1100837, 1200359, 1500007, 2000003, 3000017, 4000037, 4500007, 5000011,
    6000011, 7000003, 8000009, 9000011, 9999991};

}  // namespace

std::uint32_t NameTable::elfHash(std::string_view name) noexcept {
  std::uint32_t h = 0;
  for (unsigned char c : name) {
    h = (h << 4) + c;
    const std::uint32_t g = h & 0xF0000000u;
    if (g) h ^= g >> 24;
    h &= ~g;
  }
  return h;
}

std::size_t NameTable::bucketCountFor(std::size_t expected) noexcept {
  auto it = std::lower_bound(kBucketPrimes.begin(), kBucketPrimes.end(), expected);
  return it == kBucketPrimes.end() ? kBucketPrimes.back() : *it;
}

NameTable::NameTable(std::size_t expected) : heads_(bucketCountFor(expected), -1) {
  // Initial chain capacity: a tenth of the names plus a margin, never more
  // than the names expected.
  nodes_.reserve(std::min((expected + 1) / 10 + 1000, expected));
}

bool NameTable::insert(std::string_view name, int value) {
  int& head = heads_[elfHash(name) % heads_.size()];
  for (int k = head; k >= 0; k = nodes_[k].next)
    if (nameOf(nodes_[k]) == name) return false;
  nodes_.push_back(Node{pool_.size(), static_cast<std::uint32_t>(name.size()), value, head});
  pool_.append(name);
  head = static_cast<int>(nodes_.size()) - 1;
  return true;
}

int NameTable::find(std::string_view name) const noexcept {
  for (int k = heads_[elfHash(name) % heads_.size()]; k >= 0; k = nodes_[k].next)
    if (nameOf(nodes_[k]) == name) return nodes_[k].value;
  return -1;
}

void NameTable::clear() noexcept {
  std::fill(heads_.begin(), heads_.end(), -1);
  nodes_.clear();
  pool_.clear();
}

}  // namespace torva
