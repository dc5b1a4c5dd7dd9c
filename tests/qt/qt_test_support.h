// What the skin's tests share: one QApplication on the offscreen platform,
// a temp home with its own settings, documents and removable "stick",
// scripted dialogs and a recording shell, and a helper that answers the
// next modal box so no test can hang on one.
#ifndef PELLMAR_TESTS_QT_QT_TEST_SUPPORT_H_
#define PELLMAR_TESTS_QT_QT_TEST_SUPPORT_H_

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "ui/dialogs.h"

class QTimer;
class QWidget;

namespace pellmar {

/// Creates the test binary's QApplication once (offscreen unless the
/// environment asks for another platform).
void EnsureApplication();

/// A temp folder tree standing in for the user's world: HOME, the config
/// folder (where Pellmar.ini goes), Documents and a removable disk mapped as
/// E:. The environment is set before the platform is made.
class TempWorld {
 public:
  TempWorld();
  ~TempWorld();

  Platform& platform() { return *platform_; }
  const std::string& root() const { return root_; }
  std::string config_dir() const { return root_ + "/config"; }
  std::string documents_dir() const { return root_ + "/home/Documents"; }
  std::string stick_dir() const { return root_ + "/stick"; }
  std::string settings_file() const { return config_dir() + "/Pellmar.ini"; }

  /// The namespace spelling of a host path.
  std::string Namespace(const std::string& host_path);
  /// Creates a host folder with its parents.
  void MakeFolder(const std::string& host_path);
  void WriteFile(const std::string& host_path, const std::string& contents);
  std::string ReadFile(const std::string& host_path);

 private:
  std::string root_;
  std::unique_ptr<Platform> platform_;
};

/// Dialogs answered by the test: messages and questions are recorded.
class ScriptedDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string& question) override;
  std::optional<std::string> PickFolder(const FolderPickerRequest& request) override;

  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::vector<FolderPickerRequest> picker_requests;
  std::deque<bool> confirm_answers;                       // empty: No
  std::deque<std::optional<std::string>> picked_folders;  // empty: cancelled
};

/// A shell that remembers what it was asked to open and opens nothing.
class RecordingShell : public Shell {
 public:
  struct Call {
    std::string verb, file, parameters, directory;
    int show;
  };
  void Execute(const std::string& verb, const std::string& file, const std::string& parameters,
               const std::string& directory, int show) override {
    calls.push_back({verb, file, parameters, directory, show});
  }
  std::vector<Call> calls;
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
