// The drives report. The settings file is located by the rule start-up
// uses, the very same function.
#include "app/drives_command.h"

#include <iomanip>
#include <iostream>

#include "app/exit_codes.h"
#include "app/link_target.h"
#include "app/usage.h"
#include "core/project_medium.h"
#include "core/settings_file.h"

namespace pellmar {

namespace {

// One labelled path: its namespace spelling, then where it is on the host.
void PrintPath(Platform& platform, std::ostream& out, const char* label, const std::string& path) {
  out << std::left << std::setw(20) << label << (path.empty() ? "(unknown)" : path) << "\n";
  if (path.empty()) return;
  const std::optional<std::string> host = platform.HostPath(path);
  out << std::setw(20) << "" << (host ? *host : "(not reachable now)") << "\n";
  if (!host) return;
  // A link there is followed by every read and save: what it leads to is
  // where the file really is.
  if (const std::optional<std::string> target = LinkTarget(*host)) {
    out << std::setw(20) << ""
        << "a link to " << *target << "\n";
  }
}

// The medium's label and what tells it apart, where the host knows them.
std::string MediumText(const MediumIdentity& medium) {
  std::string text;
  if (!medium.label.empty()) text += " \"" + medium.label + "\"";
  if (!medium.key.empty()) text += " " + medium.key;
  return text;
}

}  // namespace

void PrintDrives(Platform& platform, std::ostream& out) {
  out << "Drive letters:\n";
  for (const DriveMapping& drive : platform.Drives()) {
    out << "  " << std::left << std::setw(4) << drive.drive << std::setw(40) << drive.host_path
        << " " << std::setw(8) << (drive.mounted ? "mounted" : "absent") << " " << drive.origin
        << MediumText(drive.medium) << "\n";
  }
  const std::string program_dir = FolderWithSeparator(platform.ExecutablePath());
  const std::string settings = SettingsFilePath(platform, platform.DocumentsFolder(), program_dir);
  PrintPath(platform, out, "Documents folder:", platform.DocumentsFolder());
  PrintPath(platform, out, "Settings file:", settings);
  const std::string memory_path = MediumMemoryPath(settings);
  PrintPath(platform, out, "Disk memory:", memory_path);
  MediumMemory memory;
  if (const Status read = ReadMediumMemory(platform, memory_path, &memory); !read.ok()) {
    out << std::setw(20) << ""
        << "cannot be used: " << read.message << "\n";
  }
  PrintPath(platform, out, "Run memory:", platform.StateFolder());
  PrintPath(platform, out, "Program directory:", program_dir);
}

int RunDrivesCommand(Platform& platform, const std::vector<std::string>& args) {
  if (!args.empty()) return UsageError("drives takes no arguments");
  PrintDrives(platform, std::cout);
  return kExitComplete;
}

}  // namespace pellmar
