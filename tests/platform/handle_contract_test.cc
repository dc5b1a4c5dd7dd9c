// What every platform must do with the files of a run between its look and
// its act, and with the medium at its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform_contract.h"
#include "support/handle_copy.h"

namespace pellmar {
namespace {

namespace fs = std::filesystem;

// Between the look and the act the user keeps working: whatever changed is
// left exactly as the user left it, and nothing of the run stays behind.
TEST_P(PlatformContract, CopiesAndRemovalsActOnlyOnTheVersionDecidedOn) {
  const auto rewrite = [](const std::string& host) {
    return [host] {
      WriteText(host, "saved during the run");
      SetLocalWriteTime(host, {2030, 1, 1, 0, 0, 0, 0});
    };
  };
  const auto replace_by_rename = [](const std::string& host) {
    return [host] {
      WriteText(host + ".new", "saved during the run");
      fs::rename(HostFsPath(host + ".new"), HostFsPath(host));
    };
  };
  const struct {
    const char* what;
    bool remove;  // else a copy of Documents\src into E:\t
    std::function<void()> meanwhile;
    std::string stays;  // host path that must hold "saved during the run"
  } cases[] = {
      {"the target is saved anew", false, rewrite(Stick("t/src")), Stick("t/src")},
      {"the target is replaced by an editor's rename", false, replace_by_rename(Stick("t/src")),
       Stick("t/src")},
      {"a file takes the free name", false, rewrite(Stick("t/new")), Stick("t/new")},
      {"the source is saved anew", false, rewrite(Documents("src")), Documents("src")},
      {"the file to remove is saved anew", true, rewrite(Stick("t/src")), Stick("t/src")},
      {"the file to remove is replaced by a rename", true, replace_by_rename(Stick("t/src")),
       Stick("t/src")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteText(Documents("src"), "the run's version");
    WriteText(Documents("new"), "the run's version");
    WriteText(Stick("t/src"), "old");
    fs::remove(HostFsPath(Stick("t/new")));
    const std::string source = c.stays == Stick("t/new") ? "\\new" : "\\src";
    const Status status = c.remove
                              ? RemoveByHandle(platform_, "E:\\t\\src", true, c.meanwhile)
                              : CopyByHandle(platform_, docs_ + source, "E:\\t", true, c.meanwhile);
    EXPECT_EQ(status.code, kErrorChangedDuringRun) << status.message;
    EXPECT_EQ(ReadText(c.stays), "saved during the run");
    EXPECT_LE(HostNames(Stick("t")).size(), 2u) << "no scratch file left";
  }
}

TEST_P(PlatformContract, FailedCopiesLeaveTheOldTargetAlone) {
  WriteText(Documents("src"), "new");
  WriteText(Stick("not_a_folder"), "a file where a folder should be");
  WriteText(Stick("a_folder/kept"), "kept");
  WriteText(Stick("target"), "old");
  WriteText(Documents("a_folder"), "a file where the stick has a folder");
  const struct {
    const char* what;
    std::string source, target_folder;
  } cases[] = {
      {"target folder is a file", docs_ + "\\src", "E:\\not_a_folder"},
      {"target names a folder", docs_ + "\\a_folder", "E:\\"},
      {"target folder missing", docs_ + "\\src", "E:\\missing"},
      {"source missing", docs_ + "\\absent", "E:\\"},
      {"source names no entry", docs_ + "\\a:b", "E:\\"},
      {"target on an unknown drive", docs_ + "\\src", "Q:\\"},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(CopyByHandle(platform_, c.source, c.target_folder).ok()) << c.what;
  }
  EXPECT_EQ(ReadText(Stick("target")), "old");
  EXPECT_EQ(ReadText(Stick("not_a_folder")), "a file where a folder should be");
  EXPECT_EQ(HostNames(Stick("a_folder")), std::vector<std::string>{"kept"});
  EXPECT_EQ(HostNames(Stick("")), (std::vector<std::string>{"a_folder", "not_a_folder", "target"}));
}

// Copies made together (several at once where a platform can) land whole,
// each as if made alone; one whose name was taken meanwhile is refused.
TEST_P(PlatformContract, CopiesMadeTogetherLandEachAsIfAlone) {
  WriteText(Stick("t/taken"), "the user's");
  std::vector<std::string> names{"taken"};
  for (int i = 0; i < 12; ++i) names.push_back("f" + std::to_string(i));
  for (const std::string& name : names) WriteText(Documents(name), "text of " + name);
  FolderHandle from, to;
  ASSERT_TRUE(platform_.OpenFolderAt(docs_, &from).ok());
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\t", &to).ok());
  std::vector<CopyRequest> requests;
  for (const std::string& name : names) {
    const std::optional<FileFacts> facts = platform_.LookIn(*from, name);
    ASSERT_TRUE(facts.has_value()) << name;
    CopyRequest request;
    request.from = from.get();
    request.source = *facts;
    request.to = to.get();
    requests.push_back(request);
  }
  std::vector<Status> statuses;
  std::vector<CopyResult> results;
  platform_.CopyEach(requests, &statuses, &results);
  ASSERT_EQ(statuses.size(), names.size());
  EXPECT_EQ(statuses[0].code, kErrorChangedDuringRun) << statuses[0].message;
  EXPECT_EQ(ReadText(Stick("t/taken")), "the user's");
  for (size_t i = 1; i < names.size(); ++i) {
    EXPECT_TRUE(statuses[i].ok()) << names[i] << ": " << statuses[i].message;
    EXPECT_EQ(ReadText(Stick("t/" + names[i])), "text of " + names[i]);
  }
  EXPECT_EQ(HostNames(Stick("t")).size(), names.size()) << "no scratch file left";
}

// The end of a run writes out the file system it changed, as any user may
// (Windows lets only an administrator open a volume for writing).
TEST_P(PlatformContract, TheMediumOfAnOpenFolderIsWrittenOut) {
  WriteText(Stick("t/new"), "written by the run");
  FolderHandle folder;
  ASSERT_TRUE(platform_.OpenFolderAt("E:\\t", &folder).ok());
  const Status flushed = platform_.FlushMedium(*folder);
  EXPECT_TRUE(flushed.ok()) << flushed.message;
}

}  // namespace
}  // namespace pellmar
