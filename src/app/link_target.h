// Where a file reached through a link really is: the settings file may be
// a link into a folder kept elsewhere, and a save writes the file the link
// leads to, the very rule the platform's save follows.
#ifndef PELLMAR_APP_LINK_TARGET_H_
#define PELLMAR_APP_LINK_TARGET_H_

#include <optional>
#include <string>

namespace pellmar {

/// The host path of the file a link at `host_path` leads to; nullopt when
/// `host_path` is no link, or a link that leads nowhere.
std::optional<std::string> LinkTarget(const std::string& host_path);

}  // namespace pellmar

#endif  // PELLMAR_APP_LINK_TARGET_H_
