// Fuzzes the Documents-relative form of project folders: the input is a
// Documents folder and a folder, split at the first NUL byte. Every drive or
// network folder must come back byte for byte from its shown form, under the
// UTF-8 rules and under those of code page 932, and the climb must end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/relative_path.h"

namespace {

// The folders a user can pick: a drive folder ("E:\Work", "c:") or a
// network folder ("\\srv\share"). Any other text, such as one that starts
// with "..\", is no folder; only a hand-edited settings file holds one.
bool IsFolder(const std::string& path) {
  const char letter = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
  const bool drive = path.size() >= 2 && path[1] == ':' && letter >= 'a' && letter <= 'z';
  return drive || path.rfind("\\\\", 0) == 0;
}

void ExpectComesBack(const std::string& documents, const std::string& folder,
                     pellmar::CodePage cp) {
  const std::string shown = pellmar::MakeDocumentsRelative(documents, folder, cp);
  const std::string back = pellmar::ResolveDocumentsRelative(documents, shown, cp);
  if (back == folder) return;
  std::fprintf(stderr,
               "code page %d\ndocuments [%s]\nfolder    [%s]\nshown     [%s]\nback      [%s]\n",
               cp.number, documents.c_str(), folder.c_str(), shown.c_str(), back.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  if (split == std::string::npos) return 0;
  const std::string documents = input.substr(0, split);
  const std::string folder = input.substr(split + 1);
  if (!IsFolder(folder)) {
    // Such a text need not come back, but neither way may crash or climb
    // for ever.
    for (const pellmar::CodePage cp : {pellmar::CodePage{}, pellmar::CodePage{932}}) {
      (void)pellmar::ResolveDocumentsRelative(
          documents, pellmar::MakeDocumentsRelative(documents, folder, cp), cp);
    }
    return 0;
  }
  ExpectComesBack(documents, folder, pellmar::CodePage{});
  ExpectComesBack(documents, folder, pellmar::CodePage{932});
  return 0;
}
