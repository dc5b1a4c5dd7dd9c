// Runs the built pellmar in a temp namespace of its own: HOME, the settings
// folder, the Documents folder and a removable drive E: are temp folders
// set in the child's environment only, so the tester's own settings are
// never touched.
#ifndef PELLMAR_TESTS_APP_SYNC_VERBS_UTIL_H_
#define PELLMAR_TESTS_APP_SYNC_VERBS_UTIL_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pellmar {

struct ProgramRun {
  int exit_code = -1;
  std::string out, err;
};

class SyncVerbsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  /// Runs PELLMAR_BINARY with `args`; the environment holds only the temp
  /// namespace and PATH.
  ProgramRun Run(const std::vector<std::string>& args);

  std::string Host(const std::string& rel) const { return root_ + "/" + rel; }
  std::string Documents(const std::string& rel) const { return Host("home/Documents/" + rel); }
  std::string Stick(const std::string& rel) const { return Host("stick/" + rel); }
  std::string SettingsFile() const { return Host("home/.config/Pellmar.ini"); }
  /// "C:\..." for a host path.
  static std::string Ns(const std::string& host_path);

  /// Section "Setting" with one entry per project folder (host paths).
  void WriteEntries(const std::vector<std::string>& projects, const std::string& removable,
                    const std::string& extra = "");
  static void WriteFile(const std::string& path, const std::string& contents);
  static std::string ReadFile(const std::string& path);

 private:
  std::string root_;
};

}  // namespace pellmar

#endif  // PELLMAR_TESTS_APP_SYNC_VERBS_UTIL_H_
