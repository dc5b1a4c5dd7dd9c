// Namespace path text that every layer builds and splits the same way: the
// platforms below core, and core itself.
#ifndef PELLMAR_PLATFORM_PATH_TEXT_H_
#define PELLMAR_PLATFORM_PATH_TEXT_H_

#include <string>

namespace pellmar {

/// The path of the entry `name` in `folder`: one "\" between them, none
/// added after a folder that ends in one ("E:\" and "a" give "E:\a").
inline std::string ChildPath(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

/// A namespace path without the backslashes that end it, but for a root's
/// ("E:\" stays).
std::string WithoutTrailingSeparators(std::string path);

/// The folder above a namespace path, or the path itself for a root ("E:\",
/// "E:", "\\server\share") and for a bare name. A trailing "\" names the
/// folder before it.
std::string ParentFolder(std::string path);

/// A listing pattern split after its last separator ("\", "/" or the colon
/// of "E:*"): `folder` keeps that separator and is empty for a bare mask.
struct PatternParts {
  std::string folder;
  std::string mask;
};
PatternParts SplitPattern(const std::string& pattern);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_PATH_TEXT_H_
