// The window entry of the Windows build, which has the command line only so
// far: the native window is its own unit. Asked for the window, the program
// says so plainly and points to the verbs.
#include <iostream>

#include "app/exit_codes.h"
#include "app/gui.h"

namespace pellmar {

int RunWindow(int, char**, Platform&) {
  std::cerr << "pellmar: this build has no window yet; 'pellmar --help' lists the verbs of the "
               "command line.\n";
  return kExitIncomplete;
}

}  // namespace pellmar
