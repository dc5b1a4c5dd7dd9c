// Folder listing and file facts on the host, in the shape of the Windows
// listing: attribute word, local DOS last-write time and 64-bit size.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/ascii.h"
#include "platform/dos_time.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/host_files.h"
#include "platform/posix/local_dos_time.h"
#include "platform/posix/namespace_path.h"
#include "platform/posix/scoped_fd.h"
#include "platform/posix/temp_file.h"

namespace pellmar {
namespace {

// Facts from `link_info` (lstat) and, for a symbolic link, `target_info`
// (stat, nullptr when the link leads nowhere).
FileFacts FactsFromStat(const std::string& name, const struct stat& link_info,
                        const struct stat* target_info) {
  const bool is_link = S_ISLNK(link_info.st_mode);
  const struct stat& info = is_link && target_info != nullptr ? *target_info : link_info;
  FileFacts facts;
  facts.name = name;
  facts.dos_time = LocalDosTime(info.st_mtim.tv_sec);
  if (S_ISDIR(info.st_mode)) {
    facts.attributes = kAttrDirectory;
  } else if (S_ISREG(info.st_mode)) {
    facts.attributes = kAttrArchive;
    facts.size = info.st_size;
  } else {
    // FIFOs, sockets, devices and broken links: listed, never opened.
    facts.attributes = kAttrDevice;
  }
  if (is_link) facts.attributes |= kAttrReparsePoint;
  if (is_link && target_info == nullptr) return facts;  // leads nowhere: no identity
  facts.identity =
      FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), true};
  if ((info.st_mode & S_IWUSR) == 0) facts.attributes |= kAttrReadOnly;
  if (name.size() > 1 && name[0] == '.' && name != "..") facts.attributes |= kAttrHidden;
  return facts;
}

// A missing folder is a missing path, as Windows reports it.
Status FolderStatusFromErrno(const std::string& operation, const std::string& folder, int error) {
  Status status = StatusFromErrno(operation, folder, error);
  if (status.code == kErrorFileNotFound) status.code = kErrorPathNotFound;
  return status;
}

// True when the entry is the root of a mounted file system (a bind mount
// included, which keeps the device of what it shows). Windows marks such a
// folder as a reparse point, and so does this listing: a stick must not
// lead a run into another file system by a mount any more than by a link.
bool IsMountRoot(int folder_fd, const std::string& entry) {
  struct statx info;
  if (statx(folder_fd, entry.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, 0, &info) != 0) {
    return false;
  }
  return (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
         (info.stx_attributes & STATX_ATTR_MOUNT_ROOT);
}

std::optional<FileFacts> FactsAt(int folder_fd, const std::string& entry, const std::string& name) {
  struct stat link_info;
  if (fstatat(folder_fd, entry.c_str(), &link_info, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  if (!S_ISLNK(link_info.st_mode)) {
    FileFacts facts = FactsFromStat(name, link_info, nullptr);
    // Only folders are asked: a file bound over another is a choice of this
    // computer's owner, not something a stick can carry.
    if (S_ISDIR(link_info.st_mode) && IsMountRoot(folder_fd, entry)) {
      facts.attributes |= kAttrReparsePoint;
    }
    return facts;
  }
  struct stat target_info;
  const bool resolves = fstatat(folder_fd, entry.c_str(), &target_info, 0) == 0;
  return FactsFromStat(name, link_info, resolves ? &target_info : nullptr);
}

std::optional<FileFacts> DotEntry(int folder_fd, const char* which) {
  struct stat info;
  if (fstatat(folder_fd, which, &info, 0) != 0) return std::nullopt;
  return FactsFromStat(which, info, nullptr);
}

bool MatchFrom(const std::string& mask, size_t m, const std::string& name, size_t n) {
  // Iterative with one backtrack point: each "*" only ever needs the last one.
  size_t star = std::string::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (m < mask.size() && (mask[m] == '?' || LowerAscii(mask[m]) == LowerAscii(name[n]))) {
      ++m;
      ++n;
    } else if (star != std::string::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

bool MatchesMask(const std::string& mask, const std::string& name) {
  // "*.*" means every name, dotted or not, as it always has on Windows.
  if (mask == "*" || mask == "*.*") return true;
  return MatchFrom(mask, 0, name, 0);
}

std::optional<FileFacts> HostFileFacts(const std::string& host_path, const std::string& name) {
  return FactsAt(AT_FDCWD, host_path, name);
}

FolderListing ListHostFolder(const std::string& host_folder, const std::string& mask) {
  FolderListing listing;
  ScopedFd opened(open(host_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!opened.valid()) {
    listing.status = FolderStatusFromErrno("list the folder", host_folder, errno);
    return listing;
  }
  DIR* folder = fdopendir(opened.get());
  if (folder == nullptr) {
    listing.status = StatusFromErrno("list the folder", host_folder, errno);
    return listing;
  }
  const int folder_fd = opened.Release();  // the folder stream owns it now
  for (const char* dot : {".", ".."}) {
    std::optional<FileFacts> facts = DotEntry(folder_fd, dot);
    if (facts && MatchesMask(mask, dot)) listing.entries.push_back(*facts);
  }
  const std::string prefix = host_folder == "/" ? "/" : host_folder + "/";
  while (true) {
    errno = 0;
    const struct dirent* entry = readdir(folder);
    if (entry == nullptr) {
      // The end of the folder, or a medium that failed while being read:
      // a listing cut short must not pass for a whole one.
      if (errno != 0) listing.status = StatusFromErrno("list the folder", host_folder, errno);
      break;
    }
    const std::string name = entry->d_name;
    if (name == "." || name == ".." || !MatchesMask(mask, name)) continue;
    if (IsTemporaryName(name)) {
      // Never data: a copy under way, or the debris of one cut short.
      RemoveIfDebris(folder_fd, name);
      continue;
    }
    if (IsUnnamable(name)) {
      listing.unnamable.push_back(prefix + name);
      continue;
    }
    if (std::optional<FileFacts> facts = FactsAt(folder_fd, name, name)) {
      listing.entries.push_back(std::move(*facts));
    } else if (errno != ENOENT) {
      // An entry removed between readdir and stat is simply gone; any other
      // failure leaves an entry the run cannot handle, and it says so.
      listing.unreadable.push_back(prefix + name + ": " + std::strerror(errno));
    }
  }
  closedir(folder);  // also closes folder_fd
  return listing;
}

Status HostFolderChain(const std::string& host_path, std::vector<FileIdentity>* chain) {
  chain->clear();
  // realpath resolves every link, so the folders above are the ones the file
  // system really has above this one, not the ones the path text names.
  char* real = realpath(host_path.c_str(), nullptr);
  if (real == nullptr) {
    return FolderStatusFromErrno("find the folder", host_path, errno);
  }
  std::string folder = real;
  free(real);
  while (true) {
    struct stat info;
    if (stat(folder.c_str(), &info) != 0) return StatusFromErrno("examine", folder, errno);
    chain->push_back(
        FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), true});
    if (folder == "/") return Status::Ok();
    folder = HostFolderOf(folder);
  }
}

}  // namespace pellmar
