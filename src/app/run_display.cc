// The progress line and the log's lines of a run on a terminal.
#include "app/run_display.h"

#include <ostream>
#include <utility>

namespace pellmar {

namespace {

constexpr char kEraseLine[] = "\r\x1b[K";

// "  7% ", " 42% ", "100% ": the bar of the window as a number.
std::string PercentText(int permille) {
  std::string percent = std::to_string(permille / 10) + "% ";
  return std::string(percent.size() < 5 ? 5 - percent.size() : 0, ' ') + percent;
}

// The columns of the character that byte `c` leads; 0 for a byte that
// continues one, which was counted with its lead.
int LeadColumns(unsigned char c) {
  if ((c & 0xC0) == 0x80) return 0;
  // Characters of three bytes and more are mostly CJK, two columns wide.
  return c >= 0xE0 ? 2 : 1;
}

}  // namespace

std::string FitToColumns(const std::string& text, int columns) {
  if (columns <= 0) return text;
  const int room = columns - 1;
  int used = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const int width = LeadColumns(static_cast<unsigned char>(text[i]));
    if (used + width > room) return text.substr(0, i);
    used += width;
  }
  return text;
}

int TextColumns(const std::string& text) {
  int used = 0;
  for (const char c : text) used += LeadColumns(static_cast<unsigned char>(c));
  return used;
}

RunDisplay::RunDisplay(std::ostream& out, std::ostream& err, const MemoField& log, Options options,
                       Clock clock)
    : out_(out), err_(err), log_(log), options_(options), clock_(std::move(clock)) {}

void RunDisplay::ShowProgress(int permille, const std::string& text) {
  if (permille == permille_ && text == text_) return;
  permille_ = permille;
  text_ = text;
  due_ = true;
  // The bar goes when the run ends: its last lines and the erase come now.
  // A full bar comes now too: what it says after the last file (the disk
  // being written out) can last seconds with nothing redrawn.
  Refresh(permille < 0 || permille >= 1000);
}

void RunDisplay::LogChanged(bool running) {
  const size_t count = log_.line_count();
  if (count < printed_ || count < run_lines_) printed_ = run_lines_ = 0;  // cleared
  if (!running || !options_.stream_log || count == run_lines_) return;
  run_lines_ = count;
  due_ = true;
  Refresh(false);
}

void RunDisplay::FlushLog() {
  if (printed_ < run_lines_) {
    Erase();
    PrintRunLines();
  }
  Erase();
}

void RunDisplay::Erase() {
  if (!drawn_) return;
  err_ << kEraseLine << std::flush;
  drawn_ = false;
  due_ = permille_ >= 0;
}

void RunDisplay::Refresh(bool now) {
  if (!due_) return;
  const int64_t ms = clock_();
  if (!now && refreshed_ && ms - refreshed_ms_ < kRedrawEveryMs) return;
  refreshed_ = true;
  refreshed_ms_ = ms;
  if (printed_ < run_lines_) {
    Erase();
    PrintRunLines();
  }
  DrawProgress();
  due_ = false;
}

void RunDisplay::PrintRunLines() {
  // One write a batch: a terminal takes a thousand lines at once far
  // quicker than one at a time.
  std::string batch;
  for (size_t i = printed_; i < run_lines_; ++i) {
    batch += log_.line(i);
    batch += '\n';
  }
  out_ << batch << std::flush;
  printed_ = run_lines_;
}

void RunDisplay::DrawProgress() {
  if (!options_.progress) return;
  if (permille_ < 0) return Erase();
  err_ << '\r' << FitToColumns(PercentText(permille_) + text_, options_.columns) << "\x1b[K"
       << std::flush;
  drawn_ = true;
}

}  // namespace pellmar
