// A run decides on what it saw and acts a moment later, while the user goes
// on working: the act touches only what was decided on, through the folder
// that was checked, and nothing is deleted unless its copy is proved to be
// the same version.
#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

#include "core/sync_tree.h"
#include "platform/forwarding_platform.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::HasSubstr;

// Runs `meanwhile` once, right before the first act of the given kind: what
// the user does between a decision and its act, at the worst moment.
class MeanwhilePlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  std::function<void()> before_copy, before_removal, after_listing;
  bool case_blind = false;

  Status CopyFile(const CopyRequest& request, CopyResult* result) override {
    Once(before_copy);
    return ForwardingPlatform::CopyFile(request, result);
  }
  Status RemoveFileIn(OpenFolder& folder, const FileFacts& file, bool to_trash,
                      bool* kept) override {
    Once(before_removal);
    return ForwardingPlatform::RemoveFileIn(folder, file, to_trash, kept);
  }
  FolderListing ListOpenFolder(OpenFolder& folder) override {
    FolderListing listing = ForwardingPlatform::ListOpenFolder(folder);
    Once(after_listing);
    return listing;
  }
  bool IsCaseBlind(OpenFolder& folder) override {
    return case_blind || ForwardingPlatform::IsCaseBlind(folder);
  }

 private:
  static void Once(std::function<void()>& act) {
    if (!act) return;
    std::function<void()> now = std::move(act);
    act = nullptr;
    now();
  }
};

class StaleDecisionTest : public SyncTest {
 protected:
  void Load(Platform& platform) {
    window_.auto_delete = true;
    SyncRun run(platform, window_, counters_, "pdf,ini,", Ns("p"));
    SyncTree(run, "E:\\Sync\\Alpha", Ns("p"));
    outcome_ = run.outcome;
  }
  void Write(const std::string& host, const std::string& text, const LocalDateTime& when) {
    WriteText(host, text);
    SetLocalWriteTime(host, when);
  }
  RunOutcome outcome_;
};

// The hour shift and the packed time's limits may call two copies alike,
// but only the bytes prove it before the one on the stick is deleted; a
// copy that is newer leaves an older version, which the trash keeps.
TEST_F(StaleDecisionTest, AutoDeleteRemovesOnlyAProvedCopy) {
  const LocalDateTime old = DaysAgo(30);
  LocalDateTime hour_later = old;
  hour_later.hour = (old.hour + 1) % 24;
  if (hour_later.hour == 0) GTEST_SKIP() << "the hour after this moment is tomorrow";
  const struct {
    const char* what;
    const char *stick_text, *disk_text;
    LocalDateTime stick_time, disk_time;
    bool stick_kept;
    const char* disk_after;
    int trashed;
  } cases[] = {
      {"the same bytes an hour apart", "aaaa", "aaaa", hour_later, old, false, "aaaa", 0},
      {"other bytes an hour apart", "aaaa", "bbbb", hour_later, old, true, "aaaa", 1},
      {"other bytes before 1980", "aaaa", "bbbb", {1978, 5, 1}, {1972, 5, 1}, true, "aaaa", 1},
      {"a newer copy on the disk", "aaaa", "bbbbbb", old, DaysAgo(20), false, "bbbbbb", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Write(Stick("Sync/Alpha/f.txt"), c.stick_text, c.stick_time);
    Write(Host("p/f.txt"), c.disk_text, c.disk_time);
    Load(platform_);
    EXPECT_EQ(HostExists(Stick("Sync/Alpha/f.txt")), c.stick_kept);
    EXPECT_EQ(ReadText(Host("p/f.txt")), c.disk_after);
    EXPECT_EQ(outcome_.kept_in_trash, c.trashed);
    EXPECT_TRUE(outcome_.Complete()) << ::testing::PrintToString(outcome_.skipped_names);
  }
}

// A folder of the stick swapped for a link to the project while a Load
// deletes: the deletions go on in the folder that was opened, and a folder
// swapped before it is entered is never entered.
TEST_F(StaleDecisionTest, AFolderSwappedForALinkLeadsNowhere) {
  for (int i = 0; i < 20; ++i) {
    const std::string name = "sub/f" + std::to_string(i) + ".txt";
    WriteDated(Stick("Sync/Alpha/" + name), 10, DaysAgo(30));
    WriteDated(Host("p/" + name), 10, DaysAgo(30));
    SetLocalWriteTime(Host("p/" + name), DaysAgo(30));
  }
  fs::copy(Host("p/sub"), Host("kept"));
  std::error_code no_links;
  fs::create_directory_symlink(Host("kept"), Host("probe"), no_links);
  if (no_links) GTEST_SKIP() << "this system makes no folder links: " << no_links.message();
  const auto swap = [&] {
    fs::rename(Stick("Sync/Alpha/sub"), Stick("Sync/moved"));
    fs::create_directory_symlink(Host("p/sub"), Stick("Sync/Alpha/sub"));
  };
  MeanwhilePlatform during_deletions(platform_);
  during_deletions.before_removal = swap;
  Load(during_deletions);
  EXPECT_EQ(HostNames(Host("p/sub")), HostNames(Host("kept")));
  EXPECT_TRUE(HostNames(Stick("Sync/moved")).empty()) << "the duplicates went where they were";

  fs::remove(Stick("Sync/Alpha/sub"));
  fs::rename(Stick("Sync/moved"), Stick("Sync/Alpha/sub"));
  WriteDated(Stick("Sync/Alpha/sub/f0.txt"), 10, DaysAgo(30));
  MeanwhilePlatform before_entering(platform_);
  before_entering.after_listing = swap;
  Load(before_entering);
  EXPECT_EQ(HostNames(Host("p/sub")), HostNames(Host("kept")));
  EXPECT_THAT(outcome_.skipped_names, Contains(HasSubstr("sub: could not be entered")));
}

// Saved between the decision and the act, on either side: the user's file
// is left as the user saved it, and the run says so.
TEST_F(StaleDecisionTest, AFileSavedMeanwhileIsLeftAsItIs) {
  const struct {
    const char* what;
    bool during_removal;
    const char* saved;  // host path below the test folder or the stick
  } cases[] = {
      {"the project's copy, before it is replaced", false, "p/f.txt"},
      {"the stick's file, before it is deleted", true, "stick"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string saved =
        std::string(c.saved) == "stick" ? Stick("Sync/Alpha/f.txt") : Host(c.saved);
    Write(Stick("Sync/Alpha/f.txt"), "stick", DaysAgo(30));
    Write(Host("p/f.txt"), c.during_removal ? "stick" : "disk",
          DaysAgo(c.during_removal ? 30 : 40));
    if (c.during_removal) SetLocalWriteTime(Host("p/f.txt"), DaysAgo(30));
    MeanwhilePlatform editor(platform_);
    (c.during_removal ? editor.before_removal : editor.before_copy) = [&] {
      Write(saved, "saved meanwhile", DaysAgo(0));
    };
    Load(editor);
    EXPECT_EQ(ReadText(saved), "saved meanwhile");
    EXPECT_THAT(outcome_.skipped_names, Contains(HasSubstr("changed during the run")));
  }
}

// Names a case-blind stick takes for one: neither is sent over the other.
TEST_F(StaleDecisionTest, NamesThatDifferOnlyInCaseAreNotSentOverEachOther) {
  for (const char* name : {"a.txt", "A.TXT", "b.txt", "Dir/x.c", "dir/y.c"}) {
    WriteDated(Host(std::string("p/") + name), 10, DaysAgo(1));
  }
  if (HostNames(Host("p")).size() != 5) GTEST_SKIP() << "this system holds no such two names";
  MeanwhilePlatform stick(platform_);
  stick.case_blind = true;
  SyncRun run(stick, window_, counters_, "pdf,ini,", Ns("p"));
  SyncTree(run, Ns("p"), "E:\\Sync\\Alpha");
  EXPECT_EQ(HostNames(Stick("Sync/Alpha")), std::vector<std::string>{"b.txt"});
  EXPECT_EQ(run.outcome.skipped_count, 4);
  EXPECT_THAT(run.outcome.skipped_names, Contains(HasSubstr("A.TXT: another name here")));
}

}  // namespace
}  // namespace pellmar
