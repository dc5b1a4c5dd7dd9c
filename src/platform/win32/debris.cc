// Clearing the scratch files of copies and saves cut short.
#include "platform/win32/debris.h"

#include <optional>

#include "platform/scratch_name.h"
#include "platform/win32/host_versions.h"
#include "platform/win32/nt_files.h"

namespace pellmar {
namespace {

// Opens a scratch entry for deletion. A live copy or save holds its file,
// and a replacement its stage folder, without letting anyone delete it,
// so this open fails for them; what opens is debris nobody holds. Only a
// version moved aside may be a folder (a stage); no link is ever taken.
bool OpenAbandoned(Win32Folder& folder, const std::wstring& name, ScratchKind kind,
                   ScopedHandle* entry, bool* is_folder) {
  RelativeOpen how{DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_OPEN,
                   FILE_OPEN_REPARSE_POINT};
  if (kind == ScratchKind::kPartial) how.options |= FILE_NON_DIRECTORY_FILE;
  if (OpenRelative(folder.handle(), name, how, entry) != ERROR_SUCCESS) return false;
  FILE_ATTRIBUTE_TAG_INFO tag = {};
  if (!::GetFileInformationByHandleEx(entry->get(), FileAttributeTagInfo, &tag, sizeof tag) ||
      (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return false;
  }
  *is_folder = (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return true;
}

}  // namespace

void ClearDebris(Win32Folder& folder, const std::vector<std::string>& names, RecycleBin& bin) {
  for (const std::string& name : names) {
    const std::optional<ScratchKind> kind = ScratchKindOf(name);
    const std::optional<std::wstring> wide = Utf8ToWide(name);
    ScopedHandle entry;
    bool is_folder = false;
    if (!kind || !wide || !OpenAbandoned(folder, *wide, *kind, &entry, &is_folder)) continue;
    if (*kind == ScratchKind::kPartial) {
      // Ignored: a read-only medium keeps its debris, which listings hide.
      (void)DeleteByHandle(entry.get());
      continue;
    }
    // The stage of a replacement cut short goes when empty; with the
    // version still in it, it goes to the Recycle Bin whole.
    if (is_folder && DeleteByHandle(entry.get()) == ERROR_SUCCESS) continue;
    entry.Reset();  // the shell opens it itself
    // Ignored: a version the Recycle Bin cannot take stays where it is.
    if (folder.traits().recycle_bin) (void)bin.PutAsItIs(folder, *wide);
  }
}

}  // namespace pellmar
