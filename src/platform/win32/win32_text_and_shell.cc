// Win32Platform's code-page decoding and shell "open" (ShellExecuteExW, which
// never goes through a command shell and waits at most a moment).
#include "platform/win32/error_mapping.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace pellmar {
namespace {

bool IsExplorer(const std::string& file) {
  std::string lower;
  for (char c : file) lower += static_cast<char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
  return lower == "explorer" || lower == "explorer.exe";
}

// ShellExecute's own small codes, as the error codes they stand for.
uint32_t ShellCode(INT_PTR result) {
  switch (result) {
    case 0:
      return ERROR_OUTOFMEMORY;
    case SE_ERR_FNF:
      return kErrorFileNotFound;
    case SE_ERR_PNF:
      return kErrorPathNotFound;
    case SE_ERR_ACCESSDENIED:
      return kErrorAccessDenied;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      return ERROR_NO_ASSOCIATION;
    case SE_ERR_SHARE:
      return kErrorSharingViolation;
    default:
      return kErrorGenFailure;
  }
}

// The program the shell started for a document may find nothing to show it
// with and give up at once (a browser stand-in with no browser behind it):
// a short wait tells that apart from a program that is up, as on POSIX,
// without holding the window.
Status AwaitStart(HANDLE process, const std::string& file) {
  if (process == nullptr) return Status::Ok();  // handed to a running program
  constexpr DWORD kWaitMs = 1000;
  DWORD exit_code = 0;
  const bool gave_up = ::WaitForSingleObject(process, kWaitMs) == WAIT_OBJECT_0 &&
                       ::GetExitCodeProcess(process, &exit_code) && exit_code != 0;
  ::CloseHandle(process);
  if (!gave_up) return Status::Ok();
  return Status::Error(kErrorNoAssociation, "no program could show " + file);
}

}  // namespace

std::string Win32Platform::DecodeCodePage(const std::string& bytes, int code_page) {
  // Text the program wrote, or decoded already, is UTF-8: decoding it again
  // from an 8-bit code page would garble it.
  if (code_page == 65001 || bytes.empty() || IsUtf8(bytes)) return bytes;
  return DecodeMultiByte(bytes, static_cast<unsigned>(code_page));
}

Status Win32Platform::ShellOpen(const std::string& file, const std::string& parameters,
                                const std::string& directory) {
  std::wstring wide_file, wide_parameters, wide_directory;
  Status status = Status::Ok();
  if (IsExplorer(file) || file.find("://") != std::string::npos) {
    wide_file = Utf8ToWide(file).value_or(L"");
    if (!parameters.empty()) status = Resolve(parameters, &wide_parameters);
    // The folder is one argument of the file manager, blanks and all.
    if (!wide_parameters.empty() && IsExplorer(file))
      wide_parameters = L"\"" + wide_parameters + L"\"";
  } else {
    status = Resolve(file, &wide_file);
    if (status.ok() && ::GetFileAttributesW(wide_file.c_str()) == INVALID_FILE_ATTRIBUTES) {
      status = LastErrorStatus("open", file);
    }
  }
  if (!status.ok()) return status;
  if (!directory.empty() && !Resolve(directory, &wide_directory).ok()) wide_directory.clear();
  SHELLEXECUTEINFOW request{};
  request.cbSize = sizeof(request);
  // No box of the shell's own: a failure is told by the program, once.
  request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  request.lpVerb = L"open";
  request.lpFile = wide_file.c_str();
  request.lpParameters = wide_parameters.empty() ? nullptr : wide_parameters.c_str();
  request.lpDirectory = wide_directory.empty() ? nullptr : wide_directory.c_str();
  request.nShow = SW_SHOWNORMAL;
  if (!::ShellExecuteExW(&request)) {
    return StatusFromWin32("open", file, ShellCode(reinterpret_cast<INT_PTR>(request.hInstApp)));
  }
  // The file manager hands a folder to its running self and ends with
  // codes of its own: only a document's program is waited for.
  if (IsExplorer(file) && request.hProcess != nullptr) {
    ::CloseHandle(request.hProcess);
    return Status::Ok();
  }
  return AwaitStart(request.hProcess, file);
}

}  // namespace pellmar
