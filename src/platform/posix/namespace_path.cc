// Parsing and normalising namespace and host paths.
#include "platform/posix/namespace_path.h"

#include "platform/ascii.h"

namespace pellmar {
namespace {

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator, start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Applies "." and ".."; a ".." at the top stays only in a relative path,
// where it climbs out of the current folder as the user asked.
std::vector<std::string> Normalize(const std::vector<std::string>& parts, bool rooted) {
  std::vector<std::string> out;
  for (const std::string& part : parts) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!out.empty() && out.back() != "..") {
        out.pop_back();
      } else if (!rooted) {
        out.push_back(part);
      }
      continue;
    }
    out.push_back(part);
  }
  return out;
}

}  // namespace

std::optional<NamespacePathParts> ParseNamespacePath(const std::string& path) {
  if (path.find('\0') != std::string::npos) return std::nullopt;
  std::string text = path;
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  NamespacePathParts parts;
  std::string rest;
  if (text.compare(0, 2, "\\\\") == 0) {
    std::vector<std::string> unc = SplitAt(text.substr(2), '\\');
    if (unc.size() < 2 || unc[0].empty() || unc[1].empty()) return std::nullopt;
    // "\\?\" and "\\.\" name devices and raw volumes, never a share.
    if (unc[0] == "?" || unc[0] == ".") return std::nullopt;
    parts.root = "\\\\" + unc[0] + "\\" + unc[1];
    rest = text.substr(parts.root.size());
  } else if (text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == ':') {
    parts.root = std::string(1, UpperAscii(text[0])) + ":";
    rest = text.substr(2);
  } else if (!text.empty() && text[0] == '\\') {
    parts.root = "C:";
    rest = text;
  } else {
    rest = text;
  }
  if (rest.find(':') != std::string::npos) return std::nullopt;
  parts.components = Normalize(SplitAt(rest, '\\'), !parts.root.empty());
  return parts;
}

std::optional<std::vector<std::string>> SplitHostPath(const std::string& host_path) {
  if (host_path.empty() || host_path[0] != '/') return std::nullopt;
  return Normalize(SplitAt(host_path, '/'), true);
}

std::string JoinHostPath(const std::vector<std::string>& components) {
  if (components.empty()) return "/";
  std::string path;
  for (const std::string& c : components) path += "/" + c;
  return path;
}

bool IsUnnamable(const std::string& name) { return name.find_first_of("\\:") != std::string::npos; }

}  // namespace pellmar
