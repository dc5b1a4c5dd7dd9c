// The table that maps the Windows namespace onto the host: drive letters and
// shares onto host folders, plus folders mapped on their own (the per-user
// "Application Data"). Longest prefix wins, in both directions.
#ifndef PELLMAR_PLATFORM_POSIX_DRIVE_TABLE_H_
#define PELLMAR_PLATFORM_POSIX_DRIVE_TABLE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/medium_memory.h"
#include "platform/platform.h"
#include "platform/posix/namespace_path.h"

namespace pellmar {

enum class MappingOrigin { kSystem, kMountTable, kEnvironment };

struct NamespaceMapping {
  NamespacePathParts prefix;           // "E:" with no components, or a folder
  std::vector<std::string> host_root;  // host components it maps onto
  MappingOrigin origin = MappingOrigin::kSystem;
  MediumIdentity medium;  // of a mount-table medium: the letter follows it

  /// The namespace spelling of the prefix: "E:", "\\srv\share", "C:\a\b".
  std::string PrefixText() const;
  std::string HostRootText() const;
};

/// A removable medium found in the mount table.
struct MountedMedium {
  std::string mount_point;
  MediumIdentity medium;
};

/// Where a namespace path lands on the host.
struct ResolvedPath {
  std::string host;          // absolute, or relative to the working folder
  bool relative = false;     // no mapping applied: the path names the working folder's contents
  NamespaceMapping mapping;  // the mapping applied, when not relative
};

class DriveTable {
 public:
  /// Maps a whole drive ("E:") or share ("\\srv\share") onto `host_root`,
  /// replacing an earlier mapping of the same root.
  void MapRoot(const std::string& root, const std::string& host_root, MappingOrigin origin);
  /// Maps a namespace folder onto a host folder.
  void MapFolder(const NamespacePathParts& folder, const std::string& host_root);

  /// Gives each medium that has no letter yet the letter `*memory` keeps
  /// for it, else a free one (see ChooseMediaLetters), in the order given.
  /// Letters once given are kept for the run: a medium that comes back,
  /// at the same place or another, comes back at the same letter; one with
  /// no key is known by its mount point alone. True when `*memory` changed.
  bool AssignMediaLetters(const std::vector<MountedMedium>& media,
                          std::vector<RememberedLetter>* memory);

  /// The mapping of a drive or share root; nullptr when unknown.
  const NamespaceMapping* FindRoot(const std::string& root) const;

  /// Host path of a parsed namespace path; nullopt for an unmapped root.
  std::optional<ResolvedPath> ToHost(const NamespacePathParts& path) const;
  /// Namespace path of an absolute host path; nullopt when a name in it has
  /// no spelling in the namespace.
  std::optional<std::string> ToNamespace(const std::string& host_path) const;

  /// Drive and share mappings, letters first in letter order.
  std::vector<const NamespaceMapping*> Roots() const;

 private:
  /// The mount-table letter of `medium` not yet in `taken`: one where it is
  /// mounted now, or with `same_place` unset, one it had elsewhere.
  NamespaceMapping* LetterOfMedium(const MountedMedium& medium,
                                   const std::vector<std::string>& host, bool same_place,
                                   const std::vector<const NamespaceMapping*>& taken);

  std::vector<NamespaceMapping> mappings_;
};

/// Parses PELLMAR_DRIVES ("E:=/path;F:=/other;\\srv\share=/mnt/share") into
/// (root, host folder) pairs; entries without a valid root are skipped and
/// relative host folders are taken from `working_folder`.
std::vector<std::pair<std::string, std::string>> ParseDriveOverrides(
    const std::string& text, const std::string& working_folder);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_DRIVE_TABLE_H_
