// What the copy-run tests share: a temp folder whose "stick" sub-folder is
// drive E: (through PELLMAR_DRIVES), the real host platform, a SyncWindow
// that records what a run shows, and helpers that write files with local
// last-write dates.
#ifndef PELLMAR_TESTS_CORE_SYNC_TEST_UTIL_H_
#define PELLMAR_TESTS_CORE_SYNC_TEST_UTIL_H_

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/sync_run.h"
#include "core/sync_window.h"
#include "platform/platform.h"

namespace pellmar {

class RecordingWindow : public SyncWindow {
 public:
  std::string media_dir = "E:\\Sync";
  int days = 7;
  bool auto_delete = false;
  std::string project_name = "Alpha";
  MessageTable messages;

  std::vector<std::string> log;
  std::vector<std::string> shown;              // message boxes, in order
  std::vector<std::string> status_at_repaint;  // second panel whenever it repainted
  std::string copy_status;
  int close_requests = 0;

  std::string MediaDirText() const override { return media_dir; }
  int Days() const override { return days; }
  bool AutoDeleteTicked() const override { return auto_delete; }
  std::string RelativeForm() const override { return "Projects\\" + project_name; }
  std::string ProjectName() const override { return project_name; }
  const std::string& Message(int n) const override { return messages.Msg(n); }
  void AppendLog(const std::string& name) override { log.push_back(name); }
  void SetCopyStatus(const std::string& text) override { copy_status = text; }
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  void RequestClose() override { ++close_requests; }
  void ProcessEvents() override { status_at_repaint.push_back(copy_status); }
};

/// A local date-time `days` days before now (fractions allowed).
LocalDateTime DaysAgo(double days);
/// Today's local midnight moved by `days` days and `seconds` seconds.
LocalDateTime MidnightPlus(int days, int seconds = 0);
/// A local date-time on the calendar.
LocalDateTime At(int year, int month, int day, int hour = 12);

class SyncTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Host path below the temp folder; `rel` uses "/".
  std::string Host(const std::string& rel) const { return root_ + "/" + rel; }
  /// The same place in the namespace (C:\ is the host root).
  std::string Ns(const std::string& rel) const;
  /// Host path of a place on the stick, and its namespace path on E:.
  std::string StickHost(const std::string& rel) const { return Host("stick/" + rel); }
  static std::string StickNs(const std::string& rel);

  /// Writes `size` bytes, making the folders, and sets the last-write time.
  void WriteFile(const std::string& host_path, int64_t size, const LocalDateTime& when);
  static void MakeFolder(const std::string& host_path, const LocalDateTime& when);
  static void SetWriteTime(const std::string& host_path, const LocalDateTime& when);
  static int64_t SizeOf(const std::string& host_path);
  static bool Exists(const std::string& host_path);

  /// A run on `window` and `counters` with a fixed exclusion list.
  std::unique_ptr<SyncRun> MakeRun(const std::string& project_folder,
                                   const std::string& exclusion_list = "pdf,ini,");

  std::unique_ptr<Platform> platform_;
  RecordingWindow window_;
  RunCounters counters_;

 private:
  std::string root_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_CORE_SYNC_TEST_UTIL_H_
