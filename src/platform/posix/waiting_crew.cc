// A few threads, started on the first batch and kept for the life of the
// process, that share batches of calls each of which waits for a driver's
// answer. They sleep between batches: the wake-up costs far less than one
// of the answers they wait for.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/posix/held_signals.h"
#include "platform/posix/parallel_each.h"

namespace pellmar {
namespace {

// The caller and three helpers. Measured against exfat-fuse, four threads
// asking at once take a fifth of the time one takes; more bring little.
constexpr int kHelpers = 3;
// Below this many calls the wake-ups are not worth it.
constexpr size_t kSmallestShared = 4;

class WaitingCrew {
 public:
  static WaitingCrew& Get() {
    static WaitingCrew crew;
    return crew;
  }

  void Run(size_t count, const std::function<void(size_t)>& work) {
    // One batch at a time; a second caller meanwhile works alone.
    std::unique_lock<std::mutex> caller(callers_, std::try_to_lock);
    if (helpers_.empty() || !caller.owns_lock()) {
      for (size_t i = 0; i < count; ++i) work(i);
      return;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      work_ = &work;
      count_ = count;
      next_.store(0);
      ++batch_;
      open_ = true;
    }
    wake_.notify_all();
    Share();
    // Every call is claimed now. A helper enters only while the batch is
    // open, so once it is closed and no helper is inside, every claimed
    // call has returned and the batch's fields are the caller's again.
    std::unique_lock<std::mutex> lock(mutex_);
    open_ = false;
    left_.wait(lock, [&] { return inside_ == 0; });
  }

 private:
  WaitingCrew() {
    for (int i = 0; i < kHelpers; ++i) {
      try {
        // Signals stay the main thread's, as for every thread here.
        helpers_.push_back(ThreadWithoutSignals([this] { Serve(); }));
      } catch (const std::system_error&) {
        break;  // fewer helpers, or none: the caller does the rest
      }
    }
  }

  ~WaitingCrew() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
  }

  void Share() {
    for (size_t i = next_.fetch_add(1); i < count_; i = next_.fetch_add(1)) (*work_)(i);
  }

  void Serve() {
    uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
      wake_.wait(lock, [&] { return stop_ || (open_ && batch_ != seen); });
      if (stop_) return;
      seen = batch_;
      ++inside_;
      lock.unlock();
      Share();
      lock.lock();
      if (--inside_ == 0) left_.notify_one();
    }
  }

  std::mutex callers_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable left_;
  // The batch, guarded by mutex_ except for the claims on next_.
  const std::function<void(size_t)>* work_ = nullptr;
  size_t count_ = 0;
  std::atomic<size_t> next_{0};
  uint64_t batch_ = 0;
  bool open_ = false;
  int inside_ = 0;
  bool stop_ = false;
  std::vector<std::thread> helpers_;
};

}  // namespace

void ParallelWaits(size_t count, const std::function<void(size_t)>& work) {
  if (count < kSmallestShared) {
    for (size_t i = 0; i < count; ++i) work(i);
    return;
  }
  WaitingCrew::Get().Run(count, work);
}

}  // namespace pellmar
