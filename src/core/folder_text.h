// Folder texts as the settings file and the folder picker hand them over,
// brought to one spelling: "." and ".." steps are taken, so that the last
// component of a project folder is really the project's own name.
#ifndef PELLMAR_CORE_FOLDER_TEXT_H_
#define PELLMAR_CORE_FOLDER_TEXT_H_

#include <string>

#include "core/text_ops.h"

namespace pellmar {

/// `folder` with every "." component dropped and every ".." taking away the
/// component before it, by the text alone. A ".." never climbs above a
/// drive root ("D:\") or a network root ("\\server\share"); a drive root
/// keeps its backslash. A text without "." or ".." comes back unchanged;
/// one that is rebuilt loses doubled and trailing backslashes as well.
/// A relative text keeps the ".." it cannot take, and one that comes to
/// nothing is ".".
std::string NormalFolder(const std::string& folder, CodePage cp = {});

}  // namespace pellmar

#endif  // PELLMAR_CORE_FOLDER_TEXT_H_
