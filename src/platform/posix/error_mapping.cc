// errno to Windows error code: the single table every POSIX service uses.
#include "platform/posix/error_mapping.h"

#include <cerrno>
#include <cstring>

namespace pellmar {

uint32_t WinErrorFromErrno(int error_number) {
  switch (error_number) {
    case 0:
      return kErrorSuccess;
    case ENOENT:
      return kErrorFileNotFound;
    case ENOTDIR:
      return kErrorPathNotFound;
    case ELOOP:
      return kErrorCantResolveFilename;
    case EACCES:
    case EPERM:
    case EISDIR:
      return kErrorAccessDenied;
    case EROFS:
      return kErrorWriteProtect;
    case ENXIO:
    case ENODEV:
    case ENOMEDIUM:
      return kErrorNotReady;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kErrorDiskFull;
    case EEXIST:
      return kErrorAlreadyExists;
    case ENOTEMPTY:
      return kErrorDirNotEmpty;
    case ENAMETOOLONG:
      return kErrorFilenameTooLong;
    case EMFILE:
    case ENFILE:
      return kErrorTooManyOpenFiles;
    case EBUSY:
    case ETXTBSY:
      return kErrorSharingViolation;
    case EINVAL:
      return kErrorInvalidParameter;
    case EMEDIUMTYPE:
      return kErrorUnrecognizedMedia;
    default:
      return kErrorGenFailure;
  }
}

Status StatusFromErrno(const std::string& operation, const std::string& host_path,
                       int error_number) {
  return Status::Error(WinErrorFromErrno(error_number),
                       operation + " " + host_path + ": " + std::strerror(error_number));
}

Status FolderStatusFromErrno(const std::string& operation, const std::string& folder,
                             int error_number) {
  Status status = StatusFromErrno(operation, folder, error_number);
  if (status.code == kErrorFileNotFound) status.code = kErrorPathNotFound;
  return status;
}

}  // namespace pellmar
