// One helper thread, started on the first batch big enough to share and
// kept for the life of the process. Both threads claim the batch a few
// items at a time, so a helper that is slow to wake leaves its part to the
// caller instead of holding it up.
#include "platform/posix/parallel_each.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/posix/free_cores.h"
#include "platform/posix/held_signals.h"

namespace pellmar {
namespace {

// Below this many items the hand-over costs more than the second core saves.
constexpr size_t kSmallestShared = 24;
// Items claimed at a time: few enough to balance, enough to keep the
// shared counter off the hot path.
constexpr size_t kClaim = 8;

// How long the helper stays awake for the next batch before it sleeps. A
// walk asks for the next listing within a few dozen microseconds, and a
// wake-up through the kernel costs about as much as the work it brings.
constexpr auto kStayAwake = std::chrono::microseconds(200);

// A helper that did less than a fifth of a batch was kept off its core;
// the next this many batches are not offered to it.
constexpr size_t kFairPart = 5;
constexpr int kBatchesAtRest = 32;

// How often the caller asks whether the machine has a core to spare.
constexpr auto kLookAtTheMachineEvery = std::chrono::milliseconds(10);

// About a microsecond and a half of pauses: a helper at work finishes its
// claim within that.
constexpr int kSpinsBeforeYield = 64;

void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__)
  asm volatile("yield");
#endif
}

// The caller posts a batch and works on it; the helper joins when it sees
// it. Whether the helper got in before the caller closed the batch is
// settled by a pair of sequentially consistent stores and loads (entered_
// and closed_): either the helper sees the batch closed and stays out, or
// the caller sees the helper inside and waits for it to leave, so the
// batch's fields never change under the helper.
class Helper {
 public:
  static Helper& Get() {
    static Helper helper;
    return helper;
  }

  void Run(size_t count, const std::function<void(size_t)>& work) {
    // One batch at a time; a second caller meanwhile works alone.
    std::unique_lock<std::mutex> caller(callers_, std::try_to_lock);
    if (!started_ || !caller.owns_lock()) return RunAlone(count, work);
    if (resting_ > 0) {
      --resting_;
      return RunAlone(count, work);
    }
    // On a machine busy with other work the two threads wait for each
    // other by sleeping: a thread spinning for the other would take the
    // very core the other one needs.
    patient_.store(!HelperHasACore());
    work_ = &work;
    count_ = count;
    next_.store(0, std::memory_order_relaxed);
    const uint64_t batch = posted_.load(std::memory_order_relaxed) + 1;
    posted_.store(batch);
    if (sleeping_.load()) {
      std::lock_guard<std::mutex> lock(mutex_);
      wake_.notify_one();
    }
    const size_t done_here = Share();
    closed_.store(batch);
    // The helper holds at most one claim, a few items long. On a busy
    // machine it may have lost its core while holding it: spinning on would
    // keep it off the core it needs, so the wait soon gives the core up.
    for (int spins = 0; entered_.load() == batch; ++spins) {
      if (spins < kSpinsBeforeYield) {
        Pause();
      } else if (patient_.load()) {
        AwaitHelpersLeaving(batch);
      } else {
        std::this_thread::yield();
      }
    }
    NoteHelpersPart(count - done_here, count);
  }

  static void RunAlone(size_t count, const std::function<void(size_t)>& work) {
    for (size_t i = 0; i < count; ++i) work(i);
  }

 private:
  Helper() {
    try {
      // Signals are the program's to handle, on its own thread: one that
      // reached the helper could end the program while the main thread
      // holds signals back to finish a replacement.
      thread_ = ThreadWithoutSignals([this] { Serve(); });
      started_ = true;
    } catch (const std::system_error&) {
      // No thread to be had: every batch runs on its caller, as before.
    }
  }

  ~Helper() {
    if (!started_) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
      wake_.notify_one();
    }
    thread_.join();
  }

  // Claims items until the batch has none left; returns how many it did.
  size_t Share() {
    size_t done = 0;
    while (true) {
      const size_t begin = next_.fetch_add(kClaim, std::memory_order_relaxed);
      if (begin >= count_) return done;
      const size_t end = std::min(begin + kClaim, count_);
      for (size_t i = begin; i < end; ++i) (*work_)(i);
      done += end - begin;
    }
  }

  // A helper that got only a small part of a batch had no core to run on:
  // the machine is busy with other work. Waking it and waiting for it then
  // costs the caller more than it brings, so the next batches run alone
  // and the helper sleeps, leaving the core to the work that has it.
  void NoteHelpersPart(size_t helpers, size_t count) {
    if (helpers * kFairPart < count) resting_ = kBatchesAtRest;
  }

  // Whether another thread of this process would have a core to itself,
  // asked of the kernel now and then: the machine's load changes slowly
  // next to a batch, which takes a fraction of a millisecond.
  bool HelperHasACore() {
    const auto now = std::chrono::steady_clock::now();
    if (now < next_look_) return has_core_;
    next_look_ = now + kLookAtTheMachineEvery;
    // The caller runs, and so does the helper while it waits awake.
    has_core_ = CoreToSpareNow(sleeping_.load() ? 1 : 2);
    return has_core_;
  }

  void Serve() {
    uint64_t seen = 0;
    while (WaitForBatch(seen)) {
      seen = posted_.load();
      entered_.store(seen);
      // Batches are closed in order: one after `seen` may be under way
      // already, and it is not this helper's to join.
      if (closed_.load() < seen) Share();
      LeaveBatch();
    }
  }

  // Sleeps until the helper has left `batch`. Whether the helper sees the
  // caller waiting or the caller sees the helper gone is settled as for a
  // batch's closing, so the wake-up cannot be missed.
  void AwaitHelpersLeaving(uint64_t batch) {
    std::unique_lock<std::mutex> lock(mutex_);
    caller_waiting_.store(true);
    left_.wait(lock, [&] { return entered_.load() != batch; });
    caller_waiting_.store(false);
  }

  void LeaveBatch() {
    entered_.store(0);
    if (caller_waiting_.load()) {
      std::lock_guard<std::mutex> lock(mutex_);
      left_.notify_one();
    }
  }

  // True when a batch after `seen` is posted, false when the program ends.
  bool WaitForBatch(uint64_t seen) {
    const auto awake = patient_.load() ? std::chrono::microseconds(0) : kStayAwake;
    const auto until = std::chrono::steady_clock::now() + awake;
    for (int spins = 1; posted_.load() == seen; ++spins) {
      Pause();
      if (spins % 64 == 0 && std::chrono::steady_clock::now() > until) break;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    sleeping_.store(true);
    wake_.wait(lock, [&] { return stop_ || posted_.load() != seen; });
    sleeping_.store(false);
    return !stop_;
  }

  std::mutex callers_;
  int resting_ = 0;  // batches still to run alone, guarded by callers_
  // When the machine is looked at next, and whether it had a core to spare;
  // guarded by callers_.
  std::chrono::steady_clock::time_point next_look_;
  bool has_core_ = true;
  // The batch, written by the caller while no helper can be inside.
  const std::function<void(size_t)>* work_ = nullptr;
  size_t count_ = 0;
  std::atomic<size_t> next_{0};
  std::atomic<uint64_t> posted_{0};
  std::atomic<uint64_t> closed_{0};
  std::atomic<uint64_t> entered_{0};
  std::atomic<bool> patient_{false};
  std::atomic<bool> caller_waiting_{false};
  // Sleeping and waking.
  std::atomic<bool> sleeping_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable left_;
  bool stop_ = false;
  bool started_ = false;
  std::thread thread_;
};

}  // namespace

void ParallelEach(size_t count, const std::function<void(size_t)>& work) {
  if (count < kSmallestShared) return Helper::RunAlone(count, work);
  Helper::Get().Run(count, work);
}

}  // namespace pellmar
