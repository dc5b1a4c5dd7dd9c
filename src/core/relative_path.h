// The relative form in which the entry list shows project folders.
//
// MakeDocumentsRelative turns an absolute folder into the text the list
// shows (below the Documents folder, climbing out with "..\" steps, or
// absolute); ResolveDocumentsRelative turns that text back. Every folder
// comes back unchanged: where the climbing form would not, the absolute
// folder is shown instead.
#ifndef PELLMAR_CORE_RELATIVE_PATH_H_
#define PELLMAR_CORE_RELATIVE_PATH_H_

#include <string>

#include "core/text_ops.h"

namespace pellmar {

/// The shown form of `folder`. Resolving it against the same Documents
/// folder gives `folder` back, byte for byte, for every drive or network
/// folder; the climb always ends, whatever the Documents folder holds.
std::string MakeDocumentsRelative(const std::string& documents, const std::string& folder,
                                  CodePage cp = {});
/// The absolute folder a shown text stands for. A drive or network path
/// that does not start with "..\" stands for itself.
std::string ResolveDocumentsRelative(const std::string& documents, const std::string& shown,
                                     CodePage cp = {});

}  // namespace pellmar

#endif  // PELLMAR_CORE_RELATIVE_PATH_H_
