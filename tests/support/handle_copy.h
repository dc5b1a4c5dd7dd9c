// The calls a run makes to copy or remove one file, made by path for the
// platform tests: open the folders, look at the files (the decision), act.
#ifndef PELLMAR_TESTS_SUPPORT_HANDLE_COPY_H_
#define PELLMAR_TESTS_SUPPORT_HANDLE_COPY_H_

#include <functional>
#include <string>

#include "platform/platform.h"

namespace pellmar {

/// What a test may do between the decision and the act.
using BetweenDecisionAndAct = std::function<void()>;

/// Copies the file `source_path` into the folder `target_folder` as a run
/// would, the target looked at first; `meanwhile` runs after the looks.
Status CopyByHandle(Platform& platform, const std::string& source_path,
                    const std::string& target_folder, bool keep_replaced = true,
                    const BetweenDecisionAndAct& meanwhile = {}, CopyResult* result = nullptr);

/// Removes the file `path` as a run's auto-delete would; `meanwhile` runs
/// after the look.
Status RemoveByHandle(Platform& platform, const std::string& path, bool to_trash,
                      const BetweenDecisionAndAct& meanwhile = {});

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_HANDLE_COPY_H_
