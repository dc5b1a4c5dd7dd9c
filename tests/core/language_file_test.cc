// Tests of the language file, read from temp folders through the real
// platform, and of the Japanese file that ships with the program.
#include "core/language_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace pellmar {
namespace {

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pellmar-lang-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    platform_ = NewHostPlatform();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Writes a language file and returns its namespace path.
  std::string Write(const std::string& contents) {
    const std::string host = dir_ + "/pellmar.lng";
    std::ofstream(host, std::ios::binary) << contents;
    return Ns(host);
  }
  std::string Ns(const std::string& host) {
    const std::optional<std::string> ns = platform_->NamespacePath(host);
    EXPECT_TRUE(ns.has_value()) << host;
    return ns.value_or("");
  }
  std::optional<LanguageTexts> Read(const std::string& contents) {
    return ReadLanguageFile(*platform_, Write(contents));
  }

  std::string dir_;
  std::unique_ptr<Platform> platform_;
};

TEST_F(LanguageFileTest, NoFileGivesNothing) {
  EXPECT_FALSE(ReadLanguageFile(*platform_, Ns(dir_ + "/none.lng")).has_value());
}

TEST_F(LanguageFileTest, LangAloneEmptiesEveryText) {
  const std::optional<LanguageTexts> texts = Read("[Main]\r\nLANG=128\r\n");
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->lang, 128);
  ASSERT_EQ(texts->captions.size(), kLanguageCaptionKeys.size());
  EXPECT_EQ(texts->captions.front().first, "Label1");
  EXPECT_EQ(texts->captions.back().first, "chkZip");
  for (const auto& [control, caption] : texts->captions) EXPECT_EQ(caption, "") << control;
  EXPECT_EQ(texts->send_hint, "");
  EXPECT_EQ(texts->load_hint, "");
  EXPECT_EQ(texts->font_name, "") << "an empty face keeps the window's font";
  for (int n = 1; n <= MessageTable::kCount; ++n) EXPECT_EQ(texts->messages[n - 1], "") << n;
}

TEST_F(LanguageFileTest, LanguageCode) {
  const struct {
    std::string line;
    int32_t lang;
  } cases[] = {{"LANG=0x80", 128}, {"LANG=128", 128}, {"lang=$10", 16},
               {"LANG=abc", 1},    {"LANG=", 1},      {"Other=2", 1}};
  for (const auto& c : cases) {
    const std::optional<LanguageTexts> texts = Read("[main]\r\n" + c.line + "\r\n");
    ASSERT_TRUE(texts.has_value()) << c.line;
    EXPECT_EQ(texts->lang, c.lang) << c.line;
  }
}

TEST_F(LanguageFileTest, TextsOfAFileInTheSystemEncoding) {
  const std::string face40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";
  const std::optional<LanguageTexts> texts = Read(
      "[Main]\nLANG=1\nbtnSend.Caption=&Senden\nchkZip.Caption=Zip\nbtnLoad.Hint=Laden\n"
      "Main.Font.Name=" +
      face40 + "\nMsg1=a<br>b<BR>c<bR>d\nMsg30=Grüße\n");
  ASSERT_TRUE(texts.has_value());
  EXPECT_EQ(texts->captions[6], (std::pair<std::string, std::string>("btnSend", "&Senden")));
  EXPECT_EQ(texts->captions[14].second, "Zip");
  EXPECT_EQ(texts->load_hint, "Laden");
  EXPECT_EQ(texts->font_name, face40.substr(0, 31));
  EXPECT_EQ(texts->messages[0], "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(texts->messages[29], "Grüße") << "only LANG 128 decodes";
}

TEST_F(LanguageFileTest, ShippedJapaneseFileIsDecoded) {
  const std::string path = Ns(std::string(PELLMAR_SOURCE_DIR) + "/resources/lang/ja.lng");
  const std::optional<LanguageTexts> texts = ReadLanguageFile(*platform_, path);
  ASSERT_TRUE(texts.has_value()) << path;
  EXPECT_EQ(texts->lang, 128);
  for (const auto& [control, caption] : texts->captions) EXPECT_NE(caption, "") << control;
  EXPECT_EQ(texts->captions[6].second, "送信(&S)");
  EXPECT_NE(texts->send_hint, "");
  EXPECT_NE(texts->load_hint, "");
  // "ソ" is 0x83 0x5C in Shift-JIS: its second byte is the byte of "\".
  EXPECT_EQ(texts->messages[4],
            "ディスクをフォーマットしてから、このソフトウェアを起動し直してください。");
  EXPECT_NE(texts->messages[1].find("\r\n"), std::string::npos) << "Msg2 has two lines";
  for (int n = 1; n <= MessageTable::kCount; ++n) {
    const bool unused = n == 21 || n >= 27;
    EXPECT_EQ(texts->messages[n - 1].empty(), unused) << "Msg" << n;
  }
}

TEST(LanguageFilePathTest, ExtensionOfTheLastComponent) {
  const struct {
    std::string executable;
    std::string language_file;
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
