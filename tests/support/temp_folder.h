// Temp folders and small host-file helpers every test layer shares: a
// folder removed with everything in it afterwards, whole files written and
// read by host path, and last-write times set on the local calendar.
#ifndef PELLMAR_TESTS_SUPPORT_TEMP_FOLDER_H_
#define PELLMAR_TESTS_SUPPORT_TEMP_FOLDER_H_

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

/// A fresh folder under the system's temp folder, removed with everything
/// in it (links removed, never followed; read-only folders too) at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  /// path() + "/" + relative.
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

/// A host path in UTF-8 as the standard library's path, and back: the
/// narrow-string forms are the ANSI code page on Windows, not UTF-8.
std::filesystem::path HostFsPath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& path);

/// Writes a whole file, making its missing folders.
void WriteText(const std::string& host_path, const std::string& contents);
/// Writes `size` bytes, making the folders, and sets the last-write time.
void WriteDated(const std::string& host_path, int64_t size, const LocalDateTime& when);
std::string ReadText(const std::string& host_path);
/// Text as a Windows editor saves it when asked for "Unicode": UTF-16 with
/// a byte-order mark, little-endian unless `big_endian`.
std::string Utf16Bytes(const std::u16string& text, bool big_endian = false);
/// Makes a folder with its parents; fine when it exists.
void MakeFolder(const std::string& host_path);
/// True when anything, even a broken link, is at `host_path`.
bool HostExists(const std::string& host_path);
/// The size of a file, -1 when there is none.
int64_t HostSize(const std::string& host_path);
/// Names in a host folder, "." and ".." left out, sorted.
std::vector<std::string> HostNames(const std::string& host_folder);
/// Sets the last-write time of a file or folder (not a link's target).
void SetLocalWriteTime(const std::string& host_path, const LocalDateTime& when);

/// The time_t of a local date-time.
std::time_t LocalSeconds(const LocalDateTime& when);
/// A local date-time `days` days before now (fractions allowed).
LocalDateTime DaysAgo(double days);
/// Today's local midnight moved by `days` days and `seconds` seconds.
LocalDateTime MidnightPlus(int days, int seconds = 0);

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_TEMP_FOLDER_H_
