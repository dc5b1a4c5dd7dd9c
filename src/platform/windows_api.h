// The one door to the Win32 headers, for the platform's Windows twin and the
// native skin alike. <windows.h> turns many API names into
// macros (CopyFile, DeleteFile, GetLastError...) that would rename any
// function of ours spelled the same; they are undefined here, and the API is
// always called by its wide-character name as ::NameW.
#ifndef PELLMAR_PLATFORM_WINDOWS_API_H_
#define PELLMAR_PLATFORM_WINDOWS_API_H_

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef UNICODE
#define UNICODE
#endif

// <windows.h> must come before the headers built on it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winioctl.h>
// clang-format on

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef FindFirstFile
#undef GetDiskFreeSpace
#undef GetMessage
#undef MoveFile
#undef RemoveDirectory
#undef ReplaceFile
#undef SendMessage

#endif  // PELLMAR_PLATFORM_WINDOWS_API_H_
