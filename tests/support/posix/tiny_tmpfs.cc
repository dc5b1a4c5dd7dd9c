// Mounting and unmounting a small tmpfs.
#include "support/tiny_tmpfs.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstring>

namespace pellmar {

TinyTmpfs::TinyTmpfs(const std::string& host_path, size_t bytes) : path_(host_path) {
  const std::string options = "size=" + std::to_string(bytes);
  mounted_ = mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
  if (!mounted_) {
    skip_reason_ = "cannot mount a small tmpfs here (" + std::string(std::strerror(errno)) +
                   "); this needs root in a system that allows mounts";
  }
}

TinyTmpfs::~TinyTmpfs() {
  if (mounted_) umount2(path_.c_str(), MNT_DETACH);
}

}  // namespace pellmar
