// The record a trashed file leaves beside it (its .trashinfo text) and the
// names a file may take in a trash: what a file manager reads to list a
// trashed file under its own name and put it back where it was.
#ifndef PELLMAR_PLATFORM_POSIX_TRASH_INFO_H_
#define PELLMAR_PLATFORM_POSIX_TRASH_INFO_H_

#include <ctime>
#include <string>

namespace pellmar {

/// `path` as a record writes it: every byte but letters, digits, "/" and
/// -_.!~*'() as %XX, so any name a file system holds (blanks, "%", bytes
/// that are no UTF-8) comes back byte for byte.
std::string EscapeTrashPath(const std::string& path);

/// The whole record of a file that was at `path` (unescaped; absolute, or
/// relative to the top folder of its file system) and was trashed at
/// `when`, written in local time.
std::string TrashInfoText(const std::string& path, std::time_t when);

/// The name to try in a trash, at `attempt` (0 first), for a file named
/// `name`: the name itself, then ".2" to ".9" and then random marks before
/// its extension ("report.2.txt"), always short enough that the record's
/// name (this name and ".trashinfo") fits in a folder entry.
std::string TrashNameCandidate(const std::string& name, int attempt);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_POSIX_TRASH_INFO_H_
