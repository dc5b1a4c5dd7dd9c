// Finds an entry as the verbs on one entry name it: by its project name as
// listed, else by its position counted from 1.
#ifndef PELLMAR_APP_FIND_ENTRY_H_
#define PELLMAR_APP_FIND_ENTRY_H_

#include <optional>
#include <string>

#include "ui/main_form.h"

namespace pellmar {

/// The list position of PROJECT; nullopt, with the reason on stderr, when
/// no entry is named so, or several are.
std::optional<int> FindEntry(const TMain& main, const std::string& project);

}  // namespace pellmar

#endif  // PELLMAR_APP_FIND_ENTRY_H_
