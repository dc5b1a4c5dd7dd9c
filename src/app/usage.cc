// The usage text of every verb in one place.
#include "app/usage.h"

#include <iostream>

#include "app/exit_codes.h"

namespace pellmar {

void PrintUsage(std::ostream& out) {
  out << "Usage: pellmar [VERB [ARGUMENTS]]\n"
         "Without a verb, Pellmar opens its window.\n"
         "Verbs:\n"
         "  pellmar drives                 drive letters, Documents, settings file, program "
         "directory\n"
         "  pellmar list                   the entries, one a line, tab-separated\n"
         "  pellmar send PROJECT [--yes] [--dry-run] [--quiet] [--eject]   Send of one entry (its "
         "name or position)\n"
         "  pellmar load PROJECT [--yes] [--dry-run] [--quiet] [--eject]   Load of one entry\n"
         "    --yes answers Yes when asked to create a missing removable folder\n"
         "    --dry-run shows what would be copied, replaced and deleted and changes nothing\n"
         "    --quiet shows no progress line on a terminal\n"
         "    --eject unmounts and powers off the removable disk after the run, so that it can\n"
         "    be pulled out (not after a run that was refused, stopped or lost the disk)\n"
         "    Ctrl+C (or SIGTERM) stops after the current file (exit 130, 143); a second Ctrl+C\n"
         "    ends at once.\n"
         "  pellmar status [PROJECT]       what Send and Load of each entry (or one) would copy,\n"
         "    what auto-delete would remove, the conflicts and the disk; changes nothing.\n"
         "    Tab-separated with a header line unless on a terminal; the conflicting files\n"
         "    follow the table. Exit 1 when a project could not be counted whole.\n"
         "Options:\n"
         "  --version                      print the version\n"
         "  --help                         print this text\n";
}

int UsageError(const std::string& what) {
  std::cerr << "pellmar: " << what << "\n";
  PrintUsage(std::cerr);
  return kExitUsage;
}

}  // namespace pellmar
