// NtCreateFile with a root folder, renames and deletions by handle, and the
// look at one folder entry by name.
#include "platform/win32/nt_files.h"

#include <winternl.h>

#include <cstring>
#include <vector>

// Not in the toolchain's headers; as Microsoft documents it.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PVOID apc_routine,
                                               PVOID apc_context, PIO_STATUS_BLOCK io_status,
                                               PVOID information, ULONG length,
                                               FILE_INFORMATION_CLASS information_class,
                                               BOOLEAN single_entry, PUNICODE_STRING file_name,
                                               BOOLEAN restart_scan);

namespace pellmar {
namespace {

// A counted name for the native calls; it points into `name`, which must
// outlive it.
UNICODE_STRING Counted(const std::wstring& name) {
  UNICODE_STRING counted;
  counted.Buffer = const_cast<PWSTR>(name.c_str());
  counted.Length = static_cast<USHORT>(name.size() * sizeof(wchar_t));
  counted.MaximumLength = counted.Length;
  return counted;
}

DWORD Win32Code(NTSTATUS status) {
  return NT_SUCCESS(status) ? ERROR_SUCCESS : ::RtlNtStatusToDosError(status);
}

}  // namespace

DWORD OpenRelative(HANDLE folder, const std::wstring& name, const RelativeOpen& how,
                   ScopedHandle* file) {
  *file = ScopedHandle();
  // Names longer than a counted string holds are no names of one entry.
  if (name.size() > 0x7fff / sizeof(wchar_t)) return ERROR_FILENAME_EXCED_RANGE;
  UNICODE_STRING counted = Counted(name);
  OBJECT_ATTRIBUTES attributes;
  // Case-insensitive, as every Win32 open is.
  InitializeObjectAttributes(&attributes, &counted, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io = {};
  HANDLE opened = nullptr;
  const NTSTATUS status = ::NtCreateFile(
      &opened, how.access | SYNCHRONIZE, &attributes, &io, nullptr, how.attributes, how.share,
      how.disposition, how.options | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT,
      nullptr, 0);
  if (!NT_SUCCESS(status)) return Win32Code(status);
  *file = ScopedHandle(opened);
  return ERROR_SUCCESS;
}

// The native call, not SetFileInformationByHandle: Wine's takes no root
// folder for a rename, and Windows' passes the same structure through.
DWORD RenameRelative(HANDLE file, HANDLE folder, const std::wstring& name, bool replace) {
  const size_t name_bytes = name.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFORMATION) + name_bytes);
  auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
  rename->ReplaceIfExists = replace ? TRUE : FALSE;
  rename->RootDirectory = folder;
  rename->FileNameLength = static_cast<ULONG>(name_bytes);
  std::memcpy(rename->FileName, name.data(), name_bytes);
  IO_STATUS_BLOCK io = {};
  return Win32Code(::NtSetInformationFile(file, &io, rename, static_cast<ULONG>(buffer.size()),
                                          FileRenameInformation));
}

DWORD DeleteByHandle(HANDLE file) {
  FILE_DISPOSITION_INFO disposition = {TRUE};
  if (::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition)) {
    return ERROR_SUCCESS;
  }
  return ::GetLastError();
}

DirectoryEntry EntryFromRecord(const FILE_ID_BOTH_DIR_INFO& record) {
  DirectoryEntry entry;
  entry.name.assign(record.FileName, record.FileNameLength / sizeof(wchar_t));
  entry.attributes = record.FileAttributes;
  // A reparse point's record carries its tag where other records carry
  // the size of their extended attributes.
  if (entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) entry.reparse_tag = record.EaSize;
  entry.file_id = static_cast<uint64_t>(record.FileId.QuadPart);
  entry.size = record.EndOfFile.QuadPart;
  entry.write_time = record.LastWriteTime.QuadPart;
  return entry;
}

std::optional<DirectoryEntry> EntryOf(HANDLE folder, const std::wstring& name) {
  // A handle of its own: a folder handle keeps the first name it was
  // asked for as its filter, and the folder's own handle must list whole.
  ScopedHandle lister;
  RelativeOpen how;
  how.access = FILE_LIST_DIRECTORY;
  how.options = FILE_DIRECTORY_FILE;
  if (OpenRelative(folder, L"", how, &lister) != ERROR_SUCCESS) return std::nullopt;
  alignas(8) unsigned char buffer[sizeof(FILE_ID_BOTH_DIR_INFO) + 600 * sizeof(wchar_t)];
  UNICODE_STRING counted = Counted(name);
  IO_STATUS_BLOCK io = {};
  const NTSTATUS status =
      NtQueryDirectoryFile(lister.get(), nullptr, nullptr, nullptr, &io, buffer, sizeof buffer,
                           FileIdBothDirectoryInformation, TRUE, &counted, TRUE);
  if (!NT_SUCCESS(status)) return std::nullopt;
  return EntryFromRecord(*reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer));
}

}  // namespace pellmar
