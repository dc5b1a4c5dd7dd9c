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
  /// Moves the file `name` of `folder` into the Recycle Bin of its drive.
  /// `name` is a scratch name of this program's, so the path the shell is
  /// given can lead to nothing but that file. Fails, with the file where it
  /// was, when the shell cannot recycle it; never deletes it for good.
  Status Put(Win32Folder& folder, const std::wstring& name);

 private:
  Status PutByFileOperation(const std::wstring& path, bool* unavailable);
  Status PutByShellCall(const std::wstring& path);

  // The shell's newer interface is missing on older systems and only
  // partly there under Wine; once found so, the older call is used.
  bool file_operation_unavailable_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_RECYCLE_BIN_H_
