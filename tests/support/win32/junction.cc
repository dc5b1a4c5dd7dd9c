// A junction made by setting a mount-point reparse point on an empty folder.
#include "support/win32/junction.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_api.h"
#include "support/temp_folder.h"

namespace pellmar {

bool MakeJunction(const std::string& link, const std::string& target) {
  MakeFolder(link);
  std::wstring substitute = L"\\??\\" + HostFsPath(target).make_preferred().wstring();
  const std::wstring print = HostFsPath(target).make_preferred().wstring();
  const size_t names = (substitute.size() + print.size() + 2) * sizeof(wchar_t);
  // Reparse tag, data length, reserved; then the mount-point fields.
  std::vector<char> buffer(8 + 8 + names);
  auto put16 = [&](size_t at, size_t value) {
    const uint16_t v = static_cast<uint16_t>(value);
    std::memcpy(buffer.data() + at, &v, 2);
  };
  const uint32_t tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(buffer.data(), &tag, 4);
  put16(4, 8 + names);
  put16(8, 0);
  put16(10, substitute.size() * sizeof(wchar_t));
  put16(12, (substitute.size() + 1) * sizeof(wchar_t));
  put16(14, print.size() * sizeof(wchar_t));
  std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
  std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), print.c_str(),
              (print.size() + 1) * sizeof(wchar_t));
  const ScopedHandle folder(
      ::CreateFileW(HostFsPath(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  DWORD returned = 0;
  return folder.valid() &&
         ::DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                           static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
}

}  // namespace pellmar
