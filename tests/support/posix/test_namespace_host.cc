// The temp namespace on Linux: the POSIX platform is made from host
// settings of the namespace's own; the same settings reach a child process
// as its environment.
#include <gtest/gtest.h>

#include "platform/posix/posix_platform.h"
#include "support/posix/tree_platform.h"
#include "support/test_namespace.h"

namespace pellmar {

TestNamespace::TestNamespace(const std::string& inserted) {
  for (const std::string& folder : {documents(), config(), program_dir()}) MakeFolder(folder);
  for (char letter : inserted) InsertDrive(letter);
  variables_ = {{"HOME", home()},
                {"XDG_CONFIG_HOME", config()},
                {"XDG_DOCUMENTS_DIR", documents()},
                {"PELLMAR_DRIVES", Drives()}};
  platform_ = NewPlatform();
}

std::string TestNamespace::Drives() const {
  return "A:=" + drive('A') + ";E:=" + drive('E') + ";F:=" + drive('F');
}

std::unique_ptr<Platform> TestNamespace::NewPlatform() const {
  HostSettings settings = TreeSettings(*this);
  settings.drive_overrides = Drives();
  return NewPosixPlatform(settings);
}

TestNamespace::~TestNamespace() = default;

std::string TestNamespace::config() const { return *this / "home/.config"; }

std::vector<std::string> TestNamespace::Environment() const {
  std::vector<std::string> environment;
  for (const auto& [name, value] : variables_) environment.push_back(name + "=" + value);
  return environment;
}

HostSettings TreeSettings(const TestNamespace& ns) {
  MakeFolder(ns / "media");
  if (!HostExists(ns / "mounts")) WriteText(ns / "mounts", "");
  HostSettings settings;
  settings.home = ns.home();
  settings.config_home = ns.config();
  settings.data_home = ns.home() + "/.local/share";
  settings.documents = ns.documents();
  settings.drive_overrides = "E:=" + ns.drive('E');
  settings.mounts_file = ns / "mounts";
  settings.media_roots = {ns / "media"};
  return settings;
}

std::unique_ptr<Platform> TreePlatform(const TestNamespace& ns) {
  return NewPosixPlatform(TreeSettings(ns));
}

std::string ThroughHostRoot(const std::string& host_path) {
  std::string path = "C:" + host_path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

}  // namespace pellmar
