// An open folder of this host: the handle everything in it is named
// relative to, and its host path, which is only ever used to say where a
// file was, never to reach it.
#ifndef PELLMAR_PLATFORM_WIN32_WIN32_FOLDER_H_
#define PELLMAR_PLATFORM_WIN32_WIN32_FOLDER_H_

#include <string>
#include <utility>

#include "platform/platform.h"
#include "platform/win32/file_system_traits.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/wide_text.h"

namespace pellmar {

class Win32Folder : public OpenFolder {
 public:
  Win32Folder(std::string path, std::wstring host, ScopedHandle handle, FileIdentity identity,
              FileSystemTraits traits)
      : OpenFolder(std::move(path), identity),
        host_(std::move(host)),
        handle_(std::move(handle)),
        traits_(traits) {}

  HANDLE handle() const { return handle_.get(); }
  const std::wstring& host() const { return host_; }
  const FileSystemTraits& traits() const { return traits_; }
  /// The host path of the entry `name` in this folder, for messages.
  std::string HostPathOf(const std::wstring& name) const {
    const bool separated = !host_.empty() && (host_.back() == L'\\' || host_.back() == L'/');
    return WideForReport(host_ + (separated ? L"" : L"\\") + name);
  }

 private:
  std::wstring host_;
  ScopedHandle handle_;
  FileSystemTraits traits_;
};

/// The folder a platform call was given: this host's own kind of folder.
inline Win32Folder& AsWin32(OpenFolder& folder) { return static_cast<Win32Folder&>(folder); }

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_WIN32_FOLDER_H_
