#include "platform/winrt/storage/storage_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <exception>
#include <new>

#include "platform/winrt/runtime/async_operation.h"
#include "platform/winrt/runtime/runtime_error.h"
#include "platform/winrt/runtime/scoped_hstring.h"
#include "platform/winrt/runtime/utf_conversion.h"
#include "platform/winrt/storage/file_random_access_stream.h"

namespace winrt_layer {
namespace {

typedef AsyncOperation<ABI::Windows::Storage::Streams::IRandomAccessStream*> OpenOperation;

constexpr wchar_t kReadOnlyMessage[] = L"The file can only be opened for reading.";

OpenOperation::Outcome OpenForReading(const std::string& path) {
  ScopedFd file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!file.IsValid()) {
    HRESULT code = errno == ENOENT    ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)
                   : errno == ENOTDIR ? HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND)
                                      : E_ACCESSDENIED;
    return {nullptr, RuntimeError{code, {}}};
  }
  struct stat status;
  if (fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return {nullptr, RuntimeError{E_ACCESSDENIED, {}}};
  }
  return {MakeObject<FileRandomAccessStream>(std::move(file)), {}};
}

}  // namespace

StorageFile::StorageFile(std::string path) : path_(std::move(path)) {}

IFACEMETHODIMP StorageFile::get_FileType(HSTRING* value) {
  if (value == nullptr) {
    return E_POINTER;
  }
  *value = nullptr;
  size_t name_start = path_.rfind('/') + 1;
  size_t dot = path_.rfind('.');
  if (dot == std::string::npos || dot <= name_start) {
    return S_OK;
  }
  try {
    std::wstring wide = Utf8ToWide(std::string_view(path_).substr(dot));
    return WindowsCreateString(wide.data(), static_cast<UINT32>(wide.size()), value);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

IFACEMETHODIMP StorageFile::get_ContentType(HSTRING* value) {
  if (value != nullptr) {
    *value = nullptr;
  }
  return E_NOTIMPL;
}

IFACEMETHODIMP StorageFile::OpenAsync(
    ABI::Windows::Storage::FileAccessMode access_mode,
    ABI::Windows::Foundation::IAsyncOperation<
        ABI::Windows::Storage::Streams::IRandomAccessStream*>** operation) {
  if (operation == nullptr) {
    return E_POINTER;
  }
  *operation = nullptr;
  if (access_mode == ABI::Windows::Storage::FileAccessMode_ReadWrite) {
    return OriginateError(E_ACCESSDENIED, kReadOnlyMessage);
  }
  if (access_mode != ABI::Windows::Storage::FileAccessMode_Read) {
    return OriginateError(E_INVALIDARG);
  }
  try {
    std::string path = path_;
    *operation = OpenOperation::Run([path](const std::atomic<bool>&) {
                   return OpenForReading(path);
                 }).Detach();
    return S_OK;
  } catch (...) {
    return ResultFromCaughtException();
  }
}

const wchar_t* StorageFile::ClassName() const {
  return L"Windows.Storage.StorageFile";
}

}  // namespace winrt_layer
