// Listings and looks kept for the second plan.
#include "platform/shared_listing_platform.h"

namespace pellmar {

std::optional<SharedListingPlatform::FolderKey> SharedListingPlatform::KeyOf(
    const OpenFolder& folder) {
  // A folder without an identity cannot be told from another: never shared.
  if (!folder.identity().known) return std::nullopt;
  return FolderKey{folder.identity().volume, folder.identity().file};
}

FolderListing SharedListingPlatform::ListOpenFolder(OpenFolder& folder) {
  const std::optional<FolderKey> key = KeyOf(folder);
  if (!key) return inner().ListOpenFolder(folder);
  const auto kept = listings_.find(*key);
  if (kept != listings_.end()) {
    FolderListing listing = std::move(kept->second);
    listings_.erase(kept);
    return listing;
  }
  FolderListing listing = inner().ListOpenFolder(folder);
  listings_.emplace(*key, listing);
  return listing;
}

std::optional<FileFacts> SharedListingPlatform::LookIn(OpenFolder& folder,
                                                       const std::string& name) {
  const std::optional<FolderKey> key = KeyOf(folder);
  if (!key) return inner().LookIn(folder, name);
  const auto [kept, added] = looks_.try_emplace({*key, name});
  if (added) kept->second = inner().LookIn(folder, name);
  return kept->second;
}

std::vector<std::optional<FileFacts>> SharedListingPlatform::LookInEach(
    OpenFolder& folder, const std::vector<std::string>& names) {
  const std::optional<FolderKey> key = KeyOf(folder);
  if (!key) return inner().LookInEach(folder, names);
  // The names not asked before are asked together, as the platform would.
  std::vector<std::string> unasked;
  for (const std::string& name : names) {
    if (looks_.count({*key, name}) == 0) unasked.push_back(name);
  }
  if (!unasked.empty()) {
    std::vector<std::optional<FileFacts>> found = inner().LookInEach(folder, unasked);
    for (size_t i = 0; i < unasked.size(); ++i) looks_[{*key, unasked[i]}] = std::move(found[i]);
  }
  std::vector<std::optional<FileFacts>> answers;
  answers.reserve(names.size());
  for (const std::string& name : names) answers.push_back(looks_[{*key, name}]);
  return answers;
}

bool SharedListingPlatform::ListingPays(OpenFolder& folder) {
  const std::optional<FolderKey> key = KeyOf(folder);
  if (!key) return inner().ListingPays(folder);
  const auto [kept, added] = listing_pays_.try_emplace(*key, false);
  if (added) kept->second = inner().ListingPays(folder);
  return kept->second;
}

}  // namespace pellmar
