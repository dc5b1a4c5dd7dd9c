// The Japanese language file that ships with the program, read through the
// real platform, and where a language file lies beside the executable.
// How the window applies a language file is tested with the window.
#include "core/language_file.h"

#include <gtest/gtest.h>

#include "support/test_namespace.h"

namespace pellmar {
namespace {

TEST(LanguageFileTest, ShippedJapaneseFileIsDecoded) {
  TestNamespace ns;
  const std::string path = ns.Ns(std::string(PELLMAR_SOURCE_DIR) + "/resources/lang/ja.lng");
  const std::optional<LanguageTexts> texts = ReadLanguageFile(ns.platform(), path);
  ASSERT_TRUE(texts.has_value()) << path;
  EXPECT_EQ(texts->lang, 128);
  for (const auto& [control, caption] : texts->captions) EXPECT_NE(caption, "") << control;
  EXPECT_EQ(texts->captions[6], (std::pair<std::string, std::string>("btnSend", "送信(&S)")));
  EXPECT_NE(texts->send_hint, "");
  EXPECT_NE(texts->load_hint, "");
  // "ソ" is 0x83 0x5C in Shift-JIS: its second byte is the byte of "\".
  EXPECT_EQ(texts->messages[4],
            "ディスクをフォーマットしてから、このソフトウェアを起動し直してください。");
  EXPECT_NE(texts->messages[1].find("\r\n"), std::string::npos) << "Msg2 has two lines";
  for (int n = 1; n <= MessageTable::kCount; ++n) {
    const bool unused = n == 21 || (n >= 27 && n <= MessageTable::kClassicCount);
    EXPECT_EQ(texts->messages[n - 1].empty(), unused) << "Msg" << n;
  }
}

// Saved as UTF-16, a Japanese file is Unicode already, whatever LANG says.
TEST(LanguageFileTest, Utf16FileIsNotDecodedTwice) {
  TestNamespace ns;
  WriteText(ns / "utf16.lng", Utf16Bytes(u"[Main]\r\nLANG=128\r\nbtnSend.Caption=送信(&S)\r\n"));
  const std::optional<LanguageTexts> texts =
      ReadLanguageFile(ns.platform(), ns.Ns(ns / "utf16.lng"));
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->captions[6].second, "送信(&S)");
}

TEST(LanguageFileTest, PathReplacesTheExtensionOfTheLastComponentOnly) {
  const struct {
    std::string executable, language_file;
  } cases[] = {
      {"C:\\Program\\Pellmar.exe", "C:\\Program\\Pellmar.lng"},
      {"C:\\usr\\lib\\pellmar\\pellmar", "C:\\usr\\lib\\pellmar\\pellmar.lng"},
      {"C:\\my.tools\\pellmar", "C:\\my.tools\\pellmar.lng"},
      {"C:\\Program\\pellmar.v2.exe", "C:\\Program\\pellmar.v2.lng"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LanguageFilePath(c.executable), c.language_file) << c.executable;
  }
}

}  // namespace
}  // namespace pellmar
