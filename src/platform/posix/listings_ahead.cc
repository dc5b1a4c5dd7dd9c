// The helper lists one folder at a time, from the front of its queue; the
// walk takes a listing when it enters the folder, and makes any it does not
// find ready itself. Both open a folder only through the descriptor of the
// folder that holds it, which stays open until that folder is forgotten.
#include "platform/posix/listings_ahead.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "platform/posix/held_signals.h"
#include "platform/posix/host_files.h"
#include "platform/posix/posix_folder.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {
namespace {

// Listings made and not taken yet: enough to keep the helper some folders
// ahead while the walk is busy with its memory of the last run or has lost
// its core for a while, few enough (in folders and in entries, about
// 0.4 MB) that the walk never holds much it may not use. A walk that
// copies spends far longer on a folder than the helper: a few listings
// ready are then as good as many, and the memory goes to its records.
constexpr size_t kMostReady = 128;
constexpr size_t kMostReadyEntries = 4096;
constexpr size_t kMostReadyEntriesCopying = 512;
// A folder being listed by the helper when the walk wants it is usually
// done within this; after it the walk lists the folder itself.
constexpr auto kLongestWait = std::chrono::microseconds(300);
// A listing older than this is not used: the walk decides on what the
// folder holds now, not on what it held a while ago.
constexpr auto kFreshFor = std::chrono::milliseconds(500);

bool HasSpareCore() {
  cpu_set_t allowed;
  return sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 1;
}

// Opens the folder `name` of `parent_fd` as the walk would (no link, no
// other file system) and lists it. False when it cannot be had that way.
bool ListChild(int parent_fd, const std::string& parent_host, uint64_t volume,
               const std::string& name, FileIdentity* identity, int64_t* changed_ns,
               FolderListing* listing) {
  const ScopedFd fd(
      openat(parent_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  FolderLook look;
  if (!fd.valid() || !LookAtOpenFolder(fd.get(), &look)) return false;
  if (look.mount_root || look.identity.volume != volume) return false;
  *identity = look.identity;
  *changed_ns = look.changed_ns;
  *listing =
      ListOpenHostFolder(fd.get(), HostChildPath(parent_host, name), "*", EntryLooks::kAlone);
  return true;
}

}  // namespace

ListingsAhead::~ListingsAhead() {
  if (!started_.value_or(false)) return;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  queued_.notify_all();
  helper_.join();
}

bool ListingsAhead::Started() {
  if (started_) return *started_;
  started_ = false;
  if (!HasSpareCore()) return false;
  try {
    // Signals stay the main thread's, as for every thread of this program.
    helper_ = ThreadWithoutSignals([this] { Serve(); });
    started_ = true;
  } catch (const std::system_error&) {
    // No thread to be had: the walk lists every folder itself.
  }
  return *started_;
}

void ListingsAhead::Queue(const std::vector<Parent>& parents,
                          const std::vector<std::string>& names) {
  if (names.empty() || parents.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (!Started()) return;
  walk_cpu_ = sched_getcpu();
  std::vector<std::shared_ptr<const Parent>> shared;
  for (const Parent& parent : parents) shared.push_back(std::make_shared<const Parent>(parent));
  std::vector<Job> jobs;
  jobs.reserve(names.size() * parents.size());
  for (const std::string& name : names) {
    for (const auto& parent : shared) jobs.push_back(Job{parent, name});
  }
  jobs_.insert(jobs_.begin(), std::make_move_iterator(jobs.begin()),
               std::make_move_iterator(jobs.end()));
  queued_.notify_one();
}

std::optional<FolderListing> ListingsAhead::Take(const void* parent, const std::string& name,
                                                 const FileIdentity& identity, int64_t changed_ns) {
  std::unique_lock<std::mutex> lock(mutex_);
  walk_cpu_ = sched_getcpu();
  const auto now = std::chrono::steady_clock::now();
  const auto deadline = now + kLongestWait;
  while (true) {
    const auto ready = std::find_if(ready_.begin(), ready_.end(), [&](const Ready& r) {
      return r.parent == parent && r.name == name;
    });
    if (ready != ready_.end()) {
      Ready taken = Remove(ready);
      queued_.notify_one();  // room for one more
      const bool fit = taken.identity == identity && taken.changed_ns == changed_ns &&
                       std::chrono::steady_clock::now() - taken.made < kFreshFor;
      if (!fit) return std::nullopt;
      return std::move(taken.listing);
    }
    const auto job = std::find_if(jobs_.begin(), jobs_.end(),
                                  [&](const Job& j) { return Matches(parent, name, j); });
    if (job != jobs_.end()) {
      jobs_.erase(job);
      return std::nullopt;
    }
    const auto running = [&] {
      return std::find_if(running_.begin(), running_.end(),
                          [&](const Running& r) { return r.parent == parent && r.name == name; });
    };
    if (running() == running_.end()) return std::nullopt;
    // Being listed now: the next folder in the queue is work the walk
    // needs soon anyway, and better done than waited through.
    if (!jobs_.empty() && HasRoom()) {
      Job next = std::move(jobs_.front());
      jobs_.pop_front();
      Run(std::move(next), lock);
      continue;
    }
    if (made_.wait_until(lock, deadline) == std::cv_status::timeout) {
      // The helper lost its core, most likely to other work: the walk
      // does not wait for it to get it back.
      const auto late = running();
      if (late != running_.end()) late->dropped = true;
      return std::nullopt;
    }
  }
}

bool ListingsAhead::Busy() {
  std::lock_guard<std::mutex> lock(mutex_);
  return !jobs_.empty() || !running_.empty();
}

void ListingsAhead::Forget(const void* parent) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!started_.value_or(false)) return;
  std::erase_if(jobs_, [&](const Job& job) { return job.parent->key == parent; });
  std::erase_if(ready_, [&](const Ready& ready) {
    if (ready.parent != parent) return false;
    ready_entries_ -= ready.listing.entries.size();
    return true;
  });
  made_.wait(lock, [&] {
    return std::none_of(running_.begin(), running_.end(),
                        [&](const Running& r) { return r.parent == parent; });
  });
  // Nothing left of any walk: the next one may not copy.
  if (jobs_.empty() && ready_.empty() && running_.empty()) copying_ = false;
  queued_.notify_one();
}

void ListingsAhead::Serve() {
  cpu_set_t allowed;
  const bool may_move = sched_getaffinity(0, sizeof allowed, &allowed) == 0;
  int kept_off = -1;
  std::unique_lock<std::mutex> lock(mutex_);
  while (true) {
    queued_.wait(lock, [&] { return stop_ || (!jobs_.empty() && HasRoom()); });
    if (stop_) return;
    if (may_move && walk_cpu_ != kept_off) {
      KeepOff(walk_cpu_, allowed);
      kept_off = walk_cpu_;
    }
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    Run(std::move(job), lock);
  }
}

void ListingsAhead::Run(Job job, std::unique_lock<std::mutex>& lock) {
  running_.push_back(Running{job.parent->key, job.name});
  lock.unlock();
  // Fresh from the moment the folder was looked at, not when its listing
  // was done.
  Ready ready{job.parent->key, job.name, {}, 0, std::chrono::steady_clock::now(), {}};
  const bool listed = ListChild(job.parent->fd, job.parent->host, job.parent->volume, job.name,
                                &ready.identity, &ready.changed_ns, &ready.listing);
  lock.lock();
  const auto running = std::find_if(running_.begin(), running_.end(), [&](const Running& r) {
    return r.parent == ready.parent && r.name == ready.name;
  });
  const bool dropped = running->dropped;
  running_.erase(running);
  if (listed && !dropped) Keep(std::move(ready));
  made_.notify_all();
}

bool ListingsAhead::Matches(const void* parent, const std::string& name, const Job& job) const {
  return job.parent->key == parent && job.name == name;
}

// Two threads of one walk on one core, while other work has the other
// one, share a core between them, and the walk takes half again as long as
// with a core each: the helper stays off the core the walk was last seen
// on, and the kernel spreads the rest.
void ListingsAhead::KeepOff(int cpu, const cpu_set_t& allowed) {
  cpu_set_t others = allowed;
  if (cpu >= 0 && cpu < CPU_SETSIZE) CPU_CLR(cpu, &others);
  if (CPU_COUNT(&others) == 0) others = allowed;
  (void)sched_setaffinity(0, sizeof others, &others);
}

bool ListingsAhead::HasRoom() const {
  return ready_.size() < kMostReady &&
         ready_entries_ < (copying_ ? kMostReadyEntriesCopying : kMostReadyEntries);
}

void ListingsAhead::NoteCopying() {
  std::lock_guard<std::mutex> lock(mutex_);
  copying_ = true;
}

void ListingsAhead::Keep(Ready ready) {
  ready_entries_ += ready.listing.entries.size();
  ready_.push_back(std::move(ready));
}

ListingsAhead::Ready ListingsAhead::Remove(std::vector<Ready>::iterator ready) {
  Ready removed = std::move(*ready);
  ready_.erase(ready);
  ready_entries_ -= removed.listing.entries.size();
  return removed;
}

}  // namespace pellmar
