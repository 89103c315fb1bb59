#ifndef PLATFORM_WINRT_STORAGE_STORAGE_FILE_STATICS_H_
#define PLATFORM_WINRT_STORAGE_STORAGE_FILE_STATICS_H_

#include <windows.storage.h>

#include "platform/winrt/runtime/runtime_class.h"

namespace winrt_layer {

// The activation factory of Windows.Storage.StorageFile.
class StorageFileStatics final
    : public RuntimeClass<ABI::Windows::Storage::IStorageFileStatics, IAgileObject> {
 public:
  StorageFileStatics() = default;

  // A path that is not absolute ("/...") or holds a null character fails at
  // once with E_INVALIDARG. The file is looked up on the thread pool: a
  // missing file ends the operation with the HRESULT of
  // ERROR_FILE_NOT_FOUND, a missing folder on the way with that of
  // ERROR_PATH_NOT_FOUND, a folder or a file that cannot be read with
  // E_ACCESSDENIED.
  IFACEMETHODIMP GetFileFromPathAsync(
      HSTRING path,
      ABI::Windows::Foundation::IAsyncOperation<ABI::Windows::Storage::StorageFile*>** operation)
      override;

 private:
  const wchar_t* ClassName() const override;
};

}  // namespace winrt_layer

#endif  // PLATFORM_WINRT_STORAGE_STORAGE_FILE_STATICS_H_
