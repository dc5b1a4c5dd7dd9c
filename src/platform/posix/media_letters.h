// Which drive letter each removable medium gets: the one it had before,
// whatever else is mounted and in whatever order, as Windows keeps a letter
// per device. A medium seen for the first time takes the lowest letter from
// E: that is free now and kept for no other medium, and keeps it from then on.
#ifndef PELLMAR_PLATFORM_POSIX_MEDIA_LETTERS_H_
#define PELLMAR_PLATFORM_POSIX_MEDIA_LETTERS_H_

#include <set>
#include <vector>

#include "platform/medium_memory.h"
#include "platform/platform.h"

namespace pellmar {

/// The letters for `media`, in their order; 0 for a medium left without one
/// (every letter from E: to Z: in use). `in_use` holds the letters taken
/// already: the system's, those PELLMAR_DRIVES sets, which always win, and
/// those of media lettered before. `*memory` learns each new medium that has
/// a key; when every letter is kept for some medium, the medium seen longest
/// ago gives its letter up. A medium whose letter is in use gets another for
/// now and keeps its own for later. True in `*changed` when `*memory` changed.
std::vector<char> ChooseMediaLetters(std::set<char> in_use,
                                     const std::vector<MediumIdentity>& media,
                                     std::vector<RememberedLetter>* memory, bool* changed);

/// Marks the remembered media among `present` as the ones seen last, so
/// that the medium that gives its letter up is one long unseen. False when
/// they were the ones seen last already, so the file is written only when
/// what is plugged in changes.
bool MarkMediaSeen(const std::vector<MediumIdentity>& present,
                   std::vector<RememberedLetter>* memory);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_MEDIA_LETTERS_H_
