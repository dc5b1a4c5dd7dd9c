// The command line: options, the verb table, and the window when no verb
// is given. A new verb is one line in kVerbs plus its function in a file of
// its own.
#include "app/cli.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/drives_command.h"
#include "app/gui.h"
#include "app/sync_commands.h"

namespace pellmar {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitNoDisplay = 1;
constexpr int kExitBadUsage = 2;

struct Verb {
  const char* name;
  int (*run)(const std::vector<std::string>& args);
  const char* usage;  // --help lines; "" when another verb's lines cover it
};

constexpr Verb kVerbs[] = {
    {"drives", RunDrivesCommand, kDrivesCommandUsage},
    {"list", RunListCommand, kSyncCommandsUsage},
    {"send", RunSendCommand, ""},
    {"load", RunLoadCommand, ""},
};

void PrintUsage(std::ostream& out) {
  out << "Usage: pellmar [VERB [ARGUMENTS]]\n"
         "Without a verb, Pellmar opens its window.\n"
         "Verbs:\n";
  for (const Verb& verb : kVerbs) out << verb.usage;
  out << "Options:\n"
         "  --version                      print the version\n"
         "  --help                         print this text\n";
}

bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int RunWindowIfPossible(int argc, char** argv) {
  // Qt would abort without a display; a plain sentence serves better.
  if (!HasDisplay()) {
    std::cerr << "pellmar: no display found (DISPLAY/WAYLAND_DISPLAY unset); the window needs a "
                 "graphical session. Try 'pellmar --help' for the command line.\n";
    return kExitNoDisplay;
  }
  std::unique_ptr<Platform> platform = NewHostPlatform();
  return RunWindow(argc, argv, *platform);
}

int UsageError(const std::string& what) {
  std::cerr << "pellmar: " << what << "\n";
  PrintUsage(std::cerr);
  return kExitBadUsage;
}

}  // namespace

int RunPellmar(int argc, char** argv) {
  if (argc < 2) return RunWindowIfPossible(argc, argv);
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string& first = args[0];
  if (first == "--version") {
    std::cout << "Pellmar 1.1\n";
    return kExitOk;
  }
  if (first == "--help" || first == "-h") {
    PrintUsage(std::cout);
    return kExitOk;
  }
  for (const Verb& verb : kVerbs) {
    if (first == verb.name) return verb.run({args.begin() + 1, args.end()});
  }
  if (!first.empty() && first[0] == '-') return UsageError("unknown option '" + first + "'");
  return UsageError("unknown verb '" + first + "'");
}

}  // namespace pellmar
