// Clearing the scratch files of copies and saves cut short.
#include "platform/win32/debris.h"

#include <optional>

#include "platform/scratch_name.h"
#include "platform/win32/host_versions.h"
#include "platform/win32/nt_files.h"

namespace pellmar {
namespace {

// Opens the scratch file for deletion. A live copy or save holds its file
// without letting anyone delete it, so this open fails for it; what opens
// is a regular file nobody holds.
bool OpenAbandoned(Win32Folder& folder, const std::wstring& name, ScopedHandle* file) {
  const RelativeOpen how{DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         FILE_OPEN, FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT};
  if (OpenRelative(folder.handle(), name, how, file) != ERROR_SUCCESS) return false;
  FILE_ATTRIBUTE_TAG_INFO tag = {};
  return ::GetFileInformationByHandleEx(file->get(), FileAttributeTagInfo, &tag, sizeof tag) &&
         (tag.FileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
}

}  // namespace

void ClearDebris(Win32Folder& folder, const std::vector<std::string>& names, RecycleBin& bin) {
  for (const std::string& name : names) {
    const std::optional<ScratchKind> kind = ScratchKindOf(name);
    const std::optional<std::wstring> wide = Utf8ToWide(name);
    ScopedHandle file;
    if (!kind || !wide || !OpenAbandoned(folder, *wide, &file)) continue;
    if (*kind == ScratchKind::kPartial) {
      // Ignored: a read-only medium keeps its debris, which listings hide.
      (void)DeleteByHandle(file.get());
      continue;
    }
    file.Reset();  // the shell opens it itself
    // Ignored: a version the Recycle Bin cannot take stays where it is.
    if (folder.traits().recycle_bin) (void)bin.Put(folder, *wide);
  }
}

}  // namespace pellmar
