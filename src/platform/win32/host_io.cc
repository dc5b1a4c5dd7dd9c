// Whole-file reads and atomic whole-file replacement, for profile files.
#include "platform/win32/error_mapping.h"
#include "platform/win32/host_files.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/temp_file.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens a regular file; a folder or a device is refused before any read.
Status OpenRegular(const std::wstring& path, DWORD access, ScopedHandle* file) {
  *file = ScopedHandle(
      ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file->valid()) {
    const DWORD error = ::GetLastError();
    // Opening a folder as a file answers "access denied", which says it.
    return StatusFromWin32("open", ForReport(path), error);
  }
  if (::GetFileType(file->get()) != FILE_TYPE_DISK) {
    return Status::Error(kErrorAccessDenied, ForReport(path) + ": not a regular file");
  }
  return Status::Ok();
}

Status WriteAll(HANDLE file, std::string_view contents, const std::wstring& path) {
  size_t done = 0;
  while (done < contents.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(contents.size() - done, 1 << 20));
    DWORD put = 0;
    if (!::WriteFile(file, contents.data() + done, chunk, &put, nullptr) || put == 0) {
      return LastErrorStatus("write", ForReport(path));
    }
    done += put;
  }
  return Status::Ok();
}

Status WritePieces(HANDLE file, std::span<const std::string_view> pieces,
                   const std::wstring& path) {
  for (const std::string_view piece : pieces) {
    if (Status status = WriteAll(file, piece, path); !status.ok()) return status;
  }
  return Status::Ok();
}

}  // namespace

// A settings file kept as a link elsewhere stays a link: the file the link
// leads to is the one replaced.
std::wstring FollowLink(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return path;
  }
  const ScopedHandle file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
  wchar_t real[MAX_PATH * 4];
  const DWORD length =
      file.valid() ? ::GetFinalPathNameByHandleW(file.get(), real, MAX_PATH * 4, VOLUME_NAME_DOS)
                   : 0;
  if (length == 0 || length >= MAX_PATH * 4) return path;
  return std::wstring(real, length);
}

Status ReadHostFile(const std::wstring& path, std::string* contents) {
  contents->clear();
  ScopedHandle file;
  Status status = OpenRegular(path, GENERIC_READ, &file);
  if (!status.ok()) return status;
  LARGE_INTEGER size;
  if (::GetFileSizeEx(file.get(), &size)) contents->reserve(static_cast<size_t>(size.QuadPart));
  char buffer[65536];
  while (true) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      return LastErrorStatus("read", ForReport(path));
    }
    if (got == 0) return Status::Ok();
    contents->append(buffer, got);
  }
}

Status ReplaceHostFile(const std::wstring& path, std::span<const std::string_view> pieces) {
  const std::wstring target = FollowLink(path);
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Status::Error(kErrorAccessDenied, ForReport(target) + ": is a folder, not replaced");
  }
  std::wstring temp;
  ScopedHandle file;
  Status status = CreateTempBeside(target, &temp, &file);
  if (!status.ok()) return status;
  status = WritePieces(file.get(), pieces, temp);
  // The new contents reach the disk before the rename, so a crash leaves
  // the old file or the new one, never an empty one.
  if (status.ok() && !::FlushFileBuffers(file.get()))
    status = LastErrorStatus("flush", ForReport(temp));
  if (status.ok() && !file.Reset()) status = LastErrorStatus("close", ForReport(temp));
  if (!status.ok()) {
    file.Reset();
    (void)::DeleteFileW(temp.c_str());  // ours and unwanted; debris removal takes it otherwise
    return status;
  }
  return CommitTemp(temp, target);
}

}  // namespace pellmar
