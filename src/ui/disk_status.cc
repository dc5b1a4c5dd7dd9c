// ShowDiskStatus: the free space of the selected entry's removable disk,
// or what to tell the user when the disk is missing or unformatted.
//
// The error mode is set before the query and put back on every path, so a
// missing disk makes the query fail quietly instead of raising a system box.
#include <cstdint>
#include <limits>

#include "core/drive_part.h"
#include "core/free_space_text.h"
#include "ui/main_form.h"

namespace pellmar {

namespace {
constexpr uint32_t kFailCriticalErrors = 1;
}  // namespace

void TMain::ShowDiskStatus() {
  const std::string& folder = entries_.at_position(ListBox1.item_index()).removable_folder;
  int64_t free_bytes = 0;
  // A failed query counts as no space at all; its code says why.
  const Status answered = QueryFreeSpace(folder, &free_bytes);
  counters_.free_space = answered.ok() ? free_bytes : 0;
  ActOnDiskCode(answered.code);
}

Status TMain::QueryFreeSpace(const std::string& folder, int64_t* free_bytes) {
  const uint32_t previous_mode = platform_.SetErrorMode(kFailCriticalErrors);
  uint64_t answer = 0;
  const Status answered = platform_.FreeSpace(DrivePart(folder), &answer);
  // The mode handed back is our own; nothing to keep of it.
  platform_.SetErrorMode(previous_mode);
  constexpr auto kMost = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (answered.ok()) *free_bytes = static_cast<int64_t>(answer < kMost ? answer : kMost);
  return answered;
}

void TMain::RefreshFreeSpace() {
  int64_t free_bytes = 0;
  // A disk that does not answer is the run's own check to report.
  if (!QueryFreeSpace(edMediaDir.text(), &free_bytes).ok()) return;
  counters_.free_space = free_bytes;
  StatusBar1.SetPanelText(0, FreeSpaceText(messages_.Msg(kAvailableSize), free_bytes));
}

void TMain::ActOnDiskCode(uint32_t code) {
  switch (code) {
    case kErrorInvalidDrive:
    case kErrorNotReady:
      ShowMessage(messages_.Msg(kInsertDisk));
      break;
    case kErrorInvalidName:
      break;
    case kErrorUnrecognizedVolume:
    case kErrorUnrecognizedMedia:
      ShowMessage(messages_.Msg(kFormatDisk));
      // The program ends once the running reaction is done, and without the
      // save that closing the window would run: the settings file keeps
      // what it held before this run.
      ending_without_save_ = true;
      quit_requested_ = true;
      services_.host->RequestQuit();
      break;
    default:
      StatusBar1.SetPanelText(0,
                              FreeSpaceText(messages_.Msg(kAvailableSize), counters_.free_space));
      break;
  }
}

}  // namespace pellmar
