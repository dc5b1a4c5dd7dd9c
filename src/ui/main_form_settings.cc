// Start-up and shut-down of the main window: FormCreate reads the settings
// file and the language file, FormClose writes the settings file back.
//
// The settings file is read once here and written only when the window is
// asked to close; the save replaces the whole file in one rename.
#include <algorithm>
#include <string>
#include <utility>

#include "core/language_file.h"
#include "core/relative_path.h"
#include "core/settings_file.h"
#include "core/version.h"
#include "ui/main_form.h"

namespace pellmar {

void TMain::FormCreate() {
  messages_.FillDefaults();
  documents_ = platform_.DocumentsFolder();
  chkZip.SetVisible(false);
  const std::string executable = platform_.ExecutablePath();
  program_dir_ = FolderWithSeparator(executable, code_page());
  settings_path_ = LocateSettingsFile();
  language_path_ = FindLanguageFile(platform_, executable);
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
  return SettingsFilePath(platform_, documents_, program_dir_, code_page());
}

void TMain::LoadSettings() {
  const StoredSettings stored = ReadSettings(platform_, settings_path_, program_dir_);
  settings_file_ = stored.file;
  for (size_t i = 0; i < stored.project_folders.size(); ++i) {
    const std::string& folder = stored.project_folders[i];
    ListBox2.Append(LastPathComponent(folder, code_page()));
    ListBox1.Append(MakeDocumentsRelative(documents_, folder, code_page()));
    const int slot = static_cast<int>(i) + 1;
    entries_.slot(slot) = stored.entries.slot(slot);
  }
  loaded_ = stored.loaded;
  home_folder_ = stored.home_folder;
  chkAutoUmount.SetChecked(stored.auto_umount);
  lib_dir_ = stored.lib_dir;
  ignore_hour_shift_ = stored.ignore_hour_shift;
  keep_replaced_ = stored.keep_replaced;
  settings_as_loaded_ = CollectSettings();
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
    for (int n = 1; n <= MessageTable::kCount; ++n) {
      // A file written before a message was added has no text for it; the
      // box then speaks English rather than nothing.
      const std::string& text = texts->messages[n - 1];
      if (n <= MessageTable::kClassicCount || !text.empty()) messages_.Set(n, text);
    }
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
  FitFieldAfterLabel(Label1, edMediaDir);
  FitFieldAfterLabel(Label6, edExclude);
}

// A field whose label runs into it (a wider font, a longer translation)
// starts after the label and gives up width; its right edge stays, so the
// button beside it and the window's right margin do not move.
void TMain::FitFieldAfterLabel(const Label& label, Control& field) {
  constexpr int kGap = 4, kMinWidth = 40;
  const int right = field.left() + field.width();
  const int left = std::min(label.left() + label.width() + kGap, right - kMinWidth);
  if (left <= field.left()) return;
  field.SetLeft(left);
  field.SetWidth(right - left);
}

bool TMain::FormClose() {
  // An unformatted disk ended the program: this run's changes are not saved.
  if (ending_without_save_) return true;
  // Another program may have written the file since this run read it; a
  // run that changed nothing has nothing to write over that.
  if (save_only_changes_ && !SettingsChanged()) return true;
  const Status saved = SaveSettings();
  if (saved.ok()) return true;
  ShowMessage(FillIn(messages_.Msg(kSettingsNotSaved), {settings_path_, saved.message}));
  return false;
}

StoredSettings TMain::CollectSettings() const {
  StoredSettings stored;
  for (int n = 1; n <= ListBox1.count(); ++n) {
    stored.project_folders.push_back(
        ResolveDocumentsRelative(documents_, ListBox1.item(n - 1), code_page()));
    stored.entries.slot(n) = entries_.slot(n);
  }
  stored.loaded = loaded_;
  stored.home_folder = home_folder_;
  stored.mount_command = edMntCmd.text();
  stored.lib_dir = lib_dir_;
  stored.ignore_hour_shift = ignore_hour_shift_;
  stored.keep_replaced = keep_replaced_;
  stored.auto_umount = chkAutoUmount.checked();
  return stored;
}

bool TMain::SettingsChanged() const {
  StoredSettings now = CollectSettings();
  // The hidden mount-command field shows the mount command of the entry
  // selected last, so selecting an entry to run it changes the global one;
  // that is no change of the user's to keep.
  now.mount_command = settings_as_loaded_.mount_command;
  return !SameSettings(now, settings_as_loaded_);
}

Status TMain::SaveSettings() {
  StoredSettings stored = CollectSettings();
  stored.file = settings_file_;
  bool other_version_kept = false;
  const Status saved = WriteSettings(platform_, settings_path_, stored, &other_version_kept);
  settings_file_ = stored.file;
  if (other_version_kept) {
    ShowMessage(
        FillIn(messages_.Msg(kSettingsChangedMeanwhile), {SettingsBackupPath(settings_path_)}));
  }
  if (saved.ok()) settings_as_loaded_ = std::move(stored);
  return saved;
}

}  // namespace pellmar
