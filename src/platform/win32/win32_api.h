// The Win32 headers of the platform's Windows twin: the public door (see
// platform/windows_api.h), kept under this name for the twin's own files.
#ifndef PELLMAR_PLATFORM_WIN32_WIN32_API_H_
#define PELLMAR_PLATFORM_WIN32_WIN32_API_H_

#include "platform/windows_api.h"

#endif  // PELLMAR_PLATFORM_WIN32_WIN32_API_H_
