// What the skin's tests share: one QApplication on the offscreen platform,
// a helper that answers the next modal box so no test can hang on one, and
// the headless window fixture with the real Qt windows built on top.
#ifndef PELLMAR_TESTS_QT_QT_FIXTURE_H_
#define PELLMAR_TESTS_QT_QT_FIXTURE_H_

#include <QCoreApplication>
#include <functional>
#include <memory>
#include <string>

#include "support/window_fixture.h"
#include "ui/qt/log_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_window_host.h"

class QTimer;
class QWidget;

namespace pellmar {

/// Made first in a fixture, so every widget and timer after it has the
/// test binary's one QApplication (offscreen unless the environment asks
/// for another platform).
struct WithApplication {
  WithApplication();
};

/// Runs `answer` on the next modal widget that opens while this object
/// lives, once that is the active window (and within a few seconds); if
/// none opens, it gives up quietly and the test's own checks fail instead
/// of hanging. It never outlives its scope, so an unused answer cannot
/// close a later test's box.
class ModalAnswer {
 public:
  explicit ModalAnswer(std::function<void(QWidget* modal)> answer)
      : ModalAnswer(nullptr, std::move(answer)) {}
  /// Waits for a modal of the Qt class `class_name` ("QMessageBox") only.
  ModalAnswer(const char* class_name, std::function<void(QWidget* modal)> answer);
  ~ModalAnswer();
  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;

 private:
  std::unique_ptr<QTimer> poll_;
};

/// The window as the program makes it (measurer, FormCreate, then the Qt
/// windows on the Qt host), shown.
class SkinTest : public WindowTest {
 protected:
  SkinTest() { window_host_ = &qt_host_; }
  ~SkinTest() override;

  /// Builds the windows, shows the main window and lets FormShow run.
  void Start();
  /// The bound widget of a control, cast to its widget class, once the
  /// widgets that follow their controls at the next turn have followed.
  template <typename W>
  W* Widget(const std::string& name) {
    QCoreApplication::sendPostedEvents();
    auto* widget = qobject_cast<W*>(skin_->WidgetFor(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  WithApplication application_;
  QtWindowHost qt_host_;
  std::unique_ptr<MainWindow> skin_;
  LogWindow* log_window_ = nullptr;  // owned by skin_
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_QT_QT_FIXTURE_H_
