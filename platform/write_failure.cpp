// write_failure.cpp: the two pure mappings of write_failure.h. The Windows codes are written as
// numbers (from winerror.h) so that this portable file needs no system header.
#include "platform/write_failure.h"

#include <cerrno>

WriteFailureReason WriteFailureFromErrno(int error) {
    switch (error) {
    case 0:
        return WriteFailureNone;
    case EACCES:
    case EPERM:
    case EROFS:
        return WriteFailureAccessDenied;
    case EBUSY:
    case ETXTBSY:
        return WriteFailureInUse;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return WriteFailureDiskFull;
    case ENOENT:
    case ENOTDIR:
        return WriteFailureFolderMissing;
    case ENAMETOOLONG:
        return WriteFailureNameTooLong;
    default:
        return WriteFailureOther;
    }
}

WriteFailureReason WriteFailureFromWindowsError(uint32_t error) {
    switch (error) {
    case 0:
        return WriteFailureNone;
    case 5:     // ERROR_ACCESS_DENIED
    case 19:    // ERROR_WRITE_PROTECT
    case 1006:  // ERROR_FILE_INVALID (a volume that went read-only)
        return WriteFailureAccessDenied;
    case 32:    // ERROR_SHARING_VIOLATION
    case 33:    // ERROR_LOCK_VIOLATION
    case 1224:  // ERROR_USER_MAPPED_FILE
        return WriteFailureInUse;
    case 39:    // ERROR_HANDLE_DISK_FULL
    case 112:   // ERROR_DISK_FULL
    case 1295:  // ERROR_DISK_QUOTA_EXCEEDED
        return WriteFailureDiskFull;
    case 2:     // ERROR_FILE_NOT_FOUND
    case 3:     // ERROR_PATH_NOT_FOUND
    case 15:    // ERROR_INVALID_DRIVE
    case 53:    // ERROR_BAD_NETPATH
    case 67:    // ERROR_BAD_NET_NAME
    case 161:   // ERROR_BAD_PATHNAME
        return WriteFailureFolderMissing;
    case 111:   // ERROR_BUFFER_OVERFLOW
    case 206:   // ERROR_FILENAME_EXCED_RANGE
        return WriteFailureNameTooLong;
    default:
        return WriteFailureOther;
    }
}
