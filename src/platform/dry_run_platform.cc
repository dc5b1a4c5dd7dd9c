// What a dry run would change, noted instead of done.
#include "platform/dry_run_platform.h"

namespace pellmar {

FolderListing DryRunPlatform::ListFolder(const std::string& pattern) {
  FolderListing listing = inner().ListFolder(pattern);
  // A folder the run would have made is there, and empty.
  const size_t cut = pattern.find_last_of('\\');
  if (!listing.status.ok() && cut != std::string::npos &&
      made_folders_.count(pattern.substr(0, cut)) != 0) {
    listing = FolderListing{};
  }
  return listing;
}

std::optional<FileFacts> DryRunPlatform::FindFile(const std::string& path) {
  const auto copied = copies_.find(path);
  if (copied == copies_.end()) return inner().FindFile(path);
  // The copy it would have made: the source's facts, as a file of its own.
  std::optional<FileFacts> facts = inner().FindFile(copied->second);
  if (facts) facts->identity = FileIdentity{};
  return facts;
}

Status DryRunPlatform::CopyOver(const std::string& source, const std::string& target, VolumeGuard) {
  copies_[target] = source;
  return {};
}

bool DryRunPlatform::FolderExists(const std::string& path) {
  return made_folders_.count(path) != 0 || inner().FolderExists(path);
}

Status DryRunPlatform::RemoveFile(const std::string& path) {
  deletions_.push_back(path);
  return {};
}

Status DryRunPlatform::CreateFolder(const std::string& path) {
  made_folders_.insert(path);
  return {};
}

}  // namespace pellmar
