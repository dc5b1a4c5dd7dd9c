// The list, send and load verbs: the window's reactions run headless.
#include "app/sync_commands.h"

#include <iostream>
#include <memory>
#include <optional>

#include "app/exit_codes.h"
#include "app/find_entry.h"
#include "app/headless_session.h"
#include "app/stop_signals.h"
#include "app/terminal.h"
#include "app/usage.h"
#include "core/relative_path.h"
#include "platform/dry_run_platform.h"
#include "platform/platform.h"
#include "ui/headless.h"
#include "ui/main_form.h"

namespace pellmar {

namespace {

enum class Direction { kSend, kLoad };

struct SyncArguments {
  std::string project;
  bool answer_yes = false;
  bool dry_run = false;
  bool quiet = false;
  bool eject = false;
};

std::optional<SyncArguments> ParseSyncArguments(const std::vector<std::string>& args) {
  SyncArguments parsed;
  bool have_project = false;
  for (const std::string& arg : args) {
    if (arg == "--yes") {
      parsed.answer_yes = true;
    } else if (arg == "--dry-run") {
      parsed.dry_run = true;
    } else if (arg == "--quiet") {
      parsed.quiet = true;
    } else if (arg == "--eject") {
      parsed.eject = true;
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

// The files changed on both sides since the last run, one a line: a
// conflict handled is no failure, but the user is to look at it.
void PrintConflicts(const RunOutcome& run) {
  if (run.conflict_count == 0) return;
  std::cout << "Conflicts: " << run.conflict_count << std::endl;
  for (const std::string& conflict : run.conflicts) std::cout << "  " << conflict << '\n';
  const int64_t unlisted = run.conflict_count - static_cast<int64_t>(run.conflicts.size());
  if (unlisted > 0) std::cout << "  and " << unlisted << " more" << '\n';
  std::cout << std::flush;
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
  PrintConflicts(run);
}

// The counts of a preview, in the words of what would happen; a copy over
// an older version is a replacement, not a copy as well.
void PrintPlanCounts(const RunPlan& plan) {
  std::cout << "Would copy: " << plan.files - plan.replacements
            << ", would replace: " << plan.replacements << ", would delete: " << plan.deletions
            << ", left alone: " << plan.outcome.skipped_count << std::endl;
  PrintConflicts(plan.outcome);
}

SessionOptions OptionsFor(const SyncArguments& parsed) {
  SessionOptions options;
  options.answer_yes = parsed.answer_yes;
  options.display.progress = !parsed.quiet && IsTerminal(Output::kStderr);
  options.display.stream_log = IsTerminal(Output::kStdout);
  options.display.columns = TerminalColumns(Output::kStderr);
  return options;
}

// Finds and selects the entry as a click on its line would; false, with
// the reason on stderr, when it cannot be run.
bool OpenEntry(TMain& main, const SyncArguments& parsed) {
  const std::optional<int> p = FindEntry(main, parsed.project);
  if (!p) return false;
  if (!SelectEntry(main, *p)) {
    // Ignored: the exit code already tells that nothing was copied.
    (void)SaveUnlessEnded(main, parsed.dry_run);
    std::cerr << "pellmar: the entry could not be selected; nothing was copied.\n";
    if (!parsed.answer_yes) {
      std::cerr << "pellmar: with the disk inserted, --yes creates a missing removable folder.\n";
    }
    return false;
  }
  if (main.chkZip.checked()) {
    // The window hides this box, and a hand-written settings file without
    // the key gets it ticked, so say why nothing will be copied.
    std::cerr << "pellmar: UseZip is on for this entry in the settings file, so nothing is "
                 "copied; set its UseZip key to 0 to copy files.\n";
  }
  return true;
}

// Why the disk is not ejected after this run, or nullptr: a run that never
// started may have found another disk than the one meant, one that went or
// was stopped leaves nothing to eject or asked to end at once, and a disk
// whose write-out failed is left for the user to look at. A run that left
// some files out has still written out what it copied, so its disk goes.
const char* KeepDiskReason(const RunOutcome& run) {
  if (run.run_refused) return "the run did not start";
  if (run.medium_gone) return "it went away during the run";
  if (run.stopped) return "the run was stopped";
  if (run.medium_unsafe) return "its data could not be written out";
  return nullptr;
}

void SayDiskKept(const char* reason) {
  std::cerr << "pellmar: the disk was not ejected, because " << reason << ".\n";
}

// Ejects the disk as Ctrl+E would once the run is over; false when it was
// asked and not done.
bool EjectAfterRun(TMain& main) {
  if (const char* reason = KeepDiskReason(main.last_run())) {
    SayDiskKept(reason);
    return false;
  }
  main.EjectSelectedMedium();
  if (!main.last_eject().ok()) return false;
  std::cout << TerminalText(main.StatusBar1.panel_text(1)) << std::endl;
  return true;
}

// Runs the entry as its button would, saves as closing the window would,
// and ejects the disk when asked.
int RunEntry(Platform& platform, Direction direction, const SyncArguments& parsed) {
  HeadlessSession session(platform, OptionsFor(parsed));
  TMain& main = session.main();
  if (!OpenEntry(main, parsed)) {
    if (parsed.eject) SayDiskKept("the run did not start");
    return kExitIncomplete;
  }
  (direction == Direction::kSend ? main.btnSend : main.btnLoad).Click();
  session.EraseProgress();
  if (main.last_run().other_medium) {
    std::cerr << "pellmar: nothing was copied; --yes uses this disk anyway.\n";
  }
  // A stop before the first copy said so in its message; after copies the
  // window says it in its status bar only.
  if (main.last_run().stopped && main.counters().copy_count > 0)
    std::cerr << TerminalText(main.StatusBar1.panel_text(1)) << std::endl;
  // The status bar as the run left it: the space that is left after it.
  const std::string& free_space = main.StatusBar1.panel_text(0);
  if (!free_space.empty()) std::cout << free_space << std::endl;
  PrintCounts(main);
  const bool saved = SaveUnlessEnded(main, false);
  const bool ejected = !parsed.eject || EjectAfterRun(main);
  return saved && ejected && main.last_run().Complete() ? kExitComplete : kExitIncomplete;
}

// The preview of the run: its plan, on a platform that changes nothing, so
// that not even selecting the entry (which may make its removable folder)
// leaves a trace.
int PreviewEntry(Platform& platform, Direction direction, const SyncArguments& parsed) {
  DryRunPlatform dry(platform);
  HeadlessSession session(dry, OptionsFor(parsed));
  TMain& main = session.main();
  if (!OpenEntry(main, parsed)) return kExitIncomplete;
  if (direction == Direction::kSend) {
    main.PreviewSend();
  } else {
    main.PreviewLoad();
  }
  const RunPlan& plan = main.last_preview();
  if (!plan.outcome.run_refused) PrintPlanCounts(plan);
  std::cout << "Dry run: nothing was changed." << std::endl;
  if (parsed.eject) std::cout << "Dry run: the disk was not ejected." << std::endl;
  return plan.outcome.Complete() ? kExitComplete : kExitIncomplete;
}

int RunSyncCommand(Platform& platform, Direction direction, const std::vector<std::string>& args) {
  const std::optional<SyncArguments> parsed = ParseSyncArguments(args);
  if (!parsed)
    return UsageError("expected one PROJECT and at most --yes, --dry-run, --quiet and --eject");
  CatchStopSignals(IsTerminal(Output::kStderr));
  const int code = parsed->dry_run ? PreviewEntry(platform, direction, *parsed)
                                   : RunEntry(platform, direction, *parsed);
  // Stopped by a signal, the run says so in its exit code, as shells expect
  // of a program a signal ended, whatever it had done before.
  return StopSignalled() ? StopExitCode() : code;
}

}  // namespace

int RunListCommand(Platform& platform, const std::vector<std::string>& args) {
  if (!args.empty()) return UsageError("list takes no arguments");
  HeadlessSession session(platform, SessionOptions{});
  TMain& main = session.main();
  // A person at a terminal learns why nothing shows; a script reading the
  // list gets it empty, as it is.
  if (main.ListBox1.count() == 0 && IsTerminal(Output::kStdout)) {
    std::cout << main.messages().Msg(kNoProjectsYet) << '\n';
  }
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
