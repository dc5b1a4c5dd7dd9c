// What only the skin's tests need besides the shared support: one
// QApplication on the offscreen platform, and a helper that answers the
// next modal box so no test can hang on one.
#ifndef PELLMAR_TESTS_QT_QT_TEST_SUPPORT_H_
#define PELLMAR_TESTS_QT_QT_TEST_SUPPORT_H_

#include <functional>
#include <memory>

class QTimer;
class QWidget;

namespace pellmar {

/// Creates the test binary's QApplication once (offscreen unless the
/// environment asks for another platform).
void EnsureApplication();
/// Made first in a fixture, so every widget and timer after it has its
/// application.
struct WithApplication {
  WithApplication() { EnsureApplication(); }
};

/// Runs `answer` on the next modal widget that opens while this object
/// lives (and within a few seconds); if none opens, it gives up quietly and
/// the test's own checks fail instead of hanging. It never outlives its
/// scope, so an unused answer cannot close a later test's box.
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

}  // namespace pellmar

#endif  // PELLMAR_TESTS_QT_QT_TEST_SUPPORT_H_
