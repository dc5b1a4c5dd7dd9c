// What the test support does the Windows way: removing a temp folder that
// may hold junctions and read-only files, and setting a file's write time.
#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {

// Depth first; a junction or link is removed itself, never entered.
void RemoveTree(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  (void)::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  const bool folder = attributes & FILE_ATTRIBUTE_DIRECTORY;
  if (folder && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
      } while (::FindNextFileW(search, &found));
      ::FindClose(search);
    }
  }
  if (folder) {
    (void)::RemoveDirectoryW(path.c_str());
  } else {
    (void)::DeleteFileW(path.c_str());
  }
}

std::wstring Wide(const std::string& host_path) {
  std::wstring wide = Utf8ToWide(host_path).value_or(L"");
  for (wchar_t& c : wide) c = c == L'/' ? L'\\' : c;
  return wide;
}

}  // namespace

TempFolder::~TempFolder() {
  if (!path_.empty()) RemoveTree(Wide(path_));
}

void SetLocalWriteTime(const std::string& host_path, const LocalDateTime& when) {
  const HANDLE file =
      ::CreateFileW(Wide(host_path).c_str(), FILE_WRITE_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << host_path;
  // Seconds since 1970 to 100-nanosecond steps since 1601.
  const uint64_t steps = (static_cast<uint64_t>(LocalSeconds(when)) + 11644473600ull) * 10000000ull;
  const FILETIME time = {static_cast<DWORD>(steps), static_cast<DWORD>(steps >> 32)};
  EXPECT_TRUE(::SetFileTime(file, nullptr, &time, &time)) << host_path;
  ::CloseHandle(file);
}

}  // namespace pellmar
