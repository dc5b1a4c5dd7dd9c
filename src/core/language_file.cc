// Reads the language file: captions, hints, font face, language code and the
// messages from its "Main" section, decoded from Shift-JIS for 128.
#include "core/language_file.h"

#include "core/ini_file.h"
#include "core/text_ops.h"

namespace pellmar {

const std::array<const char*, 15> kLanguageCaptionKeys = {
    "Label1.Caption",        "Label2.Caption",
    "Label3.Caption",        "Label4.Caption",
    "Label5.Caption",        "Label6.Caption",
    "btnSend.Caption",       "btnSelectFile.Caption",
    "btnLoad.Caption",       "btnRemoveFromList.Caption",
    "btnHelp.Caption",       "Button2.Caption",
    "chkAutoUmount.Caption", "chkAutoDelete.Caption",
    "chkZip.Caption",
};

namespace {

const char kSection[] = "Main";
constexpr size_t kMaxFontNameCharacters = 31;
// The command-line program's name: the file every program of the folder
// falls back to.
const char kSharedLanguageFile[] = "pellmar.lng";

// Texts of a Shift-JIS language file are decoded once, here, so every
// caption and message is shown in the system's own encoding.
class LanguageReader {
 public:
  LanguageReader(Platform& platform, const std::string& path)
      : platform_(platform), ini_(platform, path) {}

  int32_t ReadLang() {
    lang_ = ini_.ReadInteger(kSection, "LANG", 1);
    return lang_;
  }

  std::string Read(const std::string& key) {
    // A file saved as UTF-16 holds Japanese as Unicode already.
    if (lang_ == kShiftJisCharset && !ini_.IsUnicode()) {
      return platform_.DecodeCodePage(ini_.ReadBytes(kSection, key, ""), kShiftJisCodePage);
    }
    return ini_.ReadString(kSection, key, "");
  }

 private:
  Platform& platform_;
  IniFile ini_;
  int32_t lang_ = 1;
};

// The first `count` characters of UTF-8 text; a character is never split.
std::string FirstCharacters(const std::string& text, size_t count) {
  size_t end = 0;
  for (size_t seen = 0; end < text.size() && seen < count; ++seen) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

std::string ControlName(const std::string& caption_key) {
  return caption_key.substr(0, caption_key.find('.'));
}

}  // namespace

std::string LanguageFilePath(const std::string& executable_path) {
  const size_t name_start = executable_path.size() - LastPathComponent(executable_path).size();
  const size_t dot = executable_path.rfind('.');
  if (dot == std::string::npos || dot < name_start) return executable_path + ".lng";
  return executable_path.substr(0, dot) + ".lng";
}

std::string FindLanguageFile(Platform& platform, const std::string& executable_path) {
  const std::string own = LanguageFilePath(executable_path);
  if (platform.FileExists(own)) return own;
  const size_t name_start = executable_path.size() - LastPathComponent(executable_path).size();
  const std::string shared = executable_path.substr(0, name_start) + kSharedLanguageFile;
  return platform.FileExists(shared) ? shared : own;
}

std::optional<LanguageTexts> ReadLanguageFile(Platform& platform, const std::string& path) {
  if (!platform.FileExists(path)) return std::nullopt;
  LanguageReader reader(platform, path);
  LanguageTexts texts;
  texts.lang = reader.ReadLang();
  for (const char* key : kLanguageCaptionKeys) {
    texts.captions.emplace_back(ControlName(key), reader.Read(key));
  }
  texts.send_hint = reader.Read("btnSend.Hint");
  texts.load_hint = reader.Read("btnLoad.Hint");
  texts.font_name = FirstCharacters(reader.Read("Main.Font.Name"), kMaxFontNameCharacters);
  for (int n = 1; n <= MessageTable::kCount; ++n) {
    texts.messages[n - 1] =
        ReplaceAllIgnoreCase(reader.Read("Msg" + std::to_string(n)), "<br>", "\r\n");
  }
  return texts;
}

}  // namespace pellmar
