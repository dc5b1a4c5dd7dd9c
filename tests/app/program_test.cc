// The built program run as a user would, in a temp namespace of its own
// (the child's environment holds only that namespace, PATH and a sanitizer
// build's options, so the tester's own settings are never touched): its
// front door, the drives report, and the list, send and load verbs on temp
// folders, stopped by signals and shown on a terminal too.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/scratch_name.h"
#include "support/namespace_fixture.h"
#include "support/run_program.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kStopNotice[] =
    "pellmar: stopping after the current file; Ctrl+C again to end at once.\n";

// Waits, within reason, until `done` holds; the caller's checks tell
// whether it did.
void WaitUntil(const std::function<bool()>& done) {
  for (int i = 0; i < 20000 && !done(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

bool HasEntries(const std::string& host_folder) {
  std::error_code error;
  return std::filesystem::directory_iterator(host_folder, error) !=
         std::filesystem::directory_iterator();
}

class ProgramTest : public NamespaceTest {
 protected:
  ProgramRun Run(const std::vector<std::string>& args, const RunOptions& options = {}) {
    std::vector<std::string> argv = {PELLMAR_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, env_, ns_.path(), options);
  }
  /// Replaces the variable `name` of the child's environment.
  void SetVariable(const std::string& name, const std::string& value) {
    for (std::string& variable : env_) {
      if (variable.rfind(name + "=", 0) == 0) variable = name + "=" + value;
    }
  }
  /// The namespace spelling of a host path as drive C: maps it, worked out
  /// here rather than by the platform under test.
  static std::string OnC(const std::string& host_path) {
    std::string path = "C:" + host_path;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
  }
  /// The folder of the program under test, as drive C: maps it.
  static std::string ProgramDirOnC() {
    const std::string binary = PELLMAR_BINARY;
    return OnC(binary.substr(0, binary.rfind('/') + 1));
  }
  std::vector<std::string> env_ = [this] {
    std::vector<std::string> env = ns_.Environment();
    env.push_back("PATH=/usr/bin:/bin");
    // A sanitizer build's program is instrumented as well: with the test's
    // own options it stops at its first report, and the exit code fails
    // the test, with the same suppressions.
    for (const char* name : {"TSAN_OPTIONS", "ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
      if (const char* value = std::getenv(name)) env.push_back(std::string(name) + "=" + value);
    }
    return env;
  }();
};

TEST_F(ProgramTest, VersionAndHelp) {
  const ProgramRun version = Run({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "Pellmar 1.1\n");
  const ProgramRun help = Run({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  for (const char* word : {"drives", "list", "send PROJECT", "load PROJECT", "status [PROJECT]",
                           "--yes", "--dry-run", "--quiet", "--version", "--help"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
}

TEST_F(ProgramTest, WrongVerbsOptionsAndArgumentsExitWithTwoAndSayWhyOnStderr) {
  const struct {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"bogus"}, "Usage: pellmar"},
      {{"--bogus"}, "Usage: pellmar"},
      {{"drives", "extra"}, "drives takes no arguments"},
      {{"send"}, "pellmar send PROJECT"},
      {{"load", "a", "b"}, "pellmar send PROJECT"},
      {{"send", "--bogus", "a"}, "pellmar send PROJECT"},
      {{"list", "x"}, "pellmar send PROJECT"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Run(c.args);
    const std::string label = c.args.front() + " with " + std::to_string(c.args.size() - 1);
    EXPECT_EQ(run.exit_code, 2) << label;
    EXPECT_EQ(run.out, "") << label;
    EXPECT_THAT(run.err, StartsWith("pellmar: ")) << label;
    EXPECT_THAT(run.err, HasSubstr(c.says)) << label;
  }
}

TEST_F(ProgramTest, DrivesShowsTheNamespaceAndWhereTheSettingsAre) {
  ProgramRun outcome = Run({"drives"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  for (const std::string& shown : std::vector<std::string>{
           "C:  /", "E:  " + ns_.drive('E'), "F:  " + ns_.drive('F'), "mounted  PELLMAR_DRIVES",
           "absent   PELLMAR_DRIVES", OnC(ns_.documents()),
           OnC(ns_.home() + "/Application Data/Pellmar.ini"), ns_.settings_file(),
           ProgramDirOnC()}) {
    EXPECT_THAT(outcome.out, HasSubstr(shown));
  }
  // A settings file kept as a link elsewhere: every read and save goes
  // where it leads, and the report says so.
  const std::string kept = ns_ / "dotfiles/Pellmar.ini";
  WriteText(kept, "[Setting]\r\n");
  std::filesystem::remove(ns_.settings_file());
  std::filesystem::create_symlink(kept, ns_.settings_file());
  outcome = Run({"drives"});
  EXPECT_THAT(outcome.out,
              HasSubstr(ns_.settings_file() + "\n" + std::string(20, ' ') + "a link to " +
                        std::filesystem::canonical(kept).string() + "\n"));
  // A file where the per-user folder would go: it cannot be made, so the
  // settings fall back to the program's folder.
  WriteText(ns_ / "blocker", "x");
  SetVariable("XDG_CONFIG_HOME", ns_ / "blocker/config");
  outcome = Run({"drives"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_THAT(outcome.out, HasSubstr("Settings file:      " + ProgramDirOnC() + "Pellmar.ini"));
}

TEST_F(ProgramTest, NoDisplaySaysSoInOneLine) {
  const ProgramRun outcome = Run({});
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_TRUE(outcome.out.empty());
  EXPECT_EQ(outcome.err,
            "pellmar: no display found (DISPLAY/WAYLAND_DISPLAY unset); the window needs a "
            "graphical session. Try 'pellmar --help' for the command line.\n");
}

TEST_F(ProgramTest, TheWindowIsLoadedWhenADisplayIsThere) {
  // The window is a module beside the program; started on the offscreen
  // display it is still running when `timeout` ends it.
  env_.push_back("QT_QPA_PLATFORM=offscreen");
  const ProgramRun outcome =
      RunProgram({"/usr/bin/timeout", "3", PELLMAR_BINARY}, env_, ns_.path());
  EXPECT_EQ(outcome.exit_code, 124) << outcome.err;
  EXPECT_THAT(outcome.err, ::testing::Not(HasSubstr("could not be loaded")));
}

TEST_F(ProgramTest, ListPrintsOneTabSeparatedLinePerEntry) {
  ns_.WriteEntries({Documents("Alpha"), (ns_ / "work/Beta")}, "E:\\Sync",
                   "Duration2=30\nSyncItem31=C:\\Past\n");
  const std::string settings = ReadText(ns_.settings_file());
  const ProgramRun run = Run({"list"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err,
            "The settings file holds more than 30 projects; only the first 30 are shown "
            "and used. Before the settings are next saved, the whole file is kept as " +
                OnC(ns_.home() + "/Application Data/Pellmar.ini.bak") + ".\n");
  std::istringstream lines(run.out);
  std::string alpha, beta;
  std::getline(lines, alpha);
  std::getline(lines, beta);
  EXPECT_EQ(alpha, "1\tAlpha\tAlpha\t" + OnC(Documents("Alpha")) + "\tE:\\Sync\t7\t1\tini, bak");
  EXPECT_THAT(beta, StartsWith("2\tBeta\t"));
  EXPECT_THAT(beta, HasSubstr("\t" + OnC((ns_ / "work/Beta")) + "\tE:\\Sync\t30\t1\tini, bak"));
  EXPECT_FALSE(std::getline(lines, beta));
  EXPECT_EQ(ReadText(ns_.settings_file()), settings) << "listing saves nothing";
}

// A script reading the list gets it empty as it is; a person is told why.
TEST_F(ProgramTest, AnEmptyListSaysHowToAddAProjectOnlyOnATerminal) {
  for (const bool terminal : {false, true}) {
    RunOptions options;
    options.stdout_on_terminal = terminal;
    const ProgramRun run = Run({"list"}, options);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.out.find("There are no projects yet.") == 0, terminal) << run.out;
    EXPECT_TRUE(terminal || run.out.empty()) << run.out;
  }
}

TEST_F(ProgramTest, SendAndLoadRunTheWindowsCommands) {
  WriteText((ns_ / "work/Beta/src/a.c"), "a");
  WriteText((ns_ / "work/Beta/b.c"), "b");
  ns_.WriteEntries({Documents("Alpha"), (ns_ / "work/Beta")}, "E:\\Sync");
  const std::string settings = ReadText(ns_.settings_file());
  std::filesystem::create_directories(Stick("Sync"));

  ProgramRun run = Run({"send", "Beta"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("The following 2 files have been copyed.\n"));
  EXPECT_THAT(run.out, HasSubstr("\nAvailable disk size:"));
  EXPECT_EQ(ReadText(Stick("Sync/Beta/src/a.c")), "a");
  EXPECT_EQ(ReadText(ns_.settings_file()), settings) << "a run that changed nothing saves nothing";

  std::filesystem::remove_all((ns_ / "work/Beta"));
  run = Run({"load", "2"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadText((ns_ / "work/Beta/src/a.c")), "a");

  run = Run({"load", "Beta"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("There is no file newer than object files in harddisk."));
}

TEST_F(ProgramTest, ARunThatSavesKeepsWhatAnotherProgramWroteMeanwhile) {
  WriteText(Documents("Alpha/a.c"), "a");
  std::filesystem::create_directories(Stick("Sync"));
  // A Duration of 0 comes back as 1 from the number field: a change to save.
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync", "Duration1=0\n");
  // Held here, the lock every save takes keeps the run waiting at its save.
  std::unique_ptr<Platform::FileLock> lock;
  ASSERT_TRUE(ns_.platform().LockFile(ns_.Ns(ns_.settings_file()) + ".lock", &lock).ok());
  ProgramRun run;
  std::thread program([&] { run = Run({"send", "Alpha"}); });
  for (int i = 0; i < 1000 && ReadText(ns_ / "stdout").find("Copied:") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::string theirs = "[Setting]\r\nSyncItem1=" + OnC(Documents("Other")) + "\r\n";
  WriteText(ns_.settings_file(), theirs);
  lock.reset();
  program.join();

  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err,
            "The settings file was changed by another program since Pellmar read it. "
            "That version is kept as " +
                OnC(ns_.home() + "/Application Data/Pellmar.ini.bak") + ".\n");
  EXPECT_EQ(ReadText(ns_.settings_file() + ".bak"), theirs);
  EXPECT_THAT(ReadText(ns_.settings_file()), HasSubstr("Duration1=1"));
}

// The free space printed is what the disk has left after the run, asked of
// the disk itself, not what the selection found before it.
TEST_F(ProgramTest, PrintsTheFreeSpaceTheRunLeft) {
  TinyTmpfs tmpfs(Stick(""), 1 << 20);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  std::filesystem::create_directories(Stick("Sync"));
  WriteText(Documents("Alpha/big.bin"), std::string(600000, 'b'));
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync");
  const ProgramRun run = Run({"send", "Alpha"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  const auto left = std::filesystem::space(Stick("")).available;
  EXPECT_EQ(run.out, "The following 1 files have been copyed.\nbig.bin\nAvailable disk size:" +
                         std::to_string(left / 1000) +
                         "KB\nCopied: 1, failed: 0, refused for space: 0, left alone: 0, kept in "
                         "the trash: 0\n");
  EXPECT_LT(left, (1u << 20) - 600000u);
}

TEST_F(ProgramTest, MissingRemovableFolderIsCreatedOnlyWithYes) {
  WriteText(Documents("Alpha/a.c"), "a");
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync");
  ProgramRun run = Run({"send", "Alpha"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.err, HasSubstr("\"E:\\Sync\"Do you make it? -> No"));
  EXPECT_THAT(run.err, HasSubstr("--yes creates a missing removable folder"));
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync")));

  run = Run({"send", "--yes", "Alpha"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadText(Stick("Sync/Alpha/a.c")), "a");
}

// Another stick under E: than the one the project was sent to: only --yes
// uses it.
TEST_F(ProgramTest, AnotherDiskIsUsedOnlyWithYes) {
  WriteText(Documents("Alpha/a.c"), "a");
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync");
  std::optional<TinyTmpfs> stick(std::in_place, Stick(""), 1 << 20);
  if (!stick->mounted()) GTEST_SKIP() << stick->skip_reason();
  std::filesystem::create_directories(Stick("Sync"));
  ASSERT_EQ(Run({"send", "Alpha"}).exit_code, 0);
  stick.reset();
  stick.emplace(Stick(""), 1 << 20);
  std::filesystem::create_directories(Stick("Sync"));
  ProgramRun run = Run({"send", "Alpha"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.err, HasSubstr("this project was last used with. Use it anyway? -> No\n"
                                 "pellmar: nothing was copied; --yes uses this disk anyway.\n"));
  EXPECT_FALSE(HasEntries(Stick("Sync")));
  run = Run({"send", "--yes", "Alpha"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadText(Stick("Sync/Alpha/a.c")), "a");
}

// A memory of disks that is not this program's is named, used for nothing
// and left as it is; the run goes on without it.
TEST_F(ProgramTest, AMemoryFileItCannotReadIsNamedAndLeftAlone) {
  const std::string memory = ns_.config() + "/Pellmar.drives", foreign = "E: my stick\n";
  WriteText(memory, foreign);
  WriteText(Documents("Alpha/a.c"), "a");
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync");
  std::filesystem::create_directories(Stick("Sync"));
  ProgramRun run = Run({"drives"});
  EXPECT_THAT(run.out, HasSubstr(memory + "\n" + std::string(20, ' ') +
                                 "cannot be used: line 1: it is not a file of this program's\n"));
  run = Run({"send", "Alpha"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("Pellmar cannot use " + OnC(ns_.home()) +
                                 "\\Application Data\\Pellmar.drives: line 1: "));
  EXPECT_EQ(ReadText(Stick("Sync/Alpha/a.c")), "a");
  EXPECT_EQ(ReadText(memory), foreign);
}

TEST_F(ProgramTest, ADryRunShowsWhatTheRunWouldDoAndChangesNothing) {
  WriteText(Documents("Alpha/a.c"), "a");
  WriteText(Documents("Alpha/sub/b.c"), "b");
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync", "AutoDelete1=1\n");
  const std::string settings = ReadText(ns_.settings_file());
  ProgramRun run = Run({"send", "--yes", "Alpha", "--dry-run"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("Preview of Send: 2 files, "));
  for (const char* shown : {"\ncopy     a.c  (", "\ncopy     sub\\b.c  (",
                            "\nWould copy: 2, would replace: 0, would delete: 0, left alone: 0\n"
                            "Dry run: nothing was changed.\n"}) {
    EXPECT_THAT(run.out, HasSubstr(shown));
  }
  // Nothing was copied, so nothing says it was.
  for (const char* never : {"copyed", "Copied:"}) EXPECT_THAT(run.out, Not(HasSubstr(never)));
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync")));
  EXPECT_EQ(ReadText(ns_.settings_file()), settings);

  // Auto-delete: an old copy on the stick whose twin is on the disk.
  for (const std::string& twin : {Stick("Sync/Alpha/old.txt"), Documents("Alpha/old.txt")}) {
    WriteDated(twin, 10, DaysAgo(30));
  }
  run = Run({"load", "Alpha", "--dry-run"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("\ndelete   old.txt  ("));
  EXPECT_THAT(run.out, HasSubstr(", would delete: 1, "));
  EXPECT_TRUE(std::filesystem::exists(Stick("Sync/Alpha/old.txt")));
  EXPECT_EQ(ReadText(ns_.settings_file()), settings);
}

// Status counts Send and Load of every entry and changes nothing; a
// project whose folder cannot be read is named with why, and the others
// still get their lines.
TEST_F(ProgramTest, StatusCountsEveryProjectAsATableAndChangesNothing) {
  WriteText(Documents("Alpha/a.c"), "a");
  WriteText(Documents("Alpha/sub/b.c"), "bb");
  WriteText(Stick("Sync/Beta/c.c"), "ccc");
  MakeFolder(Documents("Beta"));
  ns_.WriteEntries({Documents("Alpha"), Documents("Beta"), Documents("Gone")}, "E:\\Sync");
  const std::string settings = ReadText(ns_.settings_file());
  for (const bool terminal : {false, true}) {
    RunOptions options;
    options.stdout_on_terminal = terminal;
    const ProgramRun run = Run({"status"}, options);
    EXPECT_EQ(run.exit_code, 1) << terminal;
    EXPECT_THAT(run.err, HasSubstr("pellmar: Gone: not counted: " + OnC(Documents("Gone")) +
                                   ": could not be read: "))
        << terminal;
    std::istringstream lines(run.out);
    std::vector<std::string> table;
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      table.push_back(line);
    }
    ASSERT_EQ(table.size(), 4u) << run.out;
    const std::vector<std::string> starts =
        terminal ? std::vector<std::string>{"#  project  send_files  send_bytes  load_files",
                                            "1  Alpha             2        1 KB           0",
                                            "2  Beta              0        0 KB           1",
                                            "3  Gone              -           -           -"}
                 : std::vector<std::string>{
                       "#\tproject\tsend_files\tsend_bytes\tload_files\tload_bytes\tdeletions\t"
                       "conflicts\tdrive\tlabel\tfree_bytes",
                       "1\tAlpha\t2\t3\t0\t0\t0\t0\tE:\t", "2\tBeta\t0\t0\t1\t3\t0\t0\tE:\t",
                       "3\tGone\t-\t-\t-\t-\t-\t-\tE:\t"};
    for (size_t i = 0; i < starts.size(); ++i) {
      EXPECT_THAT(table[i], StartsWith(starts[i])) << terminal;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync/Alpha")));
  EXPECT_FALSE(std::filesystem::exists(Documents("Beta/c.c")));
  EXPECT_EQ(ReadText(ns_.settings_file()), settings);
  EXPECT_EQ(Run({"status", "Alpha"}).exit_code, 0);
}

TEST_F(ProgramTest, IncompleteRunsExitWithOne) {
  WriteText(Documents("Alpha/a.c"), "a");
  WriteText(Documents("Nested/a.c"), "a");
  std::string cut = "E:\\Sync";
  while (cut.size() < 3000) cut += "\\deeper";
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync",
                   "SyncItem2=" + OnC(Documents("Nested")) + "\nUseZip2=0\nPath in mobile disk2=" +
                       OnC(Documents("Nested/Backup")) + "\nSyncItem3=" + OnC(Documents("Cut")) +
                       "\nUseZip3=0\nPath in mobile disk3=" + cut + "\nSyncItem4=C:\\Beta\\..\n" +
                       "UseZip4=0\nPath in mobile disk4=E:\\Sync\n");
  WriteText(Stick("Sync/Alpha"), "a file where the folder belongs");
  // A run refused before it starts is refused to its dry run too, in the
  // same words; a copy that fails is found only by trying it.
  const struct {
    const char* project;
    const char* stderr_says;
    bool refused;
  } cases[] = {
      {"Alpha", "Available capacity in the disk is not enough.", false},
      {"Nested", "lie one inside the other", true},
      {"Cut", "holds more for Path in mobile disk3 than a value can (3003 characters)", true},
      {"4", "The project folder C:\\ has no name", true},
      {"Gamma", "no entry \"Gamma\"", true},
      {"5", "no entry \"5\"", true},
  };
  for (const auto& c : cases) {
    for (const char* dry : {"--yes", "--dry-run"}) {
      if (!c.refused && std::string(dry) == "--dry-run") continue;
      const ProgramRun run = Run({"send", c.project, "--yes", dry});
      EXPECT_EQ(run.exit_code, 1) << c.project << " " << dry;
      EXPECT_THAT(run.err, HasSubstr(c.stderr_says)) << c.project << " " << dry;
    }
  }
  EXPECT_EQ(ReadText(Stick("Sync/Alpha")), "a file where the folder belongs");
  EXPECT_FALSE(std::filesystem::exists(Documents("Nested/Backup/Nested")));
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync/deeper"))) << "a cut folder is never made";
}

// --eject comes after the run and never after a run that did not start;
// here E: is a plain folder, which is never ejected: the files are sent all
// the same, and the eject that was asked and not done makes the exit 1.
TEST_F(ProgramTest, EjectAfterARunThatReachedTheDiskAndExitOneWhenItIsNotDone) {
  WriteText(Documents("Alpha/a.c"), "a");
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync",
                   "SyncItem2=" + OnC(Documents("Nested")) + "\nUseZip2=0\nPath in mobile disk2=" +
                       OnC(Documents("Nested/Backup")) + "\n");
  MakeFolder(Stick("Sync"));
  const struct {
    const char* project;
    const char* stderr_says;
  } cases[] = {
      {"Alpha", "E: was not ejected: it is the folder "},
      {"Nested", "the disk was not ejected, because the run did not start"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Run({"send", c.project, "--yes", "--eject"});
    EXPECT_EQ(run.exit_code, 1) << c.project;
    EXPECT_THAT(run.err, HasSubstr(c.stderr_says)) << c.project;
    EXPECT_THAT(run.out, Not(HasSubstr("can be pulled out"))) << c.project;
  }
  EXPECT_EQ(ReadText(Stick("Sync/Alpha/a.c")), "a");
}

// Ctrl+C during a Send ends it after the file it was at: the counts say how
// far it got, the exit code is 130, and every file on the stick is whole.
// During a Send that replaces them, a second Ctrl+C ends the program at
// once, still with every file whole under its own name; the Send after it
// completes the work and leaves no scratch file behind.
TEST_F(ProgramTest, CtrlCStopsBetweenFilesAndASecondEndsAtOnceLeavingEveryFileWhole) {
  constexpr int kFiles = 3000;
  const auto name = [](int i) { return "f" + std::to_string(i) + ".txt"; };
  const auto text = [](int i, const std::string& version) {
    return version + std::to_string(i) + std::string(static_cast<size_t>(i % 5) * 300, 'x');
  };
  const auto write_project = [&](const std::string& version, double days_ago) {
    for (int i = 0; i < kFiles; ++i) {
      WriteText(Documents("Alpha/" + name(i)), text(i, version));
      SetLocalWriteTime(Documents("Alpha/" + name(i)), DaysAgo(days_ago));
    }
  };
  const std::string stick = Stick("Sync/Alpha");
  // The files under their own names on the stick, each checked to be whole,
  // as one of `versions`.
  const auto whole_files = [&](const std::vector<std::string>& versions, bool scratch_allowed) {
    std::set<std::string> files;
    for (const std::string& entry : HostNames(stick)) {
      if (ScratchKindOf(entry)) {
        EXPECT_TRUE(scratch_allowed) << entry;
        continue;
      }
      const int i = std::stoi(entry.substr(1));
      const std::string found = ReadText(stick + "/" + entry);
      bool whole = false;
      for (const std::string& version : versions) whole = whole || found == text(i, version);
      EXPECT_TRUE(whole) << entry;
      files.insert(entry);
    }
    return files;
  };
  write_project("old", 0.5);
  MakeFolder(Stick("Sync"));
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync");

  ProgramRun run = Run({"send", "Alpha"}, {.while_running = [&](int pid) {
                         WaitUntil([&] { return HasEntries(stick); });
                         kill(pid, SIGINT);
                       }});
  EXPECT_EQ(run.exit_code, 130) << run.err;
  EXPECT_THAT(run.err, HasSubstr(kStopNotice));
  const std::set<std::string> copied = whole_files({"old"}, false);
  EXPECT_GT(copied.size(), 0u);
  EXPECT_LT(copied.size(), size_t{kFiles}) << "the run did not stop";
  EXPECT_THAT(run.out, HasSubstr("\nCopied: " + std::to_string(copied.size()) + ", failed: 0, "));

  write_project("newer", 0.1);
  const auto before = std::filesystem::last_write_time(stick);
  run = Run(
      {"send", "Alpha"}, {.while_running = [&](int pid) {
        WaitUntil([&] { return std::filesystem::last_write_time(stick) != before; });
        kill(pid, SIGINT);
        WaitUntil([&] { return ReadText(ns_ / "stderr").find(kStopNotice) != std::string::npos; });
        kill(pid, SIGINT);
      }});
  EXPECT_EQ(run.exit_code, 130) << run.err;
  const std::set<std::string> after = whole_files({"old", "newer"}, true);
  for (const std::string& file : copied) EXPECT_EQ(after.count(file), 1u) << file << " is gone";

  run = Run({"send", "Alpha"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(whole_files({"newer"}, false).size(), size_t{kFiles});
}

// On a terminal a run draws a progress line on stderr and erases it when it
// ends; with --quiet, or with stderr in a file, there is none, and stdout
// never carries it.
TEST_F(ProgramTest, AProgressLineOnlyOnATerminalAndNeverWithQuiet) {
  WriteText(Documents("Alpha/a.c"), "a");
  WriteText(Documents("Alpha/b.c"), "b");
  MakeFolder(Stick("Sync"));
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync");
  const struct {
    bool terminal;
    bool quiet;
    bool progress;
  } cases[] = {{true, false, true}, {true, true, false}, {false, false, false}};
  for (const auto& c : cases) {
    std::filesystem::remove_all(Stick("Sync/Alpha"));
    std::vector<std::string> args = {"send", "Alpha"};
    if (c.quiet) args.push_back("--quiet");
    RunOptions options;
    options.stderr_on_terminal = c.terminal;
    const ProgramRun run = Run(args, options);
    const std::string label =
        std::string(c.terminal ? "terminal" : "file") + (c.quiet ? " --quiet" : "");
    EXPECT_EQ(run.exit_code, 0) << label << ": " << run.err;
    EXPECT_THAT(run.out, HasSubstr("\nCopied: 2, ")) << label;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << label;
    EXPECT_EQ(run.err.find(" of 2 files, ") != std::string::npos, c.progress) << label;
    EXPECT_EQ(run.err.find('\x1b') != std::string::npos, c.progress) << label;
    if (c.progress) {
      EXPECT_THAT(run.err, ::testing::EndsWith("\r\x1b[K")) << "not erased";
    }
  }
}

}  // namespace
}  // namespace pellmar
