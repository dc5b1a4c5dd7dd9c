// Drive letters of the test's own on Windows, where letters cannot be made
// for one process: the platform answers for A:, E: and F: by the temp
// folders they stand for, and passes everything else on unchanged. A letter
// whose folder is missing is a drive without its medium, as on Linux.
#ifndef PELLMAR_TESTS_SUPPORT_WIN32_MAPPED_DRIVES_H_
#define PELLMAR_TESTS_SUPPORT_WIN32_MAPPED_DRIVES_H_

#include <map>
#include <memory>
#include <string>

#include "platform/win32/win32_platform.h"
#include "support/forwarding_platform.h"

namespace pellmar {

struct OwnedPlatform {
  std::unique_ptr<Win32Platform> owned;
};

class MappedDrivesPlatform : private OwnedPlatform, public ForwardingPlatform {
 public:
  /// `drives` maps an upper-case letter to a host folder.
  MappedDrivesPlatform(std::unique_ptr<Win32Platform> inner, std::map<char, std::string> drives);

  // A folder opened on a test drive keeps the drive's name in every path
  // the run reports, below it too.
  Status OpenFolderAt(const std::string& p, FolderHandle* f) override;
  FolderListing ListFolder(const std::string& p) override;
  std::optional<FileFacts> FindFile(const std::string& p) override;
  Status FolderChain(const std::string& p, std::vector<FileIdentity>* c) override;
  Status FolderIdentity(const std::string& p, FileIdentity* identity) override;
  bool FolderExists(const std::string& p) override;
  bool FileExists(const std::string& p) override;
  Status CreateFolder(const std::string& p) override;
  Status ReadWholeFile(const std::string& p, std::string* c) override;
  using Platform::WriteWholeFile;
  Status WriteWholeFile(const std::string& p, std::span<const std::string_view> c) override;
  Status LockFile(const std::string& p, std::unique_ptr<FileLock>* held) override;
  Status FreeSpace(const std::string& root, uint64_t* free_bytes) override;
  Status MediumAt(const std::string& p, MediumIdentity* medium) override;
  std::optional<std::string> HostPath(const std::string& p) override;
  std::optional<std::string> NamespacePath(const std::string& h) override;
  Status ShellOpen(const std::string& f, const std::string& p, const std::string& d) override;

 private:
  /// The path with a mapped letter replaced by its folder; other paths as
  /// they are. nullopt for a mapped drive whose medium is out.
  std::optional<std::string> Map(const std::string& path) const;
  Status Absent(const std::string& path) const;
  template <typename Call>
  Status OnMapped(const std::string& path, Call call) {
    const std::optional<std::string> mapped = Map(path);
    return mapped ? call(*mapped) : Absent(path);
  }

  std::map<char, std::string> drives_;  // letter -> folder with backslashes
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_WIN32_MAPPED_DRIVES_H_
