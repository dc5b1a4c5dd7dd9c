// Message boxes and the folder picker (IFileOpenDialog picking folders).
#include "ui/win32/win32_dialogs.h"

#include "ui/win32/win32_text.h"

namespace pellmar {
namespace {

constexpr wchar_t kBoxTitle[] = L"Pellmar";

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComPointer {
 public:
  ComPointer() = default;
  ~ComPointer() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  T* operator->() const { return pointer_; }
  T** Out() { return &pointer_; }
  T* get() const { return pointer_; }

 private:
  T* pointer_ = nullptr;
};

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

HWND Win32Dialogs::VisibleOwner() const {
  return owner_ != nullptr && ::IsWindowVisible(owner_) ? owner_ : nullptr;
}

const MessageTable& Win32Dialogs::Messages() const {
  static const MessageTable kEnglish;
  return messages_ != nullptr ? *messages_ : kEnglish;
}

void Win32Dialogs::ShowMessage(const std::string& text) {
  ::MessageBoxW(VisibleOwner(), ToWide(text).c_str(), kBoxTitle, MB_OK);
}

bool Win32Dialogs::Confirm(const std::string& question) {
  return ::MessageBoxW(VisibleOwner(), ToWide(question).c_str(), kBoxTitle,
                       MB_YESNO | MB_ICONQUESTION) == IDYES;
}

std::optional<std::wstring> Win32Dialogs::AskForFolder(const FolderPickerRequest& request) {
  ComPointer<IFileOpenDialog> dialog;
  if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(dialog.Out())))) {
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR;
  // Select's picker takes a folder typed in that is not there yet.
  if (request.allow_new_folder) options &= ~(FOS_PATHMUSTEXIST | FOS_FILEMUSTEXIST);
  dialog->SetOptions(options);
  dialog->SetTitle(request.title.empty() ? kBoxTitle : ToWide(request.title).c_str());
  const std::optional<std::string> start = platform_.HostPath(request.start_folder);
  if (start && IsFolder(ToWide(*start))) {
    ComPointer<IShellItem> folder;
    if (SUCCEEDED(::SHCreateItemFromParsingName(ToWide(*start).c_str(), nullptr,
                                                IID_PPV_ARGS(folder.Out())))) {
      dialog->SetFolder(folder.get());
    }
  }
  if (FAILED(dialog->Show(VisibleOwner()))) return std::nullopt;  // cancelled
  ComPointer<IShellItem> result;
  if (FAILED(dialog->GetResult(result.Out()))) return std::nullopt;
  wchar_t* path = nullptr;
  if (FAILED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr) {
    return std::nullopt;
  }
  std::wstring chosen(path);
  ::CoTaskMemFree(path);
  return chosen;
}

std::optional<std::string> Win32Dialogs::PickFolder(const FolderPickerRequest& request) {
  for (;;) {
    const std::optional<std::wstring> chosen = AskForFolder(request);
    if (!chosen || chosen->empty()) return std::nullopt;
    const std::string host = ToUtf8(*chosen);
    // A folder typed in that is not there yet is made only when the user
    // says so; "No" goes back to the picker.
    if (request.allow_new_folder && !IsFolder(*chosen) &&
        !Confirm(FillIn(Messages().Msg(kCreatePickedFolder), {host}))) {
      continue;
    }
    std::optional<std::string> folder = platform_.NamespacePath(host);
    if (!folder) ShowMessage(FillIn(Messages().Msg(kPathNotWritable), {host}));
    return folder;
  }
}

}  // namespace pellmar
