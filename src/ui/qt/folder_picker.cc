// The picker's OK: existing folders as Qt takes them, new ones after a
// question; and the room its side bar needs.
#include "ui/qt/folder_picker.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <utility>

#include "core/messages.h"
#include "ui/qt/qt_text.h"

namespace pellmar {

FolderPicker::FolderPicker(QWidget* parent, bool allow_new_folder, std::string new_folder_question)
    : QFileDialog(parent),
      allow_new_folder_(allow_new_folder),
      new_folder_question_(std::move(new_folder_question)) {
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

void FolderPicker::showEvent(QShowEvent* event) {
  QFileDialog::showEvent(event);
  FitSideBar();
}

void FolderPicker::FitSideBar() {
  // Qt's picker keeps its side bar at a fixed narrow width, which cuts
  // "Documents" and a stick's name to a few letters; and it remembers the
  // side bar's width but not its own. The side bar gets the room its names
  // need, the file list the room its columns need, and the picker widens
  // as far as that takes (within the screen).
  auto* side_bar = findChild<QListView*>(QStringLiteral("sidebar"));
  auto* files = findChild<QTreeView*>(QStringLiteral("treeView"));
  auto* splitter = findChild<QSplitter*>(QStringLiteral("splitter"));
  if (side_bar == nullptr || files == nullptr || splitter == nullptr) return;
  const QList<int> sizes = splitter->sizes();
  if (sizes.size() != 2) return;
  const int scroll_bar = side_bar->verticalScrollBar()->sizeHint().width();
  const int side =
      std::max(sizes[0], side_bar->sizeHintForColumn(0) + 2 * side_bar->frameWidth() + scroll_bar);
  const int list =
      std::max(sizes[1], files->header()->length() + 2 * files->frameWidth() + scroll_bar);
  const QScreen* shown_on = screen();
  const int room = shown_on == nullptr ? 0 : shown_on->availableGeometry().width() - width();
  const int widen = std::clamp(side + list - sizes[0] - sizes[1], 0, std::max(room, 0));
  if (side == sizes[0] && widen == 0) return;
  // Placed before it was shown, the picker grows about its centre.
  move(pos() - QPoint(widen / 2, 0));
  resize(width() + widen, height());
  // The sizes hold once the new width has arrived, whenever that is; a
  // later widening of the window goes to the file list alone.
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({side, std::max(0, sizes[0] + sizes[1] + widen - side)});
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
                       ToDisplayText(FillIn(new_folder_question_, {ToUtf8(folder)})),
                       QMessageBox::Yes | QMessageBox::No, this);
  question.setTextFormat(Qt::PlainText);
  question.setDefaultButton(QMessageBox::Yes);
  if (question.exec() != QMessageBox::Yes) return;
  chosen_ = folder;
  QDialog::accept();
}

}  // namespace pellmar
