// The Windows namespace on the host: path parsing, the mount table, the
// drive table in both directions, and the platform's mapping of it all.
#include <gtest/gtest.h>

#include "platform/posix/drive_table.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/namespace_path.h"
#include "platform/posix/posix_platform.h"
#include "temp_tree_util.h"

namespace pellmar {
namespace {

TEST(NamespacePathTest, ParsesRootsAndAppliesDots) {
  struct Case {
    const char* path;
    const char* root;
    std::vector<std::string> components;
  } cases[] = {
      {"C:\\", "C:", {}},
      {"e:\\Backup\\x.txt", "E:", {"Backup", "x.txt"}},
      {"E:/mixed\\seps/", "E:", {"mixed", "seps"}},
      {"E:\\a\\..\\..\\..\\b", "E:", {"b"}},  // never above the root
      {"E:\\a\\.\\b\\\\c", "E:", {"a", "b", "c"}},
      {"\\\\srv\\share\\dir", "\\\\srv\\share", {"dir"}},
      {"\\top", "C:", {"top"}},
      {"rel\\..\\..\\up", "", {"..", "up"}},
  };
  for (const Case& c : cases) {
    std::optional<NamespacePathParts> parts = ParseNamespacePath(c.path);
    ASSERT_TRUE(parts) << c.path;
    EXPECT_EQ(parts->root, c.root) << c.path;
    EXPECT_EQ(parts->components, c.components) << c.path;
  }
  for (const char* bad : {"E:\\a:b", "\\\\srv", "\\\\srv\\", "\\\\?\\C:\\x", "ab:c"}) {
    EXPECT_FALSE(ParseNamespacePath(bad)) << bad;
  }
  EXPECT_FALSE(ParseNamespacePath(std::string("E:\\a\0b", 6)));
}

TEST(MountTableTest, DecodesEscapesAndPicksMediaInOrder) {
  const std::vector<MountEntry> mounts = ParseMountTable(
      "/dev/vda / ext4 rw 0 0\n"
      "tmpfs /mnt/scratch tmpfs rw 0 0\n"
      "/dev/sdc1 /media/ann/Z\\040STICK vfat rw 0 0\n"
      "/dev/sdb1 /media/ann/CARD exfat rw 0 0\n"
      "/dev/sdb1 /media/ann/CARD exfat rw 0 0\n"
      "/dev/sdd1 /mnt/back\\134slash ext4 rw 0 0\n"
      "/dev/sde1 /media ext4 rw 0 0\n"
      "/dev/sdf1 /home/ann/elsewhere ext4 rw 0 0\n"
      "short line\n");
  ASSERT_GE(mounts.size(), 3u);
  EXPECT_EQ(mounts[2].mount_point, "/media/ann/Z STICK");
  EXPECT_EQ(
      RemovableMountPoints(mounts, {"/media/ann", "/run/media/ann", "/media", "/mnt"}),
      (std::vector<std::string>{"/media/ann/CARD", "/media/ann/Z STICK", "/mnt/back\\slash"}));
  EXPECT_TRUE(IsMounted(mounts, "/media/ann/CARD"));
  EXPECT_FALSE(IsMounted(mounts, "/media/ann"));
}

TEST(DriveTableTest, MapsBothWaysByLongestPrefix) {
  DriveTable table;
  table.MapRoot("C:", "/", MappingOrigin::kSystem);
  table.MapRoot("E:", "/media/ann/STICK", MappingOrigin::kEnvironment);
  table.MapRoot("\\\\srv\\share", "/net/share", MappingOrigin::kEnvironment);
  table.MapFolder(*ParseNamespacePath("C:\\home\\ann\\Application Data"), "/home/ann/.config");
  struct RoundTrip {
    const char* name_space;
    const char* host;
  } trips[] = {
      {"C:\\", "/"},
      {"C:\\home\\ann\\Documents\\a b", "/home/ann/Documents/a b"},
      {"C:\\home\\ann\\Application Data\\Pellmar.ini", "/home/ann/.config/Pellmar.ini"},
      {"C:\\home\\ann\\Application Data", "/home/ann/.config"},
      {"E:\\", "/media/ann/STICK"},
      {"E:\\Backup\\Proj", "/media/ann/STICK/Backup/Proj"},
      {"\\\\srv\\share\\d", "/net/share/d"},
  };
  for (const RoundTrip& t : trips) {
    std::optional<ResolvedPath> host = table.ToHost(*ParseNamespacePath(t.name_space));
    ASSERT_TRUE(host) << t.name_space;
    EXPECT_EQ(host->host, t.host) << t.name_space;
    EXPECT_EQ(table.ToNamespace(t.host), t.name_space) << t.host;
  }
  // Either case of the drive letter and of the mapped folder reaches the same place.
  EXPECT_EQ(table.ToHost(*ParseNamespacePath("e:\\x"))->host, "/media/ann/STICK/x");
  EXPECT_EQ(table.ToHost(*ParseNamespacePath("c:\\HOME\\ANN\\application data\\x"))->host,
            "/home/ann/.config/x");
  EXPECT_FALSE(table.ToHost(*ParseNamespacePath("Q:\\x")));
  EXPECT_FALSE(table.ToNamespace("/tmp/back\\slash"));
  EXPECT_FALSE(table.ToNamespace("/tmp/co:lon/x"));
  EXPECT_FALSE(table.ToNamespace("relative/path"));
  EXPECT_EQ(table.ToNamespace("/media/ann/STICK2"), "C:\\media\\ann\\STICK2");
}

TEST(DriveTableTest, MediaTakeFreeLettersAndKeepThem) {
  DriveTable table;
  table.MapRoot("E:", "/srv/mine", MappingOrigin::kEnvironment);
  table.AssignMediaLetters({"/media/a", "/media/b"});
  table.AssignMediaLetters({"/media/b", "/media/0new"});
  EXPECT_EQ(table.FindRoot("E:")->HostRootText(), "/srv/mine");
  EXPECT_EQ(table.FindRoot("F:")->HostRootText(), "/media/a");
  EXPECT_EQ(table.FindRoot("G:")->HostRootText(), "/media/b");
  EXPECT_EQ(table.FindRoot("H:")->HostRootText(), "/media/0new");
}

TEST(DriveTableTest, ParsesOverrides) {
  const auto overrides =
      ParseDriveOverrides("E:=/srv/e;f=rel;;bad;1:=/x;G:\\=/g;\\\\s\\sh=/s;H:=", "/work");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"E:", "/srv/e"}, {"F:", "/work/rel"}, {"G:", "/g"}, {"\\\\s\\sh", "/s"}};
  EXPECT_EQ(overrides, expected);
}

class PlatformNamespaceTest : public ::testing::Test {
 protected:
  testing::TempTree tree_;
  std::unique_ptr<Platform> platform_ = testing::TreePlatform(tree_);
};

TEST_F(PlatformNamespaceTest, DocumentsAndApplicationDataLieSideBySide) {
  const std::string documents = platform_->DocumentsFolder();
  EXPECT_EQ(platform_->HostPath(documents), tree_ / "home/Documents");
  const std::string app_data = documents.substr(0, documents.rfind('\\') + 1) + "Application Data";
  EXPECT_TRUE(platform_->FolderExists(app_data));  // created on the way in
  EXPECT_EQ(platform_->HostPath(app_data + "\\Pellmar.ini"), tree_ / "home/.config/Pellmar.ini");
  EXPECT_EQ(platform_->NamespacePath(tree_ / "home/.config/Pellmar.ini"),
            app_data + "\\Pellmar.ini");
}

TEST_F(PlatformNamespaceTest, ExecutablePathMapsBack) {
  const std::string exe = platform_->ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_TRUE(platform_->FileExists(exe)) << exe;
}

TEST_F(PlatformNamespaceTest, UnmountedMediumReachesNothing) {
  testing::MakeFolder(tree_ / "media/STICK");
  testing::WriteText(tree_ / "mounts", "/dev/sdz1 " + (tree_ / "media/STICK") + " vfat rw 0 0\n");
  std::unique_ptr<Platform> platform = testing::TreePlatform(tree_);
  ASSERT_EQ(platform->HostPath("F:\\x"), tree_ / "media/STICK/x");
  testing::WriteText(tree_ / "mounts", "");  // the stick is pulled
  EXPECT_FALSE(platform->HostPath("F:\\x"));
  EXPECT_FALSE(platform->FolderExists("F:\\"));
  struct Write {
    const char* what;
    Status status;
  } writes[] = {
      {"CreateFolder", platform->CreateFolder("F:\\new")},
      {"ForceFolders", platform->ForceFolders("F:\\a\\b")},
      {"ReplaceFile", platform->ReplaceFile("F:\\f.ini", "x")},
      {"CopyFile", platform->CopyFile(platform->DocumentsFolder(), "F:\\copy")},
      {"DeleteFile", platform->DeleteFile("F:\\f.ini")},
      {"RemoveFolder", platform->RemoveFolder("F:\\new")},
  };
  for (const Write& w : writes) EXPECT_EQ(w.status.code, kErrorNotReady) << w.what;
  EXPECT_TRUE(testing::HostNames(tree_ / "media/STICK").empty());
  // Plugged in again at the same place, it comes back at the same letter.
  testing::WriteText(tree_ / "mounts", "/dev/sdz1 " + (tree_ / "media/STICK") + " vfat rw 0 0\n");
  EXPECT_EQ(platform->HostPath("F:\\x"), tree_ / "media/STICK/x");
}

TEST_F(PlatformNamespaceTest, DrivesListEveryLetterWithItsState) {
  testing::MakeFolder(tree_ / "media/CARD");
  testing::WriteText(tree_ / "mounts", "/dev/sdz1 " + (tree_ / "media/CARD") + " exfat rw 0 0\n");
  HostSettings settings = testing::TreeSettings(tree_);
  settings.drive_overrides += ";G:=" + (tree_ / "missing");
  std::unique_ptr<Platform> platform = NewPosixPlatform(settings);
  const std::vector<DriveMapping> drives = platform->Drives();
  ASSERT_EQ(drives.size(), 4u);
  EXPECT_EQ(drives[0].drive, "C:");
  EXPECT_EQ(drives[1].drive, "E:");
  EXPECT_EQ(drives[1].origin, "PELLMAR_DRIVES");
  EXPECT_TRUE(drives[1].mounted);
  EXPECT_EQ(drives[2].drive, "F:");
  EXPECT_EQ(drives[2].host_path, tree_ / "media/CARD");
  EXPECT_EQ(drives[2].origin, "mount table");
  EXPECT_EQ(drives[3].drive, "G:");
  EXPECT_FALSE(drives[3].mounted);
}

}  // namespace
}  // namespace pellmar
