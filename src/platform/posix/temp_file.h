// A uniquely named temporary file beside a target named by path, renamed
// over the target once complete and removed on every other way out: how
// the settings file is saved, never half written, never a stray left.
//
// A process killed mid-save cannot remove its file, so it has a scratch
// name, which listings leave out, and is held under an exclusive lock while
// it lives: a scratch file that nobody holds is debris (see debris.h).
#ifndef PELLMAR_PLATFORM_POSIX_TEMP_FILE_H_
#define PELLMAR_PLATFORM_POSIX_TEMP_FILE_H_

#include <string>

#include "platform/platform.h"

namespace pellmar {

class TempFileBeside {
 public:
  explicit TempFileBeside(const std::string& target);
  ~TempFileBeside();
  TempFileBeside(const TempFileBeside&) = delete;
  TempFileBeside& operator=(const TempFileBeside&) = delete;

  /// Creates the file (mode 0600) and locks it; call before anything else.
  Status Create();
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

  /// Closes the file and renames it over the target, flushing the data to
  /// the disk first when the target exists. After a failure the temporary file is gone, the target
  /// as it was.
  Status Commit();

 private:
  std::string target_;
  std::string path_;
  int fd_ = -1;
  int lock_fd_ = -1;  // holds the lock from the rename until we are done
  bool committed_ = false;
};

/// The folder part of a host path ("." for a bare name).
std::string HostFolderOf(const std::string& host_path);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_TEMP_FILE_H_
