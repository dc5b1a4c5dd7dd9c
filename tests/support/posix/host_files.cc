// What the test support does the POSIX way: removing a temp folder that may
// hold links and read-only folders, and setting a file's write time.
#include <fcntl.h>
#include <ftw.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "support/temp_folder.h"

namespace pellmar {
namespace {

int RemoveOne(const char* path, const struct stat*, int type, struct FTW*) {
  // A folder a test left read-only must still go.
  if (type == FTW_DP) chmod(path, 0700);
  return remove(path);
}

}  // namespace

TempFolder::~TempFolder() { nftw(path_.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT); }

void SetLocalWriteTime(const std::string& host_path, const LocalDateTime& when) {
  const std::time_t seconds = LocalSeconds(when);
  const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  EXPECT_EQ(utimensat(AT_FDCWD, host_path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << host_path;
}

}  // namespace pellmar
