// Which handle writes out a whole volume.
//
// FlushFileBuffers on the volume itself ("\\.\E:") writes out every file of
// it, but only an administrator may open a volume for writing. Everyone else
// flushes the volume's root folder, which needs no more than the right to
// add a folder there (and FAT and exFAT, the file systems of removable
// disks, keep no rights at all): Windows' file systems take the flush of a
// volume's root folder for a flush of the whole volume. A handle of any
// other folder would write out that folder's own entries alone.
#include "platform/win32/volume_flush.h"

#include <optional>

#include "platform/win32/error_mapping.h"
#include "platform/win32/scoped_handle.h"

namespace pellmar {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The folder's path as the system names it: the volume by its GUID, which
// also names a disk mounted in a folder, or by its drive letter.
std::optional<std::wstring> FinalPath(HANDLE folder, DWORD volume_form) {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = ::GetFinalPathNameByHandleW(
        folder, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED | volume_form);
    if (length == 0) return std::nullopt;
    const bool fits = length < path.size();
    path.resize(length);
    if (fits) return path;
  }
}

// The root folder of the volume `path` is on: "\\?\Volume{...}\",
// "\\?\E:\" or "\\?\UNC\server\share\"; empty for a path of another form.
std::wstring RootOf(const std::wstring& path) {
  const std::wstring prefix = L"\\\\?\\";
  if (path.compare(0, prefix.size(), prefix) != 0) return L"";
  size_t end = prefix.size();
  const int levels = path.compare(end, 4, L"UNC\\") == 0 ? 3 : 1;
  for (int level = 0; level < levels; ++level) {
    end = path.find(L'\\', end);
    if (end == std::wstring::npos) return path + L"\\";
    ++end;
  }
  return path.substr(0, end);
}

bool OnVolume(HANDLE handle, uint64_t volume_serial) {
  DWORD serial = 0;
  return ::GetVolumeInformationByHandleW(handle, nullptr, 0, &serial, nullptr, nullptr, nullptr,
                                         0) &&
         serial == volume_serial;
}

struct FlushHandle {
  std::wstring path;
  DWORD access;
  DWORD flags;
};

}  // namespace

Status FlushVolumeOf(HANDLE folder, uint64_t volume_serial, const std::string& shown_as) {
  DWORD error = ERROR_PATH_NOT_FOUND;
  for (const DWORD form : {VOLUME_NAME_GUID, VOLUME_NAME_DOS}) {
    const std::optional<std::wstring> path = FinalPath(folder, form);
    const std::wstring root = path ? RootOf(*path) : L"";
    if (root.empty()) {
      error = path ? ERROR_INVALID_NAME : ::GetLastError();
      continue;
    }
    // The volume is its root without the last backslash; FILE_APPEND_DATA
    // on a folder is the right to add a folder to it.
    const FlushHandle handles[] = {
        {root.substr(0, root.size() - 1), GENERIC_READ | GENERIC_WRITE, 0},
        {root, FILE_APPEND_DATA | SYNCHRONIZE, FILE_FLAG_BACKUP_SEMANTICS},
    };
    for (const FlushHandle& how : handles) {
      const ScopedHandle handle(::CreateFileW(how.path.c_str(), how.access, kShareAll, nullptr,
                                              OPEN_EXISTING, how.flags, nullptr));
      if (!handle.valid()) {
        error = ::GetLastError();
        continue;
      }
      // A letter given to another disk since the run began is not flushed
      // in its place.
      if (!OnVolume(handle.get(), volume_serial)) {
        error = ERROR_INVALID_DRIVE;
        continue;
      }
      if (::FlushFileBuffers(handle.get())) return Status::Ok();
      error = ::GetLastError();
      // A handle that takes no flush at all is no failed write: the next
      // one is tried. Wine's volumes take none, nor does a root folder Wine
      // is asked for by the volume's GUID, which it opens as the volume.
      if (error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED) continue;
      return StatusFromWin32("write out", shown_as, error);
    }
  }
  return StatusFromWin32("write out", shown_as, error);
}

}  // namespace pellmar
