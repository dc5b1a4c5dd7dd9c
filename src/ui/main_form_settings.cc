// Start-up and shut-down of the main window: FormCreate reads the settings
// file and the language file, FormClose writes the settings file back.
//
// The settings file is read once here and written only when the window is
// asked to close; the save replaces the whole file in one rename.
#include <string>

#include "core/language_file.h"
#include "core/relative_path.h"
#include "core/version.h"
#include "platform/ini_file.h"
#include "ui/main_form.h"

namespace pellmar {

namespace {

constexpr const char* kSection = "Setting";
constexpr const char* kVersionSection = "Settings";
constexpr const char* kSettingsFileName = "Pellmar.ini";
constexpr const char* kBackupSuffix = ".bak";

// Per-entry keys end in the entry's number: "Duration" + n.
std::string Key(const char* name, int n) { return name + std::to_string(n); }

// The folder part of a path, with its trailing separator.
std::string FolderPart(const std::string& path, CodePage cp) {
  return path.substr(0, path.size() - LastPathComponent(path, cp).size());
}

// A folder without its trailing backslash, except a drive root (C:\).
std::string WithoutTrailingBackslash(const std::string& folder) {
  const bool drive_root = folder.size() == 3 && folder[1] == ':';
  if (drive_root || folder.empty() || folder.back() != '\\') return folder;
  return folder.substr(0, folder.size() - 1);
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

void TMain::FormCreate() {
  messages_.FillDefaults();
  documents_ = platform_.DocumentsFolder();
  chkZip.SetVisible(false);
  const std::string executable = platform_.ExecutablePath();
  program_dir_ = FolderPart(executable, code_page());
  separator_ = "\\";
  settings_path_ = LocateSettingsFile();
  language_path_ = LanguageFilePath(executable);
  if (const Status version = platform_.QueryVersion(); !version.ok()) {
    // The code is shown signed, as the system reports it; the text is built
    // by joining, never through a format string.
    const auto code = static_cast<int32_t>(version.code);
    ShowMessage("Sorry..!Can't Getversion\r\nCode:" + std::to_string(code));
  }
  LoadSettings();
  ApplyLanguage();
  PlaceSpinEdit();
  caption_ = std::string("Pellmar ver. ") + kVersionText;
  last_refused_index_ = -1;
}

std::string TMain::LocateSettingsFile() {
  const std::string per_user = FolderPart(documents_, code_page()) + "Application Data";
  if (platform_.FolderExists(per_user)) return per_user + "\\" + kSettingsFileName;
  return program_dir_ + kSettingsFileName;
}

void TMain::LoadSettings() {
  const IniFile ini(platform_, settings_path_);
  // What this run could not read would be gone after the save; the old file
  // is kept instead (SaveSettings).
  settings_backup_due_ = ini.HasUnreadableParts();
  const std::string global_mount = ini.ReadString(kSection, "MountCommand", "");
  // Each non-empty "SyncItem" n becomes the next line of both lists and the
  // next slot, filled from the keys ending in that same n. A hand-edited
  // file with gaps thus keeps every line next to its own settings.
  int s = 0;
  for (int n = 1; n <= EntryTable::kMaxEntries; ++n) {
    const std::string folder = ini.ReadString(kSection, Key("SyncItem", n), "");
    if (folder.empty()) continue;
    ++s;
    ListBox2.Append(LastPathComponent(folder, code_page()));
    ListBox1.Append(MakeDocumentsRelative(documents_, folder, code_page()));
    SyncEntry& entry = entries_.slot(s);
    entry.duration = ini.ReadInteger(kSection, Key("Duration", n), 7);
    entry.removable_folder = ini.ReadString(kSection, Key("Path in mobile disk", n), "");
    entry.exclusion_text =
        ini.ReadString(kSection, Key("Extensions of excluded files", n), "ini, bak");
    entry.mount_command = ini.ReadString(kSection, Key("MountCommand", n), global_mount);
    entry.auto_delete = ini.ReadBool(kSection, Key("AutoDelete", n), true);
    entry.use_zip = ini.ReadBool(kSection, Key("UseZip", n), true);
  }
  loaded_ = ini.ReadInteger(kSection, "Loaded", 1);
  home_folder_ = ini.ReadString(kSection, "HomeFolder", WithoutTrailingBackslash(program_dir_));
  chkAutoUmount.SetChecked(ini.ReadBool(kSection, "AutoUmount", false));
  lib_dir_ = ini.ReadString(kSection, "LibDir", "");
}

void TMain::ApplyLanguage() {
  if (const auto texts = ReadLanguageFile(platform_, language_path_)) {
    lang_ = texts->lang;
    for (const auto& [control_name, caption] : texts->captions) {
      SetControlCaption(control_name, caption);
    }
    btnSend.SetHint(texts->send_hint);
    btnLoad.SetHint(texts->load_hint);
    if (!texts->font_name.empty()) font_name_ = texts->font_name;
    for (int n = 1; n <= MessageTable::kCount; ++n) messages_.Set(n, texts->messages[n - 1]);
  }
  font_charset_ = lang_ & 0xFF;
  // The labels size themselves in the window's font, which may just have
  // changed its face.
  for (Label* label : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6}) {
    label->Remeasure();
  }
}

void TMain::SetControlCaption(const std::string& control_name, const std::string& caption) {
  for (Label* label : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6}) {
    if (label->name() == control_name) label->SetCaption(caption);
  }
  for (Button* button :
       {&btnSend, &btnSelectFile, &btnLoad, &btnRemoveFromList, &btnHelp, &Button2}) {
    if (button->name() == control_name) button->SetCaption(caption);
  }
  for (CheckBox* box : {&chkAutoUmount, &chkAutoDelete, &chkZip}) {
    if (box->name() == control_name) box->SetCaption(caption);
  }
}

void TMain::PlaceSpinEdit() {
  SpinEdit.SetLeft(Label4.left() + Label4.width() + 5);
  Label5.SetLeft(SpinEdit.left() + SpinEdit.width() + 5);
}

bool TMain::FormClose() {
  // An unformatted disk ended the program: this run's changes are not saved.
  if (ending_without_save_) return true;
  const Status saved = SaveSettings();
  if (saved.ok()) return true;
  ShowMessage("The settings could not be saved to " + settings_path_ + ":\r\n" + saved.message +
              "\r\nThe file keeps its previous content.");
  return false;
}

Status TMain::SaveSettings() {
  IniFile ini(platform_, settings_path_);
  // What the load could not read is kept once: a later save of this run
  // would otherwise keep this run's own file in its place. A file that is
  // not understood now is kept whenever it is met.
  if (settings_backup_due_ || ini.HasUnreadableParts()) {
    const Status kept = KeepBackup(platform_, settings_path_);
    if (!kept.ok()) return kept;
    settings_backup_due_ = false;
  }
  ini.EraseSection(kSection);
  for (int n = 1; n <= ListBox1.count(); ++n) {
    const SyncEntry& entry = entries_.slot(n);
    ini.WriteString(kSection, Key("SyncItem", n),
                    ResolveDocumentsRelative(documents_, ListBox1.item(n - 1), code_page()));
    ini.WriteString(kSection, Key("Path in mobile disk", n), entry.removable_folder);
    ini.WriteString(kSection, Key("Extensions of excluded files", n), entry.exclusion_text);
    ini.WriteString(kSection, Key("MountCommand", n), entry.mount_command);
    ini.WriteInteger(kSection, Key("Duration", n), entry.duration);
    ini.WriteBool(kSection, Key("AutoDelete", n), entry.auto_delete);
    ini.WriteBool(kSection, Key("UseZip", n), entry.use_zip);
    ini.WriteFloat(kVersionSection, "Version", kVersionNumber);
  }
  ini.WriteInteger(kSection, "Loaded", loaded_);
  ini.WriteString(kSection, "HomeFolder", home_folder_);
  ini.WriteString(kSection, "MountCommand", edMntCmd.text());
  ini.WriteString(kSection, "LibDir", lib_dir_);
  ini.WriteBool(kSection, "AutoUmount", chkAutoUmount.checked());
  return ini.UpdateFile();
}

}  // namespace pellmar
