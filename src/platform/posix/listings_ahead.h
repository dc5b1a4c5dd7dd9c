// Listings of the folders a walk is about to enter, made on a second thread
// while the walk is busy with the folder it is in. Looking at a tree is
// almost all kernel time, one call per entry; with the listings of the next
// folders made beside it, the walk finds most of them ready, and no thread
// ever waits for the other: what the helper has not made yet, the walk
// makes itself. On a machine busy with other work the helper gets what time
// it can and the walk loses nothing by it.
#ifndef PELLMAR_PLATFORM_POSIX_LISTINGS_AHEAD_H_
#define PELLMAR_PLATFORM_POSIX_LISTINGS_AHEAD_H_

#include <sched.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

class ListingsAhead {
 public:
  ListingsAhead() = default;
  ~ListingsAhead();
  ListingsAhead(const ListingsAhead&) = delete;
  ListingsAhead& operator=(const ListingsAhead&) = delete;

  /// An open folder whose folders are listed ahead.
  struct Parent {
    const void* key;  // what the folders opened in it name as their parent
    int fd;           // open until the parent is forgotten
    std::string host;
    uint64_t volume;
  };

  /// Lists the folders `names` of each of `parents` ahead, name by name in
  /// that order, and before anything queued earlier: a walk goes deep
  /// first. Folders that are links or other file systems are left out.
  /// Nothing is queued on a machine with a single core.
  void Queue(const std::vector<Parent>& parents, const std::vector<std::string>& names);

  /// The listing of the folder `name` of `parent`, made ahead, when the
  /// folder the caller has opened there is the one listed (`identity`) and
  /// no entry has come, gone or been renamed in it since (`changed_ns`, its
  /// status-change time). nullopt when there is none fit to use: the caller
  /// lists the folder itself, and the helper no longer will.
  std::optional<FolderListing> Take(const void* parent, const std::string& name,
                                    const FileIdentity& identity, int64_t changed_ns);

  /// True while folders are queued or being listed ahead: the helper then
  /// has a core of its own at work.
  bool Busy();

  /// Says that the walk copies files: it holds fewer listings ready.
  void NoteCopying();

  /// Drops whatever was queued from `parent` and waits while any of its
  /// folders is still being listed: called before its descriptor closes.
  void Forget(const void* parent);

 private:
  struct Job {
    std::shared_ptr<const Parent> parent;
    std::string name;
  };
  struct Ready {
    const void* parent;
    std::string name;
    FileIdentity identity;
    int64_t changed_ns = 0;
    std::chrono::steady_clock::time_point made;
    FolderListing listing;
  };
  struct Running {
    const void* parent;
    std::string name;
    bool dropped = false;  // the walk listed it itself meanwhile
  };

  bool Started();
  void Serve();
  // Lists the job's folder and, unless it was dropped meanwhile, keeps the
  // listing. Called with `lock` held; unlocks it while listing.
  void Run(Job job, std::unique_lock<std::mutex>& lock);
  bool Matches(const void* parent, const std::string& name, const Job& job) const;
  bool HasRoom() const;
  static void KeepOff(int cpu, const cpu_set_t& allowed);
  void Keep(Ready ready);
  Ready Remove(std::vector<Ready>::iterator ready);

  std::mutex mutex_;
  std::condition_variable queued_;  // a job, room for a listing, or the end
  std::condition_variable made_;    // a listing made or dropped
  std::deque<Job> jobs_;
  std::vector<Running> running_;
  std::vector<Ready> ready_;
  size_t ready_entries_ = 0;  // in all of ready_'s listings
  bool copying_ = false;
  int walk_cpu_ = -1;  // where the walk's thread last asked from
  bool stop_ = false;
  std::optional<bool> started_;
  std::thread helper_;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_LISTINGS_AHEAD_H_
