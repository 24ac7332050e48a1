// The Windows error codes (GetLastError, LSTATUS) the programs and the
// simulated machine speak, by their winerror.h names.
#pragma once

#include <cstdint>

namespace lx {

constexpr uint32_t kErrorSuccess = 0;
constexpr uint32_t kErrorFileNotFound = 2;
constexpr uint32_t kErrorPathNotFound = 3;
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorInvalidHandle = 6;
constexpr uint32_t kErrorNotEnoughMemory = 8;
constexpr uint32_t kErrorNoMoreFiles = 18;
constexpr uint32_t kErrorGenFailure = 31;  // a device that does not function
constexpr uint32_t kErrorSharingViolation = 32;
constexpr uint32_t kErrorNotSupported = 50;
constexpr uint32_t kErrorFileExists = 80;
constexpr uint32_t kErrorInvalidParameter = 87;
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorInvalidName = 123;
constexpr uint32_t kErrorDirNotEmpty = 145;
constexpr uint32_t kErrorBadPathname = 161;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorMoreData = 234;
constexpr uint32_t kErrorNoMoreItems = 259;
constexpr uint32_t kErrorNotOwner = 288;
constexpr uint32_t kErrorOperationAborted = 995;  // an I/O cancelled (CancelIoEx)
constexpr uint32_t kErrorInvalidFlags = 1004;
constexpr uint32_t kErrorServiceRequestTimeout = 1053;
constexpr uint32_t kErrorServiceAlreadyRunning = 1056;
constexpr uint32_t kErrorServiceDisabled = 1058;
constexpr uint32_t kErrorServiceDoesNotExist = 1060;
constexpr uint32_t kErrorServiceNotActive = 1062;
constexpr uint32_t kErrorServiceMarkedForDelete = 1072;
constexpr uint32_t kErrorServiceExists = 1073;
constexpr uint32_t kErrorDuplicateServiceName = 1078;
constexpr uint32_t kErrorDeviceNotConnected = 1167;
constexpr uint32_t kErrorTimeout = 1460;
constexpr uint32_t kErrorUnsupportedType = 1630;
constexpr uint32_t kRpcServerUnavailable = 1722;  // the spooler service is not running
constexpr uint32_t kErrorUnknownPort = 1796;
constexpr uint32_t kErrorUnknownPrinterDriver = 1797;
constexpr uint32_t kErrorInvalidPrinterName = 1801;
constexpr uint32_t kErrorPrinterAlreadyExists = 1802;
constexpr uint32_t kErrorInvalidPrinterCommand = 1803;
constexpr uint32_t kErrorPrinterDriverInUse = 3001;

}  // namespace lx
