// What the disk service udisks2 says about its block devices and drives,
// reduced to what an eject needs, and the choice it makes from that: which
// file system to unmount for a mount point, and how to power its medium off.
#ifndef PELLMAR_PLATFORM_POSIX_UDISKS_OBJECTS_H_
#define PELLMAR_PLATFORM_POSIX_UDISKS_OBJECTS_H_

#include <map>
#include <string>
#include <vector>

namespace pellmar {

/// One block device object of udisks2, by its object path.
struct UdisksBlock {
  bool has_filesystem = false;            // it carries org.freedesktop.UDisks2.Filesystem
  std::vector<std::string> mount_points;  // where that file system is mounted
  std::string drive;                      // the drive object; "/" for none (a loop device)
  std::string table;                      // of a partition: the whole device's block object
  bool is_loop = false;                   // it carries org.freedesktop.UDisks2.Loop
};

/// Everything udisks2 manages, by object path.
struct UdisksObjects {
  std::map<std::string, UdisksBlock> blocks;
  std::map<std::string, bool> drives;  // drive object -> it can be powered off
};

/// How the medium mounted at one place is ejected.
struct UdisksEjectPlan {
  std::string filesystem;  // the block object to unmount; "" when none is mounted there
  // After the unmount: the loop device to delete (a loop device has no
  // drive to power off; deleting it lets go of its image as pulling a stick
  // lets go of the stick), else the drive to power off; both "" when the
  // medium cannot be powered off and unmounting it is all there is.
  std::string loop;
  std::string drive;
};

/// The plan for the file system mounted at `mount_point`.
UdisksEjectPlan PlanUdisksEject(const UdisksObjects& objects, const std::string& mount_point);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_UDISKS_OBJECTS_H_
