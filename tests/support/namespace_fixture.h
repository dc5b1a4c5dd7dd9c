// The base of every fixture that works in a temp namespace: the namespace
// itself and the host paths tests name most, the stick's and Documents'.
#ifndef PELLMAR_TESTS_SUPPORT_NAMESPACE_FIXTURE_H_
#define PELLMAR_TESTS_SUPPORT_NAMESPACE_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "support/test_namespace.h"

namespace pellmar {

class NamespaceTest : public ::testing::Test {
 protected:
  /// Host path on the removable disk E:, below its root.
  std::string Stick(const std::string& below = "") const { return ns_.drive('E', below); }
  /// Host path in the Documents folder.
  std::string Documents(const std::string& below = "") const {
    return below.empty() ? ns_.documents() : ns_.documents() + "/" + below;
  }

  TestNamespace ns_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_NAMESPACE_FIXTURE_H_
