// Copying one regular file: the kernel's copy path where the file systems
// allow it, a fixed-size buffer otherwise, then time, mode and a rename.
#include <fcntl.h>
#include <sys/sendfile.h>
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

Status CopyContents(int in, int out, off_t size, DevicePair devices, const std::string& source,
                    const std::string& temp) {
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
Status FillCopy(int in, int fd, const struct stat& info, dev_t target_device,
                const std::string& source, const std::string& target) {
  const DevicePair devices{info.st_dev, target_device, true};
  Status status = CopyContents(in, fd, info.st_size, devices, source, target);
  if (!status.ok()) return status;
  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  if (futimens(fd, times) != 0) return StatusFromErrno("set the time of", target, errno);
  return Status::Ok();
}

Status CheckNewFile(int fd, VolumeGuard on, const std::string& path, dev_t* device) {
  struct stat info;
  if (fstat(fd, &info) != 0) return StatusFromErrno("examine", path, errno);
  *device = info.st_dev;
  return CheckVolume(on, info.st_dev, path);
}

// The way for file systems without unnamed files (FAT, exFAT, network
// shares): a locked temporary name, renamed over the target.
Status CopyByTemporaryName(int in, const struct stat& info, const std::string& source,
                           const std::string& target, VolumeGuard on) {
  TempFileBeside temp(target);
  Status status = temp.Create();
  // Before a byte is written: the empty file goes with `temp` on failure.
  dev_t device = 0;
  if (status.ok()) status = CheckNewFile(temp.fd(), on, temp.path(), &device);
  // FAT and some network file systems have no modes; the copy stays good
  // without them, so a refusal here is not a failure.
  if (status.ok()) (void)fchmod(temp.fd(), info.st_mode & 0777);
  if (status.ok()) status = FillCopy(in, temp.fd(), info, device, source, target);
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
  dev_t device = 0;
  status = CheckNewFile(copy.fd(), on, target, &device);
  if (status.ok()) status = FillCopy(in.get(), copy.fd(), info, device, source, target);
  if (!status.ok()) return status;
  return copy.LinkAs(target);
}

}  // namespace pellmar
