// Win32Platform::FreeSpace, Drives and MediumAt: the free-space query of a
// drive root, answering with the last-error codes the disk status reacts
// to, the machine's drive letters with their kind and whether a medium is
// in, and which medium a folder is on.
#include <cstdio>

#include "platform/ascii.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/quiet_errors.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace pellmar {
namespace {

// The root a query may name: "E:", "E:\" or "\\server\share" with an
// optional trailing "\". Returns the root as the API wants it, with its
// trailing "\", or nullopt for an empty or malformed root.
std::optional<std::wstring> ApiRoot(const std::string& root, bool* is_share) {
  *is_share = false;
  if ((root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/'))) &&
      IsAsciiLetter(root[0]) && root[1] == ':') {
    return std::wstring{static_cast<wchar_t>(root[0]), L':', L'\\'};
  }
  if (root.size() < 5 || root.compare(0, 2, "\\\\") != 0) return std::nullopt;
  std::string share = root.substr(2);
  if (share.back() == '\\') share.pop_back();
  const size_t cut = share.find('\\');
  // Exactly a server and a share, both named.
  if (cut == 0 || cut == std::string::npos || cut + 1 == share.size() ||
      share.find_first_of("\\/:*?\"<>|", cut + 1) != std::string::npos ||
      share.find_first_of("/:*?\"<>|") < cut) {
    return std::nullopt;
  }
  *is_share = true;
  const std::optional<std::wstring> wide = Utf8ToWide("\\\\" + share + "\\");
  return wide;
}

// The codes the disk status tells apart, from what the query answered.
uint32_t FreeSpaceCode(DWORD error, bool is_share, UINT drive_type) {
  if (is_share) {
    switch (error) {
      case ERROR_BAD_NETPATH:
      case ERROR_BAD_NET_NAME:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_FILE_NOT_FOUND:
      case ERROR_NETWORK_UNREACHABLE:
      case ERROR_INVALID_NAME:
        return kErrorBadNetPath;
      default:
        return error;
    }
  }
  // A letter the system does not have at all.
  if (drive_type == DRIVE_NO_ROOT_DIR &&
      (error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ||
       error == ERROR_INVALID_DRIVE)) {
    return kErrorInvalidDrive;
  }
  return error;
}

const char* DriveKind(UINT type) {
  switch (type) {
    case DRIVE_REMOVABLE:
      return "removable";
    case DRIVE_FIXED:
      return "fixed";
    case DRIVE_REMOTE:
      return "network";
    case DRIVE_CDROM:
      return "optical";
    case DRIVE_RAMDISK:
      return "RAM disk";
    default:
      return "unknown";
  }
}

// The volume serial number is what the system itself tells media apart by;
// a volume without one (0) has nothing lasting to tell.
MediumIdentity MediumOfVolume(DWORD serial, const wchar_t* label) {
  MediumIdentity medium;
  if (serial != 0) {
    char text[16];
    std::snprintf(text, sizeof text, "%04lX-%04lX", static_cast<unsigned long>(serial >> 16),
                  static_cast<unsigned long>(serial & 0xFFFF));
    medium.key = std::string("serial:") + text;
  }
  medium.label = WideForReport(label);
  return medium;
}

}  // namespace

Status Win32Platform::FreeSpace(const std::string& root, uint64_t* free_bytes) {
  *free_bytes = 0;
  bool is_share = false;
  const std::optional<std::wstring> api_root = ApiRoot(root, &is_share);
  if (!api_root) return Status::Error(kErrorInvalidName, "\"" + root + "\" is no drive root");
  // A missing medium must fail the query, never raise the system's box.
  const QuietErrors quiet;
  ULARGE_INTEGER available;
  const bool ok = ::GetDiskFreeSpaceExW(api_root->c_str(), &available, nullptr, nullptr);
  const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
  const UINT drive_type = ok || is_share ? DRIVE_UNKNOWN : ::GetDriveTypeW(api_root->c_str());
  if (!ok)
    return StatusFromWin32("query the free space of", root,
                           FreeSpaceCode(error, is_share, drive_type));
  *free_bytes = available.QuadPart;
  return Status::Ok();
}

std::vector<DriveMapping> Win32Platform::Drives() {
  std::vector<DriveMapping> drives;
  const DWORD letters = ::GetLogicalDrives();
  const QuietErrors quiet;
  for (int i = 0; i < 26; ++i) {
    if (!(letters & (DWORD{1} << i))) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
    wchar_t label[MAX_PATH + 1] = L"";
    DWORD serial = 0;
    const bool present =
        ::GetVolumeInformationW(root, label, MAX_PATH + 1, &serial, nullptr, nullptr, nullptr, 0);
    DriveMapping drive{std::string(1, static_cast<char>('A' + i)) + ":",
                       std::string(1, static_cast<char>('A' + i)) + ":\\",
                       present,
                       DriveKind(::GetDriveTypeW(root)),
                       {}};
    if (present) drive.medium = MediumOfVolume(serial, label);
    drives.push_back(std::move(drive));
  }
  return drives;
}

Status Win32Platform::MediumAt(const std::string& path, MediumIdentity* medium) {
  *medium = MediumIdentity{};
  return OnHost(path, [medium](const std::wstring& host) {
    // Asked of the folder itself, so a volume mounted on a folder of
    // another is the one that answers.
    const ScopedHandle folder(::CreateFileW(
        host.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.valid()) {
      const DWORD error = ::GetLastError();
      // A missing folder is a missing path, as FolderIdentity reports it.
      return StatusFromWin32("examine", WideForReport(host),
                             error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    }
    wchar_t label[MAX_PATH + 1] = L"";
    DWORD serial = 0;
    if (!::GetVolumeInformationByHandleW(folder.get(), label, MAX_PATH + 1, &serial, nullptr,
                                         nullptr, nullptr, 0)) {
      return StatusFromWin32("examine the volume of", WideForReport(host), ::GetLastError());
    }
    *medium = MediumOfVolume(serial, label);
    return Status::Ok();
  });
}

}  // namespace pellmar
