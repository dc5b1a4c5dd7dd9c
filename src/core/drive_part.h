// The drive part of a path: what the free-space query and the help page's
// working directory are given ("E:" of E:\Backup, "\\server\share" of a
// network path, empty for anything else).
#ifndef PELLMAR_CORE_DRIVE_PART_H_
#define PELLMAR_CORE_DRIVE_PART_H_

#include <string>

namespace pellmar {

std::string DrivePart(const std::string& path);

}  // namespace pellmar

#endif  // PELLMAR_CORE_DRIVE_PART_H_
