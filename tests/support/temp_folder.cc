// Temp folders, host files and local dates for the tests, on std::filesystem
// with UTF-8 paths; removing a folder and setting a write time are the
// system's own (support/<os>/host_files.cc).
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace pellmar {
namespace {

namespace fs = std::filesystem;

LocalDateTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, 0};
}

// The tests run on one thread, so the shared result of localtime is safe.
std::tm LocalTm(std::time_t seconds) { return *std::localtime(&seconds); }

// The system's temp folder; where TMPDIR names one that is not there (or
// not a folder), /tmp. Every namespace path of a test is built on this
// one, and a relative one would send them all astray.
fs::path TempBase() {
  std::error_code error;
  fs::path base = fs::temp_directory_path(error);
  if (!error && base.is_absolute() && fs::is_directory(base, error)) return base;
  return fs::path("/tmp");
}

}  // namespace

fs::path HostFsPath(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Path(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

TempFolder::TempFolder() {
  std::random_device random;
  std::error_code error;
  const fs::path base = TempBase();
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path candidate = base / ("pellmar-" + std::to_string(random() % 1000000000));
    if (fs::create_directory(candidate, error)) path_ = Utf8Path(candidate);
  }
  if (path_.empty()) ADD_FAILURE() << "no temp folder in " << Utf8Path(base);
}

void WriteText(const std::string& host_path, const std::string& contents) {
  MakeFolder(Utf8Path(HostFsPath(host_path).parent_path()));
  std::ofstream file(HostFsPath(host_path), std::ios::binary | std::ios::trunc);
  file << contents;
  EXPECT_TRUE(file.good()) << "cannot write " << host_path;
}

void WriteDated(const std::string& host_path, int64_t size, const LocalDateTime& when) {
  WriteText(host_path, std::string(static_cast<size_t>(size), 'x'));
  SetLocalWriteTime(host_path, when);
}

std::string ReadText(const std::string& host_path) {
  std::ostringstream contents;
  contents << std::ifstream(HostFsPath(host_path), std::ios::binary).rdbuf();
  return contents.str();
}

void MakeFolder(const std::string& host_path) {
  std::error_code ignored;  // an existing folder is fine; a test checks what it needs
  fs::create_directories(HostFsPath(host_path), ignored);
}

bool HostExists(const std::string& host_path) {
  std::error_code error;
  return fs::symlink_status(HostFsPath(host_path), error).type() != fs::file_type::not_found &&
         !error;
}

int64_t HostSize(const std::string& host_path) {
  std::error_code error;
  const fs::path path = HostFsPath(host_path);
  if (!fs::is_regular_file(path, error)) return -1;
  return static_cast<int64_t>(fs::file_size(path, error));
}

std::vector<std::string> HostNames(const std::string& host_folder) {
  std::vector<std::string> names;
  std::error_code error;  // a missing folder has no names
  for (const auto& entry : fs::directory_iterator(HostFsPath(host_folder), error)) {
    names.push_back(Utf8Path(entry.path().filename()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::time_t LocalSeconds(const LocalDateTime& when) {
  std::tm local = {};
  local.tm_year = when.year - 1900;
  local.tm_mon = when.month - 1;
  local.tm_mday = when.day;
  local.tm_hour = when.hour;
  local.tm_min = when.minute;
  local.tm_sec = when.second;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

LocalDateTime DaysAgo(double days) {
  return FromTm(LocalTm(std::time(nullptr) - static_cast<std::time_t>(days * 86400)));
}

LocalDateTime MidnightPlus(int days, int seconds) {
  std::tm tm = LocalTm(std::time(nullptr));
  tm.tm_hour = tm.tm_min = 0;
  tm.tm_sec = seconds;
  tm.tm_mday += days;
  tm.tm_isdst = -1;
  return FromTm(LocalTm(std::mktime(&tm)));
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
