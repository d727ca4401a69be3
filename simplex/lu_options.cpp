// LU kernel: options, the options dump, the basis hash, the vector and list
// helpers.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "simplex/lu.hpp"

namespace torva {

namespace {

// Defaults of the options (the values a negative setting selects).
constexpr int kDefaultNumCandidates = 4;
constexpr int kDefaultMaxUpdates = 500;
constexpr int kDefaultUpdateType = 1;
constexpr double kDefaultEpsDiag = 2.22045e-16;
constexpr double kDefaultEpsNonz = 2.22045e-16;
constexpr double kDefaultEpsPivAbs = 1e-8;
constexpr double kDefaultEpsPivRel = 0.01;
constexpr double kDefaultIniRcond = 0.01;
constexpr double kDefaultSpvtolUpdate = 0.001;
constexpr double kDefaultSpvtolFtran = 0.2;
constexpr double kDefaultSpvtolBtran = 0.1;

bool isIntId(int id) { return id >= kLuIparNumCandits && id <= kLuIparProfile; }
bool isDoubleId(int id) { return id >= kLuDparEpsDiag && id <= kLuDparSpvtolBtran; }

}  // namespace

// ---------------------------------------------------------------- LuVector

void LuVector::resize(int dim) {
  array.assign(static_cast<size_t>(dim), 0.0);
  index.assign(static_cast<size_t>(dim), 0);
  count = 0;
}

void LuVector::clear() {
  if (count < 0 || count > dimension() / 4) {
    std::fill(array.begin(), array.end(), 0.0);
  } else {
    for (int k = 0; k < count; ++k) array[index[k]] = 0.0;
  }
  count = 0;
}

void LuVector::add(int i, double v) {
  if (array[i] == 0.0) {
    index[count++] = i;
    array[i] = v;
  } else {
    array[i] += v;
  }
  // An entry cancelled to zero stays listed: keep it distinguishable from an
  // unlisted one so that it is not listed twice (prune removes it).
  if (array[i] == 0.0) array[i] = kLuListedZero;
}

// Both loops below are written without branches on the entries: on vectors
// of middling density the branch is unpredictable and its misses cost more
// than the loops' work.
void LuVector::rebuildIndex() {
  const int n = dimension();
  const double* const a = array.data();
  int* const idx = index.data();
  int c = 0;
  for (int i = 0; i < n; ++i) {
    idx[c] = i;
    c += a[i] != 0.0 ? 1 : 0;
  }
  count = c;
}

void LuVector::prune(double tol) {
  tol = std::max(tol, kLuListedZero);
  double* const a = array.data();
  int* const idx = index.data();
  int kept = 0;
  for (int k = 0, n = count; k < n; ++k) {
    const int i = idx[k];
    const double x = a[i];
    const bool keep = std::fabs(x) > tol;
    idx[kept] = i;
    kept += keep ? 1 : 0;
    a[i] = keep ? x : 0.0;
  }
  count = kept;
}

// ---------------------------------------------------------------- LuListPool

void LuListPool::init(int numLists, bool values, int poolSize) {
  withValues = values;
  start.assign(static_cast<size_t>(numLists), 0);
  len.assign(static_cast<size_t>(numLists), 0);
  cap.assign(static_cast<size_t>(numLists), 0);
  idx.resize(static_cast<size_t>(std::max(poolSize, 16)));
  if (withValues) val.resize(idx.size());
  end = 0;
}

void LuListPool::reserve(int l, int need) {
  if (cap[l] >= need) return;
  const int poolSize = static_cast<int>(idx.size());
  if (start[l] + cap[l] == end && start[l] + need <= poolSize) {
    end = start[l] + need;  // the last list grows in place
    cap[l] = need;
    return;
  }
  // A list filled for the first time gets exactly its size; a growing one
  // gets room to grow further.
  const int newCap = len[l] == 0 ? need : need + need / 2 + 4;
  if (end + newCap > poolSize) {
    compact();
    // Keep at least as much free room as is used, so that compactions stay
    // rare (each one tightens every list).
    const size_t want = 2 * static_cast<size_t>(end + newCap);
    if (idx.size() < want) {
      idx.resize(std::max(idx.size() * 2, want));
      if (withValues) val.resize(idx.size());
    }
  }
  const int from = start[l];
  std::copy(idx.begin() + from, idx.begin() + from + len[l], idx.begin() + end);
  if (withValues) std::copy(val.begin() + from, val.begin() + from + len[l], val.begin() + end);
  start[l] = end;
  cap[l] = newCap;
  end += newCap;
}

void LuListPool::addLists(int n) {
  for (int k = 0; k < n; ++k) {
    start.push_back(end);
    len.push_back(0);
    cap.push_back(0);
  }
}

void LuListPool::compact() {
  std::vector<int> lists(start.size());
  std::iota(lists.begin(), lists.end(), 0);
  std::sort(lists.begin(), lists.end(), [&](int a, int b) { return start[a] < start[b]; });
  int pos = 0;
  for (int l : lists) {
    if (cap[l] == 0) {
      start[l] = pos;
      continue;
    }
    const int from = start[l];
    if (from != pos) {
      std::copy(idx.begin() + from, idx.begin() + from + len[l], idx.begin() + pos);
      if (withValues) std::copy(val.begin() + from, val.begin() + from + len[l], val.begin() + pos);
    }
    start[l] = pos;
    cap[l] = len[l];
    pos += len[l];
  }
  end = pos;
}

// ---------------------------------------------------------------- options

int LuKernel::setIntOption(int id, int value) {
  if (isDoubleId(id)) return setDoubleOption(id, static_cast<double>(value));
  if (!isIntId(id)) return kLuErrBadOptionId;
  switch (id) {
    case kLuIparNumCandits:
      if (value < 0) value = kDefaultNumCandidates;
      if (value < 1) return kLuErrBadOptionValue;
      numCandidates_ = value;
      break;
    case kLuIparMaxUpdates:
      maxUpdates_ = value < 0 ? kDefaultMaxUpdates : value;
      break;
    case kLuIparPrintLevel:
      printLevel_ = value < 1 ? 0 : value;
      break;
    case kLuIparUpdateType:
      if (value < 0) value = kDefaultUpdateType;
      if (value > 1) return kLuErrBadOptionValue;
      updateType_ = value;
      break;
    case kLuIparUsePivcol:
      usePivcol_ = value > 0 ? 1 : 0;
      break;
    case kLuIparMemExp:
      if (value < 1) return kLuErrBadOptionValue;
      memExp_ = value;
      break;
    case kLuIparIsDebug:
      isDebug_ = value > 0 ? value : 0;
      break;
    case kLuIparProfile:
      profile_ = value > 0 ? 1 : 0;
      break;
    default:  // 1306: reserved, accepted and ignored
      break;
  }
  return 0;
}

int LuKernel::setDoubleOption(int id, double value) {
  if (isIntId(id)) return setIntOption(id, static_cast<int>(value));
  if (!isDoubleId(id)) return kLuErrBadOptionId;
  if (std::isnan(value)) return kLuErrBadOptionValue;
  const bool useDefault = value < 0.0;
  switch (id) {
    case kLuDparEpsDiag: epsDiag_ = useDefault ? kDefaultEpsDiag : value; break;
    case kLuDparEpsNonz: epsNonz_ = useDefault ? kDefaultEpsNonz : value; break;
    case kLuDparEpsPivAbs: epsPivAbs_ = useDefault ? kDefaultEpsPivAbs : value; break;
    case kLuDparEpsPivRel:
      // A threshold above 1 would reject every pivot.
      if (value > 1.0) return kLuErrBadOptionValue;
      epsPivRel_ = useDefault ? kDefaultEpsPivRel : value;
      learnedThreshold_ = 0.0;
      break;
    case kLuDparIniRcond: iniRcond_ = useDefault ? kDefaultIniRcond : value; break;
    case kLuDparSpvtolUpdate: spvtolUpdate_ = useDefault ? kDefaultSpvtolUpdate : value; break;
    case kLuDparSpvtolFtran: spvtolFtran_ = useDefault ? kDefaultSpvtolFtran : value; break;
    case kLuDparSpvtolBtran: spvtolBtran_ = useDefault ? kDefaultSpvtolBtran : value; break;
    default: break;
  }
  return 0;
}

int LuKernel::getIntOption(int id, int* value) const {
  if (isDoubleId(id)) {
    double d = 0.0;
    const int rc = getDoubleOption(id, &d);
    if (rc == 0 && value) *value = static_cast<int>(d);
    return rc;
  }
  if (!isIntId(id)) return kLuErrBadOptionId;
  int v = 0;
  switch (id) {
    case kLuIparNumCandits: v = numCandidates_; break;
    case kLuIparMaxUpdates: v = maxUpdates_; break;
    case kLuIparPrintLevel: v = printLevel_; break;
    case kLuIparUpdateType: v = updateType_; break;
    case kLuIparUsePivcol: v = usePivcol_; break;
    case kLuIparMemExp: v = memExp_; break;
    case kLuIparIsDebug: v = isDebug_; break;
    case kLuIparProfile: v = profile_; break;
    default: break;
  }
  if (value) *value = v;
  return 0;
}

int LuKernel::getDoubleOption(int id, double* value) const {
  if (isIntId(id)) {
    int i = 0;
    const int rc = getIntOption(id, &i);
    if (rc == 0 && value) *value = i;
    return rc;
  }
  if (!isDoubleId(id)) return kLuErrBadOptionId;
  double v = 0.0;
  switch (id) {
    case kLuDparEpsDiag: v = epsDiag_; break;
    case kLuDparEpsNonz: v = epsNonz_; break;
    case kLuDparEpsPivAbs: v = epsPivAbs_; break;
    case kLuDparEpsPivRel: v = epsPivRel_; break;
    case kLuDparIniRcond: v = iniRcond_; break;
    case kLuDparSpvtolUpdate: v = spvtolUpdate_; break;
    case kLuDparSpvtolFtran: v = spvtolFtran_; break;
    case kLuDparSpvtolBtran: v = spvtolBtran_; break;
    default: break;
  }
  if (value) *value = v;
  return 0;
}

void LuKernel::logOptions() const {
  if (printLevel_ <= 0 || !log_) return;
  char line[128];
  log_("\nWorking LU options \n");
  const auto intLine = [&](const char* name, int v) {
    std::snprintf(line, sizeof line, "%s : %d\n", name, v);
    log_(line);
  };
  const auto dblLine = [&](const char* name, double v) {
    std::snprintf(line, sizeof line, "%s : %g\n", name, v);
    log_(line);
  };
  intLine("SLU_IPAR_PRINT_LEVEL", printLevel_);
  intLine("SLU_IPAR_MAX_UPDATES", maxUpdates_);
  intLine("SLU_IPAR_NUM_CANDITS", numCandidates_);
  intLine("SLU_IPAR_USE_PIVCOL", usePivcol_);
  intLine("SLU_IPAR_MEM_EXP", memExp_);
  intLine("SLU_IPAR_UPDATE_TYPE", updateType_);
  intLine("SLU_IPAR_ISDEBUG", isDebug_);
  dblLine("SLU_DPAR_INI_RCOND", iniRcond_);
  dblLine("SLU_DPAR_EPS_NONZ", epsNonz_);
  dblLine("SLU_DPAR_EPS_DIAG", epsDiag_);
  dblLine("SLU_DPAR_EPS_PIVREL", epsPivRel_);
  dblLine("SLU_DPAR_EPS_PIVABS", epsPivAbs_);
  dblLine("SLU_DPAR_SPVTOL_UPDATE", spvtolUpdate_);
  dblLine("SLU_DPAR_SPVTOL_FTRAN", spvtolFtran_);
  dblLine("SLU_DPAR_SPVTOL_BTRAN", spvtolBtran_);
}

int luSetIntOption(LuKernel* kernel, int id, int value) {
  return kernel ? kernel->setIntOption(id, value) : kLuErrNullKernel;
}
int luSetDoubleOption(LuKernel* kernel, int id, double value) {
  return kernel ? kernel->setDoubleOption(id, value) : kLuErrNullKernel;
}
int luGetIntOption(const LuKernel* kernel, int id, int* value) {
  return kernel ? kernel->getIntOption(id, value) : kLuErrNullKernel;
}
int luGetDoubleOption(const LuKernel* kernel, int id, double* value) {
  return kernel ? kernel->getDoubleOption(id, value) : kLuErrNullKernel;
}

// ---------------------------------------------------------------- hash

namespace {

// Marking the indices in a bit set over their range and reading it in order
// beats sorting them while the range stays within this multiple of their
// number (a pass over range / 64 words against m log m comparisons).
constexpr long long kBitSetRangeFactor = 64;

// The indices in increasing order, repeats kept.
std::vector<int> sortedIndices(std::span<const int> basic) {
  std::vector<int> sorted;
  if (basic.empty()) return sorted;
  const auto [lo, hi] = std::minmax_element(basic.begin(), basic.end());
  const long long range = static_cast<long long>(*hi) - *lo + 1;
  const auto sortAll = [&]() {
    sorted.assign(basic.begin(), basic.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
  };
  if (range > kBitSetRangeFactor * static_cast<long long>(basic.size())) return sortAll();
  std::vector<std::uint64_t> bits(static_cast<size_t>((range + 63) / 64), 0);
  for (int v : basic) {
    const auto k = static_cast<std::uint64_t>(static_cast<long long>(v) - *lo);
    const std::uint64_t bit = std::uint64_t{1} << (k & 63);
    if (bits[k >> 6] & bit) return sortAll();  // a repeat (not a basis)
    bits[k >> 6] |= bit;
  }
  sorted.reserve(basic.size());
  for (size_t w = 0; w < bits.size(); ++w)
    for (std::uint64_t word = bits[w]; word != 0; word &= word - 1)
      sorted.push_back(static_cast<int>(*lo + static_cast<long long>(64 * w) + std::countr_zero(word)));
  return sorted;
}

}  // namespace

std::uint64_t LuKernel::basisHash(std::span<const int> basic) {
  const std::vector<int> sorted = sortedIndices(basic);
  // FNV-1a over the bytes of the sorted indices.
  constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
  constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;
  std::uint64_t h = kFnvOffset;
  for (int v : sorted) {
    auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b) {
      h ^= (u >> (8 * b)) & 0xffU;
      h *= kFnvPrime;
    }
  }
  return h;
}

}  // namespace torva
