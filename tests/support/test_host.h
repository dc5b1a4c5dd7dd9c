// What the platform contract asks of the host system beyond the platform
// interface: links, FIFOs, read-only files, a file held open as a live copy
// holds it, a file's mode, where the trash keeps files. One per build
// (support/<os>/test_host.cc). Where a system cannot do a thing it says
// why, and the test that needs it skips with that reason.
#ifndef PELLMAR_TESTS_SUPPORT_TEST_HOST_H_
#define PELLMAR_TESTS_SUPPORT_TEST_HOST_H_

#include <memory>
#include <optional>
#include <string>

#include "support/test_namespace.h"

namespace pellmar {

class TestHost {
 public:
  virtual ~TestHost() = default;
  /// The host's name in the contract tests' names: "Posix", "Win32".
  virtual const char* name() const = 0;
  /// Makes `link` lead to `target`, a folder when `folder`. "" when made,
  /// else why this system cannot (the test skips with that).
  virtual std::string MakeLink(const std::string& link, const std::string& target,
                               bool folder) const = 0;
  /// Makes a FIFO at `path`; "" when made, else why not.
  virtual std::string MakeFifo(const std::string& path) const = 0;
  virtual void MakeReadOnly(const std::string& path) const = 0;
  /// Holds the file as a copy under way holds it, until the result goes.
  virtual std::shared_ptr<void> HoldAsLiveCopy(const std::string& path) const = 0;
  /// A file's permission bits; nullopt where the system keeps none.
  virtual std::optional<unsigned> Mode(const std::string& path) const = 0;
  virtual void SetMode(const std::string& path, unsigned mode) const = 0;
  /// The code page a program of the system writes its 8-bit text in:
  /// 65001 (UTF-8) where it has no other.
  virtual unsigned AnsiCodePage() const = 0;
  /// Puts the process in a zone far from UTC until the result goes, so a
  /// time given in UTC instead of local time shows; nullptr where the zone
  /// is the system's alone.
  virtual std::shared_ptr<void> UseZoneFarFromUtc() const = 0;
  /// The folder whose entries are the files the desktop's trash took from
  /// `ns`'s home disk; "" where a test cannot look into it.
  virtual std::string TrashedFiles(const TestNamespace& ns) const = 0;
};

/// The host this build runs on.
const TestHost& ThisTestHost();

/// Skips the rest of a test when `why_not` says the host could not.
#define SKIP_UNLESS_DONE(why_not)                \
  do {                                           \
    const std::string reason = (why_not);        \
    if (!reason.empty()) GTEST_SKIP() << reason; \
  } while (false)

}  // namespace pellmar

#endif  // PELLMAR_TESTS_SUPPORT_TEST_HOST_H_
