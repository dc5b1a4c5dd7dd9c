// Profile (INI) files: the settings file and the language file.
//
// Sections and keys match without regard to case and the first occurrence
// wins; strings are read up to 2047 characters; integers are decimal with a
// sign or hexadecimal with "0x", "0X" or "$", anything else gives the
// caller's default; booleans are integers. The whole file is read when the
// object is made and written back as UTF-8, CR LF, by UpdateFile through a
// temporary file and a rename.
#ifndef PELLMAR_CORE_INI_FILE_H_
#define PELLMAR_CORE_INI_FILE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

class IniFile {
 public:
  /// The most characters a read returns for one value.
  static constexpr size_t kMaxValueLength = 2047;

  /// Reads `path` through `platform`; a missing or unreadable file is empty.
  /// UTF-16 with a byte-order mark is read as well as UTF-8, and CR LF, LF
  /// and a lone CR all end a line.
  IniFile(Platform& platform, std::string path);

  const std::string& path() const { return path_; }

  /// True when the file is there but this object could not see all of it:
  /// the read failed, bytes did not decode, a line was neither a header, a
  /// key, a comment nor blank, or a value was longer than a read returns.
  /// Writing such a file back loses what was not understood.
  bool HasUnreadableParts() const { return unreadable_parts_; }
  /// The file's bytes as this object last read or wrote them; empty when
  /// it was missing or could not be read.
  const std::string& file_bytes() const { return as_read_; }
  /// True when the file was saved as UTF-16: its values are Unicode already
  /// and must not be decoded from an 8-bit code page again.
  bool IsUnicode() const { return unicode_; }

  /// A value that starts or ends with a blank, or is itself wrapped in
  /// double quotes, is written wrapped in double quotes; a read unwraps one
  /// pair, so every value reads back exactly as it was written.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;
  /// The value as the file holds it, for a caller that knows the file's
  /// own code page; ReadString decodes a value that is no UTF-8 from the
  /// system's ANSI code page.
  std::string ReadBytes(const std::string& section, const std::string& key,
                        const std::string& default_value) const;
  /// The length of the value as the file holds it, when that is more than
  /// a read returns (kMaxValueLength bytes); nullopt for a value that reads
  /// whole and for a missing key.
  std::optional<size_t> CutLength(const std::string& section, const std::string& key) const;
  /// The value whole, however long, decoded as ReadString decodes: for a
  /// caller that must write back unchanged what a read could only cut.
  std::string ReadWholeString(const std::string& section, const std::string& key,
                              const std::string& default_value) const;
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t default_value) const;
  bool ReadBool(const std::string& section, const std::string& key, bool default_value) const;
  bool SectionExists(const std::string& section) const;
  /// Section names in file order, each once, as first spelled.
  std::vector<std::string> SectionNames() const;
  /// The keys of a section in file order, each once, as first spelled.
  std::vector<std::string> KeyNames(const std::string& section) const;

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  /// Writes a number with "." as the decimal separator ("1.1").
  void WriteFloat(const std::string& section, const std::string& key, double value);
  void EraseSection(const std::string& section);

  /// Writes the whole file atomically. On failure the file on disk is as it
  /// was and the Status says why; on success file_bytes() is what it holds.
  Status UpdateFile();

  /// Parses an integer value as the INI facility does; nullopt for no integer.
  static std::optional<int32_t> ParseInteger(const std::string& text);

 private:
  // One line of the file, kept as it will be written (without CR LF). A key
  // line also records where its key and its trimmed value lie in the text.
  struct Line {
    std::string text;
    size_t key_begin = 0;
    size_t key_size = 0;  // 0: not a key line (comment, blank, stray text)
    size_t value_begin = 0;
    size_t value_size = 0;

    /// Sets the text and finds the key and value in it.
    void Assign(std::string new_text);
    bool is_key() const { return key_size != 0; }
    std::string_view key() const { return std::string_view(text).substr(key_begin, key_size); }
    std::string_view raw_value() const {
      return std::string_view(text).substr(value_begin, value_size);
    }
    /// The value unwrapped from its quotes, as long as the file holds it.
    std::string_view whole_value() const;
    /// The value as a read returns it: unwrapped and cut to length.
    std::string value() const;
  };
  struct Section {
    std::string name;    // empty for the lines before the first section header
    std::string header;  // the header line as written, "[name]"
    bool has_header = true;
    std::vector<Line> lines;        // up to the last line that is not blank
    std::vector<Line> blank_lines;  // the blank lines that end the section
  };
  // Folded (lower-case) key -> position in `lines` of its first occurrence.
  using KeyIndex = std::unordered_map<std::string, size_t>;

  /// A value that is no UTF-8 decoded from the system's ANSI code page.
  std::string Decoded(std::string value) const;
  void Parse(std::string_view bytes);
  void AddLine(std::string_view text);
  void AddSection(Section section);
  void RebuildSectionIndex();
  const Section* FindSection(const std::string& section) const;
  const KeyIndex& KeysOf(const Section& section) const;
  void ForgetIndexes();
  const Line* Find(const std::string& section, const std::string& key) const;
  Line* FindLine(Section& section, const std::string& key);
  void EraseLine(Section& section, Line* line);

  Platform& platform_;
  std::string path_;
  bool unreadable_parts_ = false;
  bool unicode_ = false;
  std::string as_read_;  // the file's bytes when it was read whole or written
  std::vector<Section> sections_;
  // Folded name -> position in sections_ of the first section of that name.
  std::unordered_map<std::string, size_t> section_index_;
  // Built for a section the first time one of its keys is looked up, so a
  // file of many keys or sections is still read in one pass.
  // Keyed by position in sections_.
  mutable std::unordered_map<size_t, KeyIndex> key_indexes_;
};

}  // namespace pellmar

#endif  // PELLMAR_CORE_INI_FILE_H_
