// Reads the window's values once for a run.
#include "core/sync_run.h"

#include <utility>

#include "core/send_load.h"

namespace pellmar {

SyncRun::SyncRun(Platform& host, SyncWindow& shown_on, RunCounters& shared_counters,
                 std::string exclusions, std::string project, CodePage cp)
    : platform(host),
      window(shown_on),
      counters(shared_counters),
      exclusion_list(std::move(exclusions)),
      project_folder(std::move(project)),
      media_dir(shown_on.MediaDirText()),
      removable_project_folder(media_dir + "\\" + shown_on.ProjectName()),
      days(shown_on.Days()),
      auto_delete(shown_on.AutoDeleteTicked()),
      ignore_hour_shift(shown_on.IgnoreHourShift()),
      keep_replaced(shown_on.KeepReplaced()),
      code_page(cp),
      medium(host, media_dir, SendDestination(media_dir, shown_on.ProjectName()), cp),
      medium_recorded(medium.Record()) {}

void SyncRun::EndForMediumGone() {
  if (medium_gone) return;
  medium_gone = true;
  outcome.medium_gone = true;
  window.ShowMessage(MediumGoneText(window.Message(kMediumGone), CopiesDone()));
}

bool SyncRun::EndIfMediumGone() {
  if (medium.StillThere()) return false;
  EndForMediumGone();
  return true;
}

void SyncRun::NoteDiskFull() {
  if (outcome.disk_full) return;
  outcome.disk_full = true;
  window.ShowMessage(FillIn(window.Message(kDiskFull), {std::to_string(CopiesDone())}));
}

void SyncRun::MakeMediumSafe() {
  if (!medium_changed) return;
  // A slow stick can take seconds to write what the cache still holds of
  // it: the bar, full, says what the run still waits for.
  window.ShowProgress(1000, window.Message(kFlushingMedium));
  window.ProcessEvents();
  const Status flushed = medium.Flush();
  if (!flushed.ok()) {
    outcome.medium_unsafe = true;
    outcome.Skip(medium.root_path() + ": the data could not be made safe on the disk: " +
                 flushed.message + "; do not pull it out yet");
  }
}

bool SyncRun::StopAsked() {
  if (!Ended() && window.StopRequested()) outcome.stopped = true;
  return Ended();
}

}  // namespace pellmar
