// Taking the "." and ".." steps out of a folder text. A project is named
// after its folder's last component, and a name of "." or ".." would put
// its copy on the removable disk over other projects' folders.
#include "core/folder_text.h"

#include <algorithm>
#include <vector>

namespace pellmar {
namespace {

bool IsDotStep(const std::string& part) { return part == "." || part == ".."; }

// The components between the backslashes that are characters of their own.
std::vector<std::string> Components(const std::string& text, CodePage cp) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\') {
      parts.emplace_back();
      continue;
    }
    parts.back() += text[i];
    if (cp.IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      parts.back() += text[++i];
    }
  }
  return parts;
}

// Where the text's own separators end the first `count` components after
// `from`; the end of the text when it has fewer.
size_t EndOfComponents(const std::string& text, size_t from, int count, CodePage cp) {
  for (size_t i = from; i < text.size(); ++i) {
    if (cp.IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (text[i] == '\\' && --count == 0) {
      return i;
    }
  }
  return text.size();
}

// The part of the text a ".." never climbs above: "\\server\share", "D:\",
// "D:", "\" or nothing at all.
size_t RootLength(const std::string& text, CodePage cp) {
  if (text.starts_with("\\\\")) return EndOfComponents(text, 2, 2, cp);
  if (text.size() >= 2 && text[1] == ':' && !cp.IsLeadByte(static_cast<unsigned char>(text[0]))) {
    return text.size() > 2 && text[2] == '\\' ? 3 : 2;
  }
  return text.starts_with("\\") ? 1 : 0;
}

// The components left once the steps are taken. Below a root a ".." at the
// top stays at the root; a text without one keeps the ".." it cannot take.
std::vector<std::string> TakeSteps(const std::vector<std::string>& parts, bool rooted) {
  std::vector<std::string> kept;
  for (const std::string& part : parts) {
    if (part.empty() || part == ".") continue;
    if (part != "..") {
      kept.push_back(part);
    } else if (!kept.empty() && kept.back() != "..") {
      kept.pop_back();
    } else if (!rooted) {
      kept.push_back(part);
    }
  }
  return kept;
}

}  // namespace

std::string NormalFolder(const std::string& folder, CodePage cp) {
  const size_t root_length = RootLength(folder, cp);
  const std::vector<std::string> parts = Components(folder.substr(root_length), cp);
  if (std::none_of(parts.begin(), parts.end(), IsDotStep)) return folder;
  std::string result = folder.substr(0, root_length);
  // "D:" alone is the drive's current folder, no root to stop at.
  const bool rooted = result.find('\\') != std::string::npos;
  const std::vector<std::string> kept = TakeSteps(parts, rooted);
  // Only a network root ends without a separator of its own.
  bool separate = result.starts_with("\\\\") && result.size() > 2;
  for (const std::string& part : kept) {
    if (separate) result += '\\';
    result += part;
    separate = true;
  }
  return result.empty() ? "." : result;
}

}  // namespace pellmar
