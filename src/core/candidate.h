// Which files of a walk are candidates for copying: recent files whose
// extension is not excluded, and every file on the removable disk.
#ifndef PELLMAR_CORE_CANDIDATE_H_
#define PELLMAR_CORE_CANDIDATE_H_

#include <cstdint>
#include <string>

namespace pellmar {

/// The extension after the last ".", cut to 10 characters, with "," added:
/// "report.PDF" gives "PDF,", a name without a dot gives ",".
std::string ExtensionKey(const std::string& name);

/// The date window of one level, in local seconds.
struct DateWindow {
  int64_t cutoff = 0;  // today 00:00:00 minus Days days
  int64_t now_ms = 0;  // the moment the level started, in milliseconds
};

/// True when the file is recent and its key is not in `exclusion_list`, or
/// when it lies on the removable disk (SyncRun::OnRemovable of its path).
bool IsCandidate(const std::string& name, uint32_t dos_time, const DateWindow& window,
                 const std::string& exclusion_list, bool on_removable);

/// True when something last written at `dos_time` is more than 2 x `days`
/// days old at the level's moment (strictly more).
bool OlderThanTwiceDays(uint32_t dos_time, const DateWindow& window, int days);

}  // namespace pellmar

#endif  // PELLMAR_CORE_CANDIDATE_H_
