// The two folders of a Send or a Load and what the run reads besides them,
// worked out in one place for the runs, their previews and the status.
#ifndef PELLMAR_CORE_RUN_SIDES_H_
#define PELLMAR_CORE_RUN_SIDES_H_

#include <string>

namespace pellmar {

struct RunSides {
  std::string source, destination, project_folder, removable_project_folder, exclusion_list;
};

/// Send copies `project_folder` (absolute) into the project's folder below
/// `media_dir`; `exclusion_text` is the entry's text as the window shows it.
RunSides SendSides(const std::string& project_folder, const std::string& media_dir,
                   const std::string& project_name, const std::string& exclusion_text);
/// Load copies the other way, from the removable disk into the project.
RunSides LoadSides(const std::string& project_folder, const std::string& media_dir,
                   const std::string& project_name, const std::string& exclusion_text);

/// `path`, a file in one of the two folders of `sides`, named inside that
/// folder ("src\\a.c"); any other path as it is.
std::string InProject(const std::string& path, const RunSides& sides);

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_SIDES_H_
