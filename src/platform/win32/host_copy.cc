// Copying one regular file: the system's copy to a temporary name beside
// the target (data, last-write time and attributes), then a rename over it.
#include "platform/win32/error_mapping.h"
#include "platform/win32/host_files.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/temp_file.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

Status CheckSource(const std::wstring& source) {
  const DWORD attributes = ::GetFileAttributesW(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastErrorStatus("open", ForReport(source));
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
    return Status::Error(kErrorAccessDenied,
                         ForReport(source) + ": not a regular file, not copied");
  }
  return Status::Ok();
}

Status CheckTarget(const std::wstring& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Status::Ok();
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    return Status::Error(kErrorAccessDenied,
                         ForReport(target) + ": is a folder, not replaced by a file");
  }
  // The system refuses to replace a read-only file; said before anything is
  // copied, in the words the user knows.
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    return Status::Error(kErrorAccessDenied, ForReport(target) + ": is read-only, not replaced");
  }
  return Status::Ok();
}

Status CheckVolume(VolumeGuard on, const std::wstring& path) {
  if (!on.active) return Status::Ok();
  const FileIdentity identity = HostIdentity(path);
  if (identity.known && identity.volume == on.volume) return Status::Ok();
  return Status::Error(kErrorNotReady,
                       ForReport(path) + ": not on the removable disk the run started with");
}

// The copy's data reaches the disk before it replaces anything, so a crash
// leaves the old file or the new one, never an empty one.
Status FlushTemp(const std::wstring& temp) {
  const ScopedHandle file(
      ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.valid() || !::FlushFileBuffers(file.get())) {
    return LastErrorStatus("flush", ForReport(temp));
  }
  return Status::Ok();
}

}  // namespace

Status CopyHostFile(const std::wstring& source, const std::wstring& target, VolumeGuard on) {
  Status status = CheckSource(source);
  if (status.ok()) status = CheckTarget(target);
  // Before a byte is written: the folder the copy lands in is on the guarded disk.
  if (status.ok()) status = CheckVolume(on, HostFolderOf(target));
  if (!status.ok()) return status;
  const std::wstring temp = TemporaryNameIn(HostFolderOf(target));
  if (!::CopyFileExW(source.c_str(), temp.c_str(), nullptr, nullptr, nullptr,
                     COPY_FILE_FAIL_IF_EXISTS)) {
    const DWORD error = ::GetLastError();
    (void)::DeleteFileW(temp.c_str());  // whatever part of it was made; ours
    // Failures name the target, not the temporary file: that is the name the
    // user knows. A source that is gone says so by its own name.
    if (error == ERROR_FILE_NOT_FOUND) return StatusFromWin32("open", ForReport(source), error);
    if (error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY) {
      return Status::Error(
          kErrorPathNotFound,
          "create a file in " + ForReport(HostFolderOf(target)) + ": no such folder");
    }
    return StatusFromWin32("copy to", ForReport(target), error);
  }
  // The copy holds the source's attributes; a read-only one still renames.
  const bool replaces = ::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
  status = CheckVolume(on, temp);
  if (status.ok() && replaces) {
    const DWORD attributes = ::GetFileAttributesW(temp.c_str());
    const bool read_only =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (read_only)
      (void)::SetFileAttributesW(temp.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    status = FlushTemp(temp);
    if (read_only) (void)::SetFileAttributesW(temp.c_str(), attributes);
  }
  if (!status.ok()) {
    (void)::SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    (void)::DeleteFileW(temp.c_str());
    return status;
  }
  return CommitTemp(temp, target);
}

}  // namespace pellmar
