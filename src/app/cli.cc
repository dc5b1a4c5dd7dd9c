// The command line: options, the verb table, and the window when no verb
// is given. A new verb is one line in kVerbs and one in the usage text, plus
// its function in a file of its own.
#include "app/cli.h"

#include <iostream>
#include <string>
#include <vector>

#include "app/drives_command.h"
#include "app/exit_codes.h"
#include "app/gui.h"
#include "app/status_command.h"
#include "app/sync_commands.h"
#include "app/usage.h"
#include "core/version.h"

namespace pellmar {
namespace {

struct Verb {
  const char* name;
  int (*run)(Platform& platform, const std::vector<std::string>& args);
};

constexpr Verb kVerbs[] = {
    {"drives", RunDrivesCommand}, {"list", RunListCommand},     {"send", RunSendCommand},
    {"load", RunLoadCommand},     {"status", RunStatusCommand},
};

int RunWindowIfPossible(int argc, char** argv, Platform& platform) {
  // A toolkit would abort without a display; a plain sentence serves better.
  if (!CanShowWindow()) {
    std::cerr << "pellmar: no display found (DISPLAY/WAYLAND_DISPLAY unset); the window needs a "
                 "graphical session. Try 'pellmar --help' for the command line.\n";
    return kExitIncomplete;
  }
  return RunWindow(argc, argv, platform);
}

}  // namespace

int RunPellmar(int argc, char** argv, Platform& platform) {
  if (argc < 2) return RunWindowIfPossible(argc, argv, platform);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string& first = args[0];
  if (first == "--version") {
    std::cout << "Pellmar " << kVersionText << "\n";
    return kExitComplete;
  }
  if (first == "--help" || first == "-h") {
    PrintUsage(std::cout);
    return kExitComplete;
  }
  for (const Verb& verb : kVerbs) {
    if (first == verb.name) return verb.run(platform, {args.begin() + 1, args.end()});
  }
  if (!first.empty() && first[0] == '-') return UsageError("unknown option '" + first + "'");
  return UsageError("unknown verb '" + first + "'");
}

}  // namespace pellmar
