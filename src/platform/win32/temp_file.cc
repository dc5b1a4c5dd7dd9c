// Temporary files for atomic replacement.
#include "platform/win32/temp_file.h"

#include <random>

#include "platform/win32/error_mapping.h"
#include "platform/win32/host_files.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

constexpr std::wstring_view kPrefix = L".pellmar-";
constexpr std::wstring_view kSuffix = L".tmp";
constexpr size_t kRandomLength = 6;
constexpr int kAttempts = 100;

std::wstring RandomStem() {
  static constexpr wchar_t kLetters[] =
      L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  thread_local std::mt19937 generator{std::random_device{}() ^ ::GetCurrentProcessId()};
  std::uniform_int_distribution<size_t> pick(0, 61);
  std::wstring stem;
  for (size_t i = 0; i < kRandomLength; ++i) stem += kLetters[pick(generator)];
  return stem;
}

}  // namespace

bool IsTemporaryName(const std::wstring& name) {
  if (name.compare(0, kPrefix.size(), kPrefix) != 0) return false;
  const size_t stem = kPrefix.size() + kRandomLength;
  return name.size() == stem ||
         (name.size() == stem + kSuffix.size() && name.compare(stem, kSuffix.size(), kSuffix) == 0);
}

std::wstring TemporaryNameIn(const std::wstring& folder) {
  return JoinHostPath(folder, std::wstring(kPrefix) + RandomStem() + std::wstring(kSuffix));
}

Status CreateTempBeside(const std::wstring& target, std::wstring* path, ScopedHandle* file) {
  const std::wstring folder = HostFolderOf(target);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    *path = TemporaryNameIn(folder);
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

void RemoveDebrisIn(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  const std::wstring pattern = JoinHostPath(folder, L".pellmar-*");
  HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                     FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const bool plain_file =
        (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
    // A live copy holds its file without sharing, so deleting it fails;
    // a read-only medium keeps its debris, which listings hide.
    if (plain_file && IsTemporaryName(found.cFileName)) {
      (void)::DeleteFileW(JoinHostPath(folder, found.cFileName).c_str());
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

}  // namespace pellmar
