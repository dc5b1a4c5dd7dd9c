// The window's own reactions: the first show, help, and the file-manager
// windows opened by double-clicks.
//
// Only help looks at the shell's answer: with no program to show the page,
// nothing at all would happen. The file manager's failures are the
// desktop's to tell.
#include <optional>
#include <string>

#include "core/drive_part.h"
#include "core/relative_path.h"
#include "core/settings_file.h"
#include "ui/main_form.h"

namespace pellmar {

void TMain::FormShow() {
  TellEntriesBeyondLimit();
  if (ListBox1.count() == 0) {
    ShowMessage(messages_.Msg(kWelcome));
    btnSelectFileClick();
  }
  if (ListBox1.count() == EntryTable::kMaxEntries) UpdateAddButton();
}

void TMain::TellEntriesBeyondLimit() {
  // Told before anything is saved, so the user knows why entries are
  // missing from the list and where the file that holds them will be.
  if (entries_beyond_limit_told_ || settings_file_.entries_beyond_limit == 0) return;
  entries_beyond_limit_told_ = true;
  ShowMessage(FillIn(messages_.Msg(kEntriesBeyondLimit), {SettingsBackupPath(settings_path_)}));
}

void TMain::btnHelpClick() {
  const std::string working_dir = DrivePart(platform_.ExecutablePath());
  const std::string help_file = program_dir_ + "Help.htm";
  const std::optional<std::string> host = platform_.HostPath(help_file);
  const std::string shown = host ? *host : help_file;
  // A page that is not there is not the browser's fault: said as it is.
  if (!platform_.FileExists(help_file)) {
    ShowMessage(FillIn(messages_.Msg(kHelpFileMissing), {shown}));
    return;
  }
  if (services_.shell->Execute("open", help_file, "", working_dir, Shell::kShowAsIs)) return;
  // With no browser to show it, the user can still open the file by hand.
  ShowMessage(FillIn(messages_.Msg(kNoHelpViewer), {shown}));
}

void TMain::FormKeyUp(int key) {
  if (key == kKeyF1) btnHelpClick();
}

void TMain::ControlKeyUp(const std::string& control_name, int key) {
  // Only these controls share the window's key reaction; the others keep
  // their keys to themselves.
  for (const char* shares : kKeyUpControls) {
    if (control_name == shares) {
      FormKeyUp(key);
      return;
    }
  }
}

void TMain::ListBox1DblClick() {
  const int p = ListBox1.item_index();
  // A double-click with no line selected has no folder to open.
  if (p < 0) return;
  const std::string folder = ResolveDocumentsRelative(documents_, ListBox1.item(p), code_page());
  services_.shell->Execute("open", "explorer", folder, "", Shell::kShowNormal);
}

void TMain::ListBox2DblClick() {
  services_.shell->Execute("open", "explorer", edMediaDir.text(), "", Shell::kShowNormal);
}

}  // namespace pellmar
