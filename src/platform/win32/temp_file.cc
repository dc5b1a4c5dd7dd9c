// Temporary files for atomic replacement.
#include "platform/win32/temp_file.h"

#include "platform/scratch_name.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/host_files.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

constexpr int kAttempts = 16;

}  // namespace

Status CreateTempBeside(const std::wstring& target, std::wstring* path, ScopedHandle* file) {
  const std::wstring folder = HostFolderOf(target);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    *path = JoinHostPath(folder, Utf8ToWide(NewScratchName(ScratchKind::kPartial)).value_or(L""));
    // No sharing at all: while this handle is open, no cleaner can take the
    // file for debris.
    *file = ScopedHandle(::CreateFileW(path->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file->valid()) return Status::Ok();
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      // A missing folder is a missing path, as the copy reports it.
      if (error == ERROR_FILE_NOT_FOUND) {
        return StatusFromWin32("create a file in", ForReport(folder), kErrorPathNotFound);
      }
      return StatusFromWin32("create a file in", ForReport(folder), error);
    }
  }
  return StatusFromWin32("create a file in", ForReport(folder), ERROR_FILE_EXISTS);
}

Status CommitTemp(const std::wstring& temp, const std::wstring& target) {
  if (::MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Status::Ok();
  }
  const Status status = LastErrorStatus("replace", ForReport(target));
  // Ignored: the temporary file was ours and is unwanted; debris removal
  // takes it later should this fail too. A copy of a read-only file is
  // read-only itself and would not go otherwise.
  (void)::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
  (void)::DeleteFileW(temp.c_str());
  return status;
}

}  // namespace pellmar
