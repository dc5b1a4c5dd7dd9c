// The other side's folders of a walk, opened by handle as the walk needs them.
#include "core/target_listing.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>

#include "core/text_ops.h"
#include "platform/ascii.h"
#include "platform/path_text.h"

namespace pellmar {

namespace {

bool IsAscii(const std::string& name) {
  return std::none_of(name.begin(), name.end(), [](char c) { return (c & 0x80) != 0; });
}

std::string Folded(std::string name) {
  for (char& c : name) c = LowerAscii(c);
  return name;
}

constexpr uint32_t kNoEntry = UINT32_MAX;

size_t HashOf(const std::string& name) { return std::hash<std::string_view>()(name); }

// An open-addressed table of the entries' places, at most half full, so a
// name is found with one hash and about one comparison: a level asks for
// every one of its files, and a sorted listing paid a sort and a binary
// search of long shared prefixes ("file00001.dat", ...) for that.
std::vector<uint32_t> IndexOf(const std::vector<FileFacts>& entries) {
  size_t size = 16;
  while (size < entries.size() * 2) size *= 2;
  std::vector<uint32_t> index(size, kNoEntry);
  for (size_t i = 0; i < entries.size(); ++i) {
    size_t at = HashOf(entries[i].name) & (size - 1);
    while (index[at] != kNoEntry) at = (at + 1) & (size - 1);
    index[at] = static_cast<uint32_t>(i);
  }
  return index;
}

}  // namespace

TargetListing::TargetListing(Platform& platform, std::string path, VolumeGuard guard)
    : platform_(platform), path_(std::move(path)), guard_(guard), changed_(&changed_here_) {}

TargetListing::TargetListing(TargetListing& parent, const std::string& name)
    : platform_(parent.platform_),
      parent_(&parent),
      name_(name),
      path_(ChildPath(parent.path_, name)),
      changed_(parent.changed_) {}

OpenFolder* TargetListing::Open(bool make, Status* why) {
  OpenFolder* folder = OpenHandle(make, why);
  // A folder asked name by name is listed once a copy goes into it, for
  // the debris that an earlier copy into it, cut short, may have left.
  if (make && by_name_ && folder != nullptr) List(true);
  return folder;
}

OpenFolder* TargetListing::OpenHandle(bool make, Status* why) {
  // Only a copy makes its folder, and it writes into it next.
  if (make) *changed_ = true;
  if (handle_) return handle_.get();
  // A folder found missing stays missing until a copy makes it.
  if (open_tried_ && !make) {
    *why = open_status_;
    return nullptr;
  }
  open_tried_ = true;
  if (parent_ != nullptr) {
    OpenFolder* parent = parent_->OpenHandle(make, &open_status_);
    if (parent != nullptr) {
      open_status_ = make ? platform_.MakeChildFolder(*parent, name_, &handle_)
                          : platform_.OpenChildFolder(*parent, name_, &handle_);
    }
  } else {
    open_status_ = make ? platform_.MakeFolders(path_, guard_, &handle_)
                        : platform_.OpenFolderAt(path_, &handle_);
  }
  if (!open_status_.ok()) handle_.reset();
  *why = open_status_;
  return handle_.get();
}

void TargetListing::ListAhead(OpenFolder& source, const std::vector<std::string>& names) {
  Status why;
  platform_.ListAhead(source, OpenHandle(false, &why), names);
}

void TargetListing::List(bool for_copy) {
  listed_ = true;
  Status why;
  OpenFolder* folder = Open(false, &why);
  // Where a listing costs a round trip of its own before every name it
  // gives is asked anyway (a FUSE driver), a folder that nothing is
  // copied into is only asked for the names the walk wants.
  by_name_ = !for_copy && folder != nullptr && !platform_.ListingPays(*folder);
  if (by_name_) return;
  absent_.clear();
  FolderListing listing;
  if (folder != nullptr) {
    listing = platform_.ListOpenFolder(*folder);
    // This folder is kept in step by the run: what an earlier run cut short
    // here goes now.
    if (!listing.scratch.empty()) {
      *changed_ = true;
      platform_.ClearDebris(*folder, listing.scratch);
    }
  } else {
    listing.status = why;
  }
  // A folder that is not there holds nothing; one that could not be read,
  // or whose listing left entries out, is asked name by name.
  const bool missing = listing.status.code == kErrorPathNotFound;
  trusted_ =
      (listing.status.ok() || missing) && listing.unnamable.empty() && listing.unreadable.empty();
  entries_ = std::move(listing.entries);
  index_ = IndexOf(entries_);
  any_non_ascii_ = std::any_of(entries_.begin(), entries_.end(),
                               [](const FileFacts& entry) { return !IsAscii(entry.name); });
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
  if (!listed_) List(false);
  if (const FileFacts* found = Listed(name)) return *found;
  // Asked of the file system itself, whose own rules matched every spelling.
  if (absent_.count(name) != 0) return std::nullopt;
  if (trusted_ && !MayMatchAnotherSpelling(name)) return std::nullopt;
  Status why;
  OpenFolder* folder = Open(false, &why);
  return folder != nullptr ? platform_.LookIn(*folder, name) : std::nullopt;
}

bool TargetListing::AsksByName() {
  if (!listed_) List(false);
  return by_name_;
}

void TargetListing::LookAhead(const std::vector<std::string>& names) {
  Status why;
  OpenFolder* folder = Open(false, &why);
  if (!by_name_ || folder == nullptr) return;
  std::vector<std::optional<FileFacts>> found = platform_.LookInEach(*folder, names);
  for (size_t i = 0; i < names.size(); ++i) {
    if (found[i]) {
      entries_.push_back(std::move(*found[i]));
    } else {
      absent_.insert(names[i]);
    }
  }
  index_ = IndexOf(entries_);
}

const FileFacts* TargetListing::Listed(const std::string& name) const {
  if (index_.empty()) return nullptr;
  const size_t mask = index_.size() - 1;
  for (size_t at = HashOf(name) & mask; index_[at] != kNoEntry; at = (at + 1) & mask) {
    if (entries_[index_[at]].name == name) return &entries_[index_[at]];
  }
  return nullptr;
}

bool TargetListing::CaseBlind() {
  if (case_blind_) return *case_blind_;
  Status why;
  if (OpenFolder* folder = Open(false, &why)) {
    case_blind_ = platform_.IsCaseBlind(*folder);
  } else if (parent_ != nullptr) {
    case_blind_ = parent_->CaseBlind();
  } else {
    FolderHandle above = NearestAboveRoot();
    case_blind_ = above != nullptr && platform_.IsCaseBlind(*above);
  }
  return *case_blind_;
}

FileSystemLimits TargetListing::Limits() {
  Status why;
  if (OpenFolder* folder = Open(false, &why)) return platform_.LimitsAt(*folder);
  if (parent_ != nullptr) return parent_->Limits();
  FolderHandle above = NearestAboveRoot();
  return above != nullptr ? platform_.LimitsAt(*above) : FileSystemLimits{};
}

// A root not made yet will be made in the nearest folder above it that
// exists, on that folder's file system.
FolderHandle TargetListing::NearestAboveRoot() {
  for (std::string level = ParentOf(path_);; level = ParentOf(level)) {
    FolderHandle above;
    if (platform_.OpenFolderAt(level, &above).ok()) return above;
    if (ParentOf(level) == level) return nullptr;
  }
}

void TargetListing::Added(const std::string& name) {
  // Kept with the listing's names whether or not those are folded yet.
  folded_.insert(Folded(name));
  if (!IsAscii(name)) any_non_ascii_ = true;
}

}  // namespace pellmar
