// Test helpers: a temporary folder tree removed afterwards, small host file
// operations, and a platform whose namespace points into the tree.
#ifndef PELLMAR_TESTS_PLATFORM_TEMP_TREE_UTIL_H_
#define PELLMAR_TESTS_PLATFORM_TEMP_TREE_UTIL_H_

#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/posix/host_settings.h"

namespace pellmar::testing {

/// A fresh folder under the system's temp folder, removed with everything
/// in it (links are removed, never followed) when the object goes.
class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::string& path() const { return path_; }
  /// path() + "/" + relative.
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

void WriteText(const std::string& host_path, const std::string& contents);
std::string ReadText(const std::string& host_path);
void MakeFolder(const std::string& host_path);
bool HostExists(const std::string& host_path);
/// Sets a file's last-write time to a local date-time.
void SetLocalWriteTime(const std::string& host_path, const LocalDateTime& when);
/// Names in a host folder, "." and ".." left out, sorted.
std::vector<std::string> HostNames(const std::string& host_folder);

/// Mounts a tmpfs of `bytes` on the existing folder `host_path` and
/// unmounts it when destroyed. `skip_reason` says why it could not be done
/// (not root, no mount permission in this container, ...).
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

/// Fills the file system holding `host_folder` with a file named "filler"
/// until no byte more fits.
void FillUp(const std::string& host_folder);

/// Settings for a namespace inside `tree`: home at tree/home (Documents and
/// .config inside), E: mapped onto tree/stick, an empty mount table and
/// tree/media as the only place media are looked for.
HostSettings TreeSettings(const TempTree& tree);
std::unique_ptr<Platform> TreePlatform(const TempTree& tree);

}  // namespace pellmar::testing

#endif  // PELLMAR_TESTS_PLATFORM_TEMP_TREE_UTIL_H_
