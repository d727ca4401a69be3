// The open-node store of the branch and bound: fixed-size node records in a
// pool with a free list, and binary heaps of node indices ordered by a
// comparison function that can be exchanged (the heap is then rebuilt in
// place).
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <utility>
#include <vector>

namespace torva::bnb {

// Direction codes of a node.
constexpr std::uint8_t kDirDown = 1;  // upper bound becomes branchValue
constexpr std::uint8_t kDirUp = 2;    // lower bound becomes branchValue
// Flag values.
constexpr std::uint8_t kFlagFirstTree = 1;
// Root of a further independent part; the record layout gives this mark the
// bit of the heap membership, which is set while the node waits in a heap.
constexpr std::uint8_t kFlagOtherTree = 2;
constexpr std::uint8_t kFlagInHeap = 2;
constexpr std::uint8_t kFlagBenignError = 4;
constexpr std::uint8_t kFlagSibling = 32;

struct BnbNode {
  std::int32_t parent;        // -1 root; free-list link while free
  std::int32_t aux1, aux2;    // aux1: live children of a processed node
  std::int32_t depth;
  double bound;               // minimisation sense
  std::uint16_t ninf;
  std::uint16_t pad0;
  float estimate;
  std::int32_t spare;
  std::int32_t boundValue;    // the bound the branch replaces
  std::int32_t branchValue;   // the new bound of the branching variable
  std::int32_t branchVar;     // -1 for the root
  std::int32_t heapPos;
  std::uint8_t direction;
  std::uint8_t pad1[3];
  std::uint8_t flags;
  std::uint8_t pad2[3];
  std::int32_t aux3, aux4;     // aux3: first cell of the node's chain of fixings (CellPool)
  std::int32_t aux5;          // the independent part the node belongs to (0 when the tree is whole)
};
static_assert(sizeof(BnbNode) == 72, "node records are 18 words");

// Clamps a bound of an integer variable into the 32-bit range of a node word.
std::int32_t boundWord(double value);

class NodePool {
 public:
  // growthLog is told (old, new) capacity when the pool grows.
  explicit NodePool(int capacity, std::function<void(unsigned, unsigned)> growthLog = {});
  // Allocates a record (a freed one first); -1 when the pool cannot grow.
  int allocate();
  void release(int index);
  // Creates the sibling of node source (the other branch on its variable);
  // lower and upper are the current bounds of that variable.
  int createSibling(int source, int depth, double lower, double upper);

  BnbNode& operator[](int i) { return records_[static_cast<std::size_t>(i)]; }
  const BnbNode& operator[](int i) const { return records_[static_cast<std::size_t>(i)]; }
  int count() const { return count_; }
  int capacity() const { return capacity_; }
  int freeCount() const { return freeCount_; }

 private:
  std::vector<BnbNode> records_;
  int count_ = 0, capacity_ = 0, freeCount_ = 0, freeHead_ = -1;
  std::function<void(unsigned, unsigned)> growthLog_;
};

// Cells of two 32-bit words, a value and the link to the next cell of a
// chain (-1 ends it): the per-node chains of variable fixings. A pool of the
// same design as the node pool: a free list, then fresh cells, doubling when
// full.
struct FixCell {
  std::int32_t value;
  std::int32_t link;
};
static_assert(sizeof(FixCell) == 8, "fixing cells are two words");

class CellPool {
 public:
  explicit CellPool(int capacity, std::function<void(unsigned, unsigned)> growthLog = {});
  // Allocates a cell (a freed one first) holding value and link; -1 when
  // the pool cannot grow.
  int allocate(std::int32_t value, std::int32_t link);
  // Frees the chain starting at head, or the one cell index.
  void releaseChain(int head);
  void release(int index);
  const FixCell& operator[](int i) const { return cells_[static_cast<std::size_t>(i)]; }
  int count() const { return count_; }
  int capacity() const { return capacity_; }
  int freeCount() const { return freeCount_; }

 private:
  std::vector<FixCell> cells_;
  int count_ = 0, capacity_ = 0, freeCount_ = 0, freeHead_ = -1;
  std::function<void(unsigned, unsigned)> growthLog_;
};

// "a is to be taken before b".
using NodeOrder = std::function<bool(int a, int b)>;

class NodeHeap {
 public:
  static constexpr int kInitialCapacity = 32001;
  NodeHeap(NodePool& pool, NodeOrder order);
  void push(int node);
  // Takes the first node out; -1 when empty.
  int pop();
  int top() const { return items_.empty() ? -1 : items_[0]; }
  // Removes a node from anywhere in the heap. The node's bound must not have
  // changed since it was pushed.
  void remove(int node);
  // The smallest bound of the nodes held, whatever the order; +1e30 when
  // empty. Kept in step with every push and removal.
  double minBound() const { return byBound_.empty() ? 1e30 : byBound_.begin()->first; }
  // Reinserts every entry, in its present order, under a new order.
  void rebuild(NodeOrder order);
  int size() const { return static_cast<int>(items_.size()); }
  bool empty() const { return items_.empty(); }
  const std::vector<int>& items() const { return items_; }

 private:
  void place(std::size_t pos, int node);
  void siftUp(std::size_t pos);
  void siftDown(std::size_t pos);

  NodePool& pool_;
  NodeOrder order_;
  std::vector<int> items_;
  std::multiset<std::pair<double, int>> byBound_;
};

}  // namespace torva::bnb
