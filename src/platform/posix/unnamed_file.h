// A file made without a name in the target's folder and linked in under
// the target's name once complete. Where the file system supports it, this
// is how a copy is written: a crash leaves nothing behind to clean up, and
// a new file needs no rename. A replacement still goes through a locked
// temporary name and a rename, flushed first, so the old copy stays whole
// until the new one is.
#ifndef PELLMAR_PLATFORM_POSIX_UNNAMED_FILE_H_
#define PELLMAR_PLATFORM_POSIX_UNNAMED_FILE_H_

#include <sys/types.h>

#include <string>

#include "platform/platform.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {

class UnnamedFile {
 public:
  /// Makes the file in `host_folder` with permission bits `mode`. False when
  /// it cannot be made here (the file system has no unnamed files, or the
  /// folder is not there): the caller then takes the named way, which
  /// reports any real failure.
  bool Create(const std::string& host_folder, mode_t mode);
  int fd() const { return fd_.get(); }

  /// Gives the file the name `target`, replacing what is there. After a
  /// failure nothing has changed at `target`.
  Status LinkAs(const std::string& target);

 private:
  Status Replace(const std::string& target);

  std::string folder_;
  ScopedFd fd_;
  mode_t mode_ = 0;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_UNNAMED_FILE_H_
