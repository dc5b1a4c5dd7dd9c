// The status verb: each project counted as its window would count it, then
// printed as a table for a person or for a script.
#include "app/status_command.h"

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/exit_codes.h"
#include "app/find_entry.h"
#include "app/headless_session.h"
#include "app/run_display.h"
#include "app/stop_signals.h"
#include "app/terminal.h"
#include "app/usage.h"
#include "core/free_space_text.h"
#include "ui/main_form.h"
#include "ui/project_status.h"

namespace pellmar {

namespace {

using Row = std::vector<std::string>;

const Row kHeader = {"#",          "project",    "send_files", "send_bytes",
                     "load_files", "load_bytes", "deletions",  "conflicts",
                     "drive",      "label",      "free_bytes"};
// The columns a person reads from the right: the counts and sizes.
constexpr bool kNumeric[] = {true, false, true, true, true, true, true, true, false, false, true};

// Sizes for a script in bytes, for a person in kilo- or megabytes.
std::string Bytes(int64_t bytes, bool for_person) {
  return for_person ? SizeText(bytes) : std::to_string(bytes);
}

Row RowOf(int p, const std::string& name, const ProjectStatus& status, bool for_person) {
  const std::string free = status.free_known ? Bytes(status.free_bytes, for_person) : "-";
  const std::string label = status.medium.label.empty() ? "-" : status.medium.label;
  const std::string drive = status.drive.empty() ? "-" : status.drive;
  if (status.refusal) {
    return {std::to_string(p + 1), name, "-", "-", "-", "-", "-", "-", drive, label, free};
  }
  return {std::to_string(p + 1),
          name,
          std::to_string(status.send.files),
          Bytes(status.send.bytes, for_person),
          std::to_string(status.load.files),
          Bytes(status.load.bytes, for_person),
          std::to_string(status.deletions),
          std::to_string(status.conflict_count),
          drive,
          label,
          free};
}

void PrintTabSeparated(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) std::cout << (c > 0 ? "\t" : "") << row[c];
    std::cout << '\n';
  }
}

void PrintAligned(const std::vector<Row>& rows) {
  std::vector<int> widths(kHeader.size(), 0);
  for (const Row& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], TextColumns(row[c]));
  }
  for (const Row& row : rows) {
    std::string line;
    for (size_t c = 0; c < row.size(); ++c) {
      const std::string pad(widths[c] - TextColumns(row[c]), ' ');
      line += (c > 0 ? "  " : "") + (kNumeric[c] ? pad + row[c] : row[c] + pad);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    std::cout << line << '\n';
  }
}

// What keeps a project's line from being the whole truth, on stderr; false
// when there was such a thing.
bool TellWhatWasNotCounted(const std::string& name, const ProjectStatus& status) {
  if (status.refusal) {
    std::cerr << "pellmar: " << name << ": not counted: " << TerminalText(*status.refusal) << '\n';
    return false;
  }
  for (const std::string& left_out : status.LeftOut()) {
    std::cerr << "pellmar: " << name << ": not counted: " << left_out << '\n';
  }
  const int64_t unnamed = status.send.outcome.skipped_count + status.load.outcome.skipped_count -
                          static_cast<int64_t>(status.LeftOut().size());
  if (unnamed > 0) std::cerr << "pellmar: " << name << ": and " << unnamed << " more\n";
  if (status.stopped) std::cerr << "pellmar: " << name << ": the count was stopped\n";
  return status.Complete();
}

void PrintConflicts(const std::string& name, const ProjectStatus& status) {
  if (status.conflict_count == 0) return;
  std::cout << "\nConflicts of " << name << " (" << status.conflict_count << "):\n";
  for (const std::string& conflict : status.conflicts) std::cout << "  " << conflict << '\n';
  const int64_t unnamed = status.conflict_count - static_cast<int64_t>(status.conflicts.size());
  if (unnamed > 0) std::cout << "  and " << unnamed << " more\n";
}

}  // namespace

int RunStatusCommand(Platform& platform, const std::vector<std::string>& args) {
  if (args.size() > 1 || (args.size() == 1 && (args[0].empty() || args[0][0] == '-'))) {
    return UsageError("status takes at most one PROJECT");
  }
  CatchStopSignals(IsTerminal(Output::kStderr));
  HeadlessSession session(platform, SessionOptions{});
  TMain& main = session.main();
  std::vector<int> positions;
  if (args.empty()) {
    for (int p = 0; p < main.ListBox1.count(); ++p) positions.push_back(p);
  } else if (const std::optional<int> p = FindEntry(main, args[0])) {
    positions.push_back(*p);
  } else {
    return kExitIncomplete;
  }
  const bool for_person = IsTerminal(Output::kStdout);
  // As `list` does: a person learns why there is nothing to show, a script
  // gets the header alone.
  if (positions.empty() && for_person) {
    std::cout << main.messages().Msg(kNoProjectsYet) << std::endl;
    return kExitComplete;
  }
  std::vector<Row> rows = {kHeader};
  std::vector<std::pair<std::string, ProjectStatus>> counted;
  bool complete = true;
  for (const int p : positions) {
    if (StopSignalled()) break;
    const std::string& name = main.ListBox2.item(p);
    ProjectStatus status = main.ProjectStatusOf(p);
    complete = TellWhatWasNotCounted(name, status) && complete;
    rows.push_back(RowOf(p, name, status, for_person));
    counted.emplace_back(name, std::move(status));
  }
  if (for_person) {
    PrintAligned(rows);
  } else {
    PrintTabSeparated(rows);
  }
  for (const auto& [name, status] : counted) PrintConflicts(name, status);
  std::cout.flush();
  if (StopSignalled()) return StopExitCode();
  return complete ? kExitComplete : kExitIncomplete;
}

}  // namespace pellmar
