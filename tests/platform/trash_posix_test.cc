// The trash on real folders: the home trash and its records, the trash in
// the top folder of another mounted file system and the folders a stick may
// hold in its place, and failures that must leave the file where it was.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>

#include "platform/posix/trash.h"
#include "support/temp_folder.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

using ::testing::IsEmpty;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

ScopedFd OpenFolder(const std::string& path) {
  return ScopedFd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

Status PutFile(Trash& trash, const std::string& folder, const std::string& name,
               const std::string& original, std::string* trashed_as) {
  const ScopedFd fd = OpenFolder(folder);
  return trash.Put(fd.get(), folder, name, original, trashed_as);
}

// Writes to `path` until the disk is full.
void Fill(const std::string& path) {
  const ScopedFd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
  const std::string block(4096, 'f');
  while (write(fd.get(), block.data(), block.size()) > 0) {
  }
}

std::time_t RecordTime(const std::string& record) {
  const size_t at = record.find("DeletionDate=");
  std::tm local = {};
  if (at == std::string::npos || !strptime(record.c_str() + at + 13, "%Y-%m-%dT%T", &local)) {
    return -1;
  }
  local.tm_isdst = -1;
  return std::mktime(&local);
}

TEST(TrashPosixTest, HomeTrashHoldsTheFileUnderItsOwnNameAndARecordOfWhereItWas) {
  // A zone far from UTC shows a deletion time written in the wrong zone.
  setenv("TZ", "Asia/Kathmandu", 1);
  tzset();
  TempFolder tmp;
  Trash trash({tmp / "data/share", getuid()});
  const std::string long_stem(250, 'x');
  struct Case {
    std::string folder, scratch, original, trashed, escaped;
  } cases[] = {
      {"a", "report.txt", "report.txt", "report.txt", "report.txt"},
      // Moved aside under a scratch name; the second of a name shows its type.
      {"b", ".pellmar-x.tmp", "report.txt", "report.2.txt", "report.txt"},
      {"c", "odd", "a b%\xC3\xA9+.txt", "a b%\xC3\xA9+.txt", "a%20b%25%C3%A9%2B.txt"},
      // The record's name must fit in a folder entry too.
      {"d", "long", long_stem + ".txt", long_stem.substr(0, 241) + ".txt", long_stem + ".txt"},
  };
  for (const Case& c : cases) {
    const std::string folder = tmp / c.folder;
    WriteText(folder + "/" + c.scratch, "bytes of " + c.folder);
    std::string trashed_as;
    const Status status = PutFile(trash, folder, c.scratch, folder + "/" + c.original, &trashed_as);
    ASSERT_TRUE(status.ok()) << c.folder << ": " << status.message;
    EXPECT_EQ(trashed_as, tmp / "data/share/Trash/files/" + c.trashed) << c.folder;
    EXPECT_EQ(ReadText(trashed_as), "bytes of " + c.folder);
    EXPECT_FALSE(HostExists(folder + "/" + c.scratch)) << c.folder;
    const std::string record = ReadText(tmp / "data/share/Trash/info/" + c.trashed + ".trashinfo");
    EXPECT_THAT(record,
                StartsWith("[Trash Info]\nPath=" + folder + "/" + c.escaped + "\nDeletionDate="));
    EXPECT_THAT(record, MatchesRegex(".*=[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\n"));
    EXPECT_LE(std::abs(RecordTime(record) - std::time(nullptr)), 5) << record;
  }
  for (const char* level : {"data", "data/share/Trash", "data/share/Trash/info"}) {
    EXPECT_EQ(std::filesystem::status(tmp / level).permissions(), std::filesystem::perms(0700));
  }
  unsetenv("TZ");
  tzset();
}

// What a stick's top folder may hold where the trash would go, and which
// trash a file from it must end up in; empty: none may be used.
TEST(TrashPosixTest, TopFolderTrashIsTheSharedOneOnlyWhenSafeAndNeverFollowsALink) {
  const std::string uid = std::to_string(getuid());
  const auto sticky = [](const std::string& path) {
    MakeFolder(path);
    chmod(path.c_str(), 01777);
  };
  const auto link = [](const std::string& target, const std::string& path) {
    std::filesystem::create_directory_symlink(target, path);
  };
  struct Case {
    const char* setup;
    std::function<void(const std::string& stick, const std::string& outside)> make;
    std::string expected;
  } cases[] = {
      {"nothing", [](auto&, auto&) {}, ".Trash-" + uid},
      {"sticky .Trash", [&](auto& stick, auto&) { sticky(stick + "/.Trash"); }, ".Trash/" + uid},
      {".Trash without the sticky bit", [](auto& stick, auto&) { MakeFolder(stick + "/.Trash"); },
       ".Trash-" + uid},
      {".Trash a link to a sticky folder",
       [&](auto& stick, auto& outside) {
         sticky(outside);
         link(outside, stick + "/.Trash");
       },
       ".Trash-" + uid},
      {"sticky .Trash whose folder of this user is another's",
       [&](auto& stick, auto&) {
         sticky(stick + "/.Trash");
         MakeFolder(stick + "/.Trash/" + uid);
         ASSERT_EQ(chown((stick + "/.Trash/" + uid).c_str(), 4321, 4321), 0);
       },
       ".Trash-" + uid},
      {".Trash-uid a link",
       [&](auto& stick, auto& outside) { link(outside, stick + "/.Trash-" + uid); }, ""},
  };
  for (const Case& c : cases) {
    TempFolder tmp;
    const std::string stick = tmp / "stick", outside = tmp / "outside";
    MakeFolder(stick);
    MakeFolder(outside);
    TinyTmpfs tmpfs(stick, 1 << 20);
    if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
    c.make(stick, outside);
    WriteText(stick + "/proj/sub/f.txt", "data");
    Trash trash({tmp / "data", getuid()});
    std::string trashed_as;
    const Status status =
        PutFile(trash, stick + "/proj/sub", "f.txt", stick + "/proj/sub/f.txt", &trashed_as);
    EXPECT_THAT(HostNames(outside), IsEmpty()) << c.setup;
    if (c.expected.empty()) {
      EXPECT_FALSE(status.ok()) << c.setup;
      EXPECT_EQ(ReadText(stick + "/proj/sub/f.txt"), "data") << c.setup;
      continue;
    }
    ASSERT_TRUE(status.ok()) << c.setup << ": " << status.message;
    EXPECT_EQ(trashed_as, stick + "/" + c.expected + "/files/f.txt") << c.setup;
    EXPECT_EQ(ReadText(trashed_as), "data") << c.setup;
    EXPECT_THAT(ReadText(stick + "/" + c.expected + "/info/f.txt.trashinfo"),
                StartsWith("[Trash Info]\nPath=proj/sub/f.txt\n"))
        << c.setup;
  }
}

// A trash that cannot take the file at the last step: its record is made
// and must go again, and the file must stay.
TEST(TrashPosixTest, FailedPutLeavesTheFileInPlaceAndNoRecord) {
  const std::string trash_folder = ".Trash-" + std::to_string(getuid());
  for (const std::string fault : {"full disk", "read-only disk", "file is a mount point"}) {
    TempFolder tmp;
    const std::string stick = tmp / "stick";
    MakeFolder(stick);
    TinyTmpfs tmpfs(stick, 64 << 10);
    if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
    WriteText(stick + "/f.txt", "data");
    WriteText(tmp / "other", "other");
    Trash trash({tmp / "data", getuid()});
    const ScopedFd folder = OpenFolder(stick);
    ASSERT_TRUE(trash.Ready(folder.get(), stick).ok()) << fault;
    if (fault == "full disk") Fill(stick + "/filler");
    if (fault == "read-only disk") {
      ASSERT_EQ(mount(nullptr, stick.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    }
    const bool bound =
        fault == "file is a mount point" &&
        mount((tmp / "other").c_str(), (stick + "/f.txt").c_str(), nullptr, MS_BIND, nullptr) == 0;
    std::string trashed_as;
    const Status status = trash.Put(folder.get(), stick, "f.txt", stick + "/f.txt", &trashed_as);
    if (bound) umount2((stick + "/f.txt").c_str(), MNT_DETACH);
    EXPECT_FALSE(status.ok()) << fault;
    EXPECT_EQ(ReadText(stick + "/f.txt"), "data") << fault;
    EXPECT_THAT(HostNames(stick + "/" + trash_folder + "/info"), IsEmpty()) << fault;
    EXPECT_THAT(HostNames(stick + "/" + trash_folder + "/files"), IsEmpty()) << fault;
  }
}

TEST(TrashPosixTest, PlacesFromTheEnvironmentIgnoreARelativeDataFolder) {
  const char* old_home = std::getenv("HOME");
  const char* old_data_home = std::getenv("XDG_DATA_HOME");
  const std::string saved_home = old_home ? old_home : "";
  const std::string saved_data_home = old_data_home ? old_data_home : "";
  setenv("HOME", "/home/ann", 1);
  const struct {
    const char* xdg_data_home;
    const char* expected;
  } cases[] = {
      {nullptr, "/home/ann/.local/share"},
      {"relative/share", "/home/ann/.local/share"},
      {"/srv/share/", "/srv/share"},
  };
  for (const auto& c : cases) {
    if (c.xdg_data_home)
      setenv("XDG_DATA_HOME", c.xdg_data_home, 1);
    else
      unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(TrashPlacesFromEnvironment().data_home, c.expected) << c.expected;
  }
  setenv("HOME", saved_home.c_str(), 1);
  if (old_data_home)
    setenv("XDG_DATA_HOME", saved_data_home.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace pellmar
