// A new copy being written into an open folder, under a partial scratch
// name and held without sharing, so no cleaner can take it while it lives.
// Until it is placed under its name, dropping it leaves nothing behind.
#ifndef PELLMAR_PLATFORM_WIN32_NEW_COPY_H_
#define PELLMAR_PLATFORM_WIN32_NEW_COPY_H_

#include <string>

#include "platform/platform.h"
#include "platform/win32/host_versions.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_folder.h"

namespace pellmar {

class NewCopy {
 public:
  explicit NewCopy(Win32Folder& folder) : folder_(folder) {}
  ~NewCopy();
  NewCopy(const NewCopy&) = delete;
  NewCopy& operator=(const NewCopy&) = delete;

  /// Makes the file, empty, under a fresh scratch name.
  Status Create();
  HANDLE handle() const { return file_.get(); }

  /// Gives the copy the times of `source` and, when `flush`, puts its data
  /// on the disk: what a replacement needs before the old version leaves
  /// its name.
  Status Finish(const HandleFacts& source, bool flush);
  /// Renames the copy to `name` where nothing has that name:
  /// kErrorAlreadyExists when something took it meanwhile. Then gives it
  /// the attributes `attributes` and closes it.
  Status PlaceAs(const std::wstring& name, DWORD attributes);

 private:
  Win32Folder& folder_;
  ScopedHandle file_;
  std::wstring name_;  // its scratch name
  bool placed_ = false;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_NEW_COPY_H_
