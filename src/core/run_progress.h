// How far a run has got, shown while it goes: a fraction of the work and
// "N of M files, X of Y MB, about T left".
//
// The work of a file is its bytes plus a fixed cost for the file itself, so
// a tree of many small files is not taken for almost no work.
#ifndef PELLMAR_CORE_RUN_PROGRESS_H_
#define PELLMAR_CORE_RUN_PROGRESS_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/run_observer.h"
#include "core/sync_window.h"

namespace pellmar {

/// Where a run stands: done against planned, and the time it has taken.
struct ProgressState {
  int64_t files_done = 0;
  int64_t files = 0;
  int64_t bytes_done = 0;
  int64_t bytes = 0;
  int64_t elapsed_ms = 0;
};

/// The work done, in thousandths, 0 to 1000.
int ProgressPermille(const ProgressState& state);
/// The seconds the rest will take at the pace so far; nullopt while the
/// run is too young to tell.
std::optional<int64_t> SecondsLeft(const ProgressState& state);
/// "N of M files, X of Y MB", and ", about T left" once it can be told, in
/// the texts of `texts`.
std::string ProgressText(const ProgressState& state, const SyncWindow& texts);

/// Milliseconds of a clock that never goes back.
int64_t SteadyMilliseconds();

/// Counts the copies of a run against its plan and shows the progress, at
/// most ten times a second.
class RunProgress : public RunObserver {
 public:
  using Clock = std::function<int64_t()>;

  RunProgress(SyncWindow& window, int64_t files, int64_t bytes, Clock clock = SteadyMilliseconds);
  /// Shows the progress now, whatever the time since it was last shown.
  void Show();
  void Done(Act, const std::string&, int64_t) override {}
  void CopyEnded(int64_t size) override;
  ProgressState state() const;

 private:
  static constexpr int64_t kShowEveryMs = 100;

  SyncWindow& window_;
  Clock clock_;
  ProgressState state_;
  int64_t started_ms_;
  int64_t shown_ms_ = 0;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_PROGRESS_H_
