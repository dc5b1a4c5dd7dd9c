// The folder on the other side that a level of the walk copies into: opened
// by handle inside the one above it (never through a link or a mount), made
// only when a copy needs it, and listed once for all of the level's files
// instead of looked up once per file. A name the listing does not hold
// exactly is asked of the file system itself wherever its own rules could
// match it to another spelling (case, short names, Unicode folding), so the
// listing never makes a newer copy look missing.
#ifndef PELLMAR_CORE_TARGET_LISTING_H_
#define PELLMAR_CORE_TARGET_LISTING_H_

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

class TargetListing {
 public:
  /// The root of the other side, at `path`. `guard` keeps the root, when a
  /// copy has to make it, on the file system the run started with.
  TargetListing(Platform& platform, std::string path, VolumeGuard guard = {});
  /// The folder `name` in the folder of `parent`, which outlives it.
  TargetListing(TargetListing& parent, const std::string& name);

  /// The folder's namespace path, for reports.
  const std::string& folder() const { return path_; }

  /// Facts of the entry `name` in the folder; nullopt when there is none.
  std::optional<FileFacts> Find(const std::string& name);

  /// True when the folder is asked name by name rather than listed: its
  /// file system's listing costs more than it saves.
  bool AsksByName();
  /// Looks at all of `names`, the files a level is about to Find, at once.
  /// Only for a folder asked by name.
  void LookAhead(const std::vector<std::string>& names);

  /// Tells the platform that the walk is about to enter the folders
  /// `names` of `source` and, with each, the one of the same name here.
  void ListAhead(OpenFolder& source, const std::vector<std::string>& names);

  /// The open folder, made first (with every missing folder above it) when
  /// `make`; nullptr when it cannot be had, with `*why` saying why
  /// (kErrorCantResolveFilename: a link or a mount point is in the way).
  OpenFolder* Open(bool make, Status* why);

  /// True when the folder's file system takes names that differ only in
  /// case for one entry; asked of the nearest folder of it that exists.
  bool CaseBlind();
  /// What the folder's file system cannot hold; asked of the nearest
  /// folder of it that exists.
  FileSystemLimits Limits();

  /// Notes that `name` may have appeared in the folder since it was listed
  /// (a file copied in, a folder made by a deeper level).
  void Added(const std::string& name);

  /// True once the walk may have changed this side, at any level: a folder
  /// opened for a copy (made where it was missing), or the debris of an
  /// earlier run cleared.
  bool Changed() const { return *changed_; }

 private:
  OpenFolder* OpenHandle(bool make, Status* why);
  void List(bool for_copy);
  const FileFacts* Listed(const std::string& name) const;
  bool MayMatchAnotherSpelling(const std::string& name);
  FolderHandle NearestAboveRoot();

  Platform& platform_;
  TargetListing* const parent_ = nullptr;
  const std::string name_;  // in the parent's folder; empty for the root
  const std::string path_;
  const VolumeGuard guard_;
  bool changed_here_ = false;
  bool* const changed_;  // the root's

  FolderHandle handle_;
  Status open_status_;  // why the last attempt to open found nothing
  bool open_tried_ = false;
  std::optional<bool> case_blind_;

  bool listed_ = false;
  bool by_name_ = false;                    // not listed: every name is asked of the folder
  bool trusted_ = false;                    // the listing is whole: a name it lacks is not there
  std::vector<FileFacts> entries_;          // in the folder's order
  std::vector<uint32_t> index_;             // places in entries_, by a hash of the name
  bool any_non_ascii_ = false;              // some entry's name is more than ASCII
  std::unordered_set<std::string> folded_;  // lower-case ASCII names, made on the first miss
  std::unordered_set<std::string> absent_;  // names asked ahead and not there
  bool folded_made_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_TARGET_LISTING_H_
