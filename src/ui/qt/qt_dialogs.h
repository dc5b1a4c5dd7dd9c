// The window's modal boxes and folder picker as Qt dialogs. Every text is
// shown as plain text; the picker speaks namespace paths to the logic and
// host paths to the user.
#ifndef PELLMAR_UI_QT_QT_DIALOGS_H_
#define PELLMAR_UI_QT_QT_DIALOGS_H_

#include <QStringList>

#include "core/messages.h"
#include "platform/platform.h"
#include "ui/dialogs.h"

class QString;
class QWidget;

namespace pellmar {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(Platform& platform) : platform_(platform) {}

  /// The window the boxes are centred over once it is on screen.
  void SetParent(QWidget* parent) { parent_ = parent; }
  /// The window's messages, which the picker's own texts come from; until
  /// set (and once reset to nullptr) they are the English defaults.
  void SetMessages(const MessageTable* messages) { messages_ = messages; }

  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& question) override;
  std::optional<std::string> PickFolder(const FolderPickerRequest& request) override;

 private:
  QWidget* VisibleParent() const;
  QString StartDirectory(const std::string& start_folder) const;
  QStringList Places() const;
  const MessageTable& Messages() const;

  Platform& platform_;
  QWidget* parent_ = nullptr;
  const MessageTable* messages_ = nullptr;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_QT_DIALOGS_H_
