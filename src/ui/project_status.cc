// The count of one project: its Send and its Load planned on a platform
// that changes nothing, with the very sides and refusals of the real runs,
// the second plan reading the folders the first one listed.
#include "ui/project_status.h"

#include <algorithm>
#include <limits>
#include <set>
#include <utility>

#include "core/drive_part.h"
#include "core/run_memory.h"
#include "core/run_refusal.h"
#include "core/run_sides.h"
#include "core/sync_run.h"
#include "core/sync_window.h"
#include "platform/shared_listing_platform.h"

namespace pellmar {

namespace {

// No box for a missing disk: the count says what is wrong itself.
constexpr uint32_t kFailCriticalErrors = 1;

// The window as the request copied it: its values, and nowhere to show
// anything.
class RequestWindow : public SyncWindow {
 public:
  RequestWindow(const StatusRequest& request, const MessageTable& messages,
                const std::function<bool()>& stop)
      : request_(request), messages_(messages), stop_(stop) {}
  std::string MediaDirText() const override { return request_.entry.removable_folder; }
  int Days() const override { return request_.days; }
  bool AutoDeleteTicked() const override { return request_.entry.auto_delete; }
  std::string ProjectName() const override { return request_.name; }
  bool IgnoreHourShift() const override { return request_.ignore_hour_shift; }
  bool KeepReplaced() const override { return request_.keep_replaced; }
  const std::string& Message(int n) const override { return messages_.Msg(n); }
  void AppendLog(const std::string&) override {}
  void SetCopyStatus(const std::string&) override {}
  void ShowMessage(const std::string&) override {}
  void RequestClose() override {}
  void ProcessEvents() override {}
  bool StopRequested() override { return stop_ && stop_(); }

 private:
  const StatusRequest& request_;
  const MessageTable& messages_;
  const std::function<bool()>& stop_;
};

void AskFreeSpace(Platform& platform, ProjectStatus* status) {
  const uint32_t previous_mode = platform.SetErrorMode(kFailCriticalErrors);
  uint64_t answer = 0;
  status->free_known = platform.FreeSpace(status->drive, &answer).ok();
  // The mode handed back is our own; nothing to keep of it.
  platform.SetErrorMode(previous_mode);
  constexpr auto kMost = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  status->free_bytes = static_cast<int64_t>(std::min(answer, kMost));
}

// Both plans meet a file changed on both sides: it is one conflict, named
// once, inside the project.
void GatherConflicts(const RunSides& send, const RunSides& load, ProjectStatus* status) {
  std::set<std::string> seen;
  for (const RunPlan* plan : {&status->send, &status->load}) {
    for (const std::string& conflict : plan->outcome.conflicts) {
      const std::string named = InProject(InProject(conflict, send), load);
      if (seen.insert(named.substr(0, named.find(": "))).second) {
        status->conflicts.push_back(named);
      }
    }
  }
  status->conflict_count =
      std::max({status->send.outcome.conflict_count, status->load.outcome.conflict_count,
                static_cast<int64_t>(status->conflicts.size())});
}

}  // namespace

std::vector<std::string> ProjectStatus::LeftOut() const {
  std::vector<std::string> names = send.outcome.skipped_names;
  names.insert(names.end(), load.outcome.skipped_names.begin(), load.outcome.skipped_names.end());
  return names;
}

bool ProjectStatus::Complete() const {
  return !refusal && !stopped && send.outcome.skipped_count == 0 &&
         load.outcome.skipped_count == 0 && !send.outcome.medium_gone && !load.outcome.medium_gone;
}

ProjectStatus CountProject(Platform& platform, const StatusRequest& request,
                           const MessageTable& messages, const std::function<bool()>& stop) {
  ProjectStatus status;
  const std::string& media_dir = request.entry.removable_folder;
  status.drive = DrivePart(media_dir);
  AskFreeSpace(platform, &status);
  // A project kept in a zip file is not copied file by file: nothing to count.
  if (request.entry.use_zip) return status;
  const RunSides send =
      SendSides(request.project_folder, media_dir, request.name, request.entry.exclusion_text);
  const RunSides load =
      LoadSides(request.project_folder, media_dir, request.name, request.entry.exclusion_text);
  RequestWindow window(request, messages, stop);
  // Load copies from the disk without charging it, so both plans count
  // against the disk's free space, as the runs do.
  RunCounters counters{status.free_known ? status.free_bytes : 0, 0};
  SharedListingPlatform shared(platform);
  SyncRun run(shared, window, counters, send.exclusion_list, send.project_folder,
              CodePage{request.code_page});
  status.refusal =
      RunRefusal(platform, run, request.entry, send.removable_project_folder, messages);
  if (status.refusal) return status;
  // Without its project folder there is nothing to count, only why.
  FolderHandle project;
  if (const Status opened = platform.OpenFolderAt(send.source, &project); !opened.ok()) {
    status.refusal = send.source + ": could not be read: " + opened.message;
    return status;
  }
  project.reset();
  (void)platform.MediumAt(run.medium.anchor_path(), &status.medium);  // unknown: no label shown
  // Read for the conflicts, never added to: a count changes nothing.
  RunMemory memory(run.project_folder, status.medium.key);
  if (RecallRunMemory(platform, &memory)) run.memory = &memory;
  status.send = PlanRun(run, send.source, send.destination, false);
  // A project not on the disk yet has nothing to load; that is no fault.
  if (!status.send.outcome.stopped && platform.FolderExists(load.source)) {
    status.load = PlanRun(run, load.source, load.destination, false);
  }
  status.stopped = status.send.outcome.stopped || status.load.outcome.stopped;
  status.deletions = status.send.deletions + status.load.deletions;
  GatherConflicts(send, load, &status);
  return status;
}

}  // namespace pellmar
