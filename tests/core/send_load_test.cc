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
  RunOutcome outcome;
  const MessageTable messages;
  EXPECT_EQ(SkippedEntriesText(outcome, messages), "");
  for (int i = 0; i < 60; ++i) outcome.Skip("E:\\x\\pipe" + std::to_string(i));
  const std::string text = SkippedEntriesText(outcome, messages);
  EXPECT_NE(text.find("E:\\x\\pipe49"), std::string::npos);
  EXPECT_EQ(text.find("E:\\x\\pipe50"), std::string::npos);
  EXPECT_NE(text.find("10 more"), std::string::npos);
  EXPECT_FALSE(outcome.Complete());
  // A value goes in as it is: a folder named "%2" is no marker.
  EXPECT_EQ(FillIn("%1 and %2", {"%2", "b"}), "%2 and b");
  EXPECT_EQ(FillIn("%3 at 100% %", {"a"}), "%3 at 100% %");
}

TEST_F(SyncTest, OverlapGuardRefusesFoldersThatMeet) {
  // Drive E: spelled through the host's own root.
  const std::string e_on_c = ThroughHostRoot(Stick("Sync/Alpha"));
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
    EXPECT_EQ(
        OverlapRefusal(platform_, c.project, c.removable, c.media, window_.messages).has_value(),
        c.refused)
        << c.project << " and " << c.removable << " with " << c.media;
  }
}

}  // namespace
}  // namespace pellmar
