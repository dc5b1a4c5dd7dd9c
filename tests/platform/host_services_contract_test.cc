// The platform's answers about the machine, as both platforms give them:
// the free space of each kind of root, text in a code page, and the shell
// "open" of a file that is not there.
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "platform_contract.h"

namespace pellmar {
namespace {

TEST_P(PlatformContract, FreeSpaceAnswersWithTheCodeForEachKindOfRoot) {
  const struct {
    const char* root;
    uint32_t code;
  } cases[] = {
      {"C:", kErrorSuccess},
      {"c:\\", kErrorSuccess},
      {"E:", kErrorSuccess},
      {"e:\\", kErrorSuccess},
      {"F:", kErrorNotReady},
      {"Q:", kErrorInvalidDrive},
      {"", kErrorInvalidName},
      {"E", kErrorInvalidName},
      {"1:", kErrorInvalidName},
      {"C:x", kErrorInvalidName},
      {"C:\\x", kErrorInvalidName},
      {"\\\\srv", kErrorInvalidName},
      {"\\\\no-such-server-here\\share", kErrorBadNetPath},
  };
  for (const auto& c : cases) {
    uint64_t free_bytes = 12345;
    const Status status = platform_.FreeSpace(c.root, &free_bytes);
    EXPECT_EQ(status.code, c.code) << "root \"" << c.root << "\": " << status.message;
    EXPECT_EQ(free_bytes > 0, c.code == kErrorSuccess) << "root \"" << c.root << "\"";
  }
}

TEST_P(PlatformContract, ShiftJisIsDecodedAndBadBytesStayVisible) {
  const struct {
    std::string bytes;
    int code_page;
    std::string text;
  } cases[] = {
      {"\x82\xA0\x83\x65\x83\x58\x83\x67 ok", 932, "あテスト ok"},
      {"\x93\xfa\x96\x7b\x8c\xea", 932, "日本語"},
      {"a\xFF"
       "b\x82",
       932, "a\\xFFb\\x82"},
      {"\x93", 932, "\\x93"},     // a lead byte without its trail
      {"日本語", 932, "日本語"},  // UTF-8 is never decoded twice
      {"as is \xFF", 65001, "as is \xFF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform_.DecodeCodePage(c.bytes, c.code_page), c.text) << c.bytes;
  }
}

// Windows runs with LANG=ja_JP.UTF-8 here, which gives Wine the ANSI code
// page 932: a settings file a Japanese Windows wrote reads as its text.
TEST_P(PlatformContract, FilesInTheAnsiCodePageReadAsTheirText) {
  if (host().AnsiCodePage() == 65001) GTEST_SKIP() << "this system writes its text in UTF-8 only";
  ASSERT_EQ(host().AnsiCodePage(), 932u) << "this test needs the ANSI code page 932";
  WriteText(Stick("ansi.ini"), "[Setting]\r\nSyncItem1=C:\\\x93\xfa\x96\x7b\x8c\xea\r\n");
  WriteText(Stick("utf8.ini"), "[Setting]\r\nSyncItem1=C:\\日本語\r\n");
  for (const char* name : {"ansi.ini", "utf8.ini"}) {
    EXPECT_EQ(IniFile(platform_, std::string("E:\\") + name).ReadString("Setting", "SyncItem1", ""),
              "C:\\日本語")
        << name;
  }
}

TEST_P(PlatformContract, ShellOpenOfAFileThatIsNotThereFails) {
  EXPECT_EQ(platform_.ShellOpen("E:\\absent.htm", "", "").code, kErrorFileNotFound);
}

}  // namespace
}  // namespace pellmar
