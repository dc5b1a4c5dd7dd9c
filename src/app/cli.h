// The program's front door: the window by default, verbs when given.
#ifndef PELLMAR_APP_CLI_H_
#define PELLMAR_APP_CLI_H_

#include "platform/platform.h"

namespace pellmar {

/// Runs Pellmar with its command line on `platform`; returns the exit code.
int RunPellmar(int argc, char** argv, Platform& platform);

}  // namespace pellmar

#endif  // PELLMAR_APP_CLI_H_
