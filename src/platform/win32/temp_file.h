// Temporary files beside a target named by path, for saves that must land
// whole or not at all. A process killed mid-save leaves its file behind,
// so it has a scratch name, which listings leave out; a live save holds it
// open without letting others delete it, so one that can be deleted is
// debris (see debris.h).
#ifndef PELLMAR_PLATFORM_WIN32_TEMP_FILE_H_
#define PELLMAR_PLATFORM_WIN32_TEMP_FILE_H_

#include <string>

#include "platform/platform.h"
#include "platform/win32/scoped_handle.h"

namespace pellmar {

/// Creates a new temporary file beside `target`, open for writing and
/// shared with nobody; `*path` gets its name.
Status CreateTempBeside(const std::wstring& target, std::wstring* path, ScopedHandle* file);

/// Renames the complete temporary file over `target`, the rename written
/// through to the disk. On failure the temporary file is removed.
Status CommitTemp(const std::wstring& temp, const std::wstring& target);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_TEMP_FILE_H_
