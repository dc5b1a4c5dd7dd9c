// A platform that passes every call to another one: the base of platforms
// that change a few calls of a real one (the dry run's, and the tests'
// platforms with one fault each).
#ifndef PELLMAR_PLATFORM_FORWARDING_PLATFORM_H_
#define PELLMAR_PLATFORM_FORWARDING_PLATFORM_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellmar {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}
  Platform& inner() { return inner_; }

  Status OpenFolderAt(const std::string& p, FolderHandle* f) override {
    return inner_.OpenFolderAt(p, f);
  }
  Status OpenChildFolder(OpenFolder& parent, const std::string& n, FolderHandle* c) override {
    return inner_.OpenChildFolder(parent, n, c);
  }
  Status MakeChildFolder(OpenFolder& parent, const std::string& n, FolderHandle* c) override {
    return inner_.MakeChildFolder(parent, n, c);
  }
  FolderListing ListOpenFolder(OpenFolder& f) override { return inner_.ListOpenFolder(f); }
  std::optional<FileFacts> LookIn(OpenFolder& f, const std::string& n) override {
    return inner_.LookIn(f, n);
  }
  std::vector<std::optional<FileFacts>> LookInEach(OpenFolder& f,
                                                   const std::vector<std::string>& n) override {
    return inner_.LookInEach(f, n);
  }
  void ListAhead(OpenFolder& f, OpenFolder* twin, const std::vector<std::string>& n) override {
    inner_.ListAhead(f, twin, n);
  }
  Status CopyFile(const CopyRequest& r, CopyResult* result) override {
    return inner_.CopyFile(r, result);
  }
  // CopyEach and CopiesOverlap are not passed on: copies go one by one
  // through CopyFile above, so a platform that changes CopyFile (the dry
  // run) sees every one, and a folder it made up never reaches the inner
  // platform's question.
  Status RemoveFileIn(OpenFolder& f, const FileFacts& e, bool to_trash, bool* kept) override {
    return inner_.RemoveFileIn(f, e, to_trash, kept);
  }
  void ClearDebris(OpenFolder& f, const std::vector<std::string>& s) override {
    inner_.ClearDebris(f, s);
  }
  Status RemoveEmptyFolderIn(OpenFolder& parent, const std::string& n) override {
    return inner_.RemoveEmptyFolderIn(parent, n);
  }
  Status FlushFileIn(OpenFolder& f, const std::string& n) override {
    return inner_.FlushFileIn(f, n);
  }
  Status FlushMedium(OpenFolder& f) override { return inner_.FlushMedium(f); }
  Status CompareFiles(OpenFolder& a, const FileFacts& af, OpenFolder& b, const FileFacts& bf,
                      bool* same) override {
    return inner_.CompareFiles(a, af, b, bf, same);
  }
  bool IsCaseBlind(OpenFolder& f) override { return inner_.IsCaseBlind(f); }
  FileSystemLimits LimitsAt(OpenFolder& f) override { return inner_.LimitsAt(f); }
  bool ListingPays(OpenFolder& f) override { return inner_.ListingPays(f); }

  FolderListing ListFolder(const std::string& p) override { return inner_.ListFolder(p); }
  std::optional<FileFacts> FindFile(const std::string& p) override { return inner_.FindFile(p); }
  Status FolderChain(const std::string& p, std::vector<FileIdentity>* c) override {
    return inner_.FolderChain(p, c);
  }
  Status FolderIdentity(const std::string& p, FileIdentity* identity) override {
    return inner_.FolderIdentity(p, identity);
  }
  bool FolderExists(const std::string& p) override { return inner_.FolderExists(p); }
  bool FileExists(const std::string& p) override { return inner_.FileExists(p); }
  Status CreateFolder(const std::string& p) override { return inner_.CreateFolder(p); }
  Status ReadWholeFile(const std::string& p, std::string* c) override {
    return inner_.ReadWholeFile(p, c);
  }
  using Platform::WriteWholeFile;
  Status WriteWholeFile(const std::string& p, std::span<const std::string_view> c) override {
    return inner_.WriteWholeFile(p, c);
  }
  Status LockFile(const std::string& p, std::unique_ptr<FileLock>* held) override {
    return inner_.LockFile(p, held);
  }
  uint32_t SetErrorMode(uint32_t mode) override { return inner_.SetErrorMode(mode); }
  Status FreeSpace(const std::string& r, uint64_t* b) override { return inner_.FreeSpace(r, b); }
  std::vector<DriveMapping> Drives() override { return inner_.Drives(); }
  Status EjectMedium(const std::string& d, EjectResult* r) override {
    return inner_.EjectMedium(d, r);
  }
  Status MediumAt(const std::string& p, MediumIdentity* m) override {
    return inner_.MediumAt(p, m);
  }
  std::string DocumentsFolder() override { return inner_.DocumentsFolder(); }
  std::string StateFolder() override { return inner_.StateFolder(); }
  std::string ExecutablePath() override { return inner_.ExecutablePath(); }
  Status QueryVersion() override { return inner_.QueryVersion(); }
  LocalDateTime Now() override { return inner_.Now(); }
  std::optional<std::string> HostPath(const std::string& p) override { return inner_.HostPath(p); }
  std::optional<std::string> NamespacePath(const std::string& h) override {
    return inner_.NamespacePath(h);
  }
  std::string DecodeCodePage(const std::string& b, int cp) override {
    return inner_.DecodeCodePage(b, cp);
  }
  int AnsiCodePage() override { return inner_.AnsiCodePage(); }
  Status ShellOpen(const std::string& f, const std::string& p, const std::string& d) override {
    return inner_.ShellOpen(f, p, d);
  }

 private:
  Platform& inner_;
};

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_FORWARDING_PLATFORM_H_
