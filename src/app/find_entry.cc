// The entry a verb names.
#include "app/find_entry.h"

#include <iostream>
#include <vector>

namespace pellmar {

namespace {

std::optional<int> ParsePosition(const std::string& text) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

// A name that several entries share selects none of them.
std::optional<int> FindEntry(const TMain& main, const std::string& project) {
  std::optional<int> found;
  const std::vector<std::string>& names = main.ListBox2.items();
  for (int p = 0; p < static_cast<int>(names.size()); ++p) {
    if (names[p] != project) continue;
    if (found) {
      std::cerr << "pellmar: several entries are named \"" << project
                << "\"; give its position instead.\n";
      return std::nullopt;
    }
    found = p;
  }
  if (found) return found;
  const std::optional<int> position = ParsePosition(project);
  if (position && *position >= 1 && *position <= main.ListBox1.count()) return *position - 1;
  std::cerr << "pellmar: no entry \"" << project << "\"; `pellmar list` shows them.\n";
  return std::nullopt;
}

}  // namespace pellmar
