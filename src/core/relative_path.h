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

std::string MakeDocumentsRelative(const std::string& documents, const std::string& folder,
                                  CodePage cp = {});
std::string ResolveDocumentsRelative(const std::string& documents, const std::string& shown,
                                     CodePage cp = {});

}  // namespace pellmar

#endif  // PELLMAR_CORE_RELATIVE_PATH_H_
