// Moving files into the trash of their own file system.
#include "platform/posix/trash.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/posix/error_mapping.h"
#include "platform/posix/file_system_traits.h"
#include "platform/posix/host_rename.h"
#include "platform/posix/host_settings.h"
#include "platform/posix/temp_file.h"
#include "platform/posix/trash_info.h"

namespace pellmar {
namespace {

// Enough that only a trash full of files of this very name runs out.
constexpr int kNameAttempts = 100;

std::string LastPart(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string Joined(const std::string& folder, const std::string& name) {
  return (folder == "/" ? "" : folder) + "/" + name;
}

// Records in a top folder's trash hold paths relative to that folder, so
// they stay right wherever the disk is mounted next; the home trash, and a
// file the user knows by a path outside the top folder, get absolute ones.
std::string RecordPath(const TrashCan& can, const std::string& original) {
  if (can.top.empty()) return original;
  const std::string prefix = can.top == "/" ? "/" : can.top + "/";
  if (original.size() > prefix.size() && original.compare(0, prefix.size(), prefix) == 0) {
    return original.substr(prefix.size());
  }
  return original;
}

Status CheckOriginalPath(const std::string& original) {
  const std::string name = LastPart(original);
  if (original.empty() || original[0] != '/' || name.empty() || name == "." || name == "..") {
    return Status::Error(kErrorInvalidName,
                         original + ": no path a trashed file could be put back to");
  }
  return Status::Ok();
}

Status CheckRegularFile(int folder_fd, const std::string& name, const std::string& path,
                        struct stat* info) {
  if (fstatat(folder_fd, name.c_str(), info, AT_SYMLINK_NOFOLLOW) != 0) {
    return StatusFromErrno("look at", path, errno);
  }
  if (!S_ISREG(info->st_mode)) {
    return Status::Error(kErrorAccessDenied, path + ": not a regular file; kept out of the trash");
  }
  return Status::Ok();
}

Status WriteAll(int fd, const std::string& text, const std::string& path) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return StatusFromErrno("write", path, written < 0 ? errno : ENOSPC);
    done += static_cast<size_t>(written);
  }
  return Status::Ok();
}

// Creates the record `record_name` in info/ and writes it whole. Creating
// it claims the name among all who trash files here: kErrorAlreadyExists
// when the name is taken. Nothing is left behind on failure.
Status WriteRecord(const TrashCan& can, const std::string& record_name, const std::string& text) {
  const std::string path = can.path + "/info/" + record_name;
  ScopedFd fd(openat(can.info.get(), record_name.c_str(),
                     O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (!fd.valid()) return StatusFromErrno("create", path, errno);
  Status written = WriteAll(fd.get(), text, path);
  // close() can be the first to report a failed write on network and FAT
  // file systems, so its result counts.
  if (fd.Close() != 0 && written.ok()) written = StatusFromErrno("close", path, errno);
  // Ignored: a record that cannot even be removed is a half-written text
  // file in info/, and the failure that matters is already reported.
  if (!written.ok()) (void)unlinkat(can.info.get(), record_name.c_str(), 0);
  return written;
}

// Renames the file into files/ without replacing anything there:
// kErrorAlreadyExists when the name is taken. Where the file system refuses
// such a rename, the name is looked at first; whoever else trashes here
// claims a record before a name in files/, so the claimed record guards it.
Status MoveIn(int folder_fd, const std::string& name, const std::string& path, TrashCan& can,
              const std::string& trash_name) {
  if (!can.plain_rename) {
    if (renameat2(folder_fd, name.c_str(), can.files.get(), trash_name.c_str(), RENAME_NOREPLACE) ==
        0) {
      return Status::Ok();
    }
    if (errno != EINVAL && errno != ENOSYS) return StatusFromErrno("trash", path, errno);
    can.plain_rename = true;
  }
  struct stat info;
  if (fstatat(can.files.get(), trash_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
    return StatusFromErrno("trash", path, EEXIST);
  }
  if (errno != ENOENT) return StatusFromErrno("trash", path, errno);
  if (renameat(folder_fd, name.c_str(), can.files.get(), trash_name.c_str()) != 0) {
    return StatusFromErrno("trash", path, errno);
  }
  return Status::Ok();
}

// One try under `trash_name`: the record first, then the file; a file that
// cannot follow its record takes the record back out.
Status PutAs(int folder_fd, const std::string& name, const std::string& path, TrashCan& can,
             const std::string& trash_name, const std::string& text) {
  const std::string record_name = trash_name + ".trashinfo";
  Status status = WriteRecord(can, record_name, text);
  if (!status.ok()) return status;
  status = MoveIn(folder_fd, name, path, can, trash_name);
  // Ignored for the same reason as in WriteRecord.
  if (!status.ok()) (void)unlinkat(can.info.get(), record_name.c_str(), 0);
  return status;
}

// A trash the user removed whole while the program ran keeps its open
// folders, which no longer have a name; it is found afresh.
bool StillNamed(const TrashCan& can) {
  struct stat info, files;
  return fstat(can.info.get(), &info) == 0 && info.st_nlink > 0 &&
         fstat(can.files.get(), &files) == 0 && files.st_nlink > 0;
}

bool OnOneMount(const FolderPlace& a, const FolderPlace& b) {
  return a.device == b.device && (a.mount == 0 || b.mount == 0 || a.mount == b.mount);
}

}  // namespace

TrashPlaces TrashPlacesFromEnvironment() {
  TrashPlaces places;
  places.uid = getuid();
  const char* data_home = std::getenv("XDG_DATA_HOME");
  // Relative XDG folders are to be ignored, as the base-directory rules say.
  if (data_home != nullptr && data_home[0] == '/') {
    places.data_home = data_home;
    while (places.data_home.size() > 1 && places.data_home.back() == '/') {
      places.data_home.pop_back();
    }
  } else {
    places.data_home = Joined(HostSettingsFromEnvironment().home, ".local/share");
  }
  return places;
}

Trash::Trash(TrashPlaces places) : places_(std::move(places)) {}

Status Trash::Ready(int folder_fd, const std::string& host_folder) {
  const std::lock_guard<std::mutex> lock(mutex_);
  TrashCan* can = nullptr;
  return ReadyLocked(folder_fd, host_folder, &can);
}

Status Trash::Put(int folder_fd, const std::string& host_folder, const std::string& name,
                  const std::string& original_host_path, std::string* trashed_as) {
  const std::string path = Joined(host_folder, name);
  struct stat info;
  Status status = CheckOriginalPath(original_host_path);
  if (status.ok()) status = CheckRegularFile(folder_fd, name, path, &info);
  if (!status.ok()) return status;
  const std::lock_guard<std::mutex> lock(mutex_);
  TrashCan* can = nullptr;
  status = ReadyLocked(folder_fd, host_folder, &can);
  if (!status.ok()) return status;
  const std::string text = TrashInfoText(RecordPath(*can, original_host_path), std::time(nullptr));
  const std::string original_name = LastPart(original_host_path);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string trash_name = TrashNameCandidate(original_name, attempt);
    status = PutAs(folder_fd, name, path, *can, trash_name, text);
    if (status.code == kErrorAlreadyExists) continue;
    if (!status.ok()) return status;
    *trashed_as = can->path + "/files/" + trash_name;
    // Ignored: the file is in the trash, as asked; only its time is off.
    if (!can->rename_keeps_time) {
      (void)GiveTimesBack(can->files.get(), trash_name, info, *trashed_as);
    }
    return status;
  }
  return Status::Error(kErrorFileExists, can->path + ": no free name for " + original_name);
}

Status Trash::ReadyLocked(int folder_fd, const std::string& host_folder, TrashCan** can) {
  FolderPlace place;
  if (!PlaceOf(folder_fd, &place)) return StatusFromErrno("look at", host_folder, errno);
  auto known = cans_.find(place.device);
  if (known != cans_.end() && OnOneMount(known->second.place, place) && StillNamed(known->second)) {
    *can = &known->second;
    return Status::Ok();
  }
  // A disk plugged in again can come back under the same device number;
  // the folders held open are then those of a mount that is gone, or of a
  // trash that was removed.
  if (known != cans_.end()) cans_.erase(known);
  TrashCan made;
  const Status opened = IsHomeDevice(place.device)
                            ? OpenHomeTrash(places_.data_home, &made)
                            : OpenTopTrash(folder_fd, host_folder, places_.uid, &made);
  if (!opened.ok()) return opened;
  if (!OnOneMount(made.place, place)) {
    return Status::Error(WinErrorFromErrno(EXDEV), made.path + " is on another mount than " +
                                                       host_folder + ": no file can move there");
  }
  made.rename_keeps_time = TraitsOfFolder(made.files.get()).rename_keeps_time;
  *can = &cans_.insert_or_assign(place.device, std::move(made)).first->second;
  return Status::Ok();
}

// The data folder may be made only later; the folder it will be made in
// tells the file system until then.
bool Trash::IsHomeDevice(dev_t device) const {
  std::string path = places_.data_home;
  struct stat info;
  while (stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT || path == "/" || path == ".") return false;
    path = HostFolderOf(path);
  }
  return info.st_dev == device;
}

}  // namespace pellmar
