// Locating, checking and making the folders of a trash.
#include "platform/posix/trash_can.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/posix/error_mapping.h"
#include "platform/posix/host_files.h"

namespace pellmar {
namespace {

constexpr mode_t kPrivate = 0700;
// Deeper than any real tree: a walk up that goes on longer goes round.
constexpr int kDeepestFolder = 4096;

std::string Joined(const std::string& folder, const std::string& name) {
  return (folder == "/" ? "" : folder) + "/" + name;
}

Status NotUsable(const std::string& path, const std::string& why) {
  return Status::Error(kErrorAccessDenied, path + ": " + why + "; not used as a trash");
}

// Opens the folder `name` of `parent`, making it first when missing. A link
// or a file in its place is refused, never followed; so is a folder of
// another user when `owner` is given (anyone may make folders in a shared
// top folder, and a trash made by someone else is theirs to read).
Status OpenOrMakeFolder(int parent, const std::string& name, const std::string& path,
                        std::optional<uid_t> owner, ScopedFd* folder) {
  constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
  *folder = ScopedFd(openat(parent, name.c_str(), kFlags));
  if (!folder->valid() && errno == ENOENT) {
    if (mkdirat(parent, name.c_str(), kPrivate) != 0 && errno != EEXIST) {
      return StatusFromErrno("create the trash folder", path, errno);
    }
    *folder = ScopedFd(openat(parent, name.c_str(), kFlags));
  }
  if (!folder->valid()) {
    if (errno == ELOOP || errno == ENOTDIR) return NotUsable(path, "a link or a file, no folder");
    return StatusFromErrno("open the trash folder", path, errno);
  }
  struct stat info;
  if (fstat(folder->get(), &info) != 0) return StatusFromErrno("look at", path, errno);
  if (owner && info.st_uid != *owner) return NotUsable(path, "the folder of another user");
  return Status::Ok();
}

// Opens the trash folder `name` of `parent` (can->path is its host path)
// and its files/ and info/ folders into `can`.
Status OpenTrashFolders(int parent, const std::string& name, std::optional<uid_t> owner,
                        TrashCan* can) {
  ScopedFd trash;
  Status opened = OpenOrMakeFolder(parent, name, can->path, owner, &trash);
  if (opened.ok()) {
    opened = OpenOrMakeFolder(trash.get(), "files", can->path + "/files", owner, &can->files);
  }
  if (opened.ok()) {
    opened = OpenOrMakeFolder(trash.get(), "info", can->path + "/info", owner, &can->info);
  }
  if (opened.ok() && !PlaceOf(can->files.get(), &can->place)) {
    opened = StatusFromErrno("look at", can->path + "/files", errno);
  }
  return opened;
}

// Walks up from the open folder to the root of its mount, by each folder's
// own "..": the path it was reached by may lead elsewhere meanwhile. A bind
// mount keeps the device of what it shows, so the mount counts too.
Status FindTopFolder(int folder_fd, const std::string& host_folder, ScopedFd* top, int* levels) {
  ScopedFd current(openat(folder_fd, ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  FolderPlace here;
  if (!current.valid() || !PlaceOf(current.get(), &here)) {
    return StatusFromErrno("look at", host_folder, errno);
  }
  for (*levels = 0; *levels < kDeepestFolder && !here.mount_root; ++*levels) {
    ScopedFd parent(openat(current.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    FolderPlace above;
    if (!parent.valid() || !PlaceOf(parent.get(), &above)) {
      return StatusFromErrno("look at the folders above", host_folder, errno);
    }
    const bool is_root = above.device == here.device && above.inode == here.inode;
    if (is_root || above.device != here.device || above.mount != here.mount) break;
    current = std::move(parent);
    here = above;
  }
  if (*levels == kDeepestFolder) {
    return Status::Error(kErrorPathNotFound, host_folder + ": no top folder above it");
  }
  *top = std::move(current);
  return Status::Ok();
}

std::string WithoutLevels(std::string path, int levels) {
  if (path.empty() || path[0] != '/') return "";
  for (int level = 0; level <= levels; ++level) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (level == levels) break;
    const size_t slash = path.rfind('/');
    path.erase(slash == 0 ? 1 : slash);
  }
  return path;
}

std::string KernelPathOf(int fd) {
  char target[4096];
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t length = readlink(link.c_str(), target, sizeof target);
  if (length <= 0 || static_cast<size_t>(length) == sizeof target) return "";
  return std::string(target, static_cast<size_t>(length));
}

bool LeadsTo(const std::string& path, const FolderPlace& place) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && info.st_dev == place.device &&
         info.st_ino == place.inode;
}

// The host path of the open top folder `levels` above `host_folder`: that
// path's leading part when it leads there, so records name files as the
// user knows them; else (the path went through a link) the kernel's own
// name of the folder; empty when neither leads there.
std::string TopFolderPath(const std::string& host_folder, int levels, int top) {
  FolderPlace wanted;
  if (!PlaceOf(top, &wanted)) return "";
  for (const std::string& candidate : {WithoutLevels(host_folder, levels), KernelPathOf(top)}) {
    if (LeadsTo(candidate, wanted)) return candidate;
  }
  return "";
}

// The administrator's shared `.Trash` of a top folder, when it may be used:
// a real folder (no link) with the sticky bit, so that no user can remove
// or rename another's trash in it. Invalid otherwise.
ScopedFd OpenSharedTrash(int top) {
  ScopedFd shared(openat(top, ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat info;
  if (shared.valid() && (fstat(shared.get(), &info) != 0 || (info.st_mode & S_ISVTX) == 0)) {
    return ScopedFd();
  }
  return shared;
}

}  // namespace

bool PlaceOf(int fd, FolderPlace* place) {
  struct statx info;
  if (statx(fd, "", AT_EMPTY_PATH | AT_NO_AUTOMOUNT, STATX_INO | STATX_MNT_ID, &info) != 0) {
    return false;
  }
  place->device = makedev(info.stx_dev_major, info.stx_dev_minor);
  place->inode = info.stx_ino;
  place->mount = (info.stx_mask & STATX_MNT_ID) ? info.stx_mnt_id : 0;
  place->mount_root = (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
                      (info.stx_attributes & STATX_ATTR_MOUNT_ROOT);
  return true;
}

Status OpenHomeTrash(const std::string& data_home, TrashCan* can) {
  Status made = MakeUserFolders(data_home);
  if (!made.ok()) return made;
  const ScopedFd data(open(data_home.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!data.valid()) return StatusFromErrno("open", data_home, errno);
  can->path = Joined(data_home, "Trash");
  can->top.clear();
  return OpenTrashFolders(data.get(), "Trash", std::nullopt, can);
}

Status OpenTopTrash(int folder_fd, const std::string& host_folder, uid_t uid, TrashCan* can) {
  ScopedFd top;
  int levels = 0;
  const Status found = FindTopFolder(folder_fd, host_folder, &top, &levels);
  if (!found.ok()) return found;
  can->top = TopFolderPath(host_folder, levels, top.get());
  if (can->top.empty()) {
    return Status::Error(kErrorPathNotFound,
                         host_folder + ": the top folder of its file system has no path here");
  }
  const std::string user = std::to_string(uid);
  const ScopedFd shared = OpenSharedTrash(top.get());
  if (shared.valid()) {
    can->path = Joined(can->top, ".Trash/" + user);
    if (OpenTrashFolders(shared.get(), user, uid, can).ok()) return Status::Ok();
  }
  can->path = Joined(can->top, ".Trash-" + user);
  return OpenTrashFolders(top.get(), ".Trash-" + user, uid, can);
}

}  // namespace pellmar
