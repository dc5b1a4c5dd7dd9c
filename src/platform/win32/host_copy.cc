// Copying one regular file between open folders: the data through a fixed
// buffer into a new copy beside the target, then the checks that the
// source held still and the target is still the one decided on, and the
// new copy takes the target's name.
#include "platform/win32/host_copy.h"

#include <memory>

#include "platform/win32/error_mapping.h"
#include "platform/win32/host_versions.h"
#include "platform/win32/new_copy.h"
#include "platform/win32/nt_files.h"

namespace pellmar {
namespace {

constexpr DWORD kBufferSize = DWORD{1} << 20;
constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A version about to be renamed or deleted: others may read and write it
// meanwhile, which the look on the handle catches, but not rename or
// delete it, so its name stays its own.
constexpr ULONG kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;

// What becomes of a version a copy replaces.
struct ReplacedVersions {
  RecycleBin& bin;  // also takes, always, a user's version that cannot go back
  bool keep;        // replaced versions go to the Recycle Bin rather than into nothing
};

Status CopyContents(HANDLE in, HANDLE out, const std::string& source, const std::string& target) {
  const std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  while (true) {
    DWORD got = 0;
    if (!::ReadFile(in, buffer.get(), kBufferSize, &got, nullptr)) {
      return LastErrorStatus("read", source);
    }
    if (got == 0) return Status::Ok();
    for (DWORD done = 0; done < got;) {
      DWORD put = 0;
      if (!::WriteFile(out, buffer.get() + done, got - done, &put, nullptr) || put == 0) {
        return LastErrorStatus("write", target);
      }
      done += put;
    }
  }
}

// A file written while it was read gives a copy that is neither its old
// nor its new version; size, last write and change time tell.
Status CheckHeldStill(HANDLE in, const HandleFacts& before, const Win32Folder& from,
                      const std::string& name) {
  HandleFacts after;
  if (LookAtHandle(in, &after) && after.size == before.size &&
      after.write_time == before.write_time && after.change_time == before.change_time) {
    return Status::Ok();
  }
  return Status::Error(kErrorChangedWhileCopied,
                       from.HostPathOf(Utf8ToWide(name).value_or(L"?")) + ": changed while copied");
}

// Before a byte is copied: the version to replace is the one decided on,
// and one the system would refuse to give up is said to be so.
// A target that was there when the run decided and is gone now was removed
// by someone meanwhile: that is a change, not a missing source.
Status TargetGone(Win32Folder& to, const std::string& name, Status status) {
  if (status.code != kErrorFileNotFound) return status;
  return ChangedDuringRun(to, name, "removed during the run");
}

Status CheckReplaceable(Win32Folder& to, const FileFacts& replaced) {
  ScopedHandle old;
  HandleFacts facts;
  const Status status =
      TargetGone(to, replaced.name, OpenVersion(to, replaced, 0, kShareAll, &old, &facts));
  if (!status.ok()) return status;
  if (facts.attributes & FILE_ATTRIBUTE_READONLY) {
    return Status::Error(
        kErrorAccessDenied,
        to.HostPathOf(Utf8ToWide(replaced.name).value_or(L"?")) + ": is read-only, not replaced");
  }
  return status;
}

// The old version now stands at the scratch name `aside`, held by `old`:
// into the Recycle Bin, or, where the user wants none or the drive has
// none, gone.
void DisposeReplaced(Win32Folder& to, ScopedHandle old, const std::wstring& aside,
                     const std::wstring& name, const ReplacedVersions& versions,
                     CopyResult* result) {
  if (!versions.keep || !to.traits().recycle_bin) {
    // Ignored: a version that cannot be removed stays under its scratch
    // name, which listings hide.
    (void)DeleteByHandle(old.get());
    return;
  }
  old.Reset();  // the shell opens it itself
  const Status put = versions.bin.Put(to, aside, name);
  if (put.ok()) {
    result->replaced_kept = true;
  } else {
    result->warning = "the version it replaced could not be moved to the Recycle Bin (" +
                      put.message + "); it is kept as " + to.HostPathOf(aside);
  }
}

// The old version, opened again and checked, moves aside by its handle;
// the new copy takes the name it left.
Status Replace(NewCopy& copy, Win32Folder& to, const FileFacts& replaced, const std::wstring& name,
               DWORD attributes, const ReplacedVersions& versions, CopyResult* result) {
  ScopedHandle old;
  Status status = OpenVersion(to, replaced, DELETE, kShareAllButDelete, &old);
  if (!status.ok()) return status;
  std::wstring aside;
  status = MoveAside(to, old.get(), replaced.name, &aside);
  if (!status.ok()) return status;
  // Written between the look and the move: it is the user's newer work.
  status = StillVersion(old.get(), to, replaced);
  if (status.ok()) status = copy.PlaceAs(name, attributes);
  if (!status.ok()) {
    PutBack(to, std::move(old), aside, name, versions.bin);
    return status.code == kErrorAlreadyExists
               ? ChangedDuringRun(to, replaced.name, "a file took its name during the run")
               : status;
  }
  DisposeReplaced(to, std::move(old), aside, name, versions, result);
  return status;
}

}  // namespace

Status CopyBetweenFolders(const CopyRequest& request, RecycleBin& bin, CopyResult* result) {
  const ReplacedVersions versions{bin, request.keep_replaced};
  Win32Folder& from = AsWin32(*request.from);
  Win32Folder& to = AsWin32(*request.to);
  std::wstring name;
  Status status = EntryName(to, request.source.name, &name);
  ScopedHandle in;
  HandleFacts info;
  if (status.ok()) status = OpenVersion(from, request.source, GENERIC_READ, kShareAll, &in, &info);
  if (status.ok() && request.replaced) status = CheckReplaceable(to, *request.replaced);
  if (status.ok() && request.replaced && request.replaced_must_be_kept &&
      !to.traits().recycle_bin) {
    status = Status::Error(
        kErrorCannotKeepReplaced,
        to.HostPathOf(name) + ": not replaced, the drive has no Recycle Bin to keep it in");
  }
  if (!status.ok()) return status;
  NewCopy copy(to);
  status = copy.Create();
  if (status.ok()) {
    status = CopyContents(in.get(), copy.handle(), from.HostPathOf(name), to.HostPathOf(name));
  }
  if (status.ok()) status = copy.Finish(info, request.replaced.has_value());
  if (status.ok()) status = CheckHeldStill(in.get(), info, from, request.source.name);
  if (!status.ok()) return status;
  if (request.replaced) {
    return TargetGone(
        to, request.source.name,
        Replace(copy, to, *request.replaced, name, info.attributes, versions, result));
  }
  status = copy.PlaceAs(name, info.attributes);
  if (status.code == kErrorAlreadyExists) {
    return ChangedDuringRun(to, request.source.name, "a file took its name during the run");
  }
  return status;
}

}  // namespace pellmar
