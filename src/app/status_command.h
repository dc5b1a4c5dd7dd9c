// `pellmar status [PROJECT]`: what Send and Load of each project would do
// now, one line a project, without changing anything on any disk.
#ifndef PELLMAR_APP_STATUS_COMMAND_H_
#define PELLMAR_APP_STATUS_COMMAND_H_

#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

/// Prints, for every project (or the one named), the files and bytes Send
/// and Load would copy, the files auto-delete would remove, the conflicts
/// and the removable disk: aligned on a terminal, else tab-separated under
/// one header line; then the conflicting files. Exits 1 when a project
/// could not be counted whole, naming it and why on stderr.
int RunStatusCommand(Platform& platform, const std::vector<std::string>& args);

}  // namespace pellmar

#endif  // PELLMAR_APP_STATUS_COMMAND_H_
