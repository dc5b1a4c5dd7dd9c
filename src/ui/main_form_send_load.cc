// The two copy commands of the main window: Send copies the selected
// project's recent files onto the removable disk, Load copies the files
// kept there back into the project folder. Each run is planned first, so
// that it can show how far it has got; a preview shows the plan alone.
#include <string>
#include <utility>

#include "core/drive_part.h"
#include "core/free_space_text.h"
#include "core/project_medium.h"
#include "core/relative_path.h"
#include "core/run_memory.h"
#include "core/run_plan.h"
#include "core/run_progress.h"
#include "core/run_refusal.h"
#include "core/send_load.h"
#include "core/sync_run.h"
#include "core/sync_tree.h"
#include "core/text_ops.h"
#include "ui/main_form.h"

namespace pellmar {

RunSides TMain::SendSides(int p) const {
  return pellmar::SendSides(ResolveDocumentsRelative(documents_, ListBox1.item(p), code_page()),
                            edMediaDir.text(), ListBox2.item(p), edExclude.text());
}

RunSides TMain::LoadSides(int p) const {
  return pellmar::LoadSides(ResolveDocumentsRelative(documents_, ListBox1.item(p), code_page()),
                            edMediaDir.text(), ListBox2.item(p), edExclude.text());
}

void TMain::btnSendClick() {
  const int p = ListBox1.item_index();
  last_run_ = RunOutcome{};
  if (p < 0) return RefuseUnselectedRun();
  counters_.copy_count = 0;
  entries_.at_position(p).removable_folder = edMediaDir.text();
  log_.Clear();
  if (chkZip.checked()) {
    ShowDiskStatus();
    return ReportRun(messages_.Msg(kNoNewFiles));
  }
  if (!RunSyncTree(SendSides(p))) return;
  ReportRun(messages_.Msg(kNoNewFiles));
  CountAgainAfterRun();
}

void TMain::btnLoadClick() {
  const int p = ListBox1.item_index();
  last_run_ = RunOutcome{};
  if (p < 0) return RefuseUnselectedRun();
  counters_.copy_count = 0;
  log_.Clear();
  if (chkZip.checked()) return ReportRun(messages_.Msg(kNothingNewerToLoad));
  if (!RunSyncTree(LoadSides(p))) return;
  ReportRun(messages_.Msg(kNothingNewerToLoad));
  CountAgainAfterRun();
}

// Both commands read the selected entry; without one nothing is touched.
void TMain::RefuseUnselectedRun() {
  last_run_.run_refused = true;
  ShowMessage(NothingSelectedText(messages_));
}

bool TMain::RunSyncTree(const RunSides& sides) {
  // The removable folder may have been typed since the entry was selected:
  // the space that counts is that of the drive the run writes to now.
  RefreshFreeSpace();
  SyncRun run(platform_, *this, counters_, sides.exclusion_list, sides.project_folder, code_page());
  if (auto refusal = RunRefusal(run, sides.removable_project_folder)) {
    last_run_.run_refused = true;
    ShowMessage(*refusal);
    return false;
  }
  MediumIdentity medium;
  if (!ConfirmRunMedium(run, &medium)) {
    last_run_.run_refused = last_run_.other_medium = true;
    return false;
  }
  const std::unique_ptr<RunMemory> memory = RecallMemory(run);
  run.memory = memory.get();
  run.remembers = true;
  HoldControls();
  if (!plan_runs_) {
    SyncTree(run, sides.source, sides.destination);
  } else if (RunPlan plan = PlanRun(run, sides.source, sides.destination, false);
             plan.outcome.stopped || !plan.NeedsRun()) {
    // Nothing to change: the plan made the very decisions the run would.
    run.outcome = std::move(plan.outcome);
  } else {
    RunProgress progress(*this, plan.files, plan.bytes,
                         [this] { return SteadyMilliseconds() - asking_ms_; });
    run.observer = &progress;
    progress.Show();
    SyncTree(run, sides.source, sides.destination);
    run.observer = nullptr;  // the progress ends here; the run may still act
  }
  // Before anything reports the run: once it says it is done, the removable
  // disk can be pulled out.
  run.MakeMediumSafe();
  ReleaseControls();
  if (run.CopiesDone() > 0 || run.outcome.deleted > 0) RememberRunMedium(run, medium);
  KeepMemory(run);
  SetCopyStatus("");
  StatusBar1.SetPanelText(0, FreeSpaceText(messages_.Msg(kAvailableSize), counters_.free_space));
  RefreshFreeSpace();
  last_run_ = std::move(run.outcome);
  if (last_run_.stopped)
    SetCopyStatus(FillIn(messages_.Msg(kRunStopped), {std::to_string(run.CopiesDone())}));
  if (last_run_.kept_in_trash > 0) log_.Append(TrashedText());
  const std::string skipped = SkippedEntriesText(last_run_, messages_);
  if (!skipped.empty()) ShowMessage(skipped);
  return true;
}

void TMain::HoldControls() {
  // A count made while the run changes the folders would be stale.
  CallOffSelectionCount();
  run_in_progress_ = true;
  stop_requested_ = false;
  StatusBar1.SetProgressName(messages_.Msg(kProgressName));
  // The plan walks both trees before the bar can show anything.
  SetCopyStatus(messages_.Msg(kPlanning));
  focus_before_run_ = focused_control_;
  for (Control* control : AllControls()) {
    // Labels take no input, and the status bar shows the run.
    if (control == &StatusBar1 || dynamic_cast<Label*>(control) != nullptr) continue;
    held_.emplace_back(control, control->enabled());
    control->SetEnabled(false);
  }
  services_.host->SetBusy(true);
}

void TMain::ReleaseControls() {
  for (const auto& [control, enabled] : held_) control->SetEnabled(enabled);
  held_.clear();
  StatusBar1.HideProgress();
  SetCopyStatus("");
  services_.host->SetBusy(false);
  run_in_progress_ = false;
  if (!focus_before_run_.empty()) SetFocus(focus_before_run_);
}

void TMain::ShowProgress(int permille, const std::string& text) {
  StatusBar1.SetProgress(permille, text);
}

void TMain::AskToStop() {
  if (!run_in_progress_ || stop_requested_) return;
  WhileAsking([this] {
    if (services_.dialogs->Confirm(messages_.Msg(kStopQuestion))) stop_requested_ = true;
  });
}

void TMain::WhileAsking(const std::function<void()>& ask) {
  const int64_t asked = SteadyMilliseconds();
  ask();
  asking_ms_ += SteadyMilliseconds() - asked;
}

std::optional<std::string> TMain::RunRefusal(const SyncRun& run,
                                             const std::string& removable_project_folder) {
  return pellmar::RunRefusal(platform_, run, SelectedEntry(), removable_project_folder, messages_);
}

// A disk with nothing lasting to tell it by, or a project not run before,
// has nothing to be held against.
bool TMain::ConfirmRunMedium(const SyncRun& run, MediumIdentity* medium) {
  if (!platform_.MediumAt(run.medium.anchor_path(), medium).ok() || medium->key.empty()) {
    return true;
  }
  const std::string path = MediumMemoryPath(settings_path_, code_page());
  MediumMemory memory;
  if (const Status read = ReadMediumMemory(platform_, path, &memory); !read.ok()) {
    ShowMessage(FillIn(messages_.Msg(kMediumMemoryUnusable), {path, read.message}));
    medium->key.clear();  // so that nothing is written over it after the run
    return true;
  }
  const ProjectMedium* last = memory.ProjectOf(run.project_folder);
  if (last == nullptr || last->medium.key == medium->key) return true;
  return services_.dialogs->Confirm(
      FillIn(messages_.Msg(kOtherMedium),
             {DrivePart(run.media_dir), MediumName(*medium), MediumName(last->medium)}));
}

void TMain::RememberRunMedium(const SyncRun& run, const MediumIdentity& medium) {
  const std::string path = MediumMemoryPath(settings_path_, code_page());
  const Status kept = RememberProjectMedium(platform_, path, run.project_folder, medium);
  if (!kept.ok()) ShowMessage(FillIn(messages_.Msg(kMediumMemoryUnusable), {path, kept.message}));
}

std::unique_ptr<RunMemory> TMain::RecallMemory(const SyncRun& run) {
  if (!runs_remember_) return nullptr;
  MediumIdentity medium;
  if (!platform_.MediumAt(run.medium.anchor_path(), &medium).ok()) return nullptr;
  auto memory = std::make_unique<RunMemory>(run.project_folder, medium.key);
  if (!RecallRunMemory(platform_, memory.get())) return nullptr;
  return memory;
}

// A memory that cannot be kept costs the next run its conflicts, not a file.
void TMain::KeepMemory(SyncRun& run) {
  if (run.memory == nullptr || !run.memory->Changed()) return;
  const Status kept = KeepRunMemory(platform_, *run.memory);
  if (!kept.ok()) {
    run.outcome.Skip(run.memory->PathIn(platform_.StateFolder()) +
                     ": the memory of this run could not be kept: " + kept.message);
  }
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
  // A run stopped before its first copy did not find the files up to date.
  const std::string& nothing = last_run_.stopped ? StatusBar1.panel_text(1) : empty_run_message;
  // Files that only went to the trash leave no log to show it in.
  if (last_run_.kept_in_trash > 0) return ShowMessage(nothing + "\r\n" + TrashedText());
  ShowMessage(nothing);
}

std::string TMain::TrashedText() const {
  return FillIn(messages_.Msg(kKeptInTrash), {std::to_string(last_run_.kept_in_trash)});
}

}  // namespace pellmar
