// File and folder services on host paths: facts, listing, reading and the
// atomic replace. The platform maps namespace paths first and calls these.
#ifndef PELLMAR_PLATFORM_POSIX_HOST_FILES_H_
#define PELLMAR_PLATFORM_POSIX_HOST_FILES_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

/// Facts of the entry at `host_path`, named `name`; a link is flagged and
/// described by its target; nullopt when nothing is there.
std::optional<FileFacts> HostFileFacts(const std::string& host_path, const std::string& name);
/// The same for the entry `entry` of the open folder `folder_fd`.
std::optional<FileFacts> FactsIn(int folder_fd, const std::string& entry, const std::string& name);

/// The entries of `host_folder` whose names match `mask` ("*" for all), with
/// "." and ".." first. Names holding "\" or ":" go to `unnamable`.
/// Scratch files are left out; nothing is removed.
FolderListing ListHostFolder(const std::string& host_folder, const std::string& mask);
/// How a listing looks at its entries: shared between two threads where a
/// core is free (kernel work), on several threads at once where each look
/// waits for a driver in user space, or on the calling thread alone (a
/// listing made ahead, beside the walk, which has the other core).
enum class EntryLooks { kOnCores, kWaiting, kAlone };

/// The same for the open folder `folder_fd`, whose path is `host_folder`.
FolderListing ListOpenHostFolder(int folder_fd, const std::string& host_folder,
                                 const std::string& mask, EntryLooks looks = EntryLooks::kOnCores);

/// True when `name` matches a Windows mask of "*" and "?", ignoring case.
bool MatchesMask(const std::string& mask, const std::string& name);

/// What a run needs to know of a folder it has opened.
struct FolderLook {
  FileIdentity identity;
  /// The root of a file system mounted on the folder that holds it: a bind
  /// mount keeps the device of what it shows, so only this tells.
  bool mount_root = false;
  /// When an entry last came, went or was renamed in it (its status-change
  /// time, in nanoseconds since 1970).
  int64_t changed_ns = 0;
};
/// Looks at the open folder `folder_fd`; false with errno set on a failure.
bool LookAtOpenFolder(int folder_fd, FolderLook* look);

/// Identities of the folder `host_path` leads to and of each folder above it
/// on the way to "/", links resolved, nearest first.
Status HostFolderChain(const std::string& host_path, std::vector<FileIdentity>* chain);

/// Reads a regular file whole; anything else (a FIFO, a device) is refused.
Status ReadHostFile(const std::string& host_path, std::string* contents);

/// The file a link at `host_path` leads to, all links on the way
/// resolved; `host_path` itself when it is no link or leads nowhere.
std::string FollowLink(const std::string& host_path);

/// Makes the user's own folder `host_path` with its missing parents, each
/// readable by the user alone; links on the way are the user's choice and
/// are followed.
Status MakeUserFolders(const std::string& host_path);

/// The host path of the running program; empty when the system does not
/// say.
std::string OwnExecutable();

/// Writes `pieces`, one after another, beside `host_path` and renames the
/// file into place; at a link, the file it leads to (FollowLink) is the one
/// replaced.
Status ReplaceHostFile(const std::string& host_path, std::span<const std::string_view> pieces);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HOST_FILES_H_
