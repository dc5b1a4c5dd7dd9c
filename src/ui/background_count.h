// Counts a project's Send and Load away from the window's thread, so that
// selecting a project never waits for its folders. The count has a
// platform of its own, made on its thread, and hands its result back
// through the window host; a newer count, or a call-off, makes an older
// one end early and its result never arrive.
#ifndef PELLMAR_UI_BACKGROUND_COUNT_H_
#define PELLMAR_UI_BACKGROUND_COUNT_H_

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/messages.h"
#include "platform/platform.h"
#include "ui/dialogs.h"
#include "ui/project_status.h"

namespace pellmar {

/// Makes the platform a count runs on: one per count thread, so that no
/// platform object is ever used from two threads.
using PlatformMaker = std::function<std::unique_ptr<Platform>()>;

class BackgroundCount {
 public:
  /// Runs on the window's thread with the count of the request last given.
  using Done = std::function<void(const StatusRequest&, const ProjectStatus&)>;

  BackgroundCount(PlatformMaker make_platform, WindowHost& host);
  /// Calls off the count under way and waits for its thread to end.
  ~BackgroundCount();
  BackgroundCount(const BackgroundCount&) = delete;
  BackgroundCount& operator=(const BackgroundCount&) = delete;

  /// Counts `request`; `done` runs once it is counted, unless another
  /// Start or a CallOff comes first. Returns at once.
  void Start(StatusRequest request, const MessageTable& messages, Done done);
  /// The count under way, if any, ends early and delivers nothing.
  void CallOff();

 private:
  struct Job {
    uint64_t generation;
    StatusRequest request;
    MessageTable messages;
    Done done;
  };
  // What a delivery looks at on the window's thread: gone with this object.
  struct Token {
    std::atomic<uint64_t> generation{0};
  };

  void Work();

  PlatformMaker make_platform_;
  WindowHost& host_;
  std::shared_ptr<Token> token_ = std::make_shared<Token>();
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> next_;  // under mutex_
  bool quit_ = false;        // under mutex_
  std::thread thread_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_BACKGROUND_COUNT_H_
