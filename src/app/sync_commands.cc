// The list, send and load verbs: the window's reactions run headless.
#include "app/sync_commands.h"

#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>

#include "app/exit_codes.h"
#include "app/usage.h"
#include "core/relative_path.h"
#include "platform/dry_run_platform.h"
#include "platform/platform.h"
#include "ui/headless.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"

namespace pellmar {

namespace {

enum class Direction { kSend, kLoad };

// The main window and everything it needs, made as the program makes them,
// with no window on screen.
class HeadlessSession {
 public:
  HeadlessSession(Platform& platform, bool answer_yes)
      : dialogs_(std::cerr, answer_yes),
        main_(MainFormServices{&platform, &dialogs_, &shell_, &host_}, log_) {
    host_.while_modal = [](TLogViewer& log) { PrintLogWindow(std::cout, log); };
    log_.SetHost(&host_);
    main_.SaveOnlyChanges();
    // A benchmark aid, read here alone: bench/run.sh --plan times a run
    // with its plan against the same run without one.
    const char* no_plan = std::getenv("PELLMAR_NO_PLAN");
    if (no_plan != nullptr && std::string(no_plan) == "1") main_.SkipPlans();
    main_.FormCreate();
    main_.TellEntriesBeyondLimit();
  }
  TMain& main() { return main_; }

 private:
  HeadlessDialogs dialogs_;
  HeadlessShell shell_;
  HeadlessHost host_;
  TLogViewer log_;
  TMain main_;
};

struct SyncArguments {
  std::string project;
  bool answer_yes = false;
  bool dry_run = false;
};

std::optional<SyncArguments> ParseSyncArguments(const std::vector<std::string>& args) {
  SyncArguments parsed;
  bool have_project = false;
  for (const std::string& arg : args) {
    if (arg == "--yes") {
      parsed.answer_yes = true;
    } else if (arg == "--dry-run") {
      parsed.dry_run = true;
    } else if (!have_project && (arg.empty() || arg[0] != '-')) {
      parsed.project = arg;
      have_project = true;
    } else {
      return std::nullopt;
    }
  }
  if (!have_project) return std::nullopt;
  return parsed;
}

std::optional<int> ParsePosition(const std::string& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The list position of PROJECT: a project name as listed, else a position
// counted from 1. A name that several entries share selects none of them.
std::optional<int> FindEntry(const TMain& main, const std::string& project) {
  std::optional<int> found;
  const std::vector<std::string>& names = main.ListBox2.items();
  for (int p = 0; p < static_cast<int>(names.size()); ++p) {
    if (names[p] != project) continue;
    if (found) {
      std::cerr << "pellmar: several entries are named \"" << project
                << "\"; give its position instead.\n";
      return std::nullopt;
    }
    found = p;
  }
  if (found) return found;
  const std::optional<int> position = ParsePosition(project);
  if (position && *position >= 1 && *position <= main.ListBox1.count()) return *position - 1;
  std::cerr << "pellmar: no entry \"" << project << "\"; `pellmar list` shows them.\n";
  return std::nullopt;
}

// Selects the entry as a click on its line would; true when the selection
// completed (it may be refused, or a disk error may end the program).
bool SelectEntry(TMain& main, int p) {
  main.ListBox1.UserSelect(p);
  return !main.quit_requested() && main.ListBox1.item_index() == p && main.btnSend.enabled();
}

// Saves as closing the window would, unless the run already closed it (a
// failed copy saves at once) or ended the program without a save; a dry
// run saves nothing at all. The save writes only what this run changed.
bool SaveUnlessEnded(TMain& main, bool dry_run) {
  if (dry_run || main.quit_requested() || main.ending_without_save()) return true;
  return main.FormClose();
}

// A script reads the counts here rather than from the log's title.
void PrintCounts(TMain& main) {
  const RunOutcome& run = main.last_run();
  if (run.run_refused) return;
  const int failed = run.copies_failed;
  std::cout << "Copied: " << main.counters().copy_count - failed << ", failed: " << failed
            << ", refused for space: " << run.copies_refused
            << ", left alone: " << run.skipped_count << ", kept in the trash: " << run.kept_in_trash
            << std::endl;
}

// What a dry run would have deleted; what it would copy the log has shown.
void PrintDryRunEnd(const DryRunPlatform& dry) {
  for (const std::string& path : dry.deletions()) std::cout << "Would delete: " << path << "\n";
  std::cout << "Dry run: nothing was changed." << std::endl;
}

// Selects the entry, runs it as the button would and saves as closing the
// window would, all on `platform`.
int RunOnPlatform(Platform& platform, Direction direction, const SyncArguments& parsed) {
  HeadlessSession session(platform, parsed.answer_yes);
  TMain& main = session.main();
  const std::optional<int> p = FindEntry(main, parsed.project);
  if (!p) return kExitIncomplete;
  if (!SelectEntry(main, *p)) {
    // Ignored: the exit code already tells that nothing was copied.
    (void)SaveUnlessEnded(main, parsed.dry_run);
    std::cerr << "pellmar: the entry could not be selected; nothing was copied.\n";
    if (!parsed.answer_yes) {
      std::cerr << "pellmar: with the disk inserted, --yes creates a missing removable folder.\n";
    }
    return kExitIncomplete;
  }
  if (main.chkZip.checked()) {
    // The window hides this box, and a hand-written settings file without
    // the key gets it ticked, so say why nothing will be copied.
    std::cerr << "pellmar: UseZip is on for this entry in the settings file, so nothing is "
                 "copied; set its UseZip key to 0 to copy files.\n";
  }
  (direction == Direction::kSend ? main.btnSend : main.btnLoad).Click();
  // The status bar as the run left it: the space that is left after it.
  const std::string& free_space = main.StatusBar1.panel_text(0);
  if (!free_space.empty()) std::cout << free_space << std::endl;
  PrintCounts(main);
  const bool saved = SaveUnlessEnded(main, parsed.dry_run);
  return saved && main.last_run().Complete() ? kExitComplete : kExitIncomplete;
}

int RunSyncCommand(Platform& platform, Direction direction, const std::vector<std::string>& args) {
  const std::optional<SyncArguments> parsed = ParseSyncArguments(args);
  if (!parsed) return UsageError("expected one PROJECT and at most --yes and --dry-run");
  // A dry run is the real run on a platform that changes nothing.
  DryRunPlatform dry(platform);
  if (parsed->dry_run)
    std::cout << "Dry run: what would be copied is listed; nothing is changed.\n";
  const int code = RunOnPlatform(parsed->dry_run ? dry : platform, direction, *parsed);
  if (parsed->dry_run) PrintDryRunEnd(dry);
  return code;
}

}  // namespace

int RunListCommand(Platform& platform, const std::vector<std::string>& args) {
  if (!args.empty()) return UsageError("list takes no arguments");
  HeadlessSession session(platform, false);
  TMain& main = session.main();
  for (int p = 0; p < main.ListBox1.count(); ++p) {
    const SyncEntry& entry = main.entries().slot(p + 1);
    const std::string& shown = main.ListBox1.item(p);
    std::cout << p + 1 << '\t' << main.ListBox2.item(p) << '\t' << shown << '\t'
              << ResolveDocumentsRelative(main.documents_folder(), shown, main.code_page()) << '\t'
              << entry.removable_folder << '\t' << entry.duration << '\t'
              << (entry.auto_delete ? 1 : 0) << '\t' << entry.exclusion_text << '\n';
  }
  std::cout.flush();
  return kExitComplete;
}

int RunSendCommand(Platform& platform, const std::vector<std::string>& args) {
  return RunSyncCommand(platform, Direction::kSend, args);
}

int RunLoadCommand(Platform& platform, const std::vector<std::string>& args) {
  return RunSyncCommand(platform, Direction::kLoad, args);
}

}  // namespace pellmar
