// The language file beside the executable, read and applied by the window:
// captions, hints, font, language code, messages, the moved spin edit, the
// names screen readers give the fields, the shipped Japanese file and where
// a language file lies.
#include <filesystem>

#include "core/language_file.h"
#include "support/window_fixture.h"
#include "ui/spoken_names.h"

namespace pellmar {
namespace {

class LanguageTest : public WindowTest {
 protected:
  TMain& StartWithLanguage(const std::string& lines) {
    std::string crlf;
    for (char c : lines) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    WriteText(ProgramFile("pellmar.lng"), crlf);
    return StartWindow();
  }

  std::vector<std::string> Captions(TMain& w) {
    return {w.Label1.caption(),        w.Label2.caption(),
            w.Label3.caption(),        w.Label4.caption(),
            w.Label5.caption(),        w.Label6.caption(),
            w.btnSend.caption(),       w.btnSelectFile.caption(),
            w.btnLoad.caption(),       w.btnRemoveFromList.caption(),
            w.btnHelp.caption(),       w.Button2.caption(),
            w.chkAutoUmount.caption(), w.chkAutoDelete.caption(),
            w.chkZip.caption()};
  }
};

TEST_F(LanguageTest, AFileWithOnlyLangEmptiesEveryTextButKeepsTheFont) {
  TMain& w = StartWithLanguage("[Main]\nLANG=128\n");
  for (const std::string& caption : Captions(w)) EXPECT_EQ(caption, "");
  EXPECT_EQ(w.btnSend.hint(), "");
  EXPECT_EQ(w.btnLoad.hint(), "");
  for (int n = 1; n <= MessageTable::kClassicCount; ++n) EXPECT_EQ(w.messages().Msg(n), "") << n;
  // A file from before a message was added leaves that box in English.
  EXPECT_EQ(w.messages().Msg(kNothingTouched), MessageTable().Msg(kNothingTouched));
  EXPECT_EQ(w.font_name(), "Arial");
  EXPECT_EQ(w.lang(), 128);
  EXPECT_EQ(w.font_charset(), 128);
}

TEST_F(LanguageTest, EachCaptionKeyReachesItsControl) {
  const std::vector<std::string> names = {
      "Label1",  "Label2",  "Label3",        "Label4",        "Label5",
      "Label6",  "btnSend", "btnSelectFile", "btnLoad",       "btnRemoveFromList",
      "btnHelp", "Button2", "chkAutoUmount", "chkAutoDelete", "chkZip"};
  std::string lines = "[Main]\n";
  for (const std::string& name : names) lines += name + ".Caption=" + name + "\n";
  EXPECT_EQ(Captions(StartWithLanguage(lines)), names);
}

TEST_F(LanguageTest, TheLanguageCodeAndTheFontCharacterSet) {
  const struct {
    const char* lang;
    int code, charset;
  } cases[] = {
      {"128", 128, 128}, {"0x80", 128, 128}, {"0x1FF", 511, 255}, {"abc", 1, 1}, {"", 1, 1}};
  for (const auto& c : cases) {
    TMain& w = StartWithLanguage(std::string("[Main]\nLANG=") + c.lang + "\n");
    EXPECT_EQ(w.lang(), c.code) << "LANG=" << c.lang;
    EXPECT_EQ(w.font_charset(), c.charset) << "LANG=" << c.lang;
  }
  std::filesystem::remove(ProgramFile("pellmar.lng"));
  EXPECT_EQ(StartWindow().font_charset(), 1) << "no language file";
  EXPECT_EQ(window().btnSend.caption(), "&Send");
}

TEST_F(LanguageTest, MessagesBreakLinesTheFontNameIsCutAndOnly128Decodes) {
  TMain& w = StartWithLanguage(
      "[Main]\nLANG=1\nMsg2=Hello<br>there<BR>again<Br>!\nMsg30=Grüße\nMain.Font.Name=" +
      std::string(40, 'F') +
      "\nbtnSend.Hint=Away\nLabel4.Caption=Operate on the files that were modified in the "
      "recent\nLabel1.Caption=" +
      std::string(80, 'L') + "\n");
  EXPECT_EQ(w.messages().Msg(2), "Hello\r\nthere\r\nagain\r\n!");
  EXPECT_EQ(w.messages().Msg(30), "Grüße");
  EXPECT_EQ(w.font_name(), std::string(31, 'F'));
  EXPECT_EQ(w.btnSend.hint(), "Away");
  EXPECT_GT(w.Label4.width(), 188);
  EXPECT_EQ(w.SpinEdit.left(), w.Label4.left() + w.Label4.width() + 5);
  EXPECT_EQ(w.Label5.left(), w.SpinEdit.left() + w.SpinEdit.width() + 5);
  // A label that runs into its field moves the field's left edge, not its right.
  EXPECT_GT(w.edMediaDir.left(), 374);
  EXPECT_EQ(w.edMediaDir.left() + w.edMediaDir.width(), 374 + 112);
}

TEST_F(LanguageTest, TheShippedJapaneseFileIsDecodedAndRecaptionsTheWindow) {
  std::filesystem::copy_file(std::string(PELLMAR_SOURCE_DIR) + "/resources/lang/ja.lng",
                             ProgramFile("pellmar.lng"));
  TMain& w = StartWindow();
  EXPECT_EQ(w.lang(), 128);
  for (const std::string& caption : Captions(w)) EXPECT_NE(caption, "");
  EXPECT_EQ(w.btnSend.caption(), "送信(&S)");
  EXPECT_NE(w.btnSend.hint(), "");
  EXPECT_NE(w.btnLoad.hint(), "");
  // "ソ" is 0x83 0x5C in Shift-JIS: its second byte is the byte of "\".
  EXPECT_EQ(w.messages().Msg(5),
            "ディスクをフォーマットしてから、このソフトウェアを起動し直してください。");
  EXPECT_NE(w.messages().Msg(2).find("\r\n"), std::string::npos) << "Msg2 has two lines";
  for (int n = 1; n <= MessageTable::kCount; ++n) {
    // Msg85 to Msg87 are held for the run memory's texts.
    const bool unused =
        n == 21 || (n >= 27 && n <= MessageTable::kClassicCount) || (n >= 85 && n <= 87);
    EXPECT_EQ(w.messages().Msg(n).empty(), unused) << "Msg" << n;
    if (!unused) {
      EXPECT_NE(w.messages().Msg(n), MessageTable().Msg(n)) << "Msg" << n;
    }
  }
  EXPECT_LT(w.SpinEdit.left(), 217) << "the short Japanese Label4 moves the spin edit left";
  // Screen readers name the lists by the two Japanese headings of Label3,
  // and a field by its label without the wide colon.
  const std::vector<SpokenName> names = SpokenNames(w);
  EXPECT_EQ(names[1].name, "プロジェクト名");
  EXPECT_EQ(names[2].name, "フォルダ");
  EXPECT_EQ(names[4].name, "除外");
}

// Saved as UTF-16, a Japanese file is Unicode already, whatever LANG says.
TEST_F(LanguageTest, Utf16FileIsNotDecodedTwice) {
  WriteText(ProgramFile("pellmar.lng"),
            Utf16Bytes(u"[Main]\r\nLANG=128\r\nbtnSend.Caption=送信(&S)\r\n"));
  EXPECT_EQ(StartWindow().btnSend.caption(), "送信(&S)");
}

// The window program and the command line share one file; a program's own
// file still comes first.
TEST_F(LanguageTest, TheWindowProgramFallsBackToTheSharedFile) {
  const struct {
    bool own, shared;
    const char* caption;
  } cases[] = {{false, true, "shared"}, {true, true, "own"}, {false, false, "&Send"}};
  for (const auto& c : cases) {
    std::filesystem::remove(HostFsPath(ProgramFile("pellmar.lng")));
    std::filesystem::remove(HostFsPath(ProgramFile("pellmarw.lng")));
    if (c.shared) WriteText(ProgramFile("pellmar.lng"), "[Main]\r\nbtnSend.Caption=shared\r\n");
    if (c.own) WriteText(ProgramFile("pellmarw.lng"), "[Main]\r\nbtnSend.Caption=own\r\n");
    platform_.executable_path = Ns(ProgramFile("pellmarw.exe"));
    EXPECT_EQ(StartWindow().btnSend.caption(), c.caption) << c.own << c.shared;
  }
}

TEST(LanguageFilePathTest, ReplacesTheExtensionOfTheLastComponentOnly) {
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
