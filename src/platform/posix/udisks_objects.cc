// The choice of what an eject unmounts and powers off.
#include "platform/posix/udisks_objects.h"

#include <algorithm>

namespace pellmar {
namespace {

constexpr char kNoObject[] = "/";

bool MountedAt(const UdisksBlock& block, const std::string& mount_point) {
  return block.has_filesystem && std::find(block.mount_points.begin(), block.mount_points.end(),
                                           mount_point) != block.mount_points.end();
}

// The loop device a block belongs to: itself, or the whole device of a
// partition on it.
std::string LoopOf(const UdisksObjects& objects, const std::string& path) {
  const auto block = objects.blocks.find(path);
  if (block == objects.blocks.end()) return "";
  if (block->second.is_loop) return path;
  const auto whole = objects.blocks.find(block->second.table);
  return whole != objects.blocks.end() && whole->second.is_loop ? whole->first : "";
}

}  // namespace

UdisksEjectPlan PlanUdisksEject(const UdisksObjects& objects, const std::string& mount_point) {
  UdisksEjectPlan plan;
  for (const auto& [path, block] : objects.blocks) {
    if (!MountedAt(block, mount_point)) continue;
    plan.filesystem = path;
    plan.loop = LoopOf(objects, path);
    const auto drive = objects.drives.find(block.drive);
    if (plan.loop.empty() && block.drive != kNoObject && drive != objects.drives.end() &&
        drive->second) {
      plan.drive = block.drive;
    }
    break;
  }
  return plan;
}

}  // namespace pellmar
