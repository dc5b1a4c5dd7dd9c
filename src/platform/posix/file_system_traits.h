// What a run must know of the file system a folder is on: whether it takes
// names that differ in case for one entry (FAT, exFAT), whether a file
// keeps its number while it exists (FAT-like file systems number a file
// afresh each time it is read into memory again), whether it holds Unix
// permission bits, whether a rename keeps a file's last-write time, how
// a copy is best written into it, whether a folder is best listed or
// asked name by name, and what it cannot hold.
#ifndef PELLMAR_PLATFORM_POSIX_FILE_SYSTEM_TRAITS_H_
#define PELLMAR_PLATFORM_POSIX_FILE_SYSTEM_TRAITS_H_

#include <string>

#include "platform/platform.h"

namespace pellmar {

struct FileSystemTraits {
  bool case_blind = false;
  bool stable_numbers = true;
  FileSystemLimits limits;
  // False where the modes a file shows are made up by the mount (FAT,
  // exFAT, NTFS: often rwx for everyone) and a chmod keeps at most the
  // read-only attribute.
  bool unix_modes = true;
  // False where a rename dates the file anew (FAT through fusefat): a copy
  // placed under its name must be given its time again after the rename.
  bool rename_keeps_time = true;
  // True on FUSE, where every write is a round trip to the driver: data
  // the kernel splices in (sendfile) reaches it 64 KB at a time, a 128 KB
  // buffer's write in one request.
  bool copy_by_buffer = false;
  // False on FUSE: a listing is a round trip to the driver, and each
  // name it gives costs another when looked at (libfuse's listings carry
  // no attributes the kernel keeps), so asking by name costs less.
  bool listing_pays = true;
};

/// The traits of a file system by its statfs type and, for FUSE, the type
/// the mount table gives it ("fuseblk", "fuse.exfat").
FileSystemTraits TraitsOfType(long statfs_type, const std::string& mount_type);

/// The traits of the file system the open folder `fd` is on.
FileSystemTraits TraitsOfFolder(int fd);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_FILE_SYSTEM_TRAITS_H_
