// Names from labels: Label1 names the removable folder, Label3 heads both
// lists, Label4 and Label5 frame the number of days, Label6 the exclusions.
#include "ui/spoken_names.h"

#include "ui/main_form.h"

namespace pellmar {
namespace {

// The full-width colon a Japanese caption ends with.
constexpr char kWideColon[] = "\xEF\xBC\x9A";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void DropTrailingBlanks(std::string& text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
}

// Label3 heads the two lists with one caption, the headings set apart by a
// run of blanks; a caption without such a run heads both lists.
std::vector<std::string> Headings(const std::string& caption) {
  std::vector<std::string> headings;
  size_t start = caption.find_first_not_of(' ');
  while (start != std::string::npos) {
    size_t end = caption.find("  ", start);
    headings.push_back(caption.substr(start, end == std::string::npos ? end : end - start));
    start = end == std::string::npos ? end : caption.find_first_not_of(' ', end);
  }
  if (headings.empty()) headings.push_back("");
  return headings;
}

std::string Joined(const std::string& first, const std::string& second) {
  if (first.empty() || second.empty()) return first + second;
  return first + " " + second;
}

}  // namespace

std::string SpokenCaption(const std::string& caption) {
  std::string text = caption;
  DropTrailingBlanks(text);
  if (EndsWith(text, ":")) {
    text.pop_back();
  } else if (EndsWith(text, kWideColon)) {
    text.resize(text.size() - (sizeof(kWideColon) - 1));
  }
  DropTrailingBlanks(text);
  return text;
}

std::vector<SpokenName> SpokenNames(const TMain& main) {
  const std::vector<std::string> headings = Headings(main.Label3.caption());
  return {
      {"edMediaDir", SpokenCaption(main.Label1.caption())},
      {"ListBox2", SpokenCaption(headings.front())},
      {"ListBox1", SpokenCaption(headings.back())},
      // "Operate on files modified in recent [365] days" reads as one name.
      {"SpinEdit",
       Joined(SpokenCaption(main.Label4.caption()), SpokenCaption(main.Label5.caption()))},
      {"edExclude", SpokenCaption(main.Label6.caption())},
  };
}

}  // namespace pellmar
