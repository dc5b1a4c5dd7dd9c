// Temporary files beside a target, for copies and saves that must land
// whole or not at all. A process killed mid-copy leaves its file behind, so
// the names have a form of their own that listings leave out. A live copy
// holds its file open without letting others delete it, so a file of that
// form that can be deleted is debris, and goes.
#ifndef PELLMAR_PLATFORM_WIN32_TEMP_FILE_H_
#define PELLMAR_PLATFORM_WIN32_TEMP_FILE_H_

#include <string>

#include "platform/platform.h"
#include "platform/win32/scoped_handle.h"

namespace pellmar {

/// True for the names temporary files get (".pellmar-XXXXXX.tmp", and the
/// ".pellmar-XXXXXX" of earlier versions).
bool IsTemporaryName(const std::wstring& name);

/// A fresh temporary name in `folder` (which ends without a separator).
std::wstring TemporaryNameIn(const std::wstring& folder);

/// Creates a new temporary file beside `target`, open for writing and
/// shared with nobody; `*path` gets its name.
Status CreateTempBeside(const std::wstring& target, std::wstring* path, ScopedHandle* file);

/// Renames the complete temporary file over `target`, the rename written
/// through to the disk. On failure the temporary file is removed.
Status CommitTemp(const std::wstring& temp, const std::wstring& target);

/// Removes every temporary file in `folder` that no live copy holds.
void RemoveDebrisIn(const std::wstring& folder);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_TEMP_FILE_H_
