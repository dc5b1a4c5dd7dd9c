// The removable disk of one run: which file system it is when the run
// starts, and the checks that keep every write and every deletion of the
// run on that very file system. A medium pulled out mid-run leaves its
// mount point bare on the internal disk; nothing may land there.
#ifndef PELLMAR_CORE_REMOVABLE_MEDIUM_H_
#define PELLMAR_CORE_REMOVABLE_MEDIUM_H_

#include <string>
#include <vector>

#include "core/text_ops.h"
#include "platform/platform.h"

namespace pellmar {

/// The identities above `folder` as the file system sees them (see
/// Platform::FolderChain), from the folder itself when it exists, else from
/// the nearest folder above it that does, whose path goes to `*found_at`.
/// Fails only for a path the host cannot hold, or when no level exists.
Status NearestFolderChain(Platform& platform, const std::string& folder, CodePage code_page,
                          std::vector<FileIdentity>* chain, std::string* found_at);

class RemovableMedium {
 public:
  /// `media_dir` is the removable folder text; `removable_folder` the
  /// project's folder on it, as the run walks or fills it.
  RemovableMedium(Platform& platform, std::string media_dir, std::string removable_folder,
                  CodePage code_page);

  /// Notes which file system the medium is: that of the project's folder
  /// on it, or of the nearest folder above it that exists. Fails when the
  /// drive cannot be reached (absent, not ready, unknown).
  Status Record();
  /// The identity of the drive's root folder, as recorded.
  const FileIdentity& root() const { return root_; }
  /// The folder the medium was recorded by: the project's folder on it, or
  /// the nearest folder above it that exists.
  const std::string& anchor_path() const { return anchor_path_; }

  /// True while the folder recorded is still there, and still the same.
  bool StillThere();
  /// True for a file or folder that lives on the medium's file system.
  bool Holds(const FileIdentity& identity) const {
    return identity.known && identity.volume == anchor_.volume;
  }

  /// The guard a folder made on the medium by path carries; everything
  /// below it is then made through its handle.
  VolumeGuard Guard() const { return VolumeGuard{anchor_.known, anchor_.volume}; }

  /// The drive's root as written, "E:\", for reports.
  const std::string& root_path() const { return root_path_; }
  /// Writes what the system still caches of the medium onto it, through the
  /// folder Record opened: a write that failed after that, even one the
  /// system made on its own mid-run, makes the flush fail.
  Status Flush();

 private:
  void Hold();

  Platform& platform_;
  const std::string root_path_;         // the drive's root, "E:\"
  const std::string removable_folder_;  // the project's folder on the medium
  const CodePage code_page_;
  FileIdentity root_;
  std::string anchor_path_;  // the removable folder, or the nearest folder above it
  FileIdentity anchor_;
  FolderHandle held_;  // a folder of the medium (the anchor's, or above), open all run long
  Status held_status_ = Status::Error(kErrorNotReady, "the removable disk was never reached");
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_REMOVABLE_MEDIUM_H_
