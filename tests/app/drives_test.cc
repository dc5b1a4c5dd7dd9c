// The built program's front door, run as a user would: --version, --help,
// the drives report, a wrong verb, and a start without a display.
#include "program_fixture.h"

namespace pellmar {
namespace {

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

TEST_F(ProgramTest, DrivesShowsTheNamespace) {
  const ProgramRun outcome = Run({"drives"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  const std::string& out = outcome.out;
  EXPECT_NE(out.find("C:  /"), std::string::npos) << out;
  EXPECT_NE(out.find("E:  " + ns_.drive('E')), std::string::npos) << out;
  EXPECT_NE(out.find("F:  " + ns_.drive('F')), std::string::npos) << out;
  EXPECT_NE(out.find("mounted  PELLMAR_DRIVES"), std::string::npos) << out;
  EXPECT_NE(out.find("absent   PELLMAR_DRIVES"), std::string::npos) << out;
  EXPECT_NE(out.find(OnC(ns_.documents())), std::string::npos) << out;
  EXPECT_NE(out.find(OnC(ns_.home() + "/Application Data/Pellmar.ini")), std::string::npos) << out;
  EXPECT_NE(out.find(ns_.settings_file()), std::string::npos) << out;
  std::string program_dir = PELLMAR_BINARY;
  program_dir.erase(program_dir.rfind('/') + 1);
  EXPECT_NE(out.find(OnC(program_dir)), std::string::npos) << out;
}

TEST_F(ProgramTest, SettingsFallBackToTheProgramDirectory) {
  // A file where the per-user folder would go: it cannot be made.
  WriteText(ns_ / "blocker", "x");
  SetVariable("XDG_CONFIG_HOME", ns_ / "blocker/config");
  const ProgramRun outcome = Run({"drives"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  std::string program_dir = PELLMAR_BINARY;
  program_dir.erase(program_dir.rfind('/') + 1);
  EXPECT_NE(outcome.out.find("Settings file:      " + OnC(program_dir) + "Pellmar.ini"),
            std::string::npos)
      << outcome.out;
}

TEST_F(ProgramTest, NoDisplaySaysSoInOneLine) {
  const ProgramRun outcome = Run({});
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_TRUE(outcome.out.empty());
  EXPECT_EQ(outcome.err,
            "pellmar: no display found (DISPLAY/WAYLAND_DISPLAY unset); the window needs a "
            "graphical session. Try 'pellmar --help' for the command line.\n");
}

}  // namespace
}  // namespace pellmar
