// Where copies onto a stick are made several at once, a run records
// exactly what it records making them one at a time: the same log in the
// same order, the same failures, the same space charged.
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "core/sync_tree.h"
#include "platform/forwarding_platform.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

// A stick on which one file cannot be written, and whose copies overlap
// when asked to.
class StickPlatform : public ForwardingPlatform {
 public:
  StickPlatform(Platform& inner, bool overlap) : ForwardingPlatform(inner), overlap_(overlap) {}
  int batches = 0;

  Status CopyFile(const CopyRequest& request, CopyResult* result) override {
    if (request.source.name == "bad.txt") return Status::Error(kErrorAccessDenied, "bad.txt: no");
    return ForwardingPlatform::CopyFile(request, result);
  }
  void CopyEach(std::span<const CopyRequest> requests, std::vector<Status>* statuses,
                std::vector<CopyResult>* results) override {
    if (requests.size() > 1) ++batches;
    Platform::CopyEach(requests, statuses, results);
  }
  bool CopiesOverlap(OpenFolder&) override { return overlap_; }

 private:
  bool overlap_;
};

struct Record {
  std::vector<std::string> log, shown, skipped;
  int64_t copies = 0, failed = 0, free_space = 0;
};

class CopyQueueTest : public SyncTest {
 protected:
  Record SendInto(const std::string& folder, bool overlap, int* batches) {
    window_ = RecordingWindow{};
    counters_ = RunCounters{int64_t{1} << 30, 0};
    StickPlatform stick(platform_, overlap);
    SyncRun run(stick, window_, counters_, "pdf,ini,", Ns("p"));
    SyncTree(run, Ns("p"), "E:\\Sync\\" + folder);
    *batches = stick.batches;
    Record record{
        window_.log,         window_.shown, {}, counters_.copy_count, run.outcome.copies_failed,
        counters_.free_space};
    for (std::string line : run.outcome.skipped_names) {
      line.replace(line.find(folder), folder.size(), "X");
      record.skipped.push_back(line);
    }
    return record;
  }
};

TEST_F(CopyQueueTest, CopiesMadeTogetherAreRecordedAsOneByOne) {
  // New files around a failing one, an older copy replaced in between, and
  // a folder, whose files come before the level's next ones.
  std::vector<std::string> names;
  for (int i = 0; i < 20; ++i) names.push_back("n" + std::to_string(100 + i) + ".txt");
  names.insert(names.begin() + 5, "bad.txt");
  names.insert(names.begin() + 11, "old.txt");
  for (const std::string& name : names) WriteDated(Host("p/" + name), 100, DaysAgo(1));
  WriteDated(Host("p/sub/inner.txt"), 100, DaysAgo(1));
  for (const char* folder : {"Sync/One/old.txt", "Sync/Two/old.txt"}) {
    WriteDated(Stick(folder), 50, DaysAgo(2));
  }

  int one_by_one_batches = 0, together_batches = 0;
  const Record one_by_one = SendInto("One", false, &one_by_one_batches);
  const Record together = SendInto("Two", true, &together_batches);

  EXPECT_EQ(one_by_one_batches, 0);
  EXPECT_GE(together_batches, 2);
  EXPECT_EQ(together.log, one_by_one.log);
  EXPECT_EQ(together.shown, one_by_one.shown);
  EXPECT_EQ(together.skipped, one_by_one.skipped);
  EXPECT_EQ(together.copies, one_by_one.copies);
  EXPECT_EQ(together.failed, 1);
  EXPECT_EQ(together.free_space, one_by_one.free_space);
  EXPECT_EQ(HostNames(Stick("Sync/Two")), HostNames(Stick("Sync/One")));
  EXPECT_EQ(HostSize(Stick("Sync/Two/old.txt")), 100);
  EXPECT_EQ(HostNames(Stick("Sync/Two/sub")), std::vector<std::string>{"inner.txt"});
}

}  // namespace
}  // namespace pellmar
