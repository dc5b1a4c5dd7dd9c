// The "." and ".." steps taken out of folder texts, by the text alone.
#include "core/folder_text.h"

#include <gtest/gtest.h>

namespace pellmar {
namespace {

TEST(NormalFolderTest, StepsAreTakenAndNeverClimbAboveARoot) {
  const CodePage kShiftJis{932};
  // "表" in Shift-JIS: its second byte is the byte of "\".
  const std::string hyo = "\x95\x5C";
  const struct {
    std::string folder;
    std::string expected;
    CodePage cp = {};
  } cases[] = {
      {"D:\\Work\\Beta", "D:\\Work\\Beta"},
      {"D:\\Work\\Beta\\", "D:\\Work\\Beta\\"},  // no step: left as it is
      {"D:\\Work\\Beta\\.", "D:\\Work\\Beta"},
      {"D:\\Work\\Beta\\..", "D:\\Work"},
      {"D:\\Work\\.\\Beta\\.\\", "D:\\Work\\Beta"},
      {"D:\\Work\\..\\..\\..\\Beta", "D:\\Beta"},
      {"D:\\Work\\..", "D:\\"},
      {"D:\\.", "D:\\"},
      {"D:\\..", "D:\\"},
      {"E:\\Sync\\..\\.", "E:\\"},
      {"\\\\srv\\share\\Beta\\..", "\\\\srv\\share"},
      {"\\\\srv\\share\\..\\..\\Beta", "\\\\srv\\share\\Beta"},
      {"\\Work\\..\\..", "\\"},
      {"Work\\..\\..\\Beta", "..\\Beta"},
      {"Work\\..", "."},
      {"D:\\Work\\..\\...", "D:\\..."},
      {"C:\\" + hyo + "\\.", "C:\\" + hyo, kShiftJis},
      {"C:\\" + hyo + "\\x\\..", "C:\\" + hyo, kShiftJis},
      {"\\\\" + hyo + "\\" + hyo + "\\..", "\\\\" + hyo + "\\" + hyo, kShiftJis},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NormalFolder(c.folder, c.cp), c.expected) << c.folder;
  }
}

}  // namespace
}  // namespace pellmar
