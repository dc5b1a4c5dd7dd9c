// The project's last medium in the memory file.
#include "core/project_medium.h"

#include "core/settings_file.h"

namespace pellmar {

std::string MediumMemoryPath(const std::string& settings_path, CodePage cp) {
  return FolderWithSeparator(settings_path, cp) + kMediumMemoryFileName;
}

Status ReadMediumMemory(Platform& platform, const std::string& path, MediumMemory* memory) {
  *memory = MediumMemory{};
  std::string text;
  const Status read = platform.ReadWholeFile(path, &text);
  if (read.code == kErrorFileNotFound || read.code == kErrorPathNotFound) return Status::Ok();
  if (!read.ok()) return read;
  std::string problem;
  if (!ParseMediumMemory(text, memory, &problem)) {
    return Status::Error(kErrorInvalidData, problem);
  }
  return Status::Ok();
}

Status RememberProjectMedium(Platform& platform, const std::string& path,
                             const std::string& project_folder, const MediumIdentity& medium) {
  if (medium.key.empty()) return Status::Ok();
  // Read again right before the write: the platform or another run may
  // have written the file since this run looked.
  MediumMemory memory;
  if (Status read = ReadMediumMemory(platform, path, &memory); !read.ok()) return read;
  const ProjectMedium* last = memory.ProjectOf(project_folder);
  if (last != nullptr && last->medium == medium) {
    bool latest = true;
    for (const ProjectMedium& other : memory.projects) latest = latest && other.used <= last->used;
    if (latest) return Status::Ok();
  }
  memory.RememberProject(project_folder, medium);
  return platform.WriteWholeFile(path, FormatMediumMemory(memory));
}

std::string MediumName(const MediumIdentity& medium) {
  return medium.label.empty() ? medium.key : medium.label;
}

}  // namespace pellmar
