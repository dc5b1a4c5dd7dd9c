// The skin's test scaffolding: the application, modal answers, and building
// and tearing down the windows under test.
#include <QApplication>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "qt_fixture.h"
#include "ui/qt/window_look.h"

namespace pellmar {

WithApplication::WithApplication() {
  if (QApplication::instance() != nullptr) return;
  // The platform is chosen when the application is made; only an unset one
  // is replaced, so a developer can still watch the tests on a display.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "qt_tests";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Pellmar"));
  // Qt's own settings (the folder dialog's history) would otherwise land in
  // whichever temp world came first, after it is gone; they are not kept.
  for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/proc/no-qt-settings"));
  }
}

ModalAnswer::ModalAnswer(const char* class_name, std::function<void(QWidget* modal)> answer)
    : poll_(std::make_unique<QTimer>()) {
  QTimer* poll = poll_.get();
  auto tries = std::make_shared<int>(0);
  QObject::connect(
      poll, &QTimer::timeout, poll, [poll, tries, class_name, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && class_name != nullptr && !modal->inherits(class_name)) {
          modal = nullptr;
        }
        // Answered once it is the active window: until then nothing in it
        // has the focus, and keys would go nowhere. On a busy machine the
        // activation can come many polls after the modal opened.
        const bool active = modal != nullptr && modal->isActiveWindow();
        if (!active && ++*tries < 500) return;
        poll->stop();
        if (modal != nullptr) answer(modal);
      });
  poll->start(10);
}

ModalAnswer::~ModalAnswer() = default;

SkinTest::~SkinTest() {
  qt_host_.SetMainWindow(nullptr);
  qt_host_.SetLogWindow(nullptr);
  skin_.reset();    // the widgets go before the controls they show
  window_.reset();  // and the window before the host it reports to
  log_.reset();
}

void SkinTest::Start() {
  MakeWindow().SetMeasurer(LabelMeasurer(window()));
  window().FormCreate();
  skin_ = std::make_unique<MainWindow>(window());
  log_window_ = new LogWindow(*log_, skin_.get());
  qt_host_.SetMainWindow(skin_.get());
  qt_host_.SetLogWindow(log_window_);
  skin_->ShowCentred();
  skin_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(skin_.get()));
  // Keys and the application's focus follow the activation, which a busy
  // machine may deliver a while after the exposure.
  (void)QTest::qWaitForWindowActive(skin_.get());
  // FormShow is queued behind the first show; let it run.
  QCoreApplication::processEvents();
}

}  // namespace pellmar
