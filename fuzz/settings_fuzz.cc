// Fuzzes the settings reader and writer: any bytes, read as a settings file
// from a real file through the host platform. Every value read is written
// back and the file saved; reading it again must give every section, key
// and value exactly as before, no value may be longer than a read returns,
// and saving what was read a second time must give the same file.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "core/ini_file.h"
#include "platform/posix/posix_platform.h"

namespace {

using pellmar::IniFile;

// A folder of its own for the file; removed when the fuzzer exits.
struct Scratch {
  std::string folder;
  std::string file;  // host path
  std::string path;  // the same file's namespace path
  std::unique_ptr<pellmar::Platform> platform;

  Scratch() {
    char name[] = "/tmp/pellmar-settings-fuzz.XXXXXX";
    folder = mkdtemp(name);
    pellmar::HostSettings settings;
    settings.home = folder;
    settings.config_home = folder;
    settings.documents = folder;
    settings.mounts_file = "/dev/null";
    platform = pellmar::NewPosixPlatform(settings);
    file = folder + "/Pellmar.ini";
    path = *platform->NamespacePath(file);
  }
  ~Scratch() { std::filesystem::remove_all(folder); }
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

[[noreturn]] void Fail(const std::string& what, const std::string& text) {
  std::fprintf(stderr, "%s: [%s]\n", what.c_str(), text.c_str());
  std::abort();
}

using Entry = std::tuple<std::string, std::string, std::string>;  // section, key, value

std::vector<Entry> ReadAll(const IniFile& ini) {
  std::vector<Entry> entries;
  for (const std::string& section : ini.SectionNames()) {
    for (const std::string& key : ini.KeyNames(section)) {
      entries.emplace_back(section, key, ini.ReadString(section, key, ""));
    }
  }
  return entries;
}

// Writes every value back where it came from and saves the file.
void WriteBack(IniFile& ini, const std::vector<Entry>& entries) {
  for (const auto& [section, key, value] : entries) ini.WriteString(section, key, value);
  const pellmar::Status saved = ini.UpdateFile();
  if (!saved.ok()) Fail("save failed", saved.message);
}

std::string FileText(Scratch& scratch) {
  std::string contents;
  const pellmar::Status read = scratch.platform->ReadWholeFile(scratch.path, &contents);
  if (!read.ok()) Fail("saved file unreadable", read.message);
  return contents;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scratch& scratch = TheScratch();
  {
    std::ofstream out(scratch.file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  IniFile first(*scratch.platform, scratch.path);
  const std::vector<Entry> entries = ReadAll(first);
  for (const auto& [section, key, value] : entries) {
    if (value.size() > IniFile::kMaxValueLength) Fail("value too long for " + key, value);
  }
  WriteBack(first, entries);
  const std::string saved = FileText(scratch);

  IniFile second(*scratch.platform, scratch.path);
  const std::vector<Entry> again = ReadAll(second);
  if (again.size() != entries.size()) Fail("entry count changed", std::to_string(again.size()));
  for (size_t i = 0; i < entries.size(); ++i) {
    if (again[i] != entries[i]) {
      Fail("changed by a save", std::get<0>(entries[i]) + "/" + std::get<1>(entries[i]) + "=" +
                                    std::get<2>(entries[i]) + " became " + std::get<2>(again[i]));
    }
  }
  WriteBack(second, again);
  if (FileText(scratch) != saved) Fail("a second save changed the file", saved);
  return 0;
}
