// PosixPlatform: building the namespace from the host settings, mapping
// paths both ways, and the small services (clock, version, error state).
#include "platform/posix/posix_platform.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>

#include "platform/posix/error_mapping.h"
#include "platform/posix/host_files.h"
#include "platform/posix/medium_identity.h"
#include "platform/posix/mount_table.h"

namespace pellmar {
namespace {

std::string WorkingFolder() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "/";
}

bool IsHostFolder(const std::string& host_path) {
  struct stat info;
  return stat(host_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A run holds one folder open on each side for every level it is inside;
// a deep tree would run out of descriptors at the usual soft limit long
// before the hard one.
void RaiseOpenFileLimit() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur >= limit.rlim_max) return;
  limit.rlim_cur = limit.rlim_max;
  // Ignored: a deeper tree than the old limit allows is then reported
  // folder by folder, as any folder that cannot be opened is.
  (void)setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace

PosixPlatform::PosixPlatform(HostSettings settings) : settings_(std::move(settings)) {
  RaiseOpenFileLimit();
  table_.MapRoot("C:", "/", MappingOrigin::kSystem);
  for (const auto& [root, host] : ParseDriveOverrides(settings_.drive_overrides, WorkingFolder())) {
    table_.MapRoot(root, host, MappingOrigin::kEnvironment);
  }
  // Media take the letters the user's own mappings leave free, so a stick
  // is never hidden behind a mapping.
  memory_path_ = settings_.config_home + "/" + kMediumMemoryFileName;
  LoadMediumMemory();
  RefreshMedia();
  documents_ = table_.ToNamespace(settings_.documents).value_or("");
  std::optional<NamespacePathParts> documents = ParseNamespacePath(documents_);
  if (documents && !documents->components.empty()) {
    // "Application Data" beside Documents is where the settings file lives.
    documents->components.back() = "Application Data";
    // The per-user settings folder, which a fresh account may not have
    // yet. Ignored: a failure shows later as a missing settings folder,
    // which start-up already handles.
    (void)MakeUserFolders(settings_.config_home);
    table_.MapFolder(*documents, settings_.config_home);
  }
}

std::unique_ptr<Platform> NewPosixPlatform(HostSettings settings) {
  return std::make_unique<PosixPlatform>(std::move(settings));
}

std::unique_ptr<Platform> NewHostPlatform() {
  return NewPosixPlatform(HostSettingsFromEnvironment());
}

void PosixPlatform::RefreshMedia() {
  const std::vector<MountEntry> mounts = ParseMountTable(ReadMountTableFile(settings_.mounts_file));
  std::vector<MountedMedium> media;
  for (const std::string& point : RemovableMountPoints(mounts, settings_.media_roots)) {
    media.push_back({point, IdentifyMedium(point, SourceOf(mounts, point), settings_.dev_disk)});
  }
  if (table_.AssignMediaLetters(media, &letters_) && memory_writable_) SaveMediumMemory();
}

void PosixPlatform::LoadMediumMemory() {
  std::string text;
  const Status read = ReadHostFile(memory_path_, &text);
  MediumMemory memory;
  std::string problem;
  // A missing file is a memory with nothing in it yet. A file that cannot
  // be read is never written over; a run and `pellmar drives` name it.
  memory_writable_ = read.ok() ? ParseMediumMemory(text, &memory, &problem)
                               : read.code == kErrorFileNotFound || read.code == kErrorPathNotFound;
  letters_ = std::move(memory.letters);
}

void PosixPlatform::SaveMediumMemory() {
  std::string text;
  const Status read = ReadHostFile(memory_path_, &text);
  MediumMemory memory;
  std::string problem;
  if (read.ok() ? !ParseMediumMemory(text, &memory, &problem)
                : read.code != kErrorFileNotFound && read.code != kErrorPathNotFound) {
    memory_writable_ = false;
    return;
  }
  memory.letters = letters_;
  // Ignored: the letters of this process stay as given, and a folder that
  // cannot be written fails the save of the settings beside it, which says so.
  const std::string formatted = FormatMediumMemory(memory);
  const std::string_view piece = formatted;
  (void)ReplaceHostFile(memory_path_, {&piece, 1});
}

bool PosixPlatform::MediumPresent(const NamespaceMapping& mapping) {
  switch (mapping.origin) {
    case MappingOrigin::kSystem:
      return true;
    case MappingOrigin::kEnvironment:
      return IsHostFolder(mapping.HostRootText());
    case MappingOrigin::kMountTable:
      return StillMounted(mapping.HostRootText(), mapping.medium.key);
  }
  return false;
}

bool PosixPlatform::StillMounted(const std::string& host_root, const std::string& key) {
  struct stat info;
  if (stat(host_root.c_str(), &info) != 0) return false;
  // A mount point left bare is another folder, on the file system above
  // it, than the medium's root: a root that is still the very folder last
  // found mounted is still mounted, and the mount table is read again only
  // when that changes. Another medium mounted at the same place is not the
  // one the letter belongs to.
  const FileIdentity root{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino),
                          true};
  const auto known = mounted_roots_.find(host_root);
  if (known != mounted_roots_.end() && known->second.root == root) {
    return key.empty() || known->second.key == key;
  }
  const std::vector<MountEntry> mounts = ParseMountTable(ReadMountTableFile(settings_.mounts_file));
  if (!IsMounted(mounts, host_root)) {
    mounted_roots_.erase(host_root);
    return false;
  }
  const MediumIdentity medium =
      IdentifyMedium(host_root, SourceOf(mounts, host_root), settings_.dev_disk);
  mounted_roots_[host_root] = {root, medium.key};
  return key.empty() || medium.key == key;
}

Status PosixPlatform::Resolve(const std::string& path, ResolvedPath* resolved,
                              NamespacePathParts* parsed) {
  // An empty path names nothing, not the working folder: an empty stored
  // folder must never look like one that exists.
  if (path.empty()) return Status::Error(kErrorPathNotFound, "empty path");
  std::optional<NamespacePathParts> parts = ParseNamespacePath(path);
  if (!parts) return Status::Error(kErrorInvalidName, path + ": not a valid path");
  std::optional<ResolvedPath> found = table_.ToHost(*parts);
  if (!found) {
    RefreshMedia();  // a medium plugged in since the last look has a letter now
    found = table_.ToHost(*parts);
  }
  if (!found && parts->root[0] == '\\') {
    return Status::Error(kErrorBadNetPath, path + ": no such share");
  }
  if (!found) return Status::Error(kErrorPathNotFound, path + ": no such drive");
  if (!found->relative && !MediumPresent(found->mapping)) {
    return Status::Error(kErrorNotReady, path + ": the medium of " + found->mapping.PrefixText() +
                                             " (" + found->mapping.HostRootText() +
                                             ") is not present");
  }
  if (found->host.size() >= PATH_MAX) {
    // Cut off here, before any call: the host would refuse it anyway, and a
    // path of megabytes must not cost a walk up and down its folders.
    return Status::Error(kErrorFilenameTooLong,
                         path.substr(0, 80) + "...: longer than this system's paths can be");
  }
  *resolved = std::move(*found);
  if (parsed != nullptr) *parsed = std::move(*parts);
  return Status::Ok();
}

Status PosixPlatform::Resolve(const std::string& path, std::string* host) {
  ResolvedPath resolved;
  Status status = Resolve(path, &resolved, nullptr);
  if (status.ok()) *host = std::move(resolved.host);
  return status;
}

std::optional<std::string> PosixPlatform::HostPath(const std::string& path) {
  std::string host;
  if (!Resolve(path, &host).ok()) return std::nullopt;
  return host;
}

std::optional<std::string> PosixPlatform::NamespacePath(const std::string& host_path) {
  return table_.ToNamespace(host_path);
}

std::vector<DriveMapping> PosixPlatform::Drives() {
  RefreshMedia();
  const std::vector<MountEntry> mounts = ParseMountTable(ReadMountTableFile(settings_.mounts_file));
  std::vector<DriveMapping> drives;
  for (const NamespaceMapping* mapping : table_.Roots()) {
    static const char* const kOrigins[] = {"system", "mount table", "PELLMAR_DRIVES"};
    DriveMapping drive{mapping->prefix.root,
                       mapping->HostRootText(),
                       MediumPresent(*mapping),
                       kOrigins[static_cast<int>(mapping->origin)],
                       {}};
    if (drive.mounted && mapping->origin == MappingOrigin::kMountTable) {
      drive.medium = mapping->medium;
    } else if (drive.mounted && mapping->origin == MappingOrigin::kEnvironment) {
      drive.medium = IdentifyMedium(drive.host_path, SourceHolding(mounts, drive.host_path),
                                    settings_.dev_disk);
    }
    drives.push_back(std::move(drive));
  }
  return drives;
}

Status PosixPlatform::MediumAt(const std::string& path, MediumIdentity* medium) {
  *medium = MediumIdentity{};
  std::string host;
  if (Status status = Resolve(path, &host); !status.ok()) return status;
  if (!IsHostFolder(host)) return Status::Error(kErrorPathNotFound, path + ": no such folder");
  const std::vector<MountEntry> mounts = ParseMountTable(ReadMountTableFile(settings_.mounts_file));
  *medium = IdentifyMedium(host, SourceHolding(mounts, host), settings_.dev_disk);
  return Status::Ok();
}

std::string PosixPlatform::DocumentsFolder() { return documents_; }

std::string PosixPlatform::StateFolder() {
  const std::string home = settings_.home == "/" ? "" : settings_.home;
  const std::string state_home =
      settings_.state_home.empty() ? home + "/.local/state" : settings_.state_home;
  return table_.ToNamespace(state_home + "/pellmar").value_or("");
}

std::string PosixPlatform::ExecutablePath() {
  const std::string host = OwnExecutable();
  return host.empty() ? "" : table_.ToNamespace(host).value_or("");
}

Status PosixPlatform::QueryVersion() {
  struct utsname name;
  if (uname(&name) != 0) return StatusFromErrno("query the system's version", "", errno);
  return Status::Ok();
}

LocalDateTime PosixPlatform::Now() {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  struct tm local;
  localtime_r(&now.tv_sec, &local);
  return LocalDateTime{local.tm_year + 1900,
                       local.tm_mon + 1,
                       local.tm_mday,
                       local.tm_hour,
                       local.tm_min,
                       local.tm_sec,
                       static_cast<int>(now.tv_nsec / 1000000)};
}

uint32_t PosixPlatform::SetErrorMode(uint32_t mode) {
  // There is no critical-error box to suppress here; the mode is only kept
  // so that callers get back what they set.
  const uint32_t previous = error_mode_;
  error_mode_ = mode;
  return previous;
}

int PosixPlatform::AnsiCodePage() { return 65001; }

}  // namespace pellmar
