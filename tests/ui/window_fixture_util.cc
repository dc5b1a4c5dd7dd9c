// The headless window fixture: scripted dialogs, recording shell and host,
// a temp namespace and the forwarding platform.
#include "window_fixture_util.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pellmar {

namespace fs = std::filesystem;

// --- ScriptedDialogs ---------------------------------------------------------

void ScriptedDialogs::ShowMessage(const std::string& text) {
  requests.push_back({Kind::kMessage, text, {}});
}

bool ScriptedDialogs::Confirm(const std::string& question) {
  requests.push_back({Kind::kQuestion, question, {}});
  if (answers.empty()) {
    ++unanswered;
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<std::string> ScriptedDialogs::PickFolder(const FolderPickerRequest& request) {
  requests.push_back({Kind::kPicker, request.title, request});
  if (picks.empty()) {
    ++unanswered;
    return std::nullopt;
  }
  auto pick = picks.front();
  picks.pop_front();
  return pick;
}

std::vector<std::string> ScriptedDialogs::Messages() const {
  std::vector<std::string> texts;
  for (const Request& r : requests) {
    if (r.kind == Kind::kMessage) texts.push_back(r.text);
  }
  return texts;
}

std::vector<std::string> ScriptedDialogs::Questions() const {
  std::vector<std::string> texts;
  for (const Request& r : requests) {
    if (r.kind == Kind::kQuestion) texts.push_back(r.text);
  }
  return texts;
}

std::vector<FolderPickerRequest> ScriptedDialogs::Pickers() const {
  std::vector<FolderPickerRequest> pickers;
  for (const Request& r : requests) {
    if (r.kind == Kind::kPicker) pickers.push_back(r.picker);
  }
  return pickers;
}

// --- RecordingShell and HeadlessHost ----------------------------------------

void RecordingShell::Execute(const std::string& verb, const std::string& file,
                             const std::string& parameters, const std::string& directory,
                             int show) {
  calls.push_back({verb, file, parameters, directory, show});
}

void HeadlessHost::ShowModal(TLogViewer& log) {
  ++modal_shows;
  showing_ = true;
  if (while_modal) while_modal(log);
  showing_ = false;
}

void HeadlessHost::Hide(TLogViewer&) {
  ++hides;
  showing_ = false;
}

bool HeadlessHost::Showing(const TLogViewer&) const { return showing_; }
void HeadlessHost::ProcessEvents() { ++process_events; }
void HeadlessHost::RequestQuit() { ++quit_requests; }
void HeadlessHost::SetFocus(const std::string& control_name) { focus = control_name; }

// --- TempNamespace -----------------------------------------------------------

TempNamespace::TempNamespace() {
  std::string pattern = (fs::temp_directory_path() / "pellmar-ui-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
  root_ = pattern;
  for (const std::string& dir : {config_dir(), documents_dir(), program_dir()}) {
    fs::create_directories(dir);
  }
  const std::string drives =
      "A:=" + drive_dir('A') + ";E:=" + drive_dir('E') + ";F:=" + drive_dir('F');
  const std::vector<std::pair<std::string, std::string>> variables = {
      {"HOME", root_ + "/home"},
      {"XDG_CONFIG_HOME", config_dir()},
      {"XDG_DOCUMENTS_DIR", documents_dir()},
      {"PELLMAR_DRIVES", drives}};
  for (const auto& [name, value] : variables) {
    const char* old = std::getenv(name.c_str());
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    setenv(name.c_str(), value.c_str(), 1);
  }
}

TempNamespace::~TempNamespace() {
  for (const SavedVariable& v : saved_) {
    if (v.value) {
      setenv(v.name.c_str(), v.value->c_str(), 1);
    } else {
      unsetenv(v.name.c_str());
    }
  }
  std::error_code ignored;  // a leftover temp folder harms no later test
  fs::remove_all(root_, ignored);
}

std::string TempNamespace::drive_dir(char letter) const {
  return root_ + "/drives/" + std::string(1, letter);
}

// --- ForwardingPlatform ------------------------------------------------------

Status ForwardingPlatform::CreateFolder(const std::string& path) {
  Status status = inner_->CreateFolder(path);
  if (status.ok()) created_folders.push_back(path);
  return status;
}

uint32_t ForwardingPlatform::SetErrorMode(uint32_t mode) {
  disk_calls.push_back("SetErrorMode(" + std::to_string(mode) + ")");
  return inner_->SetErrorMode(mode);
}

void ForwardingPlatform::SetLastError(uint32_t code) {
  disk_calls.push_back("SetLastError(" + std::to_string(code) + ")");
  inner_->SetLastError(code);
}

uint32_t ForwardingPlatform::GetLastError() {
  disk_calls.push_back("GetLastError");
  return inner_->GetLastError();
}

bool ForwardingPlatform::GetDiskFreeSpace(const std::string& root, uint64_t* free_bytes) {
  disk_calls.push_back("GetDiskFreeSpace(" + root + ")");
  if (forced_disk_error) {
    inner_->SetLastError(*forced_disk_error);
    *free_bytes = 0;
    return false;
  }
  if (forced_free_bytes) {
    inner_->SetLastError(0);
    *free_bytes = *forced_free_bytes;
    return true;
  }
  return inner_->GetDiskFreeSpace(root, free_bytes);
}

std::string ForwardingPlatform::ExecutablePath() {
  return executable_path.empty() ? inner_->ExecutablePath() : executable_path;
}

bool ForwardingPlatform::QueryVersion() {
  if (!forced_version_error) return inner_->QueryVersion();
  inner_->SetLastError(*forced_version_error);
  return false;
}

// --- WindowTest --------------------------------------------------------------

WindowTest::WindowTest() : platform_(NewHostPlatform()) {
  WriteFile(ProgramFile("pellmar"), "");
  platform_.executable_path = Ns(ProgramFile("pellmar"));
}

TMain& WindowTest::StartWindow() {
  window_.reset();  // a window made earlier in the test goes first
  log_ = std::make_unique<TLogViewer>();
  log_->SetHost(&host_);
  window_ =
      std::make_unique<TMain>(MainFormServices{&platform_, &dialogs_, &shell_, &host_}, *log_);
  window_->FormCreate();
  return *window_;
}

std::string WindowTest::Documents(const std::string& below) const {
  return below.empty() ? ns_.documents_dir() : ns_.documents_dir() + "/" + below;
}

std::string WindowTest::ProgramFile(const std::string& name) const {
  return ns_.program_dir() + "/" + name;
}

std::string WindowTest::Ns(const std::string& host_path) {
  const auto path = platform_.NamespacePath(host_path);
  EXPECT_TRUE(path.has_value()) << "no namespace path for " << host_path;
  return path.value_or("");
}

void WindowTest::InsertDrive(char letter) { MakeFolder(ns_.drive_dir(letter)); }

void WindowTest::WriteFile(const std::string& host_path, const std::string& contents) {
  fs::create_directories(fs::path(host_path).parent_path());
  std::ofstream(host_path, std::ios::binary) << contents;
}

std::string WindowTest::ReadFile(const std::string& host_path) {
  std::ostringstream contents;
  contents << std::ifstream(host_path, std::ios::binary).rdbuf();
  return contents.str();
}

void WindowTest::MakeFolder(const std::string& host_path) { fs::create_directories(host_path); }

bool WindowTest::FolderExists(const std::string& host_path) { return fs::is_directory(host_path); }

void WindowTest::WriteSettings(const std::string& ini_lines) {
  std::string crlf;
  for (char c : ini_lines) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  WriteFile(SettingsFile(), crlf);
}

void WindowTest::WriteEntries(const std::vector<std::string>& project_hosts,
                              const std::string& removable_folder, const std::string& extra) {
  std::string ini = "[Setting]\n";
  for (size_t i = 0; i < project_hosts.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    ini += "SyncItem" + n + "=" + Ns(project_hosts[i]) + "\n";
    ini += "Path in mobile disk" + n + "=" + removable_folder + "\n";
  }
  WriteSettings(ini + extra);
}

}  // namespace pellmar
