// The shared test scaffolding of the skin's tests.
#include <QApplication>
#include <QSettings>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

TempWorld::TempWorld() {
  EnsureApplication();
  std::string pattern = (std::filesystem::temp_directory_path() / "pellmar_qt_XXXXXX").string();
  root_ = mkdtemp(pattern.data());
  MakeFolder(root_ + "/home");
  MakeFolder(config_dir());
  MakeFolder(documents_dir());
  MakeFolder(stick_dir());
  setenv("HOME", (root_ + "/home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", config_dir().c_str(), 1);
  setenv("XDG_DOCUMENTS_DIR", documents_dir().c_str(), 1);
  setenv("PELLMAR_DRIVES", ("E:=" + stick_dir()).c_str(), 1);
  platform_ = NewHostPlatform();
}

TempWorld::~TempWorld() {
  std::error_code ignored;  // a leftover temp folder is no test failure
  std::filesystem::remove_all(root_, ignored);
}

std::string TempWorld::Namespace(const std::string& host_path) {
  return platform_->NamespacePath(host_path).value_or("<no namespace path>");
}

void TempWorld::MakeFolder(const std::string& host_path) {
  std::filesystem::create_directories(host_path);
}

void TempWorld::WriteFile(const std::string& host_path, const std::string& contents) {
  std::ofstream(host_path, std::ios::binary) << contents;
}

std::string TempWorld::ReadFile(const std::string& host_path) {
  std::ifstream file(host_path, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

bool ScriptedDialogs::Confirm(const std::string& question) {
  questions.push_back(question);
  if (confirm_answers.empty()) return false;
  const bool answer = confirm_answers.front();
  confirm_answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedDialogs::PickFolder(const FolderPickerRequest& request) {
  picker_requests.push_back(request);
  if (picked_folders.empty()) return std::nullopt;
  std::optional<std::string> folder = picked_folders.front();
  picked_folders.pop_front();
  return folder;
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
