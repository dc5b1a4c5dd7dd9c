// The one boundary between Pellmar and the operating system.
//
// Every service the program asks of the OS goes through Platform: folder
// listing, file facts, copying, deleting, folders, free space, the Documents
// folder, the executable's path, the clock, whole-file reads and atomic
// replacement (for INI files), text decoding and opening a file or folder in
// the desktop's own program. Paths are always in the Windows namespace
// (drive letters, backslashes); an implementation maps them onto its host.
// Errors are values: whatever can fail answers a Status (and its result
// through a pointer), a lookup that can only miss answers an optional.
// No member is named like a Windows API macro, so <windows.h> cannot rename
// one in the Windows implementation.
#ifndef PELLMAR_PLATFORM_PLATFORM_H_
#define PELLMAR_PLATFORM_PLATFORM_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace pellmar {

/// Attribute bits of a listed entry, as the Windows listing gives them.
enum FileAttribute : uint32_t {
  kAttrReadOnly = 0x1,
  kAttrHidden = 0x2,
  kAttrSystem = 0x4,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  // Not a regular file or folder (FIFO, socket, device node, broken link):
  // never opened for copying.
  kAttrDevice = 0x40,
  // A link (symbolic link, junction) or the root of another mounted file
  // system, as Windows marks a mounted folder: a folder with this bit is
  // never walked.
  kAttrReparsePoint = 0x400,
};

/// Windows error codes the program reacts to; hosts map their own onto these.
enum WinError : uint32_t {
  kErrorSuccess = 0,
  kErrorFileNotFound = 2,
  kErrorPathNotFound = 3,
  kErrorTooManyOpenFiles = 4,
  kErrorAccessDenied = 5,
  kErrorInvalidData = 13,  // a file holds what it cannot hold
  kErrorInvalidDrive = 15,
  kErrorWriteProtect = 19,
  kErrorNotReady = 21,
  kErrorGenFailure = 31,
  kErrorSharingViolation = 32,
  kErrorHandleDiskFull = 39,
  kErrorNotSupported = 50,  // the request does not apply to this drive
  kErrorBadNetPath = 53,
  kErrorFileExists = 80,
  kErrorInvalidParameter = 87,
  kErrorDiskFull = 112,
  kErrorInvalidName = 123,
  kErrorDirNotEmpty = 145,
  kErrorAlreadyExists = 183,
  kErrorFilenameTooLong = 206,
  kErrorUnrecognizedVolume = 1005,
  kErrorServiceNotActive = 1062,  // the system service asked is not running
  kErrorNoAssociation = 1155,     // no program is set up to open the file
  kErrorUnrecognizedMedia = 1785,
  kErrorCantResolveFilename = 1921,
  kErrorDeviceInUse = 2404,  // something still holds the device
  // Codes of this program's own (Windows leaves those with bit 29 set to
  // applications): a run found a file other than the one it decided on.
  kErrorChangedDuringRun = 0x20000001,    // not what the decision saw: left alone
  kErrorChangedWhileCopied = 0x20000002,  // the source was written while it was read
  kErrorCannotKeepReplaced = 0x20000003,  // no trash for a version that must be kept: left alone
};

/// The outcome of an OS call: code 0 is success; otherwise a Windows error
/// code and the host's own wording of the failure. A caller that drops one
/// drops a failure unseen, so the compiler flags it.
struct [[nodiscard]] Status {
  uint32_t code = kErrorSuccess;
  std::string message;

  bool ok() const { return code == kErrorSuccess; }
  static Status Ok() { return {}; }
  static Status Error(uint32_t code, std::string message) { return {code, std::move(message)}; }
};

/// Which file an entry is, whatever path reached it: the device and inode
/// here, the volume serial number and file index on Windows. Two paths name
/// the same file exactly when their identities are equal; path text alone
/// never proves that two folders or files are apart.
struct FileIdentity {
  uint64_t volume = 0;
  uint64_t file = 0;
  bool known = false;

  friend bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.known && b.known && a.volume == b.volume && a.file == b.file;
  }
};

/// Where a write must land. An active guard names the file system (the
/// `volume` of a FileIdentity) a copy or a new folder must be on: a removable
/// disk pulled mid-run leaves its mount point bare, and what would be
/// written there lands on another disk and is undone at once instead.
struct VolumeGuard {
  bool active = false;
  uint64_t volume = 0;
};

/// One entry of a folder, or one looked-up file.
struct FileFacts {
  std::string name;         // name only, no folder
  uint32_t attributes = 0;  // FileAttribute bits
  uint32_t dos_time = 0;    // last write, local MS-DOS packed: date high 16, time low 16
  int64_t write_ns = 0;     // last write as the file system holds it: ns since 1970, UTC
  int64_t size = 0;         // full size in bytes
  FileIdentity identity;    // of what the entry leads to (a link's target)
};

/// A folder's entries in the file system's order, "." and ".." first.
struct FolderListing {
  std::vector<FileFacts> entries;
  // Host paths of entries whose names cannot be written in the namespace
  // (they hold "\" or ":"). They are left out of `entries` so nothing can
  // resolve outside its folder, and kept here so a run can report them.
  std::vector<std::string> unnamable;
  // Entries that are there but could not be examined (a name too long for
  // the host, an I/O error), as "host path: reason".
  std::vector<std::string> unreadable;
  // Scratch files of copies under way or cut short: never data, so left
  // out of `entries`, and named here for ClearDebris.
  std::vector<std::string> scratch;
  // Not ok when the folder could not be read: kErrorPathNotFound when it is
  // not there, another code (access denied, not ready...) when it is there
  // but unreadable. The entries are then empty.
  Status status;
};

/// A folder a run has opened. Everything below it is named relative to it,
/// so a folder swapped for a link after it was opened is never entered and
/// nothing outside it can be reached. Only the platform that opened it can
/// use it; it is closed when destroyed.
class OpenFolder {
 public:
  virtual ~OpenFolder() = default;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;
  /// The folder's namespace path, for reports; never used to reach it.
  const std::string& path() const { return path_; }
  /// The folder itself, as it was when opened.
  const FileIdentity& identity() const { return identity_; }

 protected:
  OpenFolder(std::string path, FileIdentity identity)
      : path_(std::move(path)), identity_(identity) {}

 private:
  std::string path_;
  FileIdentity identity_;
};
using FolderHandle = std::unique_ptr<OpenFolder>;

/// One copy by handle: from the file `source` of `from` (as the decision saw
/// it) to the entry `source.name` of `to`, replacing `replaced` (as the
/// decision saw it) or, when there is none, only where that name is free.
struct CopyRequest {
  OpenFolder* from = nullptr;
  FileFacts source;
  OpenFolder* to = nullptr;
  std::optional<FileFacts> replaced;
  bool keep_replaced = true;  // the replaced version goes to the trash, not into nothing
  // The replaced version is the only one of its kind (changed on both
  // sides): where no trash can take it, nothing is replaced.
  bool replaced_must_be_kept = false;
};

/// What a copy did besides the copy itself.
struct CopyResult {
  bool replaced_kept = false;  // the version replaced is in the trash
  std::string warning;         // what went wrong once the copy was in place
};

/// What the file system of a folder cannot hold, so that a run leaves such
/// a file out, and says so, before it copies anything: a file too large
/// would fail part-way through its copy, and a name the file system changes
/// as it stores it ("a." stored as "a") could land over another file.
struct FileSystemLimits {
  int64_t max_file_size = 0;  // the largest file it holds, in bytes; 0: no limit a run meets
  // Names follow the Windows rules: none of " * < > ? | or a control
  // character in them, and no blank or dot at their end.
  bool windows_names = false;
};

/// A local calendar date and time of day.
struct LocalDateTime {
  int year = 1980, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

/// Which removable medium a file system is, lasting across plugs and
/// mounts: the file system's UUID (the volume serial number on Windows)
/// and its label. A file system with nothing lasting to tell has an empty
/// key; it is then never taken for, nor told apart from, another.
struct MediumIdentity {
  std::string key;    // "uuid:1234-ABCD", "fsid:...", "serial:1234-ABCD"; "" when unknown
  std::string label;  // "STICK"; "" when it has none

  friend bool operator==(const MediumIdentity&, const MediumIdentity&) = default;
};

/// How one drive letter maps onto the host, for `pellmar drives`.
struct DriveMapping {
  std::string drive;      // "E:"
  std::string host_path;  // "/media/ann/STICK"
  bool mounted = false;   // false: the medium is absent and the drive answers "not ready"
  std::string origin;     // "system", "mount table" or "PELLMAR_DRIVES"
  MediumIdentity medium;  // of a mounted medium, where the host can tell
};

/// What an eject did once the medium was unmounted: a medium that could
/// not be powered off afterwards can still be pulled out.
struct EjectResult {
  bool powered_off = false;
  std::string not_powered_off;  // why a power-off that was tried failed; "" otherwise
};

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Folders by handle: how a run walks and changes its two trees -----
  //
  // A run opens its two roots by path, checks them, and from then on names
  // everything relative to an open folder. Before any file is replaced or
  // removed, it is looked at again through its folder: when it is not the
  // version the run decided on, nothing happens to it and the call fails
  // with kErrorChangedDuringRun.

  /// Opens the folder at `path` (links on the way are followed: the user
  /// named it). kErrorPathNotFound when no folder is there.
  virtual Status OpenFolderAt(const std::string& path, FolderHandle* folder) = 0;
  /// Opens the folder `name` of `parent` without following a link and
  /// without entering another mounted file system: kErrorCantResolveFilename
  /// for a link, a junction or a mount point, kErrorPathNotFound when no
  /// folder is there.
  virtual Status OpenChildFolder(OpenFolder& parent, const std::string& name,
                                 FolderHandle* child) = 0;
  /// Makes the folder `name` in `parent` (or takes the one there) and opens
  /// it as OpenChildFolder does.
  virtual Status MakeChildFolder(OpenFolder& parent, const std::string& name,
                                 FolderHandle* child) = 0;
  /// The entries of `folder`, as ListFolder gives them. Scratch files are
  /// left out, never removed.
  virtual FolderListing ListOpenFolder(OpenFolder& folder) = 0;
  /// Facts of the entry `name` of `folder`, looked at now; a link is
  /// marked and described by what it leads to. nullopt when nothing is there.
  virtual std::optional<FileFacts> LookIn(OpenFolder& folder, const std::string& name) = 0;
  /// LookIn for each of `names`, in their order; a platform may look at
  /// several at once.
  virtual std::vector<std::optional<FileFacts>> LookInEach(OpenFolder& folder,
                                                           const std::vector<std::string>& names);
  /// Says that a walk is about to enter the folders `names` of `folder` in
  /// this order, and with each the folder of the same name in `twin` where
  /// one is given (the other side's): a platform may list them ahead, on
  /// another core, and hand out those listings when they are opened as
  /// children of these folders and asked for, unchanged. It may also do
  /// nothing.
  virtual void ListAhead(OpenFolder& folder, OpenFolder* twin,
                         const std::vector<std::string>& names);
  /// Copies as `request` says, keeping the source's last-write time. The new
  /// copy is complete before it takes the name; on any failure the old
  /// target stays as it was. kErrorChangedDuringRun when the source or the
  /// target is no longer the version decided on, or a file took the free
  /// name meanwhile; kErrorChangedWhileCopied when the source was written
  /// while it was read (the old target then stays).
  virtual Status CopyFile(const CopyRequest& request, CopyResult* result) = 0;
  /// CopyFile for each request, each status and result at its request's
  /// index; a platform may make several at once where CopiesOverlap says
  /// so. Only copies onto free names (no `replaced`) are ever made at once.
  virtual void CopyEach(std::span<const CopyRequest> requests, std::vector<Status>* statuses,
                        std::vector<CopyResult>* results);
  /// True where copies into `folder` take less time made several at once:
  /// a file system served by a driver in user space, which answers one
  /// request after the other and otherwise waits for each next one.
  virtual bool CopiesOverlap(OpenFolder& folder);
  /// Removes the file `expected.name` from `folder` when it is still the
  /// version `expected` describes, checked on the very file removed, so a
  /// file saved under that name meanwhile is never the one that goes.
  /// `to_trash` puts it into the desktop's trash instead of deleting it,
  /// where the disk has one; `*kept` then says whether the trash took it.
  virtual Status RemoveFileIn(OpenFolder& folder, const FileFacts& expected, bool to_trash,
                              bool* kept) = 0;
  /// Clears what copies cut short left in `folder`, a folder the run keeps
  /// in step, under the scratch names its listing gave: a partial copy that
  /// nobody holds is removed, a version that was moved aside goes to the
  /// trash. A live copy's files are left alone.
  virtual void ClearDebris(OpenFolder& folder, const std::vector<std::string>& scratch) = 0;
  /// Removes the folder `name` of `parent` if it is empty (never a link).
  virtual Status RemoveEmptyFolderIn(OpenFolder& parent, const std::string& name) = 0;
  /// Makes sure the data of the file `name` of `folder` is on the disk:
  /// asked before the last other copy of a file is deleted.
  virtual Status FlushFileIn(OpenFolder& folder, const std::string& name) = 0;
  /// Writes whatever the system still holds in its cache for the file
  /// system of `folder` onto that disk, so the disk can be pulled out as soon
  /// as a run says it is done. Fails when the disk cannot take it (pulled
  /// out, an I/O error), and on POSIX also when a write the system made to
  /// it on its own since `folder` was opened failed: the data may then not
  /// be on it.
  virtual Status FlushMedium(OpenFolder& folder) = 0;
  /// Compares two files byte for byte; each must still be the version
  /// given, else kErrorChangedDuringRun.
  virtual Status CompareFiles(OpenFolder& a, const FileFacts& a_file, OpenFolder& b,
                              const FileFacts& b_file, bool* same) = 0;
  /// True when the file system of `folder` takes names that differ only in
  /// letter case for the same entry (FAT, exFAT, NTFS).
  virtual bool IsCaseBlind(OpenFolder& folder) = 0;
  /// What the file system of `folder` cannot hold (FAT: no file of 4 GiB
  /// or more; FAT, exFAT and NTFS: no name beyond the Windows rules).
  virtual FileSystemLimits LimitsAt(OpenFolder& folder) = 0;
  /// True when listing `folder` once costs less than asking it for each
  /// name a walk wants; false where a driver in user space (FUSE) answers
  /// the listing with a round trip of its own and then each name it gave
  /// with one more, as if asked by name.
  virtual bool ListingPays(OpenFolder& folder) = 0;

  /// Opens the folder at `path`, making it first with every missing parent,
  /// one level at a time from the deepest folder that exists. With an active
  /// guard, that folder must be on the guarded file system, else
  /// kErrorNotReady and nothing is made.
  Status MakeFolders(const std::string& path, VolumeGuard on, FolderHandle* folder);

  // --- Files and folders by path: the window's own services --------------

  /// Lists the folder named by `pattern`, which is a folder, "\" and "*".
  /// A folder that is missing or cannot be read gives an empty listing whose
  /// status says why. Scratch files of copies and saves are never listed,
  /// and a listing never removes anything.
  virtual FolderListing ListFolder(const std::string& pattern) = 0;

  /// Facts of one file or folder; nullopt when nothing is at `path`.
  virtual std::optional<FileFacts> FindFile(const std::string& path) = 0;

  /// The identities of the folder `path` leads to and of each folder above
  /// it as the file system sees them (links resolved), nearest first, up to
  /// the host's root. Fails with kErrorPathNotFound when nothing is at
  /// `path`, kErrorFilenameTooLong when the path is longer than the host
  /// can hold.
  virtual Status FolderChain(const std::string& path, std::vector<FileIdentity>* chain) = 0;
  /// The identity of the folder `path` leads to: the first of its chain,
  /// which an implementation may find without walking up.
  virtual Status FolderIdentity(const std::string& path, FileIdentity* identity);

  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool FileExists(const std::string& path) = 0;

  /// Creates one folder level; fails when its parent does not exist.
  virtual Status CreateFolder(const std::string& path) = 0;
  /// Creates a folder with all missing parents, one level at a time; ok
  /// when it already exists.
  Status ForceFolders(const std::string& path);

  /// Reads a whole file. kErrorFileNotFound when there is none.
  virtual Status ReadWholeFile(const std::string& path, std::string* contents) = 0;
  /// Writes `pieces`, one after another, to a temporary file beside `path`
  /// and renames it into place, so `path` holds either the old or the new
  /// contents, never half. Pieces let a large file be written from where
  /// its parts already lie, without joining them in memory first.
  virtual Status WriteWholeFile(const std::string& path,
                                std::span<const std::string_view> pieces) = 0;
  /// The same for contents held in one piece.
  Status WriteWholeFile(const std::string& path, std::string_view contents) {
    return WriteWholeFile(path, std::span<const std::string_view>(&contents, 1));
  }

  /// An exclusive lock on a file, held until this object is destroyed.
  class FileLock {
   public:
    virtual ~FileLock() = default;
  };
  /// How long LockFile waits for another holder to let go.
  static constexpr int kLockWaitSeconds = 5;
  /// Takes an exclusive lock on the file at `path`, creating it empty when
  /// it is missing. Every other lock of that file waits while `*held`
  /// lives, in this process as in any other. Lock files are never removed:
  /// a file removed and made again would be two files, each with a holder.
  /// Fails with kErrorSharingViolation when the holder has not let go
  /// within kLockWaitSeconds.
  virtual Status LockFile(const std::string& path, std::unique_ptr<FileLock>* held) = 0;

  // --- Removable disks ---------------------------------------------------

  /// The calling thread's error mode; returns the previous one. Mode 1
  /// keeps a missing disk from raising a system box (a no-op where there is
  /// none). It is the thread's so that the window's count, on a thread of
  /// its own, never takes it from the window.
  virtual uint32_t SetErrorMode(uint32_t mode) = 0;
  /// Free bytes on the drive whose root is `root` ("E:", "E:\",
  /// "\\server\share"). Fails with kErrorInvalidDrive for an unknown drive,
  /// kErrorNotReady when its medium is absent, kErrorInvalidName for an
  /// empty or malformed root, kErrorBadNetPath for a share nothing maps; on
  /// failure *free_bytes is 0.
  virtual Status FreeSpace(const std::string& root, uint64_t* free_bytes) = 0;

  /// Every drive letter the namespace knows, in letter order.
  virtual std::vector<DriveMapping> Drives() = 0;
  /// Unmounts the removable medium of `drive` ("E:") and powers it off, so
  /// that it can be pulled out; nothing is ever forced. Fails with
  /// kErrorInvalidDrive for a drive the namespace does not know,
  /// kErrorNotReady when its medium is absent, kErrorNotSupported for a
  /// drive that is no medium to eject (the system's own disk, a mapped
  /// folder that is not a mount point, a network drive), kErrorDeviceInUse
  /// when something still holds the medium (the message names what, where
  /// the host tells), kErrorServiceNotActive when the host's ejecting
  /// service cannot be reached. The medium stays as it was on any failure
  /// before the unmount.
  virtual Status EjectMedium(const std::string& drive, EjectResult* result) = 0;
  /// The medium the folder `path` is on. Fails as FolderIdentity does when
  /// nothing is there; a file system with no lasting identity answers ok
  /// with an empty key.
  virtual Status MediumAt(const std::string& path, MediumIdentity* medium) = 0;

  // --- The user and the program ----------------------------------------

  /// The user's Documents folder as a namespace path; empty when unknown.
  virtual std::string DocumentsFolder() = 0;
  /// The folder of the program's own memory of its runs, as a namespace
  /// path; it may not exist yet, and is empty when it cannot be named.
  virtual std::string StateFolder() = 0;
  /// The running executable's full path in the namespace.
  virtual std::string ExecutablePath() = 0;
  /// Queries the OS version; the error when it cannot be had.
  virtual Status QueryVersion() = 0;
  virtual LocalDateTime Now() = 0;

  /// Host path of a namespace path; nullopt when it maps to nothing.
  virtual std::optional<std::string> HostPath(const std::string& path) = 0;
  /// Namespace path of a host path; nullopt when it cannot be written there.
  virtual std::optional<std::string> NamespacePath(const std::string& host_path) = 0;

  /// Converts text written in Windows code page `code_page` (932 for
  /// Shift-JIS) into the system's own encoding.
  virtual std::string DecodeCodePage(const std::string& bytes, int code_page) = 0;
  /// The system's ANSI code page: 932 makes path operations treat
  /// double-byte characters as one unit; 65001 (UTF-8) needs no such care.
  virtual int AnsiCodePage() = 0;

  /// Opens `file` (a document, or "explorer" for the file manager with the
  /// folder in `parameters`) in the desktop's own program. Never waits for
  /// it and never goes through a command shell.
  virtual Status ShellOpen(const std::string& file, const std::string& parameters,
                           const std::string& directory) = 0;

 protected:
  /// Before a save into the folder `folder`: clears the debris of saves cut
  /// short there, the first time this process saves there.
  void ClearDebrisOnce(const std::string& folder);

 private:
  std::unordered_set<std::string> debris_cleared_;  // namespace folders
};

/// The platform of the host this program was built for.
std::unique_ptr<Platform> NewHostPlatform();

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_PLATFORM_H_
