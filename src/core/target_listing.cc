// One listing of a target folder serving every file copied into it.
#include "core/target_listing.h"

#include <algorithm>
#include <utility>

#include "platform/ascii.h"

namespace pellmar {

namespace {

bool IsAscii(const std::string& name) {
  return std::none_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; });
}

std::string Folded(std::string name) {
  for (char& c : name) c = LowerAscii(c);
  return name;
}

bool ByName(const FileFacts& a, const FileFacts& b) { return a.name < b.name; }

}  // namespace

TargetListing::TargetListing(Platform& platform, std::string folder)
    : platform_(platform), folder_(std::move(folder)) {}

void TargetListing::List() {
  listed_ = true;
  FolderListing listing = platform_.ListFolder(folder_ + "\\*");
  exists_ = listing.status.ok();
  // A folder that is not there holds nothing; one that could not be read,
  // or whose listing left entries out, is asked name by name.
  trusted_ = (exists_ || listing.status.code == kErrorPathNotFound) && listing.unnamable.empty() &&
             listing.unreadable.empty();
  entries_ = std::move(listing.entries);
  std::sort(entries_.begin(), entries_.end(), ByName);
  any_non_ascii_ = std::any_of(entries_.begin(), entries_.end(),
                               [](const FileFacts& entry) { return !IsAscii(entry.name); });
}

bool TargetListing::KnownToExist() {
  if (!listed_) List();
  return exists_;
}

// Case-blind file systems match other cases, FAT matches a name without
// its trailing dots and blanks and by its short "~" alias, and exFAT and
// NTFS fold letters beyond ASCII.
bool TargetListing::MayMatchAnotherSpelling(const std::string& name) {
  if (any_non_ascii_ || !IsAscii(name) || name.find('~') != std::string::npos) return true;
  if (!name.empty() && (name.back() == '.' || name.back() == ' ')) return true;
  if (!folded_made_) {
    folded_made_ = true;
    for (const FileFacts& entry : entries_) folded_.insert(Folded(entry.name));
  }
  return folded_.count(Folded(name)) != 0;
}

std::optional<FileFacts> TargetListing::Find(const std::string& name) {
  if (!listed_) List();
  const auto found = std::lower_bound(
      entries_.begin(), entries_.end(), name,
      [](const FileFacts& entry, const std::string& wanted) { return entry.name < wanted; });
  if (found != entries_.end() && found->name == name) return *found;
  if (trusted_ && !MayMatchAnotherSpelling(name)) return std::nullopt;
  return platform_.FindFile(folder_ + "\\" + name);
}

void TargetListing::Added(const std::string& name) {
  // Kept with the listing's names whether or not those are folded yet.
  folded_.insert(Folded(name));
  if (!IsAscii(name)) any_non_ascii_ = true;
}

}  // namespace pellmar
