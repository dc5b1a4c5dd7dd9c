// A uniquely named temporary file beside a target, renamed over the target
// once complete and removed on every other way out. It is how every file
// Pellmar replaces is replaced: never half written, never a stray left.
//
// A process killed mid-copy cannot remove its file, so the names have a
// form of their own that listings leave out, and each temporary file is
// held under an exclusive lock while it lives: a file of that form that
// nobody holds is the debris of a copy cut short, and is removed.
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

/// True for the names temporary files get (".pellmar-XXXXXX.tmp", and the
/// ".pellmar-XXXXXX" of earlier versions).
bool IsTemporaryName(const std::string& name);

/// Removes the temporary file `name` in the open folder `folder_fd` when no
/// live copy or save holds it. Quietly keeps it otherwise.
void RemoveIfDebris(int folder_fd, const std::string& name);

/// Removes every temporary file in `host_folder` that no live copy holds.
void RemoveDebrisIn(const std::string& host_folder);

/// A host path in `host_folder` with a fresh temporary name; not created.
std::string TemporaryNameIn(const std::string& host_folder);

/// The folder part of a host path ("." for a bare name).
std::string HostFolderOf(const std::string& host_path);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_TEMP_FILE_H_
