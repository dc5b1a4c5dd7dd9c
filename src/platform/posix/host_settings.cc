// Reading the user's folders from the environment and from user-dirs.dirs.
#include "platform/posix/host_settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace pellmar {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

struct Account {
  std::string name;
  std::string home;
};

Account CurrentAccount() {
  Account account;
  struct passwd entry;
  struct passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
    account.name = found->pw_name;
    account.home = found->pw_dir;
  }
  return account;
}

// One value of user-dirs.dirs: a double-quoted shell word that may start
// with $HOME. Backslash escapes the next character, as the shell would.
std::string ExpandUserDirsValue(const std::string& raw, const std::string& home) {
  std::string value = raw;
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  std::string unescaped;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    unescaped += value[i];
  }
  for (const char* variable : {"${HOME}", "$HOME"}) {
    const std::string name(variable);
    if (unescaped.compare(0, name.size(), name) == 0) return home + unescaped.substr(name.size());
  }
  return unescaped;
}

std::string DocumentsFromUserDirs(const std::string& config_home, const std::string& home) {
  std::ifstream file(config_home + "/user-dirs.dirs");
  const std::string key = "XDG_DOCUMENTS_DIR=";
  std::string line;
  while (std::getline(file, line)) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
    size_t end = line.find_last_not_of(" \t\r");
    return ExpandUserDirsValue(line.substr(start + key.size(), end + 1 - start - key.size()), home);
  }
  return "";
}

}  // namespace

std::string FindDocumentsFolder(const std::string& home, const std::string& config_home,
                                const std::string& xdg_documents_dir) {
  if (!xdg_documents_dir.empty() && xdg_documents_dir[0] == '/') {
    return WithoutTrailingSlash(xdg_documents_dir);
  }
  const std::string from_file = DocumentsFromUserDirs(config_home, home);
  if (!from_file.empty() && from_file[0] == '/') return WithoutTrailingSlash(from_file);
  return (home == "/" ? "" : WithoutTrailingSlash(home)) + "/Documents";
}

HostSettings HostSettingsFromEnvironment() {
  const Account account = CurrentAccount();
  HostSettings settings;
  settings.home = Environment("HOME");
  if (settings.home.empty() || settings.home[0] != '/') settings.home = account.home;
  if (settings.home.empty()) settings.home = "/";
  settings.home = WithoutTrailingSlash(settings.home);
  settings.config_home = Environment("XDG_CONFIG_HOME");
  // Relative XDG folders are to be ignored, as the base-directory rules say.
  if (settings.config_home.empty() || settings.config_home[0] != '/') {
    settings.config_home = (settings.home == "/" ? "" : settings.home) + "/.config";
  }
  settings.config_home = WithoutTrailingSlash(settings.config_home);
  settings.data_home = Environment("XDG_DATA_HOME");
  if (settings.data_home.empty() || settings.data_home[0] != '/') {
    settings.data_home = (settings.home == "/" ? "" : settings.home) + "/.local/share";
  }
  settings.data_home = WithoutTrailingSlash(settings.data_home);
  settings.state_home = Environment("XDG_STATE_HOME");
  if (settings.state_home.empty() || settings.state_home[0] != '/') settings.state_home.clear();
  settings.state_home = WithoutTrailingSlash(settings.state_home);
  settings.documents =
      FindDocumentsFolder(settings.home, settings.config_home, Environment("XDG_DOCUMENTS_DIR"));
  settings.drive_overrides = Environment("PELLMAR_DRIVES");
  std::string user = Environment("USER");
  if (user.empty()) user = account.name;
  if (!user.empty() && user.find('/') == std::string::npos) {
    settings.media_roots = {"/media/" + user, "/run/media/" + user};
  }
  settings.media_roots.push_back("/media");
  settings.media_roots.push_back("/mnt");
  return settings;
}

}  // namespace pellmar
