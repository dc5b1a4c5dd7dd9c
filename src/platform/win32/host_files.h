// File and folder services on host paths in UTF-16: facts, listing, reading
// and the atomic replace. The platform resolves namespace paths first and
// calls these; paths in messages are UTF-8.
#ifndef PELLMAR_PLATFORM_WIN32_HOST_FILES_H_
#define PELLMAR_PLATFORM_WIN32_HOST_FILES_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_api.h"

namespace pellmar {

/// Facts of the entry at `path`; nullopt when nothing is there. A name
/// with a wildcard names no single entry.
std::optional<FileFacts> HostFileFacts(const std::wstring& path);

/// The entries of `folder` matching `mask` as the system matches it, "."
/// and ".." first. Scratch files are left out, and named in `scratch`;
/// nothing is removed.
FolderListing ListHostFolder(const std::wstring& folder, const std::wstring& mask);
/// The same for every entry of the open folder `folder`, whose host path
/// `host` names it in messages. A link is described by what it leads to.
FolderListing ListOpenHostFolder(HANDLE folder, const std::wstring& host);
/// Facts of the entry `name` of the open folder `folder`, as its listing
/// gives them, named `shown`; nullopt when nothing is there.
std::optional<FileFacts> FactsIn(HANDLE folder, const std::wstring& name, std::string shown);

/// The identity of what `path` leads to (links followed); unknown when it
/// cannot be opened.
FileIdentity HostIdentity(const std::wstring& path);

/// Identities of the folder `path` leads to and of each folder above it up
/// to its root, as the file system has them (links resolved), nearest first.
Status HostFolderChain(const std::wstring& path, std::vector<FileIdentity>* chain);

/// The file a link at `path` leads to; `path` itself when it is no link
/// or leads nowhere.
std::wstring FollowLink(const std::wstring& path);

/// Reads a regular file whole.
Status ReadHostFile(const std::wstring& path, std::string* contents);
/// Writes `pieces`, one after another, beside `path` and renames the file
/// into place; a link is kept, and the file it leads to replaced.
Status ReplaceHostFile(const std::wstring& path, std::span<const std::string_view> pieces);

/// The folder part of a host path (the path itself for a root).
std::wstring HostFolderOf(const std::wstring& path);
/// `name` in `folder`, with one separator between them.
std::wstring JoinHostPath(const std::wstring& folder, const std::wstring& name);
/// UTF-8 of a host path for messages.
std::string ForReport(const std::wstring& path);

}  // namespace pellmar

#endif  // PELLMAR_PLATFORM_WIN32_HOST_FILES_H_
