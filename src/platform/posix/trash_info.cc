// Trash records and the names of trashed files.
#include "platform/posix/trash_info.h"

#include <sys/random.h>
#include <unistd.h>

#include <cstring>

namespace pellmar {
namespace {

// A folder entry holds 255 bytes; the record adds ".trashinfo" to the name.
constexpr size_t kLongestTrashName = 255 - (sizeof ".trashinfo" - 1);
// Past this, a "suffix" is more likely part of the name than a file type.
constexpr size_t kLongestExtension = 32;
// ".2" to ".9" read well for the few files of one name a run replaces; a
// name trashed hundreds of times takes random marks instead, so finding a
// free one never costs more than a try or two.
constexpr int kNumberedAttempts = 8;

bool IsKeptAsIs(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::strchr("-_.!~*'()/", c) != nullptr;
}

std::string RandomMark() {
  unsigned char random[4];
  if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
    // Without the kernel's randomness any spread of marks serves: a mark
    // taken already is simply tried again.
    static unsigned counter = static_cast<unsigned>(getpid());
    for (unsigned char& r : random) r = static_cast<unsigned char>(++counter * 2654435761u >> 24);
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string mark;
  for (unsigned char r : random) mark += {kHex[r >> 4], kHex[r & 15]};
  return mark;
}

// The first `length` bytes of `text`, shortened further so that no UTF-8
// character is cut in two.
std::string CutAtCharacter(const std::string& text, size_t length) {
  while (length > 0 && length < text.size() &&
         (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
    --length;
  }
  return text.substr(0, length);
}

}  // namespace

std::string EscapeTrashPath(const std::string& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (unsigned char c : path) {
    if (IsKeptAsIs(c)) {
      escaped += static_cast<char>(c);
    } else {
      escaped += {'%', kHex[c >> 4], kHex[c & 15]};
    }
  }
  return escaped;
}

std::string TrashInfoText(const std::string& path, std::time_t when) {
  struct tm local;
  char date[32] = "";
  if (localtime_r(&when, &local) != nullptr) {
    strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  }
  return "[Trash Info]\nPath=" + EscapeTrashPath(path) + "\nDeletionDate=" + date + "\n";
}

std::string TrashNameCandidate(const std::string& name, int attempt) {
  // A leading dot starts a hidden name, not an extension (".profile").
  const size_t dot = name.rfind('.');
  const bool has_extension =
      dot != std::string::npos && dot > 0 && name.size() - dot <= kLongestExtension;
  const std::string extension = has_extension ? name.substr(dot) : "";
  std::string stem = has_extension ? name.substr(0, dot) : name;
  std::string mark;
  if (attempt > 0) {
    mark = "." + (attempt <= kNumberedAttempts ? std::to_string(attempt + 1) : RandomMark());
  }
  const size_t room = kLongestTrashName - extension.size() - mark.size();
  if (stem.size() > room) stem = CutAtCharacter(stem, room);
  return stem + mark + extension;
}

}  // namespace pellmar
