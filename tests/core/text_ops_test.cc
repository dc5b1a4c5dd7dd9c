// Tests of the byte-string text rules and of the Documents-relative form
// built on them (the worked examples, and that every folder comes back byte
// for byte under many kinds of Documents folder), with Shift-JIS characters
// whose second byte is the byte of "\".
#include "core/text_ops.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "core/relative_path.h"

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

const std::string kDocs = "C:\\Documents and Settings\\user\\My Documents";

struct Example {
  std::string documents;
  std::string folder;
  std::string shown;
};

TEST(RelativePathTest, WorkedExamples) {
  const Example examples[] = {
      {kDocs, kDocs + "\\Work\\Proj", "Work\\Proj"},
      {kDocs, kDocs, kDocs},
      {kDocs, kDocs + "2\\X", kDocs + "2\\X"},
      {kDocs, "C:\\Documents and Settings\\user\\Desktop\\Proj", "..\\Desktop\\Proj"},
      {kDocs, "D:\\Work\\Proj", "..\\..\\..\\..\\D:\\Work\\Proj"},
      {"D:\\", "C:\\Work", "..\\..\\C:\\Work"},
      {"D:\\", "D:\\Work", "D:\\Work"},
      // The climbing form would come back as another folder: shown absolute.
      {kDocs, "C:\\Work\\Proj", "C:\\Work\\Proj"},
      {kDocs, "c:\\work", "c:\\work"},
      {kDocs, "C:\\Documents and Settings\\user", "C:\\Documents and Settings\\user"},
      {kDocs, "C:\\Documents and Settings2\\X", "C:\\Documents and Settings2\\X"},
      {kDocs, "c:\\documents and settings\\user\\my documents\\proj",
       "c:\\documents and settings\\user\\my documents\\proj"},
      {"\\\\srv\\home\\docs", "\\\\srv\\home\\docs", "\\\\srv\\home\\docs"},
      {"\\\\srv\\home\\docs", "\\\\srv\\home\\other", "..\\other"},
      {"\\\\srv\\home\\docs", "\\\\far\\share\\x", "\\\\far\\share\\x"},
      {kDocs, "\\\\srv\\share\\x", "\\\\srv\\share\\x"},
      {"", "C:\\x", "C:\\x"},
      // Only a hand-edited settings file holds a folder without a drive.
      {kDocs, "\\rooted\\x", "..\\..\\..\\\\rooted\\x"},
  };
  for (const Example& e : examples) {
    EXPECT_EQ(MakeDocumentsRelative(e.documents, e.folder), e.shown)
        << "documents " << e.documents << ", folder " << e.folder;
    EXPECT_EQ(ResolveDocumentsRelative(e.documents, e.shown), e.folder)
        << "documents " << e.documents << ", shown " << e.shown;
  }
}

TEST(RelativePathTest, ResolveOfTextsNotMadeHere) {
  EXPECT_EQ(ResolveDocumentsRelative(kDocs, "Work\\Proj"), kDocs + "\\Work\\Proj");
  EXPECT_EQ(ResolveDocumentsRelative(kDocs, "E:\\x\\..\\y"), "E:\\x\\..\\y");
  EXPECT_EQ(ResolveDocumentsRelative(kDocs, "..\\..\\..\\..\\..\\..\\D:\\W"), "D:\\W")
      << "a climb beyond the root stays at the root";
  EXPECT_EQ(ResolveDocumentsRelative("\\", "x"), "\\x");
}

TEST(RelativePathTest, ShiftJisUserFolder) {
  const std::string docs = "C:\\Users\\" + kHyo + "\\Documents";
  const std::string desktop = "C:\\Users\\" + kHyo + "\\Desktop";
  EXPECT_EQ(MakeDocumentsRelative(docs, desktop, kShiftJis), "..\\Desktop");
  EXPECT_EQ(MakeDocumentsRelative(docs, docs + "\\" + kHyo + "\\a", kShiftJis), kHyo + "\\a");
  EXPECT_EQ(ResolveDocumentsRelative(docs, "..\\Desktop", kShiftJis), desktop);
}

// Folders related to `documents` in every way the rules treat differently.
std::vector<std::string> FoldersAround(const std::string& documents) {
  std::vector<std::string> folders = {
      "C:\\",
      "C:\\x",
      "c:\\x",
      "E:\\",
      "E:\\Work\\Proj",
      "e:\\work",
      "\\\\srv",
      "\\\\srv\\home",
      "\\\\srv\\home\\other\\p",
      "\\\\far\\share\\x",
      "C:\\a\\..\\b",
      "C:\\" + kHyo + "\\x",
  };
  if (documents.empty()) return folders;
  for (const std::string& tail :
       std::vector<std::string>{"", "\\x", "\\x\\y", "2\\X", "2", "\\" + kHyo + "\\y"}) {
    folders.push_back(documents + tail);
  }
  std::string upper = documents;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  folders.push_back(upper + "\\p");
  for (std::string a = ParentOf(documents); a != documents;) {
    for (const std::string& tail :
         std::vector<std::string>{"", "\\Other", "2\\X", "2", "\\Other\\" + kHyo}) {
      folders.push_back(a + tail);
    }
    const std::string up = ParentOf(a);
    if (up == a) break;
    a = up;
  }
  return folders;
}

bool IsAbsolute(const std::string& path) {
  return path.find(':') != std::string::npos || path.rfind("\\\\", 0) == 0;
}

TEST(RelativePathTest, EveryFolderComesBack) {
  const std::string documents_folders[] = {
      kDocs,
      "C:\\home\\ann\\Documents",
      "C:\\",
      "D:\\",
      "E:\\Docs",
      "",
      "\\\\srv\\home\\ann\\Documents",
      "\\home\\ann\\Documents",
      "Documents",
      "C:\\Users\\" + kHyo + "\\Documents",
  };
  for (const CodePage cp : {CodePage{}, CodePage{932}}) {
    for (const std::string& docs : documents_folders) {
      for (const std::string& folder : FoldersAround(docs)) {
        // A text with neither drive nor server is no folder a user can pick.
        if (!IsAbsolute(folder)) continue;
        const std::string shown = MakeDocumentsRelative(docs, folder, cp);
        EXPECT_EQ(ResolveDocumentsRelative(docs, shown, cp), folder)
            << "documents " << docs << ", folder " << folder << ", shown " << shown << ", cp "
            << cp.number;
      }
    }
  }
}

}  // namespace
}  // namespace pellmar
