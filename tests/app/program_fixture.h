// Runs the built pellmar as a user would, in a temp namespace of its own:
// the child's environment holds only that namespace and PATH, so the
// tester's own settings are never touched.
#ifndef PELLMAR_TESTS_APP_PROGRAM_FIXTURE_H_
#define PELLMAR_TESTS_APP_PROGRAM_FIXTURE_H_

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/namespace_fixture.h"
#include "support/run_program.h"

namespace pellmar {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class ProgramTest : public NamespaceTest {
 protected:
  ProgramRun Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {PELLMAR_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, env_, ns_.path());
  }
  /// Replaces the variable `name` of the child's environment.
  void SetVariable(const std::string& name, const std::string& value) {
    for (std::string& variable : env_) {
      if (variable.rfind(name + "=", 0) == 0) variable = name + "=" + value;
    }
  }
  /// The namespace spelling of a host path as drive C: maps it, worked out
  /// here rather than by the platform under test.
  static std::string OnC(const std::string& host_path) {
    std::string path = "C:" + host_path;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }
  std::vector<std::string> env_ = [this] {
    std::vector<std::string> env = ns_.Environment();
    env.push_back("PATH=/usr/bin:/bin");
    return env;
  }();
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_APP_PROGRAM_FIXTURE_H_
