// One thread that counts the latest request, and the hand-back of its
// result to the window's thread.
#include "ui/background_count.h"

#include <utility>

namespace pellmar {

BackgroundCount::BackgroundCount(PlatformMaker make_platform, WindowHost& host)
    : make_platform_(std::move(make_platform)), host_(host) {}

BackgroundCount::~BackgroundCount() {
  CallOff();
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void BackgroundCount::Start(StatusRequest request, const MessageTable& messages, Done done) {
  const uint64_t generation = ++token_->generation;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    next_ = Job{generation, std::move(request), messages, std::move(done)};
  }
  // The thread is made with the first count: a window never selected, or
  // the command line, has none.
  if (!thread_.joinable()) thread_ = std::thread([this] { Work(); });
  wake_.notify_one();
}

void BackgroundCount::CallOff() {
  ++token_->generation;
  const std::lock_guard<std::mutex> lock(mutex_);
  next_.reset();
}

void BackgroundCount::Work() {
  const std::unique_ptr<Platform> platform = make_platform_();
  // Without a platform nothing is counted, and the status bar keeps saying
  // that it counts rather than showing a wrong count.
  if (platform == nullptr) return;
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_);
    wake_.wait(lock, [this] { return quit_ || next_.has_value(); });
    if (quit_) return;
    Job job = std::move(*next_);
    next_.reset();
    lock.unlock();

    const Token& token = *token_;
    const std::function<bool()> stale = [&token, &job] {
      return token.generation.load() != job.generation;
    };
    ProjectStatus status = CountProject(*platform, job.request, job.messages, stale);
    if (stale()) continue;
    // Checked again where it lands: a selection may come between the two.
    host_.Post([weak = std::weak_ptr<Token>(token_), generation = job.generation,
                request = std::move(job.request), status = std::move(status),
                done = std::move(job.done)] {
      const std::shared_ptr<Token> alive = weak.lock();
      if (alive && alive->generation.load() == generation) done(request, status);
    });
  }
}

}  // namespace pellmar
