// Tests of the Documents-relative form: the worked examples, and that every
// folder comes back byte for byte under many kinds of Documents folder.
#include "core/relative_path.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace pellmar {
namespace {

const std::string kDocs = "C:\\Documents and Settings\\user\\My Documents";
const std::string kHyo = "\x95\x5C";  // "表" in Shift-JIS; its second byte is "\"

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
  const CodePage sjis{932};
  const std::string docs = "C:\\Users\\" + kHyo + "\\Documents";
  const std::string desktop = "C:\\Users\\" + kHyo + "\\Desktop";
  EXPECT_EQ(MakeDocumentsRelative(docs, desktop, sjis), "..\\Desktop");
  EXPECT_EQ(MakeDocumentsRelative(docs, docs + "\\" + kHyo + "\\a", sjis), kHyo + "\\a");
  EXPECT_EQ(ResolveDocumentsRelative(docs, "..\\Desktop", sjis), desktop);
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
