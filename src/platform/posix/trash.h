// The desktop's trash: a file Pellmar replaces or removes is moved, by one
// rename on its own file system, into the trash a file manager lists and
// restores from, with a record of where it was and when it went.
#ifndef PELLMAR_PLATFORM_POSIX_TRASH_H_
#define PELLMAR_PLATFORM_POSIX_TRASH_H_

#include <sys/types.h>

#include <map>
#include <mutex>
#include <string>

#include "platform/platform.h"
#include "platform/posix/trash_can.h"

namespace pellmar {

/// Where this user's trashes are.
struct TrashPlaces {
  std::string data_home;  // absolute; the home trash is data_home/Trash
  uid_t uid = 0;          // names the trash in a disk's top folder
};

/// The places of the user running the program: $XDG_DATA_HOME when
/// absolute, else $HOME/.local/share; getuid().
TrashPlaces TrashPlacesFromEnvironment();

/// Puts files into the trash of their own file system. Each file system's
/// trash is found once and its folders kept open, so each further file
/// costs a record and a rename. Calls may come from several threads.
class Trash {
 public:
  explicit Trash(TrashPlaces places);
  Trash(const Trash&) = delete;
  Trash& operator=(const Trash&) = delete;

  /// Makes sure a file in the open folder `folder_fd` (host path
  /// `host_folder`, for messages and for the record's path) can go into a
  /// trash on its own file system, making the trash's folders when missing.
  /// Fails, saying why, when none can be had (a read-only disk, a link or
  /// another user's folder where the trash should be).
  Status Ready(int folder_fd, const std::string& host_folder);

  /// Moves the regular file `name` of the open folder `folder_fd` into that
  /// trash by one rename, never a copy, under the last part of
  /// `original_host_path` (made unique in the trash), with a record naming
  /// `original_host_path` and the time now. `name` may be a scratch name the
  /// file was moved aside to. On success `trashed_as` holds the file's host
  /// path in the trash; on failure the file is where it was and no record
  /// of it is left.
  Status Put(int folder_fd, const std::string& host_folder, const std::string& name,
             const std::string& original_host_path, std::string* trashed_as);

 private:
  Status ReadyLocked(int folder_fd, const std::string& host_folder, TrashCan** can);
  bool IsHomeDevice(dev_t device) const;

  const TrashPlaces places_;
  std::mutex mutex_;
  std::map<dev_t, TrashCan> cans_;  // by file system, under mutex_
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_TRASH_H_
