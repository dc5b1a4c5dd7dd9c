// A headless main window on the real platform, inside a temp namespace, for
// tests of the window's reactions (selection, Send, Load, ...).
//
// Each test gets its own HOME, settings folder, Documents and program
// folders, drive E: inserted and A:, F: absent, dialogs answered from
// queues, and a shell and a host that record what they are asked:
//
//   ns_.WriteEntries({Documents("Proj")}, "E:\\Sync");
//   TMain& w = StartWindow();          // constructs TMain and runs FormCreate
//   dialogs_.answers.push_back(true);  // Yes to the next question
//   w.ListBox1.UserSelect(0);
#ifndef PELLMAR_TESTS_UI_WINDOW_FIXTURE_H_
#define PELLMAR_TESTS_UI_WINDOW_FIXTURE_H_

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/forwarding_platform.h"
#include "support/namespace_fixture.h"
#include "support/window_doubles.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"

namespace pellmar {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

class WindowTest : public NamespaceTest {
 protected:
  WindowTest() {
    WriteText(ProgramFile("pellmar"), "");
    platform_.executable_path = Ns(ProgramFile("pellmar"));
  }

  /// Makes the log window and TMain (a window made earlier goes first),
  /// then runs FormCreate.
  TMain& StartWindow() {
    window_.reset();
    log_ = std::make_unique<TLogViewer>();
    log_->SetHost(&host_);
    window_ =
        std::make_unique<TMain>(MainFormServices{&platform_, &dialogs_, &shell_, &host_}, *log_);
    window_->FormCreate();
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
  std::unique_ptr<TLogViewer> log_;
  std::unique_ptr<TMain> window_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_UI_WINDOW_FIXTURE_H_
