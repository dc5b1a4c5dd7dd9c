// When a new copy's permission bits cost a chmod of their own: only where
// the file system would keep them and the file was not made with them.
#ifndef PELLMAR_PLATFORM_POSIX_COPY_MODE_H_
#define PELLMAR_PLATFORM_POSIX_COPY_MODE_H_

#include <sys/types.h>

namespace pellmar {

/// True when a file created with `mode` must be given it again: where the
/// file system holds Unix modes, when the process's mask took bits of it;
/// elsewhere only to make it read-only, all such a file system keeps.
bool ModeNeedsSetting(mode_t mode, bool unix_modes);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_COPY_MODE_H_
