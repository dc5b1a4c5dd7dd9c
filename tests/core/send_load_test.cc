// The steps of Send and Load that need no window: the exclusion list, the
// removable project folders, the overlap guard and the report texts.
#include "core/send_load.h"

#include "core/overlap_guard.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

TEST(SendLoadTest, ExclusionListDropsBlanksAndFullStops) {
  EXPECT_EQ(ExclusionList("pdf, ini"), "pdf,ini");
  EXPECT_EQ(ExclusionList(".txt, .bak"), "txt,bak");
  EXPECT_EQ(ExclusionList(" . "), "");
}

TEST(SendLoadTest, OnlySendMakesTheFirstDoubledBackslashSingle) {
  const struct {
    const char *media, *send, *load;
  } cases[] = {
      {"A:\\", "A:\\Proj", "A:\\\\Proj"},
      {"E:\\Backup", "E:\\Backup\\Proj", "E:\\Backup\\Proj"},
      {"E:\\\\Sync\\", "E:\\Sync\\\\Proj", "E:\\\\Sync\\\\Proj"},
      {"", "\\Proj", "\\Proj"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SendDestination(c.media, "Proj"), c.send) << c.media;
    EXPECT_EQ(LoadSource(c.media, "Proj"), c.load) << c.media;
  }
}

TEST(SendLoadTest, ReportTexts) {
  EXPECT_EQ(LogTitle("The following ", 1, " files have been copyed."),
            "The following 1 files have been copyed.");
  RunOutcome outcome;
  EXPECT_EQ(SkippedEntriesText(outcome), "");
  for (int i = 0; i < 60; ++i) outcome.Skip("E:\\x\\pipe" + std::to_string(i));
  const std::string text = SkippedEntriesText(outcome);
  EXPECT_NE(text.find("E:\\x\\pipe49"), std::string::npos);
  EXPECT_EQ(text.find("E:\\x\\pipe50"), std::string::npos);
  EXPECT_NE(text.find("10 more"), std::string::npos);
  EXPECT_FALSE(outcome.Complete());
}

TEST_F(SyncTest, OverlapGuardRefusesFoldersThatMeet) {
  // Drive E: spelled through C:, where the host's root is.
  std::string e_on_c = "C:" + Stick("Sync/Alpha");
  for (char& c : e_on_c) c = c == '/' ? '\\' : c;
  const struct {
    std::string project, removable, media;
    bool refused;
  } cases[] = {
      {"C:\\Work\\Alpha", "E:\\Sync\\Alpha", "E:\\Sync", false},
      {"C:\\Work\\Alpha", "c:\\work\\ALPHA\\", "c:\\work", true},
      {"C:\\Work\\Alpha", "C:\\Work\\Alpha\\Sync\\Alpha", "C:\\Work\\Alpha\\Sync", true},
      {"C:\\Work\\Alpha\\Sub", "C:\\Work\\Alpha", "C:\\Work", true},
      {"C:\\Work\\Alpha2", "C:\\Work\\Alpha", "C:\\Elsewhere", false},
      {"E:\\Sync\\Alpha", "E:\\\\Sync\\Alpha", "X:", true},
      {"C:\\Data\\Sync\\Alpha", "E:\\Sync\\Alpha", "Sync", true},
      {e_on_c, "E:\\Sync\\Alpha", "E:\\Sync", true},
      {e_on_c + "\\sub", "E:\\Sync\\Alpha", "E:\\Sync", true},
      {"C:\\Work\\Alpha", "\\Alpha", "", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OverlapRefusal(platform_, c.project, c.removable, c.media).has_value(), c.refused)
        << c.project << " and " << c.removable << " with " << c.media;
  }
}

}  // namespace
}  // namespace pellmar
