// Fuzzes the language file: any bytes, lying beside the program where the
// window looks for them, read through the host platform and applied by the
// window's own start-up (TMain::FormCreate). Nothing may crash, and what the
// window applies must be the plain texts the file holds: every caption, hint
// and message exactly as read, no "<br>" left in a message, a font face of
// at most 31 characters, valid UTF-8 wherever Shift-JIS was decoded.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/language_file.h"
#include "core/text_ops.h"
#include "platform/posix/posix_platform.h"
#include "ui/headless.h"
#include "ui/log_viewer.h"
#include "ui/main_form.h"

namespace {

using pellmar::LanguageTexts;

// Home, Documents and settings in a temp folder of their own (removed when
// the fuzzer exits); the language file beside this program, as the window
// expects it.
struct World {
  std::string folder;
  std::unique_ptr<pellmar::Platform> platform;
  std::string language_file;  // host path

  World() {
    char name[] = "/tmp/pellmar-language-fuzz.XXXXXX";
    folder = mkdtemp(name);
    pellmar::HostSettings settings;
    settings.home = folder;
    settings.config_home = folder + "/config";
    settings.documents = folder + "/Documents";
    std::filesystem::create_directories(settings.documents);
    settings.mounts_file = "/dev/null";
    platform = pellmar::NewPosixPlatform(settings);
    language_file = std::filesystem::read_symlink("/proc/self/exe").replace_extension(".lng");
  }
  ~World() {
    std::filesystem::remove_all(folder);
    std::filesystem::remove(language_file);
  }
};

World& TheWorld() {
  static World world;
  return world;
}

// Bytes outside printable ASCII are shown as \xNN, so a report shows them all.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
  }
  return out;
}

[[noreturn]] void Fail(const std::string& what, const std::string& text) {
  std::fprintf(stderr, "%s: [%s]\n", what.c_str(), Escaped(text).c_str());
  std::abort();
}

void ExpectShown(const std::string& what, const std::string& shown, const std::string& read) {
  if (shown != read) Fail(what + " shows [" + shown + "], the file says", read);
}

bool IsValidUtf8(const std::string& text) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const size_t length = c < 0x80           ? 1
                          : (c >> 5) == 0x6  ? 2
                          : (c >> 4) == 0xE  ? 3
                          : (c >> 3) == 0x1E ? 4
                                             : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

size_t Utf8Characters(const std::string& text) {
  size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

void CheckTexts(const LanguageTexts& texts) {
  if (Utf8Characters(texts.font_name) > 31) Fail("font face longer than 31", texts.font_name);
  for (const std::string& message : texts.messages) {
    if (pellmar::OccursInIgnoreCase("<br>", message)) Fail("<br> left in a message", message);
  }
  if (texts.lang != 128) return;
  std::vector<std::string> all = {texts.send_hint, texts.load_hint, texts.font_name};
  for (const auto& [control, caption] : texts.captions) all.push_back(caption);
  all.insert(all.end(), texts.messages.begin(), texts.messages.end());
  for (const std::string& text : all) {
    if (!IsValidUtf8(text)) Fail("decoded Shift-JIS text is no UTF-8", text);
  }
}

std::string CaptionOf(pellmar::TMain& window, const std::string& control_name) {
  for (pellmar::Control* control : window.AllControls()) {
    if (control->name() != control_name) continue;
    if (auto* label = dynamic_cast<pellmar::Label*>(control)) return label->caption();
    if (auto* button = dynamic_cast<pellmar::Button*>(control)) return button->caption();
    if (auto* box = dynamic_cast<pellmar::CheckBox*>(control)) return box->caption();
  }
  Fail("no control with a caption named", control_name);
}

// What the window shows after start-up is what the file says, untouched.
void CheckApplied(pellmar::TMain& window, const LanguageTexts& texts) {
  for (const auto& [control, caption] : texts.captions) {
    ExpectShown(control, CaptionOf(window, control), caption);
  }
  ExpectShown("btnSend's hint", window.btnSend.hint(), texts.send_hint);
  ExpectShown("btnLoad's hint", window.btnLoad.hint(), texts.load_hint);
  if (!texts.font_name.empty()) ExpectShown("the font", window.font_name(), texts.font_name);
  const pellmar::MessageTable english;
  for (int n = 1; n <= pellmar::MessageTable::kCount; ++n) {
    // An added message the file leaves empty keeps its English text.
    const bool kept = n > pellmar::MessageTable::kClassicCount && texts.messages[n - 1].empty();
    ExpectShown("Msg" + std::to_string(n), window.messages().Msg(n),
                kept ? english.Msg(n) : texts.messages[n - 1]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  World& world = TheWorld();
  {
    std::ofstream out(world.language_file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const std::string path = *world.platform->NamespacePath(world.language_file);
  const std::optional<LanguageTexts> texts = pellmar::ReadLanguageFile(*world.platform, path);
  if (!texts) Fail("no texts from the file at", path);
  CheckTexts(*texts);

  std::ostringstream shown;  // the message boxes, not looked at
  pellmar::HeadlessDialogs dialogs(shown, false);
  pellmar::HeadlessShell shell;
  pellmar::HeadlessHost host;
  pellmar::TLogViewer log;
  pellmar::TMain window({world.platform.get(), &dialogs, &shell, &host, {}}, log);
  window.FormCreate();
  CheckApplied(window, *texts);
  return 0;
}
