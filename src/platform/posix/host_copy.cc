// Copying one regular file between open folders: the kernel's copy path
// where the file systems allow it, a fixed-size buffer otherwise; then the
// checks that the source held still and the target is still the one
// decided on, and the new copy takes the target's name.
#include "platform/posix/host_copy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>

#include "platform/posix/copy_mode.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/held_signals.h"
#include "platform/posix/host_rename.h"
#include "platform/posix/host_versions.h"
#include "platform/posix/new_copy.h"
#include "platform/posix/scoped_fd.h"
#include "platform/scratch_name.h"

namespace pellmar {
namespace {

constexpr size_t kChunk = size_t{1} << 20;
constexpr size_t kBufferSize = size_t{128} << 10;

// Page-aligned: the kernel copies into and out of an unaligned buffer
// markedly slower (a sixth, measured on tmpfs), and malloc hands out a
// buffer this big 16 bytes into a fresh page. Kept for the next copy: a
// buffer this big is mapped and unmapped afresh each time otherwise, which
// costs more than a small file's whole copy.
struct alignas(4096) CopyBuffer {
  char bytes[kBufferSize];
};

char* ThreadCopyBuffer() {
  thread_local const std::unique_ptr<CopyBuffer> buffer =
      std::make_unique_for_overwrite<CopyBuffer>();
  return buffer->bytes;
}

// The kernel's copy calls refuse these between some file systems and
// kernels; the next way then copies whatever remains from the current
// offsets.
bool KernelCopyUnsupported(int error) {
  return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP ||
         error == EBADF;
}

Status CopyByBuffer(int in, int out, const std::string& source, const std::string& temp) {
  char* const buffer = ThreadCopyBuffer();
  while (true) {
    const ssize_t got = read(in, buffer, kBufferSize);
    if (got == 0) return Status::Ok();
    if (got < 0) {
      if (errno == EINTR) continue;
      return StatusFromErrno("read", source, errno);
    }
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = write(out, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return StatusFromErrno("write", temp, errno);
      done += put;
    }
  }
}

// copy_file_range shares or copies within the kernel, and may clone blocks
// on file systems that can. sendfile still saves the copy through a buffer
// where copy_file_range is refused, as between two file systems.
ssize_t CopyRange(int in, int out) { return copy_file_range(in, nullptr, out, nullptr, kChunk, 0); }
ssize_t SendFile(int in, int out) { return sendfile(out, in, nullptr, kChunk); }

enum class KernelCopy { kDone, kRefused, kNoData, kFailed };

KernelCopy CopyByKernel(ssize_t (*call)(int, int), int in, int out, off_t size, off_t* copied) {
  while (true) {
    const ssize_t n = call(in, out);
    if (n > 0) {
      *copied += n;
      // The size it had when opened is the copy; asking once more only to
      // hear "no more" would cost a call per file.
      if (*copied >= size) return KernelCopy::kDone;
      continue;
    }
    if (n == 0 && (*copied > 0 || size == 0)) return KernelCopy::kDone;
    // Some kernels answer 0 at once for files whose size they do not know
    // (procfs and the like); the plain loop reads those correctly.
    if (n == 0) return KernelCopy::kNoData;
    if (errno == EINTR) continue;
    return KernelCopyUnsupported(errno) ? KernelCopy::kRefused : KernelCopy::kFailed;
  }
}

// The last pair of file systems copy_file_range was refused between: a
// run copies many files between the same two, and asking again for each
// would cost a call per file.
struct DevicePair {
  dev_t from = 0, to = 0;
  bool known = false;
  bool operator==(const DevicePair&) const = default;
};

Status CopyContents(int in, int out, off_t size, DevicePair devices, bool by_buffer,
                    const std::string& source, const std::string& temp) {
  if (by_buffer) return CopyByBuffer(in, out, source, temp);
  thread_local DevicePair range_refused;
  off_t copied = 0;
  KernelCopy outcome = KernelCopy::kRefused;
  if (!(devices == range_refused)) {
    outcome = CopyByKernel(CopyRange, in, out, size, &copied);
    if (outcome == KernelCopy::kRefused && copied == 0) range_refused = devices;
  }
  if (outcome == KernelCopy::kRefused) outcome = CopyByKernel(SendFile, in, out, size, &copied);
  if (outcome == KernelCopy::kDone) return Status::Ok();
  if (outcome == KernelCopy::kFailed) return StatusFromErrno("copy " + source + " to", temp, errno);
  return CopyByBuffer(in, out, source, temp);
}

// What becomes of a version a copy replaces.
struct ReplacedVersions {
  Trash& trash;  // also takes, always, a user's version that cannot go back
  bool keep;     // replaced versions go to the trash rather than into nothing
};

// Opens the source without following a link; it must still be the
// version the run decided to copy.
Status OpenDecidedSource(PosixFolder& from, const FileFacts& decided, ScopedFd* fd,
                         struct stat* info) {
  // O_NONBLOCK: should a FIFO be swapped in after the decision, open still
  // returns at once, and the check below turns it away. A link to a file
  // is read through only where the decision saw a link: what it leads to
  // is then the version decided on.
  const int follow = (decided.attributes & kAttrReparsePoint) != 0 ? 0 : O_NOFOLLOW;
  *fd = ScopedFd(openat(from.fd(), decided.name.c_str(),
                        O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | follow));
  if (!fd->valid()) {
    if (errno == ELOOP) return ChangedDuringRun(from, decided.name, "became a link during the run");
    return StatusFromErrno("open", from.HostPathOf(decided.name), errno);
  }
  if (fstat(fd->get(), info) != 0) {
    return StatusFromErrno("examine", from.HostPathOf(decided.name), errno);
  }
  if (IsVersion(*info, decided, from)) return Status::Ok();
  return ChangedDuringRun(from, decided.name, "changed during the run");
}

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A file written while it was read gives a copy that is neither its old
// nor its new version; size, last write and change time tell.
Status CheckHeldStill(int in, const struct stat& before, PosixFolder& from,
                      const std::string& name) {
  struct stat after;
  if (fstat(in, &after) != 0) return StatusFromErrno("examine", from.HostPathOf(name), errno);
  if (after.st_size == before.st_size && SameTime(after.st_mtim, before.st_mtim) &&
      SameTime(after.st_ctim, before.st_ctim)) {
    return Status::Ok();
  }
  return Status::Error(kErrorChangedWhileCopied, from.HostPathOf(name) + ": changed while copied");
}

// Writes the contents and the last-write time into the new copy.
Status FillCopy(int in, const struct stat& info, NewCopy& copy, PosixFolder& to,
                const std::string& source_path, const std::string& name) {
  const DevicePair devices{info.st_dev, static_cast<dev_t>(to.identity().volume), true};
  Status status = CopyContents(in, copy.fd(), info.st_size, devices, to.traits().copy_by_buffer,
                               source_path, to.HostPathOf(name));
  if (!status.ok()) return status;
  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  if (futimens(copy.fd(), times) != 0)
    return StatusFromErrno("set the time of", to.HostPathOf(name), errno);
  return Status::Ok();
}

// The entry `scratch` is the new copy itself (never anything else): it goes.
void RemoveOwnCopy(PosixFolder& to, const std::string& scratch, ino_t copy) {
  struct stat info;
  if (fstatat(to.fd(), scratch.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && info.st_ino == copy) {
    (void)unlinkat(to.fd(), scratch.c_str(), 0);
  }
}

// The old version now stands at `old_at`: into the trash, or, when the
// user wants none, gone.
void DisposeReplaced(PosixFolder& to, const std::string& old_at, const std::string& name,
                     const ReplacedVersions& versions, CopyResult* result) {
  if (!versions.keep) {
    // Ignored: a version that cannot be removed stays under its scratch
    // name, which a later run takes to the trash.
    (void)unlinkat(to.fd(), old_at.c_str(), 0);
    return;
  }
  std::string trashed_as;
  const Status put =
      versions.trash.Put(to.fd(), to.host(), old_at, to.HostPathOf(name), &trashed_as);
  if (put.ok()) {
    result->replaced_kept = true;
  } else {
    result->warning = "the version it replaced could not be moved to the trash (" + put.message +
                      "); it is kept as " + to.HostPathOf(old_at);
  }
}

// Swaps the new copy in where the file system can swap names; else moves
// the old version aside, checks it, and names the copy. `*old_at` is where
// the old version stands afterwards.
Status SwapIn(PosixFolder& to, const std::string& scratch, const FileFacts& replaced, ino_t copy,
              Trash& trash, std::string* old_at) {
  bool unsupported = false;
  Status status = SwapNames(to, scratch, replaced.name, &unsupported);
  if (status.ok()) {
    *old_at = scratch;
    if (CheckVersionAt(to, scratch, replaced).ok()) return status;
    // Saved under its name between the look and the swap: swapped back,
    // and the user's file keeps its name.
    if (SwapNames(to, scratch, replaced.name, &unsupported).ok()) {
      RemoveOwnCopy(to, scratch, copy);
    }
    return ChangedDuringRun(to, replaced.name, "changed during the run");
  }
  if (!unsupported) return status;
  *old_at = NewScratchName(ScratchKind::kReplaced);
  status = MoveAsideChecked(to, replaced, *old_at, trash);
  if (!status.ok()) return status;
  status = RenameNoReplace(to, scratch, replaced.name);
  if (status.ok()) return status;
  // A file took the name in the moment it was free: it is the user's, and
  // the version moved aside goes back or to the trash.
  PutBack(to, *old_at, replaced.name, trash);
  return status.code == kErrorAlreadyExists
             ? ChangedDuringRun(to, replaced.name, "changed during the run")
             : status;
}

Status Replace(NewCopy& copy, PosixFolder& to, const FileFacts& replaced,
               const ReplacedVersions& versions, CopyResult* result) {
  struct stat copy_info;
  if (fstat(copy.fd(), &copy_info) != 0)
    return StatusFromErrno("examine", to.HostPathOf(replaced.name), errno);
  std::string scratch;
  Status status = copy.NameForSwap(&scratch);
  if (!status.ok()) return status;
  // From here until the old version is disposed of, a user's file may
  // stand under a scratch name or its name may be free: a signal that ends
  // the program waits until that is over.
  const HeldSignals held;
  std::string old_at;
  status = SwapIn(to, scratch, replaced, copy_info.st_ino, versions.trash, &old_at);
  if (!status.ok()) {
    RemoveOwnCopy(to, scratch, copy_info.st_ino);
    return status;
  }
  DisposeReplaced(to, old_at, replaced.name, versions, result);
  return status;
}

// A target that was there when the run decided and is gone now was removed
// by someone meanwhile: that is a change, not a missing source.
Status TargetGone(PosixFolder& to, const std::string& name, Status status) {
  if (status.code != kErrorFileNotFound) return status;
  return ChangedDuringRun(to, name, "removed during the run");
}

}  // namespace

Status CopyBetweenFolders(const CopyRequest& request, Trash& trash, CopyResult* result) {
  const ReplacedVersions versions{trash, request.keep_replaced};
  PosixFolder& from = AsPosix(*request.from);
  PosixFolder& to = AsPosix(*request.to);
  const std::string& name = request.source.name;
  ScopedFd in;
  struct stat info;
  Status status = OpenDecidedSource(from, request.source, &in, &info);
  if (!status.ok()) return status;
  std::optional<mode_t> replaced_mode;
  if (request.replaced) {
    struct stat target;
    status = TargetGone(to, name, CheckVersionAt(to, name, *request.replaced, &target));
    if (status.ok() && versions.keep) {
      status = versions.trash.Ready(to.fd(), to.host());
      if (!status.ok() && request.replaced_must_be_kept) {
        status = Status::Error(kErrorCannotKeepReplaced, to.HostPathOf(name) +
                                                             ": not replaced, the trash cannot "
                                                             "take it (" +
                                                             status.message + ")");
      }
    }
    if (!status.ok()) return status;
    replaced_mode = target.st_mode;
  }
  NewCopy copy(to);
  status = copy.Create(ModeOfCopy(info.st_mode, from.traits().unix_modes, replaced_mode));
  if (status.ok()) status = FillCopy(in.get(), info, copy, to, from.HostPathOf(name), name);
  if (status.ok()) status = CheckHeldStill(in.get(), info, from, name);
  if (!status.ok()) return status;
  // A file system whose rename dates the file anew has the copy given its
  // time again once it has its name.
  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  const bool redate = !to.traits().rename_keeps_time;
  if (!request.replaced) {
    status = copy.PlaceAs(name, redate ? times : nullptr);
    if (status.code == kErrorAlreadyExists)
      return ChangedDuringRun(to, name, "a file took its name during the run");
    return status;
  }
  status = TargetGone(to, name, Replace(copy, to, *request.replaced, versions, result));
  if (!status.ok() || !redate) return status;
  return copy.SetTimesAgain(times, name);
}

}  // namespace pellmar
