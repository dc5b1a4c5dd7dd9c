// Finding the holders of a medium through the kernel's process folder.
#include "platform/posix/medium_holders.h"

#include <dirent.h>
#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/posix/host_files.h"

namespace pellmar {
namespace {

bool IsPid(const char* name) {
  if (*name == '\0') return false;
  for (const char* c = name; *c != '\0'; ++c) {
    if (*c < '0' || *c > '9') return false;
  }
  return true;
}

bool Below(const std::string& target, const std::string& mount_point) {
  if (target.compare(0, mount_point.size(), mount_point) != 0) return false;
  return target.size() == mount_point.size() || target[mount_point.size()] == '/' ||
         mount_point.back() == '/';
}

bool LinkBelow(const std::string& link, const std::string& mount_point) {
  char target[PATH_MAX];
  const ssize_t length = readlink(link.c_str(), target, sizeof target);
  return length > 0 && Below(std::string(target, static_cast<size_t>(length)), mount_point);
}

bool AnyOpenFileBelow(const std::string& fd_folder, const std::string& mount_point) {
  const std::unique_ptr<DIR, int (*)(DIR*)> fds(opendir(fd_folder.c_str()), closedir);
  if (!fds) return false;  // another user's process: not ours to see
  while (const dirent* entry = readdir(fds.get())) {
    if (IsPid(entry->d_name) && LinkBelow(fd_folder + "/" + entry->d_name, mount_point)) {
      return true;
    }
  }
  return false;
}

bool UsesMedium(const std::string& process, const std::string& mount_point) {
  return LinkBelow(process + "/cwd", mount_point) || LinkBelow(process + "/root", mount_point) ||
         LinkBelow(process + "/exe", mount_point) || AnyOpenFileBelow(process + "/fd", mount_point);
}

std::string ProcessName(const std::string& process, const char* pid) {
  std::string name;
  if (!ReadHostFile(process + "/comm", &name).ok()) name.assign(1, '?');
  while (!name.empty() && name.back() == '\n') name.pop_back();
  name.append(" (pid ").append(pid).append(")");
  return name;
}

}  // namespace

std::vector<std::string> ProcessesUsing(const std::string& mount_point, size_t limit,
                                        const std::string& proc) {
  std::vector<std::string> holders;
  const std::unique_ptr<DIR, int (*)(DIR*)> processes(opendir(proc.c_str()), closedir);
  if (!processes || mount_point.empty()) return holders;
  while (const dirent* entry = readdir(processes.get())) {
    if (holders.size() >= limit) break;
    if (!IsPid(entry->d_name)) continue;
    const std::string process = proc + "/" + entry->d_name;
    if (UsesMedium(process, mount_point)) holders.push_back(ProcessName(process, entry->d_name));
  }
  return holders;
}

}  // namespace pellmar
