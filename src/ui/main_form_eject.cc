// Ctrl+E and the command line's --eject: the removable disk of the selected
// project is unmounted and powered off, so that it can be pulled out, and
// the status bar says when it can. A disk that something still uses stays
// as it is, and the box says what uses it where the system tells.
#include <string>

#include "core/drive_part.h"
#include "ui/main_form.h"

namespace pellmar {

void TMain::EjectSelectedMedium() {
  // A run holds the disk open until it has reported.
  if (run_in_progress_) return;
  if (ListBox1.item_index() < 0) {
    last_eject_ = Status::Error(kErrorInvalidParameter, "no project is selected");
    return ShowMessage(messages_.Msg(kSelectProjectFirst));
  }
  const std::string& folder = edMediaDir.text();
  const std::string drive = DrivePart(folder);
  if (folder.empty()) {
    last_eject_ = Status::Error(kErrorInvalidParameter, "the project has no removable folder");
    return ShowMessage(messages_.Msg(kNoRemovableFolder));
  }
  if (drive.empty()) {
    last_eject_ = Status::Error(kErrorInvalidDrive, "\"" + folder + "\" names no drive");
    return ShowMessage(FillIn(messages_.Msg(kEjectFailed), {folder, last_eject_.message}));
  }
  EjectResult result;
  services_.host->SetBusy(true);
  SetCopyStatus(FillIn(messages_.Msg(kEjecting), {drive}));
  ProcessEvents();
  last_eject_ = platform_.EjectMedium(drive, &result);
  services_.host->SetBusy(false);
  SetCopyStatus("");
  if (!last_eject_.ok()) {
    const int text = last_eject_.code == kErrorDeviceInUse ? kMediumInUse : kEjectFailed;
    return ShowMessage(FillIn(messages_.Msg(text), {drive, last_eject_.message}));
  }
  // The free space shown was that of a disk that is gone now.
  StatusBar1.SetPanelText(0, "");
  SetCopyStatus(result.not_powered_off.empty() ? FillIn(messages_.Msg(kCanBePulledOut), {drive})
                                               : FillIn(messages_.Msg(kPulledOutNotPoweredOff),
                                                        {drive, result.not_powered_off}));
}

}  // namespace pellmar
