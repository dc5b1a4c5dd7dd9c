// Reading and writing the settings file.
#include "core/settings_file.h"

#include "core/folder_text.h"
#include "core/version.h"
#include "platform/ini_file.h"

namespace pellmar {

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kVersionSection = "Settings";
constexpr const char* kSettingsFileName = "Pellmar.ini";
constexpr const char* kBackupSuffix = ".bak";

// Per-entry keys end in the entry's number: "Duration" + n.
std::string Key(const char* name, int n) { return name + std::to_string(n); }

// A folder without its trailing backslash, except a drive root (C:\).
std::string WithoutTrailingBackslash(const std::string& folder) {
  const bool drive_root = folder.size() == 3 && folder[1] == ':';
  if (drive_root || folder.empty() || folder.back() != '\\') return folder;
  return folder.substr(0, folder.size() - 1);
}

SyncEntry ReadEntry(const IniFile& ini, int n, const std::string& global_mount, CodePage cp) {
  SyncEntry entry;
  entry.duration = ini.ReadInteger(kSection, Key("Duration", n), 7);
  entry.removable_folder =
      NormalFolder(ini.ReadString(kSection, Key("Path in mobile disk", n), ""), cp);
  entry.exclusion_text =
      ini.ReadString(kSection, Key("Extensions of excluded files", n), "ini, bak");
  entry.mount_command = ini.ReadString(kSection, Key("MountCommand", n), global_mount);
  entry.auto_delete = ini.ReadBool(kSection, Key("AutoDelete", n), true);
  entry.use_zip = ini.ReadBool(kSection, Key("UseZip", n), true);
  return entry;
}

void WriteEntry(IniFile& ini, int n, const std::string& folder, const SyncEntry& entry) {
  ini.WriteString(kSection, Key("SyncItem", n), folder);
  ini.WriteString(kSection, Key("Path in mobile disk", n), entry.removable_folder);
  ini.WriteString(kSection, Key("Extensions of excluded files", n), entry.exclusion_text);
  ini.WriteString(kSection, Key("MountCommand", n), entry.mount_command);
  ini.WriteInteger(kSection, Key("Duration", n), entry.duration);
  ini.WriteBool(kSection, Key("AutoDelete", n), entry.auto_delete);
  ini.WriteBool(kSection, Key("UseZip", n), entry.use_zip);
}

// Copies the settings file as it is now to "<file>.bak" beside it, in one
// atomic replace. No file, nothing to keep; a file that cannot be read
// cannot be kept, and then nothing may be written over it.
Status KeepBackup(Platform& platform, const std::string& path) {
  std::string contents;
  const Status read = platform.ReadWholeFile(path, &contents);
  if (read.code == kErrorFileNotFound || read.code == kErrorPathNotFound) return Status::Ok();
  const std::string backup = path + kBackupSuffix;
  Status kept = read.ok() ? platform.WriteWholeFile(backup, contents) : read;
  if (!kept.ok()) kept.message = "no copy of it could be kept as " + backup + ": " + kept.message;
  return kept;
}

}  // namespace

std::string FolderWithSeparator(const std::string& path, CodePage cp) {
  return path.substr(0, path.size() - LastPathComponent(path, cp).size());
}

std::string SettingsFilePath(Platform& platform, const std::string& documents,
                             const std::string& program_dir, CodePage cp) {
  const std::string per_user = FolderWithSeparator(documents, cp) + "Application Data";
  if (platform.FolderExists(per_user)) return per_user + "\\" + kSettingsFileName;
  return program_dir + kSettingsFileName;
}

StoredSettings ReadSettings(Platform& platform, const std::string& path,
                            const std::string& program_dir) {
  const IniFile ini(platform, path);
  const CodePage cp{platform.AnsiCodePage()};
  StoredSettings settings;
  // What this run could not read would be gone after the save; the old file
  // is kept instead.
  settings.backup_due = ini.HasUnreadableParts();
  const std::string global_mount = ini.ReadString(kSection, "MountCommand", "");
  // Each non-empty "SyncItem" n becomes the next entry, filled from the keys
  // ending in that same n. A hand-edited file with gaps thus keeps every
  // folder next to its own settings. Folders are read without their "."
  // and ".." steps: "D:\Work\Beta\.." is the project "Work", never "..".
  for (int n = 1; n <= EntryTable::kMaxEntries; ++n) {
    const std::string folder = ini.ReadString(kSection, Key("SyncItem", n), "");
    if (folder.empty()) continue;
    settings.project_folders.push_back(NormalFolder(folder, cp));
    settings.entries.slot(static_cast<int>(settings.project_folders.size())) =
        ReadEntry(ini, n, global_mount, cp);
  }
  settings.loaded = ini.ReadInteger(kSection, "Loaded", 1);
  settings.home_folder =
      ini.ReadString(kSection, "HomeFolder", WithoutTrailingBackslash(program_dir));
  settings.mount_command = global_mount;
  settings.auto_umount = ini.ReadBool(kSection, "AutoUmount", false);
  settings.lib_dir = ini.ReadString(kSection, "LibDir", "");
  settings.ignore_hour_shift = ini.ReadBool(kSection, "IgnoreHourShift", true);
  return settings;
}

Status WriteSettings(Platform& platform, const std::string& path, StoredSettings& settings) {
  IniFile ini(platform, path);
  // What the load could not read is kept once: a later save of this run
  // would otherwise keep this run's own file in its place. A file that is
  // not understood now is kept whenever it is met.
  if (settings.backup_due || ini.HasUnreadableParts()) {
    const Status kept = KeepBackup(platform, path);
    if (!kept.ok()) return kept;
    settings.backup_due = false;
  }
  ini.EraseSection(kSection);
  for (size_t i = 0; i < settings.project_folders.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    WriteEntry(ini, n, settings.project_folders[i], settings.entries.slot(n));
    ini.WriteFloat(kVersionSection, "Version", kVersionNumber);
  }
  ini.WriteInteger(kSection, "Loaded", settings.loaded);
  ini.WriteString(kSection, "HomeFolder", settings.home_folder);
  ini.WriteString(kSection, "MountCommand", settings.mount_command);
  ini.WriteString(kSection, "LibDir", settings.lib_dir);
  ini.WriteBool(kSection, "AutoUmount", settings.auto_umount);
  ini.WriteBool(kSection, "IgnoreHourShift", settings.ignore_hour_shift);
  return ini.UpdateFile();
}

}  // namespace pellmar
