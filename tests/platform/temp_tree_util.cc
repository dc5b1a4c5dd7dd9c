// Temporary trees and host file helpers for the platform tests.
#include "temp_tree_util.h"

#include <dirent.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "platform/posix/posix_platform.h"

namespace pellmar::testing {
namespace {

int RemoveOne(const char* path, const struct stat*, int type, struct FTW*) {
  // A folder left read-only by a test must still go.
  if (type == FTW_DP) chmod(path, 0700);
  return remove(path);
}

}  // namespace

TempTree::TempTree() {
  const char* base = std::getenv("TMPDIR");
  std::string name_template =
      std::string(base != nullptr && *base ? base : "/tmp") + "/pellmar-test-XXXXXX";
  std::vector<char> buffer(name_template.begin(), name_template.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buffer.data();
}

TempTree::~TempTree() { nftw(path_.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT); }

void WriteText(const std::string& host_path, const std::string& contents) {
  std::ofstream file(host_path, std::ios::binary | std::ios::trunc);
  file << contents;
  if (!file) throw std::runtime_error("cannot write " + host_path);
}

std::string ReadText(const std::string& host_path) {
  std::ifstream file(host_path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void MakeFolder(const std::string& host_path) {
  if (mkdir(host_path.c_str(), 0755) != 0) throw std::runtime_error("mkdir " + host_path);
}

bool HostExists(const std::string& host_path) {
  struct stat info;
  return lstat(host_path.c_str(), &info) == 0;
}

void SetLocalWriteTime(const std::string& host_path, const LocalDateTime& when) {
  struct tm local = {};
  local.tm_year = when.year - 1900;
  local.tm_mon = when.month - 1;
  local.tm_mday = when.day;
  local.tm_hour = when.hour;
  local.tm_min = when.minute;
  local.tm_sec = when.second;
  local.tm_isdst = -1;
  const struct timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
  if (utimensat(AT_FDCWD, host_path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
    throw std::runtime_error("utimensat " + host_path);
  }
}

std::vector<std::string> HostNames(const std::string& host_folder) {
  std::vector<std::string> names;
  DIR* folder = opendir(host_folder.c_str());
  if (folder == nullptr) return names;
  while (const struct dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

TinyTmpfs::TinyTmpfs(const std::string& host_path, size_t bytes) : path_(host_path) {
  const std::string options = "size=" + std::to_string(bytes);
  if (mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0) {
    mounted_ = true;
  } else {
    skip_reason_ = "cannot mount a small tmpfs here (" + std::string(std::strerror(errno)) +
                   "); this needs root in a system that allows mounts";
  }
}

TinyTmpfs::~TinyTmpfs() {
  if (mounted_) umount2(path_.c_str(), MNT_DETACH);
}

void FillUp(const std::string& host_folder) {
  std::FILE* file = std::fopen((host_folder + "/filler").c_str(), "wb");
  if (file == nullptr) return;
  const std::vector<char> block(4096, 'f');
  while (std::fwrite(block.data(), 1, block.size(), file) == block.size()) {
  }
  // Top up the last partial block a byte at a time.
  std::setvbuf(file, nullptr, _IONBF, 0);
  while (std::fputc('f', file) != EOF) {
  }
  std::fclose(file);
}

HostSettings TreeSettings(const TempTree& tree) {
  for (const char* folder : {"home", "home/Documents", "stick", "media"}) {
    if (!HostExists(tree / folder)) MakeFolder(tree / folder);
  }
  if (!HostExists(tree / "mounts")) WriteText(tree / "mounts", "");
  HostSettings settings;
  settings.home = tree / "home";
  settings.config_home = tree / "home/.config";
  settings.documents = tree / "home/Documents";
  settings.drive_overrides = "E:=" + (tree / "stick");
  settings.mounts_file = tree / "mounts";
  settings.media_roots = {tree / "media"};
  return settings;
}

std::unique_ptr<Platform> TreePlatform(const TempTree& tree) {
  return NewPosixPlatform(TreeSettings(tree));
}

}  // namespace pellmar::testing
