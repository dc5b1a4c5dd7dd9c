// Spawning the program under test and collecting its output.
#include "support/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "support/temp_folder.h"

namespace pellmar {
namespace {

// A pseudo-terminal whose other side the test reads whole, on a thread of
// its own so that the program never waits for the reader.
class Terminal {
 public:
  Terminal() {
    main_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (main_ < 0 || grantpt(main_) != 0 || unlockpt(main_) != 0) return;
    const char* name = ptsname(main_);
    if (name != nullptr) side_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    struct winsize size = {};
    size.ws_row = 24;
    size.ws_col = 80;
    if (side_ >= 0) ioctl(side_, TIOCSWINSZ, &size);
  }
  ~Terminal() {
    CloseSide();
    if (reader_.joinable()) reader_.join();
    if (main_ >= 0) close(main_);
  }
  bool open_ok() const { return side_ >= 0; }
  int side() const { return side_; }
  /// Once the program has its copy of the side: reads until it is closed.
  void StartReading() {
    CloseSide();
    reader_ = std::thread([this] {
      char buffer[4096];
      while (true) {
        const ssize_t got = read(main_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;  // EIO once no one holds the side open
        shown_.append(buffer, static_cast<size_t>(got));
      }
    });
  }
  /// What the terminal showed; call once the program has ended.
  std::string Shown() {
    if (reader_.joinable()) reader_.join();
    return shown_;
  }

 private:
  void CloseSide() {
    if (side_ >= 0) close(side_);
    side_ = -1;
  }
  int main_ = -1;
  int side_ = -1;
  std::thread reader_;
  std::string shown_;
};

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment,
                      const std::string& scratch_folder) {
  return RunProgram(argv, environment, scratch_folder, RunOptions{});
}

ProgramRun RunProgram(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment,
                      const std::string& scratch_folder, const RunOptions& options) {
  std::vector<char*> args, envp;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  envp.push_back(nullptr);
  const std::string out_path = scratch_folder + "/stdout", err_path = scratch_folder + "/stderr";
  ProgramRun run;
  Terminal terminal;
  const bool on_terminal = options.stderr_on_terminal || options.stdout_on_terminal;
  if (on_terminal && !terminal.open_ok()) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  const int flags = O_WRONLY | O_CREAT | O_TRUNC;
  if (options.stdout_on_terminal) {
    posix_spawn_file_actions_adddup2(&actions, terminal.side(), 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), flags, 0600);
  }
  if (options.stderr_on_terminal) {
    posix_spawn_file_actions_adddup2(&actions, terminal.side(), 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), flags, 0600);
  }
  pid_t pid = 0;
  const bool started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data()) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (on_terminal) terminal.StartReading();
  if (started) {
    if (options.while_running) options.while_running(pid);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  run.out = options.stdout_on_terminal ? terminal.Shown() : ReadText(out_path);
  run.err = options.stderr_on_terminal ? terminal.Shown() : ReadText(err_path);
  return run;
}

}  // namespace pellmar
