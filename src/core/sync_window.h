// What a copy run reads of the main window, and how it reports back.
//
// CopyIfNewer and SyncTree work on the window's control values, read once
// when the run starts (see SyncRun: they cannot change while it runs), and
// write only through these calls, so the same run serves the window, the
// command line and tests.
#ifndef PELLMAR_CORE_SYNC_WINDOW_H_
#define PELLMAR_CORE_SYNC_WINDOW_H_

#include <cstdint>
#include <string>

namespace pellmar {

class SyncWindow {
 public:
  virtual ~SyncWindow() = default;
  virtual std::string MediaDirText() const = 0;  // edMediaDir
  virtual int Days() const = 0;                  // SpinEdit value
  virtual bool AutoDeleteTicked() const = 0;     // chkAutoDelete
  virtual std::string ProjectName() const = 0;   // selected item of ListBox2
  /// Whether a copy exactly an hour apart in time and equal in size counts
  /// as the same version: FAT keeps local time, so after a daylight-saving
  /// change every file on a stick looks an hour off its twin.
  virtual bool IgnoreHourShift() const { return true; }
  /// Whether a version a run replaces goes to the desktop's trash rather
  /// than into nothing.
  virtual bool KeepReplaced() const { return true; }
  virtual const std::string& Message(int n) const = 0;       // message table
  virtual void AppendLog(const std::string& file_name) = 0;  // log window Memo
  virtual void SetCopyStatus(const std::string& text) = 0;   // StatusBar1 panel 1
  virtual void ShowMessage(const std::string& text) = 0;     // modal box
  virtual void RequestClose() = 0;   // runs the save now, ends after the command
  virtual void ProcessEvents() = 0;  // repaint during a long run
  /// The run's progress: `permille` of the work done, and the text that says
  /// how much of it is done and how long the rest may take.
  virtual void ShowProgress(int /*permille*/, const std::string& /*text*/) {}
  /// True once the user asked the run to stop; it is asked between files.
  virtual bool StopRequested() { return false; }
};

/// The counters a run shares with the window.
struct RunCounters {
  int64_t free_space = 0;  // bytes left on the removable disk, as accounted
  int copy_count = 0;      // copies attempted in this run, failed ones included
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_SYNC_WINDOW_H_
