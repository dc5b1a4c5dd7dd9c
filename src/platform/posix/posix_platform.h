// The POSIX implementation of Platform. It maps every namespace path onto
// the host through a DriveTable and runs the host-level helpers beside it;
// a path on a removable medium that is not mounted reaches nothing at all.
#ifndef PELLMAR_PLATFORM_POSIX_POSIX_PLATFORM_H_
#define PELLMAR_PLATFORM_POSIX_POSIX_PLATFORM_H_

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/medium_memory.h"
#include "platform/platform.h"
#include "platform/posix/drive_table.h"
#include "platform/posix/file_system_traits.h"
#include "platform/posix/host_settings.h"
#include "platform/posix/listings_ahead.h"
#include "platform/posix/posix_folder.h"
#include "platform/posix/trash.h"

namespace pellmar {

class PosixPlatform : public Platform {
 public:
  explicit PosixPlatform(HostSettings settings);

  Status OpenFolderAt(const std::string& path, FolderHandle* folder) override;
  Status OpenChildFolder(OpenFolder& parent, const std::string& name, FolderHandle* child) override;
  Status MakeChildFolder(OpenFolder& parent, const std::string& name, FolderHandle* child) override;
  FolderListing ListOpenFolder(OpenFolder& folder) override;
  std::optional<FileFacts> LookIn(OpenFolder& folder, const std::string& name) override;
  void ListAhead(OpenFolder& folder, OpenFolder* twin,
                 const std::vector<std::string>& names) override;
  std::vector<std::optional<FileFacts>> LookInEach(OpenFolder& folder,
                                                   const std::vector<std::string>& names) override;
  Status CopyFile(const CopyRequest& request, CopyResult* result) override;
  void CopyEach(std::span<const CopyRequest> requests, std::vector<Status>* statuses,
                std::vector<CopyResult>* results) override;
  bool CopiesOverlap(OpenFolder& folder) override;
  Status RemoveFileIn(OpenFolder& folder, const FileFacts& expected, bool to_trash,
                      bool* kept) override;
  void ClearDebris(OpenFolder& folder, const std::vector<std::string>& scratch) override;
  Status RemoveEmptyFolderIn(OpenFolder& parent, const std::string& name) override;
  Status FlushFileIn(OpenFolder& folder, const std::string& name) override;
  Status FlushMedium(OpenFolder& folder) override;
  Status CompareFiles(OpenFolder& a, const FileFacts& a_file, OpenFolder& b,
                      const FileFacts& b_file, bool* same) override;
  bool IsCaseBlind(OpenFolder& folder) override;
  FileSystemLimits LimitsAt(OpenFolder& folder) override;
  bool ListingPays(OpenFolder& folder) override;

  FolderListing ListFolder(const std::string& pattern) override;
  Status FolderChain(const std::string& path, std::vector<FileIdentity>* chain) override;
  Status FolderIdentity(const std::string& path, FileIdentity* identity) override;
  std::optional<FileFacts> FindFile(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  Status CreateFolder(const std::string& path) override;
  Status ReadWholeFile(const std::string& path, std::string* contents) override;
  using Platform::WriteWholeFile;
  Status WriteWholeFile(const std::string& path, std::span<const std::string_view> pieces) override;
  Status LockFile(const std::string& path, std::unique_ptr<FileLock>* held) override;

  uint32_t SetErrorMode(uint32_t mode) override;
  Status FreeSpace(const std::string& root, uint64_t* free_bytes) override;
  std::vector<DriveMapping> Drives() override;
  Status EjectMedium(const std::string& drive, EjectResult* result) override;
  Status MediumAt(const std::string& path, MediumIdentity* medium) override;

  std::string DocumentsFolder() override;
  std::string StateFolder() override;
  std::string ExecutablePath() override;
  Status QueryVersion() override;
  LocalDateTime Now() override;

  std::optional<std::string> HostPath(const std::string& path) override;
  std::optional<std::string> NamespacePath(const std::string& host_path) override;

  std::string DecodeCodePage(const std::string& bytes, int code_page) override;
  int AnsiCodePage() override;
  Status ShellOpen(const std::string& file, const std::string& parameters,
                   const std::string& directory) override;

 private:
  /// Maps `path` to the host. Fails with kErrorInvalidName for a name the
  /// namespace cannot hold, kErrorPathNotFound for an unknown drive and
  /// kErrorNotReady when the drive's medium is absent.
  Status Resolve(const std::string& path, ResolvedPath* resolved, NamespacePathParts* parts);
  /// The same for a path whose host path alone is wanted.
  Status Resolve(const std::string& path, std::string* host);
  /// Resolves `path` and runs `call` on its host path; a path that does not
  /// resolve gives its Status and `call` never runs.
  template <typename HostCall>
  Status OnHost(const std::string& path, HostCall call) {
    std::string host;
    Status status = Resolve(path, &host);
    return status.ok() ? call(host) : status;
  }
  /// Reads the mount table again and gives newly mounted media a letter.
  void RefreshMedia();
  /// Reads what the memory file beside the settings file keeps of media; a
  /// file that cannot be read is left alone and the letters follow the
  /// mount order.
  void LoadMediumMemory();
  /// Writes the letters learned back into the memory file, keeping what
  /// the window wrote there meanwhile.
  void SaveMediumMemory();
  /// False when the drive's medium is gone: a mount-table medium that is no
  /// longer mounted, or a mapped folder that does not exist.
  bool MediumPresent(const NamespaceMapping& mapping);
  /// True while the mount table lists `host_root` as mounted with the
  /// medium `key` on it (any medium for an empty key).
  bool StillMounted(const std::string& host_root, const std::string& key);
  /// Wraps an open host folder, with its identity and its file system's
  /// traits (learned once per file system).
  Status Adopt(std::string path, std::string host, ScopedFd fd, const FileIdentity& identity,
               FolderHandle* folder, FolderOrigin origin = {});

  Trash& trash();

  // First, so that it outlives every folder it lists ahead of.
  ListingsAhead ahead_;
  HostSettings settings_;
  DriveTable table_;
  std::string documents_;  // namespace path, empty when it has no spelling there
  uint32_t error_mode_ = 0;
  std::unordered_map<uint64_t, FileSystemTraits> traits_;  // by device
  std::unique_ptr<Trash> trash_;
  // What was last found mounted at a host folder: its root folder, and the
  // medium that root belongs to.
  struct MountedRoot {
    FileIdentity root;
    std::string key;
  };
  std::unordered_map<std::string, MountedRoot> mounted_roots_;
  std::string memory_path_;  // host path of the memory file
  // The letters kept for media; not to be written when the file held
  // something this program cannot read.
  std::vector<RememberedLetter> letters_;
  bool memory_writable_ = true;
};

/// A platform over explicit settings instead of the process environment.
std::unique_ptr<Platform> NewPosixPlatform(HostSettings settings);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_POSIX_PLATFORM_H_
