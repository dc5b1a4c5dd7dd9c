// PosixPlatform's file and folder services: each maps its namespace paths
// and hands the host paths to the host-level helpers.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/path_text.h"
#include "platform/posix/error_mapping.h"
#include "platform/posix/host_files.h"
#include "platform/posix/posix_platform.h"

namespace pellmar {
namespace {

bool StatIs(const std::string& host, bool want_folder) {
  struct stat info;
  if (stat(host.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) == want_folder;
}

// ENOENT on a create means the parent is missing: a path, not a file.
Status CreateStatus(const std::string& what, const std::string& host, int error) {
  if (error == ENOENT) {
    return Status::Error(kErrorPathNotFound, what + " " + host + ": no parent folder");
  }
  return StatusFromErrno(what, host, error);
}

}  // namespace

FolderListing PosixPlatform::ListFolder(const std::string& pattern) {
  const auto [folder, mask] = SplitPattern(pattern);
  std::string host;
  FolderListing listing;
  if (mask.empty()) {
    listing.status = Status::Error(kErrorInvalidName, pattern + ": no name pattern");
    return listing;
  }
  listing.status = Resolve(folder.empty() ? "." : folder, &host);
  if (!listing.status.ok()) return listing;
  return ListHostFolder(host, mask);
}

Status PosixPlatform::FolderChain(const std::string& path, std::vector<FileIdentity>* chain) {
  chain->clear();
  std::string host;
  const Status status = Resolve(path, &host);
  return status.ok() ? HostFolderChain(host, chain) : status;
}

Status PosixPlatform::FolderIdentity(const std::string& path, FileIdentity* identity) {
  *identity = FileIdentity{};
  std::string host;
  Status status = Resolve(path, &host);
  if (!status.ok()) return status;
  struct stat info;
  if (stat(host.c_str(), &info) != 0) {
    status = StatusFromErrno("find the folder", host, errno);
    if (status.code == kErrorFileNotFound) status.code = kErrorPathNotFound;
    return status;
  }
  *identity =
      FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), true};
  return Status::Ok();
}

std::optional<FileFacts> PosixPlatform::FindFile(const std::string& path) {
  ResolvedPath resolved;
  NamespacePathParts parts;
  // A drive root has no entry of its own, as on Windows.
  if (!Resolve(path, &resolved, &parts).ok() || parts.components.empty()) return std::nullopt;
  return HostFileFacts(resolved.host, parts.components.back());
}

bool PosixPlatform::FolderExists(const std::string& path) {
  std::string host;
  return Resolve(path, &host).ok() && StatIs(host, true);
}

bool PosixPlatform::FileExists(const std::string& path) {
  std::string host;
  return Resolve(path, &host).ok() && StatIs(host, false);
}

Status PosixPlatform::CreateFolder(const std::string& path) {
  return OnHost(path, [](const std::string& host) {
    if (mkdir(host.c_str(), 0777) != 0) return CreateStatus("create the folder", host, errno);
    return Status::Ok();
  });
}

Status PosixPlatform::ReadWholeFile(const std::string& path, std::string* contents) {
  contents->clear();
  return OnHost(path, [contents](const std::string& host) { return ReadHostFile(host, contents); });
}

Status PosixPlatform::WriteWholeFile(const std::string& path,
                                     std::span<const std::string_view> pieces) {
  ClearDebrisOnce(ParentFolder(path));
  return OnHost(path, [pieces](const std::string& host) { return ReplaceHostFile(host, pieces); });
}

}  // namespace pellmar
