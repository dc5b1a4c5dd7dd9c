// What every platform shares, built on its primitives.
#include "platform/platform.h"

namespace pellmar {

namespace {

// The folder above a namespace path, or the path itself for a root ("E:\",
// "E:", "\\server\share"). A trailing "\" names the folder before it.
std::string ParentFolder(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  const size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return path;
  if (path.compare(0, 2, "\\\\") == 0 && path.find('\\', 2) >= cut) return path;  // a share
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);                       // "E:\x"
  return cut == 0 ? path : path.substr(0, cut);
}

Status HeldTo(Platform& platform, const std::string& folder, VolumeGuard on) {
  if (!on.active) return Status::Ok();
  const std::optional<FileFacts> facts = platform.FindFile(folder);
  // A root has no entry of its own; what lies below it is checked instead.
  if (!facts || !facts->identity.known || facts->identity.volume == on.volume) return Status::Ok();
  return Status::Error(kErrorNotReady, folder + ": not on the removable disk the run started with");
}

}  // namespace

Status Platform::ForceFolders(const std::string& path, VolumeGuard on) {
  std::vector<std::string> missing;  // deepest first
  std::string level = path;
  while (!FolderExists(level)) {
    missing.push_back(level);
    const std::string parent = ParentFolder(level);
    if (parent == level) break;  // a root that is not there cannot be made
    level = parent;
  }
  if (missing.empty() || missing.back() != level) {
    const Status held = HeldTo(*this, level, on);
    if (!held.ok()) return held;
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    const Status made = CreateFolder(*it);
    if (!made.ok() && !FolderExists(*it)) return made;
    const Status held = HeldTo(*this, *it, on);
    if (!held.ok()) {
      // Made a moment ago on the wrong disk: undone, it was never ours.
      if (made.ok()) (void)RemoveFolder(*it);
      return held;
    }
  }
  return Status::Ok();
}

Status Platform::FolderIdentity(const std::string& path, FileIdentity* identity) {
  std::vector<FileIdentity> chain;
  const Status status = FolderChain(path, &chain);
  *identity = status.ok() && !chain.empty() ? chain.front() : FileIdentity{};
  return status;
}

}  // namespace pellmar
