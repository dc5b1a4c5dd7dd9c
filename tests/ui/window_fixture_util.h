// A headless main window on the real platform, inside a namespace of temp
// folders, for tests of the window's reactions (selection, Send, Load, ...).
//
// WindowTest gives each test its own HOME, settings folder, Documents folder,
// program folder and removable drives A:, E: and F: (absent until inserted),
// scripted dialogs that answer from queues and record every request, a shell
// and a window host that record what they are asked. Typical use:
//
//   TEST_F(WindowTest, Something) {
//     WriteSettings("[Setting]\r\nSyncItem1=" + Ns(Documents("Proj")) + "\r\n");
//     InsertDrive('E');
//     TMain& w = StartWindow();          // constructs TMain and runs FormCreate
//     dialogs_.answers.push_back(true);  // Yes to the next question
//     w.ListBox1.UserSelect(0);
//     EXPECT_THAT(dialogs_.Messages(), ...);
//   }
#ifndef PELLMAR_TESTS_UI_WINDOW_FIXTURE_UTIL_H_
#define PELLMAR_TESTS_UI_WINDOW_FIXTURE_UTIL_H_

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "ui/dialogs.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"

namespace pellmar {

/// Dialogs answered from queues. An empty queue answers No / Cancel and
/// counts the request in `unanswered`, so a test can never hang on a box.
class ScriptedDialogs : public Dialogs {
 public:
  enum class Kind { kMessage, kQuestion, kPicker };
  struct Request {
    Kind kind;
    std::string text;            // message or question; picker title
    FolderPickerRequest picker;  // for kPicker only
  };

  std::deque<bool> answers;                      // for Confirm, in order
  std::deque<std::optional<std::string>> picks;  // for PickFolder; nullopt cancels
  std::vector<Request> requests;                 // every box, in order
  int unanswered = 0;

  void ShowMessage(const std::string& text) override;
  bool Confirm(const std::string& question) override;
  std::optional<std::string> PickFolder(const FolderPickerRequest& request) override;

  /// Texts of the plain message boxes, in order.
  std::vector<std::string> Messages() const;
  /// Texts of the Yes/No questions, in order.
  std::vector<std::string> Questions() const;
  std::vector<FolderPickerRequest> Pickers() const;
};

/// Records every shell execution.
class RecordingShell : public Shell {
 public:
  struct Call {
    std::string verb, file, parameters, directory;
    int show = 0;
  };
  std::vector<Call> calls;
  void Execute(const std::string& verb, const std::string& file, const std::string& parameters,
               const std::string& directory, int show) override;
};

/// A window host without a toolkit. ShowModal "shows" the log window, runs
/// `while_modal` (if set) and returns as if the user had pressed OK.
class HeadlessHost : public WindowHost {
 public:
  int modal_shows = 0;
  int hides = 0;
  int process_events = 0;
  int quit_requests = 0;
  std::string focus;  // the control last given the focus
  std::function<void(TLogViewer&)> while_modal;

  void ShowModal(TLogViewer& log) override;
  void Hide(TLogViewer& log) override;
  bool Showing(const TLogViewer& log) const override;
  void ProcessEvents() override;
  void RequestQuit() override;
  void SetFocus(const std::string& control_name) override;

 private:
  bool showing_ = false;
};

/// A fresh HOME, XDG_CONFIG_HOME, XDG_DOCUMENTS_DIR and PELLMAR_DRIVES
/// (A:, E:, F: on folders under the temp root that do not exist yet), set
/// while the object lives; the temp tree is removed and the environment put
/// back afterwards. Make it before the platform, which reads them once.
class TempNamespace {
 public:
  TempNamespace();
  ~TempNamespace();
  TempNamespace(const TempNamespace&) = delete;
  TempNamespace& operator=(const TempNamespace&) = delete;

  const std::string& root() const { return root_; }  // host path
  std::string config_dir() const { return root_ + "/home/.config"; }
  std::string documents_dir() const { return root_ + "/home/Documents"; }
  std::string program_dir() const { return root_ + "/program"; }
  std::string drive_dir(char letter) const;

 private:
  struct SavedVariable {
    std::string name;
    std::optional<std::string> value;
  };
  std::string root_;
  std::vector<SavedVariable> saved_;
};

/// The real platform with a few calls overridden: the executable lies in the
/// temp program folder, and faults Linux cannot produce can be forced. The
/// disk-status calls are recorded in order.
class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(std::unique_ptr<Platform> inner) : inner_(std::move(inner)) {}
  Platform& inner() { return *inner_; }

  std::string executable_path;                   // returned by ExecutablePath when set
  std::optional<uint32_t> forced_disk_error;     // GetDiskFreeSpace fails with this code
  std::optional<uint64_t> forced_free_bytes;     // GetDiskFreeSpace succeeds with this
  std::optional<uint32_t> forced_version_error;  // QueryVersion fails with this code
  std::vector<std::string> disk_calls;           // "SetErrorMode(1)", "GetLastError", ...
  std::vector<std::string> created_folders;      // successful CreateFolder calls, in order

  FolderListing ListFolder(const std::string& p) override { return inner_->ListFolder(p); }
  std::optional<FileFacts> FindFile(const std::string& p) override { return inner_->FindFile(p); }
  bool FolderExists(const std::string& p) override { return inner_->FolderExists(p); }
  bool FileExists(const std::string& p) override { return inner_->FileExists(p); }
  Status CopyFile(const std::string& s, const std::string& t) override {
    return inner_->CopyFile(s, t);
  }
  Status DeleteFile(const std::string& p) override { return inner_->DeleteFile(p); }
  Status RemoveFolder(const std::string& p) override { return inner_->RemoveFolder(p); }
  Status CreateFolder(const std::string& p) override;
  Status ForceFolders(const std::string& p) override { return inner_->ForceFolders(p); }
  Status ReadWholeFile(const std::string& p, std::string* c) override {
    return inner_->ReadWholeFile(p, c);
  }
  Status ReplaceFile(const std::string& p, const std::string& c) override {
    return inner_->ReplaceFile(p, c);
  }
  uint32_t SetErrorMode(uint32_t mode) override;
  void SetLastError(uint32_t code) override;
  uint32_t GetLastError() override;
  bool GetDiskFreeSpace(const std::string& root, uint64_t* free_bytes) override;
  std::vector<DriveMapping> Drives() override { return inner_->Drives(); }
  std::string DocumentsFolder() override { return inner_->DocumentsFolder(); }
  std::string ExecutablePath() override;
  bool QueryVersion() override;
  LocalDateTime Now() override { return inner_->Now(); }
  std::optional<std::string> HostPath(const std::string& p) override { return inner_->HostPath(p); }
  std::optional<std::string> NamespacePath(const std::string& h) override {
    return inner_->NamespacePath(h);
  }
  std::string DecodeCodePage(const std::string& b, int cp) override {
    return inner_->DecodeCodePage(b, cp);
  }
  int AnsiCodePage() override { return inner_->AnsiCodePage(); }
  Status ShellOpen(const std::string& f, const std::string& p, const std::string& d) override {
    return inner_->ShellOpen(f, p, d);
  }

 private:
  std::unique_ptr<Platform> inner_;
};

/// The fixture: everything above, wired to one TMain made on demand.
class WindowTest : public ::testing::Test {
 protected:
  WindowTest();

  /// Makes the log window and TMain, then runs FormCreate.
  TMain& StartWindow();
  TMain& window() { return *window_; }

  // Host paths of the temp namespace.
  std::string Documents(const std::string& below = "") const;
  std::string SettingsFile() const { return ns_.config_dir() + "/Pellmar.ini"; }
  std::string ProgramFile(const std::string& name) const;
  /// The namespace path of a host path ("C:\tmp\...").
  std::string Ns(const std::string& host_path);
  /// A drive's folder comes into being: its medium is inserted.
  void InsertDrive(char letter);

  // Whole files, host paths; WriteFile makes missing folders.
  static void WriteFile(const std::string& host_path, const std::string& contents);
  static std::string ReadFile(const std::string& host_path);
  static void MakeFolder(const std::string& host_path);
  static bool FolderExists(const std::string& host_path);

  /// Writes the settings file; "\n" becomes CR LF as the program writes it.
  void WriteSettings(const std::string& ini_lines);
  /// Section "Setting" of a settings file with one entry per folder (host
  /// paths), each with the given removable folder (namespace path).
  void WriteEntries(const std::vector<std::string>& project_hosts,
                    const std::string& removable_folder, const std::string& extra = "");

  TempNamespace ns_;
  ForwardingPlatform platform_;
  ScriptedDialogs dialogs_;
  RecordingShell shell_;
  HeadlessHost host_;
  std::unique_ptr<TLogViewer> log_;
  std::unique_ptr<TMain> window_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_UI_WINDOW_FIXTURE_UTIL_H_
