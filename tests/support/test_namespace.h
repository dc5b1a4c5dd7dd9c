// A temp world in the Windows namespace: settings, Documents and removable
// drives are the test's own, never the tester's. The host platform is given
// them directly (support/<os>/); a child process gets them as its
// environment (HOME, XDG_CONFIG_HOME, XDG_DOCUMENTS_DIR and PELLMAR_DRIVES on
// Linux). The test process's own environment never changes.
#ifndef PELLMAR_TESTS_SUPPORT_TEST_NAMESPACE_H_
#define PELLMAR_TESTS_SUPPORT_TEST_NAMESPACE_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/temp_folder.h"

namespace pellmar {

/// Layout below the temp folder: home/ (Documents and the settings folder
/// inside, the settings file in it), program/, and drives A:, E:, F: mapped onto
/// drives/A, drives/E, drives/F. A drive's medium is inserted when its
/// folder exists; the constructor inserts those in `inserted`.
class TestNamespace : public TempFolder {
 public:
  explicit TestNamespace(const std::string& inserted = "E");
  ~TestNamespace();

  std::string home() const { return *this / "home"; }
  std::string documents() const { return *this / "home/Documents"; }
  /// The settings folder: home/.config on Linux, "home/Application Data"
  /// (beside Documents) on Windows.
  std::string config() const;
  std::string settings_file() const { return config() + "/Pellmar.ini"; }
  std::string program_dir() const { return *this / "program"; }
  /// The host folder of drive `letter`; `below` is added after a "/".
  std::string drive(char letter, const std::string& below = "") const;
  void InsertDrive(char letter) const { MakeFolder(drive(letter)); }

  /// The host platform made in this namespace.
  Platform& platform() { return *platform_; }
  /// Another one, for a thread of its own.
  std::unique_ptr<Platform> NewPlatform() const;
  /// The namespace path of a host path ("C:\tmp\...").
  std::string Ns(const std::string& host_path);
  /// The environment of the namespace as "NAME=value", for a child process.
  std::vector<std::string> Environment() const;

  /// Writes the settings file; "\n" becomes CR LF as the program writes it.
  void WriteSettings(const std::string& ini) const;
  /// Section "Setting" with one entry per project folder (host paths), each
  /// kept in `removable` (a namespace path) and copied without zip, then
  /// `extra` lines.
  void WriteEntries(const std::vector<std::string>& projects, const std::string& removable,
                    const std::string& extra = "");

 private:
  /// The drive mappings as PELLMAR_DRIVES spells them (Linux).
  std::string Drives() const;

  std::vector<std::pair<std::string, std::string>> variables_;
  std::unique_ptr<Platform> platform_;
};

/// A host path spelled through the host's own root rather than a test
/// drive: "C:\tmp\..." for "/tmp/..." on Linux, the path itself on Windows.
std::string ThroughHostRoot(const std::string& host_path);

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_TEST_NAMESPACE_H_
