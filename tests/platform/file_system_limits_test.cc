// What a folder's file system cannot hold, as every platform tells it, and
// as the dry run passes it on: a plan must leave out just what its run
// would. A real FAT medium: tests/reliability/fat_test.sh.
#include <gtest/gtest.h>

#include "platform/dry_run_platform.h"
#include "platform/forwarding_platform.h"
#include "support/namespace_fixture.h"

namespace pellmar {
namespace {

constexpr FileSystemLimits kFat{(int64_t{1} << 32) - 1, true};

class FatPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  FileSystemLimits LimitsAt(OpenFolder&) override { return kFat; }
};

TEST(FileSystemLimitsTest, TheDiskTestsRunOnHoldsFilesOfAnySize) {
  TestNamespace ns;
  FolderHandle documents;
  ASSERT_TRUE(ns.platform().OpenFolderAt(ns.platform().DocumentsFolder(), &documents).ok());
  EXPECT_EQ(ns.platform().LimitsAt(*documents).max_file_size, 0);
}

// A folder the dry run would have made lies on the file system of its parent.
TEST(FileSystemLimitsTest, DryRunSeesTheLimitsOfTheFoldersItWouldMake) {
  TestNamespace ns;
  FatPlatform fat(ns.platform());
  DryRunPlatform dry(fat);
  FolderHandle documents, made, deeper;
  ASSERT_TRUE(dry.OpenFolderAt(dry.DocumentsFolder(), &documents).ok());
  ASSERT_TRUE(dry.MakeChildFolder(*documents, "new", &made).ok());
  ASSERT_TRUE(dry.MakeChildFolder(*made, "deeper", &deeper).ok());
  for (OpenFolder* folder : {documents.get(), made.get(), deeper.get()}) {
    SCOPED_TRACE(folder->path());
    EXPECT_EQ(dry.LimitsAt(*folder).max_file_size, kFat.max_file_size);
    EXPECT_TRUE(dry.LimitsAt(*folder).windows_names);
  }
}

}  // namespace
}  // namespace pellmar
