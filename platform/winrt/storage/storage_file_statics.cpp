#include "platform/winrt/storage/storage_file_statics.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/winrt/runtime/async_operation.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/scoped_hstring.h"
#include "platform/winrt/runtime/utf_conversion.h"
#include "platform/winrt/storage/storage_file.h"

namespace winrt_layer {
namespace {

typedef AsyncOperation<ABI::Windows::Storage::StorageFile*> FileOperation;

constexpr wchar_t kNotAbsoluteMessage[] = L"The path is not an absolute path.";

// Whether the folder that would hold `path` exists.
bool FolderExists(const std::string& path) {
  std::string folder = path.substr(0, path.rfind('/') + 1);
  struct stat status;
  return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

FileOperation::Outcome FindFile(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) {
    int error = errno;
    if (error == ENOENT && FolderExists(path)) {
      return {nullptr, RuntimeError{HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), {}}};
    }
    if (error == ENOENT || error == ENOTDIR || error == ENAMETOOLONG || error == ELOOP) {
      return {nullptr, RuntimeError{HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND), {}}};
    }
    return {nullptr, RuntimeError{E_ACCESSDENIED, {}}};
  }
  if (!S_ISREG(status.st_mode) || access(path.c_str(), R_OK) != 0) {
    return {nullptr, RuntimeError{E_ACCESSDENIED, {}}};
  }
  return {MakeObject<StorageFile>(path), {}};
}

}  // namespace

IFACEMETHODIMP StorageFileStatics::GetFileFromPathAsync(
    HSTRING path,
    ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Storage::StorageFile*>** operation) {
  if (operation == nullptr) {
    return E_POINTER;
  }
  *operation = nullptr;
  std::wstring_view units = ScopedHString::View(path);
  if (units.empty() || units.front() != L'/') {
    return OriginateError(E_INVALIDARG, kNotAbsoluteMessage);
  }
  if (units.find(L'\0') != std::wstring_view::npos) {
    return OriginateError(E_INVALIDARG);
  }
  try {
    std::string system_path = WideToUtf8(units);
    *operation = FileOperation::Run([system_path](const std::atomic<bool>&) {
                   return FindFile(system_path);
                 }).Detach();
    return S_OK;
  } catch (...) {
    return ResultFromCaughtException();
  }
}

const wchar_t* StorageFileStatics::ClassName() const {
  return L"Windows.Storage.StorageFile";
}

}  // namespace winrt_layer
