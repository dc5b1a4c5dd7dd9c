// Runs a program with an argument vector and an environment of the test's
// choosing (never through a shell), and captures what it wrote.
#ifndef PELLMAR_TESTS_SUPPORT_RUN_PROGRAM_H_
#define PELLMAR_TESTS_SUPPORT_RUN_PROGRAM_H_

#include <functional>
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

/// How RunProgram runs the program, beyond its arguments and environment.
struct RunOptions {
  /// stderr on a terminal of its own, 80 columns wide, rather than in a
  /// file; what the terminal shows is `err` (its "\n" as "\r\n").
  bool stderr_on_terminal = false;
  /// The same for stdout, whose terminal then shows in `out`.
  bool stdout_on_terminal = false;
  /// Called with the program's process id once it has started; the
  /// program is waited for when it returns.
  std::function<void(int pid)> while_running;
};

/// RunProgram with `options`.
ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment,
                      const std::string& scratch_folder, const RunOptions& options);

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_RUN_PROGRAM_H_
