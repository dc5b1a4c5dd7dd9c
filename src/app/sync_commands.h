// The command-line verbs on the entries of the settings file: `list` prints
// them, `send` and `load` select one and press Send or Load, exactly as a
// user of the window would, then save what the run changed in the settings.
#ifndef PELLMAR_APP_SYNC_COMMANDS_H_
#define PELLMAR_APP_SYNC_COMMANDS_H_

#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

/// `pellmar list`: one entry a line, tab-separated: position, project name,
/// project folder as the list shows it, absolute project folder, removable
/// folder, days, auto-delete (0/1), exclusion text. `args` follow the verb.
int RunListCommand(Platform& platform, const std::vector<std::string>& args);
/// `pellmar send PROJECT [--yes] [--dry-run] [--quiet] [--eject]`: PROJECT
/// is a listed name or a position; --eject ejects its removable disk after
/// a run that reached it.
int RunSendCommand(Platform& platform, const std::vector<std::string>& args);
/// `pellmar load PROJECT [--yes] [--dry-run] [--quiet] [--eject]`.
int RunLoadCommand(Platform& platform, const std::vector<std::string>& args);

}  // namespace pellmar

#endif  // PELLMAR_APP_SYNC_COMMANDS_H_
