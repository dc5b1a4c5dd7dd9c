// TMain, the main window: its controls, its state and every reaction.
//
// The reactions read like the behaviour they implement and work only on the
// toolkit-neutral controls below, the platform and the Dialogs / Shell /
// WindowHost interfaces, so both skins, the command line and the tests all
// run the very same code.
#ifndef PELLMAR_UI_MAIN_FORM_H_
#define PELLMAR_UI_MAIN_FORM_H_

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/entry_refusal.h"  // for the run check in main_form_send_load.cc
#include "core/entry_table.h"
#include "core/messages.h"
#include "core/run_outcome.h"
#include "core/run_plan.h"
#include "core/run_sides.h"
#include "core/settings_file.h"
#include "core/sync_window.h"
#include "core/text_ops.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/log_viewer.h"
#include "ui/project_status.h"

namespace pellmar {

struct SyncRun;
class BackgroundCount;

/// The services a window is made with; all must outlive it.
struct MainFormServices {
  Platform* platform = nullptr;
  Dialogs* dialogs = nullptr;
  Shell* shell = nullptr;
  WindowHost* host = nullptr;
  /// Makes a platform of its own for the count of the selected project,
  /// which runs on a thread of its own. Without one (the command line) the
  /// status bar shows no count.
  std::function<std::unique_ptr<Platform>()> make_platform;
};

class TMain : public SyncWindow {
 public:
  static constexpr int kWidth = 570;
  static constexpr int kHeight = 368;
  static constexpr int kKeyF1 = 112;
  /// The controls that pass a released key on to the window's reaction; a
  /// skin forwards key releases from these and no others.
  static constexpr std::array<const char*, 6> kKeyUpControls = {
      "btnSend", "btnSelectFile", "btnLoad", "btnRemoveFromList", "ListBox1", "btnHelp"};
  static constexpr int kStatusBarHeight = 17;

  TMain(MainFormServices services, TLogViewer& log);
  ~TMain() override;

  // --- Controls, by their design names -------------------------------
  // The design's names stay; where one says little, its line says what it
  // is. ListBox1 holds the project folders, ListBox2 the project names,
  // Button2 is "Select" (the removable folder's picker).
  Button btnHelp, btnLoad, btnSend, btnSelectFile, btnRemoveFromList, Button2;
  ListBox ListBox1, ListBox2;
  StatusBar StatusBar1;
  // edMntCmd is an entry's mount command: kept with the entry and saved,
  // never shown and never run.
  Edit edMediaDir, edMntCmd, edExclude;
  CheckBox chkAutoUmount, chkAutoDelete, chkZip;
  SpinField SpinEdit;
  // The captions: Label1 above the removable folder, Label2 the hidden one
  // beside edMntCmd, Label3 the list's column heads, Label4 and Label5
  // around the number of days, Label6 before the exclusions.
  Label Label1, Label2, Label3, Label4, Label5, Label6;

  /// Every control, in tab order first, then the ones that take no focus.
  std::vector<Control*> AllControls();

  // --- The window itself ---------------------------------------------
  const std::string& caption() const { return caption_; }
  const std::string& font_name() const { return font_name_; }
  int font_charset() const { return font_charset_; }
  /// The control that has the keyboard focus (its name), "" for the window.
  const std::string& focused_control() const { return focused_control_; }
  void SetFocus(const std::string& control_name);
  /// Installs the skin's text measurer on every label.
  void SetMeasurer(Label::Measurer measurer);

  // --- Reactions -------------------------------------------------------
  void FormCreate();
  void FormShow();
  /// Says once a run that the settings file holds more entries than the
  /// window has room for, and where the whole file will be kept. The window
  /// says it when first shown, the command line when it starts.
  void TellEntriesBeyondLimit();
  /// The save. False when it failed: the window stays open.
  bool FormClose();
  /// Makes FormClose leave the settings file alone unless this run changed
  /// what it would write: the command line's way, which runs alongside the
  /// window and editors.
  void SaveOnlyChanges() { save_only_changes_ = true; }
  /// A benchmark aid: Send and Load go straight to the walk, without the
  /// plan that gives the progress its totals, so that the plan's cost can
  /// be measured against the same run without it (bench/run.sh --plan).
  void SkipPlans() { plan_runs_ = false; }
  void SkipMemory() { runs_remember_ = false; }
  /// A key released while the window itself has the focus.
  void FormKeyUp(int key);
  /// A key released on a control: only those of kKeyUpControls pass it on
  /// to FormKeyUp.
  void ControlKeyUp(const std::string& control_name, int key);

  void btnSelectFileClick();
  void btnRemoveFromListClick();
  void SpinEditChange();
  void edExcludeChange();
  void chkAutoDeleteClick();
  void chkZipClick();
  void ListBox1Click();
  void ListBox2Click();
  void ListBox1DblClick();
  void ListBox2DblClick();
  void Button2Click();
  void btnHelpClick();
  void btnSendClick();
  void btnLoadClick();
  /// Shift+Send, Shift+Load and the project list's menu: the plan of the
  /// run in the log window, every file it would copy, replace or delete.
  /// Nothing is changed.
  void PreviewSend();
  void PreviewLoad();
  /// Escape or the close button during a run: asks whether to stop after
  /// the file being copied.
  void AskToStop();
  /// Stops the run after the file being copied, unasked (a signal to the
  /// command line).
  void RequestStop() { stop_requested_ = true; }
  /// Ctrl+Z: puts back the project Remove from List last took away, with
  /// its settings, at its old place.
  void UndoRemove();
  bool CanUndoRemove() const { return !removed_.empty(); }

  /// What Send and Load of the entry at position `p` would do now, as the
  /// runs would plan them; nothing is changed. A stop ends it early.
  ProjectStatus ProjectStatusOf(int p);

  /// Ctrl+E: unmounts and powers off the removable disk of the selected
  /// project (the drive of its removable folder), so that it can be pulled
  /// out; the status bar says so once it can. Nothing is forced.
  void EjectSelectedMedium();

  void ShowDiskStatus();
  void UpdateAutoDeleteCaption(int position);

  /// The close request of a failed copy: the save runs at once and the
  /// program ends once the running reaction has returned.
  void RequestClose() override;
  /// True once something asked the program to end (close or quit).
  bool quit_requested() const { return quit_requested_; }
  /// True after an unformatted disk ended the program: closing the window
  /// then saves nothing, so the settings file keeps its previous content.
  bool ending_without_save() const { return ending_without_save_; }

  // --- State other parts read ----------------------------------------
  EntryTable& entries() { return entries_; }
  /// The slot of the entry selected in ListBox1 (slot 0 with none).
  const SyncEntry& SelectedEntry() const { return entries_.slot(ListBox1.item_index() + 1); }
  const MessageTable& messages() const { return messages_; }
  RunCounters& counters() { return counters_; }
  const std::string& documents_folder() const { return documents_; }
  const std::string& program_dir() const { return program_dir_; }
  const std::string& settings_path() const { return settings_path_; }
  const std::string& home_folder() const { return home_folder_; }
  const std::string& lib_dir() const { return lib_dir_; }
  int32_t loaded() const { return loaded_; }
  int32_t lang() const { return lang_; }
  int last_refused_index() const { return last_refused_index_; }
  /// What the last Send or Load achieved (the command line's exit code).
  const RunOutcome& last_run() const { return last_run_; }
  /// The counts of the last preview (its list went to the log window); a
  /// preview that could not be made has its outcome's run_refused set.
  const RunPlan& last_preview() const { return last_preview_; }
  /// How the last eject went; not ok when it was refused or failed.
  const Status& last_eject() const { return last_eject_; }
  /// True while a Send or Load walks its folders.
  bool run_in_progress() const { return run_in_progress_; }
  CodePage code_page() const;

  // --- SyncWindow: what a copy run reads and writes -------------------
  std::string MediaDirText() const override;
  int Days() const override;
  bool AutoDeleteTicked() const override;
  std::string ProjectName() const override;
  bool IgnoreHourShift() const override { return ignore_hour_shift_; }
  bool KeepReplaced() const override { return keep_replaced_; }
  const std::string& Message(int n) const override;
  void AppendLog(const std::string& file_name) override;
  void SetCopyStatus(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void ProcessEvents() override;
  void ShowProgress(int permille, const std::string& text) override;
  bool StopRequested() override { return stop_requested_; }

 private:
  void WireReactions();
  /// True when `path` names an existing folder; an empty path names none
  /// (the host would take it for the working folder).
  bool IsFolder(const std::string& path);
  std::string LocateSettingsFile();
  void LoadSettings();
  void ApplyLanguage();
  void SetControlCaption(const std::string& control_name, const std::string& caption);
  void PlaceSpinEdit();
  void FitFieldAfterLabel(const Label& label, Control& field);
  StoredSettings CollectSettings() const;
  bool SettingsChanged() const;
  Status SaveSettings();

  void AddEntry(const std::string& picked);
  void FillNewSlot(int s);
  std::string NewEntryRemovableFolder(int s);

  bool OfferToCreateFolder(const std::string& folder);
  bool CreateFolderTopDown(const std::string& folder);
  std::vector<std::string> MissingLevels(const std::string& folder);
  void RefuseSelection(int p);
  void FillFromSlot(int p);
  void ActOnDiskCode(uint32_t code);
  /// The free space of the drive of `folder`, asked quietly.
  Status QueryFreeSpace(const std::string& folder, int64_t* free_bytes);
  /// Asks the removable disk's free space again and shows it; a failed
  /// question leaves the count as it was.
  void RefreshFreeSpace();
  void ShowNoEntry();
  /// Add to List is greyed at a full list, with a hint that says why.
  void UpdateAddButton();
  // Send and Load (main_form_send_load.cc).
  /// The two folders of a run and what it reads from the window.
  RunSides SendSides(int p) const;
  RunSides LoadSides(int p) const;
  void RefuseUnselectedRun();
  std::optional<std::string> RunRefusal(const SyncRun& run,
                                        const std::string& removable_project_folder);
  /// Asks whether to go on when the removable disk is not the one the
  /// project was last used with; true when the run may start. The disk's
  /// identity goes to `*medium`, to be remembered once the run changed
  /// something.
  bool ConfirmRunMedium(const SyncRun& run, MediumIdentity* medium);
  void RememberRunMedium(const SyncRun& run, const MediumIdentity& medium);
  /// The memory of the runs between `run`'s project and the disk in its
  /// drive, or nullptr when there is none to keep.
  std::unique_ptr<RunMemory> RecallMemory(const SyncRun& run);
  void KeepMemory(SyncRun& run);
  bool RunSyncTree(const RunSides& sides);
  void Preview(bool send);
  // The status (main_form_status.cc).
  StatusRequest StatusRequestOf(int p) const;
  StatusRequest SelectedStatusRequest() const;
  /// Counts the selected entry in the background; the status bar shows the
  /// count once it is made, unless the selection or a run came first.
  void StartSelectionCount();
  void CountAgainAfterRun();
  void CallOffSelectionCount();
  void ShowSelectionCount(const StatusRequest& request, const ProjectStatus& status);
  void ShowCountText(const std::string& text);
  void ShowPlan(const RunPlan& plan, const RunSides& sides, int title, int64_t free_bytes);
  /// Greys every control while a run holds the window, and gives each its
  /// state back after.
  void HoldControls();
  void ReleaseControls();
  /// Runs a box; the time the user takes to answer it is not counted as
  /// time of the run, whose time left would otherwise jump.
  void WhileAsking(const std::function<void()>& ask);
  void ReportRun(const std::string& empty_run_message);
  /// How many versions the last run kept in the trash, in a line.
  std::string TrashedText() const;

  MainFormServices services_;
  Platform& platform_;
  TLogViewer& log_;

  EntryTable entries_;
  MessageTable messages_;
  RunCounters counters_;

  std::string caption_;
  std::string font_name_ = "Arial";
  int font_charset_ = 1;
  std::string focused_control_;

  std::string documents_;
  std::string program_dir_;
  std::string settings_path_;
  std::string language_path_;
  std::string home_folder_;
  std::string lib_dir_;
  bool ignore_hour_shift_ = true;
  bool keep_replaced_ = true;
  int32_t loaded_ = 1;  // the file's "Loaded": 1 starts an entry's focus on Send, else Load
  int32_t lang_ = 1;
  int last_refused_index_ = -1;
  bool quit_requested_ = false;
  bool ending_without_save_ = false;
  // Whether the settings file's old content is still to be kept, and its
  // bytes as this run last read or wrote them.
  SettingsFileState settings_file_;
  bool entries_beyond_limit_told_ = false;
  // What a save right after start-up would have written.
  StoredSettings settings_as_loaded_;
  bool save_only_changes_ = false;
  bool plan_runs_ = true;
  bool runs_remember_ = true;
  RunOutcome last_run_;
  RunPlan last_preview_;
  Status last_eject_ = Status::Error(kErrorNotReady, "no eject was asked");
  bool run_in_progress_ = false;
  bool stop_requested_ = false;
  std::vector<std::pair<Control*, bool>> held_;
  std::string focus_before_run_;
  int64_t asking_ms_ = 0;  // spent on boxes, taken out of a run's time
  // What Remove from List took away, the last removal at the back.
  struct RemovedEntry {
    int position;
    std::string folder, name;
    SyncEntry entry;
  };
  std::vector<RemovedEntry> removed_;
  std::string count_text_;  // what the count last showed in the status bar
  // Last, so that it goes first: its thread may still be counting.
  std::unique_ptr<BackgroundCount> count_;
};

}  // namespace pellmar

#endif  // PELLMAR_UI_MAIN_FORM_H_
