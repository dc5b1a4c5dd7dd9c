// The Win32 implementation of Platform. The namespace is the host's own:
// paths are used as they are, turned into UTF-16 only at the API. One folder
// is taken from elsewhere: the "Application Data" beside Documents, where
// the settings file lives, is the user's roaming application data when no
// such folder exists.
#ifndef PELLMAR_PLATFORM_WIN32_WIN32_PLATFORM_H_
#define PELLMAR_PLATFORM_WIN32_WIN32_PLATFORM_H_

#include <memory>
#include <string>
#include <unordered_set>

#include "platform/platform.h"
#include "platform/win32/host_settings.h"

namespace pellmar {

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(HostFolders folders);

  FolderListing ListFolder(const std::string& pattern) override;
  Status FolderChain(const std::string& path, std::vector<FileIdentity>* chain) override;
  Status FolderIdentity(const std::string& path, FileIdentity* identity) override;
  std::optional<FileFacts> FindFile(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  Status CopyOver(const std::string& source, const std::string& target, VolumeGuard on) override;
  Status FlushFile(const std::string& path) override;
  Status RemoveFile(const std::string& path) override;
  Status RemoveFolder(const std::string& path) override;
  Status CreateFolder(const std::string& path) override;
  Status ReadWholeFile(const std::string& path, std::string* contents) override;
  Status WriteWholeFile(const std::string& path, const std::string& contents) override;
  Status LockFile(const std::string& path, std::unique_ptr<FileLock>* held) override;

  uint32_t SetErrorMode(uint32_t mode) override;
  Status FreeSpace(const std::string& root, uint64_t* free_bytes) override;
  std::vector<DriveMapping> Drives() override;

  std::string DocumentsFolder() override;
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
  /// Removes the debris of copies cut short in a folder about to be
  /// written to, the first time this process writes there.
  void RemoveDebrisOnce(const std::wstring& host_folder);

  HostFolders folders_;
  std::string settings_alias_;  // "<beside Documents>\Application Data" when taken from elsewhere
  std::unordered_set<std::wstring> debris_removed_;
};

/// A platform over the given folders instead of the system's.
std::unique_ptr<Platform> NewWin32Platform(HostFolders folders);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_WIN32_PLATFORM_H_
