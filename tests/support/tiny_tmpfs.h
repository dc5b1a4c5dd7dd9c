// A small tmpfs mounted for one test, for the faults of a full disk and of
// sizes beyond 32 bits. Mounting needs root where mounts are allowed; the
// tests that need it skip with the reason otherwise.
#ifndef PELLMAR_TESTS_SUPPORT_TINY_TMPFS_H_
#define PELLMAR_TESTS_SUPPORT_TINY_TMPFS_H_

#include <cstddef>
#include <string>

namespace pellmar {

/// Mounts a tmpfs of `bytes` on the existing folder `host_path`; unmounted
/// when the object goes.
class TinyTmpfs {
 public:
  TinyTmpfs(const std::string& host_path, size_t bytes);
  ~TinyTmpfs();
  bool mounted() const { return mounted_; }
  const std::string& skip_reason() const { return skip_reason_; }

 private:
  std::string path_;
  bool mounted_ = false;
  std::string skip_reason_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_TINY_TMPFS_H_
