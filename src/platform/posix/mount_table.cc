// Mount table parsing and the choice of which mounts count as removable media.
#include "platform/posix/mount_table.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/posix/scoped_fd.h"

namespace pellmar {
namespace {

// File systems that live in memory or in the kernel; a folder below /mnt
// holding one of these is scaffolding, not a disk the user plugged in.
constexpr std::array<std::string_view, 22> kVirtualTypes = {
    "tmpfs",       "ramfs",    "proc",       "sysfs",      "devtmpfs", "devpts",
    "cgroup",      "cgroup2",  "autofs",     "securityfs", "debugfs",  "tracefs",
    "configfs",    "fusectl",  "mqueue",     "hugetlbfs",  "bpf",      "pstore",
    "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs"};

bool IsOctalDigit(char c) { return c >= '0' && c <= '7'; }

// The kernel writes blank, tab, newline and backslash in a field as "\ooo".
std::string DecodeOctalEscapes(std::string_view field) {
  std::string decoded;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
        IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
      decoded += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                   (field[i + 3] - '0'));
      i += 3;
    } else {
      decoded += field[i];
    }
  }
  return decoded;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (start < line.size()) {
    start = line.find_first_not_of(" \t", start);
    if (start == std::string_view::npos) break;
    size_t end = line.find_first_of(" \t", start);
    if (end == std::string_view::npos) end = line.size();
    fields.push_back(line.substr(start, end - start));
    start = end;
  }
  return fields;
}

bool IsStrictlyBelow(const std::string& path, std::string root) {
  if (root.empty()) return false;
  if (root.back() != '/') root += '/';
  return path.size() > root.size() && path.compare(0, root.size(), root) == 0;
}

bool IsVirtual(const std::string& type) {
  return std::find(kVirtualTypes.begin(), kVirtualTypes.end(), type) != kVirtualTypes.end();
}

}  // namespace

std::vector<MountEntry> ParseMountTable(const std::string& text) {
  std::vector<MountEntry> mounts;
  std::string_view rest(text);
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    std::vector<std::string_view> fields = SplitFields(line);
    if (fields.size() < 3 || fields[0][0] == '#') continue;
    mounts.push_back(
        {DecodeOctalEscapes(fields[0]), DecodeOctalEscapes(fields[1]), std::string(fields[2])});
  }
  return mounts;
}

std::vector<std::string> RemovableMountPoints(const std::vector<MountEntry>& mounts,
                                              const std::vector<std::string>& media_roots) {
  std::vector<std::string> points;
  for (const MountEntry& mount : mounts) {
    if (IsVirtual(mount.type)) continue;
    const bool below_media_root = std::any_of(
        media_roots.begin(), media_roots.end(),
        [&](const std::string& root) { return IsStrictlyBelow(mount.mount_point, root); });
    if (below_media_root) points.push_back(mount.mount_point);
  }
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  return points;
}

bool IsMounted(const std::vector<MountEntry>& mounts, const std::string& mount_point) {
  return std::any_of(mounts.begin(), mounts.end(),
                     [&](const MountEntry& m) { return m.mount_point == mount_point; });
}

std::string SourceOf(const std::vector<MountEntry>& mounts, const std::string& mount_point) {
  std::string source;
  for (const MountEntry& m : mounts) {
    if (m.mount_point == mount_point) source = m.device;
  }
  return source;
}

std::string SourceHolding(const std::vector<MountEntry>& mounts, const std::string& host_path) {
  const MountEntry* nearest = nullptr;
  for (const MountEntry& m : mounts) {
    const bool holds = m.mount_point == host_path || m.mount_point == "/" ||
                       IsStrictlyBelow(host_path, m.mount_point);
    if (holds && (nearest == nullptr || m.mount_point.size() >= nearest->mount_point.size())) {
      nearest = &m;
    }
  }
  return nearest == nullptr ? "" : nearest->device;
}

std::string ReadMountTableFile(const std::string& path) {
  std::string text;
  const ScopedFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd.valid()) return text;
  char buffer[8192];
  ssize_t n;
  while ((n = read(fd.get(), buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

}  // namespace pellmar
