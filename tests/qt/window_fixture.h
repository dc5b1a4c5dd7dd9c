// A running main window for the skin's tests: TMain made with scripted
// dialogs, a recording shell and the real Qt window host, created as the
// program does it (measurer, FormCreate, then the Qt windows), and shown.
#ifndef PELLMAR_TESTS_QT_WINDOW_FIXTURE_H_
#define PELLMAR_TESTS_QT_WINDOW_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "qt_test_support.h"
#include "support/test_namespace.h"
#include "support/window_doubles.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"
#include "ui/qt/log_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_window_host.h"

namespace pellmar {

class WindowTest : public ::testing::Test {
 protected:
  ~WindowTest() override;

  /// Writes the settings file with one entry per project (folders made
  /// below Documents), each kept in E:\backup.
  void WriteSettings(const std::vector<std::string>& projects);
  /// Builds the windows, shows the main window and lets FormShow run.
  void Start();

  /// The bound widget of a control, cast to its widget class.
  template <typename W>
  W* Widget(const std::string& name) {
    auto* widget = qobject_cast<W*>(window->WidgetFor(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  WithApplication application;
  TestNamespace world;
  ScriptedDialogs dialogs;
  RecordingShell shell;
  QtWindowHost host;
  TLogViewer log;
  std::unique_ptr<TMain> main;
  std::unique_ptr<MainWindow> window;
  LogWindow* log_window = nullptr;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_QT_WINDOW_FIXTURE_H_
