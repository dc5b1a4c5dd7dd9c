// PosixPlatform::FreeSpace: the free-space query of a drive root,
// answering with the Windows last-error codes the disk status reacts to.
#include <sys/statvfs.h>

#include <cerrno>

#include "platform/ascii.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/posix_platform.h"

namespace pellmar {
namespace {

// The root a query may name: "E:", "E:\" or "\\server\share" with an
// optional trailing "\". Returns the mapping key ("E:", "\\server\share"),
// or nullopt for an empty or malformed root.
std::optional<std::string> RootKey(const std::string& root) {
  if ((root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/'))) &&
      IsAsciiLetter(root[0]) && root[1] == ':') {
    return root.substr(0, 2);
  }
  if (root.compare(0, 2, "\\\\") != 0) return std::nullopt;
  std::optional<NamespacePathParts> parts = ParseNamespacePath(root);
  if (!parts || !parts->components.empty()) return std::nullopt;
  return parts->root;
}

}  // namespace

Status PosixPlatform::FreeSpace(const std::string& root, uint64_t* free_bytes) {
  *free_bytes = 0;
  const std::optional<std::string> key = RootKey(root);
  if (!key) {
    return Status::Error(kErrorInvalidName, "\"" + root + "\" is no drive root");
  }
  const bool is_share = (*key)[0] == '\\';
  if (table_.FindRoot(*key) == nullptr && !is_share) RefreshMedia();
  const NamespaceMapping* mapping = table_.FindRoot(*key);
  if (mapping == nullptr) {
    return is_share ? Status::Error(kErrorBadNetPath, root + ": no such share")
                    : Status::Error(kErrorInvalidDrive, root + ": no such drive");
  }
  struct statvfs info;
  if (!MediumPresent(*mapping)) {
    return Status::Error(kErrorNotReady, root + ": the medium is not present");
  }
  if (statvfs(mapping->HostRootText().c_str(), &info) != 0) {
    // The mapped folder vanished between the two looks: still an absent medium.
    const int error = errno;
    Status status = StatusFromErrno("query the free space of", mapping->HostRootText(), error);
    if (error == ENOENT || error == ENOTDIR) status.code = kErrorNotReady;
    return status;
  }
  *free_bytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
  return Status::Ok();
}

}  // namespace pellmar
