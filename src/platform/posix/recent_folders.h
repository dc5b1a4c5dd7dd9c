// The host folders of the namespace folders resolved last. A walk names
// thousands of files in one folder; each of them is mapped through its
// folder's entry here instead of parsing and mapping its whole path again,
// and the folder's medium is checked once, when its entry is made.
#ifndef PELLMAR_PLATFORM_POSIX_RECENT_FOLDERS_H_
#define PELLMAR_PLATFORM_POSIX_RECENT_FOLDERS_H_

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace pellmar {

/// What a call does with the path it resolves.
enum class PathUse {
  kRead,          // looks, reads: a medium pulled meanwhile shows nothing
  kGuardedWrite,  // writes held to the medium's file system by a VolumeGuard
  kWrite,         // writes with nothing else to keep them off a bare mount point
};

class RecentFolders {
 public:
  /// The host path of `path` when its folder has an entry and its last
  /// part is a plain name; nullopt when the whole path must be mapped. An
  /// unguarded write on a removable medium always takes the whole rule, so
  /// the medium is checked right before it.
  std::optional<std::string> Lookup(const std::string& path, PathUse use) const;

  /// Records that the folder of `path` maps onto the folder of `host_path`,
  /// `path` ending in a plain name that maps onto the last part of
  /// `host_path`. `mapped_names` are the names in that folder that are
  /// mapped on their own (the per-user settings folder): they never take
  /// the short way.
  void Remember(const std::string& path, const std::string& host_path, bool on_medium,
                std::vector<std::string> mapped_names);

  /// Drops every entry: the next path of each folder is mapped, and its
  /// medium checked, again.
  void Forget();

  /// Splits `path` at its last separator; false unless what follows is a
  /// plain name ("." and ".." and names with ":" need the whole rule).
  static bool SplitAtName(const std::string& path, std::string* folder, std::string* name);

 private:
  struct Entry {
    std::string folder;      // the namespace text before the last separator
    std::string host;        // its host folder, without a trailing "/"
    bool on_medium = false;  // on a drive whose medium can be pulled
    std::vector<std::string> mapped_names;
  };
  // A copy names a source and a target folder, a deletion a third.
  std::array<Entry, 4> entries_;
  size_t next_ = 0;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_RECENT_FOLDERS_H_
