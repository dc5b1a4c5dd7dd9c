// A platform that lets two plans of one project share what the first one
// read: each folder's listing, and each name asked of a folder, kept by the
// folder's identity. Only for plans, which change nothing: the second plan
// sees the trees as the first found them a moment before, and neither walk
// costs the disk more than one.
#ifndef PELLMAR_PLATFORM_SHARED_LISTING_PLATFORM_H_
#define PELLMAR_PLATFORM_SHARED_LISTING_PLATFORM_H_

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/forwarding_platform.h"

namespace pellmar {

class SharedListingPlatform : public ForwardingPlatform {
 public:
  explicit SharedListingPlatform(Platform& real) : ForwardingPlatform(real) {}

  /// A listing is handed out twice, once to each plan, then forgotten, so
  /// that the memory held is that of one walk's listings at most.
  FolderListing ListOpenFolder(OpenFolder& folder) override;
  std::optional<FileFacts> LookIn(OpenFolder& folder, const std::string& name) override;
  std::vector<std::optional<FileFacts>> LookInEach(OpenFolder& folder,
                                                   const std::vector<std::string>& names) override;
  bool ListingPays(OpenFolder& folder) override;

 private:
  using FolderKey = std::pair<uint64_t, uint64_t>;  // volume, file
  static std::optional<FolderKey> KeyOf(const OpenFolder& folder);

  std::map<FolderKey, FolderListing> listings_;
  std::map<std::pair<FolderKey, std::string>, std::optional<FileFacts>> looks_;
  std::map<FolderKey, bool> listing_pays_;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_SHARED_LISTING_PLATFORM_H_
