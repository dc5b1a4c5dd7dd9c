// Copies between the open folders of a run, on this host.
#ifndef PELLMAR_PLATFORM_WIN32_HOST_COPY_H_
#define PELLMAR_PLATFORM_WIN32_HOST_COPY_H_

#include "platform/platform.h"
#include "platform/win32/recycle_bin.h"

namespace pellmar {

/// Copies as `request` says (see Platform::CopyFile); the folders are this
/// host's. `bin` keeps the replaced version when the request asks it to
/// and the drive has one, and always a user's version that could not be
/// put back. `result->warning` says what went wrong after the copy was in
/// place.
Status CopyBetweenFolders(const CopyRequest& request, RecycleBin& bin, CopyResult* result);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_HOST_COPY_H_
