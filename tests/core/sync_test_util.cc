// Temp folders, local dates and the recording window of the copy-run tests.
#include "sync_test_util.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

namespace pellmar {

namespace fs = std::filesystem;

namespace {

LocalDateTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
}

std::tm ToTm(const LocalDateTime& t) {
  std::tm tm{};
  tm.tm_year = t.year - 1900;
  tm.tm_mon = t.month - 1;
  tm.tm_mday = t.day;
  tm.tm_hour = t.hour;
  tm.tm_min = t.minute;
  tm.tm_sec = t.second;
  tm.tm_isdst = -1;
  return tm;
}

}  // namespace

LocalDateTime DaysAgo(double days) {
  const std::time_t then = std::time(nullptr) - static_cast<std::time_t>(days * 86400);
  std::tm tm{};
  localtime_r(&then, &tm);
  return FromTm(tm);
}

LocalDateTime MidnightPlus(int days, int seconds) {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  tm.tm_hour = tm.tm_min = 0;
  tm.tm_sec = seconds;
  tm.tm_mday += days;
  tm.tm_isdst = -1;
  const std::time_t normal = std::mktime(&tm);
  localtime_r(&normal, &tm);
  return FromTm(tm);
}

LocalDateTime At(int year, int month, int day, int hour) { return {year, month, day, hour}; }

void SyncTest::SetUp() {
  char pattern[] = "/tmp/pellmar-sync-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  fs::create_directory(Host("stick"));
  setenv("PELLMAR_DRIVES", ("E:=" + Host("stick")).c_str(), 1);
  platform_ = NewHostPlatform();
}

void SyncTest::TearDown() {
  std::error_code ignored;  // a failed clean-up must not fail the test
  fs::remove_all(root_, ignored);
}

std::string SyncTest::Ns(const std::string& rel) const {
  std::string path = "C:" + Host(rel);
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

std::string SyncTest::StickNs(const std::string& rel) {
  std::string path = "E:\\" + rel;
  for (char& c : path) c = c == '/' ? '\\' : c;
  return path;
}

void SyncTest::WriteFile(const std::string& host_path, int64_t size, const LocalDateTime& when) {
  fs::create_directories(fs::path(host_path).parent_path());
  std::ofstream(host_path, std::ios::binary) << std::string(static_cast<size_t>(size), 'x');
  SetWriteTime(host_path, when);
}

void SyncTest::MakeFolder(const std::string& host_path, const LocalDateTime& when) {
  fs::create_directories(host_path);
  SetWriteTime(host_path, when);
}

void SyncTest::SetWriteTime(const std::string& host_path, const LocalDateTime& when) {
  std::tm tm = ToTm(when);
  const std::time_t seconds = std::mktime(&tm);
  const timespec times[2] = {{seconds, 0}, {seconds, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, host_path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << host_path;
}

int64_t SyncTest::SizeOf(const std::string& host_path) {
  std::error_code error;
  const auto size = fs::file_size(host_path, error);
  return error ? -1 : static_cast<int64_t>(size);
}

bool SyncTest::Exists(const std::string& host_path) {
  std::error_code error;
  return fs::exists(fs::symlink_status(host_path, error));
}

std::unique_ptr<SyncRun> SyncTest::MakeRun(const std::string& project_folder,
                                           const std::string& exclusion_list) {
  return std::make_unique<SyncRun>(*platform_, window_, counters_, exclusion_list, project_folder);
}

}  // namespace pellmar
