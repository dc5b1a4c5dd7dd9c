// Terminals on POSIX: isatty, the window size, and TERM=dumb for one that
// takes no control sequences.
#include "app/terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace pellmar {
namespace {

int DescriptorOf(Output output) {
  return output == Output::kStdout ? STDOUT_FILENO : STDERR_FILENO;
}

}  // namespace

bool IsTerminal(Output output) {
  if (isatty(DescriptorOf(output)) == 0) return false;
  const char* term = std::getenv("TERM");
  return term == nullptr || std::strcmp(term, "dumb") != 0;
}

int TerminalColumns(Output output) {
  struct winsize size = {};
  if (ioctl(DescriptorOf(output), TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

}  // namespace pellmar
