// What the stick's file system cannot hold is left out by the decision
// itself, so the plan names it before the first copy and the run never
// tries it. The names need a host that can hold them.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "core/run_plan.h"
#include "core/sync_tree.h"
#include "platform/forwarding_platform.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

using ::testing::ElementsAreArray;

// A stick whose file system holds files of at most 1,000 bytes, names by
// the Windows rules, and matches names without regard to case: FAT, made
// small.
class SmallFatPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  FileSystemLimits LimitsAt(OpenFolder&) override { return {1000, true}; }
  bool IsCaseBlind(OpenFolder&) override { return true; }
};

TEST_F(SyncTest, SendLeavesOutWhatTheStickCannotHoldAndSaysWhy) {
  const struct {
    const char* source;  // below the project folder
    const char* why;     // how the report ends; nullptr: copied
  } cases[] = {
      {"fits.txt", nullptr},
      {"over.txt", "holds no file larger than 1000 bytes"},
      {"q?x.txt", "cannot store a name with the character ?"},
      {"st*r.txt", "cannot store a name with the character *"},
      {"lt<.txt", "cannot store a name with the character <"},
      {"gt>.txt", "cannot store a name with the character >"},
      {"p|p.txt", "cannot store a name with the character |"},
      {"qu\"o.txt", "cannot store a name with the character \""},
      {"c\x1f.txt", "cannot store a name with a control character"},
      {"blank.txt ", "cannot store a name that ends in a blank"},
      // FAT stores "d." as "d": its files would land among those of "d",
      // which is sent all the same.
      {"d./same.txt", "cannot store a name that ends in a dot"},
      {"d/same.txt", nullptr},
      // Device names are stored like any other on these file systems.
      {"aux.txt", nullptr},
  };
  std::vector<std::string> copied, reported;
  for (const auto& c : cases) {
    const std::string source = c.source;
    WriteDated(Host("p/" + source), source == "over.txt" ? 1001 : 1000, DaysAgo(1));
    if (c.why == nullptr) {
      copied.push_back(source);
    } else {
      const std::string entry = source.substr(0, source.find('/'));
      const std::string verb = entry == source ? "not copied" : "not visited";
      reported.push_back(Ns("p") + "\\" + entry + ": " + verb + ", E:\\Sync\\Alpha " + c.why);
    }
  }
  counters_ = RunCounters{int64_t{1} << 30, 0};
  SmallFatPlatform stick(platform_);
  SyncRun run(stick, window_, counters_, "pdf,ini,", Ns("p"));

  const RunPlan plan = PlanRun(run, Ns("p"), "E:\\Sync\\Alpha", false);
  EXPECT_EQ(plan.files, static_cast<int64_t>(copied.size()));
  EXPECT_THAT(plan.outcome.skipped_names, ::testing::UnorderedElementsAreArray(reported));

  SyncTree(run, Ns("p"), "E:\\Sync\\Alpha");
  EXPECT_THAT(run.outcome.skipped_names, ::testing::UnorderedElementsAreArray(reported));
  EXPECT_EQ(run.outcome.copies_failed, 0);
  for (const std::string& file : copied) EXPECT_EQ(HostSize(Stick("Sync/Alpha/" + file)), 1000);
  EXPECT_THAT(HostNames(Stick("Sync/Alpha")), ElementsAreArray({"aux.txt", "d", "fits.txt"}));
  EXPECT_THAT(HostNames(Stick("Sync/Alpha/d")), ElementsAreArray({"same.txt"}));
}

}  // namespace
}  // namespace pellmar
