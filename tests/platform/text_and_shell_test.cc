// Code-page decoding and the shell "open": xdg-open gets an argument
// vector (checked with a stand-in on PATH), and nothing is waited for.
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

TEST_F(PlatformTest, DecodeCodePageTurnsShiftJisIntoUtf8AndBadBytesStayVisible) {
  EXPECT_EQ(platform_->DecodeCodePage("\x82\xA0\x83\x65\x83\x58\x83\x67 ok", 932),
            "\xE3\x81\x82\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88 ok");  // "あテスト ok"
  EXPECT_EQ(platform_->DecodeCodePage("a\xFF"
                                      "b\x82",
                                      932),
            "a\\xFFb\\x82");
  EXPECT_EQ(platform_->DecodeCodePage("as is \xFF", 65001), "as is \xFF");
  EXPECT_EQ(platform_->AnsiCodePage(), 65001);
}

class ShellOpenTest : public PlatformTest {
 protected:
  void SetUp() override {
    // The stand-in writes each argument on a line of its own.
    MakeFolder(ns_ / "bin");
    WriteText(ns_ / "bin/xdg-open",
              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
              "pwd >> \"$0.tmp\"\nmv \"$0.tmp\" \"$0.args\"\n");
    chmod((ns_ / "bin/xdg-open").c_str(), 0755);
    const char* path = std::getenv("PATH");
    setenv("PATH", ((ns_ / "bin") + ":" + (path ? path : "/usr/bin:/bin")).c_str(), 1);
  }

  // What the stand-in was called with, once it has run.
  std::string Arguments() {
    const std::string file = ns_ / "bin/xdg-open.args";
    while (!HostExists(file)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::string text = ReadText(file);
    unlink(file.c_str());
    return text;
  }
};

TEST_F(ShellOpenTest, PassesHostPathsAsOneArgumentEach) {
  const std::string odd = "a b;$(touch pwned)'\"";
  MakeFolder(Stick(odd));
  WriteText(Stick("Help.htm"), "");
  char working[4096];
  ASSERT_NE(getcwd(working, sizeof working), nullptr);
  ASSERT_TRUE(platform_->ShellOpen("explorer", "E:\\" + odd, "").ok());
  EXPECT_EQ(Arguments(), Stick(odd) + "\n" + working + "\n");
  ASSERT_TRUE(platform_->ShellOpen("E:\\Help.htm", "", "E:\\").ok());
  EXPECT_EQ(Arguments(), Stick("Help.htm") + "\n" + Stick("") + "\n");
  ASSERT_TRUE(platform_->ShellOpen("EXPLORER", "", "").ok());
  EXPECT_EQ(Arguments().substr(0, (ns_ / "home\n").size()), ns_ / "home\n");
  EXPECT_FALSE(HostExists(ns_ / "pwned"));
  EXPECT_FALSE(HostExists(std::string(working) + "/pwned"));
}

TEST_F(ShellOpenTest, MissingTargetsFailWithoutStartingAnything) {
  EXPECT_EQ(platform_->ShellOpen("E:\\absent.htm", "", "").code, kErrorFileNotFound);
  EXPECT_EQ(platform_->ShellOpen("explorer", "Q:\\x", "").code, kErrorPathNotFound);
  EXPECT_FALSE(HostExists(ns_ / "bin/xdg-open.args"));
}

TEST_F(ShellOpenTest, LeavesNoChildBehind) {
  WriteText(Stick("f"), "");
  ASSERT_TRUE(platform_->ShellOpen("E:\\f", "", "").ok());
  Arguments();
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
