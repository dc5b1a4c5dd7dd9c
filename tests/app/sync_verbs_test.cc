// The list, send and load verbs of the built program on temp folders:
// output, exit codes, the files they copy and the settings they save.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "sync_verbs_util.h"

namespace pellmar {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

TEST_F(SyncVerbsTest, ListPrintsOneTabSeparatedLinePerEntry) {
  WriteEntries({Documents("Alpha"), Host("work/Beta")}, "E:\\Sync", "Duration2=30\r\n");
  const std::string settings = ReadFile(SettingsFile());
  const ProgramRun run = Run({"list"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  std::istringstream lines(run.out);
  std::string alpha, beta;
  std::getline(lines, alpha);
  std::getline(lines, beta);
  EXPECT_EQ(alpha, "1\tAlpha\tAlpha\t" + Ns(Documents("Alpha")) + "\tE:\\Sync\t7\t1\tini, bak");
  EXPECT_THAT(beta, StartsWith("2\tBeta\t"));
  EXPECT_THAT(beta, HasSubstr("\t" + Ns(Host("work/Beta")) + "\tE:\\Sync\t30\t1\tini, bak"));
  EXPECT_FALSE(std::getline(lines, beta));
  EXPECT_EQ(ReadFile(SettingsFile()), settings) << "listing saves nothing";
}

TEST_F(SyncVerbsTest, SendAndLoadRunTheWindowsCommands) {
  WriteFile(Host("work/Beta/src/a.c"), "a");
  WriteFile(Host("work/Beta/b.c"), "b");
  WriteEntries({Documents("Alpha"), Host("work/Beta")}, "E:\\Sync");
  std::filesystem::create_directories(Stick("Sync"));

  ProgramRun run = Run({"send", "Beta"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("Available disk size:"));
  EXPECT_THAT(run.out, HasSubstr("\nThe following 2 files have been copyed.\n"));
  EXPECT_EQ(ReadFile(Stick("Sync/Beta/src/a.c")), "a");
  EXPECT_THAT(ReadFile(SettingsFile()), HasSubstr("Version=1.1"));

  std::filesystem::remove_all(Host("work/Beta"));
  run = Run({"load", "2"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadFile(Host("work/Beta/src/a.c")), "a");

  run = Run({"load", "Beta"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.err, HasSubstr("There is no file newer than object files in harddisk."));
}

TEST_F(SyncVerbsTest, MissingRemovableFolderIsCreatedOnlyWithYes) {
  WriteFile(Documents("Alpha/a.c"), "a");
  WriteEntries({Documents("Alpha")}, "E:\\Sync");
  ProgramRun run = Run({"send", "Alpha"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_THAT(run.err, HasSubstr("\"E:\\Sync\"Do you make it? -> No"));
  EXPECT_FALSE(std::filesystem::exists(Stick("Sync")));

  run = Run({"send", "--yes", "Alpha"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadFile(Stick("Sync/Alpha/a.c")), "a");
}

TEST_F(SyncVerbsTest, IncompleteRunsExitWithOne) {
  WriteFile(Documents("Alpha/a.c"), "a");
  WriteFile(Documents("Nested/a.c"), "a");
  WriteEntries({Documents("Alpha")}, "E:\\Sync",
               "SyncItem2=" + Ns(Documents("Nested")) + "\r\nUseZip2=0\r\nPath in mobile disk2=" +
                   Ns(Documents("Nested/Backup")) + "\r\n");
  WriteFile(Stick("Sync/Alpha"), "a file where the folder belongs");
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
  EXPECT_EQ(ReadFile(Stick("Sync/Alpha")), "a file where the folder belongs");
  EXPECT_FALSE(std::filesystem::exists(Documents("Nested/Backup/Nested")));
}

TEST_F(SyncVerbsTest, UsageErrorsExitWithTwo) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"send"}, {"load", "a", "b"}, {"send", "--bogus", "a"}, {"list", "x"}}) {
    const ProgramRun run = Run(args);
    EXPECT_EQ(run.exit_code, 2) << args[0] << " with " << args.size() - 1 << " arguments";
    EXPECT_THAT(run.err, HasSubstr("pellmar send PROJECT")) << args[0];
  }
}

}  // namespace
}  // namespace pellmar
