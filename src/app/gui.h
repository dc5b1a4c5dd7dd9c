// The window front end: runs Pellmar's main window on the given platform.
#ifndef PELLMAR_APP_GUI_H_
#define PELLMAR_APP_GUI_H_

#include "platform/platform.h"

namespace pellmar {

/// Starts the windows and runs the event loop; returns its exit code.
int RunWindow(int argc, char** argv, Platform& platform);

}  // namespace pellmar

#endif  // PELLMAR_APP_GUI_H_
