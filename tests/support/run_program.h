// Runs a program with an argument vector and an environment of the test's
// choosing (never through a shell), and captures what it wrote.
#ifndef PELLMAR_TESTS_SUPPORT_RUN_PROGRAM_H_
#define PELLMAR_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <string>
#include <vector>

namespace pellmar {

struct ProgramRun {
  int exit_code = -1;  // -1 when it could not start or did not exit by itself
  std::string out, err;
};

/// Runs argv[0] with `argv` and exactly `environment`; stdin is /dev/null,
/// stdout and stderr go through files in `scratch_folder`.
ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment,
                      const std::string& scratch_folder);

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_RUN_PROGRAM_H_
