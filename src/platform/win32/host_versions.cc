// Looking again, on the handle, at the moment of acting; moving aside and back.
#include "platform/win32/host_versions.h"

#include "platform/scratch_name.h"
#include "platform/win32/error_mapping.h"
#include "platform/win32/nt_files.h"

namespace pellmar {
namespace {

constexpr int kNameAttempts = 16;
constexpr int64_t kUnixEpoch = 116444736000000000;  // 1970 in FILETIME units

int64_t Joined(DWORD high, DWORD low) { return static_cast<int64_t>((uint64_t{high} << 32) | low); }

Status OpenFailed(const Win32Folder& folder, const std::wstring& name, DWORD error) {
  // A name whose folder is gone is a file that is not there.
  if (error == ERROR_PATH_NOT_FOUND) error = ERROR_FILE_NOT_FOUND;
  return StatusFromWin32("open", folder.HostPathOf(name), error);
}

bool IsVersion(const HandleFacts& now, const FileFacts& expected, const Win32Folder& folder) {
  const bool regular = (now.attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  // FAT numbers a file by its entry's place; there, size and time tell.
  const bool same_file = !folder.traits().stable_ids || !expected.identity.known ||
                         now.identity.file == expected.identity.file;
  return regular && same_file && now.size == expected.size &&
         WriteNsOf(now.write_time) == expected.write_ns;
}

}  // namespace

bool LookAtHandle(HANDLE file, HandleFacts* facts) {
  BY_HANDLE_FILE_INFORMATION info;
  FILE_BASIC_INFO basic;
  if (!::GetFileInformationByHandle(file, &info) ||
      !::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
    return false;
  }
  facts->attributes = info.dwFileAttributes;
  facts->size = Joined(info.nFileSizeHigh, info.nFileSizeLow);
  facts->write_time = basic.LastWriteTime.QuadPart;
  facts->change_time = basic.ChangeTime.QuadPart;
  facts->identity =
      FileIdentity{info.dwVolumeSerialNumber,
                   static_cast<uint64_t>(Joined(info.nFileIndexHigh, info.nFileIndexLow)), true};
  return true;
}

int64_t WriteNsOf(int64_t file_time) { return (file_time - kUnixEpoch) * 100; }

bool IsLinkLike(DWORD attributes, DWORD reparse_tag) {
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  // Wine marks its host's links without a tag. A cloud placeholder of a
  // synced folder says what it is, and is an ordinary file.
  return reparse_tag == 0 || IsReparseTagNameSurrogate(reparse_tag);
}

Status EntryName(const Win32Folder& folder, const std::string& name, std::wstring* wide) {
  const std::optional<std::wstring> converted = Utf8ToWide(name);
  if (name.empty() || name == "." || name == ".." || !converted ||
      converted->find_first_of(L"\\/:*?\"<>|") != std::wstring::npos) {
    return Status::Error(kErrorInvalidName, folder.path() + ": \"" + name + "\" names no entry");
  }
  *wide = *converted;
  return Status::Ok();
}

Status ChangedDuringRun(const Win32Folder& folder, const std::string& name,
                        const std::string& why) {
  return Status::Error(kErrorChangedDuringRun,
                       folder.HostPathOf(Utf8ToWide(name).value_or(L"?")) + ": " + why);
}

Status OpenVersion(Win32Folder& folder, const FileFacts& expected, ACCESS_MASK access, ULONG share,
                   ScopedHandle* file, HandleFacts* facts) {
  std::wstring name;
  Status status = EntryName(folder, expected.name, &name);
  if (!status.ok()) return status;
  const bool decided_link = (expected.attributes & kAttrReparsePoint) != 0;
  // Whatever stands at the name opens, a folder too: the look below then
  // finds it is not the file decided on.
  RelativeOpen how{access | FILE_READ_ATTRIBUTES, share, FILE_OPEN, 0};
  if (!decided_link) how.options |= FILE_OPEN_REPARSE_POINT;
  DWORD error = OpenRelative(folder.handle(), name, how, file);
  if (error == ERROR_SUCCESS && !decided_link) {
    FILE_ATTRIBUTE_TAG_INFO tag = {};
    (void)::GetFileInformationByHandleEx(file->get(), FileAttributeTagInfo, &tag, sizeof tag);
    if (IsLinkLike(tag.FileAttributes, tag.ReparseTag)) {
      return ChangedDuringRun(folder, expected.name, "became a link during the run");
    }
    // Any other reparse point is read through its owner's filter, which
    // gives the file's data (a placeholder's is fetched).
    if (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      how.options &= ~ULONG{FILE_OPEN_REPARSE_POINT};
      error = OpenRelative(folder.handle(), name, how, file);
    }
  }
  if (error != ERROR_SUCCESS) return OpenFailed(folder, name, error);
  HandleFacts now;
  if (!LookAtHandle(file->get(), &now)) return LastErrorStatus("examine", folder.HostPathOf(name));
  if (facts != nullptr) *facts = now;
  if (IsVersion(now, expected, folder)) return Status::Ok();
  return ChangedDuringRun(folder, expected.name, "changed during the run");
}

Status StillVersion(HANDLE file, const Win32Folder& folder, const FileFacts& expected) {
  HandleFacts now;
  if (LookAtHandle(file, &now) && IsVersion(now, expected, folder)) return Status::Ok();
  return ChangedDuringRun(folder, expected.name, "changed during the run");
}

Status MoveAside(Win32Folder& folder, HANDLE file, const std::string& name, std::wstring* aside) {
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    *aside = Utf8ToWide(NewScratchName(ScratchKind::kReplaced)).value_or(L"");
    const DWORD error = RenameRelative(file, folder.handle(), *aside, false);
    if (error == ERROR_SUCCESS) return Status::Ok();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) {
      return StatusFromWin32("move aside", folder.HostPathOf(Utf8ToWide(name).value_or(L"?")),
                             error);
    }
  }
  return StatusFromWin32("move aside", WideForReport(folder.host()), ERROR_FILE_EXISTS);
}

void PutBack(Win32Folder& folder, ScopedHandle file, const std::wstring& aside,
             const std::wstring& name, RecycleBin& bin) {
  if (RenameRelative(file.get(), folder.handle(), name, false) == ERROR_SUCCESS) return;
  file.Reset();
  // Ignored: what cannot go to the Recycle Bin stays under its scratch
  // name, which listings hide and a later run sends there; it is never
  // deleted.
  if (folder.traits().recycle_bin) (void)bin.Put(folder, aside, name);
}

}  // namespace pellmar
