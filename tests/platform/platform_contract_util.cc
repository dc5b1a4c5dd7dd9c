// The contract runs once against the host of this build.
#include "platform_contract.h"

namespace pellmar {

const FileFacts* Entry(const FolderListing& listing, const std::string& name) {
  for (const FileFacts& f : listing.entries) {
    if (f.name == name) return &f;
  }
  return nullptr;
}

INSTANTIATE_TEST_SUITE_P(Host, PlatformContract, ::testing::Values(&ThisTestHost()),
                         [](const auto& instance) { return std::string(instance.param->name()); });

}  // namespace pellmar
