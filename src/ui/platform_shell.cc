// "open" is the one verb the window uses; the desktop picks the program.
#include "ui/platform_shell.h"

namespace pellmar {

void PlatformShell::Execute(const std::string& verb, const std::string& file,
                            const std::string& parameters, const std::string& directory,
                            int /*show*/) {
  // The desktop decides how a window first appears; there is no show state
  // to hand on.
  if (verb != "open") return;
  // Like the shell call it stands for, the outcome is not looked at: a
  // missing page or program shows no message of ours.
  (void)platform_.ShellOpen(file, parameters, directory);
}

}  // namespace pellmar
