// The Qt main window: the real widgets of TMain's controls at their fixed
// places, its caption, icon, font and colours, the window's keys (Enter,
// Escape, the key-up reaction), its first show and its close, and what it
// tells screen readers.
#ifndef PELLMAR_UI_QT_MAIN_WINDOW_H_
#define PELLMAR_UI_QT_MAIN_WINDOW_H_

#include <QWidget>
#include <map>
#include <string>

namespace pellmar {

class Button;
class StatusBarWidget;
class TMain;

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  /// Builds the window for a TMain whose FormCreate has run.
  explicit MainWindow(TMain& main);
  ~MainWindow() override;

  /// The widget bound to a control, nullptr for an unknown name.
  QWidget* WidgetFor(const std::string& control_name) const;
  /// Gives the keyboard focus to a control's widget.
  void FocusControl(const std::string& control_name);
  /// Centres the window on the screen and shows it; FormShow follows once.
  void ShowCentred();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BindControls();
  void SetUpButtons();
  void SetUpTabOrder();
  void ForwardKeyUps();
  void TrackFocus();
  /// Names the fields and lists after their labels, now and whenever a
  /// label's caption changes.
  void NameFieldsAfterLabels();
  void NameFields();
  /// The two lists show the lines of one table: they scroll as one.
  void ScrollListsTogether();
  /// The project list's menu (right button or the menu key): the previews.
  void OfferPreviews();
  void ShowPreviewMenu(QWidget* list, const QPoint& at);
  /// Ctrl+Z brings back the project Remove from List took away.
  void OfferUndo();
  /// Ctrl+E ejects the selected project's removable disk.
  void OfferEject();
  /// The button that holds a role (default or cancel), nullptr for none.
  Button* FindButton(bool (Button::*role)() const) const;

  TMain& main_;
  std::map<std::string, QWidget*> widgets_;
  StatusBarWidget* status_bar_ = nullptr;
  bool shown_once_ = false;
  QMetaObject::Connection focus_tracking_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_QT_MAIN_WINDOW_H_
