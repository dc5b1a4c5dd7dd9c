// One line of the run memory file: a file's version as a run last saw its
// two copies alike, and its path. How a line is read and how it is
// written, for the lines read from the file and the ones a run adds.
#ifndef PELLMAR_CORE_RUN_MEMORY_LINE_H_
#define PELLMAR_CORE_RUN_MEMORY_LINE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace pellmar {

/// The two copies of a file as a run saw them alike.
struct RememberedVersion {
  int64_t size = 0;
  int64_t project_ns = 0;  // last write of the copy in the project folder
  int64_t medium_ns = 0;   // last write of the copy on the removable disk
  int64_t since = 0;       // the local midnight of that run, as ToLocalSeconds counts: whole days

  friend bool operator==(const RememberedVersion&, const RememberedVersion&) = default;
};

/// `text` as the file writes it: "%", CR and LF escaped, all else as is.
std::string EscapedPathText(std::string_view text);
/// `text` escaped, built in `*scratch` only when something needs escaping.
std::string_view EscapedPathText(std::string_view text, std::string* scratch);

/// Reads a line (without its line end): its version, and where its path
/// starts. False for a line that is none of this file's.
bool ParseMemoryLine(std::string_view line, RememberedVersion* version, size_t* path_at);
/// The version of a line already known to be well formed.
RememberedVersion VersionOfMemoryLine(std::string_view line);
/// The path of a line already known to be well formed.
std::string_view PathOfMemoryLine(std::string_view line);
/// Appends the line of `escaped_path` at `version`, with its line end.
void AppendMemoryLine(std::string_view escaped_path, const RememberedVersion& version,
                      std::string* out);

}  // namespace pellmar

#endif  // PELLMAR_CORE_RUN_MEMORY_LINE_H_
