// An open folder of this host: the descriptor everything in it is named
// relative to, and its host path, which is only ever used to say where a
// file was (in messages and in the trash's records), never to reach it.
#ifndef PELLMAR_PLATFORM_POSIX_POSIX_FOLDER_H_
#define PELLMAR_PLATFORM_POSIX_POSIX_FOLDER_H_

#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/posix/file_system_traits.h"
#include "platform/posix/listings_ahead.h"
#include "platform/posix/scoped_fd.h"

namespace pellmar {

/// The host path of the entry `name` of the host folder `host`.
inline std::string HostChildPath(const std::string& host, const std::string& name) {
  return (host == "/" ? "" : host) + "/" + name;
}

// Where a folder was opened from: the folder that holds it and its name
// there, for a listing made ahead of the walk.
struct FolderOrigin {
  const void* parent = nullptr;  // none for a folder opened by path
  std::string name;
  int64_t changed_ns = 0;  // its status-change time when it was opened
};

class PosixFolder : public OpenFolder {
 public:
  PosixFolder(std::string path, std::string host, ScopedFd fd, FileIdentity identity,
              FileSystemTraits traits, FolderOrigin origin = {})
      : OpenFolder(std::move(path), identity),
        host_(std::move(host)),
        fd_(std::move(fd)),
        traits_(traits),
        origin_(std::move(origin)) {}
  // Nothing listed ahead from this folder may outlive its descriptor.
  ~PosixFolder() override {
    if (ahead_ != nullptr) ahead_->Forget(this);
  }

  int fd() const { return fd_.get(); }
  const std::string& host() const { return host_; }
  const FileSystemTraits& traits() const { return traits_; }
  const FolderOrigin& origin() const { return origin_; }
  /// True the first time: its folders are then listed ahead in `ahead`.
  bool QueueAheadIn(ListingsAhead& ahead) {
    if (ahead_ != nullptr) return false;
    ahead_ = &ahead;
    return true;
  }
  /// The host path of the entry `name` in this folder, for messages.
  std::string HostPathOf(const std::string& name) const { return HostChildPath(host_, name); }

 private:
  std::string host_;
  ScopedFd fd_;
  FileSystemTraits traits_;
  FolderOrigin origin_;
  ListingsAhead* ahead_ = nullptr;
};

/// The folder a platform call was given: this host's own kind of folder.
inline PosixFolder& AsPosix(OpenFolder& folder) { return static_cast<PosixFolder&>(folder); }

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_POSIX_FOLDER_H_
