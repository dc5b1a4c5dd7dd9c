// Add, Remove and the field reactions: the only changes to the entry table
// while the program runs.
//
// Line p of both lists and slot p + 1 always go together; Add and Remove
// change the lists and the slots in one step to keep it so.
#include <algorithm>
#include <utility>

#include "core/folder_text.h"
#include "core/relative_path.h"
#include "ui/main_form.h"

namespace pellmar {

void TMain::btnSelectFileClick() {
  const std::string start = IsFolder(home_folder_) ? home_folder_ : documents_;
  // A full list gets no line more, whoever runs this reaction.
  if (ListBox1.count() < EntryTable::kMaxEntries) {
    const auto picked =
        services_.dialogs->PickFolder({messages_.Msg(kSelectProjectFolder), start, false});
    // A picked "D:\Work\." would be named "." and share its removable
    // folder with every other project.
    if (picked) AddEntry(NormalFolder(*picked, code_page()));
  }
  if (ListBox1.count() == EntryTable::kMaxEntries) UpdateAddButton();
}

void TMain::AddEntry(const std::string& picked) {
  ListBox2.Append(LastPathComponent(picked, code_page()));
  home_folder_ = picked;
  ListBox1.Append(MakeDocumentsRelative(documents_, picked, code_page()));
  ListBox1.SetItemIndex(ListBox1.count() - 1);
  FillNewSlot(ListBox1.count());
  ListBox1Click();
}

// A new entry takes its settings from the entry before it (slot 0 for the
// first one), and the mount command the hidden field shows.
void TMain::FillNewSlot(int s) {
  const SyncEntry& before = entries_.slot(s - 1);
  SyncEntry& entry = entries_.slot(s);
  entry.removable_folder = NewEntryRemovableFolder(s);
  entry.duration = before.duration;
  entry.mount_command = edMntCmd.text();
  entry.use_zip = before.use_zip;
  entry.exclusion_text = before.exclusion_text;
  entry.auto_delete = before.auto_delete;
  // Left-over values of a removed entry may have been cut; this entry's
  // were not read from the file at all.
  entry.cut_values.clear();
}

std::string TMain::NewEntryRemovableFolder(int s) {
  const std::string candidate = s >= 2 ? entries_.slot(s - 1).removable_folder : "A:\\";
  if (IsFolder(candidate)) return candidate;
  for (const char* drive : {"A:\\", "E:\\", "F:\\"}) {
    if (IsFolder(drive)) return drive;
  }
  // Taken untested: the selection that follows offers to create what is
  // missing.
  return "C:\\";
}

void TMain::btnRemoveFromListClick() {
  const int p = ListBox1.item_index();
  // With nothing selected there is no entry to remove, and moving the slots
  // would part every line from its settings.
  if (p < 0) return;
  CallOffSelectionCount();
  // Escape removes too (the window's cancel button): kept until the window
  // closes, so that Ctrl+Z can bring it back.
  removed_.push_back(RemovedEntry{p, ListBox1.item(p), ListBox2.item(p), entries_.slot(p + 1)});
  ListBox1.Delete(p);
  ListBox2.Delete(p);
  entries_.ShiftDownFrom(p + 1);
  UpdateAddButton();
  ShowNoEntry();
  SetCopyStatus(FillIn(messages_.Msg(kProjectRemoved), {removed_.back().name}));
}

void TMain::UndoRemove() {
  if (removed_.empty() || run_in_progress_) return;
  if (ListBox1.count() >= EntryTable::kMaxEntries) {
    return SetCopyStatus(messages_.Msg(kListFull));
  }
  CallOffSelectionCount();
  const RemovedEntry back = std::move(removed_.back());
  removed_.pop_back();
  // Its old place, or the end when the list has become shorter since.
  const int p = std::min(back.position, ListBox1.count());
  ListBox1.Insert(p, back.folder);
  ListBox2.Insert(p, back.name);
  entries_.InsertAt(p + 1, back.entry);
  UpdateAddButton();
  ListBox1.SetItemIndex(p);
  ListBox2.SetItemIndex(p);
  FillFromSlot(p);
  SetCopyStatus(FillIn(messages_.Msg(kProjectRestored), {back.name}));
}

// With no entry selected the fields show none: their reactions would write
// what they show into the slot that seeds the next new entry.
void TMain::ShowNoEntry() {
  const Event exclude = std::exchange(edExclude.on_change, nullptr);
  const Event days = std::exchange(SpinEdit.on_change, nullptr);
  const Event auto_delete = std::exchange(chkAutoDelete.on_click, nullptr);
  const Event zip = std::exchange(chkZip.on_click, nullptr);
  edMediaDir.SetText("");
  edExclude.SetText("");
  SpinEdit.UserEdit("");
  chkAutoDelete.SetChecked(false);
  chkAutoDelete.SetVisible(false);
  chkZip.SetChecked(false);
  edExclude.on_change = exclude;
  SpinEdit.on_change = days;
  chkAutoDelete.on_click = auto_delete;
  chkZip.on_click = zip;
}

void TMain::UpdateAddButton() {
  const bool full = ListBox1.count() >= EntryTable::kMaxEntries;
  btnSelectFile.SetEnabled(!full);
  btnSelectFile.SetHint(full ? messages_.Msg(kListFull) : "");
}

void TMain::SpinEditChange() {
  const int p = ListBox2.item_index();
  entries_.at_position(p).duration = SpinEdit.value();
  if (p >= 0) UpdateAutoDeleteCaption(p);
}

void TMain::edExcludeChange() {
  entries_.at_position(ListBox1.item_index()).exclusion_text = edExclude.text();
}

void TMain::chkAutoDeleteClick() {
  entries_.at_position(ListBox1.item_index()).auto_delete = chkAutoDelete.checked();
}

void TMain::chkZipClick() {
  entries_.at_position(ListBox1.item_index()).use_zip = chkZip.checked();
}

}  // namespace pellmar
