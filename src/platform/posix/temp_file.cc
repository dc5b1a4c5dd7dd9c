// Temporary files for atomic replacement.
#include "platform/posix/temp_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/posix/error_mapping.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {

namespace {

constexpr char kPrefix[] = ".pellmar-";
constexpr char kSuffix[] = ".tmp";
constexpr size_t kPrefixLength = sizeof kPrefix - 1;
constexpr size_t kSuffixLength = sizeof kSuffix - 1;
constexpr size_t kRandomLength = 6;

}  // namespace

bool IsTemporaryName(const std::string& name) {
  if (name.compare(0, kPrefixLength, kPrefix) != 0) return false;
  const size_t stem = kPrefixLength + kRandomLength;
  return name.size() == stem ||
         (name.size() == stem + kSuffixLength && name.compare(stem, kSuffixLength, kSuffix) == 0);
}

void RemoveIfDebris(int folder_fd, const std::string& name) {
  const ScopedFd fd(
      openat(folder_fd, name.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
  if (!fd.valid()) return;
  struct stat info;
  // A live copy holds its file locked until it is renamed into place or
  // removed; only a file that nobody holds is debris.
  if (fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode) &&
      flock(fd.get(), LOCK_EX | LOCK_NB) == 0) {
    // Ignored: a read-only medium keeps its debris, which listings hide.
    (void)unlinkat(folder_fd, name.c_str(), 0);
  }
}

void RemoveDebrisIn(const std::string& host_folder) {
  ScopedFd folder_fd(open(host_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder_fd.valid()) return;
  DIR* folder = fdopendir(folder_fd.get());
  if (folder == nullptr) return;
  const int fd = folder_fd.Release();  // the folder stream owns it now
  while (const struct dirent* entry = readdir(folder)) {
    if (IsTemporaryName(entry->d_name)) RemoveIfDebris(fd, entry->d_name);
  }
  closedir(folder);
}

std::string TemporaryNameIn(const std::string& host_folder) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char random[kRandomLength];
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    // Without the kernel's randomness any spread of names serves: a name
    // taken already is simply tried again.
    static unsigned counter = static_cast<unsigned>(getpid());
    for (unsigned char& r : random) r = static_cast<unsigned char>(++counter * 2654435761u >> 24);
  }
  std::string name = (host_folder == "/" ? "" : host_folder) + "/" + kPrefix;
  for (unsigned char r : random) name += kLetters[r % (sizeof kLetters - 1)];
  return name + kSuffix;
}

std::string HostFolderOf(const std::string& host_path) {
  const size_t slash = host_path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return host_path.substr(0, slash);
}

TempFileBeside::TempFileBeside(const std::string& target) : target_(target) {}

TempFileBeside::~TempFileBeside() {
  // Nothing can be reported from here; the file was ours and is unwanted.
  // It goes before its lock is let go, so no cleaner takes it meanwhile.
  if (!committed_ && !path_.empty()) unlink(path_.c_str());
  if (fd_ >= 0) close(fd_);
  if (lock_fd_ >= 0) close(lock_fd_);
}

Status TempFileBeside::Create() {
  const std::string folder = HostFolderOf(target_);
  std::string name_template =
      (folder == "/" ? "" : folder) + "/" + kPrefix + std::string(kRandomLength, 'X') + kSuffix;
  std::vector<char> buffer(name_template.begin(), name_template.end());
  buffer.push_back('\0');
  fd_ = mkostemps(buffer.data(), static_cast<int>(kSuffixLength), O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    // A missing folder is a missing path, as Windows reports it.
    if (error == ENOENT || error == ENOTDIR) {
      return Status::Error(kErrorPathNotFound, "create a file in " + folder + ": no such folder");
    }
    return StatusFromErrno("create a file in", folder, error);
  }
  path_ = buffer.data();
  // The lock tells a cleaner that this file is alive. A second descriptor of
  // the same open file keeps it held after the data descriptor is closed
  // and until the rename is done. File systems without locks answer at
  // once; a cleaner there cannot take the lock either, so nothing is lost.
  (void)flock(fd_, LOCK_EX | LOCK_NB);
  lock_fd_ = dup(fd_);
  return Status::Ok();
}

Status TempFileBeside::Commit() {
  // Only a replacement must reach the disk before the rename: a crash must
  // leave the old or the new file, never an empty one. A new file has its
  // source still in place, and flushing each of tens of thousands of new
  // copies would make a first run many times slower than a plain copy.
  const int fd = fd_;
  fd_ = -1;
  // close() can be the first to report a failed write on network and FAT
  // file systems, so its result counts.
  if (close(fd) != 0) return StatusFromErrno("close", path_, errno);
  // A new file is simply named; only a rename that would replace is
  // refused, and flushed first (through the lock's descriptor, which is
  // the same open file).
  if (renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) == 0) {
    committed_ = true;
    return Status::Ok();
  }
  const bool unsupported = errno == EINVAL || errno == ENOSYS;
  if (!unsupported && errno != EEXIST) return StatusFromErrno("replace", target_, errno);
  const bool replaces = !unsupported || access(target_.c_str(), F_OK) == 0;
  if (replaces && fsync(lock_fd_) != 0) return StatusFromErrno("flush", path_, errno);
  if (rename(path_.c_str(), target_.c_str()) != 0) {
    return StatusFromErrno("replace", target_, errno);
  }
  committed_ = true;
  return Status::Ok();
}

}  // namespace pellmar
