// `pellmar drives`: how the Windows namespace maps onto this machine, so a
// user can see which letter a stick has and where the settings file lives.
#ifndef PELLMAR_APP_DRIVES_COMMAND_H_
#define PELLMAR_APP_DRIVES_COMMAND_H_

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

/// Runs the verb; `args` follow the verb (none allowed).
int RunDrivesCommand(Platform& platform, const std::vector<std::string>& args);

/// Writes the report: every drive letter with its host folder, its state
/// and its medium's label and identity, the Documents folder, the settings
/// file, the memory of media beside it and the program directory.
void PrintDrives(Platform& platform, std::ostream& out);

}  // namespace pellmar

#endif  // PELLMAR_APP_DRIVES_COMMAND_H_
