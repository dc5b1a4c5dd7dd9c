// The optional language file beside the executable.
//
// It re-captions the main window, sets its two hints and font face, sets
// the language code, replaces all thirty messages and gives the added ones
// (Msg31 on) the texts it holds. Reading it is kept apart from applying it,
// so the window decides where each text goes.
#ifndef PELLMAR_CORE_LANGUAGE_FILE_H_
#define PELLMAR_CORE_LANGUAGE_FILE_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/messages.h"
#include "core/text_ops.h"
#include "platform/platform.h"

namespace pellmar {

/// The caption keys in the order they are read, e.g. "Label1.Caption".
extern const std::array<const char*, 15> kLanguageCaptionKeys;

/// What a language file says; every text already in the system's encoding.
struct LanguageTexts {
  int32_t lang = 1;
  // (control name, caption) in the order of kLanguageCaptionKeys.
  std::vector<std::pair<std::string, std::string>> captions;
  std::string send_hint;
  std::string load_hint;
  std::string font_name;  // at most 31 characters; empty keeps the face
  // Msg1 .. Msg46; empty where the file has no text for the key.
  std::array<std::string, MessageTable::kCount> messages;
};

/// The character set of Japanese: the "LANG" of a language file whose texts
/// are Shift-JIS (kShiftJisCodePage), and the font character set of Japanese text.
constexpr int32_t kShiftJisCharset = 128;

/// The language-file path for an executable: its extension replaced by
/// ".lng", or ".lng" appended when it has none.
std::string LanguageFilePath(const std::string& executable_path);

/// The language file a program reads: the one named after it where there is
/// one, else the shared "pellmar.lng" beside it, so the window program and
/// the command line of one folder need a single file. The program's own
/// name when neither is there.
std::string FindLanguageFile(Platform& platform, const std::string& executable_path);

/// Reads the language file; nullopt when there is none. A "LANG" of
/// kShiftJisCharset means the texts are Shift-JIS and are decoded into the
/// system's encoding.
std::optional<LanguageTexts> ReadLanguageFile(Platform& platform, const std::string& path);

}  // namespace pellmar

#endif  // PELLMAR_CORE_LANGUAGE_FILE_H_
