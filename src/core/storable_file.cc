// The size and name rules of the file system a run copies onto.
#include "core/storable_file.h"

namespace pellmar {

namespace {

// The characters the Windows rules forbid beyond "\", ":" and "/", which
// never reach a run: the listing leaves such names out.
constexpr char kForbidden[] = "\"*<>?|";

std::string WhyNotWindowsName(const std::string& name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return "cannot store a name with a control character";
    for (const char* f = kForbidden; *f != '\0'; ++f) {
      if (c == *f) return std::string("cannot store a name with the character ") + c;
    }
  }
  // Windows drops a trailing dot or blank from a name, and Linux's FAT a
  // trailing dot, so "a." would land as "a", over another file.
  if (!name.empty() && name.back() == '.') return "cannot store a name that ends in a dot";
  if (!name.empty() && name.back() == ' ') return "cannot store a name that ends in a blank";
  return "";
}

}  // namespace

std::string WhyNotStorable(const std::string& name, int64_t size, const FileSystemLimits& limits) {
  if (limits.windows_names) {
    std::string why = WhyNotWindowsName(name);
    if (!why.empty()) return why;
  }
  if (limits.max_file_size > 0 && size > limits.max_file_size) {
    return "holds no file larger than " + std::to_string(limits.max_file_size) + " bytes";
  }
  return "";
}

}  // namespace pellmar
