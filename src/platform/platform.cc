// What every platform shares, built on its primitives.
#include "platform/platform.h"

namespace pellmar {

namespace {

// A namespace path without the backslashes that end it, but for a root's.
std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

// The folder above a namespace path, or the path itself for a root ("E:\",
// "E:", "\\server\share"). A trailing "\" names the folder before it.
std::string ParentFolder(std::string path) {
  path = WithoutTrailingSeparators(std::move(path));
  const size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return path;
  if (path.compare(0, 2, "\\\\") == 0 && path.find('\\', 2) >= cut) return path;  // a share
  if (cut == 2 && path[1] == ':') return path.substr(0, 3);                       // "E:\x"
  return cut == 0 ? path : path.substr(0, cut);
}

bool Missing(const Status& status) {
  return status.code == kErrorPathNotFound || status.code == kErrorFileNotFound;
}

}  // namespace

Status Platform::MakeFolders(const std::string& path, VolumeGuard on, FolderHandle* folder) {
  // Up to the deepest folder that exists, by path: each level is one look.
  std::vector<std::string> missing;  // the names to make, deepest first
  std::string level = path;
  FolderHandle open;
  Status status = OpenFolderAt(level, &open);
  while (!status.ok()) {
    const std::string parent = ParentFolder(level);
    if (!Missing(status) || parent == level) return status;
    const std::string name = WithoutTrailingSeparators(level).substr(parent.size());
    missing.push_back(name.empty() || name[0] != '\\' ? name : name.substr(1));
    level = parent;
    status = OpenFolderAt(level, &open);
  }
  if (on.active && open->identity().known && open->identity().volume != on.volume) {
    return Status::Error(kErrorNotReady,
                         level + ": not on the removable disk the run started with");
  }
  // Down again by handle: one step a level, each made inside the one above.
  for (auto name = missing.rbegin(); name != missing.rend(); ++name) {
    FolderHandle child;
    status = MakeChildFolder(*open, *name, &child);
    if (!status.ok()) return status;
    open = std::move(child);
  }
  *folder = std::move(open);
  return Status::Ok();
}

std::vector<std::optional<FileFacts>> Platform::LookInEach(OpenFolder& folder,
                                                           const std::vector<std::string>& names) {
  std::vector<std::optional<FileFacts>> found;
  found.reserve(names.size());
  for (const std::string& name : names) found.push_back(LookIn(folder, name));
  return found;
}

Status Platform::ForceFolders(const std::string& path) {
  FolderHandle made;
  return MakeFolders(path, VolumeGuard{}, &made);
}

Status Platform::FolderIdentity(const std::string& path, FileIdentity* identity) {
  std::vector<FileIdentity> chain;
  const Status status = FolderChain(path, &chain);
  *identity = status.ok() && !chain.empty() ? chain.front() : FileIdentity{};
  return status;
}

}  // namespace pellmar
