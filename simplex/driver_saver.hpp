// Saving and restoring the parameters a solve changes for itself.
//
// Every slot starts at kNotChanged (-99, "not changed"); the first change
// of a parameter saves its old value there, and the destructor writes every
// saved value back, so the host reads its own settings again on every exit
// path of the solve, errors and exceptions included.
#pragma once

#include <optional>
#include <vector>

#include "base/params.hpp"

namespace torva {

inline constexpr int kNotChanged = -99;

class ParamSaver {
 public:
  explicit ParamSaver(ParamSet& params) : params_(params) {}
  ~ParamSaver() { restoreAll(); }
  ParamSaver(const ParamSaver&) = delete;
  ParamSaver& operator=(const ParamSaver&) = delete;

  // Changes an int (double) parameter for the duration of the saver.
  void setInt(int id, int value) {
    IntSlot& slot = intSlot(id);
    if (slot.saved == kNotChanged) slot.saved = params_.intValue(id);
    params_.storeInt(id, value);
  }
  void setDou(int id, double value) {
    DouSlot& slot = douSlot(id);
    if (!slot.saved) slot.saved = params_.douValue(id);
    params_.storeDou(id, value);
  }

  // Writes back every saved value and empties the slots.
  void restoreAll() noexcept {
    for (IntSlot& s : ints_)
      if (s.saved != kNotChanged) {
        params_.storeInt(s.id, s.saved);
        s.saved = kNotChanged;
      }
    for (DouSlot& s : dous_)
      if (s.saved) {
        params_.storeDou(s.id, *s.saved);
        s.saved.reset();
      }
  }

 private:
  struct IntSlot {
    int id;
    int saved = kNotChanged;
  };
  struct DouSlot {
    int id;
    std::optional<double> saved;
  };

  IntSlot& intSlot(int id) {
    for (IntSlot& s : ints_)
      if (s.id == id) return s;
    return ints_.emplace_back(IntSlot{id});
  }
  DouSlot& douSlot(int id) {
    for (DouSlot& s : dous_)
      if (s.id == id) return s;
    return dous_.emplace_back(DouSlot{id, std::nullopt});
  }

  ParamSet& params_;
  std::vector<IntSlot> ints_;
  std::vector<DouSlot> dous_;
};

}  // namespace torva
