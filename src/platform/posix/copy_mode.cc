// When the permission bits of a copy cost a chmod of their own.
#include "platform/posix/copy_mode.h"

#include <sys/stat.h>

namespace pellmar {
namespace {

constexpr mode_t kWriteBits = 0222;

// The permission bits a new file loses to the process's mask, read once.
mode_t ProcessMask() {
  static const mode_t mask = [] {
    const mode_t old = umask(022);
    umask(old);
    return old;
  }();
  return mask;
}

}  // namespace

bool ModeNeedsSetting(mode_t mode, bool unix_modes) {
  if (unix_modes) return (mode & ProcessMask()) != 0;
  return (mode & kWriteBits) == 0;
}

}  // namespace pellmar
