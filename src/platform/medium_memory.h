// "Pellmar.drives", the small file beside the settings file that remembers
// removable media: which drive letter each medium keeps (on Linux, where the
// program gives the letters itself), and which medium each project was last
// used with. Both the platform and the window read and write it, so its
// text lives here, below both.
#ifndef PELLMAR_PLATFORM_MEDIUM_MEMORY_H_
#define PELLMAR_PLATFORM_MEDIUM_MEMORY_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

inline constexpr char kMediumMemoryFileName[] = "Pellmar.drives";

/// The letter a medium keeps. `seen` orders the media by when they were last
/// seen (larger is later); it is a count, not a time, so no clock is asked.
struct RememberedLetter {
  char letter = 0;  // 'E' to 'Z'
  MediumIdentity medium;
  int64_t seen = 0;
};

/// The medium a project was last sent to or loaded from; `used` orders the
/// projects as `seen` orders the media.
struct ProjectMedium {
  std::string project_folder;  // as the run names it
  MediumIdentity medium;
  int64_t used = 0;
};

struct MediumMemory {
  /// Projects beyond this many are forgotten, the longest unused first.
  static constexpr size_t kMaxProjects = 64;

  std::vector<RememberedLetter> letters;  // at most one a letter, one a medium
  std::vector<ProjectMedium> projects;    // at most one a project folder

  /// The letter remembered for the medium `key`; nullptr when none.
  const RememberedLetter* LetterOf(const std::string& key) const;
  /// The medium remembered for the project; nullptr when none.
  const ProjectMedium* ProjectOf(const std::string& project_folder) const;
  /// Remembers `medium` as the project's last one, the most recently used.
  void RememberProject(const std::string& project_folder, const MediumIdentity& medium);
};

/// Reads the file's text into `*memory`. False, with the line and what is
/// wrong with it in `*problem`, for a text this program did not write or
/// that was damaged since: such a file is then neither used nor written over.
bool ParseMediumMemory(const std::string& text, MediumMemory* memory, std::string* problem);
/// The file's text.
std::string FormatMediumMemory(const MediumMemory& memory);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_MEDIUM_MEMORY_H_
