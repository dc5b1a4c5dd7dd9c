// The faults of FaultyPlatform.
#include "support/forwarding_platform.h"

namespace pellmar {

Status FaultyPlatform::CreateFolder(const std::string& path) {
  Status status = ForwardingPlatform::CreateFolder(path);
  if (status.ok()) created_folders.push_back(path);
  return status;
}

Status FaultyPlatform::FreeSpace(const std::string& root, uint64_t* free_bytes) {
  if (!forced_disk_error && !forced_free_bytes)
    return ForwardingPlatform::FreeSpace(root, free_bytes);
  *free_bytes = forced_disk_error ? 0 : *forced_free_bytes;
  return forced_disk_error ? Status::Error(*forced_disk_error, "forced by the test") : Status::Ok();
}

std::string FaultyPlatform::ExecutablePath() {
  return executable_path.empty() ? ForwardingPlatform::ExecutablePath() : executable_path;
}

Status FaultyPlatform::QueryVersion() {
  if (!forced_version_error) return ForwardingPlatform::QueryVersion();
  return Status::Error(*forced_version_error, "forced by the test");
}

Status FaultyPlatform::FlushFile(const std::string& path) {
  if (fail_flush) return Status::Error(kErrorGenFailure, "flush refused by the test");
  return ForwardingPlatform::FlushFile(path);
}

}  // namespace pellmar
