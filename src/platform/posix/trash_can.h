// Finds a file system's trash and holds its two folders open: the home
// trash for the file system the user's data folder is on, the trash in the
// top folder of any other. Each level of a trash is opened without following
// links, so a link planted on a disk cannot lead a trashed file elsewhere.
#ifndef PELLMAR_PLATFORM_POSIX_TRASH_CAN_H_
#define PELLMAR_PLATFORM_POSIX_TRASH_CAN_H_

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {

/// Where an open folder is: its file system, and the mount it was reached
/// through (a file moves by rename only within one mount).
struct FolderPlace {
  dev_t device = 0;
  ino_t inode = 0;
  uint64_t mount = 0;  // 0 where the kernel does not say
  bool mount_root = false;
};

/// The place of the open folder `fd`; false with errno set on failure.
bool PlaceOf(int fd, FolderPlace* place);

/// One trash, ready to take files.
struct TrashCan {
  ScopedFd files;    // its files/ folder
  ScopedFd info;     // its info/ folder, for the records
  std::string path;  // the trash folder's host path, for messages
  // The host path relative record paths start from; empty in the home
  // trash, whose records hold absolute paths.
  std::string top;
  FolderPlace place;  // of files/
  // The file system refused a rename that replaces nothing; it is not
  // asked again.
  bool plain_rename = false;
  // False where a rename dates the file anew: a trashed file is then given
  // its time again (FileSystemTraits::rename_keeps_time).
  bool rename_keeps_time = true;
};

/// Opens data_home/Trash, making it and data_home with its missing parents
/// (mode 0700) when missing. data_home itself is the user's own setting and
/// may lead through links; nothing below it may.
Status OpenHomeTrash(const std::string& data_home, TrashCan* can);

/// Opens the trash of user `uid` in the top folder of the file system that
/// holds the open folder `folder_fd` (host path `host_folder`), making its
/// missing levels: `.Trash/uid` when `.Trash` is a real folder with the
/// sticky bit, else `.Trash-uid`. A trash folder must belong to `uid`.
Status OpenTopTrash(int folder_fd, const std::string& host_folder, uid_t uid, TrashCan* can);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_TRASH_CAN_H_
