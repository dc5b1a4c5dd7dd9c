// From a volume to its device: the volume's storage device number, the disk
// interface that has the same number (SetupDi), its device instance, and
// that instance's parent, the USB or card-reader device that can be ejected
// (the disk alone where it has none). CM_Request_Device_EjectW then asks
// the system to let go of it; nothing is forced.
#include "platform/win32/device_eject.h"

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/win32/error_mapping.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
// Built on <windows.h>, which win32_api.h brings in first.
// clang-format off
#include <setupapi.h>
#include <cfgmgr32.h>
// clang-format on

namespace pellmar {
namespace {

// GUID_DEVINTERFACE_DISK and _CDROM, spelled out so that no library has to
// define them.
constexpr GUID kDiskInterface = {
    0x53f56307, 0xb6bf, 0x11d0, {0x94, 0xf2, 0, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};
constexpr GUID kCdRomInterface = {
    0x53f56308, 0xb6bf, 0x11d0, {0x94, 0xf2, 0, 0xa0, 0xc9, 0x1e, 0xfb, 0x8b}};
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A program that has just let go of the disk may still be seen holding it.
constexpr int kEjectTries = 3;

bool DeviceNumberOf(const std::wstring& device_path, STORAGE_DEVICE_NUMBER* number) {
  // No access at all: the question needs none, and the open must not be
  // refused for a volume others have open.
  const ScopedHandle device(
      ::CreateFileW(device_path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  DWORD returned = 0;
  return device.valid() && ::DeviceIoControl(device.get(), IOCTL_STORAGE_GET_DEVICE_NUMBER, nullptr,
                                             0, number, sizeof *number, &returned, nullptr) != 0;
}

// The device instance of the disk (or optical drive) with the number the
// volume answered.
std::optional<DEVINST> DiskInstanceOf(const STORAGE_DEVICE_NUMBER& volume) {
  const GUID& interface_class =
      volume.DeviceType == FILE_DEVICE_CD_ROM ? kCdRomInterface : kDiskInterface;
  HDEVINFO set = ::SetupDiGetClassDevsW(&interface_class, nullptr, nullptr,
                                        DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<DEVINST> found;
  SP_DEVICE_INTERFACE_DATA entry{};
  entry.cbSize = sizeof entry;
  for (DWORD i = 0;
       !found && ::SetupDiEnumDeviceInterfaces(set, nullptr, &interface_class, i, &entry); ++i) {
    DWORD size = 0;
    ::SetupDiGetDeviceInterfaceDetailW(set, &entry, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
    std::vector<char> buffer(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    STORAGE_DEVICE_NUMBER number{};
    if (::SetupDiGetDeviceInterfaceDetailW(set, &entry, detail, size, nullptr, &device) &&
        DeviceNumberOf(detail->DevicePath, &number) && number.DeviceType == volume.DeviceType &&
        number.DeviceNumber == volume.DeviceNumber) {
      found = device.DevInst;
    }
  }
  ::SetupDiDestroyDeviceInfoList(set);
  return found;
}

// Whether a veto means that something holds the device, which the user can
// close, rather than a device that cannot be ejected at all.
bool HeldBySomething(PNP_VETO_TYPE veto) {
  switch (veto) {
    case PNP_VetoOutstandingOpen:
    case PNP_VetoPendingClose:
    case PNP_VetoWindowsApp:
    case PNP_VetoWindowsService:
    case PNP_VetoDevice:
    case PNP_VetoDriver:
    case PNP_VetoLegacyDriver:
      return true;
    default:
      return false;
  }
}

const char* VetoKind(PNP_VETO_TYPE veto) {
  switch (veto) {
    case PNP_VetoOutstandingOpen:
      return "a file or folder on it is open";
    case PNP_VetoPendingClose:
      return "a file on it is still being closed";
    case PNP_VetoWindowsApp:
      return "a program holds it";
    case PNP_VetoWindowsService:
      return "a service holds it";
    case PNP_VetoDevice:
    case PNP_VetoDriver:
    case PNP_VetoLegacyDriver:
      return "a driver holds it";
    case PNP_VetoInsufficientRights:
      return "this user may not eject it";
    case PNP_VetoNonDisableable:
      return "the system cannot do without it";
    default:
      return "the system refused";
  }
}

Status VetoStatus(PNP_VETO_TYPE veto, const wchar_t* veto_name) {
  std::string text = VetoKind(veto);
  if (veto_name[0] != L'\0') text += " (" + WideForReport(veto_name) + ")";
  if (HeldBySomething(veto)) return Status::Error(kErrorDeviceInUse, text);
  return Status::Error(veto == PNP_VetoInsufficientRights ? kErrorAccessDenied : kErrorGenFailure,
                       text);
}

}  // namespace

Status EjectDeviceOfVolume(char letter, EjectResult* result) {
  const std::string shown_as = std::string(1, letter) + ":";
  *result = EjectResult{};
  const std::wstring volume_path = {L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(letter), L':'};
  STORAGE_DEVICE_NUMBER volume{};
  if (!DeviceNumberOf(volume_path, &volume)) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_NOT_READY) return StatusFromWin32("open the volume of", shown_as, error);
    return Status::Error(kErrorNotSupported,
                         "the system names no disk device for it (" +
                             StatusFromWin32("ask the device number of", shown_as, error).message +
                             ")");
  }
  const std::optional<DEVINST> disk = DiskInstanceOf(volume);
  if (!disk) {
    return Status::Error(kErrorNotSupported, "the system lists no disk device for its volume");
  }
  DEVINST target = *disk;
  DEVINST parent = 0;
  if (::CM_Get_Parent(&parent, *disk, 0) == CR_SUCCESS) target = parent;
  CONFIGRET answer = CR_FAILURE;
  PNP_VETO_TYPE veto = PNP_VetoTypeUnknown;
  wchar_t veto_name[MAX_PATH] = L"";
  for (int tries = 0; tries < kEjectTries; ++tries) {
    veto = PNP_VetoTypeUnknown;
    veto_name[0] = L'\0';
    answer = ::CM_Request_Device_EjectW(target, &veto, veto_name, MAX_PATH, 0);
    if (answer == CR_SUCCESS && veto == PNP_VetoTypeUnknown) {
      result->powered_off = true;
      return Status::Ok();
    }
    if (!HeldBySomething(veto)) break;
    ::Sleep(200);
  }
  if (veto != PNP_VetoTypeUnknown) return VetoStatus(veto, veto_name);
  char code[16];
  std::snprintf(code, sizeof code, "0x%02lX", static_cast<unsigned long>(answer));
  return Status::Error(answer == CR_CALL_NOT_IMPLEMENTED ? kErrorNotSupported : kErrorGenFailure,
                       std::string("the system's device manager answered ") + code);
}

}  // namespace pellmar
