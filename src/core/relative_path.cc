// Converts project folders to and from the Documents-relative shown form.
//
// The shown form is first worked out by the climbing rules; it is kept only
// when resolving it gives the very folder back, otherwise the list shows the
// absolute folder, so the settings file and every run get the folder they had.
#include "core/relative_path.h"

namespace pellmar {
namespace {

const std::string kClimb = "..\\";

bool IsDriveRoot(const std::string& path) {
  return path.size() == 3 && path.find(':') != std::string::npos;
}

// A drive path (it holds ":") or a network path (\\server\share) names its
// folder by itself. One that starts with a climb is the form made for a
// folder on another drive, whose climbs still have to be taken off.
bool NamesItself(const std::string& shown) {
  if (shown.rfind(kClimb, 0) == 0) return false;
  return shown.find(':') != std::string::npos || shown.rfind("\\\\", 0) == 0;
}

// Climbs from the Documents folder until `base` occurs in the folder or is a
// drive root. A Documents folder without a drive (empty, or a network path)
// never reaches a root, so the climb also ends where the parent stops changing.
void ClimbToCommonBase(const std::string& folder, std::string* climb, std::string* base,
                       CodePage cp) {
  for (;;) {
    *climb += kClimb;
    const std::string parent = ParentOf(*base, cp);
    const bool stuck = parent == *base;
    *base = parent;
    if (OccursInIgnoreCase(*base, folder) || IsDriveRoot(*base) || stuck) return;
  }
}

std::string ClimbingForm(const std::string& documents, const std::string& folder_in, CodePage cp) {
  std::string folder = RemoveAll(folder_in, kClimb);
  std::string climb;
  std::string base = documents;
  ClimbToCommonBase(folder, &climb, &base, cp);
  // Another drive: one climb more, so the resolve lands beyond the root.
  if (IsDriveRoot(base) && folder.substr(0, 1) != documents.substr(0, 1)) climb += kClimb;
  if (base == "\\") {
    base.clear();
  } else if (EndsWithBackslash(base, cp)) {
    base.pop_back();
  }
  if (BeginsWithIgnoreCase(folder + "\\", base)) {
    folder = RemoveFirstIgnoreCase(folder, base + "\\", cp);
  }
  if (BeginsWithIgnoreCase(folder, base)) folder = RemoveFirstIgnoreCase(folder, base, cp);
  return ReplaceAll(climb + folder, "\\\\", "\\", cp);
}

std::string ShownByTheRules(const std::string& documents, const std::string& folder, CodePage cp) {
  if (OccursInIgnoreCase(documents, folder)) {
    return RemoveFirstIgnoreCase(folder, documents + "\\", cp);
  }
  return ClimbingForm(documents, folder, cp);
}

bool ComesBack(const std::string& documents, const std::string& shown, const std::string& folder,
               CodePage cp) {
  return ResolveDocumentsRelative(documents, shown, cp) == folder;
}

// A folder with neither drive nor server (only a hand-edited settings file
// holds one) comes back behind enough climbs to reach the Documents drive.
std::string BehindClimbs(const std::string& documents, const std::string& folder, CodePage cp) {
  std::string climbs;
  for (std::string base = documents;;) {
    climbs += kClimb;
    if (ComesBack(documents, climbs + folder, folder, cp)) return climbs + folder;
    const std::string parent = ParentOf(base, cp);
    if (parent == base) break;
    base = parent;
  }
  // Nothing names such a text under a drive-less Documents folder; it is
  // shown as it is rather than as some other folder.
  return folder;
}

}  // namespace

std::string MakeDocumentsRelative(const std::string& documents, const std::string& folder,
                                  CodePage cp) {
  const std::string shown = ShownByTheRules(documents, folder, cp);
  if (ComesBack(documents, shown, folder, cp)) return shown;
  if (ComesBack(documents, folder, folder, cp)) return folder;
  return BehindClimbs(documents, folder, cp);
}

std::string ResolveDocumentsRelative(const std::string& documents, const std::string& shown,
                                     CodePage cp) {
  if (NamesItself(shown)) return shown;
  std::string base = documents;
  std::string rest = shown;
  // Each climb taken off raises the base one level; past a root it stays.
  for (std::string less = RemoveFirst(rest, kClimb, cp); less != rest;
       less = RemoveFirst(rest, kClimb, cp)) {
    base = ParentOf(base, cp);
    rest = less;
  }
  if (IsDriveRoot(base)) return rest;
  if (base == "\\") return base + rest;
  return base + "\\" + rest;
}

}  // namespace pellmar
