// The POSIX platform over a temp namespace's own settings, for the tests of
// the drive table, the mount table and the media letters.
#ifndef PELLMAR_TESTS_SUPPORT_POSIX_TREE_PLATFORM_H_
#define PELLMAR_TESTS_SUPPORT_POSIX_TREE_PLATFORM_H_

#include <memory>

#include "platform/posix/host_settings.h"
#include "support/test_namespace.h"

namespace pellmar {

/// Host settings for the same layout given straight to the POSIX platform,
/// with a mount table of its own (the file "mounts", empty at first) and
/// media looked for below "media" only, so the host's own disks stay out.
HostSettings TreeSettings(const TestNamespace& ns);
std::unique_ptr<Platform> TreePlatform(const TestNamespace& ns);

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_POSIX_TREE_PLATFORM_H_
