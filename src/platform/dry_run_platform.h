// A platform that looks but never touches: every question goes to the real
// platform, every change is noted and reported done without being made. A
// dry run is the real run on this platform, so its preview is made by the
// very decisions the real run makes, and nothing on any disk changes: not
// a folder, not a file, not the debris of an earlier run.
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

  /// The files the run would have deleted, in order; " (to the trash)"
  /// follows those it would have put into the trash.
  const std::vector<std::string>& deletions() const { return deletions_; }

  // A folder the run would have made opens as an empty one.
  Status OpenFolderAt(const std::string& path, FolderHandle* folder) override;
  Status OpenChildFolder(OpenFolder& parent, const std::string& name, FolderHandle* child) override;
  Status MakeChildFolder(OpenFolder& parent, const std::string& name, FolderHandle* child) override;
  FolderListing ListOpenFolder(OpenFolder& folder) override;
  std::optional<FileFacts> LookIn(OpenFolder& folder, const std::string& name) override;
  std::vector<std::optional<FileFacts>> LookInEach(OpenFolder& folder,
                                                   const std::vector<std::string>& names) override;
  void ListAhead(OpenFolder& folder, OpenFolder* twin,
                 const std::vector<std::string>& names) override;
  Status CompareFiles(OpenFolder& a, const FileFacts& a_file, OpenFolder& b,
                      const FileFacts& b_file, bool* same) override;
  bool IsCaseBlind(OpenFolder& folder) override;
  FileSystemLimits LimitsAt(OpenFolder& folder) override;
  bool ListingPays(OpenFolder& folder) override;
  bool FolderExists(const std::string& path) override;

  // The changes: noted, not made. Nothing is opened on the desktop either.
  Status CopyFile(const CopyRequest& request, CopyResult* result) override;
  Status RemoveFileIn(OpenFolder& folder, const FileFacts& expected, bool to_trash,
                      bool* kept) override;
  void ClearDebris(OpenFolder&, const std::vector<std::string>& names) override {
    debris_seen_ += static_cast<int64_t>(names.size());
  }
  /// The scratch files of earlier runs the run would have cleared.
  int64_t debris_seen() const { return debris_seen_; }
  Status RemoveEmptyFolderIn(OpenFolder&, const std::string&) override { return {}; }
  Status FlushFileIn(OpenFolder&, const std::string&) override { return {}; }
  Status FlushMedium(OpenFolder&) override { return {}; }
  Status CreateFolder(const std::string& path) override;
  using Platform::WriteWholeFile;
  Status WriteWholeFile(const std::string&, std::span<const std::string_view>) override {
    return {};
  }
  // A dry run never saves, so it holds no lock and leaves no lock file.
  Status LockFile(const std::string&, std::unique_ptr<FileLock>* held) override {
    *held = std::make_unique<FileLock>();
    return {};
  }
  Status ShellOpen(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  // The disk stays where it is, and says so: an eject reported done would
  // tell the user to pull out a disk that is still mounted.
  Status EjectMedium(const std::string&, EjectResult*) override {
    return Status::Error(kErrorNotSupported, "a dry run ejects nothing");
  }

 private:
  // `made_in`: the parent a folder the run would have made is made in.
  Status Wrap(const std::string& path, Status opened, FolderHandle real, const OpenFolder* made_in,
              FolderHandle* folder);

  std::set<std::string> made_folders_;  // folders the run would have made
  // The copies it would make into the folder copied into last, by target
  // path: a walk asks after a copy only while it works in that folder, and
  // a tree of many files must not be kept whole.
  std::map<std::string, FileFacts> copies_;
  std::string copies_folder_;
  std::vector<std::string> deletions_;
  int64_t debris_seen_ = 0;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_DRY_RUN_PLATFORM_H_
