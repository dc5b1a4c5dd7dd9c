// What a dry run would change, noted instead of done.
#include "platform/dry_run_platform.h"

#include <memory>
#include <utility>

#include "platform/path_text.h"

namespace pellmar {

namespace {

// What a folder's file system is like; a folder the run would have made
// lies on the file system of its parent.
struct FolderTraits {
  bool case_blind = false;
  FileSystemLimits limits;
  bool listing_pays = true;
};

// A folder as the dry run sees it: a real one, or one it would have made.
class DryFolder : public OpenFolder {
 public:
  DryFolder(std::string path, FileIdentity identity, FolderHandle real, FolderTraits traits)
      : OpenFolder(std::move(path), identity), real_(std::move(real)), traits_(traits) {}
  /// The real folder; nullptr for one the run would have made.
  OpenFolder* real() const { return real_.get(); }
  const FolderTraits& traits() const { return traits_; }

 private:
  FolderHandle real_;
  FolderTraits traits_;
};

DryFolder& AsDry(OpenFolder& folder) { return static_cast<DryFolder&>(folder); }
const DryFolder& AsDry(const OpenFolder& folder) { return static_cast<const DryFolder&>(folder); }

bool Missing(const Status& status) {
  return status.code == kErrorPathNotFound || status.code == kErrorFileNotFound;
}

}  // namespace

Status DryRunPlatform::Wrap(const std::string& path, Status opened, FolderHandle real,
                            const OpenFolder* made_in, FolderHandle* folder) {
  if (opened.ok()) {
    const FileIdentity identity = real->identity();
    const FolderTraits traits{inner().IsCaseBlind(*real), inner().LimitsAt(*real),
                              inner().ListingPays(*real)};
    *folder = std::make_unique<DryFolder>(path, identity, std::move(real), traits);
  } else if (Missing(opened) && made_folders_.count(path) != 0) {
    const FolderTraits traits = made_in != nullptr ? AsDry(*made_in).traits() : FolderTraits{};
    *folder = std::make_unique<DryFolder>(path, FileIdentity{}, nullptr, traits);
    return Status::Ok();
  }
  return opened;
}

Status DryRunPlatform::OpenFolderAt(const std::string& path, FolderHandle* folder) {
  FolderHandle real;
  Status opened = inner().OpenFolderAt(path, &real);
  return Wrap(path, std::move(opened), std::move(real), nullptr, folder);
}

Status DryRunPlatform::OpenChildFolder(OpenFolder& parent, const std::string& name,
                                       FolderHandle* child) {
  const std::string path = ChildPath(parent.path(), name);
  FolderHandle real;
  Status opened = Status::Error(kErrorPathNotFound, path + ": not there");
  if (AsDry(parent).real() != nullptr) {
    opened = inner().OpenChildFolder(*AsDry(parent).real(), name, &real);
  }
  // One the run would have made lies on the file system of its parent.
  return Wrap(path, std::move(opened), std::move(real), &parent, child);
}

Status DryRunPlatform::MakeChildFolder(OpenFolder& parent, const std::string& name,
                                       FolderHandle* child) {
  const Status opened = OpenChildFolder(parent, name, child);
  if (!Missing(opened)) return opened;
  made_folders_.insert(ChildPath(parent.path(), name));
  return OpenChildFolder(parent, name, child);
}

FolderListing DryRunPlatform::ListOpenFolder(OpenFolder& folder) {
  OpenFolder* real = AsDry(folder).real();
  return real != nullptr ? inner().ListOpenFolder(*real) : FolderListing{};
}

std::optional<FileFacts> DryRunPlatform::LookIn(OpenFolder& folder, const std::string& name) {
  const auto copied = copies_.find(ChildPath(folder.path(), name));
  // The copy it would have made: the source's facts, as a file of its own.
  if (copied != copies_.end()) return copied->second;
  OpenFolder* real = AsDry(folder).real();
  return real != nullptr ? inner().LookIn(*real, name) : std::nullopt;
}

std::vector<std::optional<FileFacts>> DryRunPlatform::LookInEach(
    OpenFolder& folder, const std::vector<std::string>& names) {
  OpenFolder* real = AsDry(folder).real();
  if (real == nullptr) return Platform::LookInEach(folder, names);
  std::vector<std::optional<FileFacts>> found = inner().LookInEach(*real, names);
  for (size_t i = 0; i < names.size(); ++i) {
    const auto copied = copies_.find(ChildPath(folder.path(), names[i]));
    if (copied != copies_.end()) found[i] = copied->second;
  }
  return found;
}

// Only real folders are listed ahead: one the run would have made holds
// nothing to list.
void DryRunPlatform::ListAhead(OpenFolder& folder, OpenFolder* twin,
                               const std::vector<std::string>& names) {
  OpenFolder* real = AsDry(folder).real();
  OpenFolder* real_twin = twin != nullptr ? AsDry(*twin).real() : nullptr;
  if (real != nullptr) inner().ListAhead(*real, real_twin, names);
}

Status DryRunPlatform::CompareFiles(OpenFolder& a, const FileFacts& a_file, OpenFolder& b,
                                    const FileFacts& b_file, bool* same) {
  OpenFolder* real_a = AsDry(a).real();
  OpenFolder* real_b = AsDry(b).real();
  const bool copied = copies_.count(ChildPath(a.path(), a_file.name)) != 0 ||
                      copies_.count(ChildPath(b.path(), b_file.name)) != 0;
  // A copy that was never made cannot be read: the preview takes it for
  // another version, which never predicts a deletion that would not happen.
  *same = false;
  if (real_a == nullptr || real_b == nullptr || copied) return Status::Ok();
  return inner().CompareFiles(*real_a, a_file, *real_b, b_file, same);
}

bool DryRunPlatform::IsCaseBlind(OpenFolder& folder) { return AsDry(folder).traits().case_blind; }

FileSystemLimits DryRunPlatform::LimitsAt(OpenFolder& folder) {
  return AsDry(folder).traits().limits;
}

bool DryRunPlatform::ListingPays(OpenFolder& folder) { return AsDry(folder).traits().listing_pays; }

bool DryRunPlatform::FolderExists(const std::string& path) {
  return made_folders_.count(path) != 0 || inner().FolderExists(path);
}

Status DryRunPlatform::CopyFile(const CopyRequest& request, CopyResult* result) {
  *result = CopyResult{};
  result->replaced_kept = request.replaced && request.keep_replaced;
  FileFacts copy = request.source;
  copy.identity = FileIdentity{};
  if (request.to->path() != copies_folder_) {
    copies_.clear();
    copies_folder_ = request.to->path();
  }
  copies_[ChildPath(request.to->path(), copy.name)] = copy;
  return {};
}

Status DryRunPlatform::RemoveFileIn(OpenFolder& folder, const FileFacts& expected, bool to_trash,
                                    bool* kept) {
  *kept = to_trash;
  deletions_.push_back(ChildPath(folder.path(), expected.name) +
                       (to_trash ? " (to the trash)" : ""));
  return {};
}

Status DryRunPlatform::CreateFolder(const std::string& path) {
  made_folders_.insert(path);
  return {};
}

}  // namespace pellmar
