// Selecting an entry: the disk check, the offer to create a missing
// removable folder, filling the fields, and keeping both lists in line.
//
// Setting a list's selection from code fires nothing, so ListBox1Click and
// ListBox2Click can mirror each other without calling each other.
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/language_file.h"
#include "ui/main_form.h"

namespace pellmar {

void TMain::ListBox1Click() {
  const int p = ListBox1.item_index();
  // No line selected is no entry to show (the toolkit never reports such a
  // selection; a caller might).
  if (p < 0) return;
  CallOffSelectionCount();
  btnLoad.SetEnabled(false);
  btnSend.SetEnabled(false);
  ListBox2.SetItemIndex(p);
  ListBox2.SetTopIndex(ListBox1.top_index());
  Label2.SetVisible(false);
  ShowDiskStatus();
  // The stored folder is tested, not what edMediaDir shows. An entry with a
  // value cut on reading is never run, so its folder is not made either:
  // it is shown, and Send and Load say why they will not run it.
  const SyncEntry& entry = entries_.at_position(p);
  const std::string folder = entry.removable_folder;
  const bool usable = IsFolder(folder) || !entry.cut_values.empty() ||
                      OfferToCreateFolder(folder) || p == last_refused_index_;
  if (usable) {
    FillFromSlot(p);
    StartSelectionCount();
  } else {
    RefuseSelection(p);
  }
}

// True when the user agreed and the folder now exists.
bool TMain::OfferToCreateFolder(const std::string& folder) {
  const std::string question = messages_.Msg(kNoFolderNamed) + folder +
                               messages_.Msg(kClosingQuote) + messages_.Msg(kCreateItQuestion);
  if (!services_.dialogs->Confirm(question)) return false;
  if (CreateFolderTopDown(folder)) return true;
  ShowMessage(messages_.Msg(kCannotCreate));
  return false;
}

// Creates the missing levels from the highest one down, the folder itself
// last. The climb to the highest missing level is made once: climbing again
// for every level would cost the square of the depth, minutes for a folder
// a thousand levels deep.
bool TMain::CreateFolderTopDown(const std::string& folder) {
  for (const std::string& level : MissingLevels(folder)) {
    // A level that appeared meanwhile is as good as one made here.
    if (!platform_.CreateFolder(level).ok() && !IsFolder(level)) return false;
  }
  return IsFolder(folder);
}

// The levels of `folder` that are not there, highest first. The climb ends
// at a level that exists or at the top of the path (a drive root, "\", or
// nothing), which is then among them and cannot be made.
std::vector<std::string> TMain::MissingLevels(const std::string& folder) {
  std::vector<std::string> missing;
  for (std::string level = folder; !level.empty() && !IsFolder(level);) {
    missing.push_back(level);
    std::string up = ParentOf(level, code_page());
    if (up == level) break;
    level = std::move(up);
  }
  std::reverse(missing.begin(), missing.end());
  return missing;
}

void TMain::RefuseSelection(int p) {
  ShowMessage(messages_.Msg(kInsertRightDisk));
  last_refused_index_ = p;
  ListBox1.SetItemIndex(-1);
  ListBox2.SetItemIndex(-1);
}

void TMain::FillFromSlot(int p) {
  // A copy: the field reactions fired below write into the slot, and a
  // Duration outside the spin edit's range comes back bounded.
  const SyncEntry entry = entries_.at_position(p);
  edMediaDir.SetText(entry.removable_folder);
  edExclude.SetText(entry.exclusion_text);
  btnLoad.SetEnabled(true);
  btnSend.SetEnabled(true);
  SetFocus(loaded_ == 1 ? btnSend.name() : btnLoad.name());
  SpinEdit.SetValue(entry.duration);
  edMntCmd.SetText(entry.mount_command);
  chkAutoDelete.SetChecked(entry.auto_delete);
  chkZip.SetChecked(entry.use_zip);
  UpdateAutoDeleteCaption(p);
}

void TMain::UpdateAutoDeleteCaption(int position) {
  chkAutoDelete.SetVisible(true);
  // Twice Duration: the age beyond which auto-delete removes a file.
  const std::string days = std::to_string(2 * int64_t{SpinEdit.value()});
  const std::string project = ListBox2.item(position);
  const std::string& before = messages_.Msg(kDeleteBefore);
  const std::string& after = messages_.Msg(kDaysBeforeFrom);
  // Japanese puts the number first.
  chkAutoDelete.SetCaption(lang_ == kShiftJisCharset ? days + before + project + after
                                                     : before + days + after + project);
}

void TMain::ListBox2Click() {
  ListBox1.SetItemIndex(ListBox2.item_index());
  ListBox1.SetTopIndex(ListBox2.top_index());
  ListBox1Click();
}

void TMain::Button2Click() {
  std::string start = edMediaDir.text();
  if (!IsFolder(start)) start = "A:\\";
  if (const auto picked = services_.dialogs->PickFolder({"", start, true})) {
    // The picker lets the user name a folder that does not exist yet.
    if (!platform_.ForceFolders(*picked).ok()) ShowMessage(messages_.Msg(kCannotCreate));
    edMediaDir.SetText(*picked);
    entries_.at_position(ListBox1.item_index()).removable_folder = edMediaDir.text();
  }
  ShowDiskStatus();
}

}  // namespace pellmar
