// Windows cannot mount a small disk for one test: the tests that need one
// skip with this reason.
#include "support/tiny_tmpfs.h"

namespace pellmar {

TinyTmpfs::TinyTmpfs(const std::string& host_path, size_t)
    : path_(host_path), skip_reason_("Windows cannot mount a small disk for one test") {}

TinyTmpfs::~TinyTmpfs() = default;

}  // namespace pellmar
