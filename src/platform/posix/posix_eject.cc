// PosixPlatform::EjectMedium: which drives may be ejected at all, and the
// eject of the others through udisks2. Only a whole mounted medium goes: a
// drive mapped onto a plain folder would take the disk that folder is on
// with it, and the system's own disk is never a medium to pull out.
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/mount_table.h"
#include "platform/posix/posix_platform.h"
#include "platform/posix/udisks_eject.h"

namespace pellmar {

Status PosixPlatform::EjectMedium(const std::string& drive, EjectResult* result) {
  *result = EjectResult{};
  const std::optional<NamespacePathParts> parts = ParseNamespacePath(drive);
  if (!parts || parts->root.empty() || !parts->components.empty()) {
    return Status::Error(kErrorInvalidName, "\"" + drive + "\" is no drive");
  }
  const NamespaceMapping* mapping = table_.FindRoot(parts->root);
  if (mapping == nullptr) {
    RefreshMedia();  // a medium plugged in since the last look has a letter now
    mapping = table_.FindRoot(parts->root);
  }
  if (mapping == nullptr) return Status::Error(kErrorInvalidDrive, "there is no drive " + drive);
  const std::string host_root = mapping->HostRootText();
  if (mapping->origin == MappingOrigin::kSystem || host_root == "/") {
    return Status::Error(kErrorNotSupported, "it is this system's own disk");
  }
  if (!MediumPresent(*mapping)) {
    return Status::Error(kErrorNotReady, "no medium is in it (" + host_root + ")");
  }
  const std::vector<MountEntry> mounts = ParseMountTable(ReadMountTableFile(settings_.mounts_file));
  if (!IsMounted(mounts, host_root)) {
    return Status::Error(kErrorNotSupported,
                         "it is the folder " + host_root + ", not the mount point of a disk");
  }
  return EjectThroughUdisks(host_root, result);
}

}  // namespace pellmar
