// The built program's front door, run as a user would: --version, --help,
// the drives report, a wrong verb, and a start without a display.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pellmar {
namespace {

struct Outcome {
  int exit_code = -1;
  std::string out, err;
};

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/pellmar-app-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    for (const char* sub : {"/home", "/home/Documents", "/stick"}) {
      ASSERT_EQ(mkdir((dir_ + sub).c_str(), 0755), 0);
    }
    env_ = {"PATH=/usr/bin:/bin", "HOME=" + dir_ + "/home",
            "XDG_CONFIG_HOME=" + dir_ + "/home/.config",
            "XDG_DOCUMENTS_DIR=" + dir_ + "/home/Documents",
            "PELLMAR_DRIVES=E:=" + dir_ + "/stick;F:=" + dir_ + "/gone"};
  }

  void TearDown() override {
    const std::vector<std::string> remove = {"rm", "-rf", "--", dir_};
    Spawn(remove, "/usr/bin/rm");
  }

  // Runs the built program with `args` and only `env_` as its environment.
  Outcome Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {PELLMAR_BINARY};
    argv.insert(argv.end(), args.begin(), args.end());
    Outcome outcome;
    outcome.exit_code = Spawn(argv, PELLMAR_BINARY);
    outcome.out = ReadFile(dir_ + "/stdout");
    outcome.err = ReadFile(dir_ + "/stderr");
    return outcome;
  }

  int Spawn(const std::vector<std::string>& args, const char* program) {
    std::vector<char*> argv, envp;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const std::string& e : env_) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, (dir_ + "/stdout").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, (dir_ + "/stderr").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The namespace spelling of a host path below "/", as the C: drive maps it.
  static std::string OnDriveC(const std::string& host) {
    std::string path = "C:" + host;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    return path;
  }

  std::string dir_;
  std::vector<std::string> env_;
};

TEST_F(ProgramTest, VersionAndHelp) {
  const Outcome version = Run({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "Pellmar 1.1\n");
  const Outcome help = Run({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  for (const char* word :
       {"drives", "list", "send PROJECT", "load PROJECT", "--yes", "--version", "--help"}) {
    EXPECT_NE(help.out.find(word), std::string::npos) << word;
  }
}

TEST_F(ProgramTest, WrongVerbsAndOptionsGiveUsageOnStderr) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"bogus"}, {"--bogus"}, {"drives", "extra"}}) {
    const Outcome outcome = Run(args);
    EXPECT_EQ(outcome.exit_code, 2) << args.back();
    EXPECT_TRUE(outcome.out.empty()) << args.back();
    EXPECT_NE(outcome.err.find("pellmar: "), std::string::npos) << args.back();
  }
  EXPECT_NE(Run({"bogus"}).err.find("Usage: pellmar"), std::string::npos);
}

TEST_F(ProgramTest, DrivesShowsTheNamespace) {
  const Outcome outcome = Run({"drives"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  const std::string& out = outcome.out;
  EXPECT_NE(out.find("C:  /"), std::string::npos) << out;
  EXPECT_NE(out.find("E:  " + dir_ + "/stick"), std::string::npos) << out;
  EXPECT_NE(out.find("F:  " + dir_ + "/gone"), std::string::npos) << out;
  EXPECT_NE(out.find("mounted  PELLMAR_DRIVES"), std::string::npos) << out;
  EXPECT_NE(out.find("absent   PELLMAR_DRIVES"), std::string::npos) << out;
  EXPECT_NE(out.find(OnDriveC(dir_ + "/home/Documents")), std::string::npos) << out;
  EXPECT_NE(out.find(OnDriveC(dir_ + "/home/Application Data/Pellmar.ini")), std::string::npos)
      << out;
  EXPECT_NE(out.find(dir_ + "/home/.config/Pellmar.ini"), std::string::npos) << out;
  std::string program_dir = PELLMAR_BINARY;
  program_dir.erase(program_dir.rfind('/') + 1);
  EXPECT_NE(out.find(OnDriveC(program_dir)), std::string::npos) << out;
}

TEST_F(ProgramTest, SettingsFallBackToTheProgramDirectory) {
  // A file where the per-user folder would go: it cannot be made.
  std::ofstream(dir_ + "/blocker") << "x";
  env_[2] = "XDG_CONFIG_HOME=" + dir_ + "/blocker/config";
  const Outcome outcome = Run({"drives"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  std::string program_dir = PELLMAR_BINARY;
  program_dir.erase(program_dir.rfind('/') + 1);
  EXPECT_NE(outcome.out.find("Settings file:      " + OnDriveC(program_dir) + "Pellmar.ini"),
            std::string::npos)
      << outcome.out;
}

TEST_F(ProgramTest, NoDisplaySaysSoInOneLine) {
  const Outcome outcome = Run({});
  EXPECT_EQ(outcome.exit_code, 1);
  EXPECT_TRUE(outcome.out.empty());
  EXPECT_EQ(outcome.err,
            "pellmar: no display found (DISPLAY/WAYLAND_DISPLAY unset); the window needs a "
            "graphical session. Try 'pellmar --help' for the command line.\n");
}

}  // namespace
}  // namespace pellmar
