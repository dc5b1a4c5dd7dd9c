// The rule of conflicts: how each copy of a file stands against the version
// the last run saw both copies at, and what that makes of the file.
#ifndef PELLMAR_CORE_CONFLICT_RULE_H_
#define PELLMAR_CORE_CONFLICT_RULE_H_

#include <optional>

#include "core/run_memory.h"
#include "platform/platform.h"

namespace pellmar {

enum class Clash {
  kNone,            // nothing remembered, or at most one copy changed
  kBothChanged,     // both copies changed since
  kChangedAndGone,  // the copy copied from changed, the other one is gone
};

/// What the file is, copied from `source` over `target` (nullopt: none),
/// against `remembered` (nullptr: nothing); `source_on_medium` tells which
/// remembered time is the source's.
Clash ClashSince(const RememberedVersion* remembered, const FileFacts& source,
                 const std::optional<FileFacts>& target, bool source_on_medium);

/// True when two copies are one version: the same size, written within
/// FAT's two-second step of each other.
bool AlikeVersions(const FileFacts& a, const FileFacts& b);

/// True when neither copy changed since `remembered`.
bool StillAsRemembered(const RememberedVersion& remembered, const FileFacts& source,
                       const FileFacts& target, bool source_on_medium);

/// The version to remember of `source` and `target`, seen alike on `day`.
RememberedVersion VersionSeen(const FileFacts& source, const FileFacts& target,
                              bool source_on_medium, int64_t day);

}  // namespace pellmar

#endif  // PELLMAR_CORE_CONFLICT_RULE_H_
