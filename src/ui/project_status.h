// What Send and Load of one project would do now, counted without changing
// anything: the files and bytes each would copy, what auto-delete would
// remove, the conflicts, and the removable disk they would use. The
// command line's status and the window's count both come from here.
#ifndef PELLMAR_UI_PROJECT_STATUS_H_
#define PELLMAR_UI_PROJECT_STATUS_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/entry_table.h"
#include "core/messages.h"
#include "core/run_plan.h"
#include "core/text_ops.h"
#include "platform/platform.h"

namespace pellmar {

/// Everything the count reads of the window, copied, so that it can be
/// made away from the window while the user goes on using it.
struct StatusRequest {
  std::string name;            // the project name, as ListBox2 lists it
  std::string project_folder;  // absolute
  SyncEntry entry;
  int days = 1;  // the entry's Duration, brought into the number field's range
  bool ignore_hour_shift = true;
  bool keep_replaced = true;
  int code_page = 65001;

  friend bool operator==(const StatusRequest&, const StatusRequest&) = default;
};

struct ProjectStatus {
  /// Why the project could not be counted at all: the runs' own refusal,
  /// in the window's words, or its folder that cannot be read. The counts
  /// are then zero.
  std::optional<std::string> refusal;
  RunPlan send, load;  // without their acts
  int64_t deletions = 0;
  // Conflicts of both plans, each file once, named inside the project.
  int64_t conflict_count = 0;
  std::vector<std::string> conflicts;
  std::string drive;      // "E:"
  MediumIdentity medium;  // of the disk, where it can be told
  bool free_known = false;
  int64_t free_bytes = 0;
  bool stopped = false;  // the count was called off before it was done

  /// What the two plans could not read or handle, as "path: why".
  std::vector<std::string> LeftOut() const;
  /// True when both plans saw every file they had to.
  bool Complete() const;
};

/// Counts Send and Load of `request` on `platform`. `stop` is asked between
/// files; once it answers true the count ends early, marked stopped.
ProjectStatus CountProject(Platform& platform, const StatusRequest& request,
                           const MessageTable& messages, const std::function<bool()>& stop);

}  // namespace pellmar

#endif  // PELLMAR_UI_PROJECT_STATUS_H_
