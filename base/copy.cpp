#include "base/copy.hpp"

namespace torva {

int replayModel(const Model& source, Model& target) {
  target.data.objSense = source.data.objSense;
  return 0;
}

}  // namespace torva
