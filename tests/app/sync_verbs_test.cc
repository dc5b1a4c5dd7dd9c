// The list, send and load verbs of the built program on temp folders:
// output, exit codes, the files they copy and the settings they save.
#include <filesystem>
#include <sstream>

#include "program_fixture.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

TEST_F(ProgramTest, ListPrintsOneTabSeparatedLinePerEntry) {
  ns_.WriteEntries({Documents("Alpha"), (ns_ / "work/Beta")}, "E:\\Sync", "Duration2=30\n");
  const std::string settings = ReadText(ns_.settings_file());
  const ProgramRun run = Run({"list"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
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
  std::filesystem::create_directories(Stick("Sync"));

  ProgramRun run = Run({"send", "Beta"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("The following 2 files have been copyed.\n"));
  EXPECT_THAT(run.out, HasSubstr("\nAvailable disk size:"));
  EXPECT_EQ(ReadText(Stick("Sync/Beta/src/a.c")), "a");
  EXPECT_THAT(ReadText(ns_.settings_file()), HasSubstr("Version=1.1"));

  std::filesystem::remove_all((ns_ / "work/Beta"));
  run = Run({"load", "2"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadText((ns_ / "work/Beta/src/a.c")), "a");

  run = Run({"load", "Beta"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("There is no file newer than object files in harddisk."));
}

// The free space printed is what the run left on the disk, not what the
// selection found before it.
TEST_F(ProgramTest, PrintsTheFreeSpaceTheRunLeft) {
  TinyTmpfs tmpfs(Stick(""), 1 << 20);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  std::filesystem::create_directories(Stick("Sync"));
  WriteText(Documents("Alpha/big.bin"), std::string(600000, 'b'));
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync");
  const ProgramRun run = Run({"send", "Alpha"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "The following 1 files have been copyed.\nbig.bin\nAvailable disk size:448KB\n"
            "Copied: 1, failed: 0, refused for space: 0, left alone: 0\n");
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

TEST_F(ProgramTest, IncompleteRunsExitWithOne) {
  WriteText(Documents("Alpha/a.c"), "a");
  WriteText(Documents("Nested/a.c"), "a");
  ns_.WriteEntries({Documents("Alpha")}, "E:\\Sync",
                   "SyncItem2=" + OnC(Documents("Nested")) + "\nUseZip2=0\nPath in mobile disk2=" +
                       OnC(Documents("Nested/Backup")) + "\n");
  WriteText(Stick("Sync/Alpha"), "a file where the folder belongs");
  const struct {
    const char* project;
    const char* stderr_says;
  } cases[] = {
      {"Alpha", "Available capacity in the disk is not enough."},
      {"Nested", "lie one inside the other"},
      {"Gamma", "no entry \"Gamma\""},
      {"3", "no entry \"3\""},
  };
  for (const auto& c : cases) {
    const ProgramRun run = Run({"send", c.project, "--yes"});
    EXPECT_EQ(run.exit_code, 1) << c.project;
    EXPECT_THAT(run.err, HasSubstr(c.stderr_says)) << c.project;
  }
  EXPECT_EQ(ReadText(Stick("Sync/Alpha")), "a file where the folder belongs");
  EXPECT_FALSE(std::filesystem::exists(Documents("Nested/Backup/Nested")));
}

}  // namespace
}  // namespace pellmar
