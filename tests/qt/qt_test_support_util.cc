// The shared test scaffolding of the skin's tests.
#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "qt_test_support.h"

namespace pellmar {

void EnsureApplication() {
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
        if (modal == nullptr && ++*tries < 500) return;
        poll->stop();
        if (modal != nullptr) answer(modal);
      });
  poll->start(10);
}

ModalAnswer::~ModalAnswer() = default;

}  // namespace pellmar
