// The progress of a run: its fraction, its time left and its text.
#include "core/run_progress.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "core/free_space_text.h"
#include "core/messages.h"

namespace pellmar {

namespace {

// What opening, naming and closing one file costs, as bytes written: a
// removable disk spends about as long on each file as on 64 KB of data.
constexpr int64_t kBytesPerFile = 64 * 1024;
// An estimate from the first moments of a run says little.
constexpr int64_t kMsBeforeEstimate = 1000;

int64_t Work(int64_t files, int64_t bytes) { return bytes + files * kBytesPerFile; }

int64_t WorkDone(const ProgressState& s) { return Work(s.files_done, s.bytes_done); }

// More may be copied than was planned (a file saved meanwhile): the total
// is never less than what is done.
int64_t WorkInAll(const ProgressState& s) { return std::max(Work(s.files, s.bytes), WorkDone(s)); }

std::string TimeText(int64_t seconds, const SyncWindow& texts) {
  if (seconds < 60) return FillIn(texts.Message(kSeconds), {std::to_string(seconds)});
  const int64_t minutes = (seconds + 59) / 60;
  if (minutes < 60) return FillIn(texts.Message(kMinutes), {std::to_string(minutes)});
  return FillIn(texts.Message(kHoursMinutes),
                {std::to_string(minutes / 60), std::to_string(minutes % 60)});
}

}  // namespace

int ProgressPermille(const ProgressState& state) {
  const int64_t all = WorkInAll(state);
  if (all == 0) return 1000;
  return static_cast<int>(WorkDone(state) * 1000 / all);
}

std::optional<int64_t> SecondsLeft(const ProgressState& state) {
  const int64_t done = WorkDone(state);
  if (state.elapsed_ms < kMsBeforeEstimate || done == 0) return std::nullopt;
  const double left = static_cast<double>(WorkInAll(state) - done);
  const double ms = static_cast<double>(state.elapsed_ms) * left / static_cast<double>(done);
  return static_cast<int64_t>(ms / 1000.0 + 0.999);
}

std::string ProgressText(const ProgressState& state, const SyncWindow& texts) {
  const int64_t files = std::max(state.files, state.files_done);
  const int64_t bytes = std::max(state.bytes, state.bytes_done);
  std::string text = FillIn(texts.Message(kProgressCounts),
                            {std::to_string(state.files_done), std::to_string(files),
                             MegabytesText(state.bytes_done), MegabytesText(bytes)});
  if (const std::optional<int64_t> left = SecondsLeft(state)) {
    text += FillIn(texts.Message(kTimeLeft), {TimeText(*left, texts)});
  }
  return text;
}

int64_t SteadyMilliseconds() {
  using std::chrono::milliseconds;
  return std::chrono::duration_cast<milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

RunProgress::RunProgress(SyncWindow& window, int64_t files, int64_t bytes, Clock clock)
    : window_(window), clock_(std::move(clock)), started_ms_(clock_()) {
  state_.files = files;
  state_.bytes = bytes;
}

ProgressState RunProgress::state() const {
  ProgressState now = state_;
  now.elapsed_ms = clock_() - started_ms_;
  return now;
}

void RunProgress::Show() {
  const ProgressState now = state();
  shown_ms_ = started_ms_ + now.elapsed_ms;
  window_.ShowProgress(ProgressPermille(now), ProgressText(now, window_));
}

void RunProgress::CopyEnded(int64_t size) {
  ++state_.files_done;
  state_.bytes_done += size;
  // Drawing the bar for every one of many small files would slow the run.
  if (clock_() - shown_ms_ >= kShowEveryMs || state_.files_done == state_.files) Show();
}

}  // namespace pellmar
