// The Recycle Bin: a version Pellmar replaces or removes on a drive that
// has one goes there, where Explorer lists it and restores it from, not
// into nothing. Removable media have none; there the caller deletes.
#ifndef PELLMAR_PLATFORM_WIN32_RECYCLE_BIN_H_
#define PELLMAR_PLATFORM_WIN32_RECYCLE_BIN_H_

#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_folder.h"

namespace pellmar {

class RecycleBin {
 public:
  /// Moves the file that stands at the scratch name `aside` of `folder`
  /// into the Recycle Bin of its drive, under its own name `name`, so the
  /// bin lists it as the user knows it. It goes by way of a fresh scratch
  /// folder beside it, which holds nothing else, so the path the shell is
  /// given can lead to nothing but that file. Fails, with the file back at
  /// `aside`, when the shell cannot recycle it; never deletes it for good.
  Status Put(Win32Folder& folder, const std::wstring& aside, const std::wstring& name);

  /// Moves the entry `name` of `folder` (a scratch file or folder nobody
  /// holds) into the Recycle Bin as it is.
  Status PutAsItIs(Win32Folder& folder, const std::wstring& name);

 private:
  Status PutPath(const std::wstring& path);
  Status PutByFileOperation(const std::wstring& path, bool* unavailable);
  Status PutByShellCall(const std::wstring& path);

  // The shell's newer interface is missing on older systems and only
  // partly there under Wine; once found so, the older call is used.
  bool file_operation_unavailable_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_RECYCLE_BIN_H_
