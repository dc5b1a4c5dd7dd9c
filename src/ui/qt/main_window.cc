// The main window's widgets and the window-level input rules.
#include "ui/qt/main_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidgetItem>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <algorithm>
#include <vector>

#include "ui/main_form.h"
#include "ui/qt/control_binders.h"
#include "ui/qt/list_box_widget.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/status_bar_widget.h"
#include "ui/qt/window_look.h"
#include "ui/qt/windows_key_code.h"
#include "ui/spoken_names.h"

namespace pellmar {
namespace {

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// A plain top-level widget is announced as a bare pane; the main window is
// announced as what it is, a window, under its title.
QAccessibleInterface* AccessibleMainWindow(const QString& class_name, QObject* object) {
  if (class_name != QLatin1String(MainWindow::staticMetaObject.className())) return nullptr;
  return new QAccessibleWidget(qobject_cast<QWidget*>(object), QAccessible::Window);
}

constexpr QKeyCombination kEjectKey(Qt::ControlModifier, Qt::Key_E);

// Some desktops' key schemes give a field Ctrl+E for "end of line"; in this
// window Ctrl+E ejects, wherever the focus is.
class EjectKeyFirst : public QObject {
 public:
  explicit EjectKeyFirst(QWidget* window) : QObject(window), window_(window) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() ||
        static_cast<QKeyEvent*>(event)->keyCombination() != kEjectKey ||
        !window_->isAncestorOf(static_cast<QWidget*>(watched))) {
      return false;
    }
    event->ignore();  // not the field's: the window's shortcut takes it
    return true;
  }

 private:
  QWidget* window_;
};

}  // namespace

MainWindow::MainWindow(TMain& main) : main_(main) {
  QAccessible::installFactory(AccessibleMainWindow);
  setObjectName(QStringLiteral("Main"));
  setWindowTitle(ToQString(main_.caption()));
  setWindowIcon(ProgramIcon());
  setFont(MainWindowFont(main_.font_name(), main_.font_charset()));
  GiveWindowLook(this, TMain::kWidth, TMain::kHeight);
  BindControls();
  SetUpButtons();
  SetUpTabOrder();
  ForwardKeyUps();
  TrackFocus();
  NameFieldsAfterLabels();
  ScrollListsTogether();
  OfferPreviews();
  OfferUndo();
  OfferEject();
  if (status_bar_ != nullptr) status_bar_->PlaceAtBottom(size());
}

void MainWindow::ScrollListsTogether() {
  auto* names = qobject_cast<QAbstractScrollArea*>(WidgetFor(main_.ListBox2.name()));
  auto* folders = qobject_cast<QAbstractScrollArea*>(WidgetFor(main_.ListBox1.name()));
  if (names == nullptr || folders == nullptr) return;
  QScrollBar* a = names->verticalScrollBar();
  QScrollBar* b = folders->verticalScrollBar();
  // Setting the value it already has emits nothing, so the two cannot chase
  // each other.
  connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue);
  connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue);
}

void MainWindow::OfferPreviews() {
  for (const ListBox* list : {&main_.ListBox1, &main_.ListBox2}) {
    QWidget* widget = WidgetFor(list->name());
    if (widget == nullptr) continue;
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(widget, &QWidget::customContextMenuRequested, this,
            [this, widget](const QPoint& at) { ShowPreviewMenu(widget, at); });
  }
}

void MainWindow::ShowPreviewMenu(QWidget* list, const QPoint& at) {
  // A right click on a line selects it first, as a left click would.
  if (auto* lines = qobject_cast<ListBoxWidget*>(list)) {
    const QListWidgetItem* item = lines->itemAt(at);
    const int row = item != nullptr ? lines->row(item) : -1;
    ListBox& control = lines == WidgetFor(main_.ListBox1.name()) ? main_.ListBox1 : main_.ListBox2;
    if (row >= 0 && row != control.item_index()) control.UserSelect(row);
  }
  QMenu menu(this);
  const bool selected = main_.ListBox1.item_index() >= 0 && main_.btnSend.enabled();
  QAction* send = menu.addAction(ToQString(main_.messages().Msg(kPreviewSendMenu)));
  QAction* load = menu.addAction(ToQString(main_.messages().Msg(kPreviewLoadMenu)));
  send->setEnabled(selected);
  load->setEnabled(selected);
  const QAction* chosen = menu.exec(list->mapToGlobal(at));
  if (chosen == send) main_.PreviewSend();
  if (chosen == load) main_.PreviewLoad();
}

void MainWindow::OfferUndo() {
  auto* undo = new QShortcut(QKeySequence::Undo, this);
  // Ctrl+Z in the removable folder's field undoes typing there instead.
  undo->setContext(Qt::WindowShortcut);
  connect(undo, &QShortcut::activated, this, [this] { main_.UndoRemove(); });
}

void MainWindow::OfferEject() {
  auto* eject = new QShortcut(QKeySequence(kEjectKey), this);
  eject->setContext(Qt::WindowShortcut);
  connect(eject, &QShortcut::activated, this, [this] { main_.EjectSelectedMedium(); });
  qApp->installEventFilter(new EjectKeyFirst(this));
}

MainWindow::~MainWindow() {
  // Tearing the widgets down moves the focus; the map it is looked up in is
  // about to go.
  disconnect(focus_tracking_);
}

void MainWindow::BindControls() {
  for (Control* control : main_.AllControls()) {
    QWidget* widget = BindControl(*control, this);
    if (widget == nullptr) continue;
    widgets_[control->name()] = widget;
    if (auto* bar = qobject_cast<StatusBarWidget*>(widget)) status_bar_ = bar;
  }
}

void MainWindow::SetUpButtons() {
  for (const auto& [name, widget] : widgets_) {
    // Enter on a focused button presses that button, as on any desktop.
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setAutoDefault(true);
  }
}

Button* MainWindow::FindButton(bool (Button::*role)() const) const {
  for (Control* control : main_.AllControls()) {
    auto* button = dynamic_cast<Button*>(control);
    if (button != nullptr && (button->*role)()) return button;
  }
  return nullptr;
}

void MainWindow::SetUpTabOrder() {
  std::vector<Control*> stops;
  for (Control* control : main_.AllControls()) {
    if (control->tab_order() >= 0 && WidgetFor(control->name()) != nullptr) {
      stops.push_back(control);
    } else if (QWidget* widget = WidgetFor(control->name())) {
      widget->setFocusPolicy(Qt::NoFocus);
    }
  }
  std::stable_sort(stops.begin(), stops.end(), [](const Control* a, const Control* b) {
    return a->tab_order() < b->tab_order();
  });
  for (size_t i = 1; i < stops.size(); ++i) {
    QWidget::setTabOrder(WidgetFor(stops[i - 1]->name()), WidgetFor(stops[i]->name()));
  }
}

void MainWindow::ForwardKeyUps() {
  // Keys released anywhere else end in the control itself.
  for (const char* name : TMain::kKeyUpControls) {
    if (QWidget* widget = WidgetFor(name)) widget->installEventFilter(this);
  }
}

void MainWindow::TrackFocus() {
  focus_tracking_ =
      connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (const auto& [name, widget] : widgets_) {
          if (widget == now && main_.focused_control() != name) main_.SetFocus(name);
        }
      });
}

void MainWindow::NameFieldsAfterLabels() {
  for (Label* label : {&main_.Label1, &main_.Label3, &main_.Label4, &main_.Label5, &main_.Label6}) {
    AlsoOnUpdate(*label, this, [this] { NameFields(); });
  }
}

void MainWindow::NameFields() {
  for (const SpokenName& spoken : SpokenNames(main_)) {
    if (QWidget* widget = WidgetFor(spoken.control)) {
      widget->setAccessibleName(ToQString(spoken.name));
    }
  }
}

QWidget* MainWindow::WidgetFor(const std::string& control_name) const {
  const auto found = widgets_.find(control_name);
  return found == widgets_.end() ? nullptr : found->second;
}

void MainWindow::FocusControl(const std::string& control_name) {
  if (QWidget* widget = WidgetFor(control_name)) widget->setFocus(Qt::OtherFocusReason);
}

void MainWindow::ShowCentred() {
  CentreOnScreen(this);
  show();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_once_) return;
  shown_once_ = true;
  // The welcome box and the first picker belong on a window the user can
  // already see, so the show reaction waits for the next turn of the loop.
  QMetaObject::invokeMethod(
      this, [this] { main_.FormShow(); }, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A close during a run would leave it half done: the window stays, and
  // the user is asked whether the run should stop after the current file.
  if (main_.run_in_progress()) {
    main_.AskToStop();
    event->ignore();
    return;
  }
  // A failed save keeps the window open; closing again tries again.
  if (main_.FormClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
  // Keys reach the window only when the focused control left them alone:
  // Enter then presses the default button, Escape the cancel button.
  if (main_.run_in_progress()) {
    // Every control is greyed while a run goes; Escape asks to stop it.
    if (event->key() == Qt::Key_Escape) main_.AskToStop();
    return;
  }
  Button* pressed = nullptr;
  if (IsEnterKey(event->key())) {
    pressed = FindButton(&Button::is_default);
  } else if (event->key() == Qt::Key_Escape) {
    pressed = FindButton(&Button::is_cancel);
  }
  if (pressed != nullptr) {
    pressed->Click();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void MainWindow::keyReleaseEvent(QKeyEvent* event) {
  // A release a control passed on is not the window's own: only a release
  // while no control has the focus is.
  QWidget* focus = focusWidget();
  if (!event->isAutoRepeat() && (focus == nullptr || focus == this)) {
    main_.FormKeyUp(WindowsKeyCode(event->key()));
  }
  QWidget::keyReleaseEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!key->isAutoRepeat()) {
      main_.ControlKeyUp(ToUtf8(watched->objectName()), WindowsKeyCode(key->key()));
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The controls keep their places; only the status bar follows the edge.
  if (status_bar_ != nullptr) status_bar_->PlaceAtBottom(size());
}

}  // namespace pellmar
