// The two copy commands of the main window: Send copies the selected
// project's recent files onto the removable disk, Load copies the files
// kept there back into the project folder.
#include <string>
#include <utility>

#include "core/free_space_text.h"
#include "core/overlap_guard.h"
#include "core/relative_path.h"
#include "core/send_load.h"
#include "core/sync_run.h"
#include "core/sync_tree.h"
#include "core/text_ops.h"
#include "ui/main_form.h"

namespace pellmar {

void TMain::btnSendClick() {
  const int p = ListBox1.item_index();
  last_run_ = RunOutcome{};
  if (p < 0) return RefuseUnselectedRun();
  counters_.copy_count = 0;
  entries_.at_position(p).removable_folder = edMediaDir.text();
  log_.Clear();
  std::string exclusion_list = ExclusionList(edExclude.text());
  const std::string destination = SendDestination(edMediaDir.text(), ListBox2.item(p));
  if (chkZip.checked()) {
    ShowDiskStatus();
    return ReportRun(messages_.Msg(kNoNewFiles));
  }
  exclusion_list += ",";
  const std::string source = ResolveDocumentsRelative(documents_, ListBox1.item(p), code_page());
  if (!RunSyncTree(source, destination, source, destination, std::move(exclusion_list))) return;
  ReportRun(messages_.Msg(kNoNewFiles));
}

void TMain::btnLoadClick() {
  const int p = ListBox1.item_index();
  last_run_ = RunOutcome{};
  if (p < 0) return RefuseUnselectedRun();
  counters_.copy_count = 0;
  log_.Clear();
  std::string exclusion_list = ExclusionList(edExclude.text());
  const std::string project_name = ListBox2.item(p);
  if (chkZip.checked()) return ReportRun(messages_.Msg(kNothingNewerToLoad));
  exclusion_list += ",";
  const std::string destination =
      ResolveDocumentsRelative(documents_, ListBox1.item(p), code_page());
  const std::string source = LoadSource(edMediaDir.text(), project_name);
  if (!RunSyncTree(source, destination, destination, source, std::move(exclusion_list))) return;
  ReportRun(messages_.Msg(kNothingNewerToLoad));
}

// Both commands read the selected entry; without one nothing is touched.
void TMain::RefuseUnselectedRun() {
  last_run_.run_refused = true;
  ShowMessage(NothingSelectedText(messages_));
}

bool TMain::RunSyncTree(const std::string& source, const std::string& destination,
                        const std::string& project_folder,
                        const std::string& removable_project_folder, std::string exclusion_list) {
  SyncRun run(platform_, *this, counters_, std::move(exclusion_list), project_folder, code_page());
  if (auto refusal = RunRefusal(run, removable_project_folder)) {
    last_run_.run_refused = true;
    ShowMessage(*refusal);
    return false;
  }
  run_in_progress_ = true;
  SyncTree(run, source, destination);
  run_in_progress_ = false;
  SetCopyStatus("");
  StatusBar1.SetPanelText(0, FreeSpaceText(messages_.Msg(kAvailableSize), counters_.free_space));
  last_run_ = std::move(run.outcome);
  if (last_run_.kept_in_trash > 0) log_.Append(TrashedText());
  const std::string skipped = SkippedEntriesText(last_run_, messages_);
  if (!skipped.empty()) ShowMessage(skipped);
  return true;
}

// Why a run between these folders must not start, or nullopt: it checks
// the folders as written, the medium, and the folders as the file system
// sees them, before any file is touched.
std::optional<std::string> TMain::RunRefusal(const SyncRun& run,
                                             const std::string& removable_project_folder) {
  if (auto refusal = EntryRefusal(run, SelectedEntry(), messages_)) return refusal;
  if (auto refusal = OverlapRefusal(platform_, run.project_folder, removable_project_folder,
                                    run.media_dir, messages_)) {
    return refusal;
  }
  if (!run.medium_recorded.ok()) {
    return FillIn(messages_.Msg(kDiskUnreachable), {run.media_dir, run.medium_recorded.message}) +
           "\r\n" + messages_.Msg(kNothingTouched);
  }
  return IdentityRefusal(platform_, run.project_folder, removable_project_folder, run.medium.root(),
                         messages_);
}

void TMain::ReportRun(const std::string& empty_run_message) {
  if (counters_.copy_count > 0) {
    // The title counts the copies that were made; failed ones are in the
    // log too, each with its reason.
    const int copied = counters_.copy_count - last_run_.copies_failed;
    log_.SetTitle(LogTitle(messages_.Msg(kFollowing), copied, messages_.Msg(kFilesCopied)));
    if (!log_.Showing()) log_.ShowModally();
    return;
  }
  log_.Close();
  // Files that only went to the trash leave no log to show it in.
  if (last_run_.kept_in_trash > 0) return ShowMessage(empty_run_message + "\r\n" + TrashedText());
  ShowMessage(empty_run_message);
}

std::string TMain::TrashedText() const {
  return FillIn(messages_.Msg(kKeptInTrash), {std::to_string(last_run_.kept_in_trash)});
}

}  // namespace pellmar
