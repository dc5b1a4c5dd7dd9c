// Permission bits of copies, and when they cost a chmod of their own.
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

mode_t ModeOfCopy(mode_t source, bool source_modes, std::optional<mode_t> replaced) {
  if (source_modes) return source & 0777;
  // A FUSE mount shows every file of a stick as rwx for everyone: taken
  // over, a Load would leave the user's files writable by anyone. The copy
  // keeps what the user gave the version it replaces, or gets what any
  // new file gets.
  mode_t mode = replaced ? (*replaced & 0777) : (0666 & ~ProcessMask());
  if ((source & kWriteBits) == 0) mode &= ~kWriteBits;
  return mode;
}

bool ModeNeedsSetting(mode_t mode, bool unix_modes) {
  if (unix_modes) return (mode & ProcessMask()) != 0;
  return (mode & kWriteBits) == 0;
}

}  // namespace pellmar
