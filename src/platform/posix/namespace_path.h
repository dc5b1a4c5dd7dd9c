// Windows-namespace paths taken apart: a root ("C:", "\\server\share" or
// none for a relative path) and the folder names below it, with "." and ".."
// already applied so that no path climbs above its root.
#ifndef PELLMAR_PLATFORM_POSIX_NAMESPACE_PATH_H_
#define PELLMAR_PLATFORM_POSIX_NAMESPACE_PATH_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/ascii.h"

namespace pellmar {

struct NamespacePathParts {
  std::string root;  // "C:" (letter upper case), "\\server\share", or "" when relative
  std::vector<std::string> components;
};

/// Parses a namespace path; "/" counts as "\" and a path that starts with a
/// single "\" lies on C:. nullopt for a name Windows could not hold there
/// (":" after the drive, a NUL byte, "\\server" without a share).
std::optional<NamespacePathParts> ParseNamespacePath(const std::string& path);

/// A host path taken apart at "/" with "." and ".." applied; nullopt when it
/// is not absolute.
std::optional<std::vector<std::string>> SplitHostPath(const std::string& host_path);

/// Host components joined to an absolute path ("/" for none).
std::string JoinHostPath(const std::vector<std::string>& components);

/// True for a file name that has no spelling in the namespace.
bool IsUnnamable(const std::string& name);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_NAMESPACE_PATH_H_
