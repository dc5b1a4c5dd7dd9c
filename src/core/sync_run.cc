// Reads the window's values once for a run.
#include "core/sync_run.h"

#include <utility>

#include "core/send_load.h"

namespace pellmar {

SyncRun::SyncRun(Platform& platform, SyncWindow& window, RunCounters& counters,
                 std::string exclusion_list, std::string project_folder, CodePage code_page)
    : platform(platform),
      window(window),
      counters(counters),
      exclusion_list(std::move(exclusion_list)),
      project_folder(std::move(project_folder)),
      media_dir(window.MediaDirText()),
      removable_project_folder(window.MediaDirText() + "\\" + window.ProjectName()),
      days(window.Days()),
      auto_delete(window.AutoDeleteTicked()),
      code_page(code_page),
      medium(platform, media_dir, SendDestination(media_dir, window.ProjectName()), code_page),
      medium_recorded(medium.Record()) {}

void SyncRun::EndForMediumGone() {
  if (medium_gone) return;
  medium_gone = true;
  outcome.medium_gone = true;
  window.ShowMessage(MediumGoneText(CopiesDone()));
}

}  // namespace pellmar
