// The medium of a file system, from udev's links or from statfs.
#include "platform/posix/medium_identity.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statfs.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace pellmar {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The devices that hold the file system: its own number, and that of the
// device the mount table names (the same, except for FUSE).
std::vector<dev_t> DevicesOf(const struct stat& place, const std::string& device) {
  std::vector<dev_t> devices = {place.st_dev};
  struct stat source;
  if (!device.empty() && device[0] == '/' && stat(device.c_str(), &source) == 0 &&
      S_ISBLK(source.st_mode)) {
    devices.push_back(source.st_rdev);
  }
  return devices;
}

// The name of the link in `folder` that leads to one of `devices`, "" when
// none does (or there is no such folder).
std::string LinkTo(const std::string& folder, const std::vector<dev_t>& devices) {
  DIR* links = opendir(folder.c_str());
  if (links == nullptr) return "";
  std::string found;
  while (const struct dirent* entry = readdir(links)) {
    if (entry->d_name[0] == '.') continue;
    struct stat target;
    if (stat((folder + "/" + entry->d_name).c_str(), &target) != 0) continue;
    if (!S_ISBLK(target.st_mode)) continue;
    if (std::find(devices.begin(), devices.end(), target.st_rdev) == devices.end()) continue;
    found = entry->d_name;
    break;
  }
  closedir(links);
  return found;
}

std::string FileSystemId(const std::string& host_path) {
  struct statfs info;
  if (statfs(host_path.c_str(), &info) != 0) return "";
  const unsigned high = static_cast<unsigned>(info.f_fsid.__val[0]);
  const unsigned low = static_cast<unsigned>(info.f_fsid.__val[1]);
  if (high == 0 && low == 0) return "";
  char text[24];
  std::snprintf(text, sizeof text, "%08x%08x", high, low);
  return text;
}

}  // namespace

std::string DecodeUdevName(const std::string& name) {
  std::string decoded;
  for (size_t i = 0; i < name.size(); ++i) {
    const int value = name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
                              HexValue(name[i + 2]) >= 0 && HexValue(name[i + 3]) >= 0
                          ? HexValue(name[i + 2]) * 16 + HexValue(name[i + 3])
                          : -1;
    // A control character stays escaped: a label is shown on terminals.
    if (value >= 0x20 && value != 0x7f) {
      decoded += static_cast<char>(value);
      i += 3;
    } else {
      decoded += name[i];
    }
  }
  return decoded;
}

MediumIdentity IdentifyMedium(const std::string& host_path, const std::string& device,
                              const std::string& dev_disk) {
  MediumIdentity medium;
  struct stat place;
  if (stat(host_path.c_str(), &place) != 0) return medium;
  const std::vector<dev_t> devices = DevicesOf(place, device);
  const std::string uuid = LinkTo(dev_disk + "/by-uuid", devices);
  medium.label = DecodeUdevName(LinkTo(dev_disk + "/by-label", devices));
  if (!uuid.empty()) {
    medium.key = "uuid:" + uuid;
  } else if (const std::string id = FileSystemId(host_path); !id.empty()) {
    medium.key = "fsid:" + id;
  }
  return medium;
}

}  // namespace pellmar
