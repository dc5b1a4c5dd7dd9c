// CopyFile on real files: what it keeps, and that a failed copy leaves the
// old target exactly as it was with no temporary file behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "temp_tree_util.h"

namespace pellmar {
namespace {

class CopyFileTest : public ::testing::Test {
 protected:
  struct stat Stat(const std::string& host) {
    struct stat info = {};
    stat(host.c_str(), &info);
    return info;
  }

  testing::TempTree tree_;
  std::unique_ptr<Platform> platform_ = testing::TreePlatform(tree_);
  std::string docs_ = platform_->DocumentsFolder();
};

TEST_F(CopyFileTest, KeepsContentTimeAndMode) {
  std::string contents;
  for (int i = 0; i < 3 << 20; ++i) contents += static_cast<char>(i * 7 + i / 9973);
  testing::WriteText(tree_ / "home/Documents/src.bin", contents);
  chmod((tree_ / "home/Documents/src.bin").c_str(), 0640);
  testing::SetLocalWriteTime(tree_ / "home/Documents/src.bin", {2010, 5, 9, 0, 0, 2, 0});
  testing::WriteText(tree_ / "stick/src.bin", "old, longer than nothing");
  ASSERT_TRUE(platform_->CopyFile(docs_ + "\\src.bin", "E:\\src.bin").ok());
  EXPECT_EQ(testing::ReadText(tree_ / "stick/src.bin"), contents);
  const struct stat copied = Stat(tree_ / "stick/src.bin");
  EXPECT_EQ(copied.st_mode & 0777, 0640u);
  EXPECT_EQ(copied.st_mtim.tv_sec, Stat(tree_ / "home/Documents/src.bin").st_mtim.tv_sec);
  EXPECT_EQ(platform_->FindFile("E:\\src.bin")->dos_time,
            platform_->FindFile(docs_ + "\\src.bin")->dos_time);
  EXPECT_EQ(testing::HostNames(tree_ / "stick"), std::vector<std::string>{"src.bin"});
}

TEST_F(CopyFileTest, CopiesTheFileALinkLeadsTo) {
  testing::WriteText(tree_ / "home/Documents/real", "through the link");
  ASSERT_EQ(symlink("real", (tree_ / "home/Documents/link").c_str()), 0);
  ASSERT_TRUE(platform_->CopyFile(docs_ + "\\link", "E:\\copy").ok());
  EXPECT_EQ(testing::ReadText(tree_ / "stick/copy"), "through the link");
}

TEST_F(CopyFileTest, FailuresLeaveTheOldTargetAlone) {
  testing::WriteText(tree_ / "home/Documents/src", "new");
  testing::WriteText(tree_ / "stick/not_a_folder", "a file where a folder should be");
  testing::MakeFolder(tree_ / "stick/a_folder");
  testing::WriteText(tree_ / "stick/a_folder/kept", "kept");
  testing::WriteText(tree_ / "stick/target", "old");
  ASSERT_EQ(mkfifo((tree_ / "home/Documents/fifo").c_str(), 0644), 0);
  struct Case {
    const char* what;
    std::string source, target;
  } cases[] = {
      {"target folder is a file", docs_ + "\\src", "E:\\not_a_folder\\target"},
      {"target names a folder", docs_ + "\\src", "E:\\a_folder"},
      {"target folder missing", docs_ + "\\src", "E:\\missing\\target"},
      {"source missing", docs_ + "\\absent", "E:\\target"},
      {"source is a folder", docs_, "E:\\target"},
      // Opening a FIFO for reading would block until a writer comes: the
      // copy must refuse it before that, or this test never returns.
      {"source is a FIFO", docs_ + "\\fifo", "E:\\target"},
      {"target on an unknown drive", docs_ + "\\src", "Q:\\target"},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(platform_->CopyFile(c.source, c.target).ok()) << c.what;
  }
  EXPECT_EQ(testing::ReadText(tree_ / "stick/target"), "old");
  EXPECT_EQ(testing::ReadText(tree_ / "stick/not_a_folder"), "a file where a folder should be");
  EXPECT_EQ(testing::HostNames(tree_ / "stick/a_folder"), std::vector<std::string>{"kept"});
  EXPECT_EQ(testing::HostNames(tree_ / "stick"),
            (std::vector<std::string>{"a_folder", "not_a_folder", "target"}));
}

TEST_F(CopyFileTest, FullDiskKeepsTheOldTargetAndLeavesNoTemporary) {
  testing::MakeFolder(tree_ / "stick/small");
  testing::TinyTmpfs tmpfs(tree_ / "stick/small", 1 << 20);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  testing::WriteText(tree_ / "stick/small/target", "old");
  testing::WriteText(tree_ / "home/Documents/big", std::string(2 << 20, 'b'));
  const Status status = platform_->CopyFile(docs_ + "\\big", "E:\\small\\target");
  EXPECT_EQ(status.code, kErrorDiskFull) << status.message;
  EXPECT_EQ(testing::ReadText(tree_ / "stick/small/target"), "old");
  EXPECT_EQ(testing::HostNames(tree_ / "stick/small"), std::vector<std::string>{"target"});
}

}  // namespace
}  // namespace pellmar
