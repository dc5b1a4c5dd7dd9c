// Listings made ahead of a walk: handed out only for the very folder the
// walk opened, unchanged since, and never after its parent is forgotten.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/host_files.h"
#include "platform/posix/listings_ahead.h"
#include "platform/posix/scoped_fd.h"
#include "support/temp_folder.h"

namespace pellmar {
namespace {

std::vector<std::string> NamesOf(const FolderListing& listing) {
  std::vector<std::string> names;
  for (const FileFacts& entry : listing.entries) {
    names.push_back(entry.name + ":" + std::to_string(entry.size) + ":" +
                    std::to_string(entry.write_ns));
  }
  return names;
}

void AwaitHelper(ListingsAhead& ahead) {
  for (int i = 0; i < 5000 && ahead.Busy(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

struct Meanwhile {
  const char* what;
  std::function<void(const TempFolder&, ListingsAhead&, const void* parent)> act;
  bool used;
};

TEST(ListingsAheadTest, HandedOutOnlyForTheFolderAsItWasListed) {
  if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one core: nothing is listed ahead";
  // A folder's status-change time may move only once per clock tick of the
  // kernel: a change is made well after the listing.
  const auto later = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
  const std::vector<Meanwhile> cases = {
      {"nothing", [](const TempFolder&, ListingsAhead&, const void*) {}, true},
      {"a file saved into it",
       [&](const TempFolder& root, ListingsAhead&, const void*) {
         later();
         WriteText(root / "project/sub/new.txt", "new");
       },
       false},
      {"another folder put in its place",
       [&](const TempFolder& root, ListingsAhead&, const void*) {
         ASSERT_EQ(0, std::rename((root / "project/sub").c_str(), (root / "project/old").c_str()));
         WriteText(root / "project/sub/b.txt", "bb");
       },
       false},
      {"its parent forgotten",
       [](const TempFolder&, ListingsAhead& ahead, const void* parent) { ahead.Forget(parent); },
       false},
  };
  for (const Meanwhile& meanwhile : cases) {
    SCOPED_TRACE(meanwhile.what);
    TempFolder root;
    WriteText(root / "project/sub/a.txt", "a");
    WriteText(root / "project/sub/deeper/c.txt", "ccc");
    ListingsAhead ahead;
    const ScopedFd parent(open((root / "project").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    FolderLook parent_look;
    ASSERT_TRUE(LookAtOpenFolder(parent.get(), &parent_look));
    const int key = 0;  // stands for the walk's folder object
    ahead.Queue({{&key, parent.get(), root / "project", parent_look.identity.volume}}, {"sub"});
    AwaitHelper(ahead);
    meanwhile.act(root, ahead, &key);

    const ScopedFd sub(openat(parent.get(), "sub", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    FolderLook look;
    ASSERT_TRUE(LookAtOpenFolder(sub.get(), &look));
    const std::optional<FolderListing> listed =
        ahead.Take(&key, "sub", look.identity, look.changed_ns);
    EXPECT_EQ(meanwhile.used, listed.has_value());
    if (listed) {
      EXPECT_EQ(NamesOf(ListOpenHostFolder(sub.get(), root / "project/sub", "*")),
                NamesOf(*listed));
    }
    // Handed out once: the walk lists a folder it enters again itself.
    EXPECT_FALSE(ahead.Take(&key, "sub", look.identity, look.changed_ns));
  }
}

}  // namespace
}  // namespace pellmar
