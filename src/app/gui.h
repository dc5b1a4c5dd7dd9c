// The window front end: runs Pellmar's main window on the given platform.
#ifndef PELLMAR_APP_GUI_H_
#define PELLMAR_APP_GUI_H_

#include "platform/platform.h"

namespace pellmar {

/// Whether this session can show a window at all (a graphical session).
bool CanShowWindow();

/// Starts the windows and runs the event loop; returns its exit code.
int RunWindow(int argc, char** argv, Platform& platform);

/// Where the window is a module of its own (gui.cc on Linux), RunWindow
/// loads it and calls this entry, which it finds by name.
using WindowEntry = int (*)(int argc, char** argv, Platform* platform);
inline constexpr char kWindowEntryName[] = "PellmarRunWindow";

}  // namespace pellmar

#endif  // PELLMAR_APP_GUI_H_
