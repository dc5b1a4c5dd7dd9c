// Reading and writing the settings file.
#include "core/settings_file.h"

#include <memory>

#include "core/folder_text.h"
#include "core/ini_file.h"
#include "core/version.h"
#include "platform/ascii.h"

namespace pellmar {

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kVersionSection = "Settings";
constexpr const char* kSettingsFileName = "Pellmar.ini";
constexpr const char* kBackupSuffix = ".bak";
constexpr const char* kLockSuffix = ".lock";
// The entry keys that hold text, without their number.
constexpr const char* kFolderKey = "SyncItem";
constexpr const char* kMediaKey = "Path in mobile disk";
constexpr const char* kExcludeKey = "Extensions of excluded files";
constexpr const char* kMountKey = "MountCommand";

// Per-entry keys end in the entry's number: "Duration" + n.
std::string Key(const char* name, int n) { return name + std::to_string(n); }

// A folder without its trailing backslash, except a drive root (C:\).
std::string WithoutTrailingBackslash(const std::string& folder) {
  const bool drive_root = folder.size() == 3 && folder[1] == ':';
  if (drive_root || folder.empty() || folder.back() != '\\') return folder;
  return folder.substr(0, folder.size() - 1);
}

// A value of entry n that the file held longer than a read returns is
// noted, with the whole of it, so the entry is never run and the save can
// give the file back what it held.
void NoteIfCut(const IniFile& ini, const char* name, int n, const std::string& read,
               SyncEntry* entry) {
  const std::string key = Key(name, n);
  if (const std::optional<size_t> length = ini.CutLength(kSection, key)) {
    entry->cut_values.push_back({name, key, *length, read, ini.ReadWholeString(kSection, key, "")});
  }
}

SyncEntry ReadEntry(const IniFile& ini, int n, const std::string& folder,
                    const std::string& global_mount, CodePage cp) {
  SyncEntry entry;
  entry.duration = ini.ReadInteger(kSection, Key("Duration", n), 7);
  entry.removable_folder = NormalFolder(ini.ReadString(kSection, Key(kMediaKey, n), ""), cp);
  entry.exclusion_text = ini.ReadString(kSection, Key(kExcludeKey, n), "ini, bak");
  entry.mount_command = ini.ReadString(kSection, Key(kMountKey, n), global_mount);
  entry.auto_delete = ini.ReadBool(kSection, Key("AutoDelete", n), true);
  entry.use_zip = ini.ReadBool(kSection, Key("UseZip", n), true);
  NoteIfCut(ini, kFolderKey, n, folder, &entry);
  NoteIfCut(ini, kMediaKey, n, entry.removable_folder, &entry);
  NoteIfCut(ini, kExcludeKey, n, entry.exclusion_text, &entry);
  NoteIfCut(ini, kMountKey, n, entry.mount_command, &entry);
  return entry;
}

// What to write for a value of `entry`: the whole value the file held when
// the entry still holds what a cut read left of it, else the value itself.
const std::string& Whole(const SyncEntry& entry, const char* name, const std::string& value) {
  for (const CutValue& cut : entry.cut_values) {
    if (cut.name == name && cut.read == value) return cut.whole;
  }
  return value;
}

void WriteEntry(IniFile& ini, int n, const std::string& folder, const SyncEntry& entry) {
  ini.WriteString(kSection, Key(kFolderKey, n), Whole(entry, kFolderKey, folder));
  ini.WriteString(kSection, Key(kMediaKey, n), Whole(entry, kMediaKey, entry.removable_folder));
  ini.WriteString(kSection, Key(kExcludeKey, n), Whole(entry, kExcludeKey, entry.exclusion_text));
  ini.WriteString(kSection, Key(kMountKey, n), Whole(entry, kMountKey, entry.mount_command));
  ini.WriteInteger(kSection, Key("Duration", n), entry.duration);
  ini.WriteBool(kSection, Key("AutoDelete", n), entry.auto_delete);
  ini.WriteBool(kSection, Key("UseZip", n), entry.use_zip);
}

// The non-empty "SyncItem" keys numbered past the last slot. Their entries
// have no room in the table, so the save would drop them.
int EntriesBeyondLimit(const IniFile& ini) {
  const std::string_view prefix = kFolderKey;
  int count = 0;
  for (const std::string& key : ini.KeyNames(kSection)) {
    if (key.size() <= prefix.size() || !EqualsIgnoreCase(key.substr(0, prefix.size()), prefix)) {
      continue;
    }
    const std::string digits = key.substr(prefix.size());
    if (digits.find_first_not_of("0123456789") != std::string::npos) continue;
    // Too many digits for a number is far past the last slot too.
    const std::optional<int32_t> number = IniFile::ParseInteger(digits);
    const bool beyond = !number || *number > EntryTable::kMaxEntries;
    if (beyond && !ini.ReadString(kSection, key, "").empty()) ++count;
  }
  return count;
}

// Copies the settings file as it is now to "<file>.bak" beside it, in one
// atomic replace. No file, nothing to keep; a file that cannot be read
// cannot be kept, and then nothing may be written over it.
Status KeepBackup(Platform& platform, const std::string& path) {
  std::string contents;
  const Status read = platform.ReadWholeFile(path, &contents);
  if (read.code == kErrorFileNotFound || read.code == kErrorPathNotFound) return Status::Ok();
  const std::string backup = SettingsBackupPath(path);
  Status kept = read.ok() ? platform.WriteWholeFile(backup, contents) : read;
  if (!kept.ok()) kept.message = "no copy of it could be kept as " + backup + ": " + kept.message;
  return kept;
}

}  // namespace

bool SameSettings(const StoredSettings& a, const StoredSettings& b) {
  if (a.project_folders != b.project_folders) return false;
  for (int n = 1; n <= static_cast<int>(a.project_folders.size()); ++n) {
    if (!(a.entries.slot(n) == b.entries.slot(n))) return false;
  }
  return a.loaded == b.loaded && a.home_folder == b.home_folder &&
         a.mount_command == b.mount_command && a.auto_umount == b.auto_umount &&
         a.lib_dir == b.lib_dir && a.ignore_hour_shift == b.ignore_hour_shift &&
         a.keep_replaced == b.keep_replaced;
}

std::string SettingsBackupPath(const std::string& path) { return path + kBackupSuffix; }

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
  settings.file.entries_beyond_limit = EntriesBeyondLimit(ini);
  settings.file.backup_due = ini.HasUnreadableParts() || settings.file.entries_beyond_limit > 0;
  settings.file.known_bytes = ini.file_bytes();
  const std::string global_mount = ini.ReadString(kSection, kMountKey, "");
  // Each non-empty "SyncItem" n becomes the next entry, filled from the keys
  // ending in that same n. A hand-edited file with gaps thus keeps every
  // folder next to its own settings. Folders are read without their "."
  // and ".." steps: "D:\Work\Beta\.." is the project "Work", never "..".
  for (int n = 1; n <= EntryTable::kMaxEntries; ++n) {
    const std::string folder = ini.ReadString(kSection, Key(kFolderKey, n), "");
    if (folder.empty()) continue;
    settings.project_folders.push_back(NormalFolder(folder, cp));
    settings.entries.slot(static_cast<int>(settings.project_folders.size())) =
        ReadEntry(ini, n, settings.project_folders.back(), global_mount, cp);
  }
  settings.loaded = ini.ReadInteger(kSection, "Loaded", 1);
  settings.home_folder =
      ini.ReadString(kSection, "HomeFolder", WithoutTrailingBackslash(program_dir));
  settings.mount_command = global_mount;
  settings.auto_umount = ini.ReadBool(kSection, "AutoUmount", false);
  settings.lib_dir = ini.ReadString(kSection, "LibDir", "");
  settings.ignore_hour_shift = ini.ReadBool(kSection, "IgnoreHourShift", true);
  settings.keep_replaced = ini.ReadBool(kSection, "KeepReplaced", true);
  return settings;
}

Status WriteSettings(Platform& platform, const std::string& path, StoredSettings& settings,
                     bool* other_version_kept) {
  *other_version_kept = false;
  // The lock is taken on a file of its own beside the settings. A save puts
  // a new settings file in place by renaming it over the old one, so a lock
  // on the settings file itself would hold a file the next save replaces:
  // a second saver would open and lock the new file while the first still
  // holds the old, and both would write.
  std::unique_ptr<Platform::FileLock> lock;
  if (Status locked = platform.LockFile(path + kLockSuffix, &lock); !locked.ok()) return locked;
  IniFile ini(platform, path);
  // What the load could not read is kept once: a later save of this run
  // would otherwise keep this run's own file in its place. A file that
  // another program wrote meanwhile is kept whatever it holds: this save
  // writes over what they wrote.
  const bool changed_meanwhile = ini.file_bytes() != settings.file.known_bytes;
  if (settings.file.backup_due || changed_meanwhile) {
    const Status kept = KeepBackup(platform, path);
    if (!kept.ok()) return kept;
    settings.file.backup_due = false;
    *other_version_kept = changed_meanwhile && !ini.file_bytes().empty();
  }
  ini.EraseSection(kSection);
  for (size_t i = 0; i < settings.project_folders.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    WriteEntry(ini, n, settings.project_folders[i], settings.entries.slot(n));
    ini.WriteFloat(kVersionSection, "Version", kVersionNumber);
  }
  ini.WriteInteger(kSection, "Loaded", settings.loaded);
  ini.WriteString(kSection, "HomeFolder", settings.home_folder);
  ini.WriteString(kSection, kMountKey, settings.mount_command);
  ini.WriteString(kSection, "LibDir", settings.lib_dir);
  ini.WriteBool(kSection, "AutoUmount", settings.auto_umount);
  ini.WriteBool(kSection, "IgnoreHourShift", settings.ignore_hour_shift);
  ini.WriteBool(kSection, "KeepReplaced", settings.keep_replaced);
  const Status written = ini.UpdateFile();
  if (written.ok()) settings.file.known_bytes = ini.file_bytes();
  return written;
}

}  // namespace pellmar
