// The platform contract: what both platforms must do, on real folders. Its
// tests run against this build's host platform (POSIX natively, Win32
// under Wine) in a temp namespace whose E: is inserted and F: is not.
// What the interface cannot set up goes through the host (support/
// test_host.h); what a host cannot do at all is a skip that says why.
#ifndef PELLMAR_TESTS_PLATFORM_PLATFORM_CONTRACT_H_
#define PELLMAR_TESTS_PLATFORM_PLATFORM_CONTRACT_H_

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/namespace_fixture.h"
#include "support/test_host.h"

namespace pellmar {

class PlatformContract : public NamespaceTest,
                         public ::testing::WithParamInterface<const TestHost*> {
 protected:
  const TestHost& host() const { return *GetParam(); }

  Platform& platform_ = ns_.platform();
  const std::string docs_ = platform_.DocumentsFolder();
};

/// A contract test's report names the host it ran on, not its address.
inline void PrintTo(const TestHost* host, std::ostream* out) { *out << host->name(); }

/// The entry named `name` in a listing, nullptr when there is none.
const FileFacts* Entry(const FolderListing& listing, const std::string& name);

}  // namespace pellmar

#endif  // PELLMAR_TESTS_PLATFORM_PLATFORM_CONTRACT_H_
