// The platform tests' fixture: the POSIX platform on a temp namespace whose
// drive E: and Documents folder are temp folders, with no media mounted.
#ifndef PELLMAR_TESTS_PLATFORM_PLATFORM_FIXTURE_H_
#define PELLMAR_TESTS_PLATFORM_PLATFORM_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/test_namespace.h"

namespace pellmar {

class PlatformTest : public ::testing::Test {
 protected:
  std::string Stick(const std::string& below) const { return ns_.drive('E', below); }
  std::string Docs(const std::string& below) const { return ns_.documents() + "/" + below; }

  TestNamespace ns_;
  std::unique_ptr<Platform> platform_ = TreePlatform(ns_);
  const std::string docs_ = platform_->DocumentsFolder();
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_PLATFORM_PLATFORM_FIXTURE_H_
