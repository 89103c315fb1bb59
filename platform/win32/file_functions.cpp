// kernel32's file attributes, over the system's own file status.

#include <errhandlingapi.h>
#include <fileapi.h>
#include <sys/stat.h>
#include <winerror.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/win32/string_conversion.h"

namespace {

bool IsDirectory(const std::string& path) {
  struct stat status = {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Windows tells a missing file from a missing directory on the way to it.
DWORD MissingPathError(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ERROR_FILE_NOT_FOUND;
  }
  const std::string parent = slash == 0 ? std::string("/") : path.substr(0, slash);
  return IsDirectory(parent) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

}  // namespace

extern "C" DWORD WINAPI GetFileAttributesW(LPCWSTR file_name) {
  if (file_name == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  std::string path = win32::WideToUtf8(file_name);
  std::replace(path.begin(), path.end(), '\\', '/');
  struct stat status = {};
  if (stat(path.c_str(), &status) != 0) {
    switch (errno) {
      case ENOENT:
        SetLastError(MissingPathError(path));
        break;
      case EACCES:
        SetLastError(ERROR_ACCESS_DENIED);
        break;
      default:
        SetLastError(ERROR_PATH_NOT_FOUND);
        break;
    }
    return INVALID_FILE_ATTRIBUTES;
  }
  return S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}
