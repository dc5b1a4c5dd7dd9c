// The main window without a toolkit, on the real platform inside a temp
// namespace; the skin's tests build their widgets on the same fixture.
// Dialogs answer from queues and the shell and the host record what they
// are asked, so no box can make a test hang:
//
//   WriteProjects({"Proj"});           // Documents\Proj, kept in E:\Sync
//   TMain& w = StartWindow();          // TMain made, FormCreate run
//   dialogs_.answers.push_back(true);  // Yes to the next question
//   w.ListBox1.UserSelect(0);
#ifndef PELLMAR_TESTS_SUPPORT_WINDOW_FIXTURE_H_
#define PELLMAR_TESTS_SUPPORT_WINDOW_FIXTURE_H_

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/forwarding_platform.h"
#include "support/namespace_fixture.h"
#include "ui/dialogs.h"
#include "ui/headless.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"

namespace pellmar {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

/// Every box is recorded; an empty queue answers No or cancels.
class ScriptedDialogs : public Dialogs {
 public:
  std::deque<bool> answers;                      // for Confirm, in order
  std::deque<std::optional<std::string>> picks;  // for PickFolder; nullopt cancels
  std::vector<std::string> messages, questions;
  std::vector<FolderPickerRequest> pickers;

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool Confirm(const std::string& question) override {
    questions.push_back(question);
    return !answers.empty() && Next(answers);
  }
  std::optional<std::string> PickFolder(const FolderPickerRequest& request) override {
    pickers.push_back(request);
    return picks.empty() ? std::nullopt : Next(picks);
  }
  /// Forgets every box asked so far.
  void Clear() {
    messages.clear();
    questions.clear();
    pickers.clear();
  }

 private:
  template <typename T>
  static T Next(std::deque<T>& queue) {
    T next = queue.front();
    queue.pop_front();
    return next;
  }
};

class RecordingShell : public Shell {
 public:
  struct Call {
    std::string verb, file, parameters, directory;
    int show = 0;
  };
  std::vector<Call> calls;
  bool starts = true;  // whether a program is there to open what is asked
  bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
               const std::string& directory, int show) override {
    calls.push_back({verb, file, parameters, directory, show});
    return starts;
  }
};

/// The headless host, counting shows of the log window and quit requests.
class RecordingHost : public HeadlessHost {
 public:
  int modal_shows = 0, quit_requests = 0;
  std::vector<bool> busy;            // every change of the busy pointer
  std::function<void()> during_run;  // runs whenever a run lets events in
  void ProcessEvents() override {
    if (during_run) during_run();
  }
  void SetBusy(bool is_busy) override { busy.push_back(is_busy); }
  void ShowModal(TLogViewer& log) override {
    ++modal_shows;
    HeadlessHost::ShowModal(log);
  }
  void RequestQuit() override {
    ++quit_requests;
    HeadlessHost::RequestQuit();
  }
};

class WindowTest : public NamespaceTest {
 protected:
  WindowTest() {
    WriteText(ProgramFile("pellmar"), "");
    WriteText(ProgramFile("Help.htm"), "");
    platform_.executable_path = Ns(ProgramFile("pellmar"));
  }

  /// The settings file with one entry per project folder below Documents,
  /// each kept in E:\Sync; the folders are made, then `extra` lines follow.
  void WriteProjects(const std::vector<std::string>& projects, const std::string& extra = "") {
    MakeFolder(Stick("Sync"));
    std::vector<std::string> folders;
    for (const std::string& project : projects)
      MakeFolder(folders.emplace_back(Documents(project)));
    ns_.WriteEntries(folders, "E:\\Sync", extra);
  }
  /// Makes the log window and TMain on `window_host_` (a window made earlier
  /// goes first); StartWindow runs FormCreate as well.
  TMain& MakeWindow() {
    window_.reset();
    log_ = std::make_unique<TLogViewer>();
    log_->SetHost(window_host_);
    window_ = std::make_unique<TMain>(
        MainFormServices{&platform_, &dialogs_, &shell_, window_host_, make_platform_}, *log_);
    return *window_;
  }
  TMain& StartWindow() {
    MakeWindow().FormCreate();
    return *window_;
  }
  TMain& window() { return *window_; }

  // Host paths of the temp namespace, and namespace paths of host paths.
  std::string ProgramFile(const std::string& name) const { return ns_.program_dir() + "/" + name; }
  std::string Ns(const std::string& host_path) { return ns_.Ns(host_path); }

  FaultyPlatform platform_{ns_.platform()};
  ScriptedDialogs dialogs_;
  RecordingShell shell_;
  RecordingHost host_;
  WindowHost* window_host_ = &host_;  // a skin puts its own here
  // The platform of the selected project's count; none: no count.
  std::function<std::unique_ptr<Platform>()> make_platform_;
  std::unique_ptr<TLogViewer> log_;
  std::unique_ptr<TMain> window_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_WINDOW_FIXTURE_H_
