// Splitting namespace paths into folder and name.
#include "platform/path_text.h"

namespace pellmar {

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string ParentFolder(std::string path) {
  path = WithoutTrailingSeparators(std::move(path));
  const size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return path;
  if (path.compare(0, 2, "\\\\") == 0 && path.find('\\', 2) >= cut) return path;  // a share
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);                       // "E:\x"
  return cut == 0 ? path : path.substr(0, cut);
}

PatternParts SplitPattern(const std::string& pattern) {
  const size_t cut = pattern.find_last_of("\\/:");
  if (cut == std::string::npos) return {"", pattern};
  return {pattern.substr(0, cut + 1), pattern.substr(cut + 1)};
}

}  // namespace pellmar
