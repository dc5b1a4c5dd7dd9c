// The real platform with a few calls overridden, for faults Linux cannot
// produce (an unformatted disk, a failed version query, terabytes free)
// and to record the order of the disk-status calls.
#ifndef PELLMAR_TESTS_SUPPORT_FORWARDING_PLATFORM_H_
#define PELLMAR_TESTS_SUPPORT_FORWARDING_PLATFORM_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}
  Platform& inner() { return inner_; }

  std::string executable_path;                   // returned by ExecutablePath when set
  std::optional<uint32_t> forced_disk_error;     // GetDiskFreeSpace fails with this code
  std::optional<uint64_t> forced_free_bytes;     // GetDiskFreeSpace succeeds with this
  std::optional<uint32_t> forced_version_error;  // QueryVersion fails with this code
  std::vector<std::string> disk_calls;           // "SetErrorMode(1)", "GetLastError", ...
  std::vector<std::string> created_folders;      // successful CreateFolder calls, in order
  bool fail_flush = false;                       // FlushFile fails

  Status CreateFolder(const std::string& p) override;
  uint32_t SetErrorMode(uint32_t mode) override;
  void SetLastError(uint32_t code) override;
  uint32_t GetLastError() override;
  bool GetDiskFreeSpace(const std::string& root, uint64_t* free_bytes) override;
  std::string ExecutablePath() override;
  bool QueryVersion() override;

  FolderListing ListFolder(const std::string& p) override { return inner_.ListFolder(p); }
  std::optional<FileFacts> FindFile(const std::string& p) override { return inner_.FindFile(p); }
  Status FolderChain(const std::string& p, std::vector<FileIdentity>* c) override {
    return inner_.FolderChain(p, c);
  }
  bool FolderExists(const std::string& p) override { return inner_.FolderExists(p); }
  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  Status CopyFile(const std::string& s, const std::string& t, VolumeGuard on) override {
    return inner_.CopyFile(s, t, on);
  }
  Status FlushFile(const std::string& p) override {
    if (fail_flush) return Status::Error(kErrorGenFailure, "flush refused by the test");
    return inner_.FlushFile(p);
  }
  Status DeleteFile(const std::string& p) override { return inner_.DeleteFile(p); }
  Status RemoveFolder(const std::string& p) override { return inner_.RemoveFolder(p); }
  Status ForceFolders(const std::string& p, VolumeGuard on) override {
    return inner_.ForceFolders(p, on);
  }
  Status ReadWholeFile(const std::string& p, std::string* c) override {
    return inner_.ReadWholeFile(p, c);
  }
  Status ReplaceFile(const std::string& p, const std::string& c) override {
    return inner_.ReplaceFile(p, c);
  }
  std::vector<DriveMapping> Drives() override { return inner_.Drives(); }
  std::string DocumentsFolder() override { return inner_.DocumentsFolder(); }
  LocalDateTime Now() override { return inner_.Now(); }
  std::optional<std::string> HostPath(const std::string& p) override { return inner_.HostPath(p); }
  std::optional<std::string> NamespacePath(const std::string& h) override {
    return inner_.NamespacePath(h);
  }
  std::string DecodeCodePage(const std::string& b, int cp) override {
    return inner_.DecodeCodePage(b, cp);
  }
  int AnsiCodePage() override { return inner_.AnsiCodePage(); }
  Status ShellOpen(const std::string& f, const std::string& p, const std::string& d) override {
    return inner_.ShellOpen(f, p, d);
  }

 private:
  Platform& inner_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_FORWARDING_PLATFORM_H_
