// The temp namespace: its folders, its environment and its settings file.
#include "support/test_namespace.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/posix/posix_platform.h"

namespace pellmar {

TestNamespace::TestNamespace(const std::string& inserted) {
  for (const std::string& folder : {documents(), config(), program_dir()}) MakeFolder(folder);
  for (char letter : inserted) InsertDrive(letter);
  variables_ = {{"HOME", home()},
                {"XDG_CONFIG_HOME", config()},
                {"XDG_DOCUMENTS_DIR", documents()},
                {"PELLMAR_DRIVES", "A:=" + drive('A') + ";E:=" + drive('E') + ";F:=" + drive('F')}};
  for (const auto& [name, value] : variables_) {
    const char* old = std::getenv(name.c_str());
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    setenv(name.c_str(), value.c_str(), 1);
  }
  platform_ = NewHostPlatform();
}

TestNamespace::~TestNamespace() {
  for (const auto& [name, value] : saved_) {
    if (value) {
      setenv(name.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name.c_str());
    }
  }
}

std::string TestNamespace::drive(char letter, const std::string& below) const {
  const std::string folder = *this / ("drives/" + std::string(1, letter));
  return below.empty() ? folder : folder + "/" + below;
}

std::string TestNamespace::Ns(const std::string& host_path) {
  const std::optional<std::string> path = platform_->NamespacePath(host_path);
  EXPECT_TRUE(path.has_value()) << "no namespace path for " << host_path;
  return path.value_or("");
}

std::vector<std::string> TestNamespace::Environment() const {
  std::vector<std::string> environment;
  for (const auto& [name, value] : variables_) environment.push_back(name + "=" + value);
  return environment;
}

void TestNamespace::WriteSettings(const std::string& ini) const {
  std::string crlf;
  for (char c : ini) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  WriteText(settings_file(), crlf);
}

void TestNamespace::WriteEntries(const std::vector<std::string>& projects,
                                 const std::string& removable, const std::string& extra) {
  std::string ini = "[Setting]\n";
  for (size_t i = 0; i < projects.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    ini += "SyncItem" + n + "=" + Ns(projects[i]) + "\nPath in mobile disk" + n + "=" + removable +
           "\nUseZip" + n + "=0\n";
  }
  WriteSettings(ini + extra);
}

HostSettings TreeSettings(const TestNamespace& ns) {
  MakeFolder(ns / "media");
  if (!HostExists(ns / "mounts")) WriteText(ns / "mounts", "");
  HostSettings settings;
  settings.home = ns.home();
  settings.config_home = ns.config();
  settings.documents = ns.documents();
  settings.drive_overrides = "E:=" + ns.drive('E');
  settings.mounts_file = ns / "mounts";
  settings.media_roots = {ns / "media"};
  return settings;
}

std::unique_ptr<Platform> TreePlatform(const TestNamespace& ns) {
  return NewPosixPlatform(TreeSettings(ns));
}

}  // namespace pellmar
