// Reads the kernel's mount table and picks the removable media in it: the
// file systems mounted below the folders where desktops mount sticks and
// cards. They become drive letters in the Windows namespace.
#ifndef PELLMAR_PLATFORM_POSIX_MOUNT_TABLE_H_
#define PELLMAR_PLATFORM_POSIX_MOUNT_TABLE_H_

#include <string>
#include <vector>

namespace pellmar {

struct MountEntry {
  std::string device;       // first field, e.g. "/dev/sdb1"
  std::string mount_point;  // second field, escapes decoded
  std::string type;         // third field, e.g. "vfat"
};

/// Parses the text of /proc/self/mounts (fstab format, with "\040" style
/// octal escapes for blanks and the like in the first two fields).
std::vector<MountEntry> ParseMountTable(const std::string& text);

/// Mount points of removable media: file systems mounted strictly below one
/// of `media_roots`, sorted by mount point, each once. Kernel and memory
/// file systems (tmpfs, proc, autofs, ...) are no media and are left out.
std::vector<std::string> RemovableMountPoints(const std::vector<MountEntry>& mounts,
                                              const std::vector<std::string>& media_roots);

/// True when `mount_point` is a mount point in `mounts`.
bool IsMounted(const std::vector<MountEntry>& mounts, const std::string& mount_point);

/// The source (first field) of the mount at `mount_point`, the last one
/// when it was mounted over; "" when nothing is mounted there.
std::string SourceOf(const std::vector<MountEntry>& mounts, const std::string& mount_point);
/// The source of the mount whose mount point is the nearest folder above
/// `host_path` or the path itself; "" when the table names none.
std::string SourceHolding(const std::vector<MountEntry>& mounts, const std::string& host_path);

/// The text of the mount table file; empty when it cannot be read.
std::string ReadMountTableFile(const std::string& path);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_MOUNT_TABLE_H_
