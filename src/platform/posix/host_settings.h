// Where this user's folders are on the host and which mappings the user
// asked for: gathered once from the environment, or given directly by tests.
#ifndef PELLMAR_PLATFORM_POSIX_HOST_SETTINGS_H_
#define PELLMAR_PLATFORM_POSIX_HOST_SETTINGS_H_

#include <string>
#include <vector>

namespace pellmar {

struct HostSettings {
  std::string home;             // the user's home folder
  std::string config_home;      // $XDG_CONFIG_HOME, else home/.config
  std::string data_home;        // $XDG_DATA_HOME, else home/.local/share: the home trash's
  std::string state_home;       // $XDG_STATE_HOME; empty: home/.local/state
  std::string documents;        // host path of the Documents folder
  std::string drive_overrides;  // the text of PELLMAR_DRIVES
  std::string mounts_file = "/proc/self/mounts";
  std::string dev_disk = "/dev/disk";  // udev's links to the devices, by UUID and label
  // Folders below which a mounted file system counts as a removable medium.
  std::vector<std::string> media_roots;
};

/// Settings from the process environment and the user's desktop files.
HostSettings HostSettingsFromEnvironment();

/// The Documents folder: `xdg_documents_dir` when absolute, else the
/// XDG_DOCUMENTS_DIR line of config_home/user-dirs.dirs ($HOME expanded),
/// else home/Documents.
std::string FindDocumentsFolder(const std::string& home, const std::string& config_home,
                                const std::string& xdg_documents_dir);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_HOST_SETTINGS_H_
