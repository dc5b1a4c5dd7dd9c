// The platform tests' fixture: the POSIX platform on a temp namespace whose
// drive E: and Documents folder are temp folders, with no media mounted,
// for the tests of what only the POSIX platform has.
#ifndef PELLMAR_TESTS_PLATFORM_PLATFORM_FIXTURE_H_
#define PELLMAR_TESTS_PLATFORM_PLATFORM_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/namespace_fixture.h"
#include "support/posix/tree_platform.h"

namespace pellmar {

class PlatformTest : public NamespaceTest {
 protected:
  std::unique_ptr<Platform> platform_ = TreePlatform(ns_);
  const std::string docs_ = platform_->DocumentsFolder();
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_PLATFORM_PLATFORM_FIXTURE_H_
