// The guard a run passes before it touches any file: the project folder and
// its folder on the removable disk must lie apart, or files on the hard disk
// would count as removable-disk files and be exposed to auto-delete.
#ifndef PELLMAR_CORE_OVERLAP_GUARD_H_
#define PELLMAR_CORE_OVERLAP_GUARD_H_

#include <optional>
#include <string>

#include "core/messages.h"
#include "platform/platform.h"

namespace pellmar {

/// Why a run between these folders must not start, or nullopt when they lie
/// apart. Refused: the same folder, one inside the other (at folder
/// boundaries, without regard to case, compared both as written and as the
/// host folders they map to), an empty removable folder text, or one that
/// occurs in the project folder's path. The reason is told in `messages`.
std::optional<std::string> OverlapRefusal(Platform& platform, const std::string& project_folder,
                                          const std::string& removable_project_folder,
                                          const std::string& media_dir,
                                          const MessageTable& messages);

/// The same question asked of the file system: compared by identity, with
/// every link and mount resolved, the two folders must be neither the same
/// folder nor one inside the other, the removable folder must lie on the
/// medium whose root is `medium_root`, and both paths must fit the host.
std::optional<std::string> IdentityRefusal(Platform& platform, const std::string& project_folder,
                                           const std::string& removable_project_folder,
                                           const FileIdentity& medium_root,
                                           const MessageTable& messages);

}  // namespace pellmar

#endif  // PELLMAR_CORE_OVERLAP_GUARD_H_
