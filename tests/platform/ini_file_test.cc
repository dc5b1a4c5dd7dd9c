// The profile facility: value syntax, lookup rules, preserved lines and the
// atomic write-back, all on real files.
#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform_fixture.h"
#include "support/tiny_tmpfs.h"

namespace pellmar {
namespace {

class IniFileTest : public PlatformTest {
 protected:
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
}

TEST_F(IniFileTest, CutsLongValuesAndSurvivesGarbage) {
  std::string garbage;
  for (int i = 0; i < 4096; ++i) garbage += static_cast<char>(i * 37 % 256);
  const std::string long_line(1 << 20, 'L');
  IniFile ini = Load("[S]\r\nLong=" + long_line + "\r\n" + garbage + "\n[S2]\nAfter=ok\r\n" +
                     std::string("Nul=a\0b", 7) + "\n");
  EXPECT_EQ(ini.ReadString("S", "Long", ""), std::string(2047, 'L'));
  EXPECT_EQ(ini.ReadString("S2", "After", ""), "ok");
  EXPECT_EQ(ini.ReadInteger("S", "Long", 3), 3);
}

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndIsCreatedOnUpdate) {
  IniFile ini(*platform_, "E:\\New.ini");
  EXPECT_EQ(ini.ReadString("S", "K", "d"), "d");
  ini.WriteInteger("Setting", "Loaded", 1);
  ini.WriteBool("Setting", "AutoUmount", false);
  ini.WriteFloat("Settings", "Version", 1.1);
  ASSERT_TRUE(ini.UpdateFile().ok());
  EXPECT_EQ(ReadText(Stick("New.ini")),
            "[Setting]\r\nLoaded=1\r\nAutoUmount=0\r\n[Settings]\r\nVersion=1.1\r\n");
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

TEST_F(IniFileTest, FailedFlushLeavesTheOldFileWhole) {
  MakeFolder(Stick("full"));
  TinyTmpfs tmpfs(Stick("full"), 64 * 1024);
  if (!tmpfs.mounted()) GTEST_SKIP() << tmpfs.skip_reason();
  const std::string old_contents = "[Setting]\r\nLoaded=1\r\n";
  WriteText(Stick("full/Pellmar.ini"), old_contents);
  IniFile ini(*platform_, "E:\\full\\Pellmar.ini");
  ini.WriteString("Setting", "HomeFolder", std::string(200000, 'h'));
  EXPECT_FALSE(ini.UpdateFile().ok());
  EXPECT_EQ(ReadText(Stick("full/Pellmar.ini")), old_contents);
  EXPECT_EQ(HostNames(Stick("full")), std::vector<std::string>{"Pellmar.ini"});
}

}  // namespace
}  // namespace pellmar
