// A new copy being written into an open folder: an unnamed file where the
// file system has them, else a locked file under a partial scratch name.
// Until it is placed under its name, dropping it leaves nothing behind.
#ifndef PELLMAR_PLATFORM_POSIX_NEW_COPY_H_
#define PELLMAR_PLATFORM_POSIX_NEW_COPY_H_

#include <sys/types.h>

#include <ctime>
#include <string>

#include "platform/platform.h"
#include "platform/posix/posix_folder.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {

class NewCopy {
 public:
  explicit NewCopy(PosixFolder& folder) : folder_(folder) {}
  ~NewCopy();
  NewCopy(const NewCopy&) = delete;
  NewCopy& operator=(const NewCopy&) = delete;

  /// Makes the file with the permission bits `mode`.
  Status Create(mode_t mode);
  int fd() const { return fd_.get(); }

  /// Gives the copy the name `name` where nothing has it:
  /// kErrorAlreadyExists when something took it meanwhile. Closes the copy.
  /// `times_again`, when given, is set once more after the rename, for
  /// file systems whose rename dates the file anew.
  Status PlaceAs(const std::string& name, const struct timespec* times_again = nullptr);
  /// Flushes the copy, gives it a fresh scratch name of the replaced kind
  /// (`*scratch`) and closes it: the name a swap with its target needs.
  /// From then on the entry is the caller's to remove; the copy stays
  /// locked against cleaners while this object lives.
  Status NameForSwap(std::string* scratch);
  /// Gives a copy swapped in under its name the last-write time `times[1]`
  /// (and access time `times[0]`) again, through the descriptor that holds
  /// its lock: for file systems whose rename dates the file anew.
  Status SetTimesAgain(const struct timespec times[2], const std::string& name);

 private:
  Status CreateNamed(mode_t mode);
  void HoldAgainstCleaners();
  void KeepLockPastClose();
  Status CloseChecked(const std::string& what);

  PosixFolder& folder_;
  ScopedFd fd_;
  ScopedFd lock_;     // holds the lock once the data descriptor is closed
  std::string name_;  // its scratch name, empty while unnamed
  bool done_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_NEW_COPY_H_
