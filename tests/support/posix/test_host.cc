// The contract's host services the POSIX way.
#include "support/test_host.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace pellmar {
namespace {

std::string Why(bool done) { return done ? "" : std::strerror(errno); }

class PosixTestHost : public TestHost {
 public:
  const char* name() const override { return "Posix"; }
  std::string MakeLink(const std::string& link, const std::string& target, bool) const override {
    return Why(symlink(target.c_str(), link.c_str()) == 0);
  }
  std::string MakeFifo(const std::string& path) const override {
    return Why(mkfifo(path.c_str(), 0644) == 0);
  }
  void MakeReadOnly(const std::string& path) const override { SetMode(path, 0444); }
  std::shared_ptr<void> HoldAsLiveCopy(const std::string& path) const override {
    // A copy under way holds an exclusive lock on its scratch file.
    auto fd = std::shared_ptr<int>(new int(open(path.c_str(), O_RDONLY)), [](int* held) {
      if (*held >= 0) close(*held);
      delete held;
    });
    if (*fd < 0 || flock(*fd, LOCK_EX) != 0) return nullptr;
    return fd;
  }
  std::optional<unsigned> Mode(const std::string& path) const override {
    struct stat info = {};
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return info.st_mode & 07777;
  }
  void SetMode(const std::string& path, unsigned mode) const override { chmod(path.c_str(), mode); }
  unsigned AnsiCodePage() const override { return 65001; }
  std::shared_ptr<void> UseZoneFarFromUtc() const override {
    const char* old = std::getenv("TZ");
    auto saved = std::make_shared<std::string>(old ? old : "");
    setenv("TZ", "XST+03:30", 1);
    tzset();
    return std::shared_ptr<void>(saved.get(), [saved, was_set = old != nullptr](void*) {
      was_set ? setenv("TZ", saved->c_str(), 1) : unsetenv("TZ");
      tzset();
    });
  }
  std::string TrashedFiles(const TestNamespace& ns) const override {
    return ns.home() + "/.local/share/Trash/files";
  }
};

}  // namespace

const TestHost& ThisTestHost() {
  static const PosixTestHost host;
  return host;
}

}  // namespace pellmar
