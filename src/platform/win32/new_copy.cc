// New copies under partial scratch names, made and removed by handle.
#include "platform/win32/new_copy.h"

#include "platform/scratch_name.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/nt_files.h"

namespace pellmar {
namespace {

constexpr int kNameAttempts = 16;
// The attributes a copy takes from its source; the others are the file
// system's own (compressed, sparse, reparse point...).
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

}  // namespace

NewCopy::~NewCopy() {
  // Nothing can be reported from here; the file was ours and is unwanted.
  // Deleted by its handle: whatever else has its name meanwhile stays.
  if (!placed_ && file_.valid()) (void)DeleteByHandle(file_.get());
}

Status NewCopy::Create() {
  // No sharing at all: while the copy lives, a cleaner's open fails.
  const RelativeOpen how{GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0, FILE_CREATE,
                         FILE_NON_DIRECTORY_FILE | FILE_SEQUENTIAL_ONLY | FILE_OPEN_REPARSE_POINT};
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    name_ = Utf8ToWide(NewScratchName(ScratchKind::kPartial)).value_or(L"");
    DWORD error = OpenRelative(folder_.handle(), name_, how, &file_);
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) continue;
    if (error == ERROR_SUCCESS) return Status::Ok();
    // A folder that went away is a missing path, as a copy reports it.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_DELETE_PENDING)
      error = ERROR_PATH_NOT_FOUND;
    return StatusFromWin32("create a file in", WideForReport(folder_.host()), error);
  }
  return StatusFromWin32("create a file in", WideForReport(folder_.host()), ERROR_FILE_EXISTS);
}

Status NewCopy::Finish(const HandleFacts& source, bool flush) {
  // Set after the last write, which would otherwise take the time of now.
  FILE_BASIC_INFO basic = {};
  basic.LastWriteTime.QuadPart = source.write_time;
  if (!::SetFileInformationByHandle(file_.get(), FileBasicInfo, &basic, sizeof basic)) {
    return LastErrorStatus("set the time of", folder_.HostPathOf(name_));
  }
  if (flush && !::FlushFileBuffers(file_.get())) {
    return LastErrorStatus("flush", folder_.HostPathOf(name_));
  }
  return Status::Ok();
}

Status NewCopy::PlaceAs(const std::wstring& name, DWORD attributes) {
  const DWORD error = RenameRelative(file_.get(), folder_.handle(), name, false);
  if (error != ERROR_SUCCESS)
    return StatusFromWin32("rename into", folder_.HostPathOf(name), error);
  placed_ = true;
  // Set last: a read-only copy could not have been deleted by its handle
  // had the rename failed. Ignored: the copy is whole and in place, and a
  // file system without these attributes (some network shares) keeps none.
  FILE_BASIC_INFO basic = {};
  basic.FileAttributes = attributes & kCopiedAttributes;
  if (basic.FileAttributes != 0) {
    (void)::SetFileInformationByHandle(file_.get(), FileBasicInfo, &basic, sizeof basic);
  }
  // Ignored: closing reports nothing about the data on this system, whose
  // write errors a flush reports, and the copy is in place.
  (void)file_.Reset();
  return Status::Ok();
}

}  // namespace pellmar
