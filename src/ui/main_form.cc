// TMain's controls as the window is designed, the wiring of every reaction,
// and what a copy run reads from the window and reports back to it.
//
// The other reactions live beside this file, one concern each.
#include "ui/main_form.h"

#include <utility>

#include "core/run_progress.h"
#include "ui/background_count.h"

namespace pellmar {

TMain::TMain(MainFormServices services, TLogViewer& log)
    : btnHelp("btnHelp", "&Help", 459, 279, 78, 25, 0),
      btnLoad("btnLoad", "&Load", 26, 279, 90, 25, 1),
      btnSend("btnSend", "&Send", 126, 279, 90, 25, 2),
      btnSelectFile("btnSelectFile", "&Add to List", 227, 279, 105, 25, 3),
      btnRemoveFromList("btnRemoveFromList", "&Remove from List", 343, 279, 105, 25, 4),
      Button2("Button2", "&Select", 488, 15, 48, 21, 7),
      ListBox1("ListBox1", 176, 118, 361, 137, 5),
      ListBox2("ListBox2", 24, 118, 152, 137, 11),
      StatusBar1("StatusBar1", {170, 200}, kStatusBarHeight),
      edMediaDir("edMediaDir", "", 374, 16, 112, 23, 8),
      edMntCmd("edMntCmd", "edMntCmd", 288, 255, 65, 23, 10),
      edExclude("edExclude", "pdf, ini", 432, 47, 105, 23, 13),
      chkAutoUmount("chkAutoUmount", "chkAutoUmount", 392, 263, 97, 17, 9),
      chkAutoDelete("chkAutoDelete", "chkAutoDelete", 24, 80, 361, 17, 14),
      chkZip("chkZip", "Use zip compression", 392, 80, 145, 17, 15),
      SpinEdit("SpinEdit", 1, 365, 365, 219, 46, 46, 24, 12),
      Label1("Label1", "Folder name in removable disk which hold the selected project :", 23, 20,
             348, 15),
      Label2("Label2", "Label2", 144, 261, 38, 15),
      Label3("Label3", "Project Name                          Directory", 44, 103, 201, 15),
      Label4("Label4", "Operate on files modified in recent", 24, 49, 188, 15),
      Label5("Label5", "days", 269, 50, 26, 15),
      Label6("Label6", "Exclusion: ", 365, 51, 59, 15),
      services_(services),
      platform_(*services.platform),
      log_(log) {
  btnLoad.SetHint("Load from a removable disk");
  btnSend.SetHint("Send to a removable disk");
  btnLoad.SetEnabled(false);
  btnSend.SetEnabled(false);
  btnLoad.SetDefault(true);
  btnRemoveFromList.SetCancel(true);
  Label2.SetVisible(false);
  chkAutoUmount.SetVisible(false);
  edMntCmd.SetVisible(false);
  chkAutoDelete.SetVisible(false);
  WireReactions();
  if (services.make_platform) {
    count_ = std::make_unique<BackgroundCount>(services.make_platform, *services.host);
  }
}

TMain::~TMain() = default;

void TMain::WireReactions() {
  btnHelp.on_click = [this] { btnHelpClick(); };
  btnLoad.on_click = [this] { btnLoadClick(); };
  btnSend.on_click = [this] { btnSendClick(); };
  btnSend.on_shift_click = [this] { PreviewSend(); };
  btnLoad.on_shift_click = [this] { PreviewLoad(); };
  btnSelectFile.on_click = [this] { btnSelectFileClick(); };
  btnRemoveFromList.on_click = [this] { btnRemoveFromListClick(); };
  Button2.on_click = [this] { Button2Click(); };
  ListBox1.on_click = [this] { ListBox1Click(); };
  ListBox1.on_dbl_click = [this] { ListBox1DblClick(); };
  ListBox2.on_click = [this] { ListBox2Click(); };
  ListBox2.on_dbl_click = [this] { ListBox2DblClick(); };
  SpinEdit.on_change = [this] { SpinEditChange(); };
  edExclude.on_change = [this] { edExcludeChange(); };
  chkAutoDelete.on_click = [this] { chkAutoDeleteClick(); };
  chkZip.on_click = [this] { chkZipClick(); };
}

std::vector<Control*> TMain::AllControls() {
  return {&btnHelp,    &btnLoad,  &btnSend,    &btnSelectFile, &btnRemoveFromList,
          &ListBox1,   &Button2,  &edMediaDir, &chkAutoUmount, &edMntCmd,
          &ListBox2,   &SpinEdit, &edExclude,  &chkAutoDelete, &chkZip,
          &StatusBar1, &Label1,   &Label2,     &Label3,        &Label4,
          &Label5,     &Label6};
}

void TMain::SetFocus(const std::string& control_name) {
  focused_control_ = control_name;
  if (services_.host != nullptr) services_.host->SetFocus(control_name);
}

void TMain::SetMeasurer(Label::Measurer measurer) {
  for (Label* label : {&Label1, &Label2, &Label3, &Label4, &Label5, &Label6}) {
    label->SetMeasurer(measurer);
  }
}

bool TMain::IsFolder(const std::string& path) {
  return !path.empty() && platform_.FolderExists(path);
}

CodePage TMain::code_page() const { return CodePage{platform_.AnsiCodePage()}; }

void TMain::RequestClose() {
  // A failed save has told the user why; the window stays open and the
  // next request saves again.
  if (!FormClose()) return;
  quit_requested_ = true;
  services_.host->RequestQuit();
}

// --- What a copy run reads and writes -------------------------------------

std::string TMain::MediaDirText() const { return edMediaDir.text(); }

int TMain::Days() const { return SpinEdit.value(); }

bool TMain::AutoDeleteTicked() const { return chkAutoDelete.checked(); }

std::string TMain::ProjectName() const { return ListBox2.item(ListBox2.item_index()); }

const std::string& TMain::Message(int n) const { return messages_.Msg(n); }

void TMain::AppendLog(const std::string& file_name) { log_.Append(file_name); }

void TMain::SetCopyStatus(const std::string& text) { StatusBar1.SetPanelText(1, text); }

void TMain::ShowMessage(const std::string& text) {
  WhileAsking([&] { services_.dialogs->ShowMessage(text); });
}

void TMain::ProcessEvents() { services_.host->ProcessEvents(); }

}  // namespace pellmar
