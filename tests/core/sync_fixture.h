// What the copy-run tests share: a temp namespace whose drive E: is the
// removable disk, the real host platform, and a SyncWindow that records
// what a run shows.
#ifndef PELLMAR_TESTS_CORE_SYNC_FIXTURE_H_
#define PELLMAR_TESTS_CORE_SYNC_FIXTURE_H_

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/sync_run.h"
#include "core/sync_window.h"
#include "support/namespace_fixture.h"

namespace pellmar {

class RecordingWindow : public SyncWindow {
 public:
  std::string media_dir = "E:\\Sync";
  int days = 7;
  bool auto_delete = false;
  bool ignore_hour_shift = true;
  bool keep_replaced = true;
  std::string project_name = "Alpha";
  MessageTable messages;

  std::vector<std::string> log;
  std::vector<std::string> shown;              // message boxes, in order
  std::vector<std::string> status_at_repaint;  // second panel whenever it repainted
  std::string copy_status;
  int close_requests = 0;
  std::function<void()> on_repaint;  // runs whenever the run repaints

  std::string MediaDirText() const override { return media_dir; }
  int Days() const override { return days; }
  bool AutoDeleteTicked() const override { return auto_delete; }
  bool IgnoreHourShift() const override { return ignore_hour_shift; }
  bool KeepReplaced() const override { return keep_replaced; }
  std::string ProjectName() const override { return project_name; }
  const std::string& Message(int n) const override { return messages.Msg(n); }
  void AppendLog(const std::string& name) override { log.push_back(name); }
  void SetCopyStatus(const std::string& text) override { copy_status = text; }
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  void RequestClose() override { ++close_requests; }
  void ProcessEvents() override {
    status_at_repaint.push_back(copy_status);
    if (on_repaint) on_repaint();
  }
};

class SyncTest : public NamespaceTest {
 protected:
  /// Host path below the temp folder, and the same place in the namespace.
  std::string Host(const std::string& rel) const { return ns_ / rel; }
  std::string Ns(const std::string& rel) { return ns_.Ns(Host(rel)); }

  /// A run on window_ and counters_ with a fixed exclusion list.
  std::unique_ptr<SyncRun> MakeRun(const std::string& project_folder,
                                   const std::string& exclusion_list = "pdf,ini,") {
    return std::make_unique<SyncRun>(platform_, window_, counters_, exclusion_list, project_folder);
  }

  Platform& platform_ = ns_.platform();
  RecordingWindow window_;
  RunCounters counters_{1000, 0};
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_CORE_SYNC_FIXTURE_H_
