// Folder listing and file facts on the host, in the shape of the Windows
// listing: attribute word, local DOS last-write time and 64-bit size.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "platform/ascii.h"
#include "platform/dos_time.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/host_files.h"
#include "platform/posix/local_dos_time.h"
#include "platform/posix/namespace_path.h"
#include "platform/posix/parallel_each.h"
#include "platform/posix/scoped_fd.h"
#include "platform/posix/temp_file.h"
#include "platform/scratch_name.h"

namespace pellmar {
namespace {

// What one look at an entry found, in the few fields a listing keeps.
struct EntryLook {
  uint32_t mode = 0;  // of what the entry leads to, or the link itself
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t modified = 0;     // seconds since 1970
  int64_t modified_ns = 0;  // and the nanoseconds of that second
  int64_t size = 0;
  bool is_link = false;
  bool resolves = false;    // a link that leads somewhere
  bool mount_root = false;  // the root of a mounted file system
};

bool StatAt(int folder_fd, const char* entry, int flags, EntryLook* look) {
  struct statx info;
  if (statx(folder_fd, entry, flags | AT_NO_AUTOMOUNT,
            STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_MTIME, &info) != 0) {
    return false;
  }
  look->mode = info.stx_mode;
  look->device = makedev(info.stx_dev_major, info.stx_dev_minor);
  look->inode = info.stx_ino;
  look->modified = info.stx_mtime.tv_sec;
  look->modified_ns = info.stx_mtime.tv_nsec;
  look->size = static_cast<int64_t>(info.stx_size);
  // A bind mount keeps the device of what it shows, so only this bit tells.
  look->mount_root = (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
                     (info.stx_attributes & STATX_ATTR_MOUNT_ROOT);
  return true;
}

// Looks at an entry without following it and, when it is a symbolic link,
// at what it leads to. False with errno set when the entry is not there or
// cannot be examined. Safe to call on several threads at once.
bool LookAt(int folder_fd, const char* entry, EntryLook* look) {
  if (!StatAt(folder_fd, entry, AT_SYMLINK_NOFOLLOW, look)) return false;
  if (!S_ISLNK(look->mode)) return true;
  look->is_link = true;
  EntryLook target;
  look->resolves = StatAt(folder_fd, entry, 0, &target);
  if (look->resolves) {
    target.is_link = target.resolves = true;
    *look = target;
  }
  return true;
}

FileFacts FactsFromLook(const std::string& name, const EntryLook& look) {
  FileFacts facts;
  facts.name = name;
  facts.dos_time = LocalDosTime(look.modified);
  facts.write_ns = look.modified * 1000000000 + look.modified_ns;
  if (S_ISDIR(look.mode)) {
    facts.attributes = kAttrDirectory;
  } else if (S_ISREG(look.mode)) {
    facts.attributes = kAttrArchive;
    facts.size = look.size;
  } else {
    // FIFOs, sockets, devices and broken links: listed, never opened.
    facts.attributes = kAttrDevice;
  }
  // Windows marks a mounted folder as a reparse point, and so does this
  // listing: a stick must not lead a run into another file system by a
  // mount any more than by a link. Only folders are asked: a file bound
  // over another is a choice of this computer's owner, not something a
  // stick can carry.
  if (look.is_link || (S_ISDIR(look.mode) && look.mount_root))
    facts.attributes |= kAttrReparsePoint;
  if (look.is_link && !look.resolves) return facts;  // leads nowhere: no identity
  facts.identity = FileIdentity{look.device, look.inode, true};
  if ((look.mode & S_IWUSR) == 0) facts.attributes |= kAttrReadOnly;
  if (name.size() > 1 && name[0] == '.' && name != "..") facts.attributes |= kAttrHidden;
  return facts;
}

std::optional<FileFacts> DotEntry(int folder_fd, const char* which) {
  EntryLook look;
  if (!StatAt(folder_fd, which, 0, &look)) return std::nullopt;
  look.mount_root = false;  // the folder itself is never walked into again
  return FactsFromLook(which, look);
}

// Entries named by readdir and not looked at yet. They are looked at in
// batches, on more than one thread where a batch is big enough, and enter
// the listing in the folder's order.
class PendingEntries {
 public:
  static constexpr size_t kBatch = 256;

  void Add(std::string name) { names_.push_back(std::move(name)); }
  bool Full() const { return names_.size() >= kBatch; }

  explicit PendingEntries(EntryLooks how) : how_(how) {}

  void MoveTo(int folder_fd, const std::string& prefix, FolderListing* listing) {
    looks_.resize(names_.size());
    errors_.resize(names_.size());
    const auto look = [&](size_t i) {
      errors_[i] = LookAt(folder_fd, names_[i].c_str(), &looks_[i]) ? 0 : errno;
    };
    switch (how_) {
      case EntryLooks::kWaiting:
        ParallelWaits(names_.size(), look);
        break;
      case EntryLooks::kOnCores:
        ParallelEach(names_.size(), look);
        break;
      case EntryLooks::kAlone:
        for (size_t i = 0; i < names_.size(); ++i) look(i);
        break;
    }
    for (size_t i = 0; i < names_.size(); ++i) {
      if (errors_[i] == 0) {
        listing->entries.push_back(FactsFromLook(names_[i], looks_[i]));
      } else if (errors_[i] != ENOENT) {
        // An entry removed between readdir and the look is simply gone;
        // any other failure leaves an entry the run cannot handle, and it
        // says so.
        listing->unreadable.push_back(prefix + names_[i] + ": " + std::strerror(errors_[i]));
      }
    }
    names_.clear();
  }

 private:
  EntryLooks how_;
  std::vector<std::string> names_;
  std::vector<EntryLook> looks_;
  std::vector<int> errors_;
};

// The names of an open folder, from its first entry on, read through the
// folder's own descriptor: a listing needs no second descriptor and no
// stream of the C library.
class NameReader {
 public:
  explicit NameReader(int folder_fd) : fd_(folder_fd) {}
  /// False, with errno set, when the folder cannot be read from its start.
  bool Rewind() { return lseek(fd_, 0, SEEK_SET) == 0; }
  /// The next name; nullptr at the end (errno 0) or on a failure (errno set).
  const char* Next() {
    if (at_ >= filled_) {
      const ssize_t got = getdents64(fd_, buffer_, sizeof buffer_);
      if (got <= 0) {
        if (got == 0) errno = 0;
        return nullptr;
      }
      filled_ = static_cast<size_t>(got);
      at_ = 0;
    }
    const auto* entry = reinterpret_cast<const struct dirent64*>(buffer_ + at_);
    at_ += entry->d_reclen;
    return entry->d_name;
  }

 private:
  int fd_;
  alignas(struct dirent64) char buffer_[32768];
  size_t at_ = 0, filled_ = 0;
};

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

bool LookAtOpenFolder(int folder_fd, FolderLook* look) {
  struct statx info;
  if (statx(folder_fd, "", AT_EMPTY_PATH, STATX_INO | STATX_CTIME, &info) != 0) return false;
  look->identity =
      FileIdentity{makedev(info.stx_dev_major, info.stx_dev_minor), info.stx_ino, true};
  look->mount_root = (info.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) &&
                     (info.stx_attributes & STATX_ATTR_MOUNT_ROOT);
  look->changed_ns = info.stx_ctime.tv_sec * int64_t{1000000000} + info.stx_ctime.tv_nsec;
  return true;
}

std::optional<FileFacts> HostFileFacts(const std::string& host_path, const std::string& name) {
  return FactsIn(AT_FDCWD, host_path, name);
}

std::optional<FileFacts> FactsIn(int folder_fd, const std::string& entry, const std::string& name) {
  EntryLook look;
  if (!LookAt(folder_fd, entry.c_str(), &look)) return std::nullopt;
  return FactsFromLook(name, look);
}

FolderListing ListHostFolder(const std::string& host_folder, const std::string& mask) {
  const ScopedFd opened(open(host_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!opened.valid()) {
    FolderListing listing;
    listing.status = FolderStatusFromErrno("list the folder", host_folder, errno);
    return listing;
  }
  return ListOpenHostFolder(opened.get(), host_folder, mask);
}

FolderListing ListOpenHostFolder(int folder_fd, const std::string& host_folder,
                                 const std::string& mask, EntryLooks looks) {
  FolderListing listing;
  // From the first entry: a folder may be listed more than once.
  NameReader names(folder_fd);
  if (!names.Rewind()) {
    listing.status = FolderStatusFromErrno("list the folder", host_folder, errno);
    return listing;
  }
  for (const char* dot : {".", ".."}) {
    std::optional<FileFacts> facts = DotEntry(folder_fd, dot);
    if (facts && MatchesMask(mask, dot)) listing.entries.push_back(*facts);
  }
  const std::string prefix = host_folder == "/" ? "/" : host_folder + "/";
  PendingEntries pending(looks);
  while (const char* entry = names.Next()) {
    std::string name = entry;
    if (name == "." || name == ".." || !MatchesMask(mask, name)) continue;
    // A copy under way or the debris of one: never data, and never removed
    // here, since a listing changes nothing.
    if (ScratchKindOf(name)) {
      listing.scratch.push_back(std::move(name));
      continue;
    }
    if (IsUnnamable(name)) {
      listing.unnamable.push_back(prefix + name);
      continue;
    }
    pending.Add(std::move(name));
    if (pending.Full()) pending.MoveTo(folder_fd, prefix, &listing);
  }
  // The end of the folder, or a medium that failed while being read: a
  // listing cut short must not pass for a whole one.
  if (errno != 0) listing.status = StatusFromErrno("list the folder", host_folder, errno);
  pending.MoveTo(folder_fd, prefix, &listing);
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
