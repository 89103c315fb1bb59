#ifndef PLATFORM_WINRT_INCLUDE_WINDOWS_STORAGE_H_
#define PLATFORM_WINRT_INCLUDE_WINDOWS_STORAGE_H_

// Windows.Storage: files, looked up by path and opened as streams. Only the
// leading operations of each interface that this program uses are declared;
// their order is the order of the interface's table.

#include <inspectable.h>

#include "windows.foundation.h"
#include "windows.storage.streams.h"

namespace ABI::Windows::Storage {

typedef enum FileAccessMode {
  FileAccessMode_Read = 0,
  FileAccessMode_ReadWrite = 1,
} FileAccessMode;

class StorageFile;

struct IStorageFile : public IInspectable {
  virtual HRESULT STDMETHODCALLTYPE get_FileType(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ContentType(HSTRING* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  OpenAsync(FileAccessMode access_mode,
            Foundation::IAsyncOperation<Streams::IRandomAccessStream*>** operation) = 0;
};

}  // namespace ABI::Windows::Storage

namespace ABI::Windows::Foundation {
template <>
struct IAsyncOperationCompletedHandler<Storage::StorageFile*>
    : public IAsyncOperationCompletedHandler_impl<
          Internal::AggregateType<Storage::StorageFile*, Storage::IStorageFile*>> {};
template <>
struct IAsyncOperation<Storage::StorageFile*>
    : public IAsyncOperation_impl<
          Internal::AggregateType<Storage::StorageFile*, Storage::IStorageFile*>> {};
}  // namespace ABI::Windows::Foundation

namespace ABI::Windows::Storage {

struct IStorageFileStatics : public IInspectable {
  // A path that is not absolute fails with E_INVALIDARG, a missing file
  // with the code of ERROR_FILE_NOT_FOUND, a folder with E_ACCESSDENIED.
  virtual HRESULT STDMETHODCALLTYPE
  GetFileFromPathAsync(HSTRING path, Foundation::IAsyncOperation<StorageFile*>** operation) = 0;
};

}  // namespace ABI::Windows::Storage

inline constexpr WCHAR RuntimeClass_Windows_Storage_StorageFile[] = L"Windows.Storage.StorageFile";

// clang-format off
__CRT_UUID_DECL(ABI::Windows::Storage::IStorageFile, 0xfa3f6186, 0x4214, 0x428c, 0xa6, 0x4c, 0x14, 0xc9, 0xac, 0x73, 0x15, 0xea)
__CRT_UUID_DECL(ABI::Windows::Storage::IStorageFileStatics, 0x5984c710, 0xdaf2, 0x43c8, 0x8b, 0xb4, 0xa4, 0xd3, 0xea, 0xcf, 0xd0, 0x3f)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Storage::StorageFile*>, 0x5e52f8ce, 0xaced, 0x5a42, 0x95, 0xb4, 0xf6, 0x74, 0xdd, 0x84, 0x88, 0x5e)
__CRT_UUID_DECL(ABI::Windows::Foundation::IAsyncOperationCompletedHandler<ABI::Windows::Storage::StorageFile*>, 0xe521c894, 0x2c26, 0x5946, 0x9e, 0x61, 0x2b, 0x5e, 0x18, 0x8d, 0x01, 0xed)
// clang-format on

#endif  // PLATFORM_WINRT_INCLUDE_WINDOWS_STORAGE_H_
