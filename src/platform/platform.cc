// What every platform shares, built on its primitives.
#include "platform/platform.h"

#include "platform/path_text.h"

namespace pellmar {

namespace {

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

void Platform::CopyEach(std::span<const CopyRequest> requests, std::vector<Status>* statuses,
                        std::vector<CopyResult>* results) {
  statuses->assign(requests.size(), Status::Ok());
  results->assign(requests.size(), CopyResult{});
  for (size_t i = 0; i < requests.size(); ++i) {
    (*statuses)[i] = CopyFile(requests[i], &(*results)[i]);
  }
}

bool Platform::CopiesOverlap(OpenFolder&) { return false; }

void Platform::ListAhead(OpenFolder&, OpenFolder*, const std::vector<std::string>&) {}

Status Platform::ForceFolders(const std::string& path) {
  FolderHandle made;
  return MakeFolders(path, VolumeGuard{}, &made);
}

void Platform::ClearDebrisOnce(const std::string& folder) {
  // Once per folder and process is enough: debris comes from saves cut
  // short before this one started, and this process leaves none.
  if (!debris_cleared_.insert(folder).second) return;
  FolderHandle open;
  // A folder that cannot be opened has its save fail too, and say why.
  if (!OpenFolderAt(folder, &open).ok()) return;
  ClearDebris(*open, ListOpenFolder(*open).scratch);
}

Status Platform::FolderIdentity(const std::string& path, FileIdentity* identity) {
  std::vector<FileIdentity> chain;
  const Status status = FolderChain(path, &chain);
  *identity = status.ok() && !chain.empty() ? chain.front() : FileIdentity{};
  return status;
}

}  // namespace pellmar
