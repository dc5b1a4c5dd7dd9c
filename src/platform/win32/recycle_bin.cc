// Recycling through the shell: IFileOperation where the system has it,
// SHFileOperationW otherwise, both without any window of their own.
#include "platform/win32/recycle_bin.h"

#include <shobjidl.h>

#include "platform/scratch_name.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/file_system_traits.h"
#include "platform/win32/nt_files.h"

namespace pellmar {
namespace {

// COM for this thread while the object lives; a thread that has it already
// in another model keeps it.
class ComForThread {
 public:
  ComForThread()
      : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComForThread() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComForThread(const ComForThread&) = delete;
  ComForThread& operator=(const ComForThread&) = delete;

 private:
  HRESULT result_;
};

template <typename Interface>
struct Released {
  Interface* pointer = nullptr;
  ~Released() {
    if (pointer != nullptr) pointer->Release();
  }
};

bool Gone(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
         ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

Status ShellFailed(const std::wstring& path, DWORD code) {
  return StatusFromWin32("move to the Recycle Bin", WideForReport(path), code);
}

std::wstring JoinedPath(const std::wstring& folder, const std::wstring& name) {
  return folder + (!folder.empty() && folder.back() == L'\\' ? L"" : L"\\") + name;
}

// A fresh scratch folder in `folder`, held so that no cleaner takes it
// while it is in use.
bool MakeStage(Win32Folder& folder, ScopedHandle* stage, std::wstring* name) {
  const RelativeOpen how{
      DELETE | FILE_LIST_DIRECTORY | FILE_ADD_FILE | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
      FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE, FILE_DIRECTORY_FILE};
  for (int attempt = 0; attempt < 16; ++attempt) {
    *name = Utf8ToWide(NewScratchName(ScratchKind::kReplaced)).value_or(L"");
    const DWORD error = OpenRelative(folder.handle(), *name, how, stage);
    if (error == ERROR_SUCCESS) return true;
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

}  // namespace

Status RecycleBin::Put(Win32Folder& folder, const std::wstring& aside, const std::wstring& name) {
  ScopedHandle stage;
  std::wstring stage_name;
  ScopedHandle file;
  const RelativeOpen how{DELETE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         FILE_OPEN, FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT};
  // Without a folder to stage it in, it goes under its scratch name.
  if (!MakeStage(folder, &stage, &stage_name) ||
      OpenRelative(folder.handle(), aside, how, &file) != ERROR_SUCCESS ||
      RenameRelative(file.get(), stage.get(), name, false) != ERROR_SUCCESS) {
    if (stage.valid()) (void)DeleteByHandle(stage.get());
    return PutAsItIs(folder, aside);
  }
  file.Reset();  // the shell opens it itself
  const Status status = PutPath(JoinedPath(CurrentPathOf(stage.get()), name));
  if (!status.ok() && OpenRelative(stage.get(), name, how, &file) == ERROR_SUCCESS) {
    // Ignored: what cannot go back stays in the stage, which listings
    // hide and a later run sends to the Recycle Bin whole.
    (void)RenameRelative(file.get(), folder.handle(), aside, false);
    file.Reset();
  }
  // Ignored: a stage that still holds the file stays, as above.
  (void)DeleteByHandle(stage.get());
  return status;
}

Status RecycleBin::PutAsItIs(Win32Folder& folder, const std::wstring& name) {
  const std::wstring folder_path = CurrentPathOf(folder.handle());
  if (folder_path.empty()) return LastErrorStatus("find the folder", WideForReport(folder.host()));
  return PutPath(JoinedPath(folder_path, name));
}

Status RecycleBin::PutPath(const std::wstring& path) {
  if (!file_operation_unavailable_) {
    bool unavailable = false;
    const Status status = PutByFileOperation(path, &unavailable);
    if (!unavailable) return status;
    file_operation_unavailable_ = true;
  }
  return PutByShellCall(path);
}

Status RecycleBin::PutByFileOperation(const std::wstring& path, bool* unavailable) {
  const ComForThread com;
  Released<IFileOperation> operation;
  Released<IShellItem> item;
  HRESULT result = ::CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL,
                                      IID_PPV_ARGS(&operation.pointer));
  if (SUCCEEDED(result)) {
    result =
        operation.pointer->SetOperationFlags(FOF_NO_UI | FOFX_RECYCLEONDELETE | FOFX_EARLYFAILURE);
  }
  if (SUCCEEDED(result)) {
    result = ::SHCreateItemFromParsingName(path.c_str(), nullptr, IID_PPV_ARGS(&item.pointer));
    if (FAILED(result)) return ShellFailed(path, HRESULT_CODE(result));
    result = operation.pointer->DeleteItem(item.pointer, nullptr);
  }
  if (SUCCEEDED(result)) result = operation.pointer->PerformOperations();
  // Not there, or there without these calls (Wine answers E_NOTIMPL).
  if (result == E_NOTIMPL || result == REGDB_E_CLASSNOTREG || result == E_NOINTERFACE) {
    *unavailable = true;
    return Status::Ok();
  }
  BOOL aborted = FALSE;
  if (SUCCEEDED(result)) (void)operation.pointer->GetAnyOperationsAborted(&aborted);
  if (FAILED(result) || aborted || !Gone(path)) {
    return ShellFailed(path, FAILED(result) ? HRESULT_CODE(result) : ERROR_CANCELLED);
  }
  return Status::Ok();
}

Status RecycleBin::PutByShellCall(const std::wstring& path) {
  const std::wstring from = path + L'\0';  // a list of paths, ended by an empty one
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_ALLOWUNDO | FOF_NO_UI;
  const int result = ::SHFileOperationW(&operation);
  if (result != 0 || operation.fAnyOperationsAborted || !Gone(path)) {
    return ShellFailed(path, result != 0 ? static_cast<DWORD>(result) : ERROR_CANCELLED);
  }
  return Status::Ok();
}

}  // namespace pellmar
