// PosixPlatform's code-page decoding (iconv) and shell "open" (xdg-open,
// started from an argument vector and never waited for).
#include <fcntl.h>
#include <iconv.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "platform/posix/error_mapping.h"
#include "platform/posix/held_signals.h"
#include "platform/posix/posix_platform.h"
#include "platform/utf8_text.h"

extern char** environ;

namespace pellmar {
namespace {

std::string ByteEscape(unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02X", byte);
  return text;
}

// Converts with iconv; a byte that is not valid in the source code page is
// kept visible as "\xNN" and conversion goes on after it.
std::string ConvertToUtf8(iconv_t converter, const std::string& bytes) {
  std::string out;
  char buffer[4096];
  char* in = const_cast<char*>(bytes.data());
  size_t in_left = bytes.size();
  while (in_left > 0) {
    char* put = buffer;
    size_t put_left = sizeof buffer;
    const size_t result = iconv(converter, &in, &in_left, &put, &put_left);
    out.append(buffer, static_cast<size_t>(put - buffer));
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ or EINVAL (a lead byte cut off at the end): show it, skip it.
    out += ByteEscape(static_cast<unsigned char>(*in));
    ++in;
    --in_left;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
  }
  return out;
}

bool IsExplorer(const std::string& file) {
  std::string lower;
  for (char c : file) lower += static_cast<char>((c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c);
  return lower == "explorer" || lower == "explorer.exe";
}

// Starts `program` in its own session with stdin from /dev/null. A thread
// reaps it when it ends, so no zombie is left and the caller never waits.
Status SpawnDetached(const std::vector<std::string>& arguments, const std::string& working) {
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (!working.empty()) posix_spawn_file_actions_addchdir_np(&actions, working.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t no_signals;
  sigemptyset(&no_signals);
  posix_spawnattr_setsigmask(&attributes, &no_signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return StatusFromErrno("start", arguments[0], error);
  // The desktop's opener gives up at once when no program is set up for
  // the file; a program it found keeps it waiting, or it ends with success.
  // A short wait tells the two apart without holding the window up.
  constexpr int kWaitSteps = 50, kStepMs = 20;
  for (int step = 0; step < kWaitSteps; ++step) {
    int exit_status = 0;
    const pid_t ended = waitpid(pid, &exit_status, WNOHANG);
    if (ended == pid) {
      if (WIFEXITED(exit_status) && WEXITSTATUS(exit_status) == 0) return Status::Ok();
      return Status::Error(kErrorNoAssociation,
                           arguments[0] + " found no program to open " + arguments.back());
    }
    if (ended < 0 && errno != EINTR) return Status::Ok();
    std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
  }
  ThreadWithoutSignals([pid] {
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return Status::Ok();
}

}  // namespace

std::string PosixPlatform::DecodeCodePage(const std::string& bytes, int code_page) {
  // Text the program wrote, or decoded already, is UTF-8: decoding it again
  // from an 8-bit code page would garble it (a language file saved as UTF-8).
  if (code_page == 0 || code_page == 65001 || bytes.empty() || IsWellFormedUtf8(bytes)) {
    return bytes;
  }
  const std::string source = "CP" + std::to_string(code_page);
  iconv_t converter = iconv_open("UTF-8", source.c_str());
  if (converter == reinterpret_cast<iconv_t>(-1)) return bytes;
  std::string decoded = ConvertToUtf8(converter, bytes);
  iconv_close(converter);
  return decoded;
}

Status PosixPlatform::ShellOpen(const std::string& file, const std::string& parameters,
                                const std::string& directory) {
  std::string target;
  if (IsExplorer(file)) {
    // The file manager opens on the folder in the parameters; with none it
    // opens the user's home, as a bare file manager window would.
    target = settings_.home;
    if (!parameters.empty()) {
      Status status = Resolve(parameters, &target);
      if (!status.ok()) return status;
    }
  } else if (file.find("://") != std::string::npos) {
    target = file;
  } else {
    Status status = Resolve(file, &target);
    if (!status.ok()) return status;
  }
  struct stat info;
  if (file.find("://") == std::string::npos && stat(target.c_str(), &info) != 0) {
    return StatusFromErrno("open", target, errno);
  }
  // A relative name starting with "-" would read as an option of xdg-open.
  if (!target.empty() && target[0] == '-') target = "./" + target;
  std::string working;
  if (!directory.empty() && !Resolve(directory, &working).ok()) working.clear();
  return SpawnDetached({"xdg-open", target}, working);
}

}  // namespace pellmar
