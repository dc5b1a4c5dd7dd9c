// The permission bits of a new copy, and when giving them costs a chmod of
// their own: the source's bits where its file system holds Unix modes;
// elsewhere the modes a file shows are made up by the mount, and only
// "read-only" is the source's, as Windows copies it.
#ifndef PELLMAR_PLATFORM_POSIX_COPY_MODE_H_
#define PELLMAR_PLATFORM_POSIX_COPY_MODE_H_

#include <sys/types.h>

#include <optional>

namespace pellmar {

/// The permission bits a copy of a file with the st_mode `source` gets.
/// `source_modes` says whether the source's file system holds Unix modes;
/// `replaced` is the st_mode of the version the copy replaces, if any.
mode_t ModeOfCopy(mode_t source, bool source_modes, std::optional<mode_t> replaced);

/// True when a file created with `mode` must be given it again: where the
/// file system holds Unix modes, when the process's mask took bits of it;
/// elsewhere only to make it read-only, all such a file system keeps.
bool ModeNeedsSetting(mode_t mode, bool unix_modes);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_COPY_MODE_H_
