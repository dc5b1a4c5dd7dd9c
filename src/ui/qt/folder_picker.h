// The folder picker: Qt's own folder dialog, with one addition for Select:
// a typed name of a folder that does not exist yet is taken after a Yes/No
// question (the caller creates it), and No keeps the picker open. Its side
// bar is as wide as the names of the places in it.
#ifndef PELLMAR_UI_QT_FOLDER_PICKER_H_
#define PELLMAR_UI_QT_FOLDER_PICKER_H_

#include <QFileDialog>
#include <string>

namespace pellmar {

class FolderPicker : public QFileDialog {
  Q_OBJECT

 public:
  /// `new_folder_question` is asked before a new folder is taken, with
  /// "%1" where the folder goes.
  FolderPicker(QWidget* parent, bool allow_new_folder, std::string new_folder_question);

  /// The host folder the user chose; empty before OK.
  QString ChosenFolder() const;
  /// Host folders offered at the side for a quick jump (home, removable
  /// disks); once shown, the side bar is wide enough for their names.
  void SetPlaces(const QStringList& host_folders);

 public slots:
  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  /// Qt greys out its OK button for a name that is no folder yet; where a
  /// new folder may be typed, a typed name is enough.
  void KeepOkForNewNames();
  void FitSideBar();

  bool allow_new_folder_;
  std::string new_folder_question_;
  QString chosen_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_FOLDER_PICKER_H_
