// The test's drive letters on Windows: paths in, folders out, and back.
#include "support/win32/mapped_drives.h"

#include "platform/ascii.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {

std::string Backslashed(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

bool IsDrivePath(const std::string& path) {
  return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

}  // namespace

MappedDrivesPlatform::MappedDrivesPlatform(std::unique_ptr<Win32Platform> inner,
                                           std::map<char, std::string> drives)
    : OwnedPlatform{std::move(inner)}, ForwardingPlatform(*owned) {
  for (auto& [letter, folder] : drives) drives_[letter] = Backslashed(folder);
}

std::optional<std::string> MappedDrivesPlatform::Map(const std::string& path) const {
  if (!IsDrivePath(path)) return path;
  const auto found = drives_.find(static_cast<char>(path[0] & ~0x20));
  if (found == drives_.end()) return path;
  if (!HostExists(found->second)) return std::nullopt;
  std::string rest = path.substr(2);
  return found->second + (rest.empty() || rest[0] == '\\' || rest[0] == '/' ? "" : "\\") + rest;
}

Status MappedDrivesPlatform::Absent(const std::string& path) const {
  return Status::Error(kErrorNotReady, path + ": the test drive's medium is out");
}

Status MappedDrivesPlatform::OpenFolderAt(const std::string& p, FolderHandle* f) {
  return OnMapped(p, [&](const std::string& mapped) { return owned->OpenFolderAs(mapped, p, f); });
}

FolderListing MappedDrivesPlatform::ListFolder(const std::string& p) {
  const std::optional<std::string> mapped = Map(p);
  if (!mapped) return FolderListing{{}, {}, {}, {}, Absent(p)};
  return inner().ListFolder(*mapped);
}

std::optional<FileFacts> MappedDrivesPlatform::FindFile(const std::string& p) {
  const std::optional<std::string> mapped = Map(p);
  // A drive root has no entry of its own, mapped or not.
  if (!mapped || (IsDrivePath(p) && p.find_first_not_of("\\/", 2) == std::string::npos)) {
    return std::nullopt;
  }
  return inner().FindFile(*mapped);
}

Status MappedDrivesPlatform::FolderChain(const std::string& p, std::vector<FileIdentity>* c) {
  c->clear();
  return OnMapped(p, [&](const std::string& mapped) { return inner().FolderChain(mapped, c); });
}

Status MappedDrivesPlatform::FolderIdentity(const std::string& p, FileIdentity* identity) {
  *identity = {};
  return OnMapped(
      p, [&](const std::string& mapped) { return inner().FolderIdentity(mapped, identity); });
}

bool MappedDrivesPlatform::FolderExists(const std::string& p) {
  const std::optional<std::string> mapped = Map(p);
  return mapped && inner().FolderExists(*mapped);
}

bool MappedDrivesPlatform::FileExists(const std::string& p) {
  const std::optional<std::string> mapped = Map(p);
  return mapped && inner().FileExists(*mapped);
}

Status MappedDrivesPlatform::CreateFolder(const std::string& p) {
  return OnMapped(p, [&](const std::string& mapped) { return inner().CreateFolder(mapped); });
}

Status MappedDrivesPlatform::ReadWholeFile(const std::string& p, std::string* c) {
  c->clear();
  return OnMapped(p, [&](const std::string& mapped) { return inner().ReadWholeFile(mapped, c); });
}

Status MappedDrivesPlatform::WriteWholeFile(const std::string& p,
                                            std::span<const std::string_view> c) {
  return OnMapped(p, [&](const std::string& mapped) { return inner().WriteWholeFile(mapped, c); });
}

Status MappedDrivesPlatform::LockFile(const std::string& p, std::unique_ptr<FileLock>* held) {
  return OnMapped(p, [&](const std::string& mapped) { return inner().LockFile(mapped, held); });
}

Status MappedDrivesPlatform::MediumAt(const std::string& p, MediumIdentity* medium) {
  *medium = {};
  return OnMapped(p, [&](const std::string& mapped) { return inner().MediumAt(mapped, medium); });
}

Status MappedDrivesPlatform::FreeSpace(const std::string& root, uint64_t* free_bytes) {
  *free_bytes = 0;
  const bool plain_root =
      root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/'));
  if (!IsDrivePath(root) || !plain_root) return inner().FreeSpace(root, free_bytes);
  const std::optional<std::string> mapped = Map(root);
  if (!mapped) return Absent(root);
  // The free space of the volume the folder lies on.
  return inner().FreeSpace(*mapped == root ? root : mapped->substr(0, 2), free_bytes);
}

std::optional<std::string> MappedDrivesPlatform::HostPath(const std::string& p) {
  const std::optional<std::string> mapped = Map(p);
  return mapped ? inner().HostPath(*mapped) : std::nullopt;
}

std::optional<std::string> MappedDrivesPlatform::NamespacePath(const std::string& h) {
  std::optional<std::string> path = inner().NamespacePath(h);
  if (!path) return path;
  for (const auto& [letter, folder] : drives_) {
    const size_t length = folder.size();
    if (path->size() >= length && EqualsIgnoreCase(path->substr(0, length), folder) &&
        (path->size() == length || (*path)[length] == '\\')) {
      const std::string rest = path->substr(length);
      return std::string(1, letter) + ":" + (rest.empty() ? "\\" : rest);
    }
  }
  return path;
}

Status MappedDrivesPlatform::ShellOpen(const std::string& f, const std::string& p,
                                       const std::string& d) {
  const std::optional<std::string> file = Map(f), parameters = Map(p), directory = Map(d);
  if (!file) return Absent(f);
  return inner().ShellOpen(*file, parameters.value_or(p), directory.value_or(d));
}

}  // namespace pellmar
