// Message, confirmation and folder boxes for the window logic.
#include "ui/qt/qt_dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "ui/qt/folder_picker.h"
#include "ui/qt/qt_text.h"

namespace pellmar {
namespace {

const QString kBoxTitle = QStringLiteral("Pellmar");

}  // namespace

const MessageTable& QtDialogs::Messages() const {
  static const MessageTable kEnglish;
  return messages_ != nullptr ? *messages_ : kEnglish;
}

QWidget* QtDialogs::VisibleParent() const {
  return parent_ != nullptr && parent_->isVisible() ? parent_ : nullptr;
}

void QtDialogs::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, kBoxTitle, ToDisplayText(text), QMessageBox::Ok,
                  VisibleParent());
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

bool QtDialogs::Confirm(const std::string& question) {
  QMessageBox box(QMessageBox::Question, kBoxTitle, ToDisplayText(question),
                  QMessageBox::Yes | QMessageBox::No, VisibleParent());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtDialogs::StartDirectory(const std::string& start_folder) const {
  const std::optional<std::string> host = platform_.HostPath(start_folder);
  if (host && QFileInfo(ToQString(*host)).isDir()) return ToQString(*host);
  return QDir::homePath();
}

QStringList QtDialogs::Places() const {
  QStringList places{QDir::homePath()};
  auto add = [&places](const std::optional<std::string>& host) {
    if (host && QFileInfo(ToQString(*host)).isDir() && !places.contains(ToQString(*host))) {
      places.append(ToQString(*host));
    }
  };
  add(platform_.HostPath(platform_.DocumentsFolder()));
  // The removable disks by their letters' folders: where Select goes most.
  for (const DriveMapping& drive : platform_.Drives()) {
    if (drive.mounted && drive.host_path != "/") add(drive.host_path);
  }
  return places;
}

std::optional<std::string> QtDialogs::PickFolder(const FolderPickerRequest& request) {
  FolderPicker picker(VisibleParent(), request.allow_new_folder,
                      Messages().Msg(kCreatePickedFolder));
  picker.SetPlaces(Places());
  picker.setWindowTitle(request.title.empty() ? kBoxTitle : ToDisplayText(request.title));
  picker.setDirectory(StartDirectory(request.start_folder));
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  const QString host = QDir::cleanPath(picker.ChosenFolder());
  if (host.isEmpty()) return std::nullopt;
  std::optional<std::string> folder = platform_.NamespacePath(ToUtf8(host));
  if (!folder) {
    ShowMessage(FillIn(Messages().Msg(kPathNotWritable), {ToUtf8(host)}));
  }
  return folder;
}

}  // namespace pellmar
