// Whole-file reads and atomic whole-file replacement, for profile files, and
// where the program itself lies and the user's own folders.
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/error_mapping.h"
#include "platform/posix/host_files.h"
#include "platform/posix/scoped_fd.h"
#include "platform/posix/temp_file.h"

namespace pellmar {
namespace {

// Many small pieces (a memory whose changed lines lie among unchanged
// ones) go out a batch of them per call, not a call apiece.
Status WritePieces(int fd, std::span<const std::string_view> pieces, const std::string& path) {
  constexpr size_t kBatch = 256;
  size_t next = 0, offset = 0;  // the first piece not yet wholly written, and how far it is
  while (next < pieces.size()) {
    iovec batch[kBatch];
    size_t count = 0, bytes = 0;
    for (size_t i = next; i < pieces.size() && count < kBatch; ++i) {
      const std::string_view rest = pieces[i].substr(i == next ? offset : 0);
      batch[count++] = {const_cast<char*>(rest.data()), rest.size()};
      bytes += rest.size();
    }
    const ssize_t put = writev(fd, batch, static_cast<int>(count));
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return StatusFromErrno("write", path, errno);
    if (put == 0 && bytes > 0) return StatusFromErrno("write", path, ENOSPC);
    size_t left = static_cast<size_t>(put);
    while (next < pieces.size() && left >= pieces[next].size() - offset) {
      left -= pieces[next].size() - offset;
      offset = 0;
      ++next;
    }
    offset += left;
  }
  return Status::Ok();
}

}  // namespace

// A settings file kept as a link into a folder of dotfiles stays a link:
// the file the link leads to is the one replaced.
std::string FollowLink(const std::string& host_path) {
  struct stat info;
  if (lstat(host_path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return host_path;
  char resolved[PATH_MAX];
  if (realpath(host_path.c_str(), resolved) == nullptr) return host_path;
  return resolved;
}

Status MakeUserFolders(const std::string& host_path) {
  size_t slash = 0;
  do {
    slash = host_path.find('/', slash + 1);
    const std::string level = host_path.substr(0, slash);
    struct stat info;
    if (level.empty() || stat(level.c_str(), &info) == 0) continue;
    if (mkdir(level.c_str(), 0700) != 0 && errno != EEXIST) {
      return StatusFromErrno("create", level, errno);
    }
  } while (slash != std::string::npos);
  return Status::Ok();
}

std::string OwnExecutable() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

Status ReadHostFile(const std::string& host_path, std::string* contents) {
  contents->clear();
  const ScopedFd fd(open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd.valid()) return StatusFromErrno("open", host_path, errno);
  struct stat info;
  if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return Status::Error(kErrorAccessDenied, host_path + ": not a regular file, not read");
  }
  contents->reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t got = read(fd.get(), buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return StatusFromErrno("read", host_path, errno);
    contents->append(buffer, static_cast<size_t>(got));
  }
  return Status::Ok();
}

Status ReplaceHostFile(const std::string& host_path, std::span<const std::string_view> pieces) {
  const std::string target = FollowLink(host_path);
  struct stat old_info;
  const bool existed = stat(target.c_str(), &old_info) == 0;
  if (existed && S_ISDIR(old_info.st_mode)) {
    return Status::Error(kErrorAccessDenied, target + ": is a folder, not replaced by a file");
  }
  TempFileBeside temp(target);
  Status status = temp.Create();
  if (status.ok()) status = WritePieces(temp.fd(), pieces, temp.path());
  if (!status.ok()) return status;
  // The new file keeps the old one's mode; a new file stays private (0600),
  // which suits a settings file. FAT refuses modes, and that is harmless.
  if (existed) (void)fchmod(temp.fd(), old_info.st_mode & 0777);
  status = temp.Commit();
  if (!status.ok()) return status;
  // Make the rename itself durable. A file system that cannot sync a folder
  // still did the rename, so the result does not change the outcome.
  const ScopedFd folder(open(HostFolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) (void)fsync(folder.get());
  return Status::Ok();
}

}  // namespace pellmar
