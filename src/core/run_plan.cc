// The plan: a dry walk that counts.
#include "core/run_plan.h"

#include "core/sync_tree.h"
#include "platform/dry_run_platform.h"

namespace pellmar {

namespace {

// The window as the plan sees it: the same values and the same stop, but
// nothing shown, logged or closed.
class PlanWindow : public SyncWindow {
 public:
  explicit PlanWindow(SyncWindow& window) : window_(window) {}
  std::string MediaDirText() const override { return window_.MediaDirText(); }
  int Days() const override { return window_.Days(); }
  bool AutoDeleteTicked() const override { return window_.AutoDeleteTicked(); }
  std::string ProjectName() const override { return window_.ProjectName(); }
  bool IgnoreHourShift() const override { return window_.IgnoreHourShift(); }
  bool KeepReplaced() const override { return window_.KeepReplaced(); }
  const std::string& Message(int n) const override { return window_.Message(n); }
  void AppendLog(const std::string&) override {}
  void SetCopyStatus(const std::string&) override {}
  void ShowMessage(const std::string&) override {}
  void RequestClose() override {}
  void ProcessEvents() override { window_.ProcessEvents(); }
  bool StopRequested() override { return window_.StopRequested(); }

 private:
  SyncWindow& window_;
};

class PlanRecorder : public RunObserver {
 public:
  PlanRecorder(RunPlan& plan, bool list_acts) : plan_(plan), list_acts_(list_acts) {}
  void Done(Act act, const std::string& path, int64_t size) override {
    switch (act) {
      case Act::kReplace:
        ++plan_.replacements;
        [[fallthrough]];
      case Act::kCopy:
        ++plan_.files;
        plan_.bytes += size;
        break;
      case Act::kDelete:
        ++plan_.deletions;
        break;
      case Act::kRemoveFolder:
        ++plan_.folder_removals;
        return;  // a folder goes only when empty: not worth a line
    }
    if (list_acts_) plan_.acts.push_back(PlannedAct{act, path, size});
  }

 private:
  RunPlan& plan_;
  const bool list_acts_;
};

}  // namespace

bool RunPlan::NeedsRun() const {
  return files > 0 || deletions > 0 || folder_removals > 0 || debris > 0 ||
         outcome.copies_refused > 0 || outcome.copies_failed > 0 || outcome.medium_gone;
}

RunPlan PlanRun(const SyncRun& like, const std::string& source_folder,
                const std::string& destination_root, bool list_acts) {
  RunPlan plan;
  DryRunPlatform dry(like.platform);
  PlanWindow window(like.window);
  RunCounters counters = like.counters;
  SyncRun run(dry, window, counters, like.exclusion_list, like.project_folder, like.code_page);
  // A plan that finds nothing to do is the whole run: it remembers too.
  run.memory = like.memory;
  run.remembers = like.remembers;
  run.planning = true;
  PlanRecorder recorder(plan, list_acts);
  run.observer = &recorder;
  SyncTree(run, source_folder, destination_root);
  plan.debris = dry.debris_seen();
  plan.outcome = std::move(run.outcome);
  return plan;
}

}  // namespace pellmar
