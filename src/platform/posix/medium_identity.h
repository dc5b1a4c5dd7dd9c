// Which medium a mounted file system is, told without root and without
// reading the device: udev's links in /dev/disk/by-uuid and by-label lead to
// the device the file system is on. Where there is no udev (a container, a
// minimal system), the kernel's file system id from statfs stands in; it
// lasts as long as the file system's own UUID does where it has one, and
// for FAT only while the medium keeps its device number.
#ifndef PELLMAR_PLATFORM_POSIX_MEDIUM_IDENTITY_H_
#define PELLMAR_PLATFORM_POSIX_MEDIUM_IDENTITY_H_

#include <string>

#include "platform/platform.h"

namespace pellmar {

/// The medium of the file system that holds `host_path`. `device` is the
/// mount table's source for it ("/dev/sdb1"; it names the medium of a FUSE
/// mount, whose own device number is made up), `dev_disk` udev's folder
/// ("/dev/disk"). An empty key when nothing lasting is known.
MediumIdentity IdentifyMedium(const std::string& host_path, const std::string& device,
                              const std::string& dev_disk);

/// A name of a udev link with its "\xNN" escapes decoded, except those of
/// control characters.
std::string DecodeUdevName(const std::string& name);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_MEDIUM_IDENTITY_H_
