// The text of "Pellmar.drives": a header line, then one tab-separated line
// a remembered letter or project. A tab, a line end or a backslash in a
// label or a folder name is written as an escape, so every record stays one
// line whatever the names hold.
#include "platform/medium_memory.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

namespace pellmar {
namespace {

constexpr std::string_view kHeader = "# Pellmar.drives 1";
constexpr std::string_view kHeaderLine =
    "# Pellmar.drives 1: the letter each removable disk keeps, and the disk each project was "
    "last used with.";
// Far beyond what the caps let the program write: anything larger is no
// file of this program's.
constexpr size_t kMaxFileBytes = 256 * 1024;
constexpr size_t kMaxOrderDigits = 18;

// Each character that would break a record, and the letter after the
// backslash that stands for it.
constexpr std::pair<char, char> kEscapes[] = {{'\\', '\\'}, {'\t', 't'}, {'\n', 'n'}, {'\r', 'r'}};

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [c](const auto& e) { return e.first == c; });
    if (escape == std::end(kEscapes)) {
      out += c;
    } else {
      out += {'\\', escape->second};
    }
  }
  return out;
}

bool Unescape(std::string_view text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      *out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    const char code = text[i];
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [code](const auto& e) { return e.second == code; });
    if (escape == std::end(kEscapes)) return false;
    *out += escape->first;
  }
  return true;
}

bool ParseOrder(std::string_view text, int64_t* order) {
  if (text.empty() || text.size() > kMaxOrderDigits) return false;
  *order = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    *order = *order * 10 + (c - '0');
  }
  return true;
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

// One record: kind, then the letter or the folder, the key, the label and
// the order. The kind decides where it goes.
std::string ParseRecord(std::string_view line, MediumMemory* memory) {
  const std::vector<std::string_view> fields = SplitTabs(line);
  if (fields.size() != 5) return "it does not have the five fields of a record";
  std::string place;
  MediumIdentity medium;
  int64_t order = 0;
  if (!Unescape(fields[1], &place) || !Unescape(fields[2], &medium.key) ||
      !Unescape(fields[3], &medium.label)) {
    return "a backslash in it starts no escape this file knows";
  }
  if (medium.key.empty()) return "it names no disk";
  if (!ParseOrder(fields[4], &order)) return "its last field is not a count";
  if (fields[0] == "letter") {
    if (place.size() != 2 || place[0] < 'E' || place[0] > 'Z' || place[1] != ':') {
      return "\"" + place + "\" is no drive letter from E: to Z:";
    }
    for (const RememberedLetter& known : memory->letters) {
      if (known.letter == place[0] || known.medium.key == medium.key) {
        return "its letter or its disk is given twice";
      }
    }
    memory->letters.push_back({place[0], medium, order});
    return "";
  }
  if (fields[0] == "project") {
    if (place.empty()) return "it names no project folder";
    if (memory->ProjectOf(place) != nullptr) return "its project is given twice";
    memory->projects.push_back({place, medium, order});
    return "";
  }
  return "\"" + std::string(fields[0]) + "\" is no kind of record this file knows";
}

int64_t NextUse(const std::vector<ProjectMedium>& projects) {
  int64_t last = 0;
  for (const ProjectMedium& p : projects) last = std::max(last, p.used);
  return last + 1;
}

}  // namespace

const RememberedLetter* MediumMemory::LetterOf(const std::string& key) const {
  for (const RememberedLetter& known : letters) {
    if (known.medium.key == key) return &known;
  }
  return nullptr;
}

const ProjectMedium* MediumMemory::ProjectOf(const std::string& project_folder) const {
  for (const ProjectMedium& known : projects) {
    if (known.project_folder == project_folder) return &known;
  }
  return nullptr;
}

void MediumMemory::RememberProject(const std::string& project_folder,
                                   const MediumIdentity& medium) {
  const int64_t used = NextUse(projects);
  std::erase_if(projects,
                [&](const ProjectMedium& p) { return p.project_folder == project_folder; });
  projects.push_back({project_folder, medium, used});
  while (projects.size() > kMaxProjects) {
    projects.erase(std::min_element(
        projects.begin(), projects.end(),
        [](const ProjectMedium& a, const ProjectMedium& b) { return a.used < b.used; }));
  }
}

bool ParseMediumMemory(const std::string& text, MediumMemory* memory, std::string* problem) {
  *memory = MediumMemory{};
  if (text.size() > kMaxFileBytes) {
    *problem = "it is larger than such a file ever gets";
    return false;
  }
  std::string_view rest(text);
  for (int number = 1; !rest.empty(); ++number) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string wrong;
    if (number == 1) {
      if (line.substr(0, kHeader.size()) != kHeader) wrong = "it is not a file of this program's";
    } else if (!line.empty()) {
      wrong = ParseRecord(line, memory);
    }
    if (!wrong.empty()) {
      *memory = MediumMemory{};
      *problem = "line " + std::to_string(number) + ": " + wrong;
      return false;
    }
  }
  return true;
}

std::string FormatMediumMemory(const MediumMemory& memory) {
  std::string text = std::string(kHeaderLine) + "\n";
  std::vector<RememberedLetter> letters = memory.letters;
  std::sort(
      letters.begin(), letters.end(),
      [](const RememberedLetter& a, const RememberedLetter& b) { return a.letter < b.letter; });
  for (const RememberedLetter& l : letters) {
    text += "letter\t" + std::string(1, l.letter) + ":\t" + Escaped(l.medium.key) + "\t" +
            Escaped(l.medium.label) + "\t" + std::to_string(l.seen) + "\n";
  }
  for (const ProjectMedium& p : memory.projects) {
    text += "project\t" + Escaped(p.project_folder) + "\t" + Escaped(p.medium.key) + "\t" +
            Escaped(p.medium.label) + "\t" + std::to_string(p.used) + "\n";
  }
  return text;
}

}  // namespace pellmar
