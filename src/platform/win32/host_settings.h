// Where this user's folders are: Documents and the roaming application data,
// asked of the system once, or given directly by tests.
#ifndef PELLMAR_PLATFORM_WIN32_HOST_SETTINGS_H_
#define PELLMAR_PLATFORM_WIN32_HOST_SETTINGS_H_

#include <string>

namespace pellmar {

struct HostFolders {
  std::string documents;         // UTF-8, empty when unknown
  std::string roaming_app_data;  // UTF-8, empty when unknown
  std::string local_app_data;    // UTF-8, empty when unknown
};

/// The current user's folders: the Documents known folder (else the
/// "Personal" shell-folder value) and the roaming application data.
HostFolders HostFoldersFromSystem();

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_HOST_SETTINGS_H_
