// Namespace <-> host mapping by longest matching prefix.
#include "platform/posix/drive_table.h"

#include <algorithm>
#include <set>

#include "platform/posix/media_letters.h"

namespace pellmar {
namespace {

bool IsDriveRoot(const std::string& root) { return root.size() == 2 && root[1] == ':'; }

bool StartsWithIgnoreCase(const std::vector<std::string>& path,
                          const std::vector<std::string>& prefix) {
  if (prefix.size() > path.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (!EqualsIgnoreCase(path[i], prefix[i])) return false;
  }
  return true;
}

bool StartsWith(const std::vector<std::string>& path, const std::vector<std::string>& prefix) {
  return prefix.size() <= path.size() && std::equal(prefix.begin(), prefix.end(), path.begin());
}

std::string Joined(const std::vector<std::string>& parts, size_t from, const std::string& glue) {
  std::string text;
  for (size_t i = from; i < parts.size(); ++i) text += (i > from ? glue : "") + parts[i];
  return text;
}

}  // namespace

std::string NamespaceMapping::PrefixText() const {
  if (prefix.components.empty()) return prefix.root;
  return prefix.root + "\\" + Joined(prefix.components, 0, "\\");
}

std::string NamespaceMapping::HostRootText() const { return JoinHostPath(host_root); }

void DriveTable::MapRoot(const std::string& root, const std::string& host_root,
                         MappingOrigin origin) {
  std::optional<NamespacePathParts> parts = ParseNamespacePath(root);
  std::optional<std::vector<std::string>> host = SplitHostPath(host_root);
  if (!parts || !host || parts->root.empty()) return;
  std::erase_if(mappings_, [&](const NamespaceMapping& m) {
    return m.prefix.components.empty() && EqualsIgnoreCase(m.prefix.root, parts->root);
  });
  mappings_.push_back({NamespacePathParts{parts->root, {}}, *host, origin, {}});
}

void DriveTable::MapFolder(const NamespacePathParts& folder, const std::string& host_root) {
  std::optional<std::vector<std::string>> host = SplitHostPath(host_root);
  if (!host || folder.root.empty()) return;
  mappings_.push_back({folder, *host, MappingOrigin::kSystem, {}});
}

NamespaceMapping* DriveTable::LetterOfMedium(const MountedMedium& medium,
                                             const std::vector<std::string>& host, bool same_place,
                                             const std::vector<const NamespaceMapping*>& taken) {
  for (NamespaceMapping& m : mappings_) {
    if (m.origin != MappingOrigin::kMountTable || m.medium.key != medium.medium.key) continue;
    if (std::find(taken.begin(), taken.end(), &m) != taken.end()) continue;
    // A medium with no key is known only where it was mounted.
    if ((same_place || medium.medium.key.empty()) && m.host_root != host) continue;
    return &m;
  }
  return nullptr;
}

bool DriveTable::AssignMediaLetters(const std::vector<MountedMedium>& media,
                                    std::vector<RememberedLetter>* memory) {
  std::vector<std::optional<std::vector<std::string>>> hosts;
  for (const MountedMedium& m : media) hosts.push_back(SplitHostPath(m.mount_point));
  // The media still where they were first, then those mounted anew
  // elsewhere, so that a medium mounted twice does not move its letter.
  std::vector<const NamespaceMapping*> taken;
  std::vector<bool> lettered(media.size(), false);
  for (bool same_place : {true, false}) {
    for (size_t i = 0; i < media.size(); ++i) {
      if (!hosts[i] || lettered[i]) continue;
      NamespaceMapping* known = LetterOfMedium(media[i], *hosts[i], same_place, taken);
      if (known == nullptr) continue;
      known->host_root = *hosts[i];
      known->medium.label = media[i].medium.label;
      taken.push_back(known);
      lettered[i] = true;
    }
  }
  std::vector<MediumIdentity> present, unlettered;
  std::vector<size_t> unlettered_index;
  for (size_t i = 0; i < media.size(); ++i) {
    if (!hosts[i]) continue;
    present.push_back(media[i].medium);
    if (lettered[i]) continue;
    unlettered.push_back(media[i].medium);
    unlettered_index.push_back(i);
  }
  std::set<char> in_use;
  for (const NamespaceMapping* root : Roots()) {
    if (IsDriveRoot(root->prefix.root)) in_use.insert(root->prefix.root[0]);
  }
  bool changed = false;
  const std::vector<char> letters = ChooseMediaLetters(in_use, unlettered, memory, &changed);
  for (size_t i = 0; i < letters.size(); ++i) {
    if (letters[i] == 0) continue;
    mappings_.push_back({NamespacePathParts{std::string(1, letters[i]) + ":", {}},
                         *hosts[unlettered_index[i]], MappingOrigin::kMountTable, unlettered[i]});
  }
  return MarkMediaSeen(present, memory) || changed;
}

const NamespaceMapping* DriveTable::FindRoot(const std::string& root) const {
  for (const NamespaceMapping& m : mappings_) {
    if (m.prefix.components.empty() && EqualsIgnoreCase(m.prefix.root, root)) return &m;
  }
  return nullptr;
}

std::optional<ResolvedPath> DriveTable::ToHost(const NamespacePathParts& path) const {
  if (path.root.empty()) {
    ResolvedPath relative{Joined(path.components, 0, "/"), true, {}};
    if (relative.host.empty()) relative.host = ".";
    return relative;
  }
  const NamespaceMapping* best = nullptr;
  for (const NamespaceMapping& m : mappings_) {
    if (!EqualsIgnoreCase(m.prefix.root, path.root)) continue;
    if (!StartsWithIgnoreCase(path.components, m.prefix.components)) continue;
    if (best == nullptr || m.prefix.components.size() > best->prefix.components.size()) best = &m;
  }
  if (best == nullptr) return std::nullopt;
  std::vector<std::string> host = best->host_root;
  host.insert(host.end(), path.components.begin() + best->prefix.components.size(),
              path.components.end());
  return ResolvedPath{JoinHostPath(host), false, *best};
}

std::optional<std::string> DriveTable::ToNamespace(const std::string& host_path) const {
  std::optional<std::vector<std::string>> host = SplitHostPath(host_path);
  if (!host) return std::nullopt;
  if (std::any_of(host->begin(), host->end(), IsUnnamable)) return std::nullopt;
  const NamespaceMapping* best = nullptr;
  for (const NamespaceMapping& m : mappings_) {
    if (!StartsWith(*host, m.host_root)) continue;
    if (best == nullptr || m.host_root.size() > best->host_root.size()) best = &m;
  }
  if (best == nullptr) return std::nullopt;
  const std::string rest = Joined(*host, best->host_root.size(), "\\");
  if (best->prefix.components.empty()) return best->prefix.root + "\\" + rest;
  return rest.empty() ? best->PrefixText() : best->PrefixText() + "\\" + rest;
}

std::vector<const NamespaceMapping*> DriveTable::Roots() const {
  std::vector<const NamespaceMapping*> roots;
  for (const NamespaceMapping& m : mappings_) {
    if (m.prefix.components.empty()) roots.push_back(&m);
  }
  std::sort(roots.begin(), roots.end(), [](const NamespaceMapping* a, const NamespaceMapping* b) {
    const bool a_drive = IsDriveRoot(a->prefix.root);
    const bool b_drive = IsDriveRoot(b->prefix.root);
    if (a_drive != b_drive) return a_drive;
    return a->prefix.root < b->prefix.root;
  });
  return roots;
}

std::vector<std::pair<std::string, std::string>> ParseDriveOverrides(
    const std::string& text, const std::string& working_folder) {
  std::vector<std::pair<std::string, std::string>> overrides;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(start, end - start);
    start = end + 1;
    const size_t equals = item.find('=');
    if (equals == std::string::npos || equals + 1 == item.size()) continue;
    std::string root = item.substr(0, equals);
    std::string host = item.substr(equals + 1);
    if (root.size() == 1) root += ":";  // "E=/x" is taken as "E:=/x"
    std::optional<NamespacePathParts> parts = ParseNamespacePath(root);
    if (!parts || parts->root.empty() || !parts->components.empty()) continue;
    if (host[0] != '/') host = working_folder + "/" + host;
    overrides.emplace_back(parts->root, host);
  }
  return overrides;
}

}  // namespace pellmar
