// The Windows namespace on Linux: path parsing, the mount table, the drive
// table in both directions, where the Documents folder comes from, the
// platform's mapping of it all, host names it cannot spell, and what the
// free-space query answers for roots only a mapping has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/posix/drive_table.h"
#include "platform/posix/host_settings.h"
#include "platform/posix/mount_table.h"
#include "platform/posix/namespace_path.h"
#include "platform/posix/posix_platform.h"
#include "platform_fixture.h"
#include "support/tiny_tmpfs.h"

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

TEST(DriveTableTest, ParsesOverrides) {
  const auto overrides =
      ParseDriveOverrides("E:=/srv/e;f=rel;;bad;1:=/x;G:\\=/g;\\\\s\\sh=/s;H:=", "/work");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"E:", "/srv/e"}, {"F:", "/work/rel"}, {"G:", "/g"}, {"\\\\s\\sh", "/s"}};
  EXPECT_EQ(overrides, expected);
}

TEST(DocumentsFolderTest, EnvironmentThenUserDirsThenDefault) {
  TempFolder tree;
  const std::string home = tree / "home", config = tree / "config";
  EXPECT_EQ(FindDocumentsFolder(home, config, ""), home + "/Documents") << "no user-dirs.dirs";
  EXPECT_EQ(FindDocumentsFolder(home, config, "relative/ignored"), home + "/Documents");
  const struct {
    const char* file;
    std::string expected;
  } cases[] = {
      {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
       home + "/Dokumente"},
      {"  XDG_DOCUMENTS_DIR=\"${HOME}/My \\\"Docs\\\"\"  \r\n", home + "/My \"Docs\""},
      {"XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n", "/srv/docs"},
      {"XDG_DOCUMENTS_DIR=\"not/absolute\"\n", home + "/Documents"},
      {"XDG_DOCUMENTS_DIRX=\"/wrong/key\"\n", home + "/Documents"},
  };
  for (const auto& c : cases) {
    WriteText(config + "/user-dirs.dirs", c.file);
    EXPECT_EQ(FindDocumentsFolder(home, config, ""), c.expected) << c.file;
  }
  EXPECT_EQ(FindDocumentsFolder(home, config, "/from/env/"), "/from/env");
}

TEST(DocumentsFolderTest, EnvironmentReachesTheHostSettings) {
  // The environment a child of the tests gets, set here for one call; a
  // relative XDG_CONFIG_HOME counts as unset.
  TestNamespace ns;
  const char* home = std::getenv("HOME");
  const std::string own_home = home ? home : "";
  std::vector<std::string> environment = ns.Environment();
  environment.push_back("XDG_CONFIG_HOME=relative");
  for (const std::string& variable : environment) putenv(const_cast<char*>(variable.c_str()));
  const HostSettings settings = HostSettingsFromEnvironment();
  for (const std::string& variable : environment) {
    unsetenv(variable.substr(0, variable.find('=')).c_str());
  }
  if (!own_home.empty()) setenv("HOME", own_home.c_str(), 1);
  EXPECT_EQ(settings.home, ns.home());
  EXPECT_EQ(settings.config_home, ns.home() + "/.config");
  EXPECT_EQ(settings.documents, ns.documents());
  EXPECT_EQ("PELLMAR_DRIVES=" + settings.drive_overrides, ns.Environment().back());
}

// A platform with a stick at F: and a mapped G: whose folder is missing.
TEST_F(PlatformTest, UnmountedMediumReachesNothingAndComesBackAtItsLetter) {
  const std::string mounted = "/dev/sdz1 " + (ns_ / "media/STICK") + " vfat rw 0 0\n";
  MakeFolder(ns_ / "media/STICK");
  WriteText(ns_ / "mounts", mounted);
  HostSettings settings = TreeSettings(ns_);
  settings.drive_overrides += ";G:=" + (ns_ / "missing") + ";\\\\srv\\share=" + Stick("");
  std::unique_ptr<Platform> platform = NewPosixPlatform(settings);
  ASSERT_EQ(platform->HostPath("F:\\x"), ns_ / "media/STICK/x");
  const std::vector<DriveMapping> drives = platform->Drives();
  ASSERT_EQ(drives.size(), 5u);
  const struct {
    const char* drive;
    const char* origin;
    bool mounted;
  } expected[] = {{"C:", "system", true},
                  {"E:", "PELLMAR_DRIVES", true},
                  {"F:", "mount table", true},
                  {"G:", "PELLMAR_DRIVES", false},
                  {"\\\\srv\\share", "PELLMAR_DRIVES", true}};
  for (size_t i = 0; i < drives.size(); ++i) {
    EXPECT_EQ(drives[i].drive, expected[i].drive) << i;
    EXPECT_EQ(drives[i].origin, expected[i].origin) << drives[i].drive;
    EXPECT_EQ(drives[i].mounted, expected[i].mounted) << drives[i].drive;
  }

  // The stick is pulled: the mount table no longer lists it, and its mount
  // point is a bare folder of its own.
  WriteText(ns_ / "mounts", "");
  ASSERT_EQ(rename((ns_ / "media/STICK").c_str(), (ns_ / "media/STICK-medium").c_str()), 0);
  MakeFolder(ns_ / "media/STICK");
  EXPECT_FALSE(platform->Drives()[2].mounted);
  EXPECT_FALSE(platform->HostPath("F:\\x"));
  EXPECT_FALSE(platform->FolderExists("F:\\"));
  FolderHandle held;
  const struct {
    const char* what;
    Status status;
  } writes[] = {
      {"CreateFolder", platform->CreateFolder("F:\\new")},
      {"ForceFolders", platform->ForceFolders("F:\\a\\b")},
      {"WriteWholeFile", platform->WriteWholeFile("F:\\f.ini", "x")},
      {"OpenFolderAt", platform->OpenFolderAt("F:\\", &held)},
  };
  for (const auto& w : writes) EXPECT_EQ(w.status.code, kErrorNotReady) << w.what;
  EXPECT_TRUE(HostNames(ns_ / "media/STICK").empty());
  // What the free-space query answers for each kind of root, F: pulled.
  const struct {
    const char* root;
    uint32_t code;
  } cases[] = {{"E:", kErrorSuccess},
               {"\\\\srv\\share", kErrorSuccess},
               {"\\\\srv\\share\\", kErrorSuccess},
               {"D:\\", kErrorInvalidDrive},
               {"F:", kErrorNotReady},
               {"G:", kErrorNotReady},
               {"\\\\other\\share", kErrorBadNetPath}};
  for (const auto& c : cases) {
    uint64_t free_bytes = 12345;
    const Status status = platform->FreeSpace(c.root, &free_bytes);
    EXPECT_EQ(status.code, c.code) << "root \"" << c.root << "\"";
    EXPECT_EQ(free_bytes > 0, c.code == kErrorSuccess) << "root \"" << c.root << "\"";
  }
  EXPECT_EQ(platform->SetErrorMode(1), 0u);
  EXPECT_EQ(platform->SetErrorMode(0x8001), 1u) << "gives the previous mode back";
  WriteText(ns_ / "mounts", mounted);  // plugged in again at the same place
  EXPECT_EQ(platform->HostPath("F:\\x"), ns_ / "media/STICK/x");
}

TEST_F(PlatformTest, ListingReportsNamesWithoutNamespaceSpelling) {
  WriteText(Stick("back\\slash"), "");
  WriteText(Stick("co:lon"), "");
  WriteText(Stick("fine"), "");
  const FolderListing listing = platform_->ListFolder("E:\\*");
  EXPECT_EQ(listing.entries.size(), 3u) << "\".\", \"..\" and fine";
  std::vector<std::string> unnamable = listing.unnamable;
  std::sort(unnamable.begin(), unnamable.end());
  EXPECT_EQ(unnamable, (std::vector<std::string>{Stick("back\\slash"), Stick("co:lon")}));
}

TEST_F(PlatformTest, FreeSpaceCountsBeyondThirtyTwoBits) {
  MakeFolder(Stick("small"));
  // tmpfs takes memory only for what is written, so 8 GiB costs nothing.
  TinyTmpfs tmpfs(Stick("small"), size_t{8} << 30);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  HostSettings settings = TreeSettings(ns_);
  settings.drive_overrides = "E:=" + Stick("small");
  uint64_t free_bytes = 0;
  ASSERT_TRUE(NewPosixPlatform(settings)->FreeSpace("E:", &free_bytes).ok());
  EXPECT_EQ(free_bytes, uint64_t{8} << 30);
}

TEST_F(PlatformTest, AFolderMappedOnItsOwnIsFoundBesideTheFilesOfItsParent) {
  // Files of one folder are mapped through that folder once it is known;
  // the settings folder beside Documents must still take its own mapping.
  const std::string parent = docs_.substr(0, docs_.rfind('\\'));
  ASSERT_EQ(platform_->HostPath(parent + "\\other.txt"), ns_.home() + "/other.txt");
  EXPECT_EQ(platform_->HostPath(parent + "\\application data"), ns_.config());
  EXPECT_EQ(platform_->HostPath(parent + "\\Application Data\\Pellmar.ini"),
            ns_.config() + "/Pellmar.ini");
}

}  // namespace
}  // namespace pellmar
