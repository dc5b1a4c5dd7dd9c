// The preview of Send and Load: the plan of the run in the log window,
// every file it would copy, replace or delete, with its place in the
// project, its size, and the total against the free space. The plan runs
// on a platform that changes nothing.
#include <algorithm>
#include <string>

#include "core/drive_part.h"
#include "core/free_space_text.h"
#include "core/run_plan.h"
#include "core/send_load.h"
#include "core/sync_run.h"
#include "core/text_ops.h"
#include "ui/main_form.h"

namespace pellmar {

namespace {

int LineMessage(RunObserver::Act act) {
  switch (act) {
    case RunObserver::Act::kReplace:
      return kWouldReplace;
    case RunObserver::Act::kDelete:
    case RunObserver::Act::kRemoveFolder:
      return kWouldDelete;
    case RunObserver::Act::kCopy:
      break;
  }
  return kWouldCopy;
}

}  // namespace

void TMain::PreviewSend() { Preview(true); }

void TMain::PreviewLoad() { Preview(false); }

void TMain::Preview(bool send) {
  const int p = ListBox1.item_index();
  last_preview_ = RunPlan{};
  // Until the plan is made, the preview is refused, as its run would be.
  last_preview_.outcome.run_refused = true;
  if (p < 0) return RefuseUnselectedRun();
  if (chkZip.checked()) {
    last_preview_.outcome.run_refused = false;
    return ShowMessage(messages_.Msg(kNothingWouldChange));
  }
  const RunSides sides = send ? SendSides(p) : LoadSides(p);
  // Send is counted against the removable disk, Load against the disk of
  // the project folder.
  int64_t free_bytes = counters_.free_space;
  (void)QueryFreeSpace(send ? edMediaDir.text() : sides.destination, &free_bytes);
  RunCounters counters{free_bytes, 0};
  SyncRun run(platform_, *this, counters, sides.exclusion_list, sides.project_folder, code_page());
  if (auto refusal = RunRefusal(run, sides.removable_project_folder)) return ShowMessage(*refusal);
  const std::unique_ptr<RunMemory> memory = RecallMemory(run);
  run.memory = memory.get();
  HoldControls();
  RunPlan plan = PlanRun(run, sides.source, sides.destination, true);
  ReleaseControls();
  ShowPlan(plan, sides, send ? kPreviewSendTitle : kPreviewLoadTitle, free_bytes);
}

void TMain::ShowPlan(const RunPlan& plan, const RunSides& sides, int title, int64_t free_bytes) {
  log_.Clear();
  for (const PlannedAct& act : plan.acts) {
    const std::string where = InProject(act.path, sides);
    log_.Append(FillIn(messages_.Msg(LineMessage(act.act)), {where, SizeText(act.size)}));
  }
  if (plan.acts.empty()) log_.Append(messages_.Msg(kNothingWouldChange));
  if (plan.bytes > free_bytes) {
    log_.Append(FillIn(messages_.Msg(kPlanDoesNotFit), {MegabytesText(plan.bytes - free_bytes)}));
  }
  for (const std::string& conflict : plan.outcome.conflicts) log_.Append(conflict);
  // What the run would leave out, one line each as the run's report has it.
  const std::string skipped = SkippedEntriesText(plan.outcome, messages_);
  for (size_t start = 0; start < skipped.size();) {
    const size_t end = std::min(skipped.find("\r\n", start), skipped.size());
    log_.Append(skipped.substr(start, end - start));
    start = end + 2;
  }
  log_.SetTitle(FillIn(messages_.Msg(title), {std::to_string(plan.files), MegabytesText(plan.bytes),
                                              MegabytesText(free_bytes)}));
  last_preview_ = plan;
  last_preview_.acts.clear();
  log_.ShowModally();
}

}  // namespace pellmar
