// The folders of each direction: Send's destination and Load's source are
// spelled as the runs have always spelled them (see send_load.h).
#include "core/run_sides.h"

#include "core/send_load.h"

namespace pellmar {

RunSides SendSides(const std::string& project_folder, const std::string& media_dir,
                   const std::string& project_name, const std::string& exclusion_text) {
  const std::string destination = SendDestination(media_dir, project_name);
  return RunSides{project_folder, destination, project_folder, destination,
                  ExclusionList(exclusion_text) + ","};
}

RunSides LoadSides(const std::string& project_folder, const std::string& media_dir,
                   const std::string& project_name, const std::string& exclusion_text) {
  const std::string source = LoadSource(media_dir, project_name);
  return RunSides{source, project_folder, project_folder, source,
                  ExclusionList(exclusion_text) + ","};
}

std::string InProject(const std::string& path, const RunSides& sides) {
  for (const std::string* folder : {&sides.project_folder, &sides.removable_project_folder}) {
    if (path.size() > folder->size() && path.compare(0, folder->size(), *folder) == 0 &&
        path[folder->size()] == '\\') {
      return path.substr(folder->size() + 1);
    }
  }
  return path;
}

}  // namespace pellmar
