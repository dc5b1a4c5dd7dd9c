// Which medium each project was last used with, kept in the memory file
// beside the settings file, so that a run can tell before it copies
// anything that the stick under the project's letter is another one.
#ifndef PELLMAR_CORE_PROJECT_MEDIUM_H_
#define PELLMAR_CORE_PROJECT_MEDIUM_H_

#include <string>

#include "core/text_ops.h"
#include "platform/medium_memory.h"
#include "platform/platform.h"

namespace pellmar {

/// The memory file in the folder of the settings file at `settings_path`.
std::string MediumMemoryPath(const std::string& settings_path, CodePage cp = {});

/// Reads the memory file; no file is an empty memory. Fails with
/// kErrorInvalidData and the line at fault for a file that is not such a
/// file, or with the reason it could not be read.
Status ReadMediumMemory(Platform& platform, const std::string& path, MediumMemory* memory);

/// Notes `medium` as the project's last one, in one atomic replace of the
/// file that keeps whatever else it holds. A medium with no key is not
/// noted, and a file that cannot be read is not written over.
Status RememberProjectMedium(Platform& platform, const std::string& path,
                             const std::string& project_folder, const MediumIdentity& medium);

/// A medium as a message names it: its label, else its key.
std::string MediumName(const MediumIdentity& medium);

}  // namespace pellmar

#endif  // PELLMAR_CORE_PROJECT_MEDIUM_H_
