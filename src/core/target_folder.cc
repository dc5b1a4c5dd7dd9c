// The target-folder rule of a walk.
#include "core/target_folder.h"

namespace pellmar {

namespace {

constexpr size_t kFallbackFolderLength = 1000;

bool IsSeparator(char c) { return c == '\\' || c == ':'; }

// Position of the last "\" or ":" that is a character of its own (never the
// second byte of a double-byte character), or npos.
size_t LastSeparator(const std::string& path, CodePage cp) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (cp.IsLeadByte(c)) {
      ++i;
    } else if (IsSeparator(path[i])) {
      last = i;
    }
  }
  return last;
}

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

std::string FolderPart(const std::string& path, CodePage cp) {
  const size_t i = LastSeparator(path, cp);
  if (i == std::string::npos) return "";
  const bool keep = i == 0 || path[i] == ':' || IsSeparator(path[i - 1]);
  return path.substr(0, keep ? i + 1 : i);
}

std::string TargetFolder(const SyncRun& run, const std::string& file_path,
                         const std::string& source_folder, std::string* root) {
  // The project folder is removed as the absolute folder the run walks or
  // fills, so a project outside the Documents folder lands under the
  // removable project folder too, where Load looks for it.
  std::string rest = RemoveLeadingFolder(file_path, run.project_folder, run.code_page);
  rest = RemoveLeadingFolder(rest, run.removable_project_folder, run.code_page);
  std::string folder = FolderPart(rest, run.code_page);
  if (folder.find(':') != std::string::npos) {
    *root = root->substr(0, 2);
    folder = source_folder.size() > 2 ? source_folder.substr(2, kFallbackFolderLength) : "";
  }
  return *root + folder;
}

}  // namespace pellmar
