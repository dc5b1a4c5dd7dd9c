// The memory of the runs: its file keeps every name as it was, and a file
// that is not this project's and this disk's own is no memory at all.
#include "core/run_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/conflict_rule.h"
#include "platform/dos_time.h"

namespace pellmar {
namespace {

TEST(RunMemoryTest, TheFileGivesBackWhatWasRemembered) {
  RunMemory memory("C:\\Users\\ann\\Proj", "uuid:1234-ABCD");
  const RememberedVersion version{42, 1'700'000'000'123'456'789, 1'700'000'001'000'000'000,
                                  739'000 * kSecondsPerDay};
  for (const char* name : {"a.txt", "sub\\b c.txt", "tab\there", "100%\r\nodd", "末尾.txt"})
    memory.Remember(name, version);
  // A file dated before 1970, its copy dated further back still.
  const RememberedVersion old{0, -9'000'000'000'000'000'000, INT64_MIN, 0};
  memory.Remember("old.txt", old);
  EXPECT_TRUE(memory.Changed());

  RunMemory again("C:\\Users\\ann\\Proj", "uuid:1234-ABCD");
  ASSERT_TRUE(again.Parse(memory.Text()));
  EXPECT_FALSE(again.Changed());
  ASSERT_EQ(again.size(), 6u);
  EXPECT_EQ(again.Find("100%\r\nodd"), version);
  EXPECT_EQ(again.Find("old.txt"), old);
  again.Remember("a.txt", version);
  EXPECT_FALSE(again.Changed()) << "the same version again changes nothing";
  again.Forget("gone.txt");
  EXPECT_FALSE(again.Changed());
}

TEST(RunMemoryTest, AnotherProjectsDisksOrABrokenFileIsNoMemory) {
  RunMemory written("C:\\Proj", "uuid:1");
  written.Remember("a.txt", RememberedVersion{1, 2, 3, kSecondsPerDay});
  const std::string text = written.Text();
  struct Case {
    const char* project;
    const char* medium;
    std::string text;
  } cases[] = {
      {"C:\\Other", "uuid:1", text},
      {"C:\\Proj", "uuid:2", text},
      {"C:\\Proj", "uuid:1", "not a memory file\n"},
      {"C:\\Proj", "uuid:1", text + "12\tx\t3\t4\tb.txt\n"},
      {"C:\\Proj", "uuid:1", text + "1\t2\t3\t4\n"},
      {"C:\\Proj", "uuid:1", text + "1\t2\t3\t4\tbad%zz\n"},
      {"C:\\Proj", "uuid:1", text + "-1\t2\t3\t4\tb.txt\n"},
      {"C:\\Proj", "uuid:1", text + "+1\t2\t3\t4\tb.txt\n"},
      {"C:\\Proj", "uuid:1", text + "1\t9223372036854775808\t3\t4\tb.txt\n"},
      {"C:\\Proj", "uuid:1", text + "1\t2\t-\t4\tb.txt\n"},
      {"C:\\Proj", "uuid:1", text.substr(0, text.size() - 8)},
  };
  for (const Case& c : cases) {
    RunMemory memory(c.project, c.medium);
    EXPECT_FALSE(memory.Parse(c.text)) << c.project << " " << c.medium << "\n" << c.text;
    EXPECT_EQ(memory.size(), 0u);
  }
  EXPECT_NE(RunMemory("C:\\Proj", "uuid:1").PathIn("S:"),
            RunMemory("C:\\Proj", "uuid:2").PathIn("S:"))
      << "two disks of one project keep two memories";
}

// What a run changed is written where the file had it, new paths after
// the lines read in the order they came, and each path has one line.
TEST(RunMemoryTest, ARunsChangesKeepTheFilesOrderAndOneLineAPath) {
  const auto line = [](int64_t size, std::string_view path) {
    return std::to_string(size) + "\t1000\t0\t2\t" + std::string(path) + "\n";
  };
  const std::string head = "Pellmar run memory 1\nproject\tC:\\P\nmedium\tuuid:1\n";
  const std::string read = head + line(1, "a") + line(2, "b%25") + "3\t1000\t0\t2\tc";
  struct Step {
    char what;  // 'R' remembers `path` at `size`, 'F' forgets it
    const char* path;
    int64_t size;
  };
  const struct Case {
    std::vector<Step> steps;
    std::string body;
  } cases[] = {
      {{}, line(1, "a") + line(2, "b%25") + line(3, "c")},
      {{{'R', "b%", 22}, {'R', "b%", 9}}, line(1, "a") + line(9, "b%25") + line(3, "c")},
      {{{'F', "a", 0}, {'R', "x", 5}, {'R', "y", 6}, {'R', "x", 555}},
       line(2, "b%25") + line(3, "c") + line(555, "x") + line(6, "y")},
      {{{'F', "c", 0}, {'R', "c", 4}, {'R', "x", 5}, {'F', "x", 0}, {'R', "y", 6}, {'R', "x", 7}},
       line(1, "a") + line(2, "b%25") + line(4, "c") + line(7, "x") + line(6, "y")},
      {{{'R', "x", 5}, {'F', "x", 0}, {'F', "b%", 0}}, line(1, "a") + line(3, "c")},
  };
  for (const Case& c : cases) {
    RunMemory memory("C:\\P", "uuid:1");
    ASSERT_TRUE(memory.Parse(read));
    for (const Step& step : c.steps) {
      if (step.what == 'F') memory.Forget(step.path);
      if (step.what == 'R')
        memory.Remember(step.path, RememberedVersion{step.size, 1000, 1000, 2 * kSecondsPerDay});
    }
    EXPECT_EQ(memory.Text(), head + c.body) << c.steps.size() << " steps";
    EXPECT_EQ(memory.size(), static_cast<size_t>(std::count(c.body.begin(), c.body.end(), '\n')));
  }
}

// Enough new paths to fill more than one block of lines and grow the
// index several times, one of them given a longer line and one forgotten.
// Read back, they are asked for out of the file's order, in more folders
// than are indexed at once, each folder's lines taking turns with those of
// its subfolder.
TEST(RunMemoryTest, ManyNewPathsAreAllFoundAndWritten) {
  RunMemory memory("C:\\P", "uuid:1");
  const auto path = [](int i) {
    return "d" + std::to_string(i / 300) + (i % 5 == 0 ? "\\s" : "") + "\\f" + std::to_string(i);
  };
  constexpr int kPaths = 60'000;
  for (int i = 0; i < kPaths; ++i) memory.Remember(path(i), RememberedVersion{i, 7, 7, 0});
  memory.Remember(path(123), RememberedVersion{123'456'789, 7, 7, 0});
  memory.Forget(path(kPaths - 1));
  RunMemory again("C:\\P", "uuid:1");
  ASSERT_TRUE(again.Parse(memory.Text()));
  EXPECT_EQ(again.size(), kPaths - 1u);
  for (const int i : {0, 122, 123, 124, 40'000, kPaths - 2}) {
    EXPECT_EQ(again.Find(path(i)), memory.Find(path(i))) << path(i);
    EXPECT_TRUE(again.Find(path(i))) << path(i);
  }
  EXPECT_EQ(again.Find(path(123))->size, 123'456'789);
  EXPECT_FALSE(again.Find(path(kPaths - 1)));
  int missing = 0;
  for (int i = 0; i < kPaths - 1; ++i) missing += !again.Find(path(i * 7919 % (kPaths - 1)));
  EXPECT_EQ(missing, 0);
  EXPECT_FALSE(again.Find("d0\\f1x"));
  EXPECT_FALSE(again.Find("zz\\f1"));
  // A large file is read in two halves: a broken line in either is found.
  const std::string text = memory.Text();
  for (const size_t at : {text.find("\n1\t7"), text.rfind('\n', text.size() - 2)}) {
    std::string broken = text;
    broken[text.find('\t', at)] = 'x';
    RunMemory damaged("C:\\P", "uuid:1");
    EXPECT_FALSE(damaged.Parse(broken)) << at;
    EXPECT_EQ(damaged.size(), 0u);
  }
}

// Seconds as nanoseconds.
constexpr int64_t S(int64_t seconds) { return seconds * 1'000'000'000; }

TEST(ConflictRuleTest, BothChangedOrChangedAndGoneSinceTheyWereAlike) {
  const RememberedVersion alike{10, S(1000), S(1001), 0};
  const FileFacts as_remembered{"f", 0, 0, S(1000), 10, {}};
  const FileFacts on_fat{"f", 0, 0, S(1001) + S(3600), 10, {}};  // an hour off, same size
  const FileFacts edited{"f", 0, 0, S(5000), 12, {}};
  const FileFacts resaved{"f", 0, 0, S(5000), 10, {}};
  struct Case {
    const RememberedVersion* remembered;
    FileFacts source;
    std::optional<FileFacts> target;
    bool source_on_medium;
    Clash expected;
  } cases[] = {
      {nullptr, edited, edited, false, Clash::kNone},
      {&alike, as_remembered, edited, false, Clash::kNone},
      {&alike, edited, as_remembered, false, Clash::kNone},
      {&alike, edited, on_fat, false, Clash::kNone},
      {&alike, edited, resaved, false, Clash::kBothChanged},
      {&alike, resaved, std::nullopt, false, Clash::kChangedAndGone},
      {&alike, as_remembered, std::nullopt, false, Clash::kNone},
      // From the disk: its remembered time is the later one.
      {&alike, on_fat, edited, true, Clash::kNone},
      {&alike, resaved, edited, true, Clash::kBothChanged},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ClashSince(c.remembered, c.source, c.target, c.source_on_medium), c.expected)
        << "source " << c.source.write_ns << " target " << (c.target ? c.target->write_ns : -1)
        << " from disk " << c.source_on_medium;
  }
}

}  // namespace
}  // namespace pellmar
