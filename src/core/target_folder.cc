// The target-folder rule of a walk.
#include "core/target_folder.h"

namespace pellmar {

namespace {

constexpr size_t kFallbackFolderLength = 1000;

// `path` without `folder` when the path begins with that folder and goes on
// at a folder boundary; otherwise unchanged. Taken out anywhere else, a
// project "E:\S" would cut the middle out of "E:\Sync\S\a.c" and send the
// copy back onto its own source.
std::string RemoveLeadingFolder(const std::string& path, const std::string& folder, CodePage cp) {
  if (folder.empty() || path.compare(0, folder.size(), folder) != 0) return path;
  const bool at_boundary =
      path.size() == folder.size() || path[folder.size()] == '\\' || EndsWithBackslash(folder, cp);
  return at_boundary ? path.substr(folder.size()) : path;
}

}  // namespace

std::string TargetFolder(const SyncRun& run, const std::string& file_path,
                         const std::string& source_folder, std::string* root) {
  // The project folder is removed as the absolute folder the run walks or
  // fills, so a project outside the Documents folder lands under the
  // removable project folder too, where Load looks for it.
  std::string rest = RemoveLeadingFolder(file_path, run.project_folder, run.code_page);
  rest = RemoveLeadingFolder(rest, run.removable_project_folder, run.code_page);
  // The folder part is the parent of what is left: "\src\lib\util.c" gives
  // "\src\lib", "\readme.txt" gives "\".
  std::string folder = ParentOf(rest, run.code_page);
  if (folder.find(':') != std::string::npos) {
    *root = root->substr(0, 2);
    folder = source_folder.size() > 2 ? source_folder.substr(2, kFallbackFolderLength) : "";
  }
  return *root + folder;
}

}  // namespace pellmar
