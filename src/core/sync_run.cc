// Reads the window's values once for a run.
#include "core/sync_run.h"

#include <utility>

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
      code_page(code_page) {}

}  // namespace pellmar
