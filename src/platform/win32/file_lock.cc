// Exclusive locks on files: LockFileEx on the first byte of a handle of the
// file's own, which every other handle of it waits for, in this process as
// in others.
#include <memory>
#include <string>
#include <utility>

#include "platform/win32/error_mapping.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace pellmar {
namespace {

class HeldRange : public Platform::FileLock {
 public:
  explicit HeldRange(ScopedHandle file) : file_(std::move(file)) {}
  ~HeldRange() override {
    OVERLAPPED at = {};
    // Closing the handle lets the lock go as well; unlocking first lets it
    // go at once rather than when the system gets round to it.
    (void)::UnlockFileEx(file_.get(), 0, 1, 0, &at);
  }

 private:
  ScopedHandle file_;
};

// Asked not to wait, and asked again until the time is up.
Status WaitForLock(HANDLE file, const std::string& path) {
  const ULONGLONG deadline = ::GetTickCount64() + Platform::kLockWaitSeconds * 1000ULL;
  while (true) {
    OVERLAPPED at = {};
    if (::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
      return Status::Ok();
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_LOCK_VIOLATION) return StatusFromWin32("lock", path, error);
    if (::GetTickCount64() >= deadline) {
      return Status::Error(kErrorSharingViolation,
                           path + ": another program has held its lock for more than " +
                               std::to_string(Platform::kLockWaitSeconds) + " seconds");
    }
    ::Sleep(20);
  }
}

}  // namespace

Status Win32Platform::LockFile(const std::string& path, std::unique_ptr<FileLock>* held) {
  return OnHost(path, [&path, held](const std::wstring& host) {
    // Shared for reading and writing: the others must open it to wait.
    ScopedHandle file(::CreateFileW(host.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return LastErrorStatus("open the lock file", path);
    if (Status locked = WaitForLock(file.get(), path); !locked.ok()) return locked;
    *held = std::make_unique<HeldRange>(std::move(file));
    return Status::Ok();
  });
}

}  // namespace pellmar
