// File system traits from statfs, and from the mount table for FUSE, whose
// statfs type says nothing of what it serves.
#include "platform/posix/file_system_traits.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <cstdint>
#include <fstream>
#include <sstream>

namespace pellmar {
namespace {

constexpr long kMsdosMagic = 0x4d44;
constexpr long kExfatMagic = 0x2011BAB0;
constexpr long kFuseMagic = 0x65735546;
constexpr long kNtfs3Magic = 0x7366746e;
constexpr long kNtfsMagic = 0x5346544e;
constexpr int64_t kFatMaxFileSize = (int64_t{1} << 32) - 1;

// The type /proc/self/mountinfo gives the mount `mount_id`, "" when unknown.
std::string MountTypeOf(uint64_t mount_id) {
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  const std::string id = std::to_string(mount_id) + " ";
  while (std::getline(table, line)) {
    if (line.compare(0, id.size(), id) != 0) continue;
    const size_t dash = line.find(" - ");
    if (dash == std::string::npos) return "";
    std::istringstream rest(line.substr(dash + 3));
    std::string type;
    rest >> type;
    return type;
  }
  return "";
}

bool Mentions(const std::string& type, const char* what) {
  return type.find(what) != std::string::npos;
}

// Block-device FUSE serves the media of other systems, exFAT and NTFS
// alike, and every FUSE file system numbers files by its own rules.
FileSystemTraits FuseTraits(const std::string& mount_type, const FileSystemLimits& windows,
                            const FileSystemLimits& fat) {
  const bool exfat_or_ntfs =
      mount_type == "fuseblk" || Mentions(mount_type, "exfat") || Mentions(mount_type, "ntfs");
  if (exfat_or_ntfs) return {true, false, windows, false};
  if (Mentions(mount_type, "fat")) return {true, false, fat, false, false};
  return {false, false, {}, true};
}

}  // namespace

FileSystemTraits TraitsOfType(long statfs_type, const std::string& mount_type) {
  // The file systems of Windows media hold no name beyond the Windows
  // rules, no Unix modes, and FAT no file of 4 GiB or more.
  const FileSystemLimits windows{0, true};
  const FileSystemLimits fat{kFatMaxFileSize, true};
  if (statfs_type == kMsdosMagic) return {true, false, fat, false};
  if (statfs_type == kExfatMagic) return {true, false, windows, false};
  if (statfs_type == kNtfs3Magic || statfs_type == kNtfsMagic) return {false, true, windows, false};
  if (statfs_type != kFuseMagic) return {};
  FileSystemTraits traits = FuseTraits(mount_type, windows, fat);
  traits.copy_by_buffer = true;
  traits.listing_pays = false;
  return traits;
}

FileSystemTraits TraitsOfFolder(int fd) {
  struct statfs info;
  if (fstatfs(fd, &info) != 0) return {};
  if (info.f_type != kFuseMagic) return TraitsOfType(info.f_type, "");
  struct statx mount;
  const bool have_id = statx(fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &mount) == 0 &&
                       (mount.stx_mask & STATX_MNT_ID) != 0;
  return TraitsOfType(info.f_type, have_id ? MountTypeOf(mount.stx_mnt_id) : "");
}

}  // namespace pellmar
