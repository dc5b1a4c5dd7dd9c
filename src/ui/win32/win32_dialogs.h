// The modal boxes and the folder picker as Windows shows them: message
// boxes titled "Pellmar" and the shell's folder dialog.
#ifndef PELLMAR_UI_WIN32_WIN32_DIALOGS_H_
#define PELLMAR_UI_WIN32_WIN32_DIALOGS_H_

#include "core/messages.h"
#include "platform/platform.h"
#include "ui/dialogs.h"
#include "ui/win32/common_controls.h"

namespace pellmar {

class Win32Dialogs : public Dialogs {
 public:
  explicit Win32Dialogs(Platform& platform) : platform_(platform) {}

  /// The window the boxes belong to while it is on screen.
  void SetOwner(HWND owner) { owner_ = owner; }
  /// The texts of the picker's own question; English until set.
  void SetMessages(const MessageTable* messages) { messages_ = messages; }

  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& question) override;
  std::optional<std::string> PickFolder(const FolderPickerRequest& request) override;

 private:
  HWND VisibleOwner() const;
  const MessageTable& Messages() const;
  std::optional<std::wstring> AskForFolder(const FolderPickerRequest& request);

  Platform& platform_;
  HWND owner_ = nullptr;
  const MessageTable* messages_ = nullptr;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_WIN32_WIN32_DIALOGS_H_
