// Link targets on POSIX, as the settings save resolves them.
#include "app/link_target.h"

#include "platform/posix/host_files.h"

namespace pellmar {

std::optional<std::string> LinkTarget(const std::string& host_path) {
  std::string target = FollowLink(host_path);
  if (target == host_path) return std::nullopt;
  return target;
}

}  // namespace pellmar
