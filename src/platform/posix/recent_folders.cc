// Mapping file paths through the entry of their folder.
#include "platform/posix/recent_folders.h"

#include <climits>
#include <utility>

#include "platform/ascii.h"

namespace pellmar {

bool RecentFolders::SplitAtName(const std::string& path, std::string* folder, std::string* name) {
  const size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos || cut == 0) return false;
  const std::string_view tail(path.data() + cut + 1, path.size() - cut - 1);
  if (tail.empty() || tail == "." || tail == "..") return false;
  if (tail.find_first_of(std::string_view(":\0", 2)) != std::string_view::npos) return false;
  folder->assign(path, 0, cut);
  name->assign(tail);
  return true;
}

std::optional<std::string> RecentFolders::Lookup(const std::string& path, PathUse use) const {
  const size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos) return std::nullopt;
  const std::string_view folder(path.data(), cut);
  for (const Entry& entry : entries_) {
    if (entry.host.empty() || entry.folder != folder) continue;
    if (entry.on_medium && use == PathUse::kWrite) return std::nullopt;
    std::string folder_text, name;
    if (!SplitAtName(path, &folder_text, &name)) return std::nullopt;
    for (const std::string& mapped : entry.mapped_names) {
      if (EqualsIgnoreCase(mapped, name)) return std::nullopt;
    }
    std::string host = entry.host + "/" + name;
    // Left to the whole rule, which reports it as too long.
    if (host.size() >= PATH_MAX) return std::nullopt;
    return host;
  }
  return std::nullopt;
}

void RecentFolders::Remember(const std::string& path, const std::string& host_path, bool on_medium,
                             std::vector<std::string> mapped_names) {
  std::string folder, name;
  if (!SplitAtName(path, &folder, &name)) return;
  const size_t slash = host_path.rfind('/');
  if (slash == std::string::npos || host_path.compare(slash + 1, std::string::npos, name) != 0) {
    return;
  }
  // The host root "/" is kept as "", which reads as no entry; its files are
  // few and take the whole rule.
  entries_[next_] =
      Entry{std::move(folder), host_path.substr(0, slash), on_medium, std::move(mapped_names)};
  next_ = (next_ + 1) % entries_.size();
}

void RecentFolders::Forget() {
  for (Entry& entry : entries_) entry = Entry{};
}

}  // namespace pellmar
