// The window-independent steps of the Send and Load commands: the exclusion
// list, the removable project folder of each direction, and the texts the
// commands show.
#ifndef PELLMAR_CORE_SEND_LOAD_H_
#define PELLMAR_CORE_SEND_LOAD_H_

#include <string>

#include "core/messages.h"
#include "core/run_outcome.h"

namespace pellmar {

/// The exclusion text without blanks and full stops ("pdf, ini" -> "pdf,ini").
std::string ExclusionList(const std::string& exclusion_text);

/// Send's destination: removable folder, "\" and project name, with the
/// first "\\" made one "\" ("A:\" and "Proj" give "A:\Proj").
std::string SendDestination(const std::string& media_dir, const std::string& project_name);
/// Load's source: the same three parts with no replacement ("A:\\Proj").
std::string LoadSource(const std::string& media_dir, const std::string& project_name);

/// The text shown when Send or Load is given with no entry selected.
std::string NothingSelectedText(const MessageTable& messages);

/// The log title: Msg10, the count and Msg11 run together.
std::string LogTitle(const std::string& msg10, int count, const std::string& msg11);

/// Shown once when the removable disk goes away during a run; `message` is
/// the kMediumGone text.
std::string MediumGoneText(const std::string& message, int copies_done);

/// The line the log shows for a file whose copy failed.
std::string FailedCopyLogLine(const std::string& file_name, const std::string& reason);

/// The message listing what a run left out; empty when it left out nothing.
std::string SkippedEntriesText(const RunOutcome& outcome, const MessageTable& messages);

}  // namespace pellmar

#endif  // PELLMAR_CORE_SEND_LOAD_H_
