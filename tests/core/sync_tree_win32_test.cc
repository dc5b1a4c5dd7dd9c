// SyncTree and a junction on the stick: it is reported, never walked, and
// auto-delete never reaches through it into the folder it leads to.
#include <cstring>
#include <vector>

#include "core/sync_tree.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_api.h"
#include "sync_fixture.h"

namespace pellmar {
namespace {

// Makes `link` a junction to the folder `target`, as "mklink /J" does.
bool MakeJunction(const std::string& link, const std::string& target) {
  MakeFolder(link);
  std::wstring substitute = L"\\??\\" + HostFsPath(target).make_preferred().wstring();
  const std::wstring print = HostFsPath(target).make_preferred().wstring();
  const size_t names = (substitute.size() + print.size() + 2) * sizeof(wchar_t);
  // Reparse tag, data length, reserved; then the mount-point fields.
  std::vector<char> buffer(8 + 8 + names);
  auto put16 = [&](size_t at, size_t value) {
    const uint16_t v = static_cast<uint16_t>(value);
    std::memcpy(buffer.data() + at, &v, 2);
  };
  const uint32_t tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(buffer.data(), &tag, 4);
  put16(4, 8 + names);
  put16(8, 0);
  put16(10, substitute.size() * sizeof(wchar_t));
  put16(12, (substitute.size() + 1) * sizeof(wchar_t));
  put16(14, print.size() * sizeof(wchar_t));
  std::memcpy(buffer.data() + 16, substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
  std::memcpy(buffer.data() + 16 + (substitute.size() + 1) * sizeof(wchar_t), print.c_str(),
              (print.size() + 1) * sizeof(wchar_t));
  const ScopedHandle folder(
      ::CreateFileW(HostFsPath(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  DWORD returned = 0;
  return folder.valid() &&
         ::DeviceIoControl(folder.get(), FSCTL_SET_REPARSE_POINT, buffer.data(),
                           static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
}

TEST_F(SyncTest, JunctionsAreReportedNotWalked) {
  window_.auto_delete = true;
  WriteDated(Stick("Sync/Alpha/a.txt"), 10, DaysAgo(1));
  WriteDated(Host("elsewhere/old.txt"), 10, DaysAgo(30));
  if (!MakeJunction(Stick("Sync/Alpha/outside"), Host("elsewhere"))) {
    GTEST_SKIP() << "this system cannot make a junction (error " << ::GetLastError() << ")";
  }
  ASSERT_TRUE(HostExists(Stick("Sync/Alpha/outside/old.txt"))) << "the junction leads there";
  auto run = MakeRun(Ns("p"));

  SyncTree(*run, "E:\\Sync\\Alpha", Ns("p"));
  EXPECT_EQ(window_.log, std::vector<std::string>{"a.txt"});
  EXPECT_TRUE(HostExists(Host("elsewhere/old.txt"))) << "auto-delete never reaches through it";
  EXPECT_FALSE(HostExists(Host("p/outside")));
  ASSERT_EQ(run->outcome.skipped_names.size(), 1u);
  EXPECT_NE(run->outcome.skipped_names[0].find("outside"), std::string::npos);
}

}  // namespace
}  // namespace pellmar
