// The folder a level of the walk copies into, listed once for all of that
// level's files instead of looked up once per file. A name the listing
// does not hold exactly is asked of the file system itself wherever its
// own rules could match it to another spelling (case, short names, Unicode
// folding), so the listing never makes a newer copy look missing.
#ifndef PELLMAR_CORE_TARGET_LISTING_H_
#define PELLMAR_CORE_TARGET_LISTING_H_

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

class TargetListing {
 public:
  TargetListing(Platform& platform, std::string folder);

  const std::string& folder() const { return folder_; }

  /// Facts of the entry `name` in the folder; nullopt when there is none.
  std::optional<FileFacts> Find(const std::string& name);

  /// True when the folder is known to be there, so no copy needs to make it.
  bool KnownToExist();
  /// Notes that the folder has been made.
  void FolderMade() { exists_ = true; }
  /// Notes that `name` may have appeared in the folder since it was listed
  /// (a file copied in, a folder made by a deeper level).
  void Added(const std::string& name);

 private:
  void List();
  bool MayMatchAnotherSpelling(const std::string& name);

  Platform& platform_;
  const std::string folder_;
  bool listed_ = false;
  bool exists_ = false;
  bool trusted_ = false;                    // the listing is whole: a name it lacks is not there
  std::vector<FileFacts> entries_;          // sorted by name
  bool any_non_ascii_ = false;              // some entry's name is more than ASCII
  std::unordered_set<std::string> folded_;  // lower-case ASCII names, made on the first miss
  bool folded_made_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_TARGET_LISTING_H_
