// One copy or removal by handle, the way SyncTree makes them.
#include "support/handle_copy.h"

#include <optional>

namespace pellmar {
namespace {

void SplitPath(const std::string& path, std::string* folder, std::string* name) {
  const size_t cut = path.rfind('\\');
  *folder = path.substr(0, cut == 2 ? 3 : cut);
  *name = path.substr(cut + 1);
}

}  // namespace

Status CopyByHandle(Platform& platform, const std::string& source_path,
                    const std::string& target_folder, bool keep_replaced,
                    const BetweenDecisionAndAct& meanwhile, CopyResult* result) {
  std::string source_folder, name;
  SplitPath(source_path, &source_folder, &name);
  FolderHandle from, to;
  Status status = platform.OpenFolderAt(source_folder, &from);
  if (status.ok()) status = platform.OpenFolderAt(target_folder, &to);
  if (!status.ok()) return status;
  const std::optional<FileFacts> source = platform.LookIn(*from, name);
  if (!source) return Status::Error(kErrorFileNotFound, source_path + ": not there");
  std::optional<FileFacts> replaced = platform.LookIn(*to, name);
  if (meanwhile) meanwhile();
  CopyResult ignored;
  return platform.CopyFile(CopyRequest{from.get(), *source, to.get(), replaced, keep_replaced},
                           result != nullptr ? result : &ignored);
}

Status RemoveByHandle(Platform& platform, const std::string& path, bool to_trash,
                      const BetweenDecisionAndAct& meanwhile) {
  std::string folder_path, name;
  SplitPath(path, &folder_path, &name);
  FolderHandle folder;
  Status status = platform.OpenFolderAt(folder_path, &folder);
  if (!status.ok()) return status;
  const std::optional<FileFacts> file = platform.LookIn(*folder, name);
  if (!file) return Status::Error(kErrorFileNotFound, path + ": not there");
  if (meanwhile) meanwhile();
  bool kept = false;
  return platform.RemoveFileIn(*folder, *file, to_trash, &kept);
}

}  // namespace pellmar
