// Win32Platform::EjectMedium: which drives may be ejected at all, and the
// eject of the others through the device manager. A network drive has no
// device here, and the disk Windows runs from is never one to pull out.
#include "platform/ascii.h"
#include "platform/win32/device_eject.h"
#include "platform/win32/quiet_errors.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace pellmar {
namespace {

char SystemDriveLetter() {
  wchar_t folder[MAX_PATH] = L"";
  const UINT length = ::GetSystemWindowsDirectoryW(folder, MAX_PATH);
  return length >= 2 && folder[1] == L':' ? UpperAscii(static_cast<char>(folder[0])) : '\0';
}

}  // namespace

Status Win32Platform::EjectMedium(const std::string& drive, EjectResult* result) {
  *result = EjectResult{};
  const bool letter_form = (drive.size() == 2 || (drive.size() == 3 && drive[2] == '\\')) &&
                           IsAsciiLetter(drive[0]) && drive[1] == ':';
  if (!letter_form)
    return Status::Error(kErrorNotSupported, "\"" + drive + "\" is no drive letter");
  const char letter = UpperAscii(drive[0]);
  const std::string shown_as = std::string(1, letter) + ":";
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  switch (::GetDriveTypeW(root)) {
    case DRIVE_NO_ROOT_DIR:
      return Status::Error(kErrorInvalidDrive, "there is no drive " + shown_as);
    case DRIVE_REMOTE:
      return Status::Error(kErrorNotSupported, "it is a network drive, not a disk");
    default:
      break;
  }
  if (letter == SystemDriveLetter()) {
    return Status::Error(kErrorNotSupported, "it is this system's own disk");
  }
  // A missing medium must fail the eject, never raise the system's box.
  const QuietErrors quiet;
  return EjectDeviceOfVolume(letter, result);
}

}  // namespace pellmar
