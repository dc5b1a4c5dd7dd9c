// The Win32 implementation of Platform. The namespace is the host's own:
// paths are used as they are, turned into UTF-16 only at the API. One folder
// is taken from elsewhere: the "Application Data" beside Documents, where
// the settings file lives, is the user's roaming application data when no
// such folder exists.
#ifndef PELLMAR_PLATFORM_WIN32_WIN32_PLATFORM_H_
#define PELLMAR_PLATFORM_WIN32_WIN32_PLATFORM_H_

#include <memory>
#include <string>
#include <unordered_map>

#include "platform/platform.h"
#include "platform/win32/file_system_traits.h"
#include "platform/win32/host_settings.h"
#include "platform/win32/recycle_bin.h"
#include "platform/win32/scoped_handle.h"

namespace pellmar {

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(HostFolders folders);

  Status OpenFolderAt(const std::string& path, FolderHandle* folder) override;
  Status OpenChildFolder(OpenFolder& parent, const std::string& name, FolderHandle* child) override;
  Status MakeChildFolder(OpenFolder& parent, const std::string& name, FolderHandle* child) override;
  FolderListing ListOpenFolder(OpenFolder& folder) override;
  std::optional<FileFacts> LookIn(OpenFolder& folder, const std::string& name) override;
  Status CopyFile(const CopyRequest& request, CopyResult* result) override;
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
  /// Opens the folder at `path` as OpenFolderAt does, and names it
  /// `shown_as` in every report of it and of what lies below it.
  Status OpenFolderAs(const std::string& path, const std::string& shown_as, FolderHandle* folder);

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
  /// The UTF-16 path the API is given for `path`. Fails with
  /// kErrorPathNotFound for an empty path and kErrorInvalidName for text
  /// that is not UTF-8; a path longer than the API's classic limit gets
  /// the long-path form.
  Status Resolve(const std::string& path, std::wstring* wide) const;
  /// Resolves `path` and runs `call` on it; `call` never runs when it fails.
  template <typename HostCall>
  Status OnHost(const std::string& path, HostCall call) {
    std::wstring wide;
    Status status = Resolve(path, &wide);
    return status.ok() ? call(wide) : status;
  }
  /// Wraps an open host folder, with its identity and its volume's traits
  /// (learned once per volume).
  Status Adopt(std::string path, std::wstring host, ScopedHandle handle, FolderHandle* folder);
  /// Opens the child `name` of `parent` for `access`, never through a link,
  /// a junction or a mount point.
  Status OpenChildChecked(OpenFolder& parent, const std::string& name, ACCESS_MASK access,
                          ScopedHandle* child, std::wstring* host);

  HostFolders folders_;
  std::string settings_alias_;  // "<beside Documents>\Application Data" when taken from elsewhere
  std::unordered_map<uint64_t, FileSystemTraits> traits_;  // by volume serial number
  RecycleBin bin_;
};

/// A platform over the given folders instead of the system's.
std::unique_ptr<Platform> NewWin32Platform(HostFolders folders);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_WIN32_PLATFORM_H_
