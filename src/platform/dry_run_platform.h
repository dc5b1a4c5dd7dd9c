// A platform that looks but never touches: every question goes to the real
// platform, every change is noted and reported done without being made. A
// dry run is the real run on this platform, so its preview is made by the
// very decisions the real run makes, and nothing on any disk changes.
#ifndef PELLMAR_PLATFORM_DRY_RUN_PLATFORM_H_
#define PELLMAR_PLATFORM_DRY_RUN_PLATFORM_H_

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/forwarding_platform.h"

namespace pellmar {

class DryRunPlatform : public ForwardingPlatform {
 public:
  explicit DryRunPlatform(Platform& real) : ForwardingPlatform(real) {}

  /// The files the run would have deleted, in order.
  const std::vector<std::string>& deletions() const { return deletions_; }

  FolderListing ListFolder(const std::string& pattern) override;
  std::optional<FileFacts> FindFile(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool FileExists(const std::string& path) override { return FindFile(path).has_value(); }

  // The changes: noted, not made. Nothing is opened on the desktop either.
  Status CopyOver(const std::string& source, const std::string& target, VolumeGuard) override;
  Status FlushFile(const std::string&) override { return {}; }
  Status RemoveFile(const std::string& path) override;
  Status RemoveFolder(const std::string&) override { return {}; }
  Status CreateFolder(const std::string& path) override;
  Status WriteWholeFile(const std::string&, const std::string&) override { return {}; }
  // A dry run never saves, so it holds no lock and leaves no lock file.
  Status LockFile(const std::string&, std::unique_ptr<FileLock>* held) override {
    *held = std::make_unique<FileLock>();
    return {};
  }
  Status ShellOpen(const std::string&, const std::string&, const std::string&) override {
    return {};
  }

 private:
  std::set<std::string> made_folders_;         // folders the run would have made
  std::map<std::string, std::string> copies_;  // target -> source of each copy it would make
  std::vector<std::string> deletions_;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_DRY_RUN_PLATFORM_H_
