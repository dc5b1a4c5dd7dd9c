// The drive part of a path.
#include "core/drive_part.h"

namespace pellmar {

std::string DrivePart(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.rfind("\\\\", 0) != 0) return {};
  // Two backslashes, the server, one backslash and the share name.
  const size_t server_end = path.find('\\', 2);
  if (server_end == std::string::npos) return path;
  const size_t share_end = path.find('\\', server_end + 1);
  return share_end == std::string::npos ? path : path.substr(0, share_end);
}

}  // namespace pellmar
