// Namespace path text that every layer builds the same way.
#ifndef PELLMAR_PLATFORM_PATH_TEXT_H_
#define PELLMAR_PLATFORM_PATH_TEXT_H_

#include <string>

namespace pellmar {

/// The path of the entry `name` in `folder`: one "\" between them, none
/// added after a folder that ends in one ("E:\" and "a" give "E:\a").
inline std::string ChildPath(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_PATH_TEXT_H_
