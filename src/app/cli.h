// The program's front door: the window by default, verbs when given.
#ifndef PELLMAR_APP_CLI_H_
#define PELLMAR_APP_CLI_H_

namespace pellmar {

/// Runs Pellmar with its command line; returns the exit code.
int RunPellmar(int argc, char** argv);

}  // namespace pellmar

#endif  // PELLMAR_APP_CLI_H_
