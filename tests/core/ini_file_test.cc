// The profile facility: value syntax, lookup rules, preserved lines and the
// atomic write-back, all on real files (what needs POSIX file systems:
// tests/platform/ini_file_posix_test.cc).
#include "core/ini_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>

#include "support/namespace_fixture.h"

namespace pellmar {
namespace {

// UTF-16 holding a surrogate that has no partner.
std::u16string WithLoneSurrogate(char16_t surrogate) {
  return u"[S]\r\nA=1" + std::u16string(1, surrogate) + u"\r\nB=2\r\n";
}

class IniFileTest : public NamespaceTest {
 protected:
  Platform* const platform_ = &ns_.platform();
  IniFile Load(const std::string& contents) {
    WriteText(Stick("Test.ini"), contents);
    return IniFile(*platform_, "E:\\Test.ini");
  }
};

TEST(IniIntegerTest, AcceptsDecimalAndThreeHexSpellingsOnly) {
  const struct {
    const char* text;
    int32_t value;
  } good[] = {
      {"12", 12},
      {"-7", -7},
      {"+5", 5},
      {"007", 7},
      {"0x0A", 10},
      {"0X1f", 31},
      {"$FF", 255},
      {"$ff", 255},
      {"$FFFFFFFF", -1},
      {"0x7FFFFFFF", INT32_MAX},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
  };
  for (const auto& c : good) {
    EXPECT_EQ(IniFile::ParseInteger(c.text), c.value) << "input \"" << c.text << "\"";
  }
  for (const char* bad :
       {"2147483648", "-2147483649", "0x100000000", "99999999999999999999", "", "abc", "12abc",
        "1 2", "0x", "$", "-0x10", "--1", "+-1", "-", "0x-5", "1.5"}) {
    EXPECT_EQ(IniFile::ParseInteger(bad), std::nullopt) << "input \"" << bad << "\"";
  }
}

TEST_F(IniFileTest, ReadsTypedValuesWithDefaults) {
  IniFile ini = Load(
      "[Setting]\r\nDuration1=0x0A\r\nDuration2=abc\r\nAutoDelete1=2\r\n"
      "AutoDelete2=yes\r\nUseZip1=0\r\n  Spaced  =  padded value  \r\n");
  EXPECT_EQ(ini.ReadInteger("Setting", "Duration1", 7), 10);
  EXPECT_EQ(ini.ReadInteger("Setting", "Duration2", 7), 7);
  EXPECT_EQ(ini.ReadInteger("Setting", "Duration3", 7), 7);
  EXPECT_TRUE(ini.ReadBool("Setting", "AutoDelete1", false));
  EXPECT_TRUE(ini.ReadBool("Setting", "AutoDelete2", true));
  EXPECT_FALSE(ini.ReadBool("Setting", "AutoDelete2", false));
  EXPECT_FALSE(ini.ReadBool("Setting", "UseZip1", true));
  EXPECT_EQ(ini.ReadString("Setting", "Spaced", ""), "padded value");
  EXPECT_EQ(ini.ReadString("Nowhere", "Spaced", "dflt"), "dflt");
}

TEST_F(IniFileTest, NamesIgnoreCaseAndTheFirstOccurrenceWins) {
  IniFile ini = Load("[Main]\nLANG=128\nlang=1\n[main]\nOnlyInSecond=x\n[Other]\nKey=other\n");
  EXPECT_EQ(ini.ReadInteger("MAIN", "Lang", 0), 128);
  // The second [main] is never consulted, as the first one answers for it.
  EXPECT_EQ(ini.ReadString("Main", "OnlyInSecond", "missing"), "missing");
  EXPECT_EQ(ini.ReadString("other", "KEY", ""), "other");
  EXPECT_TRUE(ini.SectionExists("OTHER"));
  EXPECT_FALSE(ini.SectionExists("Absent"));
  EXPECT_THAT(ini.SectionNames(), ::testing::ElementsAre("Main", "Other"));
  EXPECT_THAT(ini.KeyNames("main"), ::testing::ElementsAre("LANG"));
}

TEST_F(IniFileTest, ReadsEveryEncodingAndLineEndAnEditorWritesAndSavesPlainUtf8) {
  const std::string a = "\xC3\x84\xF0\x9F\x98\x80";  // U+00C4 and U+1F600 in UTF-8
  const struct {
    const char* form;
    std::string bytes;
  } cases[] = {
      {"UTF-8, LF", "[S]\nA=" + a + "\nB=2\n"},
      {"UTF-8 with a mark, CR LF", "\xEF\xBB\xBF[S]\r\nA=" + a + "\r\nB=2\r\n"},
      {"UTF-8 with two marks", "\xEF\xBB\xBF\xEF\xBB\xBF[S]\r\nA=" + a + "\r\nB=2\r\n"},
      {"lone CR", "[S]\rA=" + a + "\rB=2\r"},
      {"mixed line ends", "[S]\r\nA=" + a + "\rB=2\n"},
      {"UTF-16LE, CR LF", Utf16Bytes(u"[S]\r\nA=\u00C4\U0001F600\r\nB=2\r\n")},
      {"UTF-16BE, lone CR", Utf16Bytes(u"[S]\rA=\u00C4\U0001F600\rB=2\r", true)},
      {"UTF-16LE with a second mark", Utf16Bytes(u"\uFEFF[S]\nA=\u00C4\U0001F600\nB=2\n")},
  };
  for (const auto& c : cases) {
    IniFile ini = Load(c.bytes);
    EXPECT_EQ(ini.ReadString("S", "A", ""), a) << c.form;
    EXPECT_EQ(ini.ReadInteger("S", "B", 0), 2) << c.form;
    EXPECT_FALSE(ini.HasUnreadableParts()) << c.form;
    ASSERT_TRUE(ini.UpdateFile().ok()) << c.form;
    EXPECT_EQ(ReadText(Stick("Test.ini")), "[S]\r\nA=" + a + "\r\nB=2\r\n") << c.form;
  }
}

TEST_F(IniFileTest, TellsWhenTheFileHeldWhatItCouldNotRead) {
  const std::string longest(IniFile::kMaxValueLength, 'v');
  const struct {
    const char* what;
    std::string bytes;
    bool unreadable;
  } cases[] = {
      {"empty file", "", false},
      {"comments and blanks", "; note\r\n\r\n[S]\r\n  \r\nB=2\r\n", false},
      {"longest value", "[S]\r\nB=2\r\nA=" + longest + "\r\n", false},
      {"longest value quoted", "[S]\r\nB=2\r\nA=\"" + longest + "\"\r\n", false},
      {"value one too long", "[S]\r\nB=2\r\nA=" + longest + "v\r\n", true},
      {"stray text", "[S]\r\nB=2\r\nSyncItem3\r\n", true},
      {"last line without its end", "[S]\r\nB=2\r\nA=C:\\pro", true},
      {"empty key", "[S]\r\nB=2\r\n=x\r\n", true},
      {"NUL byte", std::string("[S]\r\nB=2\r\nA=\0\r\n", 14), true},
      {"UTF-16 without its mark", std::string("[\0S\0]\0\n\0", 8), true},
      {"lone high surrogate", Utf16Bytes(WithLoneSurrogate(0xD800)), true},
      {"lone low surrogate, big-endian", Utf16Bytes(WithLoneSurrogate(0xDC00), true), true},
      {"odd last byte", Utf16Bytes(u"[S]\nB=2\n") + "x", true},
  };
  for (const auto& c : cases) {
    IniFile ini = Load(c.bytes);
    EXPECT_EQ(ini.HasUnreadableParts(), c.unreadable) << c.what;
    // Whatever the file holds beyond the damage still reads.
    if (c.bytes.find('B') != std::string::npos) {
      EXPECT_EQ(ini.ReadInteger("S", "B", 0), 2) << c.what;
    }
  }
  EXPECT_FALSE(IniFile(*platform_, "E:\\Missing.ini").HasUnreadableParts());
  EXPECT_FALSE(IniFile(*platform_, "E:\\No folder\\Missing.ini").HasUnreadableParts());
  MakeFolder(Stick("Folder.ini"));
  EXPECT_TRUE(IniFile(*platform_, "E:\\Folder.ini").HasUnreadableParts());
}

TEST_F(IniFileTest, EveryValueReadsBackExactlyAsWritten) {
  const std::string values[] = {
      "",
      " proj ",
      "proj ",
      "\tlead",
      "\"quoted\"",
      "\"",
      "\"\"",
      "\" only the front",
      "a=b = c",
      "; not a comment",
      "[not a header]",
      "\" \"padded\" \"",
      std::string(IniFile::kMaxValueLength, ' '),
  };
  IniFile ini = Load("[S]\r\nOld= kept as read \r\n");
  EXPECT_EQ(ini.ReadString("S", "Old", ""), "kept as read");
  for (size_t i = 0; i < std::size(values); ++i) {
    ini.WriteString("S", "K" + std::to_string(i), values[i]);
  }
  ASSERT_TRUE(ini.UpdateFile().ok());
  IniFile reread(*platform_, "E:\\Test.ini");
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(reread.ReadString("S", "K" + std::to_string(i), "missing"), values[i])
        << "value \"" << values[i] << "\"";
  }
  EXPECT_FALSE(reread.HasUnreadableParts());
}

TEST_F(IniFileTest, HugeLinesKeysSectionsAndGarbageReadInOnePassAndValuesStayBounded) {
  const std::string huge(10 << 20, 'x'), large(1 << 20, 'y');
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(i * 37 % 256);
  const std::string accent_at_cut = std::string(2046, 'a') + "\xC3\xA9" + "z";
  std::string contents = "[S]\r\nLong=" + huge + "\r\nQuoted=\"" + large + "\"\r\n" + large +
                         "=key\r\nAfter=ok\r\n" + garbage + "\n[T]\nAfter=ok\r\n" +
                         std::string("Nul=a\0b", 7) + "\nAccent=" + accent_at_cut + "\n";
  constexpr int kSections = 50000;
  for (int i = 0; i < kSections; ++i) contents += "[s" + std::to_string(i) + "]\nK=1\n";
  contents += "[Many]\n";
  for (int i = 0; i < kSections; ++i) contents += "K" + std::to_string(i) + "=" + "\n";
  IniFile ini = Load(contents);
  EXPECT_EQ(ini.ReadString("S", "Long", ""), huge.substr(0, IniFile::kMaxValueLength));
  EXPECT_EQ(ini.ReadString("S", "Quoted", ""), large.substr(0, IniFile::kMaxValueLength));
  EXPECT_EQ(ini.ReadString("S", large, ""), "key");
  EXPECT_EQ(ini.ReadString("S", "After", ""), "ok");
  EXPECT_EQ(ini.ReadInteger("S", "Long", 3), 3);
  EXPECT_EQ(ini.ReadString("T", "After", ""), "ok");
  EXPECT_EQ(ini.ReadString("T", "Accent", ""), std::string(2046, 'a'))
      << "a character the cut goes through is left out whole";
  // Which values were cut, and how long they are whole.
  EXPECT_EQ(ini.CutLength("S", "Long"), huge.size());
  EXPECT_EQ(ini.CutLength("T", "Accent"), accent_at_cut.size());
  EXPECT_EQ(ini.CutLength("S", "After"), std::nullopt);
  EXPECT_EQ(ini.CutLength("S", "Missing"), std::nullopt);
  EXPECT_EQ(ini.ReadWholeString("S", "Quoted", ""), large);
  EXPECT_TRUE(ini.HasUnreadableParts());
  // Every section and key is found by index: a scan per lookup would make
  // these loops quadratic.
  int found = 0;
  for (int i = 0; i < kSections; ++i) {
    found += ini.ReadInteger("S" + std::to_string(i), "k", 0);
    found += ini.ReadString("many", "k" + std::to_string(i), "missing").empty();
  }
  EXPECT_EQ(found, 2 * kSections);

  // Past 16 MiB a file is not read; what came before still is.
  IniFile cut = Load("[S]\r\nA=1\r\n" + std::string(17 << 20, ';') + "\r\n[T]\r\nB=2\r\n");
  EXPECT_EQ(cut.ReadString("S", "A", ""), "1");
  EXPECT_FALSE(cut.SectionExists("T"));
  EXPECT_TRUE(cut.HasUnreadableParts());
}

TEST_F(IniFileTest, WritesKeepOtherLinesAndTheKeysOwnSpelling) {
  IniFile ini = Load(
      "; written by hand\nstray line\n[Setting]\n; comment\nDuration1=7\n\n"
      "[Keep]\nA=1\n[setting]\nDuration1=9\n");
  ini.WriteString("SETTING", "duration1", "30");
  ini.WriteString("Setting", "HomeFolder", "C:\\Users\\ann");
  ASSERT_TRUE(ini.UpdateFile().ok());
  EXPECT_EQ(ReadText(Stick("Test.ini")),
            "; written by hand\r\nstray line\r\n[Setting]\r\n; comment\r\nDuration1=30\r\n"
            "HomeFolder=C:\\Users\\ann\r\n\r\n[Keep]\r\nA=1\r\n[setting]\r\nDuration1=9\r\n");
}

TEST_F(IniFileTest, EraseSectionRemovesEveryCopyOfIt) {
  IniFile ini = Load("[Setting]\nA=1\n[Settings]\nVersion=1.1\n[SETTING]\nA=2\n");
  ini.EraseSection("setting");
  EXPECT_EQ(ini.ReadString("Setting", "A", "gone"), "gone");
  EXPECT_FALSE(ini.SectionExists("Setting"));
  ASSERT_TRUE(ini.UpdateFile().ok());
  EXPECT_EQ(ReadText(Stick("Test.ini")), "[Settings]\r\nVersion=1.1\r\n");
}

TEST_F(IniFileTest, ValueWithLineBreakCannotForgeKeys) {
  IniFile ini = Load("[Setting]\nSyncItem1=C:\\old\n");
  ini.WriteString("Setting", "SyncItem1", "C:\\evil\r\n[Setting]\r\nLoaded=0");
  ini.WriteString("Setting", "SyncItem2", "C:\\fine");
  ASSERT_TRUE(ini.UpdateFile().ok());
  IniFile reread(*platform_, "E:\\Test.ini");
  EXPECT_EQ(reread.ReadString("Setting", "SyncItem1", "none"), "none");
  EXPECT_EQ(reread.ReadInteger("Setting", "Loaded", 5), 5);
  EXPECT_EQ(reread.ReadString("Setting", "SyncItem2", ""), "C:\\fine");
}

}  // namespace
}  // namespace pellmar
