// The user who keeps working while a run goes, in two ways:
//
//   pellmar_save_loop loop LIST LOG STOP TEMP_FOLDER [SEED]
// saves the files named in LIST, chosen at random, until the file STOP
// appears, as editors save them: in place, or as a new file written in
// TEMP_FOLDER (on the same file system) and renamed over the old one. Each
// save is logged as "<number>\t<path>" once complete, and the file then
// holds "saved <number>\n", so a test can check that the last save of every
// file survived the run.
//
//   pellmar_save_loop on-read FILE
// holds the first read of FILE (a permission event of the kernel, which
// needs root) until it has written into FILE in place: whoever reads it
// then reads a file that changed under it, every time, however the
// machine is loaded. Exits 77 where the kernel offers no such events.
#include <fcntl.h>
#include <sys/fanotify.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

bool WriteAll(int fd, const std::string& text) {
  return write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

bool SaveInPlace(const std::string& path, const std::string& text) {
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text);
  return close(fd) == 0 && written;
}

bool SaveByRename(const std::string& path, const std::string& text, const std::string& temp) {
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text) && close(fd) == 0;
  if (written && rename(temp.c_str(), path.c_str()) == 0) return true;
  unlink(temp.c_str());
  return false;
}

int Loop(char** argv, int argc) {
  std::vector<std::string> files;
  std::ifstream list(argv[2]);
  for (std::string line; std::getline(list, line);) files.push_back(line);
  if (files.empty()) return 2;
  std::ofstream log(argv[3]);
  const std::string temp = std::string(argv[5]) + "/saving";
  std::mt19937 random(argc > 6 ? std::stoul(argv[6]) : std::random_device{}());
  for (long number = 1; access(argv[4], F_OK) != 0; ++number) {
    const std::string& path = files[random() % files.size()];
    const std::string text = "saved " + std::to_string(number) + "\n";
    // A file the run removed meanwhile is simply not saved again.
    const bool saved = number % 2 ? SaveInPlace(path, text) : SaveByRename(path, text, temp);
    if (saved) log << number << '\t' << path << '\n' << std::flush;
  }
  return 0;
}

int OnRead(const char* path) {
  // Opened before the watch: this process's own reads and writes are not
  // the ones waited for.
  const int file = open(path, O_WRONLY | O_CLOEXEC);
  const int watch = fanotify_init(FAN_CLASS_CONTENT | FAN_CLOEXEC, O_RDONLY);
  if (file < 0) return 2;
  if (watch < 0 || fanotify_mark(watch, FAN_MARK_ADD, FAN_ACCESS_PERM, AT_FDCWD, path) != 0) {
    return 77;
  }
  std::puts("watching");
  std::fflush(stdout);
  fanotify_event_metadata event;
  if (read(watch, &event, sizeof event) < static_cast<ssize_t>(sizeof event)) return 2;
  const std::string changed = "changed under a reader";
  const bool written = pwrite(file, changed.data(), changed.size(), 0) > 0 && close(file) == 0;
  // The reader goes on only once the file has changed; later reads pass.
  (void)fanotify_mark(watch, FAN_MARK_REMOVE, FAN_ACCESS_PERM, AT_FDCWD, path);
  const fanotify_response allow{event.fd, FAN_ALLOW};
  const bool answered = write(watch, &allow, sizeof allow) == sizeof allow;
  close(event.fd);
  return written && answered ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 6 && std::strcmp(argv[1], "loop") == 0) return Loop(argv, argc);
  if (argc == 3 && std::strcmp(argv[1], "on-read") == 0) return OnRead(argv[2]);
  std::fprintf(stderr, "usage: %s loop LIST LOG STOP TEMP_FOLDER [SEED] | on-read FILE\n", argv[0]);
  return 2;
}
