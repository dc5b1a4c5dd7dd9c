// Volume traits from the file system's name and the drive's type.
#include "platform/win32/file_system_traits.h"

#include <cstdint>
#include <vector>

namespace pellmar {
namespace {

bool Named(const std::wstring& file_system, const wchar_t* name) {
  return ::CompareStringOrdinal(file_system.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

// The root of the volume `path` lies on ("C:\", "\\server\share\").
std::wstring VolumeRootOf(const std::wstring& path) {
  std::vector<wchar_t> root(path.size() + 2);
  if (!::GetVolumePathNameW(path.c_str(), root.data(), static_cast<DWORD>(root.size()))) return L"";
  return root.data();
}

}  // namespace

FileSystemTraits TraitsOfVolume(const std::wstring& file_system, UINT drive_type) {
  FileSystemTraits traits;
  traits.stable_ids = Named(file_system, L"NTFS") || Named(file_system, L"ReFS");
  traits.recycle_bin = drive_type == DRIVE_FIXED;
  // FAT12, FAT16 and FAT32 hold no file of 4 GiB or more.
  const bool fat = Named(file_system, L"FAT") || Named(file_system, L"FAT32");
  traits.limits.max_file_size = fat ? (int64_t{1} << 32) - 1 : 0;
  // The system's own rules: a name made round them (through a "\\?\" path,
  // or by another system) is one the programs of this host cannot open.
  traits.limits.windows_names = true;
  return traits;
}

FileSystemTraits TraitsOfFolder(HANDLE folder) {
  wchar_t file_system[MAX_PATH + 1] = L"";
  if (!::GetVolumeInformationByHandleW(folder, nullptr, 0, nullptr, nullptr, nullptr, file_system,
                                       MAX_PATH + 1)) {
    file_system[0] = L'\0';
  }
  const std::wstring path = CurrentPathOf(folder);
  const std::wstring root = path.empty() ? L"" : VolumeRootOf(path);
  return TraitsOfVolume(file_system, root.empty() ? DRIVE_UNKNOWN : ::GetDriveTypeW(root.c_str()));
}

std::wstring CurrentPathOf(HANDLE file) {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                             VOLUME_NAME_DOS);
  if (length >= path.size()) {
    path.resize(length + 1);
    length = ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                         VOLUME_NAME_DOS);
  }
  if (length == 0 || length >= path.size()) return L"";
  path.resize(length);
  // The shell's calls take no "\\?\" paths; below the classic limit none is needed.
  if (path.size() < MAX_PATH && path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
    return L"\\\\" + path.substr(8);
  }
  if (path.size() < MAX_PATH + 4 && path.compare(0, 4, L"\\\\?\\") == 0) return path.substr(4);
  return path;
}

}  // namespace pellmar
