// The built program run as a user would, in a temp namespace of its own
// (the child's environment holds only that namespace, PATH and a sanitizer
// build's options, so the tester's own settings are never touched): its
// front door, the drives report, and the list, send and load verbs on temp
// folders.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/namespace_fixture.h"
#include "support/run_program.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class ProgramTest : public NamespaceTest {
 protected:
  ProgramRun Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {PELLMAR_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProgram(argv, env_, ns_.path());
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
  for (const char* word :
       {"drives", "list", "send PROJECT", "load PROJECT", "--yes", "--version", "--help"}) {
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

TEST_F(ProgramTest, ADryRunShowsWhatTheRunWouldDoAndChangesNothing) {
  WriteText(Documents("Alpha/a.c"), "a");
  WriteText(Documents("Alpha/sub/b.c"), "b");
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync", "AutoDelete1=1\n");
  const std::string settings = ReadText(ns_.settings_file());
  ProgramRun run = Run({"send", "--yes", "Alpha", "--dry-run"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  for (const char* shown : {"\na.c\n", "\nb.c\n", "Copied: 2,", "Dry run: nothing was changed."}) {
    EXPECT_THAT(run.out, HasSubstr(shown));
  }
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync")));
  EXPECT_EQ(ReadText(ns_.settings_file()), settings);

  // Auto-delete: an old copy on the stick whose twin is on the disk.
  for (const std::string& twin : {Stick("Sync/Alpha/old.txt"), Documents("Alpha/old.txt")}) {
    WriteDated(twin, 10, DaysAgo(30));
  }
  run = Run({"load", "Alpha", "--dry-run"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, HasSubstr("Would delete: E:\\Sync\\Alpha\\old.txt\n"));
  EXPECT_TRUE(std::filesystem::exists(Stick("Sync/Alpha/old.txt")));
  EXPECT_EQ(ReadText(ns_.settings_file()), settings);
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
  const struct {
    const char* project;
    const char* stderr_says;
  } cases[] = {
      {"Alpha", "Available capacity in the disk is not enough."},
      {"Nested", "lie one inside the other"},
      {"Cut", "holds more for Path in mobile disk3 than a value can (3003 characters)"},
      {"4", "The project folder C:\\ has no name"},
      {"Gamma", "no entry \"Gamma\""},
      {"5", "no entry \"5\""},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Run({"send", c.project, "--yes"});
    EXPECT_EQ(run.exit_code, 1) << c.project;
    EXPECT_THAT(run.err, HasSubstr(c.stderr_says)) << c.project;
  }
  EXPECT_EQ(ReadText(Stick("Sync/Alpha")), "a file where the folder belongs");
  EXPECT_FALSE(std::filesystem::exists(Documents("Nested/Backup/Nested")));
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync/deeper"))) << "a cut folder is never made";
}

}  // namespace
}  // namespace pellmar
