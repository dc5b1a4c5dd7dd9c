// Copies and removals between the open folders of a run, on this host.
#ifndef PELLMAR_PLATFORM_POSIX_HOST_COPY_H_
#define PELLMAR_PLATFORM_POSIX_HOST_COPY_H_

#include "platform/platform.h"
#include "platform/posix/trash.h"

namespace pellmar {

/// Copies as `request` says (see Platform::CopyFile); the folders are this
/// host's. `trash` keeps the replaced version when the request asks it to,
/// and always a user's version that could not be put back.
/// `result->warning` says what went wrong after the copy was in place.
Status CopyBetweenFolders(const CopyRequest& request, Trash& trash, CopyResult* result);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HOST_COPY_H_
