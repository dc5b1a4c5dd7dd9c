// The temp namespace on Windows: the platform is given the temp Documents,
// and the drive letters A:, E:, F: are the temp drive folders. Nothing of
// the process's environment changes.
#include "platform/win32/win32_platform.h"
#include "support/test_namespace.h"
#include "support/win32/mapped_drives.h"

namespace pellmar {

TestNamespace::TestNamespace(const std::string& inserted) {
  for (const std::string& folder : {documents(), config(), program_dir()}) MakeFolder(folder);
  for (char letter : inserted) InsertDrive(letter);
  platform_ = NewPlatform();
}

std::unique_ptr<Platform> TestNamespace::NewPlatform() const {
  // No roaming folder: the settings file lies beside Documents, or in the
  // program folder when a test takes that folder away.
  return std::make_unique<MappedDrivesPlatform>(
      std::make_unique<Win32Platform>(
          HostFolders{ThroughHostRoot(documents()), "", ThroughHostRoot(*this / "home/Local")}),
      std::map<char, std::string>{{'A', drive('A')}, {'E', drive('E')}, {'F', drive('F')}});
}

TestNamespace::~TestNamespace() = default;

std::string TestNamespace::config() const { return *this / "home/Application Data"; }

std::vector<std::string> TestNamespace::Environment() const { return {}; }

std::string ThroughHostRoot(const std::string& host_path) {
  std::string path = host_path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

}  // namespace pellmar
