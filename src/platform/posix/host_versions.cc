// Looking again at the moment of acting, and moving a version aside safely.
#include "platform/posix/host_versions.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "platform/posix/error_mapping.h"
#include "platform/posix/host_rename.h"

namespace pellmar {

Status ChangedDuringRun(PosixFolder& folder, const std::string& name, const std::string& why) {
  return Status::Error(kErrorChangedDuringRun, folder.HostPathOf(name) + ": " + why);
}

bool IsVersion(const struct stat& now, const FileFacts& expected, const PosixFolder& folder,
               bool time_counts) {
  const int64_t write_ns = now.st_mtim.tv_sec * 1000000000 + now.st_mtim.tv_nsec;
  // FAT-like file systems give a file a new number whenever it is read into
  // memory again; there, size and time are what tell its version.
  const bool same_file = !folder.traits().stable_numbers || !expected.identity.known ||
                         static_cast<uint64_t>(now.st_ino) == expected.identity.file;
  return S_ISREG(now.st_mode) && same_file && now.st_size == expected.size &&
         (!time_counts || write_ns == expected.write_ns);
}

Status CheckVersionAt(PosixFolder& folder, const std::string& entry, const FileFacts& expected,
                      struct stat* seen) {
  struct stat now;
  if (fstatat(folder.fd(), entry.c_str(), &now, AT_SYMLINK_NOFOLLOW) != 0) {
    return StatusFromErrno("look at", folder.HostPathOf(entry), errno);
  }
  if (seen != nullptr) *seen = now;
  if (IsVersion(now, expected, folder)) return Status::Ok();
  return ChangedDuringRun(folder, entry, "changed during the run");
}

Status MoveAsideChecked(PosixFolder& folder, const FileFacts& expected, const std::string& aside,
                        Trash& trash) {
  // Where a rename dates the file anew, its time is told only under its own
  // name, the moment before it moves; where it lands, size and number tell.
  const bool redates = !folder.traits().rename_keeps_time;
  struct stat named;
  if (redates) {
    const Status status = CheckVersionAt(folder, expected.name, expected, &named);
    if (!status.ok()) return status;
  }
  // The name is fresh and random, so a plain rename takes nothing from
  // anyone; renaming by name is what makes the check below necessary.
  if (renameat(folder.fd(), expected.name.c_str(), folder.fd(), aside.c_str()) != 0) {
    return StatusFromErrno("move aside", folder.HostPathOf(expected.name), errno);
  }
  struct stat moved;
  Status status = fstatat(folder.fd(), aside.c_str(), &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
                          IsVersion(moved, expected, folder, !redates)
                      ? Status::Ok()
                      : ChangedDuringRun(folder, expected.name, "changed during the run");
  if (status.ok() && redates) {
    status = GiveTimesBack(folder.fd(), aside, named, folder.HostPathOf(expected.name));
  }
  if (!status.ok()) PutBack(folder, aside, expected.name, trash);
  return status;
}

void PutBack(PosixFolder& folder, const std::string& aside, const std::string& name, Trash& trash) {
  // The times it has under the scratch name are the ones it goes back with.
  struct stat had;
  const bool redate = !folder.traits().rename_keeps_time &&
                      fstatat(folder.fd(), aside.c_str(), &had, AT_SYMLINK_NOFOLLOW) == 0;
  if (RenameNoReplace(folder, aside, name).ok()) {
    // Ignored: the file is back under its name, and a newer time than it
    // had makes it look changed, never lost.
    if (redate) (void)GiveTimesBack(folder.fd(), name, had, folder.HostPathOf(name));
    return;
  }
  std::string trashed_as;
  // Ignored: what cannot go to the trash stays under its scratch name,
  // which a later run takes to the trash; it is never deleted.
  (void)trash.Put(folder.fd(), folder.host(), aside, folder.HostPathOf(name), &trashed_as);
}

}  // namespace pellmar
