// Temp folders, host files and local write times for the tests.
#include "support/temp_folder.h"

#include <fcntl.h>
#include <ftw.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace pellmar {
namespace {

int RemoveOne(const char* path, const struct stat*, int type, struct FTW*) {
  // A folder a test left read-only must still go.
  if (type == FTW_DP) chmod(path, 0700);
  return remove(path);
}

LocalDateTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
}

}  // namespace

TempFolder::TempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base ? base : "/tmp") + "/pellmar-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed for " << pattern;
  path_ = pattern;
}

TempFolder::~TempFolder() { nftw(path_.c_str(), RemoveOne, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT); }

void WriteText(const std::string& host_path, const std::string& contents) {
  MakeFolder(std::filesystem::path(host_path).parent_path());
  std::ofstream file(host_path, std::ios::binary | std::ios::trunc);
  file << contents;
  EXPECT_TRUE(file.good()) << "cannot write " << host_path;
}

void WriteDated(const std::string& host_path, int64_t size, const LocalDateTime& when) {
  WriteText(host_path, std::string(static_cast<size_t>(size), 'x'));
  SetLocalWriteTime(host_path, when);
}

std::string ReadText(const std::string& host_path) {
  std::ostringstream contents;
  contents << std::ifstream(host_path, std::ios::binary).rdbuf();
  return contents.str();
}

void MakeFolder(const std::string& host_path) {
  std::error_code ignored;  // an existing folder is fine; a test checks what it needs
  std::filesystem::create_directories(host_path, ignored);
}

bool HostExists(const std::string& host_path) {
  struct stat info;
  return lstat(host_path.c_str(), &info) == 0;
}

int64_t HostSize(const std::string& host_path) {
  struct stat info;
  return stat(host_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? info.st_size : -1;
}

std::vector<std::string> HostNames(const std::string& host_folder) {
  std::vector<std::string> names;
  std::error_code error;  // a missing folder has no names
  for (const auto& entry : std::filesystem::directory_iterator(host_folder, error)) {
    names.push_back(entry.path().filename());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void SetLocalWriteTime(const std::string& host_path, const LocalDateTime& when) {
  std::tm local = {};
  local.tm_year = when.year - 1900;
  local.tm_mon = when.month - 1;
  local.tm_mday = when.day;
  local.tm_hour = when.hour;
  local.tm_min = when.minute;
  local.tm_sec = when.second;
  local.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&local);
  const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
  EXPECT_EQ(utimensat(AT_FDCWD, host_path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << host_path;
}

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

std::string Utf16Bytes(const std::u16string& text, bool big_endian) {
  std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

}  // namespace pellmar
