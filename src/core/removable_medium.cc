// The removable disk of a run, checked by identity rather than by path text.
#include "core/removable_medium.h"

#include <optional>
#include <utility>
#include <vector>

#include "core/drive_part.h"
#include "core/text_ops.h"

namespace pellmar {

namespace {

std::string RootOf(const std::string& media_dir) {
  const std::string drive = DrivePart(media_dir);
  return drive.empty() ? media_dir : drive + "\\";
}

// The identity of the folder `path` leads to, or nothing when it is not there.
std::optional<FileIdentity> IdentityOf(Platform& platform, const std::string& path) {
  FileIdentity identity;
  if (!platform.FolderIdentity(path, &identity).ok()) return std::nullopt;
  return identity;
}

// True when `path` is `folder` or lies inside it, by text at a folder
// boundary.
bool WithinFolder(const std::string& path, const std::string& folder) {
  if (path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || path[folder.size()] == '\\' ||
         (!folder.empty() && folder.back() == '\\');
}

}  // namespace

Status NearestFolderChain(Platform& platform, const std::string& folder, CodePage code_page,
                          std::vector<FileIdentity>* chain, std::string* found_at) {
  std::string level = folder;
  Status status = Status::Error(kErrorPathNotFound, folder + ": no folder of it exists");
  while (!level.empty()) {
    const Status found = platform.FolderChain(level, chain);
    if (found.ok()) {
      *found_at = level;
      return found;
    }
    // A path of megabytes is refused at once, not climbed a level at a time.
    if (found.code == kErrorFilenameTooLong) return found;
    const std::string parent = ParentOf(level, code_page);
    if (parent == level) break;
    level = parent;
  }
  chain->clear();
  return status;
}

RemovableMedium::RemovableMedium(Platform& platform, std::string media_dir,
                                 std::string removable_folder, CodePage code_page)
    : platform_(platform),
      root_path_(RootOf(media_dir)),
      removable_folder_(std::move(removable_folder)),
      code_page_(code_page) {}

Status RemovableMedium::Record() {
  std::vector<FileIdentity> chain;
  Status status = platform_.FolderChain(root_path_, &chain);
  if (!status.ok() || chain.empty()) return status;
  root_ = chain.front();
  // The medium may be mounted below the drive's root; what counts is the
  // file system the run's own folder is on.
  status = NearestFolderChain(platform_, removable_folder_, code_page_, &chain, &anchor_path_);
  if (status.code == kErrorFilenameTooLong) return status;
  if (!status.ok()) {
    anchor_path_ = root_path_;
    anchor_ = root_;
    return Status::Ok();
  }
  anchor_ = chain.front();
  return status;
}

// A run whose medium could not be recorded is refused before it starts;
// without a recorded medium there is nothing to hold a path against.
bool RemovableMedium::StillThere() {
  if (!anchor_.known) return true;
  const std::optional<FileIdentity> now = IdentityOf(platform_, anchor_path_);
  return now && *now == anchor_;
}

WriteVerdict RemovableMedium::CheckWriteInto(const std::string& folder) {
  if (!anchor_.known || folder == last_checked_folder_) return WriteVerdict::kOnMedium;
  const WriteVerdict verdict = WalkUp(folder);
  last_checked_folder_ = verdict == WriteVerdict::kOnMedium ? folder : std::string();
  return verdict;
}

// From the folder up: below the project's removable folder no level may be
// a link or a mount point (the run's guard has checked the folder itself),
// and the deepest level that exists must be on the medium, or a folder made
// from there would be made somewhere else.
WriteVerdict RemovableMedium::WalkUp(const std::string& folder) {
  std::string level = folder;
  // "E:\Sync\Alpha\" is the folder "E:\Sync\Alpha" itself.
  while (level.size() > root_path_.size() && EndsWithBackslash(level, code_page_)) level.pop_back();
  while (!level.empty()) {
    const bool below_removable_folder =
        WithinFolder(level, removable_folder_) && level.size() > removable_folder_.size();
    if (below_removable_folder) {
      const std::optional<FileFacts> facts = platform_.FindFile(level);
      if (facts && (facts->attributes & kAttrReparsePoint)) return WriteVerdict::kBehindLink;
      if (facts)
        return Holds(facts->identity) ? WriteVerdict::kOnMedium : WriteVerdict::kMediumGone;
    } else if (const std::optional<FileIdentity> identity = IdentityOf(platform_, level)) {
      return Holds(*identity) ? WriteVerdict::kOnMedium : WriteVerdict::kMediumGone;
    }
    const std::string parent = ParentOf(level, code_page_);
    if (parent == level) break;
    level = parent;
  }
  return WriteVerdict::kMediumGone;
}

}  // namespace pellmar
