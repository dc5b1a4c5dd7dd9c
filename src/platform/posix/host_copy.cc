// Copying one regular file: the kernel's copy path where the file systems
// allow it, a fixed-size buffer otherwise, then time, mode and a rename.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/posix/error_mapping.h"
#include "platform/posix/host_files.h"
#include "platform/posix/scoped_fd.h"
#include "platform/posix/temp_file.h"
#include "platform/posix/unnamed_file.h"

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

// copy_file_range refuses these between some file systems and kernels; the
// plain loop then copies whatever remains from the current offsets.
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

Status CopyContents(int in, int out, off_t size, const std::string& source,
                    const std::string& temp) {
  off_t copied = 0;
  while (true) {
    const ssize_t n = copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
    if (n > 0) {
      copied += n;
      // The size it had when opened is the copy; asking once more only to
      // hear "no more" would cost a call per file.
      if (copied >= size) return Status::Ok();
      continue;
    }
    // Some kernels answer 0 at once for files whose size they do not know
    // (procfs and the like); the plain loop reads those correctly.
    if (n == 0 && (copied > 0 || size == 0)) return Status::Ok();
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || KernelCopyUnsupported(errno)) return CopyByBuffer(in, out, source, temp);
    return StatusFromErrno("copy " + source + " to", temp, errno);
  }
}

Status OpenRegularSource(const std::string& source, ScopedFd* fd, struct stat* info) {
  // Looked at before opening: a FIFO or device must never be opened at all.
  if (stat(source.c_str(), info) != 0) return StatusFromErrno("open", source, errno);
  if (!S_ISREG(info->st_mode)) {
    return Status::Error(kErrorAccessDenied, source + ": not a regular file, not copied");
  }
  // O_NONBLOCK: should a FIFO be swapped in after the check, open still
  // returns at once, and the second check below turns it away.
  *fd = ScopedFd(open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd->valid()) return StatusFromErrno("open", source, errno);
  struct stat opened;
  if (fstat(fd->get(), &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_ino != info->st_ino ||
      opened.st_dev != info->st_dev) {
    return Status::Error(kErrorAccessDenied, source + ": changed while being opened, not copied");
  }
  *info = opened;
  return Status::Ok();
}

// Failures name the target, not the temporary file: that is the name the
// user knows. `fd` is the new file, already on the right file system.
Status FillCopy(int in, int fd, const struct stat& info, const std::string& source,
                const std::string& target) {
  Status status = CopyContents(in, fd, info.st_size, source, target);
  if (!status.ok()) return status;
  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  if (futimens(fd, times) != 0) return StatusFromErrno("set the time of", target, errno);
  return Status::Ok();
}

Status CheckNewFile(int fd, VolumeGuard on, const std::string& path) {
  struct stat info;
  if (fstat(fd, &info) != 0) return StatusFromErrno("examine", path, errno);
  return CheckVolume(on, info.st_dev, path);
}

// The way for file systems without unnamed files (FAT, exFAT, network
// shares): a locked temporary name, renamed over the target.
Status CopyByTemporaryName(int in, const struct stat& info, const std::string& source,
                           const std::string& target, VolumeGuard on) {
  TempFileBeside temp(target);
  Status status = temp.Create();
  // Before a byte is written: the empty file goes with `temp` on failure.
  if (status.ok()) status = CheckNewFile(temp.fd(), on, temp.path());
  // FAT and some network file systems have no modes; the copy stays good
  // without them, so a refusal here is not a failure.
  if (status.ok()) (void)fchmod(temp.fd(), info.st_mode & 0777);
  if (status.ok()) status = FillCopy(in, temp.fd(), info, source, target);
  if (!status.ok()) return status;
  return temp.Commit();
}

}  // namespace

Status CheckVolume(VolumeGuard on, uint64_t st_dev, const std::string& host_path) {
  if (!on.active || on.volume == st_dev) return Status::Ok();
  return Status::Error(kErrorNotReady,
                       host_path + ": not on the removable disk the run started with");
}

Status CopyHostFile(const std::string& source, const std::string& target, VolumeGuard on) {
  ScopedFd in;
  struct stat info;
  Status status = OpenRegularSource(source, &in, &info);
  if (!status.ok()) return status;
  UnnamedFile copy;
  if (!copy.Create(HostFolderOf(target), info.st_mode & 0777)) {
    return CopyByTemporaryName(in.get(), info, source, target, on);
  }
  status = CheckNewFile(copy.fd(), on, target);
  if (status.ok()) status = FillCopy(in.get(), copy.fd(), info, source, target);
  if (!status.ok()) return status;
  return copy.LinkAs(target);
}

}  // namespace pellmar
