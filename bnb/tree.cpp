#include "bnb/tree.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

namespace torva::bnb {
namespace {

// The growth of both pools: the storage doubles (bad_alloc propagates) and
// the growth is logged; false once the size would leave the int range.
template <class T>
bool growByDoubling(std::vector<T>& storage, int& capacity, const std::function<void(unsigned, unsigned)>& log) {
  const long long doubled = 2LL * capacity;
  if (doubled <= capacity || doubled > INT_MAX) return false;
  storage.resize(static_cast<std::size_t>(doubled));
  if (log) log(static_cast<unsigned>(capacity), static_cast<unsigned>(doubled));
  capacity = static_cast<int>(doubled);
  return true;
}

}  // namespace

std::int32_t boundWord(double value) {
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<std::int32_t>(std::lround(value));
}

NodePool::NodePool(int capacity, std::function<void(unsigned, unsigned)> growthLog)
    : capacity_(capacity > 0 ? capacity : 1), growthLog_(std::move(growthLog)) {
  records_.resize(static_cast<std::size_t>(capacity_));
}

int NodePool::allocate() {
  int index;
  if (freeCount_ >= 1) {
    index = freeHead_;
    freeHead_ = records_[static_cast<std::size_t>(index)].parent;
    --freeCount_;
  } else {
    if (count_ >= capacity_ && !growByDoubling(records_, capacity_, growthLog_)) return -1;
    index = count_++;
  }
  BnbNode& r = records_[static_cast<std::size_t>(index)];
  r = BnbNode{};
  r.parent = r.aux1 = r.aux2 = r.aux3 = -1;
  r.aux4 = -1;
  r.aux5 = 0;
  r.branchVar = -1;
  r.heapPos = -1;
  r.ninf = 1;
  r.estimate = 0.5f;
  return index;
}

void NodePool::release(int index) {
  BnbNode& r = records_[static_cast<std::size_t>(index)];
  r.parent = freeHead_;
  r.flags = 0;
  freeHead_ = index;
  ++freeCount_;
}

int NodePool::createSibling(int source, int depth, double lower, double upper) {
  const int k = allocate();
  if (k < 0) return k;
  const BnbNode& s = records_[static_cast<std::size_t>(source)];
  BnbNode& r = records_[static_cast<std::size_t>(k)];
  r.parent = r.aux1 = r.aux2 = r.aux3 = r.aux4 = -1;
  r.spare = 0;
  r.ninf = 1;
  r.estimate = 0.5f;
  r.flags = kFlagSibling;
  r.depth = depth;
  r.branchVar = s.branchVar;
  r.direction = s.direction == kDirDown ? kDirUp : kDirDown;
  r.branchValue = s.direction == kDirDown ? s.branchValue + 1 : s.branchValue - 1;
  r.boundValue = boundWord(r.direction == kDirUp ? lower : upper);
  return k;
}

CellPool::CellPool(int capacity, std::function<void(unsigned, unsigned)> growthLog)
    : capacity_(capacity > 0 ? capacity : 1), growthLog_(std::move(growthLog)) {
  cells_.resize(static_cast<std::size_t>(capacity_));
}

int CellPool::allocate(std::int32_t value, std::int32_t link) {
  int index;
  if (freeCount_ >= 1) {
    index = freeHead_;
    freeHead_ = cells_[static_cast<std::size_t>(index)].link;
    --freeCount_;
  } else {
    if (count_ >= capacity_ && !growByDoubling(cells_, capacity_, growthLog_)) return -1;
    index = count_++;
  }
  cells_[static_cast<std::size_t>(index)] = {value, link};
  return index;
}

void CellPool::release(int index) {
  cells_[static_cast<std::size_t>(index)].link = freeHead_;
  freeHead_ = index;
  ++freeCount_;
}

void CellPool::releaseChain(int head) {
  while (head >= 0) {
    FixCell& c = cells_[static_cast<std::size_t>(head)];
    const int next = c.link;
    c.link = freeHead_;
    freeHead_ = head;
    ++freeCount_;
    head = next;
  }
}

namespace {
// A bound that is not a number counts as no bound, so that the ordered set
// stays ordered.
double boundKey(double bound) { return std::isnan(bound) ? -1e30 : bound; }
}  // namespace

NodeHeap::NodeHeap(NodePool& pool, NodeOrder order) : pool_(pool), order_(std::move(order)) {
  items_.reserve(kInitialCapacity);
}

void NodeHeap::place(std::size_t pos, int node) {
  items_[pos] = node;
  pool_[node].heapPos = static_cast<std::int32_t>(pos);
}

void NodeHeap::siftUp(std::size_t pos) {
  const int node = items_[pos];
  while (pos > 0) {
    const std::size_t parent = (pos - 1) / 2;
    if (!order_(node, items_[parent])) break;
    place(pos, items_[parent]);
    pos = parent;
  }
  place(pos, node);
}

void NodeHeap::siftDown(std::size_t pos) {
  const int node = items_[pos];
  const std::size_t n = items_.size();
  for (;;) {
    std::size_t child = 2 * pos + 1;
    if (child >= n) break;
    if (child + 1 < n && order_(items_[child + 1], items_[child])) ++child;
    if (!order_(items_[child], node)) break;
    place(pos, items_[child]);
    pos = child;
  }
  place(pos, node);
}

void NodeHeap::push(int node) {
  if (items_.size() == items_.capacity()) items_.reserve(2 * items_.capacity() + 1);
  items_.push_back(node);
  pool_[node].flags |= kFlagInHeap;
  byBound_.emplace(boundKey(pool_[node].bound), node);
  siftUp(items_.size() - 1);
}

int NodeHeap::pop() {
  if (items_.empty()) return -1;
  const int first = items_[0];
  remove(first);
  return first;
}

void NodeHeap::remove(int node) {
  const std::size_t pos = static_cast<std::size_t>(pool_[node].heapPos);
  const int last = items_.back();
  items_.pop_back();
  auto entry = byBound_.find({boundKey(pool_[node].bound), node});
  if (entry == byBound_.end())  // the bound was changed in the heap: look the node up
    entry = std::find_if(byBound_.begin(), byBound_.end(), [node](const auto& e) { return e.second == node; });
  if (entry != byBound_.end()) byBound_.erase(entry);
  pool_[node].flags &= static_cast<std::uint8_t>(~kFlagInHeap);
  pool_[node].heapPos = -1;
  if (pos < items_.size()) {
    place(pos, last);
    siftDown(pos);
    siftUp(static_cast<std::size_t>(pool_[last].heapPos));
  }
}

void NodeHeap::rebuild(NodeOrder order) {
  order_ = std::move(order);
  std::vector<int> old;
  old.swap(items_);
  items_.reserve(old.capacity());
  for (int node : old) {
    items_.push_back(node);
    siftUp(items_.size() - 1);
  }
}

}  // namespace torva::bnb
