// The shell "open" on Linux: xdg-open gets an argument vector (checked with
// a stand-in first on the PATH its child inherits), and nothing is waited
// for.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform_fixture.h"

namespace pellmar {
namespace {

class ShellOpenTest : public PlatformTest {
 protected:
  void SetUp() override {
    // The stand-in adds each call's arguments and working folder, a line
    // each, to its log in one write, and a line "." after them.
    MakeFolder(ns_ / "bin");
    WriteText(ns_ / "bin/xdg-open",
              "#!/bin/sh\nprintf '%s\\n' \"$@\" \"$(pwd)\" . >> \"$0.log\"\n");
    chmod((ns_ / "bin/xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    saved_path_ = path ? path : "/usr/bin:/bin";
    setenv("PATH", ((ns_ / "bin") + ":" + saved_path_).c_str(), 1);
  }
  void TearDown() override { setenv("PATH", saved_path_.c_str(), 1); }

  // The calls the stand-in has logged once `calls` of them are there, or
  // what there is when that does not come (bounded, so a test fails rather
  // than hangs); each call's lines end in ".\n".
  std::string Calls(size_t calls) {
    const std::string log = ns_ / "bin/xdg-open.log";
    std::string text;
    for (int tries = 0; tries < 2000; ++tries) {
      text = HostExists(log) ? ReadText(log) : "";
      size_t ends = 0;
      for (size_t at = 0; (at = text.find("\n.\n", at)) != std::string::npos; at += 3) ++ends;
      if (ends >= calls) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return text;
  }

  std::string saved_path_;
};

TEST_F(ShellOpenTest, PassesHostPathsAsOneArgumentEach) {
  const std::string odd = "a b;$(touch pwned)'\"";
  MakeFolder(Stick(odd));
  WriteText(Stick("Help.htm"), "");
  char working[4096];
  ASSERT_NE(getcwd(working, sizeof working), nullptr);
  // One call at a time, so the log holds them in order.
  ASSERT_TRUE(platform_->ShellOpen("explorer", "E:\\" + odd, "").ok());
  const std::string first = Stick(odd) + "\n" + working + "\n.\n";
  ASSERT_EQ(Calls(1), first);
  ASSERT_TRUE(platform_->ShellOpen("E:\\Help.htm", "", "E:\\").ok());
  const std::string second = first + Stick("Help.htm") + "\n" + Stick("") + "\n.\n";
  ASSERT_EQ(Calls(2), second);
  ASSERT_TRUE(platform_->ShellOpen("EXPLORER", "", "").ok());
  EXPECT_EQ(Calls(3).substr(second.size(), ns_.home().size() + 1), ns_.home() + "\n");
  EXPECT_FALSE(HostExists(ns_ / "pwned"));
  EXPECT_FALSE(HostExists(std::string(working) + "/pwned"));
}

// What is not there starts nothing: the one call the stand-in logs is the
// one made after, for a file that is there.
TEST_F(ShellOpenTest, MissingTargetsStartNothing) {
  EXPECT_FALSE(platform_->ShellOpen("E:\\absent.htm", "", "").ok());
  EXPECT_FALSE(platform_->ShellOpen("explorer", "Q:\\x", "").ok());
  WriteText(Stick("there.htm"), "");
  ASSERT_TRUE(platform_->ShellOpen("E:\\there.htm", "", "E:\\").ok());
  EXPECT_EQ(Calls(1), Stick("there.htm") + "\n" + Stick("") + "\n.\n");
}

TEST_F(ShellOpenTest, LeavesNoChildBehind) {
  WriteText(Stick("f"), "");
  ASSERT_TRUE(platform_->ShellOpen("E:\\f", "", "").ok());
  ASSERT_FALSE(Calls(1).empty());
  // Peek without reaping (WNOWAIT), so only the platform's own reaper can
  // make the child disappear. Bounded, so a leak fails instead of hanging.
  siginfo_t info;
  int result = 0;
  for (int tries = 0; tries < 2000; ++tries) {
    info.si_pid = 0;
    result = waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT);
    if (result == -1) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(result, -1) << "a child is left, pid " << info.si_pid;
  EXPECT_EQ(errno, ECHILD);
}

}  // namespace
}  // namespace pellmar
