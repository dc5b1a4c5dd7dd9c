// Tests of the byte-string text rules, with Shift-JIS characters whose
// second byte is the byte of "\".
#include "core/text_ops.h"

#include <gtest/gtest.h>

#include <string>

namespace pellmar {
namespace {

const CodePage kShiftJis{932};
const CodePage kBytes{};
// "表" in Shift-JIS: lead byte 0x95, second byte 0x5C, the byte of "\".
const std::string kHyo = "\x95\x5C";

struct PathCase {
  std::string path;
  CodePage cp;
  std::string expected;
};

TEST(TextOpsTest, ParentOf) {
  const PathCase cases[] = {
      {"C:\\A\\B", kBytes, "C:\\A"},
      {"C:\\A", kBytes, "C:\\"},
      {"C:\\", kBytes, "C:\\"},
      {"C:", kBytes, "C:"},
      {"\\A", kBytes, "\\"},
      {"A", kBytes, ""},
      {"", kBytes, ""},
      {"\\\\srv\\share", kBytes, "\\\\srv"},
      {"\\\\srv", kBytes, "\\\\"},
      {"\\\\", kBytes, "\\\\"},
      // The folder part of a target: a root's separator stays, no other.
      {"\\src\\lib\\util.c", kBytes, "\\src\\lib"},
      {"\\readme.txt", kBytes, "\\"},
      {"x\\\\a.c", kBytes, "x\\\\"},
      {"C:\\" + kHyo, kShiftJis, "C:\\"},
      {"C:\\" + kHyo + "\\x", kShiftJis, "C:\\" + kHyo},
      // Read byte by byte, the second byte looks like a separator.
      {"C:\\" + kHyo + "\\x", kBytes, "C:\\" + kHyo + "\\"},
      {"C:\\" + kHyo, kBytes, "C:\\\x95"},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ParentOf(c.path, c.cp), c.expected) << c.path << " cp " << c.cp.number;
  }
}

TEST(TextOpsTest, LastPathComponentAndTrailingBackslash) {
  EXPECT_EQ(LastPathComponent("C:\\Work\\Proj"), "Proj");
  EXPECT_EQ(LastPathComponent("C:\\"), "");
  EXPECT_EQ(LastPathComponent("C:Proj"), "Proj");
  EXPECT_EQ(LastPathComponent("D:\\" + kHyo, kShiftJis), kHyo);
  EXPECT_EQ(LastPathComponent("D:\\" + kHyo, kBytes), "");

  EXPECT_TRUE(EndsWithBackslash("C:\\", kShiftJis));
  EXPECT_FALSE(EndsWithBackslash("C:\\" + kHyo, kShiftJis));
  EXPECT_TRUE(EndsWithBackslash("C:\\" + kHyo, kBytes));
}

TEST(TextOpsTest, OccursAndBeginsCompareBytes) {
  EXPECT_FALSE(OccursIn("", "abc")) << "an empty text never occurs";
  EXPECT_FALSE(OccursIn("a", ""));
  EXPECT_TRUE(OccursIn("b\\c", "a\\b\\c"));
  EXPECT_TRUE(OccursInIgnoreCase("MY DOCS", "c:\\my docs\\x"));
  EXPECT_FALSE(OccursInIgnoreCase("", "abc"));
  EXPECT_TRUE(BeginsWithIgnoreCase("c:\\Docs", "C:\\"));
  EXPECT_FALSE(BeginsWithIgnoreCase("x\\C:\\", "C:\\")) << "occurs, but not at the start";
  EXPECT_FALSE(BeginsWithIgnoreCase("abc", ""));
}

TEST(TextOpsTest, RemovalsNeverStartOnASecondByte) {
  const std::string s = "\x83\x5C\\x";  // "ソ", then "\x"
  EXPECT_EQ(RemoveFirst(s, "\\\\", kShiftJis), s) << "the only \\\\ begins on a second byte";
  EXPECT_EQ(RemoveFirst(s, "\\\\", kBytes), "\x83x");
  EXPECT_EQ(RemoveFirst(s, "\\x", kShiftJis), "\x83\x5C");

  // 0x83 0x41 is "ア", 0x83 0x61 is "ャ": their second bytes are letters' bytes.
  EXPECT_EQ(RemoveFirstIgnoreCase("\x83\x61"
                                  "b",
                                  "\x83\x41", kShiftJis),
            "\x83\x61"
            "b");
  EXPECT_EQ(RemoveFirstIgnoreCase("\x83\x61"
                                  "b",
                                  "\x83\x41", kBytes),
            "b");

  EXPECT_EQ(RemoveFirstIgnoreCase("C:\\DOCS\\a\\docs\\b", "c:\\docs\\"), "a\\docs\\b");
  EXPECT_EQ(RemoveFirst("abcabc", "bc"), "aabc");
  EXPECT_EQ(RemoveAll("..\\..\\x\\..\\", "..\\"), "x\\");
}

TEST(TextOpsTest, ReplaceIsOneLeftToRightPass) {
  EXPECT_EQ(ReplaceAll("a\\\\\\b", "\\\\", "\\"), "a\\\\b") << "three backslashes";
  EXPECT_EQ(ReplaceAll("a\\\\\\\\b", "\\\\", "\\"), "a\\\\b") << "four backslashes";
  EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa") << "replacements are not re-examined";
  EXPECT_EQ(ReplaceAll("C:\\" + kHyo + "\\x", "\\\\", "\\", kShiftJis), "C:\\" + kHyo + "\\x");
  EXPECT_EQ(ReplaceAll("C:\\" + kHyo + "\\x", "\\\\", "\\", kBytes), "C:\\\x95\\x");
  EXPECT_EQ(ReplaceAllIgnoreCase("a<br>b<BR>c<bR>d", "<br>", "\r\n"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(ReplaceFirst("E:\\\\Sync\\\\P", "\\\\", "\\"), "E:\\Sync\\\\P");
}

}  // namespace
}  // namespace pellmar
