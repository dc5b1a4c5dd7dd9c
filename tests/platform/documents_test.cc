// Where the Documents folder comes from: the environment, user-dirs.dirs,
// or the default beside the home folder.
#include <gtest/gtest.h>

#include "platform/posix/host_settings.h"
#include "temp_tree_util.h"

namespace pellmar {
namespace {

TEST(DocumentsFolderTest, EnvironmentThenUserDirsThenDefault) {
  testing::TempTree tree;
  const std::string home = tree / "home";
  const std::string config = tree / "config";
  testing::MakeFolder(config);
  EXPECT_EQ(FindDocumentsFolder(home, config, ""), home + "/Documents");
  EXPECT_EQ(FindDocumentsFolder(home, config, "relative/ignored"), home + "/Documents");
  struct Case {
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
  for (const Case& c : cases) {
    testing::WriteText(config + "/user-dirs.dirs", c.file);
    EXPECT_EQ(FindDocumentsFolder(home, config, ""), c.expected) << c.file;
  }
  EXPECT_EQ(FindDocumentsFolder(home, config, "/from/env/"), "/from/env");
}

TEST(DocumentsFolderTest, EnvironmentReachesTheHostSettings) {
  testing::TempTree tree;
  setenv("HOME", (tree / "h").c_str(), 1);
  setenv("XDG_CONFIG_HOME", "relative", 1);
  setenv("XDG_DOCUMENTS_DIR", (tree / "docs").c_str(), 1);
  setenv("PELLMAR_DRIVES", "E:=/x", 1);
  const HostSettings settings = HostSettingsFromEnvironment();
  EXPECT_EQ(settings.home, tree / "h");
  EXPECT_EQ(settings.config_home, tree / "h/.config");
  EXPECT_EQ(settings.documents, tree / "docs");
  EXPECT_EQ(settings.drive_overrides, "E:=/x");
}

}  // namespace
}  // namespace pellmar
