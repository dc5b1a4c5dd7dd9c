// The picker's OK: existing folders as Qt takes them, new ones after a question.
#include "ui/qt/folder_picker.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace pellmar {

FolderPicker::FolderPicker(QWidget* parent, bool allow_new_folder)
    : QFileDialog(parent), allow_new_folder_(allow_new_folder) {
  // Qt's own dialog on every desktop, so the new-folder rule below holds.
  setOption(QFileDialog::DontUseNativeDialog, true);
  setOption(QFileDialog::ShowDirsOnly, true);
  setFileMode(QFileDialog::Directory);
  setAcceptMode(QFileDialog::AcceptOpen);
  if (allow_new_folder_) KeepOkForNewNames();
}

void FolderPicker::KeepOkForNewNames() {
  auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  auto* buttons = findChild<QDialogButtonBox*>();
  if (name == nullptr || buttons == nullptr) return;
  QPushButton* ok = buttons->button(QDialogButtonBox::Open);
  if (ok == nullptr) return;
  // Runs after Qt's own update of the button, which was connected first.
  auto enable_for_typed_name = [name, ok] {
    if (!name->text().trimmed().isEmpty()) ok->setEnabled(true);
  };
  connect(name, &QLineEdit::textChanged, this, enable_for_typed_name);
  connect(this, &QFileDialog::directoryEntered, this, enable_for_typed_name);
}

void FolderPicker::SetPlaces(const QStringList& host_folders) {
  QList<QUrl> places;
  for (const QString& folder : host_folders) places.append(QUrl::fromLocalFile(folder));
  setSidebarUrls(places);
}

QString FolderPicker::ChosenFolder() const {
  if (!chosen_.isEmpty()) return chosen_;
  const QStringList selected = selectedFiles();
  return selected.isEmpty() ? QString() : selected.first();
}

void FolderPicker::accept() {
  const QStringList selected = selectedFiles();
  const QString folder = selected.isEmpty() ? QString() : selected.first();
  if (!allow_new_folder_ || folder.isEmpty() || QFileInfo::exists(folder)) {
    QFileDialog::accept();
    return;
  }
  QMessageBox question(QMessageBox::Question, windowTitle(),
                       tr("The folder\n%1\ndoes not exist. Do you want to create it?").arg(folder),
                       QMessageBox::Yes | QMessageBox::No, this);
  question.setTextFormat(Qt::PlainText);
  question.setDefaultButton(QMessageBox::Yes);
  if (question.exec() != QMessageBox::Yes) return;
  chosen_ = folder;
  QDialog::accept();
}

}  // namespace pellmar
