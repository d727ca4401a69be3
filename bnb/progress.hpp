// The progress log of a run: one row per event (a batch of nodes, a new
// incumbent, the end of the root), a header every 25 rows, the counters
// published to the result record and the progress callback at location
// QXLOC_MIP.
#pragma once

#include "base/model.hpp"
#include "bnb/context.hpp"

namespace torva::bnb {

enum class RowKind { Search, NewIncumbent, CutPass };

// The cut families with their root and tree switches (MIP print level 5 and
// up).
void logCutTypeTable(Model& model);

class ProgressLog {
 public:
  ProgressLog(Model& model, BnbContext& ctx) : model_(model), ctx_(ctx) {}
  // One event: publishes the counters, calls the progress callback (forced
  // after a new incumbent) and writes the row. foundBy is the FoundBy code
  // of a new incumbent, or the number of cuts added by a cut pass.
  void event(RowKind kind, int foundBy = 0);
  // Whether a search row is due (at most one per second of wall time).
  bool due() const;
  // Between rows: the host's progress callback at its own frequency.
  void poll();
  // Writes the counters to the model's integer record.
  void publish();
  // The cuts added by family, at the end of a run (print level 2 and up).
  void cutStatistics();

 private:
  Model& model_;
  BnbContext& ctx_;
  int logCalls_ = 0;
  Clock::time_point lastRow_ = Clock::now();
};

}  // namespace torva::bnb
