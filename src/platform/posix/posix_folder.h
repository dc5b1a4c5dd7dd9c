// An open folder of this host: the descriptor everything in it is named
// relative to, and its host path, which is only ever used to say where a
// file was (in messages and in the trash's records), never to reach it.
#ifndef PELLMAR_PLATFORM_POSIX_POSIX_FOLDER_H_
#define PELLMAR_PLATFORM_POSIX_POSIX_FOLDER_H_

#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/posix/file_system_traits.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {

class PosixFolder : public OpenFolder {
 public:
  PosixFolder(std::string path, std::string host, ScopedFd fd, FileIdentity identity,
              FileSystemTraits traits)
      : OpenFolder(std::move(path), identity),
        host_(std::move(host)),
        fd_(std::move(fd)),
        traits_(traits) {}

  int fd() const { return fd_.get(); }
  const std::string& host() const { return host_; }
  const FileSystemTraits& traits() const { return traits_; }
  /// The host path of the entry `name` in this folder, for messages.
  std::string HostPathOf(const std::string& name) const {
    return (host_ == "/" ? "" : host_) + "/" + name;
  }

 private:
  std::string host_;
  ScopedFd fd_;
  FileSystemTraits traits_;
};

/// The folder a platform call was given: this host's own kind of folder.
inline PosixFolder& AsPosix(OpenFolder& folder) { return static_cast<PosixFolder&>(folder); }

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_POSIX_FOLDER_H_
