// What `send` and `load` show while the run goes. On a terminal, stderr
// gets one progress line redrawn in place, at most ten times a second, from
// the text the window's progress bar carries; stdout, when it is a terminal
// too, gets the log's lines as the run adds them, a batch at a time above
// the progress line, rather than all at once at the end. Anything else the
// program writes erases the progress line first (Erase). A pipe or a file
// gets neither: its output is what it always was.
#ifndef PELLMAR_APP_RUN_DISPLAY_H_
#define PELLMAR_APP_RUN_DISPLAY_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "ui/controls.h"

namespace pellmar {

/// `text` cut so that it fills at most `columns` - 1 columns of a terminal
/// (a character outside ASCII is taken as two wide), so it never wraps;
/// whole for `columns` 0 (unknown).
std::string FitToColumns(const std::string& text, int columns);
/// How many columns of a terminal `text` fills, by the same rule.
int TextColumns(const std::string& text);

class RunDisplay {
 public:
  struct Options {
    bool progress = false;    // stderr is a terminal, and no --quiet
    bool stream_log = false;  // stdout is a terminal
    int columns = 0;          // of stderr's terminal; 0 when unknown
  };
  using Clock = std::function<int64_t()>;

  /// `log` is the log window's text; it must outlive this object.
  RunDisplay(std::ostream& out, std::ostream& err, const MemoField& log, Options options,
             Clock clock);

  /// The progress bar as the window has it: `permille` of the work, or -1
  /// when no bar is shown (the line is then erased), and its text.
  void ShowProgress(int permille, const std::string& text);
  /// The log changed; lines added while `running` are the run's, shown as
  /// they come.
  void LogChanged(bool running);
  /// Prints the run's lines not printed yet, and erases the progress line.
  void FlushLog();
  /// Erases the progress line, so that something else can be written; the
  /// next change draws it again.
  void Erase();
  /// How many of the log's lines have been printed.
  size_t lines_printed() const { return printed_; }

 private:
  static constexpr int64_t kRedrawEveryMs = 100;

  /// Prints what is due, unless it was printed less than kRedrawEveryMs
  /// ago and `now` is false.
  void Refresh(bool now);
  void PrintRunLines();
  void DrawProgress();

  std::ostream& out_;
  std::ostream& err_;
  const MemoField& log_;
  Options options_;
  Clock clock_;
  int permille_ = -1;
  std::string text_;
  bool drawn_ = false;        // the progress line is on the screen
  bool due_ = false;          // something changed since the last refresh
  int64_t refreshed_ms_ = 0;  // when the last refresh was
  bool refreshed_ = false;
  size_t printed_ = 0;    // log lines printed
  size_t run_lines_ = 0;  // log lines the run added, printed or not
};

}  // namespace pellmar

#endif  // PELLMAR_APP_RUN_DISPLAY_H_
