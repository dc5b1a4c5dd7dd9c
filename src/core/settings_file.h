// The settings file "Pellmar.ini": where it is, and the entries and global
// values it holds. The window, the command line and `pellmar drives` all go
// through here, so the file is found, read and written by one set of rules.
#ifndef PELLMAR_CORE_SETTINGS_FILE_H_
#define PELLMAR_CORE_SETTINGS_FILE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/entry_table.h"
#include "core/text_ops.h"
#include "platform/platform.h"

namespace pellmar {

/// The path up to and including its last separator: the folder of a file
/// with its trailing backslash ("" for a bare name).
std::string FolderWithSeparator(const std::string& path, CodePage cp = {});

/// "Pellmar.ini" in "Application Data" beside the Documents folder when that
/// folder exists, else in the program directory (which ends in "\").
std::string SettingsFilePath(Platform& platform, const std::string& documents,
                             const std::string& program_dir, CodePage cp = {});

/// What a process knows of the settings file itself, carried from the read
/// to every save of the run.
struct SettingsFileState {
  /// The file held parts this run could not read; it is kept as ".bak"
  /// before the first save writes over it.
  bool backup_due = false;
  /// The file's bytes as this process last read or wrote them; empty when
  /// there was no file or it could not be read.
  std::string known_bytes;
  /// Entries the read found numbered past the last slot: they are not
  /// loaded, so the save leaves them out, and the backup keeps them.
  int entries_beyond_limit = 0;
};

/// Everything the settings file holds.
struct StoredSettings {
  std::vector<std::string> project_folders;  // absolute, in list order
  EntryTable entries;                        // slot n + 1 for project_folders[n]
  int32_t loaded = 1;  // "Loaded": 1 starts an entry's focus on Send, else on Load; kept as read
  std::string home_folder;
  std::string mount_command;
  bool auto_umount = false;
  std::string lib_dir;
  bool ignore_hour_shift = true;  // see SyncWindow::IgnoreHourShift
  bool keep_replaced = true;      // see SyncWindow::KeepReplaced
  SettingsFileState file;
};

/// True when `a` and `b` hold the same values, entries and globals alike;
/// what is known of the file itself is not compared.
bool SameSettings(const StoredSettings& a, const StoredSettings& b);

/// The backup beside the settings file at `path`.
std::string SettingsBackupPath(const std::string& path);

/// Reads the file at `path`; every missing key takes its default (the home
/// folder's is the program directory without its trailing backslash).
StoredSettings ReadSettings(Platform& platform, const std::string& path,
                            const std::string& program_dir);

/// Writes `settings` into the file at `path`, keeping what else it holds,
/// in one atomic replace, under the lock every save of the settings takes.
/// Keeps the old file as ".bak" first when the read found parts it did not
/// understand (and clears `backup_due` once it is kept), or when another
/// program wrote the file since this process last read or wrote it; that
/// sets `*other_version_kept`. Values the read could only cut are written
/// back whole.
Status WriteSettings(Platform& platform, const std::string& path, StoredSettings& settings,
                     bool* other_version_kept);

}  // namespace pellmar

#endif  // PELLMAR_CORE_SETTINGS_FILE_H_
