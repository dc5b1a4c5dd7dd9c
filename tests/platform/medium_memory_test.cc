// The memory of media beside the settings file: what is written reads back
// the same whatever the names hold, and a file this program did not write,
// or that was damaged, is refused by line rather than half read.
#include "platform/medium_memory.h"

#include <gtest/gtest.h>

#include <string>

namespace pellmar {
namespace {

TEST(MediumMemoryTest, ReadsBackWhatItWrote) {
  MediumMemory memory;
  memory.letters = {{'F', {"uuid:1234-ABCD", "TAB\there"}, 7}, {'E', {"fsid:00ff", ""}, 3}};
  memory.RememberProject("C:\\home\\ann\\Documents\\Line\nbreak\\x", {"serial:1A2B-3C4D", "a\\b"});
  memory.RememberProject("D:\\Work", {"uuid:1234-ABCD", "\r"});
  MediumMemory read;
  std::string problem;
  ASSERT_TRUE(ParseMediumMemory(FormatMediumMemory(memory), &read, &problem)) << problem;
  ASSERT_EQ(read.letters.size(), 2u);
  EXPECT_EQ(read.LetterOf("uuid:1234-ABCD")->letter, 'F');
  EXPECT_EQ(read.LetterOf("uuid:1234-ABCD")->medium.label, "TAB\there");
  EXPECT_EQ(read.LetterOf("fsid:00ff")->seen, 3);
  ASSERT_EQ(read.projects.size(), 2u);
  const ProjectMedium* line_break = read.ProjectOf("C:\\home\\ann\\Documents\\Line\nbreak\\x");
  ASSERT_NE(line_break, nullptr);
  EXPECT_EQ(line_break->medium, (MediumIdentity{"serial:1A2B-3C4D", "a\\b"}));
  EXPECT_LT(line_break->used, read.ProjectOf("D:\\Work")->used);
  EXPECT_TRUE(ParseMediumMemory("", &read, &problem)) << "an empty file is an empty memory";
}

TEST(MediumMemoryTest, RefusesWhatItCannotHaveWritten) {
  const std::string header = "# Pellmar.drives 1: header\n";
  const struct {
    std::string text;
    const char* line;
  } cases[] = {
      {"[Setting]\r\nSyncItem1=C:\\x\r\n", "line 1:"},
      {header + "letter\tE:\tuuid:A\tA\n", "line 2:"},
      {header + "\nletter\tD:\tuuid:A\tA\t1\n", "line 3:"},
      {header + "letter\tE:\tuuid:A\tA\t1\nletter\tE:\tuuid:B\tB\t2\n", "line 3:"},
      {header + "letter\tE:\tuuid:A\tA\t1\nletter\tF:\tuuid:A\tA\t2\n", "line 3:"},
      {header + "project\tC:\\a\tuuid:A\tA\t1\n", "line 2:"},  // a backslash not doubled
      {header + "project\tC:\\\\a\tuuid:A\tA\tten\n", "line 2:"},
      {header + "project\tC:\\\\a\t\tA\t1\n", "line 2:"},
      {header + "project\tC:\\\\a\tuuid:A\tA\t1\nproject\tC:\\\\a\tuuid:B\tB\t2\n", "line 3:"},
      {header + "disk\tC:\\a\tuuid:A\tA\t1\n", "line 2:"},
      {header + std::string(300 * 1024, '#'), "larger"},
  };
  for (const auto& c : cases) {
    MediumMemory read;
    read.letters.push_back({'Q', {"stale", ""}, 1});
    std::string problem;
    EXPECT_FALSE(ParseMediumMemory(c.text, &read, &problem)) << c.text.substr(0, 80);
    EXPECT_NE(problem.find(c.line), std::string::npos)
        << problem << " for " << c.text.substr(0, 60);
    EXPECT_TRUE(read.letters.empty() && read.projects.empty()) << "nothing half read";
  }
}

TEST(MediumMemoryTest, ForgetsTheLongestUnusedProjectsBeyondItsCap) {
  MediumMemory memory;
  for (size_t i = 0; i <= MediumMemory::kMaxProjects; ++i) {
    memory.RememberProject("C:\\p" + std::to_string(i), {"uuid:A", ""});
  }
  memory.RememberProject("C:\\p1", {"uuid:B", ""});  // used again: now the latest
  memory.RememberProject("C:\\new", {"uuid:A", ""});
  EXPECT_EQ(memory.projects.size(), MediumMemory::kMaxProjects);
  EXPECT_EQ(memory.ProjectOf("C:\\p0"), nullptr);
  EXPECT_EQ(memory.ProjectOf("C:\\p2"), nullptr);
  EXPECT_EQ(memory.ProjectOf("C:\\p1")->medium.key, "uuid:B");
}

}  // namespace
}  // namespace pellmar
