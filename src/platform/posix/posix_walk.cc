// PosixPlatform's folders by handle: how a run opens, lists, changes and
// checks its two trees, every name relative to a descriptor it holds.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/path_text.h"
#include "platform/posix/debris.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/held_signals.h"
#include "platform/posix/host_copy.h"
#include "platform/posix/host_files.h"
#include "platform/posix/host_versions.h"
#include "platform/posix/namespace_path.h"
#include "platform/posix/parallel_each.h"
#include "platform/posix/posix_platform.h"
#include "platform/scratch_name.h"

namespace pellmar {
namespace {

constexpr size_t kCompareChunk = size_t{64} << 10;

// A name of one entry: never a way up, across, or into the namespace's
// own separators.
Status CheckPlainName(const OpenFolder& folder, const std::string& name) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      IsUnnamable(name)) {
    return Status::Error(kErrorInvalidName, folder.path() + ": \"" + name + "\" names no entry");
  }
  return Status::Ok();
}

// True when the open that failed with `error` met a symbolic link: with
// O_DIRECTORY the kernel says "not a folder" rather than "a link".
bool IsLinkIn(int folder_fd, const std::string& name, int error) {
  if (error == ELOOP) return true;
  struct stat info;
  return error == ENOTDIR && fstatat(folder_fd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISLNK(info.st_mode);
}

Status OpenForReading(PosixFolder& folder, const FileFacts& expected, ScopedFd* fd) {
  *fd = ScopedFd(openat(folder.fd(), expected.name.c_str(),
                        O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY));
  if (!fd->valid()) return StatusFromErrno("open", folder.HostPathOf(expected.name), errno);
  struct stat info;
  if (fstat(fd->get(), &info) != 0 || !IsVersion(info, expected, folder)) {
    return ChangedDuringRun(folder, expected.name, "changed during the run");
  }
  return Status::Ok();
}

// Reads up to `size` bytes, fewer only at the end of the file.
ssize_t ReadFully(int fd, char* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t got = read(fd, buffer + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return -1;
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  return static_cast<ssize_t>(done);
}

}  // namespace

Status PosixPlatform::Adopt(std::string path, std::string host, ScopedFd fd,
                            const FileIdentity& identity, FolderHandle* folder,
                            FolderOrigin origin) {
  auto known = traits_.find(identity.volume);
  if (known == traits_.end()) {
    known = traits_.emplace(identity.volume, TraitsOfFolder(fd.get())).first;
  }
  *folder = std::make_unique<PosixFolder>(std::move(path), std::move(host), std::move(fd), identity,
                                          known->second, std::move(origin));
  return Status::Ok();
}

Status PosixPlatform::OpenFolderAt(const std::string& path, FolderHandle* folder) {
  std::string host;
  const Status status = Resolve(path, &host);
  if (!status.ok()) return status;
  ScopedFd fd(open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  FolderLook look;
  if (!fd.valid() || !LookAtOpenFolder(fd.get(), &look)) {
    return FolderStatusFromErrno("open the folder", host, errno);
  }
  return Adopt(path, std::move(host), std::move(fd), look.identity, folder);
}

Status PosixPlatform::OpenChildFolder(OpenFolder& parent_folder, const std::string& name,
                                      FolderHandle* child) {
  PosixFolder& parent = AsPosix(parent_folder);
  Status status = CheckPlainName(parent, name);
  if (!status.ok()) return status;
  const std::string host = parent.HostPathOf(name);
  ScopedFd fd(openat(parent.fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (!fd.valid() && IsLinkIn(parent.fd(), name, errno)) {
    return Status::Error(kErrorCantResolveFilename, host + ": a link, not followed");
  }
  FolderLook look;
  if (!fd.valid() || !LookAtOpenFolder(fd.get(), &look)) {
    return FolderStatusFromErrno("open the folder", host, errno);
  }
  if (look.mount_root || look.identity.volume != parent.identity().volume) {
    return Status::Error(kErrorCantResolveFilename,
                         host + ": the root of another file system, not entered");
  }
  return Adopt(ChildPath(parent.path(), name), host, std::move(fd), look.identity, child,
               FolderOrigin{&parent, name, look.changed_ns});
}

Status PosixPlatform::MakeChildFolder(OpenFolder& parent_folder, const std::string& name,
                                      FolderHandle* child) {
  PosixFolder& parent = AsPosix(parent_folder);
  Status status = CheckPlainName(parent, name);
  if (!status.ok()) return status;
  if (mkdirat(parent.fd(), name.c_str(), 0777) != 0 && errno != EEXIST) {
    return FolderStatusFromErrno("create the folder", parent.HostPathOf(name), errno);
  }
  return OpenChildFolder(parent, name, child);
}

FolderListing PosixPlatform::ListOpenFolder(OpenFolder& folder) {
  PosixFolder& host = AsPosix(folder);
  const FolderOrigin& origin = host.origin();
  std::optional<FolderListing> listing;
  if (origin.parent != nullptr) {
    listing = ahead_.Take(origin.parent, origin.name, host.identity(), origin.changed_ns);
  }
  if (!listing) {
    // Where a listing does not pay, every look at an entry waits on a driver.
    // Where the helper lists ahead, it has the other core.
    EntryLooks looks = EntryLooks::kWaiting;
    if (host.traits().listing_pays) {
      looks = ahead_.Busy() ? EntryLooks::kAlone : EntryLooks::kOnCores;
    }
    listing = ListOpenHostFolder(host.fd(), host.host(), "*", looks);
  }
  return std::move(*listing);
}

// Where a listing costs only the kernel's work, the helper lists the
// folders on another core while the walk is busy with this one.
void PosixPlatform::ListAhead(OpenFolder& folder, OpenFolder* twin,
                              const std::vector<std::string>& names) {
  std::vector<ListingsAhead::Parent> parents;
  for (OpenFolder* side : {&folder, twin}) {
    if (side == nullptr) continue;
    PosixFolder& host = AsPosix(*side);
    if (!host.traits().listing_pays || !host.QueueAheadIn(ahead_)) continue;
    parents.push_back({&host, host.fd(), host.host(), host.identity().volume});
  }
  ahead_.Queue(parents, names);
}

std::optional<FileFacts> PosixPlatform::LookIn(OpenFolder& folder, const std::string& name) {
  if (!CheckPlainName(folder, name).ok()) return std::nullopt;
  return FactsIn(AsPosix(folder).fd(), name, name);
}

// Several questions at once: a driver in user space then has the next one
// waiting when it answers one.
std::vector<std::optional<FileFacts>> PosixPlatform::LookInEach(
    OpenFolder& folder, const std::vector<std::string>& names) {
  std::vector<std::optional<FileFacts>> found(names.size());
  const auto look = [&](size_t i) { found[i] = LookIn(folder, names[i]); };
  if (AsPosix(folder).traits().listing_pays) {
    ParallelEach(names.size(), look);
  } else {
    ParallelWaits(names.size(), look);
  }
  return found;
}

Status PosixPlatform::CopyFile(const CopyRequest& request, CopyResult* result) {
  *result = CopyResult{};
  ahead_.NoteCopying();
  return CopyBetweenFolders(request, trash(), result);
}

// Copies onto free names alone: a replacement holds back the signals that
// would end the program while the replaced version stands aside, and only
// the main thread's holding keeps them back.
void PosixPlatform::CopyEach(std::span<const CopyRequest> requests, std::vector<Status>* statuses,
                             std::vector<CopyResult>* results) {
  const bool any_replaced = std::any_of(requests.begin(), requests.end(), [](const CopyRequest& r) {
    return r.replaced.has_value();
  });
  if (any_replaced) return Platform::CopyEach(requests, statuses, results);
  statuses->assign(requests.size(), Status::Ok());
  results->assign(requests.size(), CopyResult{});
  (void)trash();  // made here, so that no copy's thread makes it
  ParallelWaits(requests.size(),
                [&](size_t i) { (*statuses)[i] = CopyFile(requests[i], &(*results)[i]); });
}

bool PosixPlatform::CopiesOverlap(OpenFolder& folder) {
  return !AsPosix(folder).traits().listing_pays;
}

Status PosixPlatform::RemoveFileIn(OpenFolder& folder_handle, const FileFacts& expected,
                                   bool to_trash, bool* kept) {
  *kept = false;
  PosixFolder& folder = AsPosix(folder_handle);
  Status status = CheckVersionAt(folder, expected.name, expected);
  if (status.ok() && to_trash) status = trash().Ready(folder.fd(), folder.host());
  if (!status.ok()) return status;
  const std::string aside = NewScratchName(ScratchKind::kReplaced);
  // Moved aside, the file is under a scratch name until it is in the trash
  // or back: a signal that ends the program waits until then.
  const HeldSignals held;
  status = MoveAsideChecked(folder, expected, aside, trash());
  if (!status.ok()) return status;
  std::string trashed_as;
  if (to_trash) {
    status = trash().Put(folder.fd(), folder.host(), aside, folder.HostPathOf(expected.name),
                         &trashed_as);
  } else if (unlinkat(folder.fd(), aside.c_str(), 0) != 0) {
    status = StatusFromErrno("delete", folder.HostPathOf(expected.name), errno);
  }
  // What could not go stays the user's file, under its own name.
  if (!status.ok()) PutBack(folder, aside, expected.name, trash());
  *kept = status.ok() && to_trash;
  return status;
}

void PosixPlatform::ClearDebris(OpenFolder& folder, const std::vector<std::string>& scratch) {
  ::pellmar::ClearDebris(AsPosix(folder).fd(), AsPosix(folder).host(), scratch, trash());
}

Status PosixPlatform::RemoveEmptyFolderIn(OpenFolder& parent_folder, const std::string& name) {
  PosixFolder& parent = AsPosix(parent_folder);
  const Status status = CheckPlainName(parent, name);
  if (!status.ok()) return status;
  if (unlinkat(parent.fd(), name.c_str(), AT_REMOVEDIR) != 0) {
    return StatusFromErrno("remove the folder", parent.HostPathOf(name), errno);
  }
  return Status::Ok();
}

Status PosixPlatform::FlushFileIn(OpenFolder& folder_handle, const std::string& name) {
  PosixFolder& folder = AsPosix(folder_handle);
  const ScopedFd fd(
      openat(folder.fd(), name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
  struct stat info;
  if (!fd.valid() || fstat(fd.get(), &info) != 0) {
    return StatusFromErrno("open", folder.HostPathOf(name), errno);
  }
  if (!S_ISREG(info.st_mode)) {
    return Status::Error(kErrorAccessDenied, folder.HostPathOf(name) + ": not a regular file");
  }
  if (fsync(fd.get()) != 0) return StatusFromErrno("flush", folder.HostPathOf(name), errno);
  return Status::Ok();
}

// syncfs writes out the whole file system the descriptor is on, and reports
// a write-back that failed since the descriptor was opened, even one the
// kernel made on its own before: the caller opens the folder before it
// writes anything.
Status PosixPlatform::FlushMedium(OpenFolder& folder_handle) {
  PosixFolder& folder = AsPosix(folder_handle);
  if (syncfs(folder.fd()) != 0) return StatusFromErrno("write out", folder.host(), errno);
  return Status::Ok();
}

Status PosixPlatform::CompareFiles(OpenFolder& a, const FileFacts& a_file, OpenFolder& b,
                                   const FileFacts& b_file, bool* same) {
  *same = false;
  ScopedFd a_fd, b_fd;
  Status status = OpenForReading(AsPosix(a), a_file, &a_fd);
  if (status.ok()) status = OpenForReading(AsPosix(b), b_file, &b_fd);
  if (!status.ok()) return status;
  const std::unique_ptr<char[]> a_bytes(new char[kCompareChunk]);
  const std::unique_ptr<char[]> b_bytes(new char[kCompareChunk]);
  while (true) {
    const ssize_t a_got = ReadFully(a_fd.get(), a_bytes.get(), kCompareChunk);
    const ssize_t b_got = ReadFully(b_fd.get(), b_bytes.get(), kCompareChunk);
    if (a_got < 0) return StatusFromErrno("read", AsPosix(a).HostPathOf(a_file.name), errno);
    if (b_got < 0) return StatusFromErrno("read", AsPosix(b).HostPathOf(b_file.name), errno);
    if (a_got != b_got || std::memcmp(a_bytes.get(), b_bytes.get(), a_got) != 0) return status;
    if (a_got == 0) break;
  }
  *same = true;
  return status;
}

bool PosixPlatform::IsCaseBlind(OpenFolder& folder) { return AsPosix(folder).traits().case_blind; }

FileSystemLimits PosixPlatform::LimitsAt(OpenFolder& folder) {
  return AsPosix(folder).traits().limits;
}

bool PosixPlatform::ListingPays(OpenFolder& folder) {
  return AsPosix(folder).traits().listing_pays;
}

Trash& PosixPlatform::trash() {
  if (!trash_) trash_ = std::make_unique<Trash>(TrashPlaces{settings_.data_home, getuid()});
  return *trash_;
}

}  // namespace pellmar
