// The temp namespace's drives, paths and settings file; how it is made is
// each system's own (support/<os>/test_namespace_host.cc).
#include "support/test_namespace.h"

#include <gtest/gtest.h>

namespace pellmar {

std::string TestNamespace::drive(char letter, const std::string& below) const {
  const std::string folder = *this / ("drives/" + std::string(1, letter));
  return below.empty() ? folder : folder + "/" + below;
}

std::string TestNamespace::Ns(const std::string& host_path) {
  const std::optional<std::string> path = platform_->NamespacePath(host_path);
  EXPECT_TRUE(path.has_value()) << "no namespace path for " << host_path;
  return path.value_or("");
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

}  // namespace pellmar
