// A second listing thread pays only where it has a core of its own: on a
// machine kept busy by other work it takes time from the first thread, and
// the walk, which waits for both, gets slower than one thread alone.
#include "platform/posix/free_cores.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <charconv>

#include "platform/posix/scoped_fd.h"

namespace pellmar {

bool CoreToSpare(std::string_view loadavg, int own, int cores) {
  // The fourth field: runnable threads, a slash, all threads.
  size_t at = 0;
  for (int field = 0; field < 3; ++field) {
    at = loadavg.find(' ', at);
    if (at == std::string_view::npos) return true;
    ++at;
  }
  int running = 0;
  const char* end = loadavg.data() + loadavg.size();
  const auto [rest, error] = std::from_chars(loadavg.data() + at, end, running);
  if (error != std::errc() || rest == end || *rest != '/') return true;
  return running - own < cores - 1;
}

bool CoreToSpareNow(int own) {
  cpu_set_t allowed;
  const int cores = sched_getaffinity(0, sizeof allowed, &allowed) == 0 ? CPU_COUNT(&allowed) : 1;
  if (cores < 2) return false;
  const ScopedFd file(open("/proc/loadavg", O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return true;
  char text[128];
  const ssize_t got = read(file.get(), text, sizeof text);
  if (got <= 0) return true;
  return CoreToSpare(std::string_view(text, static_cast<size_t>(got)), own, cores);
}

}  // namespace pellmar
