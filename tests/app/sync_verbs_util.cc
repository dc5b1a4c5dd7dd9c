// Runs the built program with an argument vector and captures its output.
#include "sync_verbs_util.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pellmar {

namespace fs = std::filesystem;

void SyncVerbsTest::SetUp() {
  char pattern[] = "/tmp/pellmar-verbs-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  for (const char* dir : {"home/Documents", "home/.config", "stick"}) {
    fs::create_directories(Host(dir));
  }
}

void SyncVerbsTest::TearDown() {
  std::error_code ignored;  // a leftover temp folder harms no later test
  fs::remove_all(root_, ignored);
}

ProgramRun SyncVerbsTest::Run(const std::vector<std::string>& args) {
  std::vector<std::string> strings = {PELLMAR_BINARY};
  strings.insert(strings.end(), args.begin(), args.end());
  std::vector<std::string> environment = {
      "HOME=" + Host("home"), "XDG_CONFIG_HOME=" + Host("home/.config"),
      "XDG_DOCUMENTS_DIR=" + Host("home/Documents"), "PELLMAR_DRIVES=E:=" + Host("stick"),
      std::string("PATH=") + (std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin")};
  std::vector<char*> argv, envp;
  for (std::string& s : strings) argv.push_back(s.data());
  for (std::string& s : environment) envp.push_back(s.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);

  const std::string out_path = Host("stdout.txt"), err_path = Host("stderr.txt");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  pid_t pid = 0;
  ProgramRun run;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  run.out = ReadFile(out_path);
  run.err = ReadFile(err_path);
  return run;
}

std::string SyncVerbsTest::Ns(const std::string& host_path) {
  std::string path = "C:" + host_path;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

void SyncVerbsTest::WriteEntries(const std::vector<std::string>& projects,
                                 const std::string& removable, const std::string& extra) {
  std::string ini = "[Setting]\r\n";
  for (size_t i = 0; i < projects.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    ini += "SyncItem" + n + "=" + Ns(projects[i]) + "\r\n";
    ini += "Path in mobile disk" + n + "=" + removable + "\r\nUseZip" + n + "=0\r\n";
  }
  WriteFile(SettingsFile(), ini + extra);
}

void SyncVerbsTest::WriteFile(const std::string& path, const std::string& contents) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << contents;
}

std::string SyncVerbsTest::ReadFile(const std::string& path) {
  std::ostringstream contents;
  contents << std::ifstream(path, std::ios::binary).rdbuf();
  return contents.str();
}

}  // namespace pellmar
