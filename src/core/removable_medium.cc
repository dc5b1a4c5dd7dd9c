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
    Hold();
    return Status::Ok();
  }
  anchor_ = chain.front();
  Hold();
  return status;
}

// Opened before the run writes anything, so that a flush at its end sees
// every write that failed in between. Any folder of the medium's file
// system serves: where a file stands in the place of the run's folder, the
// one above it does.
void RemovableMedium::Hold() {
  std::string level = anchor_path_;
  while (true) {
    held_status_ = platform_.OpenFolderAt(level, &held_);
    if (held_status_.ok() && Holds(held_->identity())) return;
    held_.reset();
    const std::string parent = ParentOf(level, code_page_);
    if (parent == level) break;
    level = parent;
  }
  if (held_status_.ok()) {
    held_status_ = Status::Error(kErrorNotReady, anchor_path_ + ": no folder of the disk opens");
  }
}

Status RemovableMedium::Flush() { return held_ ? platform_.FlushMedium(*held_) : held_status_; }

// A run whose medium could not be recorded is refused before it starts;
// without a recorded medium there is nothing to hold a path against.
bool RemovableMedium::StillThere() {
  if (!anchor_.known) return true;
  const std::optional<FileIdentity> now = IdentityOf(platform_, anchor_path_);
  return now && *now == anchor_;
}

}  // namespace pellmar
