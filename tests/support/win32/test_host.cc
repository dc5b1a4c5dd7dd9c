// The contract's host services the Windows way: junctions for folder links,
// the read-only attribute for modes, a handle that shares no deletion for a
// copy under way. Windows has no FIFOs, and its Recycle Bin is no folder a
// test can read.
#include "support/test_host.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_api.h"

namespace pellmar {
namespace {

std::wstring Wide(const std::string& host) { return HostFsPath(host).make_preferred().wstring(); }

// A junction, as "mklink /J" makes it: a mount-point reparse point set on
// an empty folder.
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

std::string LastError(const char* what) {
  return std::string(what) + " failed here (error " + std::to_string(::GetLastError()) + ")";
}

class Win32TestHost : public TestHost {
 public:
  const char* name() const override { return "Win32"; }
  std::string MakeLink(const std::string& link, const std::string& target,
                       bool folder) const override {
    if (folder) return MakeJunction(link, target) ? "" : LastError("making a junction");
    const DWORD unprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (!::CreateSymbolicLinkW(Wide(link).c_str(), Wide(target).c_str(), unprivileged)) {
      return LastError("making a file link");
    }
    // Some systems answer yes and make a plain file or a host link that
    // the Windows calls see no reparse point in: no file link to test with.
    const DWORD attributes = ::GetFileAttributesW(Wide(link).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
      return "";
    }
    (void)::DeleteFileW(Wide(link).c_str());
    return "this system makes file links that are no reparse points";
  }
  std::string MakeFifo(const std::string&) const override { return "Windows has no FIFOs"; }
  void MakeReadOnly(const std::string& path) const override {
    (void)::SetFileAttributesW(Wide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  }
  std::shared_ptr<void> HoldAsLiveCopy(const std::string& path) const override {
    // A copy under way writes its scratch file and lets nobody delete it.
    const HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::shared_ptr<void>(file, [](void* held) { ::CloseHandle(held); });
  }
  std::optional<unsigned> Mode(const std::string&) const override { return std::nullopt; }
  void SetMode(const std::string&, unsigned) const override {}
  unsigned AnsiCodePage() const override { return ::GetACP(); }
  std::shared_ptr<void> UseZoneFarFromUtc() const override { return nullptr; }
  std::string TrashedFiles(const TestNamespace&) const override { return ""; }
};

}  // namespace

const TestHost& ThisTestHost() {
  static const Win32TestHost host;
  return host;
}

}  // namespace pellmar
