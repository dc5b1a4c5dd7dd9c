// Profile (INI) files: the settings file and the language file.
//
// Sections and keys match without regard to case and the first occurrence
// wins; strings are read up to 2047 characters; integers are decimal with a
// sign or hexadecimal with "0x", "0X" or "$", anything else gives the
// caller's default; booleans are integers. The whole file is read when the
// object is made and written back, CR LF, by UpdateFile through a temporary
// file and a rename.
#ifndef PELLMAR_PLATFORM_INI_FILE_H_
#define PELLMAR_PLATFORM_INI_FILE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

class IniFile {
 public:
  /// Reads `path` through `platform`; a missing or unreadable file is empty.
  IniFile(Platform& platform, std::string path);

  const std::string& path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t default_value) const;
  bool ReadBool(const std::string& section, const std::string& key, bool default_value) const;
  bool SectionExists(const std::string& section) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  /// Writes a number with "." as the decimal separator ("1.1").
  void WriteFloat(const std::string& section, const std::string& key, double value);
  void EraseSection(const std::string& section);

  /// Writes the whole file atomically. On failure the file on disk is as it
  /// was and the Status says why.
  Status UpdateFile();

  /// Parses an integer value as the INI facility does; nullopt for no integer.
  static std::optional<int32_t> ParseInteger(const std::string& text);

 private:
  // One line of the file. Key lines carry their parsed key and value; every
  // other line (comments, blanks, stray text) is kept as it was written.
  struct Line {
    std::string text;  // the line as it will be written, without CR LF
    std::string key;   // empty for a line that is not key=value
    std::string value;
  };
  struct Section {
    std::string name;    // empty for the lines before the first section header
    std::string header;  // the header line as written, "[name]"
    bool has_header = true;
    std::vector<Line> lines;
  };

  void Parse(const std::string& contents);
  const Line* Find(const std::string& section, const std::string& key) const;
  Section* FindSection(const std::string& section);
  const Section* FindSection(const std::string& section) const;

  Platform& platform_;
  std::string path_;
  std::vector<Section> sections_;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_INI_FILE_H_
