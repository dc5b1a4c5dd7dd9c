// The skin's door to the Win32 headers: the platform's <windows.h> first,
// then the common controls and the shell's dialogs built on it.
#ifndef PELLMAR_UI_WIN32_COMMON_CONTROLS_H_
#define PELLMAR_UI_WIN32_COMMON_CONTROLS_H_

// clang-format off
#include "platform/windows_api.h"
#include <commctrl.h>
#include <shobjidl.h>
// clang-format on

#endif  // PELLMAR_UI_WIN32_COMMON_CONTROLS_H_
