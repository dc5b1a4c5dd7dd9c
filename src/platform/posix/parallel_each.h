// Shares a batch of independent system calls (the stats of a folder's
// entries) between the calling thread and one helper thread. Looking at a
// big tree is almost all kernel time, one call per entry, and a second core
// halves it. The caller gets back only when every item is done, so nothing
// of the walk's order or its decisions ever runs on another thread.
#ifndef PELLMAR_PLATFORM_POSIX_PARALLEL_EACH_H_
#define PELLMAR_PLATFORM_POSIX_PARALLEL_EACH_H_

#include <cstddef>
#include <functional>

namespace pellmar {

/// Calls `work(i)` once for each i in [0, count), possibly on two threads
/// at once, and returns when all calls have returned. `work` must touch
/// nothing but what belongs to its i. A small batch runs on the calling
/// thread alone, where a hand-over would cost more than it saves.
void ParallelEach(size_t count, const std::function<void(size_t)>& work);

/// Calls `work(i)` once for each i in [0, count) on up to four threads at
/// once, and returns when all calls have returned. For calls that mostly
/// wait on a driver in user space (FUSE), which answers one question at a
/// time: a thread that waits costs no core, and the driver finds the next
/// question queued as soon as it has answered one, instead of waiting for
/// this program to ask it. `work` must touch nothing but what belongs to
/// its i.
void ParallelWaits(size_t count, const std::function<void(size_t)>& work);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_PARALLEL_EACH_H_
