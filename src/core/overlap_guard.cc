// The overlap guard of Send and Load.
#include "core/overlap_guard.h"

#include <vector>

#include "core/removable_medium.h"
#include "core/text_ops.h"
#include "platform/ascii.h"

namespace pellmar {

namespace {

enum class Overlap { kApart, kSame, kNested };

// One spelling per folder: doubled separators made single (a network path
// keeps its leading pair), no trailing separator, letters in one case.
std::string Canonical(const std::string& folder, char separator) {
  std::string out;
  for (size_t i = 0; i < folder.size(); ++i) {
    const char c = folder[i];
    if (c == separator && i > 1 && out.back() == separator) continue;
    out.push_back(LowerAscii(c));
  }
  while (!out.empty() && out.back() == separator) out.pop_back();
  return out;
}

bool Inside(const std::string& inner, const std::string& outer, char separator) {
  return inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
         inner[outer.size()] == separator;
}

Overlap Compare(const std::string& a, const std::string& b, char separator) {
  const std::string x = Canonical(a, separator);
  const std::string y = Canonical(b, separator);
  if (x == y) return Overlap::kSame;
  if (Inside(x, y, separator) || Inside(y, x, separator)) return Overlap::kNested;
  return Overlap::kApart;
}

Overlap CompareEverySpelling(Platform& platform, const std::string& a, const std::string& b) {
  const Overlap written = Compare(a, b, '\\');
  if (written != Overlap::kApart) return written;
  const std::optional<std::string> host_a = platform.HostPath(a);
  const std::optional<std::string> host_b = platform.HostPath(b);
  if (!host_a || !host_b) return Overlap::kApart;
  return Compare(*host_a, *host_b, '/');
}

// The identities above a folder, from the folder itself when it exists,
// else from the nearest folder above it that does.
struct Ancestry {
  std::vector<FileIdentity> chain;
  bool exists = false;  // chain[0] is the folder itself
  Status status;        // not ok only for a path the host cannot hold
};

Ancestry AncestryOf(Platform& platform, const std::string& folder) {
  Ancestry found;
  std::string found_at;
  const Status status = NearestFolderChain(platform, folder, {}, &found.chain, &found_at);
  if (status.code == kErrorFilenameTooLong) found.status = status;
  found.exists = status.ok() && found_at == folder;
  return found;
}

bool Holds(const std::vector<FileIdentity>& chain, const FileIdentity& identity) {
  for (const FileIdentity& each : chain) {
    if (each == identity) return true;
  }
  return false;
}

// Every refusal ends by saying that the run left all files alone.
std::string Refusal(const MessageTable& messages, const std::string& why) {
  return why + "\r\n" + messages.Msg(kNothingTouched);
}

}  // namespace

std::optional<std::string> OverlapRefusal(Platform& platform, const std::string& project_folder,
                                          const std::string& removable_project_folder,
                                          const std::string& media_dir,
                                          const MessageTable& messages) {
  // Without a removable folder nothing tells the two sides apart, and Send
  // would write into a folder at the top of the hard disk.
  if (media_dir.empty()) {
    return Refusal(messages, messages.Msg(kNoRemovableFolder));
  }
  if (OccursIn(media_dir, project_folder)) {
    return Refusal(messages,
                   FillIn(messages.Msg(kRemovableFolderInPath), {media_dir, project_folder}));
  }
  switch (CompareEverySpelling(platform, project_folder, removable_project_folder)) {
    case Overlap::kSame:
      return Refusal(messages, FillIn(messages.Msg(kSameFolder), {project_folder}));
    case Overlap::kNested:
      return Refusal(messages, FillIn(messages.Msg(kNestedFolders),
                                      {project_folder, removable_project_folder}));
    case Overlap::kApart:
      break;
  }
  return std::nullopt;
}

std::optional<std::string> IdentityRefusal(Platform& platform, const std::string& project_folder,
                                           const std::string& removable_project_folder,
                                           const FileIdentity& medium_root,
                                           const MessageTable& messages) {
  const Ancestry project = AncestryOf(platform, project_folder);
  const Ancestry removable = AncestryOf(platform, removable_project_folder);
  for (const Ancestry* side : {&project, &removable}) {
    if (!side->status.ok()) return Refusal(messages, side->status.message);
  }
  if (project.exists && removable.exists && project.chain[0] == removable.chain[0]) {
    return Refusal(messages, FillIn(messages.Msg(kSameFolderByLink),
                                    {project_folder, removable_project_folder}));
  }
  if ((removable.exists && Holds(project.chain, removable.chain[0])) ||
      (project.exists && Holds(removable.chain, project.chain[0]))) {
    return Refusal(messages, FillIn(messages.Msg(kNestedFoldersByLink),
                                    {project_folder, removable_project_folder}));
  }
  if (medium_root.known && !Holds(removable.chain, medium_root)) {
    return Refusal(messages, FillIn(messages.Msg(kLeadsOffTheDisk), {removable_project_folder}));
  }
  return std::nullopt;
}

}  // namespace pellmar
