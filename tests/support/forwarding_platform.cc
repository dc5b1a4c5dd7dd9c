// The overridden calls of the forwarding platform.
#include "support/forwarding_platform.h"

namespace pellmar {

Status ForwardingPlatform::CreateFolder(const std::string& path) {
  Status status = inner_.CreateFolder(path);
  if (status.ok()) created_folders.push_back(path);
  return status;
}

uint32_t ForwardingPlatform::SetErrorMode(uint32_t mode) {
  disk_calls.push_back("SetErrorMode(" + std::to_string(mode) + ")");
  return inner_.SetErrorMode(mode);
}

void ForwardingPlatform::SetLastError(uint32_t code) {
  disk_calls.push_back("SetLastError(" + std::to_string(code) + ")");
  inner_.SetLastError(code);
}

uint32_t ForwardingPlatform::GetLastError() {
  disk_calls.push_back("GetLastError");
  return inner_.GetLastError();
}

bool ForwardingPlatform::GetDiskFreeSpace(const std::string& root, uint64_t* free_bytes) {
  disk_calls.push_back("GetDiskFreeSpace(" + root + ")");
  if (!forced_disk_error && !forced_free_bytes) return inner_.GetDiskFreeSpace(root, free_bytes);
  inner_.SetLastError(forced_disk_error.value_or(kErrorSuccess));
  *free_bytes = forced_disk_error ? 0 : *forced_free_bytes;
  return !forced_disk_error;
}

std::string ForwardingPlatform::ExecutablePath() {
  return executable_path.empty() ? inner_.ExecutablePath() : executable_path;
}

bool ForwardingPlatform::QueryVersion() {
  if (!forced_version_error) return inner_.QueryVersion();
  inner_.SetLastError(*forced_version_error);
  return false;
}

}  // namespace pellmar
