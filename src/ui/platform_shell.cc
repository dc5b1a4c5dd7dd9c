// "open" is the one verb the window uses; the desktop picks the program.
#include "ui/platform_shell.h"

namespace pellmar {

bool PlatformShell::Execute(const std::string& verb, const std::string& file,
                            const std::string& parameters, const std::string& directory,
                            int /*show*/) {
  // The desktop decides how a window first appears; there is no show state
  // to hand on.
  if (verb != "open") return false;
  return platform_.ShellOpen(file, parameters, directory).ok();
}

}  // namespace pellmar
