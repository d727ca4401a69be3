// The optimiser's resident work area as the model store sees it.
//
// After a solve the simplex keeps its basis, factorisation and scaled data
// with the model so that the next solve starts warm. The store does not know
// what the work area holds: it only tells it about value changes, and the
// work area either absorbs a change (writes it into its own scaled copy) or
// answers false, in which case the model drops the work area and the next
// solve starts cold. Structural changes (rows or columns added or deleted,
// matrix entries changed, a new objective constant or sense) always drop it.
#pragma once

namespace torva {

class WorkArea {
 public:
  virtual ~WorkArea() = default;

  // New bounds of column j (already clamped to +-1e30 by the store).
  virtual bool absorbColumnBounds(int j, double lower, double upper) = 0;
  // New objective coefficient of column j, in the model's own sense.
  virtual bool absorbCost(int j, double cost) = 0;
  // New type ('L', 'E', 'G', 'N') and right-hand side of row i.
  virtual bool absorbRow(int i, char type, double rhs) = 0;

  // Dimensions the work area was built for; a model whose dimensions differ
  // must not use it.
  virtual int rows() const = 0;
  virtual int cols() const = 0;
};

}  // namespace torva
